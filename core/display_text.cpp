// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/display_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
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

// Up to this many decimals the rounding is done in exact integer arithmetic.
constexpr int kMaxFastDecimals = 19;
constexpr std::uint64_t kPowersOf5[kMaxFastDecimals + 1] = {1ULL,
                                                            5ULL,
                                                            25ULL,
                                                            125ULL,
                                                            625ULL,
                                                            3125ULL,
                                                            15625ULL,
                                                            78125ULL,
                                                            390625ULL,
                                                            1953125ULL,
                                                            9765625ULL,
                                                            48828125ULL,
                                                            244140625ULL,
                                                            1220703125ULL,
                                                            6103515625ULL,
                                                            30517578125ULL,
                                                            152587890625ULL,
                                                            762939453125ULL,
                                                            3814697265625ULL,
                                                            19073486328125ULL};
// Powers of ten that a double holds exactly.
constexpr double kPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

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

// The magnitude times 10^decimals, rounded to a whole number by `tie`: the
// kept digits of the fixed text.  Exact integer arithmetic on the binary
// value m * 2^e (m below 2^53): m * 5^decimals * 2^(e + decimals), so the
// digits beyond the kept ones are compared with one half exactly.  False when
// the number does not fit 64 bits; the caller then writes the text in full.
bool ScaledWhole(double magnitude, int decimals, Tie tie, std::uint64_t& rounded) {
    if (decimals > kMaxFastDecimals) return false;
    const auto [m, exponent] = Binary(magnitude);
    __extension__ typedef unsigned __int128 Wide;                      // g++ and clang both have it
    const Wide product = static_cast<Wide>(m) * kPowersOf5[decimals];  // below 2^98
    const int shift = exponent + decimals;
    if (shift >= 0) {
        if (shift >= 64 || (product >> (64 - shift)) != 0) return false;
        rounded = static_cast<std::uint64_t>(product << shift);
        return true;
    }
    const int dropped = -shift;
    if (dropped > 100) {  // far below one half of the last place
        rounded = 0;
        return true;
    }
    const Wide whole = product >> dropped;
    const Wide rest = product - (whole << dropped);
    const Wide half = static_cast<Wide>(1) << (dropped - 1);
    const bool up = rest > half || (rest == half && (tie == Tie::HalfAwayFromZero || (whole & 1) != 0));
    const Wide result = whole + (up ? 1 : 0);
    if ((result >> 64) != 0) return false;
    rounded = static_cast<std::uint64_t>(result);
    return true;
}

// Writes the kept digits with the point `decimals` places from the right and
// at least one integer digit ("0.050" for 50 with 3 decimals), from the last
// digit backwards straight into place.
char* WriteScaled(char* out, std::uint64_t whole, int decimals) {
    int digits = 1;
    for (std::uint64_t power = 10; digits < 20 && whole >= power; power *= 10) ++digits;
    const int integerDigits = std::max(digits - decimals, 1);
    char* const end = out + integerDigits + (decimals > 0 ? decimals + 1 : 0);
    char* p = end;
    for (int i = 0; i < decimals; ++i) {
        *--p = static_cast<char>('0' + whole % 10);
        whole /= 10;
    }
    if (decimals > 0) *--p = '.';
    while (p != out) {
        *--p = static_cast<char>('0' + whole % 10);
        whole /= 10;
    }
    return end;
}

