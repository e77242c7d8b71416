// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in relative_precision.h; sigma = m0 sqrt(g Q g^T) for a
// function with gradient g in the coordinates; arc seconds per radian
// 180 * 3600 / pi (these figures are shown, not carried into the form).

#include "adjust/relative_precision.h"

#include <cmath>
#include <numbers>

#include "adjust/quadrilateral.h"
#include "adjust/quality_statistics.h"

namespace korvanet {
namespace {

constexpr double kSecondsPerRadian = 180 * 3600 / std::numbers::pi;

using Gradient = std::array<double, 8>;

double Quadratic(const CoordinateCofactors& c, const Gradient& g, const Gradient& h) {
    double s = 0;
    for (int k = 0; k < 8; ++k) {
        if (g[k] == 0) continue;
        for (int l = 0; l < 8; ++l) s += g[k] * c.Q[k][l] * h[l];
    }
    return s;
}

double SigmaOf(const CoordinateCofactors& c, const Gradient& g, double m0) {
    return m0 * std::sqrt(std::fmax(Quadratic(c, g, g), 0.0));
}

}  // namespace

CoordinateCofactors CoordinateCofactorsOf(const QualityInputs& in, const ConditionCofactors& cofactors) {
    CoordinateCofactors c;
    for (int r = 10; r <= 13; ++r) c.f[r - 8] = in.A[r];  // x, y of B (2, 3) and of C (4, 5)
    if (in.d == PointD::NotKnown) {
        c.determined[3] = true;
        c.f[6] = in.dFunctions[0];
        c.f[7] = in.dFunctions[1];
    }
    for (int k = 2; k < 8; ++k) {
        if (!c.determined[k / 2]) continue;
        c.gf[k] = cofactors.Reduced(c.f[k]);
    }
    // Q_kl = f_k Q f_l^T - (G f_k).(G f_l), over the observations in range.
    for (int k = 2; k < 8; ++k) {
        if (!c.determined[k / 2]) continue;
        for (int l = 2; l <= k; ++l) {
            if (!c.determined[l / 2]) continue;
            double q = 0;
            for (int o = in.range.first; o <= in.range.last; ++o) q += c.f[k][o] * in.q[o] * c.f[l][o];
            for (int i = 0; i < ConditionCofactors::kConditions; ++i) q -= c.gf[k][i] * c.gf[l][i];
            c.Q[k][l] = c.Q[l][k] = q;
        }
    }
    return c;
}

std::vector<SidePrecision> SidePrecisions(const std::vector<PointCheck>& points,
                                          const std::vector<double>& adjusted, const CoordinateCofactors& c,
                                          double m0, int lastSide) {
    std::vector<SidePrecision> sides;
    for (int n = 1; n <= lastSide; ++n) {
        const int p = quadrilateral::kSideEnds[n].from, q = quadrilateral::kSideEnds[n].to;
        const double dx = points[q].x - points[p].x, dy = points[q].y - points[p].y;
        const double s2 = dx * dx + dy * dy, s = std::sqrt(s2);
        // Gradients in the coordinates: mm of length, and arc seconds of
        // azimuth, per mm of each coordinate.
        Gradient length{}, azimuth{};
        const double secondsPerMm = kSecondsPerRadian / 1000;
        length[2 * q] = dx / s;
        length[2 * q + 1] = dy / s;
        length[2 * p] = -dx / s;
        length[2 * p + 1] = -dy / s;
        azimuth[2 * q] = -dy / s2 * secondsPerMm;
        azimuth[2 * q + 1] = dx / s2 * secondsPerMm;
        azimuth[2 * p] = dy / s2 * secondsPerMm;
        azimuth[2 * p + 1] = -dx / s2 * secondsPerMm;
        SidePrecision side;
        side.index = n;
        side.from = p;
        side.to = q;
        side.adjusted = adjusted[n];
        side.sigma = SigmaOf(c, length, m0);
        side.relative = side.sigma / (side.adjusted * 1000);
        side.azimuthSigma = SigmaOf(c, azimuth, m0);
        sides.push_back(side);
    }
    return sides;
}

std::size_t WeakestSide(const std::vector<SidePrecision>& sides) {
    std::size_t weakest = 0;
    for (std::size_t i = 1; i < sides.size(); ++i)
        if (sides[i].relative > sides[weakest].relative) weakest = i;
    return weakest;
}

std::vector<RelativeEllipse> RelativeEllipses(const CoordinateCofactors& c, double m0) {
    std::vector<RelativeEllipse> list;
    const std::array<std::array<int, 2>, 3> pairs = {{{1, 2}, {1, 3}, {2, 3}}};
    for (const auto& [p, q] : pairs) {
        if (!c.determined[p] || !c.determined[q]) continue;
        Gradient dx{}, dy{};
        dx[2 * q] = 1;
        dx[2 * p] = -1;
        dy[2 * q + 1] = 1;
        dy[2 * p + 1] = -1;
        const double m02 = m0 * m0;
        const ErrorEllipse e = EllipseFromCovariance(m02 * Quadratic(c, dx, dx), m02 * Quadratic(c, dy, dy),
                                                     m02 * Quadratic(c, dx, dy));
        list.push_back({p, q, e.a, e.b, e.azimuth, std::hypot(e.a, e.b)});
    }
    return list;
}

}  // namespace korvanet
