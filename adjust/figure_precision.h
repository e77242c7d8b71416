// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Does the figure meet its order class?  The figures a surveying standard
// judges a triangulation figure by, after the adjustment: the precision of
// each side (its mean error, relative mean error 1/N and the mean error of
// its azimuth), the weakest side, the relative error ellipses between the
// determined points, the four triangle closures with the angle mean error
// from them (Ferrero), and the smallest adjusted angle.
//
// Notation: sigma0 = the entered tolerance (arc seconds), m0 the
// a-posteriori mean error of unit weight; covariances a posteriori, m0^2 Q,
// as for the point ellipses.  Points 0 = A, 1 = B, 2 = C, 3 = D.  Sides
// 1 = A-B, 2 = B-D, 3 = B-C, 4 = A-C, 5 = C-D, 6 = A-D.  Lengths in metres,
// mean errors and ellipse axes in millimetres, azimuth mean errors and
// closures in arc seconds, angles in decimal degrees; azimuths from +x
// (north) towards +y (east).

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace korvanet {

struct SidePrecision {
    int index = 0;            // 1..6
    int from = 0, to = 0;     // its two points, 0 = A .. 3 = D
    double adjusted = 0;      // the adjusted length, metres
    double sigma = 0;         // its mean error, mm
    double relative = 0;      // sigma / length, the relative mean error (1/N)
    double azimuthSigma = 0;  // mean error of its adjusted azimuth, arc seconds
};

// The ellipse of the coordinate differences of two determined points.
struct RelativeEllipse {
    int from = 0, to = 0;  // 0 = A .. 3 = D
    double a = 0, b = 0;   // semi-axes, mm, a >= b
    double azimuth = 0;    // of the major axis, degrees from +x towards +y, [0, 180)
    double meanError = 0;  // point-to-point mean error sqrt(a^2 + b^2), mm
};

struct TriangleClosure {
    std::string_view name;  // "ABC", "ACD", "ABD", "BCD"
    double closure = 0;     // sum of the triangle's observed angles - 180 degrees, arc seconds
};

struct FigureSummary {
    std::vector<SidePrecision> sides;               // the observed sides: 1..5, and 6 when D is determined
    std::size_t weakest = 0;                        // index into `sides`: the largest relative mean error
    std::vector<RelativeEllipse> relativeEllipses;  // B-C; B-D and C-D when D is determined
    std::array<TriangleClosure, 4> triangles{};
    double ferrero = 0;               // m_beta = sqrt([WW] / 3n), n = 4, arc seconds
    std::array<double, 9> angles{};   // the adjusted angles 1..8, decimal degrees
    int smallestAngle = 0;            // 1..8
    double smallestAngleDegrees = 0;  // the smallest adjusted angle, decimal degrees
    double aprioriSideMeanError = 0;  // ms of the preparation, mm
    int shortestSide = 0;             // the shortest measured side, 1..6
    double shortestSideLength = 0;    // its observed length, metres

    const SidePrecision& Weakest() const { return sides[weakest]; }
};

}  // namespace korvanet
