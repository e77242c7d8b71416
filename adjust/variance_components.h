// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Do the a-priori weights fit?  The variance components of the two groups of
// observations, the angles (with Q1) and the sides, estimated from the
// residuals of the figure.  Advice: the adjustment keeps its weights.
//
// Notation: group k = angles or sides; the covariance of observation i of
// group k is f_k sigma0^2 q_i, with sigma0 the entered tolerance (arc
// seconds), q_i the reciprocal weight of the run and f_k the group's variance
// factor sigma_k^2 / sigma_k,a-priori^2, 1 at the start.  Each step adjusts
// the figure with the reciprocal weights f_k q_i (reduced_adjustment.h) and
// sets
//   f_k <- f_k (sum over k of v_i^2 / (f_k sigma0^2 q_i)) / r_k
// with r_k = sum over k of the redundancy numbers, the group's share of the
// redundancy (the two shares add up to 9).  It stops when both f_k change by
// less than 1e-10 relatively; after 200 steps it has not converged.  The
// angles' estimated mean error is sigma0 sqrt(f_angles) arc seconds; the
// sides' a-priori mean errors should be scaled by sqrt(f_sides).

#include <optional>
#include <string>

#include "adjust/quality_check.h"

namespace korvanet {

inline constexpr double kVarianceConvergence = 1e-10;
inline constexpr int kVarianceIterations = 200;
inline constexpr double kSmallestVarianceFactor = 1e-6, kLargestVarianceFactor = 1e6;

struct GroupVariance {
    double factor = 1;      // sigma_k^2 / sigma_k,a-priori^2
    double redundancy = 0;  // r_k at the end
};

struct VarianceComponents {
    GroupVariance angles, sides;
    double angleSigma = 0;  // sigma0 sqrt(f_angles), arc seconds
    double sideScale = 1;   // sqrt(f_sides): by how much the sides' mean errors should be multiplied
    // 测边相对中误差 of the shortest side from the estimate: ms sqrt(f_sides) / S;
    // none when the figure has no side mean error.
    std::optional<double> sideRelative;
    int iterations = 0;
};

struct VarianceEstimate {
    std::optional<VarianceComponents> components;
    std::string reason;  // why there are none, in words
};

VarianceEstimate EstimateVarianceComponents(const QualityCheck& check);

}  // namespace korvanet
