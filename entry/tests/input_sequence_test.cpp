// SPDX-License-Identifier: GPL-3.0-or-later
// The input phase run through whole: which values are asked for each kind of
// D, what the record and the working values hold afterwards, and what the
// boxes show at each stage.

#include "entry/input_sequence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/form_boxes.h"
#include "core/scripted_session.h"
#include "entry/job_layout.h"
#include "entry/tests/entry_job.h"
#include "entry/value_rules.h"
#include "testing/history_display.h"

namespace korvanet {
namespace {

using testing::EntryJob;

constexpr double kDegreeTolerance = 1e-12;  // far below 0.001"

bool Asked(const ScriptedPrompter& prompter, const std::string& part) {
    for (const auto& exchange : prompter.Dialogue()) {
        if (exchange.message.find(part) != std::string::npos) return true;
    }
    return false;
}

// The texts one box was given, in order.
std::vector<std::string> BoxHistory(const HistoryDisplay& display, const std::string& box) {
    std::vector<std::string> texts;
    const std::string prefix = box + "=";
    for (const auto& entry : display.History()) {
        if (entry.rfind(prefix, 0) == 0) texts.push_back(entry.substr(prefix.size()));
    }
    return texts;
}

TEST(InputSequence, KnownDAsksFiveSidesAndNoOrientation) {
    const EntryJob job = EntryJob::DKnown();
    auto prompter = ScriptedPrompter::ForJob(job.ValueAnswers());
    HistoryDisplay display;
    SurveyState state;
    state.T0 = 88.0809;  // from an earlier run: a run with D known leaves it
    state.Qa = 3.3;
    const RunValues values = RunInputSequence(state, prompter, display);

    EXPECT_EQ(prompter.AnswersLeft(), 0u);
    EXPECT_EQ(prompter.Dialogue().size(), 1u + 2 * (4 + 4 + 8 + 5));
    EXPECT_FALSE(Asked(prompter, "外方位角"));
    EXPECT_FALSE(Asked(prompter, "定向角"));
    EXPECT_FALSE(Asked(prompter, "第 6 条边长"));

    EXPECT_EQ(values.SideCount, 5);
    EXPECT_EQ(values.StartAzimuth, 0.0);
    EXPECT_EQ(values.OrientationAngle, 0.0);
    for (float q : values.ReciprocalWeights) EXPECT_EQ(q, 0.0f);
    EXPECT_EQ(state.T0, 88.0809);
    EXPECT_EQ(state.Qa, 3.3);

    EXPECT_EQ(state.Tolerance, 2.5f);
    EXPECT_EQ(state.xa, "4324901.631");
    EXPECT_EQ(state.ya, "520103.5");
    EXPECT_EQ(state.xd, "4326012.25");
    EXPECT_EQ(state.yd, "521500.75");
    EXPECT_EQ(state.X[0], 4324901.631);
    EXPECT_EQ(state.Y[0], 520103.5);
    EXPECT_EQ(state.PointNames, (std::vector<std::string>{"张家庄", "B2", "C3", "D4", ""}));
    EXPECT_EQ(state.Side[5], 1412.3);
    EXPECT_EQ(state.Side[6], 0.0);
    EXPECT_EQ(state.SideObserved[6], 0.0f);

    EXPECT_EQ(display.Text(boxes::kXOfA), " 4324901.631");
    EXPECT_EQ(display.Text(boxes::kYOfA), " 520103.500");
    EXPECT_EQ(display.Text(boxes::kXOfD), " 4326012.250");
    EXPECT_EQ(display.Text(boxes::kYOfD), " 521500.750");
    EXPECT_EQ(display.Text(boxes::kPointTable[0].name), " 张家庄");
    EXPECT_EQ(display.Text(boxes::kPointTable[3].name), " D4");
    EXPECT_EQ(display.Text(boxes::ObservedAngle(8)), " 42.34050");
    EXPECT_EQ(display.Text(boxes::ObservedSide(5)), " 1412.300");
    EXPECT_FALSE(display.Written(boxes::kAzimuthT0));
    EXPECT_FALSE(display.Written(boxes::kOrientationQ1));
    EXPECT_FALSE(display.Written(boxes::ObservedSide(6)));
}

TEST(InputSequence, UnknownDAsksOrientationAfterYdAndSixSides) {
    const EntryJob job = EntryJob::DNotKnown();
    auto prompter = ScriptedPrompter::ForJob(job.ValueAnswers());
    HistoryDisplay display;
    SurveyState state;
    const RunValues values = RunInputSequence(state, prompter, display);

    ASSERT_EQ(prompter.Dialogue().size(), 1u + 2 * (4 + 2 + 4 + 8 + 6));
    EXPECT_EQ(prompter.AnswersLeft(), 0u);
    // Tolerance, then four coordinates with their confirmations: T0 comes next.
    EXPECT_EQ(prompter.Dialogue()[9].message, "输入位于 A 点的外方位角 :");
    EXPECT_EQ(prompter.Dialogue()[11].message.rfind("输入外方向至 S1 边的定向角 Q1 :", 0), 0u);

    EXPECT_EQ(values.SideCount, 6);
    EXPECT_EQ(state.T0, 120.1530);
    EXPECT_NEAR(values.StartAzimuth, 120.0 + 15.0 / 60 + 30.0 / 3600, kDegreeTolerance);
    EXPECT_EQ(state.Qa, -10.3);
    EXPECT_NEAR(values.OrientationAngle, -10.5, kDegreeTolerance);
    EXPECT_EQ(values.ReciprocalWeights[0], 1.0f);
    for (std::size_t i = 1; i < values.ReciprocalWeights.size(); ++i)
        EXPECT_EQ(values.ReciprocalWeights[i], 0.0f);

    EXPECT_EQ(display.Text(boxes::kXOfD), " 0.000");
    EXPECT_EQ(display.Text(boxes::kYOfD), " 0.000");
    EXPECT_EQ(display.Text(boxes::kAzimuthT0), " 120.15300");
    EXPECT_EQ(display.Text(boxes::kOrientationQ1), " -10.30000");
    EXPECT_EQ(state.Side[6], 1655.05);
    EXPECT_EQ(state.SideObserved[6], 1655.05f);
    EXPECT_EQ(display.Text(boxes::ObservedSide(6)), " 1655.050");
}

// The job layout says which value each answer of a job is: an answer that no
// rule accepts, put at any place, is refused by the rule of the value the
// layout names there, for either kind of D.
TEST(InputSequence, EachAnswerIsTheValueTheJobLayoutPutsAtItsPlace) {
    for (const EntryJob& job : {EntryJob::DKnown(), EntryJob::DNotKnown()}) {
        const bool dKnown = job.ValueAnswers().size() == AnswersAsked(true);
        ASSERT_EQ(job.ValueAnswers().size(), AnswersAsked(dKnown));
        std::size_t place = 0;
        for (const JobAnswer& answer : kJobAnswers) {
            if (!IsAsked(answer, dKnown)) continue;
            const std::size_t at = place++;
            if (answer.value == FigureValue::PointName) continue;  // a name takes any text
            std::vector<std::string> answers = job.ValueAnswers();
            answers[at] = "3x";
            auto prompter = ScriptedPrompter::ForJob(answers);
            HistoryDisplay display;
            SurveyState state;
            try {
                RunInputSequence(state, prompter, display);
                ADD_FAILURE() << "answer " << at << " \"3x\" was taken";
            } catch (const InputError& e) {
                EXPECT_EQ(e.what(),
                          CheckFigureValue(answer.value, answer.number, "3x").value_or("(accepted)"))
                    << "answer " << at;
            }
        }
        EXPECT_EQ(place, AnswersAsked(dKnown));
    }
}

TEST(InputSequence, OrientationKeepsTheSignOfQ1AndWeighsOnlyAMeasuredOne) {
    struct Case {
        const char* q1;
        double degrees;
        float weight;
    } cases[] = {
        {"-10.3", -10.5, 1.0f},
        {"10.3", 10.5, 1.0f},
        {"35.2045", 35.0 + 20.0 / 60 + 45.0 / 3600, 1.0f},
        {"-0.0030", -30.0 / 3600, 1.0f},
        {"0", 0.0, 0.0f},
        {"-0", 0.0, 0.0f},
    };
    for (const auto& c : cases) {
        EntryJob job = EntryJob::DNotKnown();
        job.q1 = c.q1;
        auto prompter = ScriptedPrompter::ForJob(job.ValueAnswers());
        HistoryDisplay display;
        SurveyState state;
        const RunValues values = RunInputSequence(state, prompter, display);
        EXPECT_NEAR(values.OrientationAngle, c.degrees, kDegreeTolerance) << c.q1;
        EXPECT_EQ(values.ReciprocalWeights[0], c.weight) << c.q1;
    }
}

TEST(InputSequence, CoordinatesOfDThatAreNotZeroMakeDKnown) {
    // However small, a coordinate that is not zero makes D a known point.
    struct Case {
        const char* xd;
        const char* yd;
        const char* shownXd;
    } cases[] = {{"0.001", "-0.001", " 0.001"}, {"1e-300", "521500.75", " 0.000"}};
    for (const auto& c : cases) {
        EntryJob job = EntryJob::DKnown();
        job.xd = c.xd;
        job.yd = c.yd;
        auto prompter = ScriptedPrompter::ForJob(job.ValueAnswers());
        HistoryDisplay display;
        SurveyState state;
        const RunValues values = RunInputSequence(state, prompter, display);
        EXPECT_EQ(values.SideCount, 5) << c.xd;
        EXPECT_EQ(prompter.AnswersLeft(), 0u) << c.xd;
        EXPECT_FALSE(Asked(prompter, "外方位角")) << c.xd;
        EXPECT_EQ(state.xd, c.xd);
        EXPECT_EQ(display.Text(boxes::kXOfD), c.shownXd);
    }
}

TEST(InputSequence, AnglesAndSidesAreConvertedAsEntered) {
    EntryJob job = EntryJob::DNotKnown();
    job.tolerance = "1.1";
    job.angles[1] = "46.15";
    job.sides[0] = "1234.5";
    auto prompter = ScriptedPrompter::ForJob(job.ValueAnswers());
    HistoryDisplay display;
    SurveyState state;
    RunInputSequence(state, prompter, display);

    EXPECT_EQ(state.Tolerance, 1.1f);
    EXPECT_EQ(state.AngleEntered[1], 45.3030);
    EXPECT_NEAR(state.Angle[1], 45.508333333333333, kDegreeTolerance);
    EXPECT_EQ(display.Text(boxes::ObservedAngle(1)), " 45.30300");
    EXPECT_NEAR(state.Angle[2], 46.25, kDegreeTolerance);
    EXPECT_EQ(display.Text(boxes::ObservedAngle(2)), " 46.15000");
    EXPECT_NEAR(state.Angle[8], 42.0 + 34.0 / 60 + 5.0 / 3600, kDegreeTolerance);

    EXPECT_EQ(state.Side[1], 1234.5);
    EXPECT_EQ(state.SideObserved[1], 1234.5f);
    EXPECT_EQ(display.Text(boxes::ObservedSide(1)), " 1234.500");
    // The observed copy is rounded to single precision, the working side is not.
    EXPECT_EQ(state.Side[3], 1789.4);
    EXPECT_EQ(state.SideObserved[3], 1789.4f);
    EXPECT_NE(static_cast<double>(state.SideObserved[3]), state.Side[3]);
}

TEST(InputSequence, YOfAIsShownAsTypedUntilConfirmedOrCorrected) {
    EntryJob job = EntryJob::DKnown();
    job.ya = "520103.5";
    {
        auto prompter = ScriptedPrompter::ForAllPrompts(job.AllPromptAnswers());
        HistoryDisplay display;
        SurveyState state;
        RunInputSequence(state, prompter, display);
        EXPECT_EQ(BoxHistory(display, boxes::kYOfA), (std::vector<std::string>{" 520103.5", " 520103.500"}));
        EXPECT_EQ(BoxHistory(display, boxes::kXOfA),
                  (std::vector<std::string>{" 4324901.631", " 4324901.631"}));
    }
    {
        auto prompter = ScriptedPrompter::ForAllPrompts(job.AllPromptAnswers(2, {"0", "520103.25", ""}));
        HistoryDisplay display;
        SurveyState state;
        RunInputSequence(state, prompter, display);
        EXPECT_EQ(BoxHistory(display, boxes::kYOfA),
                  (std::vector<std::string>{" 520103.5", "", " 520103.250", " 520103.250"}));
        EXPECT_EQ(state.ya, "520103.25");
        EXPECT_EQ(state.Y[0], 520103.25);
    }
}

TEST(InputSequence, SeveralCorrectionsInARowKeepOnlyTheLastValue) {
    const EntryJob job = EntryJob::DKnown();
    // Value 0 is the tolerance, 1 to 4 the coordinates, 5 to 8 the names: angle 3 is value 11.
    auto prompter = ScriptedPrompter::ForAllPrompts(
        job.AllPromptAnswers(11, {"0", "47.1", "0e5", "47.2", " 0 ", "47.2015", "ok"}));
    HistoryDisplay display;
    SurveyState state;
    RunInputSequence(state, prompter, display);

    EXPECT_EQ(prompter.AnswersLeft(), 0u);
    EXPECT_EQ(BoxHistory(display, boxes::ObservedAngle(3)),
              (std::vector<std::string>{" 40.05200", "", " 47.10000", "", " 47.20000", "", " 47.20150",
                                        " 47.20150"}));
    EXPECT_EQ(state.AngleEntered[3], 47.2015);
    EXPECT_NEAR(state.Angle[3], 47.0 + 20.0 / 60 + 15.0 / 3600, kDegreeTolerance);
    // Each cycle asks the correction prompt and then the second confirmation.
    int corrections = 0;
    for (const auto& exchange : prompter.Dialogue()) {
        if (exchange.message == "输入第 3 个观测角正确的数值 :") ++corrections;
    }
    EXPECT_EQ(corrections, 3);
}

TEST(InputSequence, PointNamesTakeAnyText) {
    EntryJob job = EntryJob::DKnown();
    job.names = {"", "  B 2 ", "0", "一二三四五六七八九十"};
    auto prompter = ScriptedPrompter::ForJob(job.ValueAnswers());
    HistoryDisplay display;
    SurveyState state;
    RunInputSequence(state, prompter, display);
    EXPECT_EQ(state.PointNames, (std::vector<std::string>{"", "  B 2 ", "0", "一二三四五六七八九十", ""}));
    EXPECT_EQ(display.Text(boxes::kPointTable[0].name), " ");
    EXPECT_EQ(display.Text(boxes::kPointTable[1].name), "   B 2 ");
    EXPECT_EQ(display.Text(boxes::kPointTable[2].name), " 0");
    EXPECT_EQ(display.Text(boxes::kPointTable[3].name), " 一二三四五六七八九十");
}

TEST(InputSequence, EachRunStartsWithFreshArrays) {
    SurveyState state;
    {
        auto prompter = ScriptedPrompter::ForJob(EntryJob::DNotKnown().ValueAnswers());
        HistoryDisplay display;
        RunInputSequence(state, prompter, display);
        state.RunCompleted = true;
    }
    ASSERT_EQ(state.Side[6], 1655.05);
    EntryJob second = EntryJob::DKnown();
    second.names = {"P1", "P2", "P3", "P4"};
    auto prompter = ScriptedPrompter::ForJob(second.ValueAnswers());
    HistoryDisplay display;
    const RunValues values = RunInputSequence(state, prompter, display);
    EXPECT_FALSE(state.RunCompleted);
    EXPECT_EQ(state.Side[6], 0.0);  // side 6 of the earlier run is gone
    EXPECT_EQ(state.SideObserved[6], 0.0f);
    EXPECT_EQ(state.PointNames[0], "P1");
    EXPECT_EQ(state.T0, 120.1530);  // scalars are not cleared
    EXPECT_EQ(state.Qa, -10.3);
    EXPECT_EQ(values.ReciprocalWeights[0], 0.0f);
    EXPECT_EQ(values.OrientationAngle, 0.0);
}

}  // namespace
}  // namespace korvanet
