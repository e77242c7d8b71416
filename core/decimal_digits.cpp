// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/decimal_digits.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>

namespace korvanet {
namespace {

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

// A whole number as large as a double times 2^32 times 10^1100: 32-bit
// limbs, the least significant first.  (53 bits of m, 2^971 at most, a factor
// below 2^32, 10^1100 at most: under 4720 bits of the 4800 held.)
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
            // Whole limbs dropped and bits shifted in one pass, from the low
            // end up: each limb is read before it is overwritten.
            const int kept = size_ - drop;
            for (int i = 0; i < kept; ++i) {
                const std::uint32_t high =
                    shift != 0 && i + 1 < kept ? limbs_[i + drop + 1] << (32 - shift) : 0;
                limbs_[i] = (limbs_[i + drop] >> shift) | high;
            }
            size_ = kept;
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
        // (After a division the part left is not zero, so the digits divided
        // off keep their leading zeros.)
        return std::to_string(high).append(first, end);
    }

private:
    static constexpr int kLimbs = 150;
    std::array<std::uint32_t, kLimbs> limbs_;  // only the first size_ are in use
    int size_;
};

}  // namespace

CutDigits CutScaled(double magnitude, int decimals, std::uint32_t factor) {
    const auto [m, e] = Binary(magnitude);
    WholeNumber n(m);
    if (factor != 1) n.MultiplyBy(factor);
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

}  // namespace korvanet
