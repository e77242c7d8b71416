// SPDX-License-Identifier: GPL-3.0-or-later
// Every prompt of the input phase as the surveyor reads it.  The value
// prompts and their first confirmations are those of the golden dialogues of
// the reference jobs (testing/reference-jobs/*.transcript), read from there;
// what no golden dialogue holds, because no job declares a value wrong, is
// written out below: each value's correction prompt and second confirmation.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/scripted_session.h"
#include "entry/input_sequence.h"

namespace korvanet {
namespace {

const std::string kTail =
    "是否正确 ? 输入正确按 Enter 或按 OK 键 ( 即:Enter 键或 OK 键 ) ;  输入错误输入零 ( 即:0 )";

struct Correction {
    const char* prompt;         // asked after a value is declared wrong
    const char* secondSubject;  // the second confirmation: "确认这次" + this + the tail
};

// By the value prompt that the golden dialogues show.
const std::map<std::string, Correction> kCorrections = {
    {"输入已知点 A 的纵座标 :", {"输入已知点 A 正确的纵座标 :", "输入的已知点 A 的纵座标"}},
    {"输入已知点 A 的横座标 :", {"输入已知点 A 正确的横座标 :", "输入的已知点 A 的横座标"}},
    {"输入已知点 D 的纵座标 :  如果 D 点不是已知点, 纵座标输入零 ( 即:xd=0 )",
     {"输入已知点 D 正确的纵座标 :", "输入的已知点 D 的纵座标"}},
    {"输入已知点 D 的横座标 :  如果 D 点不是已知点, 横座标输入零 ( 即:yd=0 )",
     {"输入已知点 D 正确的横座标 :", "输入的已知点 D 的横座标"}},
    {"输入位于 A 点的外方位角 :", {"输入正确的外方位角 :", "输入的外方位角"}},
    {"输入外方向至 S1 边的定向角 Q1 :  如果定向角不在 S1 边, Q1 输入零 ( 即:Q1=0 )",
     {"输入正确的定向角 Q1 :", "输入的定向角 Q1 "}},
    {"输入 A 点的点名 :", {"输入 A 点正确的点名 :", "输入的 A 点的点名"}},
    {"输入待定点 B 点的点名 :", {"输入 B 点正确的点名 :", "输入的待定点 B 点的点名"}},
    {"输入待定点 C 点的点名 :", {"输入 C 点正确的点名 :", "输入的待定点 C 点的点名"}},
    // The second confirmation calls D a point to be determined, known or not.
    {"输入 D 点的点名 :", {"输入 D 点正确的点名 :", "输入的待定点 D 点的点名"}},
    {"按示意图依次输入第 1 个观测角值 :", {"输入第 1 个观测角正确的数值 :", "输入的观测角值"}},
    {"按示意图依次输入第 2 个观测角值 :", {"输入第 2 个观测角正确的数值 :", "输入的观测角值"}},
    {"按示意图依次输入第 3 个观测角值 :", {"输入第 3 个观测角正确的数值 :", "输入的观测角值"}},
    {"按示意图依次输入第 4 个观测角值 :", {"输入第 4 个观测角正确的数值 :", "输入的观测角值"}},
    {"按示意图依次输入第 5 个观测角值 :", {"输入第 5 个观测角正确的数值 :", "输入的观测角值"}},
    {"按示意图依次输入第 6 个观测角值 :", {"输入第 6 个观测角正确的数值 :", "输入的观测角值"}},
    {"按示意图依次输入第 7 个观测角值 :", {"输入第 7 个观测角正确的数值 :", "输入的观测角值"}},
    {"按示意图依次输入第 8 个观测角值 :", {"输入第 8 个观测角正确的数值 :", "输入的观测角值"}},
    {"按示意图依次输入第 1 条边长观测值 :", {"输入第 1 条边长正确的观测数值 :", "输入的边长观测值"}},
    {"按示意图依次输入第 2 条边长观测值 :", {"输入第 2 条边长正确的观测数值 :", "输入的边长观测值"}},
    {"按示意图依次输入第 3 条边长观测值 :", {"输入第 3 条边长正确的观测数值 :", "输入的边长观测值"}},
    {"按示意图依次输入第 4 条边长观测值 :", {"输入第 4 条边长正确的观测数值 :", "输入的边长观测值"}},
    {"按示意图依次输入第 5 条边长观测值 :", {"输入第 5 条边长正确的观测数值 :", "输入的边长观测值"}},
    {"按示意图依次输入第 6 条边长观测值 :", {"输入第 6 条边长正确的观测数值 :", "输入的边长观测值"}},
};

using Exchange = ScriptedPrompter::Exchange;

// A golden dialogue: "?<TAB>title<TAB>message" for each prompt, then
// ">"<TAB>answer".
std::vector<Exchange> GoldenDialogue(const std::string& job) {
    std::ifstream in(std::string(KORVANET_REFERENCE_DIR) + "/" + job + ".transcript");
    std::vector<Exchange> dialogue;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("?\t", 0) == 0) {
            const std::size_t tab = line.find('\t', 2);
            dialogue.push_back({line.substr(2, tab - 2), line.substr(tab + 1), ""});
        } else if (line.rfind(">\t", 0) == 0 && !dialogue.empty()) {
            dialogue.back().answer = line.substr(2);
        } else {
            ADD_FAILURE() << job << ": a line that is neither prompt nor answer: " << line;
        }
    }
    return dialogue;
}

