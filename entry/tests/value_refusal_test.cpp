// SPDX-License-Identifier: GPL-3.0-or-later
// Every value is judged the moment it is confirmed.  A script (the batch
// tool) cannot answer a new question, so a refused value ends its run right
// after the value's confirmation; a person is asked the value again through
// its correction prompt.  Either way the answers given so far are kept.

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

// Positions in EntryJob::DNotKnown().ValueAnswers().
constexpr std::size_t kTolerance = 0, kXa = 1, kYd = 4, kT0 = 5, kQ1 = 6, kAngle1 = 11, kSide1 = 19;

// The box each value is shown in, as an accepted run of the job shows it:
// the box written last when the value's confirmation is asked ("" for the
// tolerance, which has no confirmation and no box).
class LastBox : public TextDisplay {
public:
    void SetText(const std::string& box, const std::string&) override { last = box; }
    std::string last;
};

class BoxOfEachValue : public Prompter {
public:
    BoxOfEachValue(std::vector<std::string> answers, const LastBox& display)
        : answers_(std::move(answers)), display_(display) {
        boxes.resize(answers_.size());
    }
    bool Refuse(const std::string&) override { return false; }
    std::vector<std::string> boxes;

protected:
    std::string Show(const std::string&, const std::string&, PromptKind kind, std::size_t value) override {
        if (kind == PromptKind::Confirmation) {
            boxes.at(value) = display_.last;
            return "";
        }
        return answers_.at(value);
    }

private:
    std::vector<std::string> answers_;
    const LastBox& display_;
};

std::vector<std::string> BoxesOfTheValues(const std::vector<std::string>& answers) {
    LastBox display;
    BoxOfEachValue prompter(answers, display);
    SurveyState state;
    RunInputSequence(state, prompter, display);
    return prompter.boxes;
}

struct Row {
    std::size_t value;  // position of the value in the job
    const char* typed;
    bool accepted;
    const char* named;  // how a refusal names the value
};

// One row per rule, each bound from both sides.
const Row kRows[] = {
    // tolerance > 0
    {kTolerance, "0.001", true, ""},
    {kTolerance, "0", false, "规范测角限差"},
    {kTolerance, "-3", false, "规范测角限差"},
    // coordinates are numbers
    {kXa, "-4324901.631", true, ""},
    {kXa, "28561z0.400", false, "已知点 A 的纵座标"},
    {kYd, "", false, "已知点 D 的横座标"},
    // 0 <= T0 < 360, minutes and seconds below 60
    {kT0, "0", true, ""},
    {kT0, "359.5959", true, ""},
    {kT0, "360", false, "外方位角 T0"},
    {kT0, "-0.0001", false, "外方位角 T0"},
    {kT0, "120.60", false, "外方位角 T0"},
    {kT0, "120.1560", false, "外方位角 T0"},
    // -360 < Q1 < 360, minutes and seconds below 60
    {kQ1, "-359.5959", true, ""},
    {kQ1, "359.5959", true, ""},
    {kQ1, "-360", false, "定向角 Q1"},
    {kQ1, "360", false, "定向角 Q1"},
    {kQ1, "-10.75", false, "定向角 Q1"},
    // angles: minutes and seconds on the digits as typed...
    {kAngle1, "45.5959", true, ""},
    {kAngle1, "45.59599", true, ""},  // 59.9 seconds
    {kAngle1, "45.60", false, "第 1 个观测角"},
    {kAngle1, "45.6", false, "第 1 个观测角"},  // the same 60 minutes
    {kAngle1 + 2, "45.5960", false, "第 3 个观测角"},
    {kAngle1 + 2, "45.596", false, "第 3 个观测角"},  // 60 seconds
    // ...an exponent by the range alone...
    {kAngle1 + 7, "4.5596e1", true, ""},
    {kAngle1 + 7, "1.8e2", false, "第 8 个观测角"},
    // ...and strictly between 0 and 180 degrees once converted
    {kAngle1 + 4, "0.0001", true, ""},
    {kAngle1 + 4, "179.5959", true, ""},
    {kAngle1 + 4, "0", false, "第 5 个观测角"},
    {kAngle1 + 4, "180", false, "第 5 个观测角"},
    {kAngle1 + 4, "-45.3030", false, "第 5 个观测角"},
    // sides > 0 and within the single field
    {kSide1, "0.001", true, ""},
    {kSide1, "0", false, "第 1 条边长"},
    {kSide1 + 5, "-1832.481", false, "第 6 条边长"},
    {kSide1 + 3, "1e39", false, "第 4 条边长"},
    // names take any text a person can see, never a control character
    {7, "", true, ""},
    {8, "青龙山 (旧) #2, =A1", true, ""},
    {9, "石\t门", false, "C 点的点名"},
    {10, "东岗\x7F", false, "D 点的点名"},
    {7, "A\xC2\x85", false, "A 点的点名"},  // C1 NEXT LINE
};

