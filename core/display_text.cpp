// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/display_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "core/decimal_digits.h"
#include "core/number_text.h"

namespace korvanet {
namespace {

// How many decimals a caller may ask for: a double has at most 1074 fraction
// digits, so more decimals only add zeros.
constexpr int kMaxDecimals = 1100;
// Significant digits of the general form: 7 or 15 in use, 17 are every digit
// a double can tell apart.
constexpr int kMaxSignificant = 40;

// Appends a non-negative magnitude with exactly `decimals` decimals (no point
// for 0) and at least one integer digit, built once in `out` rather than by
// inserting the point and the zeros into the digits.
void AppendFixed(std::string& out, double magnitude, int decimals, Tie tie) {
    CutDigits cut = CutScaled(magnitude, decimals);
    Round(cut, tie);
    const std::string& digits = cut.digits;
    const auto places = static_cast<std::size_t>(decimals);
    if (digits.size() <= places) {  // below one: "0." and the zeros in front of the digits
        out += "0.";
        out.append(places - digits.size(), '0');
        out += digits;
        return;
    }
    const std::size_t integerDigits = digits.size() - places;
    out.append(digits, 0, integerDigits);
    if (places == 0) return;
    out += '.';
    out.append(digits, integerDigits);
}

// A magnitude rounded to `significant` digits: exactly that many digits, and
// the power of ten of the first one (after any carry).
struct SignificantDigits {
    std::string digits;
    int exponent;
};

SignificantDigits RoundSignificant(double magnitude, int significant, Tie tie) {
    // The first digit stands at 10^X with X at least `lowest`: a magnitude in
    // [2^(b-1), 2^b) has log10 at least (b-1)*log10(2), less one place of
    // margin for the rounding of that product.  Cut with enough decimals to
    // hold `significant` digits from there on, the digits beyond them fold
    // into the rest.
    const int binaryExponent = std::ilogb(magnitude) + 1;
    constexpr double kLog10Of2 = 0.30102999566398119521;
    const int lowest = static_cast<int>(std::floor((binaryExponent - 1) * kLog10Of2)) - 1;
    const int decimals = std::max(0, significant - 1 - lowest);
    CutDigits cut = CutScaled(magnitude, decimals);
    int exponent = static_cast<int>(cut.digits.size()) - 1 - decimals;
    KeepDigits(cut, static_cast<std::size_t>(significant));
    if (Round(cut, tie)) {
        cut.digits.pop_back();
        ++exponent;
    }
    return {std::move(cut.digits), exponent};
}

// A value that is not finite has no digits to round: its name stands instead.
std::string NonFiniteName(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Infinity" : "Infinity";
}

// Divides a whole number given by its decimal digits by a small divisor in
// place (leading zeros dropped, "0" for zero) and returns the remainder.
unsigned DivideDigits(std::string& digits, unsigned divisor) {
    std::string quotient;
    unsigned rest = 0;
    for (char c : digits) {
        rest = rest * 10 + static_cast<unsigned>(c - '0');
        const auto q = static_cast<char>('0' + rest / divisor);
        if (!quotient.empty() || q != '0') quotient += q;
        rest %= divisor;
    }
    digits = quotient.empty() ? "0" : std::move(quotient);
    return rest;
}

// An angle split into degrees, minutes and seconds after its rounding to the
// last decimal of the seconds, so that no rounding leaves 60 seconds or 60
// minutes: the seconds are counted exactly (the degrees' binary value times
// 3600), the carries are those of whole numbers.
struct Sexagesimal {
    bool negative;        // and not every digit zero
    std::string degrees;  // whole degrees, any number of digits
    char minutes[2];      // two digits
    std::string seconds;  // two digits, then the decimals without the point
};

Sexagesimal SplitAngle(double degrees, int secondDecimals) {
    secondDecimals = std::clamp(secondDecimals, 0, kMaxDecimals);
    CutDigits cut = CutScaled(std::fabs(degrees), secondDecimals, 3600);
    Round(cut, Tie::HalfAwayFromZero);
    const auto places = static_cast<std::size_t>(secondDecimals);
    std::string& units = cut.digits;  // in the last decimal of the seconds
    if (units.size() <= places) units.insert(0, places + 1 - units.size(), '0');
    std::string whole = units.substr(0, units.size() - places);
    const std::string fraction = units.substr(units.size() - places);
    const unsigned s = DivideDigits(whole, 60);
    const unsigned m = DivideDigits(whole, 60);
    Sexagesimal a{std::signbit(degrees) && units.find_first_not_of('0') != std::string::npos,
                  std::move(whole),
                  {static_cast<char>('0' + m / 10), static_cast<char>('0' + m % 10)},
                  std::string{static_cast<char>('0' + s / 10), static_cast<char>('0' + s % 10)}};
    a.seconds += fraction;
    return a;
}

}  // namespace

std::string FixedText(double value, int decimals) {
    if (!std::isfinite(value)) return "-";
    std::string text = "-";
    AppendFixed(text, std::fabs(value), std::clamp(decimals, 0, kMaxDecimals), Tie::HalfEven);
    const bool zero = text.find_first_not_of("-0.") == std::string::npos;
    if (zero || !std::signbit(value)) text.erase(0, 1);
    return text;
}

std::string ShortestText(double value) {
    if (!std::isfinite(value)) return NonFiniteName(value);
    // The longest shortest form of a double, "-2.2250738585072014e-308", has
    // 24 characters.
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc()) return FormatGeneral(value, 17);  // cannot happen; never a cut text
    return std::string(buffer, end);
}

