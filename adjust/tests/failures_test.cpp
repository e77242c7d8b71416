// SPDX-License-Identifier: GPL-3.0-or-later
// Where the computation cannot go on, the run ends with a message naming the
// fault, and the boxes shown so far stay as they are.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adjust/adjustment.h"
#include "adjust/tests/engine_fixtures.h"
#include "core/form_boxes.h"
#include "core/korvanet_error.h"

namespace korvanet::testing {
namespace {

// A job with D known and one with D to be determined (answers as typed).
std::vector<std::string> KnownDAnswers() {
    return {"3",        "4324901.631", "469649.741", "4324968.233", "470047.017", "白塔",
            "北山",     "C9",          "DZ1",        "39.07391",    "53.35208",   "51.14279",
            "36.02366", "46.04075",    "46.38444",   "42.51165",    "44.25426",   "340.441",
            "497.370",  "365.111",     "559.316",    "391.555"};
}

std::vector<std::string> FreeDAnswers() {
    return {"2.5",      "3719520.165", "416464.592", "0",        "0",        "277.515678", "92.462276",
            "K17",      "R116",        "II-4",       "HILLTOP",  "67.25584", "46.34018",   "24.21521",
            "41.38020", "71.39235",    "42.20412",   "31.00559", "34.58583", "395.687",    "749.949",
            "549.974",  "562.906",     "336.835",    "557.649"};
}

// Runs the engine and returns the message of the error it must throw.
template <typename Error>
std::string FailureOf(Job& job, BoxRecorder& display) {
    try {
        RunAdjustment(job.state, job.run, display);
    } catch (const Error& e) {
        return e.what();
    }
    ADD_FAILURE() << "the run went through";
    return {};
}

void ExpectMentions(const std::string& message, const std::string& part) {
    EXPECT_NE(message.find(part), std::string::npos) << "message: " << message << "\nexpected: " << part;
}

TEST(Failures, SoundJobsGoThrough) {
    for (const auto& answers : {KnownDAnswers(), FreeDAnswers()}) {
        Job job = JobFromAnswers(answers);
        BoxRecorder display;
        EXPECT_NO_THROW(RunAdjustment(job.state, job.run, display));
        EXPECT_TRUE(display.Written(boxes::kPointTable[3].y));
    }
}

TEST(Failures, ZeroToleranceAfterTheDerivedSideAndAzimuth) {
    std::vector<std::string> answers = KnownDAnswers();
    answers[0] = std::string("0");
    Job job = JobFromAnswers(answers);
    BoxRecorder display;
    ExpectMentions(FailureOf<AdjustmentError>(job, display), "规范测角限差为零");
    EXPECT_EQ(display.Order(), (std::vector<std::string>{boxes::kOrientationQ1, boxes::kAzimuthT0}));
}

TEST(Failures, CoordinateOfDThatIsNoNumber) {
    const std::pair<int, const char*> cases[] = {{3, "已知点 D 的纵座标"}, {4, "已知点 D 的横座标"}};
    for (const auto& [index, name] : cases) {
        std::vector<std::string> answers = KnownDAnswers();
        answers[index] = "4324968,233";
        Job job = JobFromAnswers(answers);
        BoxRecorder display;
        const std::string message = FailureOf<InputError>(job, display);
        ExpectMentions(message, name);
        ExpectMentions(message, "4324968,233");
        EXPECT_TRUE(display.Order().empty());
    }
}

TEST(Failures, KnownDOnTopOfA) {
    std::vector<std::string> answers = KnownDAnswers();
    answers[3] = answers[1];
    answers[4] = "469649.7410";  // the same number, typed differently
    Job job = JobFromAnswers(answers);
    BoxRecorder display;
    ExpectMentions(FailureOf<AdjustmentError>(job, display), "已知点 D 与已知点 A 的座标相同");
    EXPECT_TRUE(display.Order().empty());
}

TEST(Failures, OnlyOneCoordinateOfDIsZero) {
    Job job = JobFromAnswers(KnownDAnswers());
    job.state.yd = std::string("0");
    BoxRecorder display;
    ExpectMentions(FailureOf<AdjustmentError>(job, display), "只有一个为零");
    EXPECT_TRUE(display.Order().empty());
}

TEST(Failures, NegativeReciprocalWeightOfTheOrientation) {
    Job job = JobFromAnswers(FreeDAnswers());
    job.run.ReciprocalWeights[0] = -1.0f;  // the sign of Q1 is no variance
    BoxRecorder display;
    ExpectMentions(FailureOf<AdjustmentError>(job, display), "定向角 Q1 的权倒数为负数");
    EXPECT_FALSE(display.Written(boxes::kTriangleMisclosure1));
}

TEST(Failures, FigureWithoutSidesHasNoSolution) {
    std::vector<std::string> answers = FreeDAnswers();
    for (std::size_t i = 19; i < answers.size(); ++i) answers[i] = std::string("0");
    Job job = JobFromAnswers(answers);
    BoxRecorder display;
    ExpectMentions(FailureOf<AdjustmentError>(job, display), "主元为零或过小");
    EXPECT_TRUE(display.Written(boxes::ConditionMisclosure(9)));  // every misclosure was shown
    EXPECT_FALSE(display.Written(boxes::kWeightReciprocalXOfB));
}

TEST(Failures, ValueBeyondRangeIsNotShown) {
    std::vector<std::string> answers = KnownDAnswers();
    answers[9] = "1e300";  // angle 1
    Job job = JobFromAnswers(answers);
    BoxRecorder display;
    const std::string message = FailureOf<AdjustmentError>(job, display);
    ExpectMentions(message, "闭合差 w(1)");
    ExpectMentions(message, "不是有限数值");
    EXPECT_TRUE(display.Written(boxes::kTriangleMisclosure2));
    EXPECT_FALSE(display.Written(boxes::ConditionMisclosure(1)));
}

}  // namespace
}  // namespace korvanet::testing
