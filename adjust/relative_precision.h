// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Relative precision: the mean errors of the adjusted sides and of their
// azimuths, and the relative error ellipses between determined points, all
// from the covariance of the adjusted coordinates.
//
// Notation: coordinate k = 2 p + (0 for x, 1 for y) of point p (0 = A .. 3 = D),
// x north and y east in metres; f_k the coordinate as a function of the
// observations (mm per arc second for the orientation angle and the angles,
// mm per mm for the sides), zero for a known point; Q_kl = Q(f_k, f_l) its
// cofactors after the adjustment, mm^2 per unit weight.  A side P-Q of length
// s with dx = xQ - xP, dy = yQ - yP changes by (dx d(dx) + dy d(dy)) / s and
// its azimuth by (dx d(dy) - dy d(dx)) / s^2 radians.

#include <array>
#include <vector>

#include "adjust/figure_precision.h"
#include "adjust/quality_check.h"
#include "adjust/quality_cofactors.h"
#include "adjust/quality_inputs.h"

namespace korvanet {

struct CoordinateCofactors {
    std::array<ObservationRow, 8> f{};                         // x, y of A, B, C, D
    std::array<ConditionCofactors::ConditionRow, 8> gf{};      // G f_k
    std::array<std::array<double, 8>, 8> Q{};                  // mm^2 per unit weight
    std::array<bool, 4> determined{false, true, true, false};  // D when it is not a known point
};

// The weight functions of B and C are rows 10..13 of A, those of D the two
// rows the run formed for it.
CoordinateCofactors CoordinateCofactorsOf(const QualityInputs& inputs, const ConditionCofactors& cofactors);

// The observed sides 1..lastSide with their adjusted lengths (`adjusted`,
// metres, 1..6) and the directions of the adjusted points.
std::vector<SidePrecision> SidePrecisions(const std::vector<PointCheck>& points,
                                          const std::vector<double>& adjusted, const CoordinateCofactors& c,
                                          double m0, int lastSide);

// The side with the largest relative mean error.
std::size_t WeakestSide(const std::vector<SidePrecision>& sides);

// B-C, and B-D and C-D when D is determined.
std::vector<RelativeEllipse> RelativeEllipses(const CoordinateCofactors& c, double m0);

}  // namespace korvanet
