// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: A(i, o) the coefficient of observation o in row i; q(o) its
// reciprocal weight (single precision); N(i, j) = sum over o of
// (A(i, o) q(o)) A(j, o).  Rows and columns 1..9 are the conditions, 10..13
// the weight functions of x and y of B and of C; column 10 is the right-hand
// side during a reduction.  The symmetric matrix is reduced in its upper
// triangle only, dividing by the pivot afresh in every term.

#include "adjust/normal_equations.h"

#include <cmath>
#include <string>

#include "core/display_text.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

// A pivot that has lost all but 1e-10 of its starting value is rounding noise:
// the conditions it belongs to are dependent, the figure degenerate.
void CheckPivot(const NormalMatrix& m, int row, double startingDiagonal) {
    const double pivot = m[row][row];
    if (!std::isfinite(pivot) || pivot == 0 || std::fabs(pivot) < 1e-10 * std::fabs(startingDiagonal)) {
        throw AdjustmentError("法方程第 " + std::to_string(row) + " 个条件的主元为零或过小 ( 主元 " +
                              FormatGeneral(pivot, 15) + " , 原对角元 " +
                              FormatGeneral(startingDiagonal, 15) +
                              " ): 图形退化 ( 边长为零、角度为 0 或 180 度、点位重合等 ), 无法平差。"
                              "请检查输入的角度和边长。");
    }
}

}  // namespace

ObservationRange ObservationsInRange(PointD d) {
    return d == PointD::NotKnown ? ObservationRange{0, 14} : ObservationRange{1, 13};
}

NormalMatrix FormNormalMatrix(const ConditionMatrix& A, const ReciprocalWeightList& q,
                              ObservationRange range) {
    NormalMatrix N{};
    for (int i = 1; i <= kLastRow; ++i) {
        // Each entry of the symmetric matrix once, as (A(i, o) q(o)) A(j, o)
        // with j <= i, summed over o in order; the sums of one row run side by
        // side so that their additions need not wait for one another.
        std::array<double, kLastRow + 1> s{};
        for (int o = range.first; o <= range.last; ++o) {
            const double weighted = A[i][o] * static_cast<double>(q[o]);
            for (int j = 1; j <= i; ++j) s[j] = s[j] + weighted * A[j][o];
        }
        for (int j = 1; j <= i; ++j) {
            N[i][j] = s[j];
            N[j][i] = s[j];
        }
    }
    return N;
}

void ReduceKeptConditions(NormalMatrix& m) {
    ConditionVector start{};
    for (int i = 1; i <= kLastCondition; ++i) start[i] = m[i][i];
    CheckPivot(m, 1, start[1]);
    for (int row = 2; row <= kLastCondition; ++row) {
        if (IsDependentCondition(row)) continue;
        // Every entry of the row takes the terms of the rows above in their
        // order; the entries are reduced side by side, none waits for another.
        for (int p = 1; p < row; ++p) {
            if (IsDependentCondition(p)) continue;
            for (int c = row; c <= kRightHandColumn; ++c) {
                m[row][c] = m[row][c] - (m[p][c] * m[p][row]) / m[p][p];
            }
        }
        CheckPivot(m, row, start[row]);
    }
}

void ReduceRightHandColumn(NormalMatrix& m) {
    for (int row = 2; row <= kLastCondition; ++row) {
        if (IsDependentCondition(row)) continue;
        for (int p = 1; p < row; ++p) {
            if (IsDependentCondition(p)) continue;
            m[row][kRightHandColumn] =
                m[row][kRightHandColumn] - (m[p][kRightHandColumn] * m[p][row]) / m[p][p];
        }
    }
}

ConditionVector BackSubstituteKeptConditions(const NormalMatrix& m) {
    ConditionVector u{};
    for (int row = kLastCondition; row >= 1; --row) {
        if (IsDependentCondition(row)) continue;
        double t = m[row][kRightHandColumn];
        for (int c = row + 1; c <= kLastCondition; ++c) {
            if (IsDependentCondition(c)) continue;
            t = t + u[c] * m[row][c];
        }
        u[row] = (-t) / m[row][row];
    }
    return u;
}

namespace {

// What the conditions take off the cofactor of the function of row r, from
// a working copy already reduced.
double ReducedCm1(const NormalMatrix& full, const NormalMatrix& reduced, int r) {
    const ConditionVector u = BackSubstituteKeptConditions(reduced);
    // -f^T N9^-1 f with f = column r of N: what the conditions take off the
    // cofactor N(r, r) of the function.
    double s = 0;
    for (int i = 1; i <= kLastCondition; ++i) s = s + u[i] * full[i][r];
    return s;
}

}  // namespace

double ReducedWeightReciprocalOf(const NormalMatrix& N, const NormalMatrix& reduced, int r,
                                 const char* what) {
    const double value = N[r][r] + ReducedCm1(N, reduced, r);
    // In exact arithmetic the conditions can only take off part of N(r, r);
    // a negative result is what a degenerate figure leaves after rounding.
    if (value < 0) {
        throw AdjustmentError(std::string(what) + "为负数 ( " + FormatGeneral(value, 15) +
                              " ): 无法开方求中误差, 图形退化或观测值的权不合理。请检查输入的角度和边长。");
    }
    return value;
}

}  // namespace korvanet
