// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in reliability.h; observation columns 0 = orientation angle,
// 1..8 = angles, 9..14 = sides.

#include "adjust/reliability.h"

#include <cmath>

namespace korvanet {
namespace {}  // namespace

void AddReliability(std::vector<ObservationCheck>& observations, const QualityInputs& in,
                    const ConditionCofactors& cofactors, const CoordinateCofactors& c) {
    const double sigma0 = in.tolerance;
    for (ObservationCheck& o : observations) {
        // An observation no condition checks (r = 0, as Q1) can hide a bias of
        // any size: it has neither figure.
        if (!o.w) continue;
        const int column = ObservationColumn(o);
        const double q = in.q[column];
        const double mdb = kMdbNoncentrality * sigma0 * std::sqrt(q / o.redundancy);
        double largest = 0;
        for (int p = 1; p <= 3; ++p) {
            if (!c.determined[p]) continue;
            const double dx = mdb * cofactors.CofactorWithObservation(c.f[2 * p], c.gf[2 * p], column) / q;
            const double dy =
                mdb * cofactors.CofactorWithObservation(c.f[2 * p + 1], c.gf[2 * p + 1], column) / q;
            largest = std::fmax(largest, std::hypot(dx, dy));
        }
        o.mdb = mdb;
        o.external = largest;
    }
}

}  // namespace korvanet