bool IsConfirmation(const Exchange& exchange) { return exchange.message.rfind("确认", 0) == 0; }

void ExpectSame(const Exchange& actual, const Exchange& expected) {
    EXPECT_EQ(actual.message, expected.message);
    EXPECT_EQ(actual.title, expected.title);
    EXPECT_EQ(actual.answer, expected.answer);
}

// Each value of the job declared wrong once ("0"), typed again through its
// correction prompt and confirmed: the dialogue is the golden one with the
// correction and the second confirmation after each first confirmation, and
// the run ends with the record, the boxes and the answers the job gives.
TEST(InputPrompts, EachValueCorrectedOnceInEveryReferenceJob) {
    std::set<std::string> corrected;
    for (const char* job : {"known-d", "free-d", "free-d-negative-q1", "free-d-q1-zero"}) {
        SCOPED_TRACE(job);
        const std::vector<Exchange> golden = GoldenDialogue(job);
        ASSERT_GT(golden.size(), 40u);
        std::vector<std::string> jobAnswers;
        std::vector<std::string> answers;
        for (const Exchange& g : golden) {
            if (!IsConfirmation(g)) {
                jobAnswers.push_back(g.answer);
                answers.push_back(g.answer);
            } else {
                answers.insert(answers.end(), {"0", jobAnswers.back(), ""});
            }
        }

        auto straight = ScriptedPrompter::ForJob(jobAnswers);
        RecordingDisplay straightDisplay;
        SurveyState straightState;
        RunInputSequence(straightState, straight, straightDisplay);

        auto prompter = ScriptedPrompter::ForAllPrompts(answers);
        RecordingDisplay display;
        SurveyState state;
        RunInputSequence(state, prompter, display);

        const std::vector<Exchange> dialogue = prompter.Dialogue();
        std::size_t n = 0;
        for (std::size_t i = 0; i < golden.size(); ++i) {
            SCOPED_TRACE(golden[i].message);
            ASSERT_LT(n, dialogue.size());
            if (!IsConfirmation(golden[i])) {
                ExpectSame(dialogue[n++], golden[i]);
                continue;
            }
            const Exchange& value = golden[i - 1];
            const auto correction = kCorrections.find(value.message);
            ASSERT_NE(correction, kCorrections.end()) << "no correction written for " << value.message;
            corrected.insert(value.message);
            ExpectSame(dialogue[n++], {golden[i].title, golden[i].message, "0"});
            ASSERT_LT(n + 1, dialogue.size());
            // Asked again under the value's own title.
            ExpectSame(dialogue[n++], {value.title, correction->second.prompt, value.answer});
            ExpectSame(
                dialogue[n++],
                {golden[i].title, std::string("确认这次") + correction->second.secondSubject + kTail, ""});
        }
        EXPECT_EQ(n, dialogue.size()) << "prompts beyond the golden dialogue";

        // Nothing of the first typing is left behind.
        EXPECT_EQ(prompter.Answers(), jobAnswers);
        EXPECT_EQ(display.Order(), straightDisplay.Order());
        for (const std::string& box : display.Order())
            EXPECT_EQ(display.Text(box), straightDisplay.Text(box)) << box;
        EXPECT_EQ(state.Angle, straightState.Angle);
        EXPECT_EQ(state.Side, straightState.Side);
        EXPECT_EQ(state.PointNames, straightState.PointNames);
    }
    // Every correction written above was asked.
    EXPECT_EQ(corrected.size(), kCorrections.size());
}

}  // namespace
}  // namespace korvanet
