// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: dXD = xD - xA, dYD = yD - yA, dXBD = xD - xB, dYBD = yD - yB,
// dXCD = xD - xC, dYCD = yD - yC from the approximate coordinates, metres;
// RHO_MM = 1000 / RHO_SEC mm per metre per arc second.
//
// Derived as those of B and C: turning the orientation Q1 by one second turns
// the whole traverse about A, so x of D moves by -dYD and y by dXD (times
// RHO_MM).  Angles 2 and 3 turn the traverse about B (x of D by +dYBD), angles 4
// and 5 about C (x of D by +dYCD).  The angles enter after the equal spreading
// of their triangle's misclosure: the rule of the triangle share, as in the
// other weight functions (each triangle's entries sum to zero).  A side
// correction moves D along the side's azimuth.

#include "adjust/quality_weight_functions.h"

#include <cmath>

#include "core/packed_angle.h"

namespace korvanet {
namespace {

// n(j) RHO_MM - t for the four angles of a triangle, t their mean.
void ShareTriangle(ObservationRow& row, int first, const std::array<double, 4>& n) {
    double sum = 0;
    for (double value : n) sum += value;
    const double t = sum * RHO_MM / 4;
    for (int i = 0; i < 4; ++i) row[first + i] = n[i] * RHO_MM - t;
}

}  // namespace

std::array<ObservationRow, 2> DWeightFunctions(const SurveyState& state, const SideAzimuths& az, float q0) {
    const std::vector<double>& X = state.X;
    const std::vector<double>& Y = state.Y;
    const double dXD = X[3] - X[0], dYD = Y[3] - Y[0];
    const double dXBD = X[3] - X[1], dYBD = Y[3] - Y[1];
    const double dXCD = X[3] - X[2], dYCD = Y[3] - Y[2];
    const double q = q0;

    ObservationRow x{}, y{};
    x[0] = (-dYD * q) * RHO_MM;
    y[0] = (dXD * q) * RHO_MM;
    ShareTriangle(x, 1, {0, dYBD, dYBD, dYCD});
    ShareTriangle(x, 5, {dYCD, 0, 0, 0});
    ShareTriangle(y, 1, {0, -dXBD, -dXBD, -dXCD});
    ShareTriangle(y, 5, {-dXCD, 0, 0, 0});
    for (int i = 1; i <= 3; ++i) {
        const int side = 8 + (2 * i - 1);  // columns 9, 11, 13: sides 1, 3, 5
        x[side] = std::cos(az[i] * RHO_DEG);
        y[side] = std::sin(az[i] * RHO_DEG);
    }
    return {x, y};
}

}  // namespace korvanet
