// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The angle-sum closure of the two triangles and the misclosures of the nine
// condition equations.
//
// Notation: angle(1..8) decimal degrees, side(1..6) metres, in the figure
// numbering (triangle 1 = A, B, C with angles 1..4; triangle 2 = A, C, D with
// angles 5..8).  Triangle misclosures and w(1) in arc seconds, w(2..9) in metres.

#include <vector>

namespace korvanet {

inline constexpr int kFirstTriangle = 1;   // angles 1..4
inline constexpr int kSecondTriangle = 5;  // angles 5..8

// (sum of the four angles from `first` - 180) in arc seconds.
double TriangleMisclosure(const std::vector<double>& angle, int first);

// Takes a quarter of the misclosure off each of the four angles of the triangle.
void SpreadTriangleMisclosure(std::vector<double>& angle, int first, double misclosure);

// w(1) = angle 1 + angle 2 - angle 5 - angle 6, arc seconds, single precision.
float FigureMisclosure(const std::vector<double>& angle);

// w(r), r = 2..9: the sine condition of row r in metres, single precision.
float SineMisclosure(int r, const std::vector<double>& angle, const std::vector<double>& side);

}  // namespace korvanet