TEST(ValueRefusal, EachRuleAcceptsInsideAndRefusesOutsideItsBounds) {
    const std::vector<std::string> boxes = BoxesOfTheValues(EntryJob::DNotKnown().ValueAnswers());
    for (const Row& row : kRows) {
        std::vector<std::string> answers = EntryJob::DNotKnown().ValueAnswers();
        answers.at(row.value) = row.typed;
        auto prompter = ScriptedPrompter::ForJob(answers);
        LastBox display;
        SurveyState state;
        const std::string label = std::to_string(row.value) + " '" + row.typed + "'";
        if (row.accepted) {
            EXPECT_NO_THROW(RunInputSequence(state, prompter, display)) << label;
            EXPECT_EQ(prompter.Answers(), answers) << label;
            continue;
        }
        try {
            RunInputSequence(state, prompter, display);
            ADD_FAILURE() << label << " was accepted";
            continue;
        } catch (const InputError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(row.named), std::string::npos) << label << ": " << message;
            if (row.value >= 7 && row.value <= 10) {
                // The name is shown with its control character made visible.
                EXPECT_NE(message.find("含有控制字符 U+00"), std::string::npos) << label << ": " << message;
            } else if (*row.typed != '\0') {
                EXPECT_NE(message.find(std::string("\"") + row.typed + "\""), std::string::npos)
                    << label << ": " << message;
            }
        }
        // The run ends right after the refused value: its confirmation (the
        // tolerance has none) is the last prompt, its box the last one written,
        // and the answers kept end with it.
        EXPECT_EQ(prompter.AnswersLeft(), answers.size() - row.value - 1) << label;
        EXPECT_EQ(prompter.Dialogue().size(), 1 + 2 * row.value) << label;
        EXPECT_EQ(prompter.Answers(),
                  std::vector<std::string>(answers.begin(), answers.begin() + row.value + 1))
            << label;
        EXPECT_EQ(display.last, boxes.at(row.value)) << label;
        if (row.value != kTolerance) {
            EXPECT_NE(display.last, "") << label;
            EXPECT_EQ(prompter.Dialogue().back().message.rfind("确认", 0), 0u) << label;
        }
    }
}

// A prompter that answers every prompt from a list like a person would, and
// is asked again after each refusal.
class PersonAtTheKeyboard : public Prompter {
public:
    explicit PersonAtTheKeyboard(std::vector<std::string> answers) : answers_(std::move(answers)) {}
    bool Refuse(const std::string& message) override {
        refusals.push_back(message);
        return true;
    }
    std::vector<std::string> refusals;
    std::vector<std::string> asked;

protected:
    std::string Show(const std::string& message, const std::string&, PromptKind, std::size_t) override {
        asked.push_back(message);
        return answers_.at(next_++);
    }

private:
    std::vector<std::string> answers_;
    std::size_t next_ = 0;
};

TEST(ValueRefusal, APersonIsAskedAgainAndNothingTypedBeforeIsLost) {
    const EntryJob job = EntryJob::DKnown();
    std::vector<std::string> answers = job.AllPromptAnswers(11, {"", "40.0520", ""});  // angle 3
    answers.at(0) = "-3";                        // the tolerance, refused...
    answers.insert(answers.begin() + 1, "2.5");  // ...and simply asked again
    answers.at(2 * 11) = "40.0560";              // angle 3 typed with 60 seconds
    PersonAtTheKeyboard person(answers);
    HistoryDisplay display;
    SurveyState state;
    RunInputSequence(state, person, display);

    ASSERT_EQ(person.refusals.size(), 2u);
    EXPECT_NE(person.refusals[0].find("规范测角限差"), std::string::npos) << person.refusals[0];
    EXPECT_NE(person.refusals[1].find("第 3 个观测角\"40.0560\""), std::string::npos) << person.refusals[1];
    EXPECT_EQ(person.asked[0], person.asked[1]);
    // After the refusal the correction cycle runs as if the value had been
    // declared wrong: the box is cleared, corrected, and confirmed again.
    const auto angle3 =
        std::find(person.asked.begin(), person.asked.end(), "按示意图依次输入第 3 个观测角值 :");
    ASSERT_NE(angle3, person.asked.end());
    EXPECT_EQ(*(angle3 + 2), "输入第 3 个观测角正确的数值 :");
    EXPECT_EQ((angle3 + 3)->rfind("确认这次", 0), 0u);
    std::vector<std::string> box;
    const std::string angle3Box = boxes::ObservedAngle(3) + "=";
    for (const std::string& write : display.History()) {
        if (write.rfind(angle3Box, 0) == 0) box.push_back(write.substr(angle3Box.size()));
    }
    EXPECT_EQ(box, (std::vector<std::string>{" 40.05600", " 40.05600", "", " 40.05200", " 40.05200"}));
    EXPECT_NEAR(state.Angle[3], 40.0 + 5.0 / 60 + 20.0 / 3600, 1e-12);
    EXPECT_EQ(state.Tolerance, 2.5f);
    // The answers of the run are the job as it should have been typed.
    EXPECT_EQ(person.Answers(), job.ValueAnswers());
}

}  // namespace
}  // namespace korvanet
