// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exact decimal digits of a double, and their rounding.
//
// Every rounding of the program's texts is done here, in exact whole-number
// arithmetic on the binary value of the double, m * 2^e: scaled by 10^n it is
// m * 5^n * 2^(e + n), so the digits kept and the part dropped behind them are
// known exactly, and a tie (dropped part exactly one half of the last kept
// place) is a tie of the binary value, never of a decimal approximation of it.

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvanet {

// What lies behind the last kept digit, measured in units of its place.
enum class Rest { Zero, BelowHalf, Half, AboveHalf };

// How an exact tie is settled.
enum class Tie { HalfEven, HalfAwayFromZero };

// Decimal digits and what lies behind the last of them.
struct CutDigits {
    std::string digits;  // without leading zeros, "0" for less than one
    Rest rest;
};

// The magnitude (finite, not negative) times `factor` times 10^scale
// (0 <= scale <= 1100), cut (not rounded) to a whole number: its digits, and
// what was cut off.  The factor (3600: degrees to seconds) is applied to the
// exact binary value, so no product is rounded on the way.
CutDigits CutScaled(double magnitude, int scale, std::uint32_t factor = 1);

// Keeps the first `keep` digits and folds the ones behind them into the rest.
void KeepDigits(CutDigits& cut, std::size_t keep);

// Rounds the kept digits by their rest; true when a carry ran out of the
// first digit (it became a new leading 1).
bool Round(CutDigits& cut, Tie tie);

}  // namespace korvanet
