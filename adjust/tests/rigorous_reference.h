// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An independent least-squares adjustment of the braced quadrilateral by
// observation equations, to hold the engine's condition adjustment against.
//
// Unknowns: the coordinates of B and C, and of D when D is not a known point;
// when the orientation angle is held fixed (q0 = 0) B moves only along the
// fixed direction A->B.  Observations: the eight angles as differences of
// azimuths (arc seconds, weight 1), the sides (millimetres, weight 1/q), and
// when D is not known the azimuth A->B as T0 + Q1 (arc seconds, weight 1/q0).
// Gauss-Newton iterations to convergence.  After it: the residuals, their
// cofactors Q_vv = Q_ll - J Q_pp J^T and the cofactors of the coordinates
// G Q_pp G^T, covariances of x and y included.

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "adjust/tests/engine_fixtures.h"

namespace korvanet::testing {

enum class ReferenceKind { Angle, Side, Orientation };

struct ReferenceObservation {
    ReferenceKind kind;
    int index;        // 1..8 angles, 1..6 sides, 0 the orientation A->B
    double residual;  // adjusted - observed: arc seconds, or mm
    double cofactor;  // (Q_vv)_ii: arc seconds^2, or mm^2, per unit weight
    double redundancy;
    // How far the adjusted coordinates (xA, yA, .., xD, yD) move, in mm, when
    // the observation is biased by one of its units (arc second, or mm).
    std::array<double, 8> shiftPerUnitBias{};
    double weight = 0;  // 1/q as adjusted, per unit weight
};

struct ReferenceSolution {
    Point B, C, D;
    double sigma0 = 0;  // arc seconds
    int redundancy = 0;
    double QxB = 0, QyB = 0, QxC = 0, QyC = 0;  // cofactors, mm^2 per unit weight
    double QxyB = 0, QxyC = 0;
    double QxD = 0, QyD = 0, QxyD = 0;  // zero when D is a known point
    std::vector<ReferenceObservation> observations;
    int iterations = 0;
    // The cofactors of all eight coordinates (xA, yA, .., xD, yD), mm^2 per
    // unit weight; zero rows for the known points.
    std::array<std::array<double, 8>, 8> Qz{};
};

// What a fresh adjustment may change: observations left out, and the
// reciprocal weights of the angle group (the angles and the orientation) and
// of the sides multiplied by a variance factor.
struct ReferenceChoices {
    std::vector<std::pair<ReferenceKind, int>> leftOut;
    double angleFactor = 1, sideFactor = 1;
};

// `start` holds approximate B, C, D; `sideReciprocalWeight` the q of every
// observed side; `q0` the orientation angle's (ignored when D is known).
ReferenceSolution RigorousAdjustment(const Point& a, const std::optional<Point>& knownD,
                                     const FigureObservations& obs, double sideReciprocalWeight, double q0,
                                     const TrueFigure& start, const ReferenceChoices& choices = {});

// The variance factors of the angle group and of the sides by the iteration
// f_k <- f_k (v_k^T P_k v_k / sigma0^2) / r_k on fresh adjustments, to a
// relative change below 1e-6 (the Gauss-Newton solution is good to about
// 1e-5 mm); none when it has not converged in 2000 steps.
struct ReferenceVariance {
    double angleFactor = 1, sideFactor = 1;
    double angleRedundancy = 0, sideRedundancy = 0;
};
std::optional<ReferenceVariance> ReferenceVarianceComponents(const Point& a,
                                                             const std::optional<Point>& knownD,
                                                             const FigureObservations& obs,
                                                             double sideReciprocalWeight, double q0,
                                                             const TrueFigure& start, double sigma0);

}  // namespace korvanet::testing
