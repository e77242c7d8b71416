// SPDX-License-Identifier: GPL-3.0-or-later
// The normal matrix, the weight reciprocals and correlates from the shared
// reduction, and the refusal of degenerate systems.

#include "adjust/normal_equations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "adjust/result_texts.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

// A well-conditioned symmetric 13 x 13 matrix: a dominant diagonal with
// couplings everywhere, as the normal matrix of a real figure has.
NormalMatrix Coupled() {
    NormalMatrix N{};
    for (int i = 1; i <= 13; ++i)
        for (int j = 1; j <= 13; ++j) N[i][j] = i == j ? 10.0 + i : 1.0 / (i + j);
    return N;
}

std::vector<float> Misclosures() { return {0, 1.5f, -2.0f, 0.25f, 3.0f, -1.0f, 0.5f, 7.0f, -0.75f, 9.0f}; }

TEST(NormalMatrix, KnownDLeavesOutTheOrientationAndSideSix) {
    ConditionMatrix A{};
    ReciprocalWeightList q{};
    for (int r = 1; r <= 13; ++r)
        for (int o = 0; o <= 14; ++o) A[r][o] = std::sin(r * 15.0 + o);
    for (int o = 0; o <= 14; ++o) q[o] = 0.5f + o;
    const NormalMatrix all = FormNormalMatrix(A, q, ObservationsInRange(PointD::NotKnown));
    const NormalMatrix known = FormNormalMatrix(A, q, ObservationsInRange(PointD::Known));
    ConditionMatrix inner = A;
    for (int r = 1; r <= 13; ++r) inner[r][0] = inner[r][14] = 0;
    const NormalMatrix withoutEnds = FormNormalMatrix(inner, q, ObservationsInRange(PointD::NotKnown));
    for (int i = 1; i <= 13; ++i)
        for (int j = 1; j <= 13; ++j) {
            EXPECT_DOUBLE_EQ(known[i][j], withoutEnds[i][j]) << i << " " << j;
            EXPECT_EQ(known[i][j], known[j][i]);
        }
    EXPECT_NE(all[3][3], known[3][3]);
}

// The correlates of the misclosures w, the way a fresh system is solved: w
// into the right-hand column, the whole block reduced, back-substitution.
ConditionVector CorrelatesOf(NormalMatrix N, const std::vector<float>& w) {
    for (int i = 1; i <= kLastCondition; ++i) N[i][kRightHandColumn] = w[i];
    ReduceKeptConditions(N);
    return BackSubstituteKeptConditions(N);
}

// The weight reciprocal of row r from a fresh working copy: the block of the
// conditions and column r of N in the right-hand column, reduced whole.
double FreshWeightReciprocal(const NormalMatrix& N, int r, const char* what = "test") {
    NormalMatrix work = N;
    for (int i = 1; i <= kLastCondition; ++i) work[i][kRightHandColumn] = N[i][r];
    ReduceKeptConditions(work);
    return ReducedWeightReciprocalOf(N, work, r, what);
}

TEST(Correlates, IdentityGivesMinusTheMisclosuresOfTheKeptConditions) {
    NormalMatrix N{};
    for (int i = 1; i <= 13; ++i) N[i][i] = 1;
    const std::vector<float> w = Misclosures();
    const ConditionVector k = CorrelatesOf(N, w);
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(k[i], IsDependentCondition(i) ? 0.0 : -w[i]) << i;
}

TEST(Correlates, SolveTheKeptConditionsAndIgnoreSevenAndNine) {
    NormalMatrix N = Coupled();
    // Rows 7 and 9 made singular: were they reduced or pivoted on, this would fail.
    for (int j = 1; j <= 13; ++j) N[7][j] = N[j][7] = N[9][j] = N[j][9] = 0;
    const std::vector<float> w = Misclosures();
    const ConditionVector k = CorrelatesOf(N, w);
    EXPECT_EQ(k[7], 0);
    EXPECT_EQ(k[9], 0);
    for (int i = 1; i <= 9; ++i) {
        if (IsDependentCondition(i)) continue;
        double residual = w[i];
        for (int j = 1; j <= 9; ++j) residual += N[i][j] * k[j];
        EXPECT_NEAR(residual, 0, 1e-12) << "condition " << i;
    }
}

