// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: z = (xA, yA, xB, yB, xC, yC, xD, yD) in metres, z = z0 + G p with p
// the unknowns; azimuths atan2(dy, dx) in true degrees, angle residuals in arc
// seconds, side residuals in millimetres.

#include "adjust/tests/rigorous_reference.h"

#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace korvanet::testing {
namespace {

using Gradient = std::array<double, 8>;
using Matrix = std::vector<std::vector<double>>;

constexpr int kA = 0, kB = 1, kC = 2, kD = 3;
constexpr double kSecondsPerRadian = 3600 * kTrueDegreesPerRadian;

struct Model {
    std::array<Point, 4> P;
    double Azimuth(int from, int to) const { return AzimuthDegrees(P[from], P[to]) * 3600; }
    // Gradient of the azimuth from->to in arc seconds per metre.
    Gradient AzimuthGradient(int from, int to) const {
        const double dx = P[to].x - P[from].x, dy = P[to].y - P[from].y, d2 = dx * dx + dy * dy;
        Gradient g{};
        g[2 * to] += -dy / d2 * kSecondsPerRadian;
        g[2 * to + 1] += dx / d2 * kSecondsPerRadian;
        g[2 * from] += dy / d2 * kSecondsPerRadian;
        g[2 * from + 1] += -dx / d2 * kSecondsPerRadian;
        return g;
    }
};

struct Row {
    ReferenceKind kind;
    int index;
    double residual;  // model - observed
    Gradient gradient;
    double weight;
};

double WrapSeconds(double s) {
    while (s > 648000) s -= 1296000;
    while (s <= -648000) s += 1296000;
    return s;
}

Matrix Inverse(Matrix m) {
    const std::size_t n = m.size();
    Matrix inv(n, std::vector<double>(n, 0));
    for (std::size_t i = 0; i < n; ++i) inv[i][i] = 1;
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) pivot = r;
        if (m[pivot][c] == 0) throw std::runtime_error("singular reference system");
        std::swap(m[c], m[pivot]);
        std::swap(inv[c], inv[pivot]);
        const double d = m[c][c];
        for (std::size_t j = 0; j < n; ++j) {
            m[c][j] /= d;
            inv[c][j] /= d;
        }
        for (std::size_t r = 0; r < n; ++r) {
            if (r == c || m[r][c] == 0) continue;
            const double f = m[r][c];
            for (std::size_t j = 0; j < n; ++j) {
                m[r][j] -= f * m[c][j];
                inv[r][j] -= f * inv[c][j];
            }
        }
    }
    return inv;
}

}  // namespace

