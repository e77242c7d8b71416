// SPDX-License-Identifier: GPL-3.0-or-later
// Where the computation cannot go on, the run ends with a message naming the
// fault, and the boxes shown so far stay as they are.  The adjustment is
// handed what the real input phase made of a reference job; where the fault
// is one the input phase already refuses, it is put into that record
// afterwards, for the adjustment must not rely on its caller.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "adjust/adjustment.h"
#include "compute/job_run.h"
#include "core/form_boxes.h"
#include "core/korvanet_error.h"
#include "core/packed_angle.h"
#include "core/scripted_session.h"
#include "entry/input_sequence.h"
#include "testing/reference_runs.h"

namespace korvanet {
namespace {

// A reference job after its input phase, as the Compute command hands it on.
struct Entered {
    SurveyState state;
    RunValues values;
};

Entered AfterInput(const std::string& job) {
    Entered entered;
    auto prompter = ScriptedPrompter::ForJob(testing::ReferenceAnswers(job));
    RecordingDisplay display;
    entered.values = RunInputSequence(entered.state, prompter, display);
    return entered;
}

// Runs the adjustment and returns the message of the error it must throw.
template <typename Error>
std::string FailureOf(Entered& job, RecordingDisplay& display) {
    try {
        RunAdjustment(job.state, job.values, display);
    } catch (const Error& e) {
        return e.what();
    }
    ADD_FAILURE() << "the run went through";
    return {};
}

void ExpectMentions(const std::string& message, const std::string& part) {
    EXPECT_NE(message.find(part), std::string::npos) << "message: " << message << "\nexpected: " << part;
}

TEST(AdjustmentFailures, ZeroToleranceAfterTheDerivedSideAndAzimuth) {
    Entered job = AfterInput("known-d");
    job.state.Tolerance = 0;
    RecordingDisplay display;
    ExpectMentions(FailureOf<AdjustmentError>(job, display), "规范测角限差为零");
    EXPECT_EQ(display.Order(), (std::vector<std::string>{boxes::kOrientationQ1, boxes::kAzimuthT0}));
}

TEST(AdjustmentFailures, CoordinateOfDThatIsNoNumber) {
    for (const bool x : {true, false}) {
        Entered job = AfterInput("known-d");
        (x ? job.state.xd : job.state.yd) = "4324968,233";
        RecordingDisplay display;
        const std::string message = FailureOf<InputError>(job, display);
        ExpectMentions(message, x ? "已知点 D 的纵座标" : "已知点 D 的横座标");
        ExpectMentions(message, "4324968,233");
        EXPECT_TRUE(display.Order().empty());
    }
}

// The input phase lets this one through: the whole run ends with it.
TEST(AdjustmentFailures, KnownDOnTopOfA) {
    std::vector<std::string> answers = testing::ReferenceAnswers("known-d");
    answers.at(3) = answers.at(1);
    answers.at(4) = answers.at(2) + "0";  // the same number, typed differently
    SurveyState state;
    RecordingDisplay display;
    const JobRun run = RunJob(answers, state, display);
    ASSERT_TRUE(run.failure.has_value());
    ExpectMentions(*run.failure, "已知点 D 与已知点 A 的座标相同");
    EXPECT_FALSE(state.RunCompleted);
    EXPECT_TRUE(display.Written(boxes::ObservedSide(5)));  // every value entered is shown...
    EXPECT_FALSE(display.Written(boxes::kOrientationQ1));  // ...and nothing computed
}

TEST(AdjustmentFailures, OnlyOneCoordinateOfDIsZero) {
    Entered job = AfterInput("known-d");
    job.state.yd = std::string("0");
    RecordingDisplay display;
    ExpectMentions(FailureOf<AdjustmentError>(job, display), "只有一个为零");
    EXPECT_TRUE(display.Order().empty());
}

TEST(AdjustmentFailures, NegativeReciprocalWeightOfTheOrientation) {
    Entered job = AfterInput("free-d");
    job.values.ReciprocalWeights[0] = -1.0f;  // the sign of Q1 is no variance
    RecordingDisplay display;
    ExpectMentions(FailureOf<AdjustmentError>(job, display), "定向角 Q1 的权倒数为负数");
    EXPECT_FALSE(display.Written(boxes::kTriangleMisclosure1));
}

TEST(AdjustmentFailures, FigureWithoutSidesHasNoSolution) {
    Entered job = AfterInput("free-d");
    for (int i = 1; i <= job.values.SideCount; ++i) job.state.Side[i] = 0;
    RecordingDisplay display;
    ExpectMentions(FailureOf<AdjustmentError>(job, display), "主元为零或过小");
    EXPECT_TRUE(display.Written(boxes::ConditionMisclosure(9)));  // every misclosure was shown
    EXPECT_FALSE(display.Written(boxes::kWeightReciprocalXOfB));
}

TEST(AdjustmentFailures, ValueBeyondRangeIsNotShown) {
    Entered job = AfterInput("known-d");
    job.state.AngleEntered[1] = 1e300;
    job.state.Angle[1] = PackedToDegrees(1e300);
    RecordingDisplay display;
    const std::string message = FailureOf<AdjustmentError>(job, display);
    ExpectMentions(message, "闭合差 w(1)");
    ExpectMentions(message, "不是有限数值");
    EXPECT_TRUE(display.Written(boxes::kTriangleMisclosure2));
    EXPECT_FALSE(display.Written(boxes::ConditionMisclosure(1)));
}

}  // namespace
}  // namespace korvanet
