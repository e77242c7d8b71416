// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in triangle_closures.h.

#include "adjust/triangle_closures.h"

#include <cmath>

#include "adjust/quadrilateral.h"

namespace korvanet {

std::array<TriangleClosure, 4> TriangleClosures(const std::array<double, 9>& angle) {
    std::array<TriangleClosure, 4> closures{};
    for (std::size_t t = 0; t < quadrilateral::kTriangles.size(); ++t) {
        const quadrilateral::Triangle& triangle = quadrilateral::kTriangles[t];
        double sum = 0;
        for (int i : triangle.angles) sum += angle[i];
        closures[t] = {triangle.name, (sum - 180) * 3600};
    }
    return closures;
}

// Ferrero: m_beta = sqrt([WW] / 3n).  Three, not four, although each
// triangle above sums four observed angles: at the corner a diagonal splits,
// the two angles together are one angle between the two directions of the
// triangle's sides (the figure is observed by directions), so every closure
// closes three angles of mean error m_beta and m_W^2 = 3 m_beta^2.
double FerreroAngleMeanError(const std::array<TriangleClosure, 4>& triangles) {
    double ww = 0;
    for (const TriangleClosure& t : triangles) ww += t.closure * t.closure;
    const double n = static_cast<double>(triangles.size());
    return std::sqrt(ww / (3 * n));
}

int SmallestAngle(const std::vector<double>& angle) {
    int smallest = 1;
    for (int i = 2; i <= 8; ++i)
        if (angle[i] < angle[smallest]) smallest = i;
    return smallest;
}

}  // namespace korvanet