ReferenceSolution RigorousAdjustment(const Point& a, const std::optional<Point>& knownD,
                                     const FigureObservations& obs, double sideQ, double q0,
                                     const TrueFigure& start, const ReferenceChoices& choices) {
    // The parameterisation z = z0 + G p.
    const bool fixedOrientation = !knownD && q0 == 0;
    const double orientedAz = (obs.startAzimuth + obs.orientationAngle) / kTrueDegreesPerRadian;
    std::array<double, 8> z0{a.x, a.y, 0, 0, 0, 0, 0, 0};
    Matrix G(8, std::vector<double>());
    std::vector<double> p;
    if (knownD) {
        z0[6] = knownD->x;
        z0[7] = knownD->y;
        p = {start.B.x, start.B.y, start.C.x, start.C.y};
        for (auto& row : G) row.assign(4, 0);
        for (int i = 0; i < 4; ++i) G[2 + i][i] = 1;
    } else if (fixedOrientation) {
        // B = A + d (cos, sin) of the fixed azimuth A->B.
        z0[2] = a.x;
        z0[3] = a.y;
        p = {Distance(a, start.B), start.C.x, start.C.y, start.D.x, start.D.y};
        for (auto& row : G) row.assign(5, 0);
        G[2][0] = std::cos(orientedAz);
        G[3][0] = std::sin(orientedAz);
        for (int i = 0; i < 4; ++i) G[4 + i][1 + i] = 1;
    } else {
        p = {start.B.x, start.B.y, start.C.x, start.C.y, start.D.x, start.D.y};
        for (auto& row : G) row.assign(6, 0);
        for (int i = 0; i < 6; ++i) G[2 + i][i] = 1;
    }
    const std::size_t n = p.size();

    auto coordinates = [&]() {
        Model m;
        std::array<double, 8> z = z0;
        for (int i = 0; i < 8; ++i)
            for (std::size_t j = 0; j < n; ++j) z[i] += G[i][j] * p[j];
        for (int i = 0; i < 4; ++i) m.P[i] = {z[2 * i], z[2 * i + 1]};
        return m;
    };

    auto kept = [&](ReferenceKind kind, int index) {
        for (const auto& [k, i] : choices.leftOut)
            if (k == kind && i == index) return false;
        return true;
    };
    auto rows = [&](const Model& m) {
        std::vector<Row> r;
        // Angle i turns from side `from` to side `to` at point `at`.
        const int at[9] = {0, kA, kB, kB, kC, kC, kD, kD, kA};
        const int from[9] = {0, kB, kD, kC, kA, kD, kB, kA, kC};
        const int to[9] = {0, kC, kA, kD, kB, kA, kC, kB, kD};
        for (int i = 1; i <= 8; ++i) {
            const double model = m.Azimuth(at[i], to[i]) - m.Azimuth(at[i], from[i]);
            Gradient g = m.AzimuthGradient(at[i], to[i]);
            const Gradient h = m.AzimuthGradient(at[i], from[i]);
            for (int k = 0; k < 8; ++k) g[k] -= h[k];
            if (kept(ReferenceKind::Angle, i))
                r.push_back({ReferenceKind::Angle, i, WrapSeconds(model - obs.angle[i] * 3600), g,
                             1 / choices.angleFactor});
        }
        const int sideFrom[7] = {0, kA, kB, kB, kA, kC, kA};
        const int sideTo[7] = {0, kB, kD, kC, kC, kD, kD};
        const int lastSide = knownD ? 5 : 6;
        for (int i = 1; i <= lastSide; ++i) {
            const Point& P = m.P[sideFrom[i]];
            const Point& Q = m.P[sideTo[i]];
            const double d = Distance(P, Q);
            Gradient g{};
            g[2 * sideTo[i]] = (Q.x - P.x) / d * 1000;
            g[2 * sideTo[i] + 1] = (Q.y - P.y) / d * 1000;
            g[2 * sideFrom[i]] = -(Q.x - P.x) / d * 1000;
            g[2 * sideFrom[i] + 1] = -(Q.y - P.y) / d * 1000;
            if (kept(ReferenceKind::Side, i))
                r.push_back(
                    {ReferenceKind::Side, i, (d - obs.side[i]) * 1000, g, 1 / (sideQ * choices.sideFactor)});
        }
        if (!knownD && !fixedOrientation && kept(ReferenceKind::Orientation, 0)) {
            const double model = m.Azimuth(kA, kB);
            r.push_back({ReferenceKind::Orientation, 0,
                         WrapSeconds(model - (obs.startAzimuth + obs.orientationAngle) * 3600),
                         m.AzimuthGradient(kA, kB), 1 / (q0 * choices.angleFactor)});
        }
        return r;
    };

    ReferenceSolution result;
    Matrix Qp;
    for (int iteration = 1; iteration <= 50; ++iteration) {
        const std::vector<Row> r = rows(coordinates());
        Matrix M(n, std::vector<double>(n, 0));
        std::vector<double> b(n, 0);
        for (const Row& row : r) {
            std::vector<double> j(n, 0);  // d(observation)/dp = gradient G
            for (std::size_t c = 0; c < n; ++c)
                for (int k = 0; k < 8; ++k) j[c] += row.gradient[k] * G[k][c];
            for (std::size_t u = 0; u < n; ++u) {
                b[u] += j[u] * row.weight * row.residual;
                for (std::size_t v = 0; v < n; ++v) M[u][v] += j[u] * row.weight * j[v];
            }
        }
        Qp = Inverse(M);
        double largest = 0;
        for (std::size_t u = 0; u < n; ++u) {
            double dp = 0;
            for (std::size_t v = 0; v < n; ++v) dp -= Qp[u][v] * b[v];
            p[u] += dp;
            largest = std::max(largest, std::fabs(dp));
        }
        result.iterations = iteration;
        if (largest < 1e-8) break;  // 0.00001 mm: far below what is compared
    }
    const Model m = coordinates();
    const std::vector<Row> r = rows(m);
    double pvv = 0;
    for (const Row& row : r) pvv += row.weight * row.residual * row.residual;
    result.redundancy = static_cast<int>(r.size()) - static_cast<int>(n);
    result.sigma0 = std::sqrt(pvv / result.redundancy);
    result.B = m.P[kB];
    result.C = m.P[kC];
    result.D = m.P[kD];
    // Cofactors of the coordinates: G Qp G^T, from m^2 to mm^2.
    auto cofactor = [&](int k, int l) {
        double q = 0;
        for (std::size_t u = 0; u < n; ++u)
            for (std::size_t v = 0; v < n; ++v) q += G[k][u] * Qp[u][v] * G[l][v];
        return q * 1e6;
    };
    result.QxB = cofactor(2, 2);
    result.QyB = cofactor(3, 3);
    result.QxyB = cofactor(2, 3);
    result.QxC = cofactor(4, 4);
    result.QyC = cofactor(5, 5);
    result.QxyC = cofactor(4, 5);
    for (int k = 0; k < 8; ++k)
        for (int l = 0; l < 8; ++l) result.Qz[k][l] = cofactor(k, l);
    result.QxD = cofactor(6, 6);
    result.QyD = cofactor(7, 7);
    result.QxyD = cofactor(6, 7);
    // Cofactors of the residuals: Q_vv = Q_ll - J Qp J^T, with J = gradient G
    // per metre of the unknowns.
    for (const Row& row : r) {
        std::vector<double> j(n, 0);
        for (std::size_t c = 0; c < n; ++c)
            for (int k = 0; k < 8; ++k) j[c] += row.gradient[k] * G[k][c];
        double jqj = 0;
        for (std::size_t u = 0; u < n; ++u)
            for (std::size_t v = 0; v < n; ++v) jqj += j[u] * Qp[u][v] * j[v];
        const double qvv = 1 / row.weight - jqj;
        // A bias b in the observation changes the normal equations' right-hand
        // side by j w b: the unknowns move by Qp j w b, the coordinates by G of that.
        std::array<double, 8> shift{};
        for (int k = 0; k < 8; ++k)
            for (std::size_t u = 0; u < n; ++u) {
                double dp = 0;
                for (std::size_t v = 0; v < n; ++v) dp += Qp[u][v] * j[v] * row.weight;
                shift[k] += G[k][u] * dp * 1000;
            }
        result.observations.push_back(
            {row.kind, row.index, row.residual, qvv, qvv * row.weight, shift, row.weight});
    }
    return result;
}

