// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/packed_angle.h"

#include <cmath>

namespace korvanet {

double PackedToDegrees(double p) {
    const double d = std::trunc(p);
    const double m1 = std::trunc(100 * p);
    return (d + (m1 - 100 * d) / 60) + (10000 * p - 100 * m1) / 3600;
}

double SignedPackedToDegrees(double p) {
    const double sign = p > 0 ? 1.0 : (p < 0 ? -1.0 : 0.0);
    return sign * PackedToDegrees(std::fabs(p));
}

double DegreesToPacked(double a) {
    const double d = std::trunc(a);
    const double m = (a - d) * 60;
    const double s = (m - std::trunc(m)) * 6 / 1000;
    return (d + std::trunc(m) / 100) + s;
}

}  // namespace korvanet
