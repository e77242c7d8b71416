// SPDX-License-Identifier: GPL-3.0-or-later
// A value the run cannot use stops a scripted Compute command right after it
// is confirmed: an InputError names the value and the fault in Chinese,
// nothing more is asked, and the window keeps what it shows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/form_boxes.h"
#include "core/korvanet_error.h"
#include "core/scripted_session.h"
#include "entry/input_sequence.h"
#include "entry/tests/entry_job.h"
#include "testing/history_display.h"

namespace korvanet {
namespace {

using testing::EntryJob;

const std::string kTail =
    "是否正确 ? 输入正确按 Enter 或按 OK 键 ( 即:Enter 键或 OK 键 ) ;  输入错误输入零 ( 即:0 )";

struct Failure {
    bool thrown = false;
    std::string message;
    std::vector<std::string> asked;  // every prompt message, in order
    std::size_t answersLeft = 0;
    HistoryDisplay display;
    SurveyState state;
};

// Runs the phase with every value of the job at hand (confirmations by
// Enter), so that the answers left over show how far it got.
Failure RunUntilFailure(const EntryJob& job, std::vector<std::string> answers = {}) {
    Failure failure;
    auto prompter = answers.empty() ? ScriptedPrompter::ForJob(job.ValueAnswers())
                                    : ScriptedPrompter::ForAllPrompts(answers);
    try {
        RunInputSequence(failure.state, prompter, failure.display);
    } catch (const InputError& e) {
        failure.thrown = true;
        failure.message = e.what();
    }
    for (const auto& exchange : prompter.Dialogue()) failure.asked.push_back(exchange.message);
    failure.answersLeft = prompter.AnswersLeft();
    return failure;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(InputFailures, ToleranceThatCannotBeReadStopsBeforeAnythingElse) {
    struct Case {
        const char* tolerance;
        const char* fault;
    } cases[] = {
        {"abc", "不是一个数值"}, {"", "没有输入数值"}, {"2,5", "不是一个数值"},
        {"1e400", "溢出"},       {"1e39", "单精度"},
    };
    for (const auto& c : cases) {
        EntryJob job = EntryJob::DKnown();
        job.tolerance = c.tolerance;
        const Failure f = RunUntilFailure(job);
        ASSERT_TRUE(f.thrown) << c.tolerance;
        EXPECT_TRUE(Contains(f.message, "规范测角限差")) << f.message;
        EXPECT_TRUE(Contains(f.message, c.fault)) << f.message;
        EXPECT_EQ(f.asked, (std::vector<std::string>{"输入规范测角限差 : ( 以秒为单位 )"}));
        EXPECT_EQ(f.answersLeft, job.ValueAnswers().size() - 1);
        EXPECT_TRUE(f.display.History().empty());
        EXPECT_EQ(f.state.PointNames.size(), 5u);  // the arrays were created first
    }
}

TEST(InputFailures, ExactlyOneZeroCoordinateOfDIsRefusedAfterYd) {
    struct Case {
        const char* xd;
        const char* yd;
        const char* shownYd;
    } cases[] = {
        {"0", "521500.75", " 521500.750"},
        {"4326012.25", "0.0", " 0.000"},
        {"0.001", "0", " 0.000"},
        {"-0", "1e-3", " 0.001"},
    };
    for (const auto& c : cases) {
        EntryJob job = EntryJob::DKnown();
        job.xd = c.xd;
        job.yd = c.yd;
        const Failure f = RunUntilFailure(job);
        ASSERT_TRUE(f.thrown) << c.xd << "/" << c.yd;
        // The message explains the convention both ways.
        EXPECT_TRUE(Contains(f.message, "D 点不是已知点")) << f.message;
        EXPECT_TRUE(Contains(f.message, "D 点是已知点")) << f.message;
        EXPECT_TRUE(Contains(f.message, "xd=0 , yd=0")) << f.message;
        ASSERT_EQ(f.asked.size(), 9u);
        EXPECT_EQ(f.asked.back(), "确认输入的已知点 D 的横座标" + kTail);
        EXPECT_EQ(f.answersLeft, job.ValueAnswers().size() - 5);
        EXPECT_EQ(f.display.Text(boxes::kYOfD), c.shownYd);
        EXPECT_EQ(f.display.Text(boxes::kXOfA), " 4324901.631");
        EXPECT_EQ(f.display.Order(),
                  (std::vector<std::string>{boxes::kXOfA, boxes::kYOfA, boxes::kXOfD, boxes::kYOfD}));
    }
}

TEST(InputFailures, OrientationValuesStopRightAfterTheirConfirmation) {
    struct Case {
        bool q1;
        const char* text;
        const char* name;
        const char* fault;
    } cases[] = {
        {false, "abc", "外方位角 T0", "不是一个数值"},
        {false, "", "外方位角 T0", "没有输入数值"},
        {false, "1e400", "外方位角 T0", "溢出"},
        {false, "1e306", "外方位角 T0", "360"},  // a number, but no azimuth
        {true, "x", "定向角 Q1", "不是一个数值"},
        {true, "-1e400", "定向角 Q1", "溢出"},
    };
    for (const auto& c : cases) {
        EntryJob job = EntryJob::DNotKnown();
        (c.q1 ? job.q1 : job.t0) = c.text;
        const Failure f = RunUntilFailure(job);
        ASSERT_TRUE(f.thrown) << c.text;
        EXPECT_TRUE(Contains(f.message, c.name)) << f.message;
        EXPECT_TRUE(Contains(f.message, c.fault)) << f.message;
        const std::size_t valuesAsked = c.q1 ? 7 : 6;
        EXPECT_EQ(f.asked.size(), 1 + 2 * (valuesAsked - 1)) << c.text;
        EXPECT_EQ(f.asked.back(), (c.q1 ? "确认输入的定向角 Q1 " : "确认输入的外方位角") + kTail);
        EXPECT_EQ(f.answersLeft, job.ValueAnswers().size() - valuesAsked);
        const char* box = c.q1 ? boxes::kOrientationQ1 : boxes::kAzimuthT0;
        if (std::string(c.text) != "1e306") {
            EXPECT_EQ(f.display.Text(box), std::string(" ") + c.text);
        }
        EXPECT_FALSE(f.display.Written(boxes::kPointTable[0].name));
        if (c.q1) {
            EXPECT_EQ(f.display.Text(boxes::kAzimuthT0), " 120.15300");
            EXPECT_EQ(f.state.T0, 120.1530);
        } else {
            EXPECT_FALSE(f.display.Written(boxes::kOrientationQ1));
        }
    }
}

TEST(InputFailures, AnAngleStopsTheRunAndNamesItsNumber) {
    EntryJob job = EntryJob::DKnown();
    job.angles[2] = "1,5";
    const Failure f = RunUntilFailure(job);
    ASSERT_TRUE(f.thrown);
    EXPECT_TRUE(Contains(f.message, "第 3 个观测角")) << f.message;
    EXPECT_TRUE(Contains(f.message, "1,5")) << f.message;
    EXPECT_EQ(f.asked.size(), 1u + 2 * (4 + 4 + 3));
    EXPECT_EQ(f.asked.back(), "确认输入的观测角值" + kTail);
    EXPECT_EQ(f.answersLeft, 5u + 5u);
    // The angles before it were converted; everything entered stays in view.
    EXPECT_NEAR(f.state.Angle[1], 45.508333333333333, 1e-12);
    EXPECT_NE(f.state.Angle[2], 0.0);
    EXPECT_EQ(f.state.Angle[3], 0.0);
    EXPECT_EQ(f.display.Text(boxes::ObservedAngle(3)), " 1,5");
    EXPECT_EQ(f.display.Text(boxes::ObservedAngle(1)), " 45.30300");
    EXPECT_EQ(f.display.Text(boxes::kPointTable[3].name), " D4");
    EXPECT_EQ(f.display.Text(boxes::kXOfA), " 4324901.631");
    EXPECT_FALSE(f.display.Written(boxes::ObservedAngle(4)));
}

TEST(InputFailures, TheCorrectedTextIsTheOneConverted) {
    EntryJob job = EntryJob::DKnown();
    job.angles[7] = "42.3405";
    // Angle 8 (value 16) is typed well, refused, and corrected into a letter.
    const Failure f = RunUntilFailure(job, job.AllPromptAnswers(16, {"0", "y", ""}));
    ASSERT_TRUE(f.thrown);
    EXPECT_TRUE(Contains(f.message, "第 8 个观测角")) << f.message;
    EXPECT_TRUE(Contains(f.message, "\"y\"")) << f.message;
    EXPECT_EQ(f.asked.back(), "确认这次输入的观测角值" + kTail);
    EXPECT_EQ(f.display.Text(boxes::ObservedAngle(8)), " y");
    EXPECT_FALSE(f.display.Written(boxes::ObservedSide(1)));
}

TEST(InputFailures, ASideStopsTheRunAndNamesItsNumber) {
    struct Case {
        bool dKnown;
        int side;
        const char* text;
        const char* fault;
        const char* shown;
    } cases[] = {
        {true, 4, "", "没有输入数值", " "},
        {true, 2, "1e39", "单精度", nullptr},  // shown in full, digit for digit
        {true, 5, "1e400", "溢出", " 1e400"},
        {false, 6, "abc", "不是一个数值", " abc"},
    };
    for (const auto& c : cases) {
        EntryJob job = c.dKnown ? EntryJob::DKnown() : EntryJob::DNotKnown();
        job.sides[c.side - 1] = c.text;
        const Failure f = RunUntilFailure(job);
        ASSERT_TRUE(f.thrown) << c.side;
        EXPECT_TRUE(Contains(f.message, "第 " + std::to_string(c.side) + " 条边长")) << f.message;
        EXPECT_TRUE(Contains(f.message, c.fault)) << f.message;
        const std::size_t before = c.dKnown ? 1 + 4 + 4 + 8 : 1 + 6 + 4 + 8;
        EXPECT_EQ(f.asked.size(), 1 + 2 * (before - 1 + c.side)) << c.side;
        EXPECT_EQ(f.asked.back(), "确认输入的边长观测值" + kTail);
        EXPECT_EQ(f.answersLeft, static_cast<std::size_t>(job.sideCount - c.side));
        if (c.shown != nullptr) {
            EXPECT_EQ(f.display.Text(boxes::ObservedSide(c.side)), c.shown);
        }
        EXPECT_TRUE(f.display.Written(boxes::ObservedSide(c.side)));
        EXPECT_FALSE(f.display.Written(ArrayBox(boxes::kObservedSides, c.side)));
        for (int i = 1; i < c.side; ++i) EXPECT_NE(f.state.SideObserved[i], 0.0f) << i;
        EXPECT_EQ(f.state.X[0], 0.0);  // A is read only after the last side
    }
}

TEST(InputFailures, ACoordinateStopsTheRunRightAfterItsConfirmation) {
    struct Case {
        int value;  // 1 = x of A .. 4 = y of D
        const char* text;
        const char* named;
        const char* fault;
        const char* box;
    } cases[] = {
        {1, "28561z0.400", "已知点 A 的纵座标", "不是一个数值", boxes::kXOfA},
        {2, "", "已知点 A 的横座标", "没有输入数值", boxes::kYOfA},
        {3, "1e400", "已知点 D 的纵座标", "溢出", boxes::kXOfD},
        {4, "abc", "已知点 D 的横座标", "不是一个数值", boxes::kYOfD},
    };
    for (const auto& c : cases) {
        EntryJob job = EntryJob::DKnown();
        std::string* coordinates[] = {&job.xa, &job.ya, &job.xd, &job.yd};
        *coordinates[c.value - 1] = c.text;
        const Failure f = RunUntilFailure(job);
        ASSERT_TRUE(f.thrown) << c.text;
        EXPECT_TRUE(Contains(f.message, c.named)) << f.message;
        EXPECT_TRUE(Contains(f.message, c.fault)) << f.message;
        EXPECT_EQ(f.asked.size(), 1u + 2 * c.value) << c.text;
        EXPECT_EQ(f.answersLeft, job.ValueAnswers().size() - 1 - c.value);
        EXPECT_EQ(f.display.Text(c.box), std::string(" ") + c.text);
        EXPECT_EQ(f.display.Order().back(), c.box);
    }
}

TEST(InputFailures, TheNextRunStartsCleanlyFromTheTolerance) {
    SurveyState state;
    HistoryDisplay display;
    EntryJob bad = EntryJob::DKnown();
    bad.angles[2] = "abc";
    auto first = ScriptedPrompter::ForJob(bad.ValueAnswers());
    EXPECT_THROW(RunInputSequence(state, first, display), InputError);

    auto second = ScriptedPrompter::ForJob(EntryJob::DKnown().ValueAnswers());
    const RunValues values = RunInputSequence(state, second, display);
    EXPECT_EQ(second.Dialogue().front().message, "输入规范测角限差 : ( 以秒为单位 )");
    EXPECT_EQ(second.AnswersLeft(), 0u);
    EXPECT_EQ(values.SideCount, 5);
    EXPECT_NEAR(state.Angle[3], 40.0 + 5.0 / 60 + 20.0 / 3600, 1e-12);
    EXPECT_EQ(display.Text(boxes::ObservedAngle(3)), " 40.05200");
}

}  // namespace
}  // namespace korvanet
