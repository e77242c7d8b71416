// SPDX-License-Identifier: GPL-3.0-or-later
// Corrections, the mean errors and the forms in which they are shown.

#include "adjust/precision.h"

#include <gtest/gtest.h>

#include <cmath>

#include "adjust/corrections.h"
#include "adjust/result_texts.h"

namespace korvanet {
namespace {

TEST(UnitWeightError, OverTheNineIndependentConditions) {
    // Squares 7, then 4^2/4 and 2^2/4 from the triangle spreading: 12 / 9.
    const float m0 = UnitWeightError(5, 2, 4, -2);
    EXPECT_EQ(m0, static_cast<float>(std::sqrt(12.0 / 9)));
    EXPECT_EQ(UnitWeightErrorText(m0), " 1.15 秒");
    EXPECT_EQ(UnitWeightError(0, 0, 0, 0), 0.0f);
    EXPECT_EQ(UnitWeightErrorText(0.0f), " 0 秒");
}

TEST(MeanErrors, FromTheWeightReciprocals) {
    EXPECT_EQ(MeanErrorFromReciprocalWeight(2.0f, 2.25), 3.0f);
    EXPECT_EQ(PointError(3, 4), 5.0f);
    EXPECT_EQ(MillimetreText(PointError(3, 4)), " 5.00 毫米");
    EXPECT_EQ(MillimetreText(0.0f), " 0.00 毫米");
}

TEST(ResultTexts, UnitWeightErrorHasNoTrailingZeros) {
    EXPECT_EQ(UnitWeightErrorText(1.5f), " 1.5 秒");
    EXPECT_EQ(MillimetreText(1.5f), " 1.50 毫米");
    EXPECT_EQ(UnitWeightErrorText(2.3671f), " 2.37 秒");
    EXPECT_EQ(UnitWeightErrorText(1.3049999f), " 1.3 秒");
    EXPECT_EQ(CoordinateText(3456.78949), " 3456.789");
    EXPECT_EQ(CoordinateText(3456.7), " 3456.700");
    EXPECT_EQ(EnteredText("4324901.631"), " 4324901.631");
}

SurveyState StateWithObservations() {
    SurveyState s;
    s.CreateArrays();
    for (int i = 1; i <= 8; ++i) s.Angle[i] = 40 + i;
    for (int i = 1; i <= 6; ++i) s.Side[i] = 1000 + i;
    return s;
}

TEST(Corrections, ZeroCorrelatesChangeNothing) {
    SurveyState s = StateWithObservations();
    const SurveyState before = s;
    ConditionMatrix A{};
    for (int r = 1; r <= 9; ++r)
        for (int o = 1; o <= 14; ++o) A[r][o] = 0.1 * r + o;
    ReciprocalWeightList q{};
    q.fill(1.0f);
    const CorrectionSums sums = CorrectObservations(s, A, q, 1.0);
    EXPECT_EQ(s.Angle, before.Angle);
    EXPECT_EQ(s.Side, before.Side);
    EXPECT_EQ(sums.SumVV, 0);
    EXPECT_EQ(sums.SumPVV, 0);
}

TEST(Corrections, SideCorrectionsInMillimetres) {
    SurveyState s = StateWithObservations();
    ConditionMatrix A{};
    A[1][9] = 1;  // side 1
    A[2][3] = 1;  // angle 3
    A[7][3] = 5;  // a dependent condition's correlate is 0 and adds nothing
    ReciprocalWeightList q{};
    q.fill(1.0f);
    s.k[1] = 2;  // v(9) = 2 mm
    s.k[2] = 3;  // v(3) = 3 seconds
    const CorrectionSums sums = CorrectObservations(s, A, q, 4.0);
    EXPECT_EQ(sums.v[9], 2);
    EXPECT_DOUBLE_EQ(s.Side[1], 1001.002);
    EXPECT_DOUBLE_EQ(sums.SumPVV, 1);  // (2 mm)^2 / 4
    EXPECT_DOUBLE_EQ(s.Angle[3], 43 + 3.0 / 3600);
    EXPECT_DOUBLE_EQ(sums.SumVV, 9);
}

TEST(AdjustedCoordinates, TraverseAroundTheFigure) {
    // A square of 1000 m: A at the origin, B north, C north-east, D east.
    SurveyState s;
    s.CreateArrays();
    const double a[9] = {0, 45, 45, 45, 45, 45, 45, 45, 45};
    for (int i = 1; i <= 8; ++i) s.Angle[i] = a[i];
    const double side[7] = {0, 1000, std::sqrt(2e6), 1000, std::sqrt(2e6), 1000, 1000};
    for (int i = 1; i <= 6; ++i) s.Side[i] = side[i];
    RunValues run;
    run.StartAzimuth = 90;  // A->D
    AdjustCoordinates(s, run, PointD::Known);
    EXPECT_NEAR(s.X[1], 1000, 1e-6);
    EXPECT_NEAR(s.Y[1], 0, 1e-6);
    EXPECT_NEAR(s.X[2], 1000, 1e-6);
    EXPECT_NEAR(s.Y[2], 1000, 1e-6);
    EXPECT_NEAR(s.X[3], 0, 1e-6);
    EXPECT_NEAR(s.Y[3], 1000, 1e-6);
    EXPECT_EQ(s.X[4], 0);  // only a free D goes on back to A
    run.StartAzimuth = 330;
    run.OrientationAngle = 30;  // 360 reduces to 0
    const SideAzimuths az = AdjustCoordinates(s, run, PointD::NotKnown);
    EXPECT_EQ(az[1], 0);
    EXPECT_NEAR(s.X[4], 0, 1e-6);
    EXPECT_NEAR(s.Y[4], 0, 1e-6);
}

}  // namespace
}  // namespace korvanet
