// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: m0 = sqrt(pvv / r), with pvv the weighted sum of the squared
// corrections (angles in arc seconds, weight 1; sides in millimetres, weight
// 1 / SideReciprocalWeight) and r = 9 independent conditions; a mean error of
// a quantity with reciprocal weight q is m0 sqrt(q), in millimetres for the
// sides and coordinates.

#include "adjust/precision.h"

#include <cmath>

#include "adjust/adjustment_model.h"

namespace korvanet {

float UnitWeightError(double sumVV, double sumPVV, double triangleW1, double triangleW2) {
    // The cross terms between the triangle spreading and the adjustment vanish:
    // the adjustment keeps each triangle's angle sum, so its corrections add
    // to zero over every triangle.
    const double pvv = ((sumVV + sumPVV) + (triangleW1 * triangleW1) / 4) + (triangleW2 * triangleW2) / 4;
    return ToSingle(std::sqrt(pvv / kRedundancy));
}

float MeanErrorFromReciprocalWeight(float m0, double reciprocalWeight) {
    return ToSingle(static_cast<double>(m0) * std::sqrt(reciprocalWeight));
}

float PointError(float mx, float my) {
    const double x = mx, y = my;
    return ToSingle(std::sqrt(x * x + y * y));
}

}  // namespace korvanet
