// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in triangle_closures.h.

#include "adjust/triangle_closures.h"

#include <cmath>

namespace korvanet {

std::array<TriangleClosure, 4> TriangleClosures(const std::array<double, 9>& angle) {
    // The angles of each triangle at its corners: ABD has 1+8 at A, 2 at B
    // and 7 at D; BCD has 3 at B, 4+5 at C and 6 at D.
    struct Triangle {
        std::string_view name;
        std::array<int, 4> angles;
    };
    static constexpr std::array<Triangle, 4> kTriangles = {
        {{"ABC", {1, 2, 3, 4}}, {"ACD", {5, 6, 7, 8}}, {"ABD", {1, 2, 7, 8}}, {"BCD", {3, 4, 5, 6}}}};
    std::array<TriangleClosure, 4> closures{};
    for (std::size_t t = 0; t < kTriangles.size(); ++t) {
        double sum = 0;
        for (int i : kTriangles[t].angles) sum += angle[i];
        closures[t] = {kTriangles[t].name, (sum - 180) * 3600};
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
