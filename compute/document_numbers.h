// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the adjustment report writes its numbers: fixed decimals, angles in
// degrees, minutes and seconds, relative mean errors as 1/N.  One place, so
// that every section and every writer shows a figure with the same digits.

#include <string>

namespace korvanet {

// `value` with `decimals` decimals; a value that rounds to zero loses its
// minus sign ("0.00", never "-0.00").
std::string FixedText(double value, int decimals);

// Decimal degrees as 45°30′30.00″, the seconds with `secondDecimals`
// decimals, carried so that seconds and minutes stay below 60.
std::string DegreesMinutesSecondsText(double degrees, int secondDecimals);

// A relative mean error as the surveyor writes it: "1/93371"; "-" for none.
std::string OneInText(double relative);

}  // namespace korvanet
