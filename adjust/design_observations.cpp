// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in design_observations.h; az(P, Q) the azimuth P->Q in true
// degrees, [0, 360); turn(from, to) = az(to) - az(from), reduced into
// [0, 360): the clockwise turn from one side to the next.

#include "adjust/design_observations.h"

#include <cmath>
#include <numbers>

#include "adjust/quadrilateral.h"

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

// The angle as it lies in the figure, from the points' positions.
double AngleOf(const std::array<DesignPoint, 4>& p, int i) {
    const quadrilateral::AngleRays& r = quadrilateral::kAngleRays[i];
    return Turn(p[r.at], p[r.from], p[r.to]);
}

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
        const int at = quadrilateral::kAngleRays[i].at;
        if (AngleOf(design.points, i) < kSmallestDesignAngle) {
            return DesignProblem{"第 " + std::to_string(i) + " 个角 (在 " + quadrilateral::kPointLetters[at] +
                                     " 点) 小于 1°: 这样的图形无法观测, 也无法平差",
                                 at};
        }
    }
    return std::nullopt;
}

DesignObservations ObservationsOf(const Design& design) {
    const auto& p = design.points;
    DesignObservations o;
    for (int i = 1; i <= 8; ++i) o.angle[i] = AngleOf(p, i);
    for (int n = 1; n <= 6; ++n) {
        const DesignPoint &from = p[quadrilateral::kSideEnds[n].from],
                          &to = p[quadrilateral::kSideEnds[n].to];
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
