// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/number_text.h"

#include <gtest/gtest.h>

#include "core/korvanet_error.h"
#include "core/survey_state.h"

namespace korvanet {
namespace {

TEST(ReadNumber, AcceptsDecimalForms) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"12", 12},       {" 12.5 ", 12.5}, {"-3", -3},    {"+3", 3},
        {".5", 0.5},      {"5.", 5},        {"1e3", 1000}, {"1E-2", 0.01},
        {"-2.5e+1", -25}, {"\t7\t", 7},     {"0e5", 0},    {"4324901.631", 4324901.631},
        {"1e-400", 0},
    };
    for (const auto& c : cases) {
        const NumberReading r = ReadNumber(c.text);
        ASSERT_TRUE(r.IsNumber()) << "'" << c.text << "'";
        EXPECT_EQ(r.value, c.value) << "'" << c.text << "'";
    }
}

TEST(ReadNumber, RejectsEverythingElse) {
    for (const char* text :
         {"",   " ", "abc", "inf", "nan", "NaN", "infinity", "0x10", "1,000", "1,5", "1.2.3",
          "e5", ".", "-",   "+-1", "1e",  "1e+", "12abc",    "1 2",  "--1",   "١٢",  "1_000"}) {
        EXPECT_FALSE(ReadNumber(text).IsNumber()) << "'" << text << "'";
    }
}

TEST(ReadNumber, TellsOverflowFromUnderflow) {
    EXPECT_EQ(ReadNumber("1e400").kind, NumberReading::Kind::TooLarge);
    EXPECT_EQ(ReadNumber("-1e400").kind, NumberReading::Kind::TooLarge);
    EXPECT_EQ(ReadNumber("0.0000000001e-400").kind, NumberReading::Kind::Number);
    EXPECT_THROW(NumberOrThrow("1e400", "容差"), InputError);
}

TEST(ReadsAsZero, IsNumericAndNeedsText) {
    for (const char* zero : {"0", "00", "0.0", "-0", "0e5", " 0 ", "0.00", "+0"}) {
        EXPECT_TRUE(ReadsAsZero(zero)) << "'" << zero << "'";
    }
    for (const char* other : {"", " ", "1", "no", "x", "0.001", "O"}) {
        EXPECT_FALSE(ReadsAsZero(other)) << "'" << other << "'";
    }
}

TEST(NumberOrThrow, NamesTheValueInTheMessage) {
    try {
        NumberOrThrow("abc", "第 3 个观测角");
        FAIL() << "no error";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("第 3 个观测角"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("abc"), std::string::npos);
    }
    EXPECT_THROW(NumberOrThrow("", "容差"), InputError);
}

TEST(SingleOrThrow, OverflowIsAnErrorNotUndefined) {
    EXPECT_EQ(SingleOrThrow(1234.5, "边"), 1234.5f);
    EXPECT_EQ(SingleOrThrow(3.4028235e38, "边"), 3.4028235e38f);
    EXPECT_THROW(SingleOrThrow(1e39, "边"), InputError);
    EXPECT_THROW(SingleOrThrow(-1e39, "边"), InputError);
}

TEST(DTests, ExactlyOneZeroFitsNeither) {
    SurveyState s;
    s.xd = "0";
    s.yd = "0";
    EXPECT_TRUE(DIsNotKnownPoint(s));
    EXPECT_FALSE(DIsKnownPoint(s));
    s.xd = "100";
    s.yd = "200";
    EXPECT_TRUE(DIsKnownPoint(s));
    EXPECT_FALSE(DIsNotKnownPoint(s));
    s.xd = "0";
    s.yd = "200";
    EXPECT_FALSE(DIsKnownPoint(s));
    EXPECT_FALSE(DIsNotKnownPoint(s));
    s.xd = "";
    s.yd = "0";  // empty is not zero
    EXPECT_FALSE(DIsNotKnownPoint(s));
    s.xd = "";
    s.yd = "5";
    EXPECT_TRUE(DIsKnownPoint(s));
}

}  // namespace
}  // namespace korvanet
