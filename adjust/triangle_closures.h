// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The closures of the figure's four triangles from the observed angles, the
// angle mean error a surveying standard computes from them (Ferrero), and
// the smallest adjusted angle.
//
// Notation: angles 1..8 in decimal degrees as observed (converted from the
// entry); ABC holds angles 1+2+3+4, ACD 5+6+7+8, ABD 1+2+7+8, BCD 3+4+5+6;
// a closure W = the sum of the triangle's angles - 180 degrees, in arc
// seconds; Ferrero's m_beta = sqrt([WW] / 3n) over the n = 4 closures, arc
// seconds.

#include <array>
#include <vector>

#include "adjust/figure_precision.h"

namespace korvanet {

std::array<TriangleClosure, 4> TriangleClosures(const std::array<double, 9>& observedAngle);

double FerreroAngleMeanError(const std::array<TriangleClosure, 4>& triangles);

// The index (1..8) of the smallest of the adjusted angles `angle` (1..8).
int SmallestAngle(const std::vector<double>& angle);

}  // namespace korvanet
