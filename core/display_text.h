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

// The texts of the documents, the windows' tables, the drawing and the files
// the program writes.  Each is exact: any magnitude a double holds is written
// whole, never cut at a buffer's length nor wrapped round a 64-bit integer.
// A value that is not finite is written "-" (no figure), except by
// ShortestText.

// `value` with `decimals` decimals, ties to the even neighbour; a value that
// rounds to zero loses its minus sign ("0.00", never "-0.00").
std::string FixedText(double value, int decimals);

// The shortest text that reads back as the same double ("2.5", "20000",
// "1e+300"); "NaN", "Infinity" or "-Infinity" for a value that is not finite.
std::string ShortestText(double value);

// A relative mean error as the surveyor writes it: "1/93371", N = 1/relative
// rounded to a whole number (ties to even); "-" for none (not above zero).
std::string OneInText(double relative);

// Decimal degrees as 45°30′30.00″, the seconds with `secondDecimals`
// decimals, rounded half away from zero and carried so that seconds and
// minutes stay below 60; no minus sign when every digit is zero.
std::string DegreesMinutesSecondsText(double degrees, int secondDecimals);

// The same angle packed as typed, d.mmss and the decimals of the seconds
// ("45.303012" for 45°30′30.12″ with two decimals).
std::string PackedAngleText(double degrees, int secondDecimals);

// Pattern form of a typed text: a text that reads as a number is written with
// the pattern, any other text is taken unchanged (the empty text stays empty).
std::string FormatTextWithPattern(const std::string& text, int decimals);

}  // namespace korvanet
