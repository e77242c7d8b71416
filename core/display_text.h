// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How numbers become the texts of the window and the report.
//
// Every decision is taken on the exact decimal value of the binary double, so
// the texts never depend on the locale or on the C library: a double 2.675
// lies below the tie (it is 2.67499999...), a double 0.125 is a tie.

#include <string>

namespace korvanet {

// Unit suffixes; each begins with its own blank.
inline constexpr const char* kDegreeUnit = " 度";
inline constexpr const char* kSecondUnit = " 秒";
inline constexpr const char* kMillimetreUnit = " 毫米";

// Rounds to n decimals, ties to the even neighbour.
double RoundHalfEven(double value, int decimals);

// The fixed patterns "0.000", "0.0000", ...: at least one integer digit,
// exactly `decimals` decimals, half away from zero, "-" for a negative value
// (also when it rounds to zero: -0.0001 gives "-0.000"; -0.0 has no sign).
std::string FormatPattern(double value, int decimals);
// The same, appended to `out` (a box text built in one string).
void AppendPattern(std::string& out, double value, int decimals);

// General number form: up to `significant` digits (15 for a double, 7 for a
// single value), rounded at the last one (ties to even), no trailing zeros,
// "0.1235" rather than ".1235", "-" for a negative value.  The exponent form
// (1.234568E+08) only where the integer part has more digits than that, or
// below 1E-10.
std::string FormatGeneral(double value, int significant);

// Pattern form of a typed text: a text that reads as a number is written with
// the pattern, any other text is taken unchanged (the empty text stays empty).
std::string FormatTextWithPattern(const std::string& text, int decimals);

}  // namespace korvanet