// The engine reduces the block once and then only each new right-hand
// column: every weight reciprocal and every correlate must come out with the
// very bits a fresh reduction of the whole gives, or the results would move.
TEST(SharedReduction, GivesTheBitsOfAFreshReductionForEveryColumn) {
    NormalMatrix N = Coupled();
    // Couplings with full mantissas, so that any other order of the terms
    // would show in the last bits.
    for (int i = 1; i <= 13; ++i)
        for (int j = i + 1; j <= 13; ++j) N[i][j] = N[j][i] = N[i][j] + 3 * std::sin(7.3 * i + j);
    NormalMatrix shared = N;
    ReduceKeptConditions(shared);
    for (int r = 10; r <= 13; ++r) {
        if (r > 10) {
            for (int i = 1; i <= 9; ++i) shared[i][10] = N[i][r];
            ReduceRightHandColumn(shared);
        }
        const double q = ReducedWeightReciprocalOf(N, shared, r, "test");
        EXPECT_EQ(q, FreshWeightReciprocal(N, r)) << "row " << r;
        // The conditions only ever take off part of a function's cofactor.
        EXPECT_GT(q, 0) << "row " << r;
        EXPECT_LT(q, N[r][r]) << "row " << r;
    }
    const std::vector<float> w = Misclosures();
    for (int i = 1; i <= 9; ++i) shared[i][10] = w[i];
    ReduceRightHandColumn(shared);
    const ConditionVector alone = CorrelatesOf(N, w);
    const ConditionVector k = BackSubstituteKeptConditions(shared);
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(k[i], alone[i]) << "correlate " << i;
}

TEST(WeightReciprocal, AFunctionFreeOfTheConditionsKeepsItsCofactor) {
    NormalMatrix N = Coupled();
    for (int i = 1; i <= 9; ++i) N[i][11] = N[11][i] = 0;
    EXPECT_EQ(FreshWeightReciprocal(N, 11), N[11][11]);
}

TEST(Degenerate, ZeroOrVanishingPivotIsRefused) {
    NormalMatrix zero = Coupled();
    zero[4][4] = 0;
    for (int j = 1; j <= 13; ++j) zero[4][j] = zero[j][4] = 0;
    NormalMatrix dependent = Coupled();  // row 5 a copy of row 3
    for (int j = 1; j <= 13; ++j) dependent[5][j] = dependent[j][5] = dependent[3][j];
    dependent[5][5] = dependent[3][3];
    dependent[5][3] = dependent[3][5] = dependent[3][3];
    for (NormalMatrix N : {zero, dependent}) {
        try {
            ReduceKeptConditions(N);
            ADD_FAILURE() << "a degenerate system was reduced";
        } catch (const AdjustmentError& e) {
            EXPECT_NE(std::string(e.what()).find("主元为零或过小"), std::string::npos) << e.what();
        }
    }
}

TEST(Degenerate, NegativeWeightReciprocalIsRefused) {
    NormalMatrix N{};
    for (int i = 1; i <= 13; ++i) N[i][i] = 1;
    N[10][10] = 0.5;
    N[1][10] = N[10][1] = 1;  // the condition takes off more than the function has
    try {
        FreshWeightReciprocal(N, 10, "B 点纵座标的权倒数 1/px(b) ");
        FAIL() << "a negative weight reciprocal was accepted";
    } catch (const AdjustmentError& e) {
        EXPECT_NE(std::string(e.what()).find("1/px(b) 为负数 ( -0.5 )"), std::string::npos) << e.what();
    }
}

TEST(WeightReciprocalText, FourDecimalsInGeneralForm) {
    EXPECT_EQ(WeightReciprocalText(0.12345678), " 0.1235");
    EXPECT_EQ(WeightReciprocalText(2), " 2");
    EXPECT_EQ(WeightReciprocalText(10.498049), " 10.498");
    EXPECT_EQ(WeightReciprocalText(1.03125), " 1.0312");  // an exact tie goes to the even neighbour
}

}  // namespace
}  // namespace korvanet
