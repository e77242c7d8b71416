// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/display_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace korvanet {
namespace {

TEST(RoundHalfEven, DecidesTiesOnTheExactBinaryValue) {
    EXPECT_EQ(RoundHalfEven(0.125, 2), 0.12);  // an exact tie: to even
    EXPECT_EQ(RoundHalfEven(0.375, 2), 0.38);
    EXPECT_EQ(RoundHalfEven(2.675, 2), 2.67);  // the double lies below the tie
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
    EXPECT_EQ(FormatPattern(0.125, 2), "0.13");  // tie: away from zero
    EXPECT_EQ(FormatPattern(-0.125, 2), "-0.13");
    EXPECT_EQ(FormatPattern(0.5, 0), "1");
    EXPECT_EQ(FormatPattern(0.4, 3), "0.400");
    EXPECT_EQ(FormatPattern(-2.5, 2), "-2.50");
    EXPECT_EQ(FormatPattern(9.9996, 3), "10.000");
    EXPECT_EQ(FormatPattern(5.0, 4), "5.0000");
    EXPECT_EQ(FormatPattern(-0.12345678, 8), "-0.12345678");
    EXPECT_EQ(FormatPattern(3456.78949, 3), "3456.789");
    EXPECT_EQ(FormatPattern(0.0000123456789, 8), "0.00001235");  // a small value, many decimals
    EXPECT_EQ(FormatPattern(0.000000004, 8), "0.00000000");
    EXPECT_EQ(FormatPattern(0.000000006, 8), "0.00000001");
    // Beyond 64-bit whole numbers: the double 1234567890123.456787109375.
    EXPECT_EQ(FormatPattern(1234567890123.4567, 8), "1234567890123.45678711");
    // Far beyond them, every digit of the binary value: the double nearest
    // 1e23 is 99999999999999991611392, the largest double has 309 digits.
    EXPECT_EQ(FormatPattern(1e23, 2), "99999999999999991611392.00");
    const std::string largest = FormatPattern(std::numeric_limits<double>::max(), 0);
    EXPECT_EQ(largest.size(), 309u);
    EXPECT_EQ(largest.substr(0, 20), "17976931348623157081");
    EXPECT_EQ(RoundHalfEven(1e300, 2), 1e300);
}

TEST(FormatPattern, SignOfSmallNegativesAndNegativeZero) {
    EXPECT_EQ(FormatPattern(-0.0001, 3), "-0.000");                 // applied directly: keeps its sign
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

// The general form keeps `significant` digits, rounded at the last one (ties
// to even, decided on the binary value); a number whose integer part has more
// digits than that is written with an exponent rather than with made-up zeros.
TEST(FormatGeneral, RoundsAtTheLastKeptDigit) {
    struct Case {
        double value;
        int significant;
        const char* text;
    } cases[] = {
        {123456789, 7, "1.234568E+08"},  // was cut to "123456700"
        {-123456789, 7, "-1.234568E+08"},
        {static_cast<float>(123456789), 7, "1.234568E+08"},  // the single 123456792
        {1234567, 7, "1234567"},                             // seven integer digits: no exponent
        {1234567.49, 7, "1234567"},
        {1234567.5, 7, "1234568"},  // an exact tie: to the even neighbour
        {1234568.5, 7, "1234568"},
        {12345675, 7, "1.234568E+07"},  // a tie beyond the integer digits kept
        {12345665, 7, "1.234566E+07"},
        {9999999.4, 7, "9999999"},
        {9999999.5, 7, "1E+07"},  // the carry makes an eighth integer digit
        {0.99999996, 7, "1"},
        {2.5, 1, "2"},
        {3.5, 1, "4"},
        {-2.5, 1, "-2"},
        {0.125, 2, "0.12"},
        {0.375, 2, "0.38"},
        {0.000123456789, 7, "0.0001234568"},
        {123456789012345.6, 15, "123456789012346"},
        {999999999999999, 15, "999999999999999"},
        {999999999999999.9, 15, "1E+15"},
        {1e15, 15, "1E+15"},
        {1.5e-11, 15, "1.5E-11"},
        {1e-10, 15, "0.0000000001"},
        {1e300, 15, "1E+300"},
        {5e-324, 7, "4.940656E-324"},  // the smallest double, 4.9406564584...E-324
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatGeneral(c.value, c.significant), c.text) << c.value << " with " << c.significant;
    }
}

// Every value (2j+1) / 2^(n+1) lies exactly halfway between its two
// neighbours at n decimals, since its n-decimal scaling (2j+1) 5^n / 2 is
// an odd number of halves; the doubles next to it lie just off the tie.  The
// expected digits come from that integer, not from any decimal conversion.
TEST(RoundingAtTheKeptDigit, ExactTiesAndTheDoublesBesideThem) {
    const auto decimal = [](std::uint64_t scaled, int n) {
        std::string digits = std::to_string(scaled);
        if (digits.size() <= static_cast<std::size_t>(n)) digits.insert(0, n + 1 - digits.size(), '0');
        if (n > 0) digits.insert(digits.size() - n, ".");
        return digits;
    };
    const auto read = [](const std::string& text) {
        double value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    };
    const double inf = std::numeric_limits<double>::infinity();
    std::uint64_t fives = 1;  // 5^n
    for (int n = 0; n <= 22; ++n, fives *= 5) {
        for (std::uint64_t j = 0; j < 300; ++j) {
            const double tie = std::ldexp(static_cast<double>(2 * j + 1), -(n + 1));
            const std::uint64_t below = ((2 * j + 1) * fives - 1) / 2;
            const std::uint64_t above = below + 1;
            const std::uint64_t even = below % 2 == 0 ? below : above;
            SCOPED_TRACE(decimal(below, n) + " | " + decimal(above, n));
            EXPECT_EQ(FormatPattern(tie, n), decimal(above, n));
            EXPECT_EQ(FormatPattern(-tie, n), "-" + decimal(above, n));
            EXPECT_EQ(RoundHalfEven(tie, n), read(decimal(even, n)));
            EXPECT_EQ(RoundHalfEven(-tie, n), -read(decimal(even, n)));
            // The doubles beside the tie, where they lie within a quarter
            // of the last decimal place (the many decimals of small values
            // can be finer than the doubles there).
            if (std::nextafter(tie, inf) - tie < 0.25 * std::pow(10.0, -n)) {
                EXPECT_EQ(FormatPattern(std::nextafter(tie, 0.0), n), decimal(below, n));
                EXPECT_EQ(FormatPattern(std::nextafter(tie, inf), n), decimal(above, n));
                EXPECT_EQ(RoundHalfEven(std::nextafter(tie, inf), n), read(decimal(above, n)));
                EXPECT_EQ(RoundHalfEven(std::nextafter(tie, 0.0), n), read(decimal(below, n)));
            }
        }
    }
}

// The texts of the documents, one line an edge value and its answer.  The
// answers are the exact decimal values of the doubles, rounded by hand.
TEST(DocumentTexts, FixedDecimals) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {-0.0, 2, "0.00"},
        {-0.004, 2, "0.00"},   // rounds to zero: no sign
        {-0.005, 2, "-0.01"},  // the double lies above the tie
        {0.125, 2, "0.12"},    // an exact tie: to the even neighbour
        {0.375, 2, "0.38"},
        {2.5, 0, "2"},
        {2.675, 2, "2.67"},  // the double lies below the tie
        {3521408.2549999, 3, "3521408.255"},
        {1e22, 3, "10000000000000000000000.000"},
        {1.2345678901234567e20, 3, "123456789012345667584.000"},  // a huge coordinate, every digit
        {1e64, 2, "10000000000000000213204190094543968723012578712679649467743338496.00"},  // beyond 63
        {-1e-300, 4, "0.0000"},
        {nan, 2, "-"},
    };
    for (const Case& c : cases) EXPECT_EQ(FixedText(c.value, c.decimals), c.text) << c.value;
}

