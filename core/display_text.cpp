// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/display_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/number_text.h"

namespace korvanet {
namespace {

// How many decimals a caller may ask for: a double has at most 1074 fraction
// digits, so more decimals only add zeros.
constexpr int kMaxDecimals = 1100;
// A double's fixed text: up to 309 integer digits, the point, the decimals
// (one more while a tie is settled) and room for a carry into a new digit.
constexpr std::size_t kFixedBuffer = 320 + kMaxDecimals;
// Significant digits of the general form: 7 or 15 in use, 17 are every digit
// a double can tell apart.
constexpr int kMaxSignificant = 40;

enum class Tie { HalfEven, HalfAwayFromZero };

// A finite non-negative double as the whole number m (below 2^53) times 2^e.
struct BinaryValue {
    std::uint64_t m;
    int e;
};

BinaryValue Binary(double magnitude) {
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const auto stored = static_cast<int>(bits >> 52);  // the sign bit is 0
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    if (stored == 0) return {fraction, -1074};  // subnormal
    return {fraction | (std::uint64_t{1} << 52), stored - 1075};
}

// Where the exact decimal expansion of a finite non-zero magnitude ends: its
// last non-zero digit stands at 10^position (-3 for 0.125, 0 for 7, 1 for 120).
// Every double is m * 2^e with an odd integer m; for e < 0 it is
// m * 5^-e / 10^-e, whose last digit (a 5) stands at 10^e; for e >= 0 it is an
// integer with as many trailing zeros as it has factors 10.
int LastDigitPosition(double magnitude) {
    auto [m, exponent] = Binary(magnitude);
    const int twos = std::countr_zero(m);
    m >>= twos;
    exponent += twos;
    if (exponent < 0) return exponent;
    int fives = 0;
    while (fives < exponent && m % 5 == 0) {
        m /= 5;
        ++fives;
    }
    return fives;
}

// Adds one unit in the last place of the digits in [first, last), passing
// over a decimal point; returns true when the carry runs out of the first digit.
bool Increment(char* first, char* last) {
    for (char* p = last; p-- != first;) {
        if (*p == '.') continue;
        if (*p != '9') {
            ++*p;
            return false;
        }
        *p = '0';
    }
    return true;
}

// Whether a kept digit string goes up when the digits dropped behind it are
// exactly one half of its last place.
bool TieGoesUp(char lastKept, Tie tie) { return tie == Tie::HalfAwayFromZero || (lastKept - '0') % 2 == 1; }

// Writes a non-negative magnitude with exactly `decimals` decimals (no point
// for 0) into `out`, which holds kFixedBuffer characters; returns the end.
// The C++ library writes the nearest decimal text, exact to the binary value;
// only an exact tie is left to the rule, and a tie can only be a value whose
// expansion ends one digit beyond the kept ones (with a 5 there).
char* WriteFixed(char* out, double magnitude, int decimals, Tie tie) {
    char* const last = out + kFixedBuffer - 1;  // one left for a carry
    if (magnitude == 0 || LastDigitPosition(magnitude) != -decimals - 1) {
        return std::to_chars(out, last, magnitude, std::chars_format::fixed, decimals).ptr;
    }
    char* end = std::to_chars(out, last, magnitude, std::chars_format::fixed, decimals + 1).ptr;
    --end;                     // the 5 beyond the kept digits
    if (decimals == 0) --end;  // and the point before it
    const char lastKept = end[-1] == '.' ? end[-2] : end[-1];
    if (TieGoesUp(lastKept, tie) && Increment(out, end)) {
        std::memmove(out + 1, out, static_cast<std::size_t>(end - out));
        *out = '1';
        ++end;
    }
    return end;
}

// A magnitude rounded to `significant` digits: exactly that many digits,
// and the power of ten of the first one (after any carry).
struct SignificantDigits {
    char digits[kMaxSignificant + 8];
    int count;
    int exponent;
};

// Reads to_chars' scientific text "d.ddde+XX" into digits and exponent.
void ReadScientific(const char* first, const char* last, SignificantDigits& r, int wanted) {
    r.count = 0;
    const char* p = first;
    for (; p != last && *p != 'e'; ++p) {
        if (*p != '.' && r.count < wanted) r.digits[r.count++] = *p;
    }
    ++p;  // 'e'
    if (*p == '+') ++p;
    std::from_chars(p, last, r.exponent);
}

SignificantDigits RoundSignificant(double magnitude, int significant, Tie tie) {
    SignificantDigits r;
    // The power of ten of the first digit lies in [lowest, highest]: a
    // magnitude in [2^(e-1), 2^e) has log10 in [(e-1)*log10(2), e*log10(2)),
    // so it is floor((e-1)*log10(2)) or one more; one place of margin on
    // either side covers the rounding of these products.
    const auto [m, e] = Binary(magnitude);
    const int binaryExponent = static_cast<int>(std::bit_width(m)) + e;
    constexpr double kLog10Of2 = 0.30102999566398119521;
    const int lowest = static_cast<int>(std::floor((binaryExponent - 1) * kLog10Of2)) - 1;
    const int highest = static_cast<int>(std::floor(binaryExponent * kLog10Of2)) + 1;
    const int lastDigit = LastDigitPosition(magnitude);
    char text[400];
    if (lastDigit < lowest - significant) {
        // The expansion runs on well beyond the kept digits: no tie is
        // possible, the library's nearest text is the answer.
        const char* end =
            std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, significant - 1)
                .ptr;
        ReadScientific(text, end, r, significant);
        return r;
    }
    // A short expansion: written in full (exactly) and rounded here, so that
    // a tie is decided by the rule.
    const char* end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific,
                                    std::max(highest - lastDigit, significant))
                          .ptr;
    SignificantDigits all;
    ReadScientific(text, end, all, kMaxSignificant + 8);
    r.exponent = all.exponent;
    r.count = significant;
    std::copy_n(all.digits, significant, r.digits);
    const char* dropped = all.digits + significant;
    const char* droppedEnd = all.digits + all.count;
    bool up = false;
    if (dropped != droppedEnd && *dropped >= '5') {
        const bool beyondHalf =
            *dropped > '5' || std::any_of(dropped + 1, droppedEnd, [](char c) { return c != '0'; });
        up = beyondHalf || TieGoesUp(r.digits[significant - 1], tie);
    }
    if (up && Increment(r.digits, r.digits + significant)) {
        r.digits[0] = '1';
        ++r.exponent;
    }
    return r;
}

}  // namespace

