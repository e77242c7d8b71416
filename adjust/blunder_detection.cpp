// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in blunder_detection.h; columns 0..14 as in adjustment_model.h.

#include "adjust/blunder_detection.h"

#include <cmath>

#include "adjust/reduced_adjustment.h"

namespace korvanet {

std::vector<std::optional<double>> M0WithoutEach(const QualityCheck& check) {
    const LinearFigure f = LinearFigureOf(check);
    double omega = 0;
    for (int o = 0; o <= kLastObservation; ++o)
        if (f.q[o] > 0) omega += f.v[o] * f.v[o] / f.q[o];
    std::vector<std::optional<double>> m0(check.observations.size());
    if (check.redundancy < 2) return m0;
    for (std::size_t i = 0; i < m0.size(); ++i) {
        const ObservationCheck& o = check.observations[i];
        if (!(o.redundancy >= kSmallestCheckedRedundancy) || !(o.cofactor > 0)) continue;
        // Rounding may leave a hair below zero when the observation carries
        // all of [pvv].
        const double left = std::fmax(omega - o.residual * o.residual / o.cofactor, 0.0);
        m0[i] = std::sqrt(left / (check.redundancy - 1));
    }
    return m0;
}

std::vector<SnoopedObservation> DataSnooping(const QualityCheck& check) {
    std::vector<SnoopedObservation> out;
    const double sigma0 = check.tolerance;
    if (!(sigma0 > 0)) return out;
    const LinearFigure f = LinearFigureOf(check);
    ObservationMask leftOut{};
    ReducedSolution now = AdjustWithout(f, leftOut, f.q);
    while (now.solved && now.redundancy >= 2) {
        int worst = -1;
        double worstW = 0;
        for (int o = 0; o <= kLastObservation; ++o) {
            if (leftOut[o] || !(f.q[o] > 0) || !(now.r[o] >= kSmallestCheckedRedundancy)) continue;
            const double w = now.v[o] / (sigma0 * std::sqrt(now.qvv[o]));
            if (std::fabs(w) > std::fabs(worstW)) {
                worstW = w;
                worst = o;
            }
        }
        if (worst < 0 || !(std::fabs(worstW) > kWTestCritical)) break;
        leftOut[worst] = true;
        now = AdjustWithout(f, leftOut, f.q);
        if (!now.solved || now.redundancy < 1) break;
        SnoopedObservation s;
        s.kind = worst == 0   ? ObservationKind::Orientation
                 : worst <= 8 ? ObservationKind::Angle
                              : ObservationKind::Side;
        s.index = worst <= 8 ? worst : worst - 8;
        s.w = worstW;
        s.m0After = std::sqrt(now.pvv / now.redundancy);
        out.push_back(s);
    }
    return out;
}

}  // namespace korvanet