std::string OneInText(double relative) {
    if (!(relative > 0) || !std::isfinite(relative)) return "-";
    const double n = 1 / relative;
    if (!std::isfinite(n)) return "-";  // below the smallest normal double: no figure to write
    return "1/" + FixedText(n, 0);
}

std::string DegreesMinutesSecondsText(double degrees, int secondDecimals) {
    if (!std::isfinite(degrees)) return "-";
    const Sexagesimal a = SplitAngle(degrees, secondDecimals);
    std::string text = a.negative ? "-" : "";
    text += a.degrees;
    text += "°";
    text.append(a.minutes, 2);
    text += "′";
    text.append(a.seconds, 0, 2);
    if (a.seconds.size() > 2) text.append(".").append(a.seconds, 2);
    text += "″";
    return text;
}

std::string PackedAngleText(double degrees, int secondDecimals) {
    if (!std::isfinite(degrees)) return "-";
    const Sexagesimal a = SplitAngle(degrees, secondDecimals);
    std::string text = a.negative ? "-" : "";
    text += a.degrees;
    text += '.';
    text.append(a.minutes, 2);
    text += a.seconds;
    return text;
}

double RoundHalfEven(double value, int decimals) {
    if (!std::isfinite(value) || value == 0) return value;
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    CutDigits cut = CutScaled(std::fabs(value), decimals);
    Round(cut, Tie::HalfEven);
    // The rounded digits times 10^-decimals, read back as the nearest double:
    // the exponent is written behind the digits instead of a point among them.
    cut.digits += "e-" + std::to_string(decimals);
    double result = 0;
    std::from_chars(cut.digits.data(), cut.digits.data() + cut.digits.size(), result);
    return std::signbit(value) ? -result : result;
}

void AppendPattern(std::string& out, double value, int decimals) {
    if (!std::isfinite(value)) {
        out += NonFiniteName(value);
        return;
    }
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    if (value < 0) out += '-';
    AppendFixed(out, std::fabs(value), decimals, Tie::HalfAwayFromZero);
}

std::string FormatPattern(double value, int decimals) {
    std::string text;
    AppendPattern(text, value, decimals);
    return text;
}

std::string FormatGeneral(double value, int significant) {
    if (!std::isfinite(value)) return NonFiniteName(value);
    if (value == 0) return "0";
    significant = std::clamp(significant, 1, kMaxSignificant);
    const SignificantDigits r = RoundSignificant(std::fabs(value), significant, Tie::HalfEven);
    int count = static_cast<int>(r.digits.size());
    while (count > 1 && r.digits[static_cast<std::size_t>(count - 1)] == '0') --count;  // no trailing zeros

    std::string out = value < 0 ? "-" : "";
    // An integer part with more digits than the significant ones could only
    // be written by inventing zeros ("123456800" for 123456789 with 7 digits),
    // and a very small value would be a long row of zeros: both take the
    // exponent form, 1.234568E+08.
    if (r.exponent >= significant || r.exponent < -10) {
        out += r.digits[0];
        if (count > 1) {
            out += '.';
            out.append(r.digits.data() + 1, r.digits.data() + count);
        }
        const int e = std::abs(r.exponent);
        out += r.exponent < 0 ? "E-" : "E+";
        if (e < 10) out += '0';
        out += std::to_string(e);
    } else if (r.exponent >= 0) {
        const int integerDigits = r.exponent + 1;
        out.append(r.digits.data(), r.digits.data() + std::min(count, integerDigits));
        if (count < integerDigits) out.append(static_cast<std::size_t>(integerDigits - count), '0');
        if (count > integerDigits) {
            out += '.';
            out.append(r.digits.data() + integerDigits, r.digits.data() + count);
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-r.exponent - 1), '0');
        out.append(r.digits.data(), r.digits.data() + count);
    }
    return out;
}

std::string FormatTextWithPattern(const std::string& text, int decimals) {
    const NumberReading r = ReadNumber(text);
    if (!r.IsNumber()) return text;
    return FormatPattern(r.value, decimals);
}

}  // namespace korvanet