double RoundHalfEven(double value, int decimals) {
    if (!std::isfinite(value) || value == 0) return value;
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    const double magnitude = std::fabs(value);
    char text[kFixedBuffer];
    const char* end = WriteFixed(text, magnitude, decimals, Tie::HalfEven);
    double result = 0;
    std::from_chars(text, end, result);
    return std::signbit(value) ? -result : result;
}

namespace {

// A value that is not finite has no digits to round: its name stands instead.
std::string NonFiniteName(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Infinity" : "Infinity";
}

}  // namespace

std::string FormatPattern(double value, int decimals) {
    if (!std::isfinite(value)) return NonFiniteName(value);
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    char text[kFixedBuffer + 1];
    text[0] = '-';
    const char* end = WriteFixed(text + 1, std::fabs(value), decimals, Tie::HalfAwayFromZero);
    const char* first = value < 0 ? text : text + 1;
    return std::string(first, end);
}

std::string FormatGeneral(double value, int significant) {
    if (!std::isfinite(value)) return NonFiniteName(value);
    if (value == 0) return "0";
    significant = std::clamp(significant, 1, kMaxSignificant);
    const SignificantDigits r = RoundSignificant(std::fabs(value), significant, Tie::HalfEven);
    int count = r.count;
    while (count > 1 && r.digits[count - 1] == '0') --count;  // no trailing zeros

    std::string out = value < 0 ? "-" : "";
    // An integer part with more digits than the significant ones could only
    // be written by inventing zeros ("123456800" for 123456789 with 7 digits),
    // and a very small value would be a long row of zeros: both take the
    // exponent form, 1.234568E+08.
    if (r.exponent >= significant || r.exponent < -10) {
        out += r.digits[0];
        if (count > 1) {
            out += '.';
            out.append(r.digits + 1, r.digits + count);
        }
        const int e = std::abs(r.exponent);
        out += r.exponent < 0 ? "E-" : "E+";
        if (e < 10) out += '0';
        out += std::to_string(e);
    } else if (r.exponent >= 0) {
        const int integerDigits = r.exponent + 1;
        out.append(r.digits, r.digits + std::min(count, integerDigits));
        if (count < integerDigits) out.append(static_cast<std::size_t>(integerDigits - count), '0');
        if (count > integerDigits) {
            out += '.';
            out.append(r.digits + integerDigits, r.digits + count);
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-r.exponent - 1), '0');
        out.append(r.digits, r.digits + count);
    }
    return out;
}

std::string FormatTextWithPattern(const std::string& text, int decimals) {
    const NumberReading r = ReadNumber(text);
    if (!r.IsNumber()) return text;
    return FormatPattern(r.value, decimals);
}

}  // namespace korvanet
