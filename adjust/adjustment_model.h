// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shapes that the steps of the adjustment hand to one another.
//
// Observation numbering (columns of A, entries of q and of the corrections v):
//   0      the orientation angle Q1 (takes part only when D is not a known point),
//          correction in arc seconds
//   1..8   the angles B(1)..B(8), corrections in arc seconds
//   9..14  the sides S(1)..S(6), corrections in millimetres
// Rows of A: 1..9 the condition equations (row r belongs to w(r)); 10..13 the
// weight functions of x of B, y of B, x of C and y of C.  Row 0 of A and row
// and column 0 of the normal matrices are never used, so that every index
// reads as in the formulas.  Column 10 of a normal matrix carries, in rows
// 1..9, the right-hand column of the system being reduced.

#include <array>
#include <cmath>

#include "core/number_text.h"

namespace korvanet {

inline constexpr int kLastObservation = 14;
inline constexpr int kLastRow = 13;
inline constexpr int kLastCondition = 9;
inline constexpr int kRightHandColumn = 10;

using ConditionMatrix = std::array<std::array<double, kLastObservation + 1>, kLastRow + 1>;
using NormalMatrix = std::array<std::array<double, kLastRow + 1>, kLastRow + 1>;
using ReciprocalWeightList = std::array<float, kLastObservation + 1>;
using ConditionVector = std::array<double, kLastCondition + 1>;  // 1..9

// The two cases of the figure: a second known point D, or a D to be
// determined with the figure oriented by T0 and Q1 at A.
enum class PointD { Known, NotKnown };

// With both triangles closed beforehand, conditions 7 and 9 follow from the
// other seven: keeping them makes the normal matrix singular up to rounding.
// They keep their misclosures for the window and the report but take no part
// in the solution.
inline constexpr bool IsDependentCondition(int row) { return row == 7 || row == 9; }

// The redundancy of the figure, the degrees of freedom of m0 and of the global
// test: two triangle closures and the seven independent conditions of the
// solution.
inline constexpr int kRedundancy = 9;

// Stores a double in a single-precision field.  A value beyond the single
// range becomes an infinity (which the display refuses), never undefined.
inline float ToSingle(double value) {
    if (std::isfinite(value) && !FitsSingle(value)) {
        return value > 0 ? HUGE_VALF : -HUGE_VALF;
    }
    return static_cast<float>(value);
}

}  // namespace korvanet
