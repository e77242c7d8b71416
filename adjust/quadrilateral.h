// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The braced quadrilateral itself: which point each letter names, which two
// points each side joins, where each angle lies and between which rays, and
// which angles each of the four triangles closes.  The engine, the design,
// the drawing, the report and the JSON all read the figure from here.
//
// Notation: points 0..3 are A, B, C, D, numbered clockwise from A; the
// diagonals are A-C and B-D.  Sides 1..6 and angles 1..8 are counted as the
// form counts them (index 0 is unused for sides; observation 0 is the
// orientation angle Q1, which lies at A between the exterior direction and
// A-B, so it has no rays here).  An angle turns clockwise at its point from
// the ray to `from` to the ray to `to`.

#include <array>
#include <string_view>

namespace korvanet::quadrilateral {

inline constexpr std::array<const char*, 4> kPointLetters = {"A", "B", "C", "D"};

struct SideEnds {
    int from, to;
};

// 1 A-B, 2 B-D, 3 B-C, 4 A-C, 5 C-D, 6 A-D.
inline constexpr std::array<SideEnds, 7> kSideEnds = {
    {{0, 0}, {0, 1}, {1, 3}, {1, 2}, {0, 2}, {2, 3}, {0, 3}}};

struct AngleRays {
    int at, from, to;
};

// 1 at A from B to C, 2 at B from D to A, 3 at B from C to D, 4 at C from A
// to B, 5 at C from D to A, 6 at D from B to C, 7 at D from A to B, 8 at A
// from C to D.
inline constexpr std::array<AngleRays, 9> kAngleRays = {
    {{0, 0, 0}, {0, 1, 2}, {1, 3, 0}, {1, 2, 3}, {2, 0, 1}, {2, 3, 0}, {3, 1, 2}, {3, 0, 1}, {0, 2, 3}}};

// Each triangle sums four observed angles: at one corner of ABC (at B, 2+3),
// ACD (at D, 6+7), ABD (at A, 1+8) and BCD (at C, 4+5) two angles of the
// figure make the triangle's one angle.
struct Triangle {
    std::string_view name;
    std::array<int, 4> angles;
};

inline constexpr std::array<Triangle, 4> kTriangles = {
    {{"ABC", {1, 2, 3, 4}}, {"ACD", {5, 6, 7, 8}}, {"ABD", {1, 2, 7, 8}}, {"BCD", {3, 4, 5, 6}}}};

}  // namespace korvanet::quadrilateral
