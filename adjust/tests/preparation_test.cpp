// SPDX-License-Identifier: GPL-3.0-or-later
// Side 6 and the azimuth A->D from the coordinates, and the a-priori weights.

#include "adjust/preparation.h"

#include <gtest/gtest.h>

#include "adjust/result_texts.h"
#include "core/packed_angle.h"

namespace korvanet {
namespace {

TEST(AzimuthFromDifferences, AxisDirectionsComeOutWhole) {
    EXPECT_EQ(AzimuthFromDifferences(0, 5, 5), 90);
    EXPECT_EQ(AzimuthFromDifferences(0, -5, 5), 270);
    EXPECT_EQ(AzimuthFromDifferences(5, 0, 5), 0);
    EXPECT_EQ(AzimuthFromDifferences(-5, 0, 5), 180);
    EXPECT_EQ(DegreesToPacked(AzimuthFromDifferences(0, 5, 5)), 90);
}

TEST(AzimuthFromDifferences, DiagonalsCarryTheFactorOfTheDegree) {
    const double d = DistanceFromDifferences(100, 100);
    EXPECT_NEAR(AzimuthFromDifferences(100, 100, d), 45.0000000013, 1e-10);
    EXPECT_NEAR(DegreesToPacked(AzimuthFromDifferences(100, 100, d)), 45.0000000005, 1e-10);
    const double nw = AzimuthFromDifferences(-100, 100, d);
    EXPECT_NEAR(nw, 134.9999999987, 1e-10);
    EXPECT_NEAR(DegreesToPacked(nw), 134.595999999, 1e-9);  // 59 minutes and 60 seconds, no carry
    EXPECT_EQ(DerivedAzimuthText(DegreesToPacked(nw)), "134.596 度");
    EXPECT_NEAR(AzimuthFromDifferences(-100, -100, d), 225.0000000013, 1e-10);
    EXPECT_NEAR(AzimuthFromDifferences(100, -100, d), 314.9999999987, 1e-10);
    EXPECT_NEAR(DegreesToPacked(AzimuthFromDifferences(100, -100, d)), 314.595999999, 1e-9);
}

TEST(AzimuthFromDifferences, ThreeFourFive) {
    const double side = DistanceFromDifferences(3, 4);
    EXPECT_EQ(side, 5);
    EXPECT_EQ(DerivedSideText(side), "5.0000");
    const double alpha = AzimuthFromDifferences(3, 4, side);
    EXPECT_NEAR(alpha, 53.1301023557, 1e-10);
    EXPECT_NEAR(DegreesToPacked(alpha), 53.0748368480, 1e-10);
    EXPECT_EQ(DerivedAzimuthText(DegreesToPacked(alpha)), "53.075 度");
    EXPECT_EQ(DerivedSideText(402.82009), "402.8201");
}

TEST(AzimuthFromDifferences, NearlyEastWestTakesTheAxis) {
    // dx vanishes against dy in the distance: the cosine term is 0.
    for (double dy : {1000.0, -1000.0}) {
        for (double dx : {1e-9, -1e-9}) {
            const double alpha = AzimuthFromDifferences(dx, dy, DistanceFromDifferences(dx, dy));
            EXPECT_EQ(alpha, dy > 0 ? 90 : 270) << dx << " " << dy;
        }
    }
}

TEST(AprioriSideWeights, TolerancePerMeanSide) {
    const std::vector<double> side = {0, 1000, 1000, 1000, 1000, 1000, 1000};
    const SideWeights w = AprioriSideWeights(side, 2.5f);
    EXPECT_EQ(w.MeanSide, 1000);
    EXPECT_NEAR(w.SideMeanError, 8.571662f, 1e-6);
    ReciprocalWeightList q{};
    q[0] = 1.0f;
    SetReciprocalWeights(q, w.SideReciprocalWeight);
    EXPECT_EQ(q[0], 1.0f);  // the orientation angle's is left alone
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(q[i], 1.0f);
    for (int i = 9; i <= 14; ++i) EXPECT_NEAR(q[i], 11.755742f, 1e-5);
    // The double is formed from the single ms (itself divided by 1.414 rather
    // than the root of 2): from a double ms its last digits would differ.
    EXPECT_EQ(w.SideReciprocalWeight, 11.755742171302117);
}

TEST(AprioriSideWeights, ZeroToleranceIsRefused) {
    const std::vector<double> side = {0, 1000, 1000, 1000, 1000, 1000, 1000};
    try {
        AprioriSideWeights(side, 0.0f);
        FAIL() << "a tolerance of 0 was accepted";
    } catch (const AdjustmentError& e) {
        EXPECT_NE(std::string(e.what()).find("规范测角限差为零"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace korvanet