std::optional<ReferenceVariance> ReferenceVarianceComponents(const Point& a,
                                                             const std::optional<Point>& knownD,
                                                             const FigureObservations& obs, double sideQ,
                                                             double q0, const TrueFigure& start,
                                                             double sigma0) {
    ReferenceChoices choices;
    for (int step = 0; step < 2000; ++step) {
        const ReferenceSolution s = RigorousAdjustment(a, knownD, obs, sideQ, q0, start, choices);
        double sum[2] = {0, 0}, share[2] = {0, 0};
        for (const ReferenceObservation& o : s.observations) {
            const bool side = o.kind == ReferenceKind::Side;
            sum[side] += o.weight * o.residual * o.residual / (sigma0 * sigma0);
            share[side] += o.redundancy;
        }
        ReferenceVariance v{choices.angleFactor * sum[0] / share[0], choices.sideFactor * sum[1] / share[1],
                            share[0], share[1]};
        const bool converged = std::fabs(v.angleFactor - choices.angleFactor) < 1e-6 * v.angleFactor &&
                               std::fabs(v.sideFactor - choices.sideFactor) < 1e-6 * v.sideFactor;
        choices.angleFactor = v.angleFactor;
        choices.sideFactor = v.sideFactor;
        if (converged) return v;
    }
    return std::nullopt;
}

}  // namespace korvanet::testing
