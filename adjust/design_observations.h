// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A design (精度估算): a figure placed on the map before it is observed.  The
// planned angle mean error, the approximate coordinates of A, B, C, D, whether
// D is a second known point, and the four names.  From them the observations
// such a figure would give without any error: the eight angles and the sides,
// and, when D is to be determined, the exterior azimuth T0 and the
// orientation angle Q1 that together give the azimuth of A-B as drawn.  The
// precision of an adjustment depends on the shape and the weights only, so
// these observations, adjusted, give the precision the figure will have.
//
// Notation: points 0 = A, 1 = B, 2 = C, 3 = D; x north, y east, metres;
// azimuths from +x towards +y; angles and azimuths in decimal degrees (true
// degrees, as an instrument measures them).  Angle 1 at A from A-B to A-C,
// 2 at B from B-D to B-A, 3 at B from B-C to B-D, 4 at C from C-A to C-B,
// 5 at C from C-D to C-A, 6 at D from D-B to D-C, 7 at D from D-A to D-B,
// 8 at A from A-C to A-D, each the clockwise turn from the first side to the
// second.  Sides 1 = A-B, 2 = B-D, 3 = B-C, 4 = A-C, 5 = C-D, 6 = A-D.

#include <array>
#include <optional>
#include <string>

namespace korvanet {

struct DesignPoint {
    std::string name;
    double x = 0, y = 0;  // approximate coordinates, metres
};

struct Design {
    double tolerance = 0;               // the planned angle mean error sigma0, arc seconds, as typed in a job
    std::array<DesignPoint, 4> points;  // A, B, C, D
    bool dKnown = true;                 // D a second known point; else determined
};

struct DesignObservations {
    std::array<double, 9> angle{};  // 1..8, decimal degrees
    std::array<double, 7> side{};   // 1..6, metres (6 observed only when D is determined)
    double startAzimuth = 0;        // T0, decimal degrees, [0, 360): only when D is determined
    double orientationAngle = 0;    // Q1, decimal degrees, non-zero: T0 + Q1 = azimuth A-B
};

// The orientation angle a design gives Q1: a measured angle, so that it is
// weighted as the one that will be observed; its size changes no precision.
inline constexpr double kDesignOrientationAngle = 30;

// Why a figure cannot be a braced quadrilateral of the program's numbering,
// and the point it concerns (0 = A .. 3 = D; none for the figure as a whole).
struct DesignProblem {
    std::string message;  // Chinese, for the surveyor
    std::optional<int> point;
};

// Nothing when the design is a braced quadrilateral: the diagonals A-C and
// B-D cross, A, B, C, D follow one another clockwise, and every one of the
// eight angles is at least 1 degree.
std::optional<DesignProblem> CheckDesignFigure(const Design& design);

// The error-free observations of a figure that passes CheckDesignFigure.
DesignObservations ObservationsOf(const Design& design);

}  // namespace korvanet