// Writes a non-negative magnitude with exactly `decimals` decimals (no point
// for 0) into `out`, which holds kFixedBuffer characters; returns the end.
// The C++ library writes the nearest decimal text, exact to the binary value;
// only an exact tie is left to the rule, and a tie can only be a value whose
// expansion ends one digit beyond the kept ones (with a 5 there).
char* WriteFixed(char* out, double magnitude, int decimals, Tie tie) {
    if (std::uint64_t whole = 0; ScaledWhole(magnitude, decimals, tie, whole))
        return WriteScaled(out, whole, decimals);
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

// Powers of ten as whole numbers, up to 10^19.
constexpr std::uint64_t kWholePowersOf10[20] = {1ULL,
                                                10ULL,
                                                100ULL,
                                                1000ULL,
                                                10000ULL,
                                                100000ULL,
                                                1000000ULL,
                                                10000000ULL,
                                                100000000ULL,
                                                1000000000ULL,
                                                10000000000ULL,
                                                100000000000ULL,
                                                1000000000000ULL,
                                                10000000000000ULL,
                                                100000000000000ULL,
                                                1000000000000000ULL,
                                                10000000000000000ULL,
                                                100000000000000000ULL,
                                                1000000000000000000ULL,
                                                10000000000000000000ULL};

// The significant digits of a whole number below 10^significant.
void SetDigits(SignificantDigits& r, std::uint64_t digits, int significant, int exponent) {
    std::to_chars(r.digits, r.digits + significant, digits);
    r.count = significant;
    r.exponent = exponent;
}

// The rounding in whole numbers (see ScaledWhole) when the power of ten of
// the first digit, X, is `lowest` or `lowest` + 1 and the kept digits lie
// between 10^0 and 10^-19.  Rounded at X = lowest, a value of X = lowest + 1
// (or one that carries into it) shows itself by one digit too many and is
// rounded again one place higher; a carry there gives 1 at the next power.
bool RoundSignificantWhole(double magnitude, int significant, int lowest, Tie tie, SignificantDigits& r) {
    if (significant > 17) return false;
    const int decimals = significant - 1 - lowest;
    if (decimals < 1 || decimals > kMaxFastDecimals) return false;
    const std::uint64_t full = kWholePowersOf10[significant];
    std::uint64_t whole = 0;
    if (!ScaledWhole(magnitude, decimals, tie, whole)) return false;
    if (whole < full) {
        SetDigits(r, whole, significant, lowest);
        return true;
    }
    if (!ScaledWhole(magnitude, decimals - 1, tie, whole)) return false;
    if (whole < full) {
        SetDigits(r, whole, significant, lowest + 1);
    } else {
        SetDigits(r, kWholePowersOf10[significant - 1], significant, lowest + 2);
    }
    return true;
}

SignificantDigits RoundSignificant(double magnitude, int significant, Tie tie) {
    SignificantDigits r;
    // The power of ten of the first digit lies in [lowest, highest]: a
    // magnitude in [2^(e-1), 2^e) has log10 in [(e-1)*log10(2), e*log10(2)),
    // so it is floor((e-1)*log10(2)) or one more.
    const auto [m, e] = Binary(magnitude);
    const int binaryExponent = static_cast<int>(std::bit_width(m)) + e;
    constexpr double kLog10Of2 = 0.30102999566398119521;
    const int firstDigitAtLeast = static_cast<int>(std::floor((binaryExponent - 1) * kLog10Of2));
    if (RoundSignificantWhole(magnitude, significant, firstDigitAtLeast, tie, r)) return r;
    char text[400];
    const int lowest = firstDigitAtLeast - 1;
    const int highest = static_cast<int>(std::floor(binaryExponent * kLog10Of2)) + 1;
    const int lastDigit = LastDigitPosition(magnitude);
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
    // A value with no more decimals than asked for is its own rounding.
    if (LastDigitPosition(magnitude) >= -decimals) return value;
    if (decimals < static_cast<int>(std::size(kPowersOf10))) {
        // A whole number of at most 53 bits over an exact power of ten: the
        // one division rounds to the nearest double, as reading the text would.
        std::uint64_t whole = 0;
        if (ScaledWhole(magnitude, decimals, Tie::HalfEven, whole) && whole <= (std::uint64_t{1} << 53)) {
            const double result = static_cast<double>(whole) / kPowersOf10[decimals];
            return std::signbit(value) ? -result : result;
        }
    }
    char text[kFixedBuffer];
    const char* end = WriteFixed(text, magnitude, decimals, Tie::HalfEven);
    double result = 0;
    std::from_chars(text, end, result);
    return std::signbit(value) ? -result : result;
}

namespace {

// A value that is not finite has no digits to round: its name stands instead.
bool AppendedNonFinite(std::string& out, double value) {
    if (std::isnan(value)) {
        out += "NaN";
        return true;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-Infinity" : "Infinity";
        return true;
    }
    return false;
}

}  // namespace

std::string FormatPattern(double value, int decimals) {
    std::string out;
    AppendPattern(out, value, decimals);
    return out;
}

void AppendPattern(std::string& out, double value, int decimals) {
    if (AppendedNonFinite(out, value)) return;
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    if (std::uint64_t whole = 0; ScaledWhole(std::fabs(value), decimals, Tie::HalfAwayFromZero, whole)) {
        char text[48];  // sign, 20 digits, point
        text[0] = '-';
        const char* first = value < 0 ? text : text + 1;
        const char* end = WriteScaled(text + 1, whole, decimals);
        out.append(first, end);
        return;
    }
    char text[kFixedBuffer + 1];
    text[0] = '-';
    const char* end = WriteFixed(text + 1, std::fabs(value), decimals, Tie::HalfAwayFromZero);
    const char* first = value < 0 ? text : text + 1;
    out.append(first, end);
}

std::string FormatGeneral(double value, int significant) {
    std::string out;
    AppendGeneral(out, value, significant);
    return out;
}

void AppendGeneral(std::string& out, double value, int significant) {
    if (AppendedNonFinite(out, value)) return;
    if (value == 0) {
        out += '0';
        return;
    }
    significant = std::clamp(significant, 1, kMaxSignificant);
    const SignificantDigits r = RoundSignificant(std::fabs(value), significant, Tie::HalfEven);
    int count = r.count;
    while (count > 1 && r.digits[count - 1] == '0') --count;  // no trailing zeros

    if (value < 0) out += '-';
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
}

std::string FormatTextWithPattern(const std::string& text, int decimals) {
    const NumberReading r = ReadNumber(text);
    if (!r.IsNumber()) return text;
    return FormatPattern(r.value, decimals);
}

}  // namespace korvanet
