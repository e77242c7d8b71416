// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in design_observations.h; az(P, Q) the azimuth P->Q in true
// degrees, [0, 360); turn(from, to) = az(to) - az(from), reduced into
// [0, 360): the clockwise turn from one side to the next.

#include "adjust/design_observations.h"

#include <cmath>
#include <numbers>

namespace korvanet {
namespace {

constexpr double kTrueDegreesPerRadian = 180 / std::numbers::pi;
constexpr double kSmallestDesignAngle = 1;  // degrees

double Azimuth(const DesignPoint& p, const DesignPoint& q) {
    double az = std::atan2(q.y - p.y, q.x - p.x) * kTrueDegreesPerRadian;
    if (az < 0) az += 360;
    return az;
}

double Reduced(double degrees) {
    if (degrees < 0) degrees += 360;
    if (degrees >= 360) degrees -= 360;
    return degrees;
}

// The clockwise turn at `at` from the side to `from` to the side to `to`.
double Turn(const DesignPoint& at, const DesignPoint& from, const DesignPoint& to) {
    return Reduced(Azimuth(at, to) - Azimuth(at, from));
}

// Twice the signed area of P, Q, R: which side of P-Q the point R lies on.
double Side(const DesignPoint& p, const DesignPoint& q, const DesignPoint& r) {
    return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
}

// Angle i at point kAt[i], from the side to kFrom[i] to the side to kTo[i].
constexpr std::array<int, 9> kAt = {0, 0, 1, 1, 2, 2, 3, 3, 0};
constexpr std::array<int, 9> kFrom = {0, 1, 3, 2, 0, 3, 1, 0, 2};
constexpr std::array<int, 9> kTo = {0, 2, 0, 3, 1, 0, 2, 1, 3};
constexpr std::array<std::array<int, 2>, 7> kSideEnds = {
    {{0, 0}, {0, 1}, {1, 3}, {1, 2}, {0, 2}, {2, 3}, {0, 3}}};
constexpr const char* kLetters[4] = {"A", "B", "C", "D"};

}  // namespace

std::optional<DesignProblem> CheckDesignFigure(const Design& design) {
    const auto& [a, b, c, d] = design.points;
    // The diagonals cross when B and D lie on either side of A-C and A and C
    // on either side of B-D; points that coincide or lie in one line fail too.
    if (!(Side(a, c, b) * Side(a, c, d) < 0 && Side(b, d, a) * Side(b, d, c) < 0)) {
        return DesignProblem{
            "四个点不构成大地四边形: 对角线 A-C 与 B-D 不相交 (A, B, C, D 要依次绕图形排列, "
            "A-C 和 B-D 是两条对角线)",
            std::nullopt};
    }
    // The program numbers the angles turning clockwise: seen from A, the
    // directions to B, C and D follow one another clockwise.
    if (Turn(a, b, c) > 180) {
        return DesignProblem{
            "A, B, C, D 是逆时针排列的: 本程序的编号要求从 A 起顺时针依次为 B, C, D "
            "(可以把 B 与 D 对调)",
            std::nullopt};
    }
    for (int i = 1; i <= 8; ++i) {
        const auto& p = design.points;
        const double angle = Turn(p[kAt[i]], p[kFrom[i]], p[kTo[i]]);
        if (angle < kSmallestDesignAngle) {
            return DesignProblem{"第 " + std::to_string(i) + " 个角 (在 " + kLetters[kAt[i]] +
                                     " 点) 小于 1°: 这样的图形无法观测, 也无法平差",
                                 kAt[i]};
        }
    }
    return std::nullopt;
}

DesignObservations ObservationsOf(const Design& design) {
    const auto& p = design.points;
    DesignObservations o;
    for (int i = 1; i <= 8; ++i) o.angle[i] = Turn(p[kAt[i]], p[kFrom[i]], p[kTo[i]]);
    for (int n = 1; n <= 6; ++n) {
        const DesignPoint &from = p[kSideEnds[n][0]], &to = p[kSideEnds[n][1]];
        o.side[n] = std::hypot(to.x - from.x, to.y - from.y);
    }
    if (!design.dKnown) {
        // An exterior direction that Q1 turns into A-B, as the surveyor will
        // observe it at A.
        o.orientationAngle = kDesignOrientationAngle;
        o.startAzimuth = Reduced(Azimuth(p[0], p[1]) - kDesignOrientationAngle);
    } else {
        o.side[6] = 0;  // derived from the coordinates of A and D, not observed
    }
    return o;
}

}  // namespace korvanet
