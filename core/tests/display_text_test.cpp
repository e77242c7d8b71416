#include "display_text.h"

#include <cmath>

#include <gtest/gtest.h>

namespace korvanet {
namespace {

TEST(RoundHalfEven, DecidesTiesOnTheExactBinaryValue) {
    EXPECT_EQ(RoundHalfEven(0.125, 2), 0.12);   // an exact tie: to even
    EXPECT_EQ(RoundHalfEven(0.375, 2), 0.38);
    EXPECT_EQ(RoundHalfEven(2.675, 2), 2.67);   // the double lies below the tie
    EXPECT_EQ(RoundHalfEven(2.5, 0), 2.0);
    EXPECT_EQ(RoundHalfEven(3.5, 0), 4.0);
    EXPECT_EQ(RoundHalfEven(-0.125, 2), -0.12);
    EXPECT_EQ(RoundHalfEven(402.82009, 4), 402.8201);
    EXPECT_EQ(RoundHalfEven(134.595999999, 5), 134.596);
}

TEST(FormatPattern, FixedDecimalsHalfAwayFromZero) {
    EXPECT_EQ(FormatPattern(12.3456789, 3), "12.346");
    EXPECT_EQ(FormatPattern(1234567.1, 3), "1234567.100");
    EXPECT_EQ(FormatPattern(30.1, 5), "30.10000");
    EXPECT_EQ(FormatPattern(45.3, 5), "45.30000");
    EXPECT_EQ(FormatPattern(0.125, 2), "0.13");      // tie: away from zero
    EXPECT_EQ(FormatPattern(-0.125, 2), "-0.13");
    EXPECT_EQ(FormatPattern(0.5, 0), "1");
    EXPECT_EQ(FormatPattern(0.4, 3), "0.400");
    EXPECT_EQ(FormatPattern(-2.5, 2), "-2.50");
    EXPECT_EQ(FormatPattern(9.9996, 3), "10.000");
    EXPECT_EQ(FormatPattern(5.0, 4), "5.0000");
    EXPECT_EQ(FormatPattern(-0.12345678, 8), "-0.12345678");
    EXPECT_EQ(FormatPattern(3456.78949, 3), "3456.789");
}

TEST(FormatPattern, SignOfSmallNegativesAndNegativeZero) {
    EXPECT_EQ(FormatPattern(-0.0001, 3), "-0.000");   // applied directly: keeps its sign
    EXPECT_EQ(FormatPattern(RoundHalfEven(-0.001, 2), 2), "0.00");  // rounded first to -0
    EXPECT_EQ(FormatPattern(-0.0, 2), "0.00");
}

TEST(FormatGeneral, NoTrailingZerosNoExponent) {
    EXPECT_EQ(FormatGeneral(RoundHalfEven(0.12345678, 4), 15), "0.1235");
    EXPECT_EQ(FormatGeneral(2.0, 15), "2");
    EXPECT_EQ(FormatGeneral(1.5, 7), "1.5");
    EXPECT_EQ(FormatGeneral(-1.0066, 15), "-1.0066");
    EXPECT_EQ(FormatGeneral(0.0, 15), "0");
    EXPECT_EQ(FormatGeneral(-0.0, 15), "0");
    EXPECT_EQ(FormatGeneral(1234567.5, 15), "1234567.5");
    EXPECT_EQ(FormatGeneral(0.001, 15), "0.001");
    // A single value rounded to 2 decimals and shown with 7 digits.
    EXPECT_EQ(FormatGeneral(static_cast<float>(RoundHalfEven(1.0445f, 2)), 7), "1.04");
    EXPECT_EQ(FormatGeneral(static_cast<float>(2.37), 7), "2.37");
    EXPECT_EQ(FormatGeneral(0.1 + 0.2, 15), "0.3");
}

TEST(FormatTextWithPattern, NumbersFormattedOtherTextKept) {
    EXPECT_EQ(FormatTextWithPattern("12.3456789", 3), "12.346");
    EXPECT_EQ(FormatTextWithPattern("abc", 3), "abc");
    EXPECT_EQ(FormatTextWithPattern("", 3), "");
    EXPECT_EQ(FormatTextWithPattern(" 45.3 ", 5), "45.30000");
}

}  // namespace
}  // namespace korvanet
