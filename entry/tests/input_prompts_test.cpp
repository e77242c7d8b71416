// SPDX-License-Identifier: GPL-3.0-or-later
// Every prompt of the input phase, word for word, as the surveyor reads it:
// each value is refused once so that its correction prompt and its second
// confirmation are shown too.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/scripted_session.h"
#include "entry/input_sequence.h"
#include "entry/tests/entry_job.h"

namespace korvanet {
namespace {

using testing::EntryJob;

struct ExpectedInstance {
    int row;
    const char* valuePrompt;
    const char* title;  // as the box shows it
    const char* correctionPrompt;
    const char* subject;
    const char* secondSubject;
    const char* box;
};

const ExpectedInstance kInstances[] = {
    {1, "输入已知点 A 的纵座标 :", "Korvanet", "输入已知点 A 正确的纵座标 :", "输入的已知点 A 的纵座标",
     "输入的已知点 A 的纵座标", "Text1"},
    {2, "输入已知点 A 的横座标 :", "Korvanet", "输入已知点 A 正确的横座标 :", "输入的已知点 A 的横座标",
     "输入的已知点 A 的横座标", "Text2"},
    {3, "输入已知点 D 的纵座标 :  如果 D 点不是已知点, 纵座标输入零 ( 即:xd=0 )", "Korvanet",
     "输入已知点 D 正确的纵座标 :", "输入的已知点 D 的纵座标", "输入的已知点 D 的纵座标", "Text3"},
    {4, "输入已知点 D 的横座标 :  如果 D 点不是已知点, 横座标输入零 ( 即:yd=0 )", "Korvanet",
     "输入已知点 D 正确的横座标 :", "输入的已知点 D 的横座标", "输入的已知点 D 的横座标", "Text4"},
    {5, "输入位于 A 点的外方位角 :", "已知外方位角", "输入正确的外方位角 :", "输入的外方位角",
     "输入的外方位角", "Text5"},
    {6, "输入外方向至 S1 边的定向角 Q1 :  如果定向角不在 S1 边, Q1 输入零 ( 即:Q1=0 )", "已知外定向角",
     "输入正确的定向角 Q1 :", "输入的定向角 Q1 ", "输入的定向角 Q1 ", "Text6"},
    {7, "输入 A 点的点名 :", "Korvanet", "输入 A 点正确的点名 :", "输入的 A 点的点名", "输入的 A 点的点名",
     "Text40"},
    {8, "输入待定点 B 点的点名 :", "Korvanet", "输入 B 点正确的点名 :", "输入的待定点 B 点的点名",
     "输入的待定点 B 点的点名", "Text43"},
    {9, "输入待定点 C 点的点名 :", "Korvanet", "输入 C 点正确的点名 :", "输入的待定点 C 点的点名",
     "输入的待定点 C 点的点名", "Text46"},
    {10, "输入 D 点的点名 :", "Korvanet", "输入 D 点正确的点名 :", "输入的 D 点的点名",
     "输入的待定点 D 点的点名", "Text49"},
    {11, "按示意图依次输入第 1 个观测角值 :", "Korvanet", "输入第 1 个观测角正确的数值 :", "输入的观测角值",
     "输入的观测角值", "Text9(0)"},
    {11, "按示意图依次输入第 2 个观测角值 :", "Korvanet", "输入第 2 个观测角正确的数值 :", "输入的观测角值",
     "输入的观测角值", "Text9(1)"},
    {11, "按示意图依次输入第 3 个观测角值 :", "Korvanet", "输入第 3 个观测角正确的数值 :", "输入的观测角值",
     "输入的观测角值", "Text9(2)"},
    {11, "按示意图依次输入第 4 个观测角值 :", "Korvanet", "输入第 4 个观测角正确的数值 :", "输入的观测角值",
     "输入的观测角值", "Text9(3)"},
    {11, "按示意图依次输入第 5 个观测角值 :", "Korvanet", "输入第 5 个观测角正确的数值 :", "输入的观测角值",
     "输入的观测角值", "Text9(4)"},
    {11, "按示意图依次输入第 6 个观测角值 :", "Korvanet", "输入第 6 个观测角正确的数值 :", "输入的观测角值",
     "输入的观测角值", "Text9(5)"},
    {11, "按示意图依次输入第 7 个观测角值 :", "Korvanet", "输入第 7 个观测角正确的数值 :", "输入的观测角值",
     "输入的观测角值", "Text9(6)"},
    {11, "按示意图依次输入第 8 个观测角值 :", "Korvanet", "输入第 8 个观测角正确的数值 :", "输入的观测角值",
     "输入的观测角值", "Text9(7)"},
    {12, "按示意图依次输入第 1 条边长观测值 :", "Korvanet",
     "输入第 1 条边长正确的观测数值 :", "输入的边长观测值", "输入的边长观测值", "Text10(0)"},
    {12, "按示意图依次输入第 2 条边长观测值 :", "Korvanet",
     "输入第 2 条边长正确的观测数值 :", "输入的边长观测值", "输入的边长观测值", "Text10(1)"},
    {12, "按示意图依次输入第 3 条边长观测值 :", "Korvanet",
     "输入第 3 条边长正确的观测数值 :", "输入的边长观测值", "输入的边长观测值", "Text10(2)"},
    {12, "按示意图依次输入第 4 条边长观测值 :", "Korvanet",
     "输入第 4 条边长正确的观测数值 :", "输入的边长观测值", "输入的边长观测值", "Text10(3)"},
    {12, "按示意图依次输入第 5 条边长观测值 :", "Korvanet",
     "输入第 5 条边长正确的观测数值 :", "输入的边长观测值", "输入的边长观测值", "Text10(4)"},
    {12, "按示意图依次输入第 6 条边长观测值 :", "Korvanet",
     "输入第 6 条边长正确的观测数值 :", "输入的边长观测值", "输入的边长观测值", "Text10(5)"},
};

const std::string kTail =
    "是否正确 ? 输入正确按 Enter 或按 OK 键 ( 即:Enter 键或 OK 键 ) ;  输入错误输入零 ( 即:0 )";

// Every value answered, refused with "0", answered again and confirmed.
std::vector<std::string> RefusingEachValueOnce(const EntryJob& job) {
    const std::vector<std::string> values = job.ValueAnswers();
    std::vector<std::string> answers = {values.front()};
    for (std::size_t i = 1; i < values.size(); ++i) {
        answers.insert(answers.end(), {values[i], "0", values[i], ""});
    }
    return answers;
}

void ExpectEveryPromptWordForWord(const EntryJob& job) {
    std::vector<ExpectedInstance> expected;
    for (const auto& instance : kInstances) {
        if ((instance.row == 5 || instance.row == 6) && !job.asksOrientation) continue;
        if (std::string(instance.box) == "Text10(5)" && job.sideCount == 5) continue;
        expected.push_back(instance);
    }

    auto prompter = ScriptedPrompter::ForAllPrompts(RefusingEachValueOnce(job));
    RecordingDisplay display;
    SurveyState state;
    RunInputSequence(state, prompter, display);

    const auto& dialogue = prompter.Dialogue();
    ASSERT_EQ(dialogue.size(), 1 + 4 * expected.size());
    EXPECT_EQ(dialogue[0].message, "输入规范测角限差 : ( 以秒为单位 )");
    EXPECT_EQ(dialogue[0].title, "规范限差");
    std::vector<std::string> boxes;
    for (std::size_t n = 0; n < expected.size(); ++n) {
        const ExpectedInstance& e = expected[n];
        const auto* shown = &dialogue[1 + 4 * n];
        SCOPED_TRACE("row " + std::to_string(e.row) + ", box " + e.box);
        EXPECT_EQ(shown[0].message, e.valuePrompt);
        EXPECT_EQ(shown[0].title, e.title);
        EXPECT_EQ(shown[1].message, std::string("确认") + e.subject + kTail);
        EXPECT_EQ(shown[1].title, "Korvanet");
        EXPECT_EQ(shown[2].message, e.correctionPrompt);
        EXPECT_EQ(shown[2].title, e.title);
        EXPECT_EQ(shown[3].message, std::string("确认这次") + e.secondSubject + kTail);
        EXPECT_EQ(shown[3].title, "Korvanet");
        boxes.push_back(e.box);
    }
    // Each value reaches its own box and no other box is touched.
    EXPECT_EQ(display.Order(), boxes);
}

TEST(InputPrompts, EveryTextWhenDIsNotAKnownPoint) { ExpectEveryPromptWordForWord(EntryJob::DNotKnown()); }

TEST(InputPrompts, EveryTextWhenDIsAKnownPoint) { ExpectEveryPromptWordForWord(EntryJob::DKnown()); }

// Spot checks written out whole, blanks and all.
TEST(InputPrompts, DigitsStandBetweenSingleBlanks) {
    auto prompter = ScriptedPrompter::ForAllPrompts(RefusingEachValueOnce(EntryJob::DNotKnown()));
    RecordingDisplay display;
    SurveyState state;
    RunInputSequence(state, prompter, display);
    std::vector<std::string> messages;
    for (const auto& exchange : prompter.Dialogue()) messages.push_back(exchange.message);
    auto asked = [&](const std::string& text) {
        return std::find(messages.begin(), messages.end(), text) != messages.end();
    };
    EXPECT_TRUE(asked("按示意图依次输入第 3 个观测角值 :"));
    EXPECT_TRUE(asked("输入第 3 条边长正确的观测数值 :"));
    EXPECT_TRUE(
        asked("确认输入的定向角 Q1 是否正确 ? 输入正确按 Enter 或按 OK 键 ( 即:Enter 键或 OK 键 ) ;  "
              "输入错误输入零 ( 即:0 )"));
    EXPECT_TRUE(
        asked("确认这次输入的待定点 D 点的点名是否正确 ? 输入正确按 Enter 或按 OK 键 ( 即:Enter 键或 OK "
              "键 ) ;  输入错误输入零 ( 即:0 )"));
    EXPECT_FALSE(asked("按示意图依次输入第 9 个观测角值 :"));
    EXPECT_FALSE(asked("按示意图依次输入第 7 条边长观测值 :"));
}

}  // namespace
}  // namespace korvanet
