// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: dx, dy = D - A in metres, x north and y east; azimuths in decimal
// degrees from +x towards +y; RHO_DEG converts degrees to radians; Tolerance
// in arc seconds; ms in millimetres; RHO_SEC arc seconds per radian.

#include "adjust/preparation.h"

#include <cmath>

#include "core/korvanet_error.h"
#include "core/packed_angle.h"

namespace korvanet {

double DistanceFromDifferences(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

double AzimuthFromDifferences(double dx, double dy, double distance) {
    // The axis directions come out whole, without the arctangent.
    if (dx == 0) return dy > 0 ? 90 : 270;
    if (dy == 0) return dx > 0 ? 0 : 180;
    const double s = dy / distance;
    const double cosineSquared = 1 - s * s;
    // dx too small to show in the distance: the line runs east or west.
    if (cosineSquared <= 0) return dy > 0 ? 90 : 270;
    const double c = std::sqrt(cosineSquared);
    double alpha = std::atan(s / c) / RHO_DEG;   // -90 .. 90, the east-west component's side
    if (dx < 0) alpha = 180 - alpha;             // southern half
    if (dx >= 0 && dy < 0) alpha = alpha + 360;  // north-west quarter
    return alpha;
}

SideWeights AprioriSideWeights(const std::vector<double>& side, float tolerance) {
    if (tolerance == 0) {
        throw AdjustmentError(
            "规范测角限差为零: 边长的权由测角限差定出, 不能除以零。请输入大于零的测角限差后重新计算。");
    }
    SideWeights weights;
    double sum = 0;
    for (int i = 1; i <= 6; ++i) sum = sum + side[i];
    weights.MeanSide = sum / 6;
    // The tolerance turned into a length at the mean side (seconds to radians
    // by RHO_SEC, metres to millimetres by 1000), divided by 1.414 as the
    // tradition of this computation has it rather than by the root of 2.
    const double tol = tolerance;
    weights.SideMeanError = ToSingle(((tol * weights.MeanSide) * 1000) / RHO_SEC / 1.414);
    const double ms = weights.SideMeanError;
    weights.SideReciprocalWeight = (ms * ms) / (tol * tol);
    return weights;
}

void SetReciprocalWeights(ReciprocalWeightList& q, double sideReciprocalWeight) {
    // The angles carry unit weight: the tolerance plays the mean error of unit weight.
    for (int i = 1; i <= 8; ++i) q[i] = 1.0f;
    for (int i = 9; i <= 14; ++i) q[i] = ToSingle(sideReciprocalWeight);
}

}  // namespace korvanet
