// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Packed sexagesimal angles d.mmss (45.3030 is 45 deg 30 min 30 sec) and the
// degree/radian factors used by every conversion of the program.

namespace korvanet {

// 3.1415926535 / 180: deliberately not the exact pi / 180, every sine, cosine
// and arctangent goes through this factor.
inline constexpr double RHO_DEG = 0.017453292519444445;
// Seconds of arc per radian.
inline constexpr double RHO_SEC = 206265;
// Millimetres that one second of arc turns at one metre: 1000 / RHO_SEC.
inline constexpr double RHO_MM = 1000.0 / RHO_SEC;

// d.mmss -> decimal degrees.  The seconds take whatever is left after the whole
// minutes, so a minutes value that lands just below a whole number still gives
// the right angle.
double PackedToDegrees(double packed);

// Signed form (the orientation angle Q1): convert |p| and restore the sign;
// zero converts to 0.
double SignedPackedToDegrees(double packed);

// Decimal degrees -> d.mmss, by truncation and with no carry: 29.9999999
// minutes gives 29 minutes and 60 seconds.
double DegreesToPacked(double degrees);

}  // namespace korvanet
