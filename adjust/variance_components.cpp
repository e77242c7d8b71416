// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in variance_components.h; columns 0..8 (Q1 and the angles) are
// the angle group, 9..14 the sides.

#include "adjust/variance_components.h"

#include <cmath>

#include "adjust/reduced_adjustment.h"

namespace korvanet {
namespace {

bool IsSide(int column) { return column >= 9; }

bool Estimable(double factor) {
    return factor >= kSmallestVarianceFactor && factor <= kLargestVarianceFactor;
}

}  // namespace

VarianceEstimate EstimateVarianceComponents(const QualityCheck& check) {
    VarianceEstimate out;
    const double sigma0 = check.tolerance;
    if (!(sigma0 > 0)) {
        out.reason = "没有先验单位权中误差, 不能估计";
        return out;
    }
    const LinearFigure f = LinearFigureOf(check);
    double factor[2] = {1, 1};  // angles, sides
    const ObservationMask none{};
    for (int step = 1; step <= kVarianceIterations; ++step) {
        ObservationRow q{};
        for (int o = 0; o <= kLastObservation; ++o) q[o] = f.q[o] * factor[IsSide(o)];
        const ReducedSolution s = AdjustWithout(f, none, q);
        if (!s.solved) {
            out.reason = "方程奇异, 方差分量不可估";
            return out;
        }
        double share[2] = {0, 0}, sum[2] = {0, 0};
        for (int o = 0; o <= kLastObservation; ++o) {
            if (!(q[o] > 0)) continue;
            share[IsSide(o)] += s.r[o];
            sum[IsSide(o)] += s.v[o] * s.v[o] / (q[o] * sigma0 * sigma0);
        }
        bool converged = true;
        for (int k = 0; k < 2; ++k) {
            if (!(share[k] > 1e-6)) {
                out.reason =
                    k == 0 ? "角度组没有多余观测, 方差分量不可估" : "边长组没有多余观测, 方差分量不可估";
                return out;
            }
            // sum / share estimates the factor of the current weights.
            const double next = factor[k] * sum[k] / share[k];
            if (!Estimable(next)) {
                out.reason = "方差因子超出 [1e-6, 1e6], 不可估";
                return out;
            }
            converged = converged && std::fabs(next - factor[k]) < kVarianceConvergence * factor[k];
            factor[k] = next;
        }
        if (converged) {
            VarianceComponents c;
            c.angles = {factor[0], share[0]};
            c.sides = {factor[1], share[1]};
            c.angleSigma = sigma0 * std::sqrt(factor[0]);
            c.sideScale = std::sqrt(factor[1]);
            const FigureSummary& fig = check.figure;
            if (fig.aprioriSideMeanError > 0 && fig.shortestSideLength > 0)
                c.sideRelative = fig.aprioriSideMeanError * c.sideScale / (fig.shortestSideLength * 1000);
            c.iterations = step;
            out.components = c;
            return out;
        }
    }
    out.reason = "迭代 200 次未收敛, 方差分量不可估";
    return out;
}

}  // namespace korvanet
