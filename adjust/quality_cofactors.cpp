// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: B rows 0 and 1 are the triangle closures (angles 1..4 and 5..8,
// coefficient 1), rows 2..8 the kept condition rows 1..6 and 8 of A;
// M = B Q B^T, 9 x 9, symmetric positive definite for a sound figure.
// Cofactors in arc seconds^2 or mm^2 per unit weight.

#include "adjust/quality_cofactors.h"

#include <cmath>

namespace korvanet {

std::array<ObservationRow, 9> IndependentConditions(const ConditionMatrix& A) {
    std::array<ObservationRow, 9> B{};
    for (int j = 1; j <= 4; ++j) B[0][j] = 1;  // triangle 1: angles 1..4 sum to 180
    for (int j = 5; j <= 8; ++j) B[1][j] = 1;  // triangle 2: angles 5..8
    int row = 2;
    for (int r = 1; r <= kLastCondition; ++r) {
        if (IsDependentCondition(r)) continue;
        B[row++] = A[r];
    }
    return B;
}

ConditionCofactors::ConditionCofactors(const ConditionMatrix& A, const ReciprocalWeightList& q,
                                       ObservationRange range)
    : range_(range) {
    const int first = range_.first, last = range_.last;
    for (int o = first; o <= last; ++o) weight_[o] = q[o];
    for (int r = 1; r <= kLastCondition; ++r) {
        double s = 0;
        for (int o = first; o <= last; ++o) s += A[r][o] * weight_[o] * A[r][o];
        misclosureCofactor_[r] = s;
    }

    // B Q, row by row.
    const std::array<ObservationRow, kConditions> B = IndependentConditions(A);
    for (int i = 0; i < kConditions; ++i)
        for (int o = first; o <= last; ++o) G_[i][o] = B[i][o] * weight_[o];

    // M = B Q B^T (its lower triangle: M is symmetric) and its Cholesky
    // factor L, in place.  The engine has already refused a degenerate
    // figure; were a pivot not positive all the same, the cofactors come out
    // as not-a-number rather than as wrong numbers.
    std::array<ConditionRow, kConditions> L{};
    for (int i = 0; i < kConditions; ++i)
        for (int j = 0; j <= i; ++j) {
            double s = 0;
            for (int o = first; o <= last; ++o) s += G_[i][o] * B[j][o];
            L[i][j] = s;
        }
    // Each pivot is divided once and its reciprocal multiplied: a division
    // costs several multiplications, and the check's own sums have no
    // prescribed order.
    ConditionRow inversePivot{};
    for (int j = 0; j < kConditions; ++j) {
        double d = L[j][j];
        for (int k = 0; k < j; ++k) d -= L[j][k] * L[j][k];
        L[j][j] = std::sqrt(d);
        inversePivot[j] = 1 / L[j][j];
        for (int i = j + 1; i < kConditions; ++i) {
            double s = L[i][j];
            for (int k = 0; k < j; ++k) s -= L[i][k] * L[j][k];
            L[i][j] = s * inversePivot[j];
        }
    }
    // G = L^-1 B Q by forward substitution, all columns at once.
    for (int i = 0; i < kConditions; ++i) {
        for (int k = 0; k < i; ++k)
            for (int o = first; o <= last; ++o) G_[i][o] -= L[i][k] * G_[k][o];
        for (int o = first; o <= last; ++o) G_[i][o] *= inversePivot[i];
    }
}

ConditionCofactors::ConditionRow ConditionCofactors::Reduced(const ObservationRow& f) const {
    ConditionRow gf{};
    for (int i = 0; i < kConditions; ++i) {
        double s = 0;
        for (int o = range_.first; o <= range_.last; ++o) s += G_[i][o] * f[o];
        gf[i] = s;
    }
    return gf;
}

double ConditionCofactors::ResidualCofactor(int o) const {
    double s = 0;
    for (int i = 0; i < kConditions; ++i) s += G_[i][o] * G_[i][o];
    return s;
}

double ConditionCofactors::FunctionCofactor(const ObservationRow& f, const ObservationRow& g) const {
    double fqg = 0;
    for (int o = range_.first; o <= range_.last; ++o) fqg += f[o] * weight_[o] * g[o];
    const ConditionRow gf = Reduced(f), gg = Reduced(g);
    double reduction = 0;
    for (int i = 0; i < kConditions; ++i) reduction += gf[i] * gg[i];
    return fqg - reduction;
}

double ConditionCofactors::CofactorWithObservation(const ObservationRow& f, const ConditionRow& gf,
                                                   int o) const {
    double reduction = 0;
    for (int i = 0; i < kConditions; ++i) reduction += gf[i] * G_[i][o];
    return f[o] * weight_[o] - reduction;
}

double ConditionCofactors::MisclosureCofactor(int r) const { return misclosureCofactor_[r]; }

}  // namespace korvanet
