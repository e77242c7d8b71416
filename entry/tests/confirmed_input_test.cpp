// SPDX-License-Identifier: GPL-3.0-or-later
#include "entry/confirmed_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/scripted_session.h"
#include "testing/history_display.h"

namespace korvanet {
namespace {

const std::string kTail =
    "是否正确 ? 输入正确按 Enter 或按 OK 键 ( 即:Enter 键或 OK 键 ) ;  输入错误输入零 ( 即:0 )";

ConfirmedInstance Sample(DisplayPattern pattern = DisplayPattern::ThreeDecimals) {
    ConfirmedInstance instance;
    instance.valuePrompt = "输入某值 :";
    instance.title = "某标题";
    instance.correctionPrompt = "输入正确的某值 :";
    instance.firstConfirmation = FirstConfirmationPrompt("输入的某值");
    instance.secondConfirmation = SecondConfirmationPrompt("输入的另一个某值");
    instance.box = "Text7";
    instance.pattern = pattern;
    return instance;
}

std::vector<std::string> Messages(const ScriptedPrompter& prompter) {
    std::vector<std::string> messages;
    for (const auto& exchange : prompter.Dialogue()) messages.push_back(exchange.message);
    return messages;
}

TEST(ConfirmationPrompts, AreSubjectAndTailWordForWord) {
    EXPECT_EQ(FirstConfirmationPrompt("输入的已知点 A 的纵座标"),
              "确认输入的已知点 A 的纵座标是否正确 ? 输入正确按 Enter 或按 OK 键 ( 即:Enter 键或 OK 键 ) ;  "
              "输入错误输入零 ( 即:0 )");
    EXPECT_EQ(
        SecondConfirmationPrompt("输入的已知点 A 的纵座标"),
        "确认这次输入的已知点 A 的纵座标是否正确 ? 输入正确按 Enter 或按 OK 键 ( 即:Enter 键或 OK 键 ) ;  "
        "输入错误输入零 ( 即:0 )");
}

TEST(DisplayedText, BlankThenPatternOrTextAsTyped) {
    struct Case {
        const char* text;
        DisplayPattern pattern;
        const char* shown;
    } cases[] = {
        {"", DisplayPattern::ThreeDecimals, " "},
        {"", DisplayPattern::None, " "},
        {"abc", DisplayPattern::ThreeDecimals, " abc"},
        {"12.3456789", DisplayPattern::ThreeDecimals, " 12.346"},
        {"1234567.1", DisplayPattern::ThreeDecimals, " 1234567.100"},
        {"30.1", DisplayPattern::FiveDecimals, " 30.10000"},
        {"45.3", DisplayPattern::FiveDecimals, " 45.30000"},
        {" 7 ", DisplayPattern::ThreeDecimals, " 7.000"},
        {".5", DisplayPattern::ThreeDecimals, " 0.500"},
        {"-10.3", DisplayPattern::FiveDecimals, " -10.30000"},
        {"0.0005", DisplayPattern::ThreeDecimals, " 0.001"},  // half away from zero
        {"1e400", DisplayPattern::ThreeDecimals, " 1e400"},   // no number it could show
        {"45.3", DisplayPattern::None, " 45.3"},
        {" 12 ", DisplayPattern::None, "  12 "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DisplayedText(c.text, c.pattern), c.shown) << "'" << c.text << "'";
    }
}

TEST(WrongAnswer, OnlyATextReadingAsZeroRefuses) {
    for (const char* wrong : {"0", "00", "0.0", "0.00", " 0 ", "-0", "0e5", "+0", "\t0"}) {
        EXPECT_TRUE(IsWrongAnswer(wrong)) << "'" << wrong << "'";
    }
    for (const char* confirm : {"", " ", "1", "-1", "no", "x", "y", "ok", "O", "0.001", "零"}) {
        EXPECT_FALSE(IsWrongAnswer(confirm)) << "'" << confirm << "'";
    }
}

TEST(ConfirmedInput, ConfirmingAsksNothingMoreAndKeepsTheTextAsTyped) {
    // Enter or OK on the empty field, Cancel, and any text that is not zero all confirm.
    for (const char* confirm : {"", "1", "no", "x"}) {
        auto prompter = ScriptedPrompter::ForAllPrompts({" 12.3456 ", confirm});
        HistoryDisplay display;
        EXPECT_EQ(ConfirmedInput(Sample(), prompter, display), " 12.3456 ") << confirm;
        ASSERT_EQ(prompter.Dialogue().size(), 2u) << confirm;
        EXPECT_EQ(prompter.Dialogue()[0].message, "输入某值 :");
        EXPECT_EQ(prompter.Dialogue()[0].title, "某标题");
        EXPECT_EQ(prompter.Dialogue()[1].message, "确认输入的某值" + kTail);
        EXPECT_EQ(prompter.Dialogue()[1].title, "Korvanet");
        EXPECT_EQ(display.History(), (std::vector<std::string>{"Text7= 12.346", "Text7= 12.346"}));
    }
}

TEST(ConfirmedInput, EachZeroFormRunsOneCorrectionCycle) {
    for (const char* wrong : {"0", "0.00", " 0 ", "-0", "0e5"}) {
        auto prompter = ScriptedPrompter::ForAllPrompts({"1.5", wrong, "2.25", ""});
        HistoryDisplay display;
        EXPECT_EQ(ConfirmedInput(Sample(), prompter, display), "2.25") << wrong;
        EXPECT_EQ(Messages(prompter),
                  (std::vector<std::string>{"输入某值 :", "确认输入的某值" + kTail,
                                            "输入正确的某值 :", "确认这次输入的另一个某值" + kTail}))
            << wrong;
        EXPECT_EQ(prompter.Dialogue()[2].title, "某标题");
        EXPECT_EQ(prompter.Dialogue()[3].title, "Korvanet");
        // The refused value leaves the box before the correction is asked.
        EXPECT_EQ(display.History(),
                  (std::vector<std::string>{"Text7= 1.500", "Text7=", "Text7= 2.250", "Text7= 2.250"}))
            << wrong;
    }
}

TEST(ConfirmedInput, CyclesRepeatUntilAnAnswerIsNotZero) {
    auto prompter =
        ScriptedPrompter::ForAllPrompts({"1", "0", "2", "00", "3", "0.0", "4", "-0", "abc", "no"});
    HistoryDisplay display;
    EXPECT_EQ(ConfirmedInput(Sample(DisplayPattern::FiveDecimals), prompter, display), "abc");
    const std::string second = "确认这次输入的另一个某值" + kTail;
    EXPECT_EQ(Messages(prompter),
              (std::vector<std::string>{"输入某值 :", "确认输入的某值" + kTail, "输入正确的某值 :", second,
                                        "输入正确的某值 :", second, "输入正确的某值 :", second,
                                        "输入正确的某值 :", second}));
    EXPECT_EQ(display.History(), (std::vector<std::string>{
                                     "Text7= 1.00000", "Text7=", "Text7= 2.00000", "Text7=", "Text7= 3.00000",
                                     "Text7=", "Text7= 4.00000", "Text7=", "Text7= abc", "Text7= abc"}));
    EXPECT_EQ(prompter.AnswersLeft(), 0u);
}

TEST(ConfirmedInput, EmptyAnswerIsStoredAndShownAsOneBlank) {
    auto prompter = ScriptedPrompter::ForAllPrompts({"", ""});
    HistoryDisplay display;
    EXPECT_EQ(ConfirmedInput(Sample(), prompter, display), "");
    EXPECT_EQ(display.Text("Text7"), " ");
}

TEST(ConfirmedInput, UnformattedFirstDisplayOnlyWhileFirstConfirmed) {
    ConfirmedInstance instance = Sample();
    instance.firstDisplayUnformatted = true;
    {
        auto prompter = ScriptedPrompter::ForAllPrompts({"520103.5", ""});
        HistoryDisplay display;
        ConfirmedInput(instance, prompter, display);
        EXPECT_EQ(display.History(), (std::vector<std::string>{"Text7= 520103.5", "Text7= 520103.500"}));
    }
    {
        auto prompter = ScriptedPrompter::ForAllPrompts({"520103.5", "0", "520103.6", ""});
        HistoryDisplay display;
        ConfirmedInput(instance, prompter, display);
        EXPECT_EQ(display.History(), (std::vector<std::string>{"Text7= 520103.5", "Text7=",
                                                               "Text7= 520103.600", "Text7= 520103.600"}));
    }
}

TEST(ConfirmedInput, NoTitleShowsTheApplicationTitleEverywhere) {
    ConfirmedInstance instance = Sample(DisplayPattern::None);
    instance.title.clear();
    auto prompter = ScriptedPrompter::ForAllPrompts({"甲", "0", "乙", ""});
    HistoryDisplay display;
    EXPECT_EQ(ConfirmedInput(instance, prompter, display), "乙");
    for (const auto& exchange : prompter.Dialogue()) EXPECT_EQ(exchange.title, "Korvanet");
    EXPECT_EQ(display.History(), (std::vector<std::string>{"Text7= 甲", "Text7=", "Text7= 乙", "Text7= 乙"}));
}

}  // namespace
}  // namespace korvanet
