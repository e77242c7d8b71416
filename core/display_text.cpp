// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/display_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "core/number_text.h"

// Every rounding here is done in exact whole-number arithmetic on the binary
// value of the double, m * 2^e: scaled by 10^n it is m * 5^n * 2^(e + n), so
// the digits kept and the part dropped behind them are known exactly, and a
// tie (dropped part exactly one half of the last kept place) is a tie of the
// binary value, never of a decimal approximation of it.

namespace korvanet {
namespace {

// How many decimals a caller may ask for: a double has at most 1074 fraction
// digits, so more decimals only add zeros.
constexpr int kMaxDecimals = 1100;
// Significant digits of the general form: 7 or 15 in use, 17 are every digit
// a double can tell apart.
constexpr int kMaxSignificant = 40;

enum class Tie { HalfEven, HalfAwayFromZero };

// What lies behind the last kept digit, measured in units of its place.
enum class Rest { Zero, BelowHalf, Half, AboveHalf };

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

// A whole number as large as a double times 10^kMaxDecimals: 32-bit limbs,
// the least significant first.  (53 bits of m, 2^971 at most, 10^1100 at
// most: under 4700 bits.)
class WholeNumber {
public:
    explicit WholeNumber(std::uint64_t value) {
        limbs_[0] = static_cast<std::uint32_t>(value);
        limbs_[1] = static_cast<std::uint32_t>(value >> 32);
        size_ = limbs_[1] != 0 ? 2 : 1;
    }

    void MultiplyBy(std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (int i = 0; i < size_; ++i) {
            const std::uint64_t product = std::uint64_t{limbs_[i]} * factor + carry;
            limbs_[i] = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0) limbs_[size_++] = static_cast<std::uint32_t>(carry);
    }

    void ShiftLeft(int bits) {
        const int whole = bits / 32, part = bits % 32;
        if (part != 0) {
            std::uint32_t carry = 0;
            for (int i = 0; i < size_; ++i) {
                const std::uint32_t next = limbs_[i] >> (32 - part);
                limbs_[i] = (limbs_[i] << part) | carry;
                carry = next;
            }
            if (carry != 0) limbs_[size_++] = carry;
        }
        if (whole != 0) {
            std::copy_backward(limbs_.begin(), limbs_.begin() + size_, limbs_.begin() + size_ + whole);
            std::fill_n(limbs_.begin(), whole, 0);
            size_ += whole;
        }
    }

    // Drops the lowest `bits` bits (bits > 0) and says how they compare with
    // one half of the new last place.
    Rest ShiftRight(int bits) {
        const int halfLimb = (bits - 1) / 32, halfBit = (bits - 1) % 32;
        bool half = false, below = false;  // the half bit, any bit under it
        for (int i = 0; i < std::min(halfLimb, size_); ++i) below = below || limbs_[i] != 0;
        if (halfLimb < size_) {
            half = ((limbs_[halfLimb] >> halfBit) & 1) != 0;
            below = below || (limbs_[halfLimb] & ((std::uint32_t{1} << halfBit) - 1)) != 0;
        }
        const int drop = bits / 32, shift = bits % 32;
        if (drop >= size_) {
            limbs_[0] = 0;
            size_ = 1;
        } else {
            std::copy(limbs_.begin() + drop, limbs_.begin() + size_, limbs_.begin());
            size_ -= drop;
            if (shift != 0) {
                for (int i = 0; i < size_; ++i) {
                    const std::uint32_t high = i + 1 < size_ ? limbs_[i + 1] << (32 - shift) : 0;
                    limbs_[i] = (limbs_[i] >> shift) | high;
                }
            }
        }
        if (!half) return below ? Rest::BelowHalf : Rest::Zero;
        return below ? Rest::AboveHalf : Rest::Half;
    }