TEST(DocumentTexts, OneIn) {
    struct Case {
        double relative;
        const char* text;
    } cases[] = {
        {1 / 93371.4, "1/93371"},
        {2.0 / 3, "1/2"},  // N = 1.5 exactly: a tie, to even
        {0.4, "1/2"},      // N = 2.5
        {1e-19, "1/10000000000000000000"},
        {1 / (18446744073709551616.0 + 4096), "1/18446744073709555712"},  // N beyond 2^64
        {5e-324, "-"},                                                    // N beyond every double
        {0.0, "-"},
        {-1.0, "-"},
        {std::numeric_limits<double>::infinity(), "-"},
    };
    for (const Case& c : cases) EXPECT_EQ(OneInText(c.relative), c.text) << c.relative;
}

TEST(DocumentTexts, DegreesMinutesSeconds) {
    struct Case {
        double degrees;
        int decimals;
        const char* text;
    } cases[] = {
        {29.9999, 2, "29°59′59.64″"},  // not 30°00′00″
        {29.9999, 4, "29°59′59.6400″"},
        {59.9995 / 3600, 3, "0°00′59.999″"},                  // the double lies below 59.9995″
        {59.9995 / 3600, 2, "0°01′00.00″"},                   // carried into the minutes
        {45 + 59 / 60.0 + 59.996 / 3600, 2, "46°00′00.00″"},  // carried into the degrees
        {359.99999999, 2, "360°00′00.00″"},
        {1.0 / 32, 0, "0°01′53″"},  // 112.5″ exactly: a tie, away from zero
        {1.0 / 32, 1, "0°01′52.5″"},
        {-1.0 / 32, 0, "-0°01′53″"},
        {-0.001, 2, "-0°00′03.60″"},
        {-1e-9, 2, "0°00′00.00″"},  // rounds to zero: no sign
        {-0.0, 2, "0°00′00.00″"},
        {30.5, 0, "30°30′00″"},
        {1e20, 2, "100000000000000000000°00′00.00″"},
        {std::numeric_limits<double>::quiet_NaN(), 2, "-"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DegreesMinutesSecondsText(c.degrees, c.decimals), c.text) << c.degrees;
    EXPECT_EQ(DegreesMinutesSecondsText(std::numeric_limits<double>::max(), 0).size(),
              309 + 12u);  // every digit, and the marks
}

TEST(DocumentTexts, PackedAngle) {
    struct Case {
        double degrees;
        int decimals;
        const char* text;
    } cases[] = {
        {29.9999, 6, "29.5959640000"},
        {45.508333333333333, 6, "45.3030000000"},
        {359.9999999999, 6, "360.0000000000"},
        {1.0 / 32, 0, "0.0153"},
        {-0.5, 6, "-0.3000000000"},
        {0.5 / 3600e6, 6, "0.0000000000"},  // half of the last place, just below it as a double
    };
    for (const Case& c : cases) EXPECT_EQ(PackedAngleText(c.degrees, c.decimals), c.text) << c.degrees;
}

TEST(DocumentTexts, Shortest) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {2.5, "2.5"},
        {20000, "20000"},
        {3521408.25, "3521408.25"},
        {0.1 + 0.2, "0.30000000000000004"},
        {-0.0, "-0"},
        {1e300, "1e+300"},
        {-2.2250738585072014e-308, "-2.2250738585072014e-308"},
        {5e-324, "5e-324"},
        {std::numeric_limits<double>::quiet_NaN(), "NaN"},
        {-std::numeric_limits<double>::infinity(), "-Infinity"},
    };
    for (const Case& c : cases) EXPECT_EQ(ShortestText(c.value), c.text) << c.text;
}

TEST(FormatTextWithPattern, NumbersFormattedOtherTextKept) {
    EXPECT_EQ(FormatTextWithPattern("12.3456789", 3), "12.346");
    EXPECT_EQ(FormatTextWithPattern("abc", 3), "abc");
    EXPECT_EQ(FormatTextWithPattern("", 3), "");
    EXPECT_EQ(FormatTextWithPattern(" 45.3 ", 5), "45.30000");
}

}  // namespace
}  // namespace korvanet
