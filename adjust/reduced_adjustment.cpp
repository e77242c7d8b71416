// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in reduced_adjustment.h; M = C Q C^T with its Cholesky factor
// L L^T, G = L^-1 C Q and z = L^-1 w, so that v = -G^T z and (Q_vv)_oo is
// the sum of the squares of column o of G.

#include "adjust/reduced_adjustment.h"

#include <cmath>
#include <vector>

#include "adjust/quality_cofactors.h"

namespace korvanet {

LinearFigure LinearFigureOf(const QualityCheck& check) {
    LinearFigure f;
    f.B = IndependentConditions(check.solved.A);
    for (int o = check.solved.range.first; o <= check.solved.range.last; ++o) f.q[o] = check.solved.q[o];
    for (const ObservationCheck& o : check.observations) f.v[ObservationColumn(o)] = o.residual;
    for (int i = 0; i < 9; ++i) {
        double s = 0;
        for (int o = 0; o <= kLastObservation; ++o) s += f.B[i][o] * f.v[o];
        f.w[i] = -s;
    }
    return f;
}

ReducedSolution AdjustWithout(const LinearFigure& f, const ObservationMask& leftOut,
                              const ObservationRow& q) {
    struct Condition {
        ObservationRow b;
        double w;
    };
    std::vector<Condition> rows;
    for (int i = 0; i < 9; ++i) rows.push_back({f.B[i], f.w[i]});
    ObservationRow weight{};
    for (int o = 0; o <= kLastObservation; ++o) weight[o] = leftOut[o] ? 0 : q[o];

    for (int c = 0; c <= kLastObservation; ++c) {
        if (!leftOut[c]) continue;
        // The pivot: the condition in which the observation weighs most
        // against the condition's own size (the rows mix seconds and metres).
        std::size_t pivot = rows.size();
        double best = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            double norm = 0;
            for (double b : rows[i].b) norm = std::fmax(norm, std::fabs(b));
            const double share = norm > 0 ? std::fabs(rows[i].b[c]) / norm : 0;
            if (share > best) {
                best = share;
                pivot = i;
            }
        }
        if (pivot == rows.size() || best < 1e-12) continue;  // in no condition: nothing to drop
        const Condition p = rows[pivot];
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(pivot));
        for (Condition& row : rows) {
            const double factor = row.b[c] / p.b[c];
            if (factor == 0) continue;
            for (int o = 0; o <= kLastObservation; ++o) row.b[o] -= factor * p.b[o];
            row.b[c] = 0;
            row.w -= factor * p.w;
        }
    }

    ReducedSolution s;
    const std::size_t m = rows.size();
    s.redundancy = static_cast<int>(m);
    // G = C Q, then L and the forward substitution as in quality_cofactors.cpp.
    std::vector<ObservationRow> G(m);
    for (std::size_t i = 0; i < m; ++i)
        for (int o = 0; o <= kLastObservation; ++o) G[i][o] = rows[i].b[o] * weight[o];
    std::vector<std::vector<double>> L(m, std::vector<double>(m, 0));
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t j = 0; j <= i; ++j) {
            double sum = 0;
            for (int o = 0; o <= kLastObservation; ++o) sum += G[i][o] * rows[j].b[o];
            L[i][j] = sum;
        }
    for (std::size_t j = 0; j < m; ++j) {
        const double scale = L[j][j];
        double d = L[j][j];
        for (std::size_t k = 0; k < j; ++k) d -= L[j][k] * L[j][k];
        // A pivot that has lost all but rounding of its size: the conditions
        // left are dependent on the observations kept.
        if (!(d > 1e-12 * scale) || !std::isfinite(d)) return s;
        L[j][j] = std::sqrt(d);
        for (std::size_t i = j + 1; i < m; ++i) {
            double sum = L[i][j];
            for (std::size_t k = 0; k < j; ++k) sum -= L[i][k] * L[j][k];
            L[i][j] = sum / L[j][j];
        }
    }
    std::vector<double> z(m, 0);
    for (std::size_t i = 0; i < m; ++i) {
        double zi = rows[i].w;
        for (std::size_t k = 0; k < i; ++k) {
            zi -= L[i][k] * z[k];
            for (int o = 0; o <= kLastObservation; ++o) G[i][o] -= L[i][k] * G[k][o];
        }
        z[i] = zi / L[i][i];
        for (int o = 0; o <= kLastObservation; ++o) G[i][o] /= L[i][i];
    }
    for (int o = 0; o <= kLastObservation; ++o) {
        if (!(weight[o] > 0)) continue;
        double v = 0, qvv = 0;
        for (std::size_t i = 0; i < m; ++i) {
            v -= G[i][o] * z[i];
            qvv += G[i][o] * G[i][o];
        }
        s.v[o] = v;
        s.qvv[o] = qvv;
        s.r[o] = qvv / weight[o];
        s.pvv += v * v / weight[o];
    }
    s.solved = true;
    return s;
}

}  // namespace korvanet