    // The decimal digits, without leading zeros ("0" for zero).  The number
    // is used up on the way: nine digits at a time are divided off the end
    // until what is left fits 64 bits.
    std::string TakeDecimal() {
        std::array<char, kLimbs * 10> digits;  // the divided-off digits, the last at the end
        char* const end = digits.data() + digits.size();
        char* first = end;
        for (;;) {
            while (size_ > 1 && limbs_[size_ - 1] == 0) --size_;
            if (size_ <= 2) break;
            std::uint64_t rest = 0;
            for (int i = size_; i-- > 0;) {
                const std::uint64_t current = (rest << 32) | limbs_[i];
                limbs_[i] = static_cast<std::uint32_t>(current / 1000000000);
                rest = current % 1000000000;
            }
            for (int k = 0; k < 9; ++k, rest /= 10) *--first = static_cast<char>('0' + rest % 10);
        }
        const std::uint64_t high = size_ == 2 ? (std::uint64_t{limbs_[1]} << 32) | limbs_[0] : limbs_[0];
        char text[20];
        // (After a division the part left is not zero, so the digits divided
        // off keep their leading zeros.)
        std::string decimal(text, std::to_chars(text, text + sizeof text, high).ptr);
        return decimal.append(first, end);
    }

private:
    static constexpr int kLimbs = 150;
    std::array<std::uint32_t, kLimbs> limbs_;  // only the first size_ are in use
    int size_;
};

// The digits of the magnitude times 10^decimals, cut (not rounded) to a whole
// number, and what was cut off.
struct CutDigits {
    std::string digits;  // without leading zeros, "0" for less than one
    Rest rest;
};

CutDigits Cut(double magnitude, int decimals) {
    const auto [m, e] = Binary(magnitude);
    WholeNumber n(m);
    // times 5^decimals, thirteen factors 5 (5^13 < 2^32) at a time
    for (int left = decimals; left > 0; left -= 13) {
        std::uint32_t factor = 1;
        for (int i = 0; i < std::min(left, 13); ++i) factor *= 5;
        n.MultiplyBy(factor);
    }
    const int shift = e + decimals;
    Rest rest = Rest::Zero;
    if (shift >= 0) {
        n.ShiftLeft(shift);
    } else {
        rest = n.ShiftRight(-shift);
    }
    return {n.TakeDecimal(), rest};
}

// Keeps the first `keep` digits and folds the ones behind them into the rest.
void KeepDigits(CutDigits& cut, std::size_t keep) {
    if (cut.digits.size() <= keep) return;
    const char first = cut.digits[keep];
    const bool more =
        cut.rest != Rest::Zero || std::any_of(cut.digits.begin() + static_cast<std::ptrdiff_t>(keep) + 1,
                                              cut.digits.end(), [](char c) { return c != '0'; });
    if (first > '5' || (first == '5' && more)) {
        cut.rest = Rest::AboveHalf;
    } else if (first == '5') {
        cut.rest = Rest::Half;
    } else {
        cut.rest = first != '0' || more ? Rest::BelowHalf : Rest::Zero;
    }
    cut.digits.resize(keep);
}

// Rounds the kept digits by their rest; true when a carry ran out of the
// first digit (it became a new leading 1).
bool Round(CutDigits& cut, Tie tie) {
    const bool odd = (cut.digits.back() - '0') % 2 == 1;
    const bool up =
        cut.rest == Rest::AboveHalf || (cut.rest == Rest::Half && (tie == Tie::HalfAwayFromZero || odd));
    cut.rest = Rest::Zero;
    if (!up) return false;
    for (auto p = cut.digits.rbegin(); p != cut.digits.rend(); ++p) {
        if (*p != '9') {
            ++*p;
            return false;
        }
        *p = '0';
    }
    cut.digits.insert(cut.digits.begin(), '1');
    return true;
}

// A non-negative magnitude with exactly `decimals` decimals (no point for 0)
// and at least one integer digit.
std::string FixedText(double magnitude, int decimals, Tie tie) {
    CutDigits cut = Cut(magnitude, decimals);
    Round(cut, tie);
    std::string text = std::move(cut.digits);
    const auto places = static_cast<std::size_t>(decimals);
    if (text.size() <= places) text.insert(0, places + 1 - text.size(), '0');
    if (decimals > 0) text.insert(text.size() - places, 1, '.');
    return text;
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
    const auto [m, e] = Binary(magnitude);
    const int binaryExponent = static_cast<int>(std::bit_width(m)) + e;
    constexpr double kLog10Of2 = 0.30102999566398119521;
    const int lowest = static_cast<int>(std::floor((binaryExponent - 1) * kLog10Of2)) - 1;
    const int decimals = std::max(0, significant - 1 - lowest);
    CutDigits cut = Cut(magnitude, decimals);
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

}  // namespace

double RoundHalfEven(double value, int decimals) {
    if (!std::isfinite(value) || value == 0) return value;
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    const std::string text = FixedText(std::fabs(value), decimals, Tie::HalfEven);
    double result = 0;
    std::from_chars(text.data(), text.data() + text.size(), result);
    return std::signbit(value) ? -result : result;
}

std::string FormatPattern(double value, int decimals) {
    if (!std::isfinite(value)) return NonFiniteName(value);
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    const std::string text = FixedText(std::fabs(value), decimals, Tie::HalfAwayFromZero);
    return value < 0 ? "-" + text : text;
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
