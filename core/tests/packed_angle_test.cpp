// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/packed_angle.h"

#include <gtest/gtest.h>

namespace korvanet {
namespace {

TEST(PackedToDegrees, ConvertsDegreesMinutesSeconds) {
    EXPECT_NEAR(PackedToDegrees(45.3), 45.5, 1e-12);
    EXPECT_NEAR(PackedToDegrees(45.30125), 45.0 + 30.0 / 60 + 12.5 / 3600, 1e-12);
    EXPECT_NEAR(PackedToDegrees(45.3030), 45.508333333333, 1e-11);
    EXPECT_DOUBLE_EQ(PackedToDegrees(270), 270);
    // Packed angles are not validated: 75 minutes are 1 deg 15 min.
    EXPECT_NEAR(PackedToDegrees(45.75), 46.25, 1e-12);
}

TEST(PackedToDegrees, NegativeWithAndWithoutSignStep) {
    EXPECT_NEAR(SignedPackedToDegrees(-10.3), -10.5, 1e-12);
    EXPECT_NEAR(PackedToDegrees(-10.3), -10.5, 1e-12);
    EXPECT_EQ(SignedPackedToDegrees(0.0), 0.0);
    EXPECT_NEAR(SignedPackedToDegrees(10.3), 10.5, 1e-12);
}

TEST(DegreesToPacked, TruncatesWithoutCarry) {
    EXPECT_NEAR(DegreesToPacked(45.5), 45.3, 1e-12);
    EXPECT_EQ(DegreesToPacked(270), 270);
    EXPECT_NEAR(DegreesToPacked(53.1301023557), 53.0748368480, 1e-9);
    // 59 minutes and 60 seconds: the no-carry case of a diagonal direction.
    EXPECT_NEAR(DegreesToPacked(134.9999999987), 134.596, 1e-6);
    EXPECT_LT(DegreesToPacked(134.9999999987), 134.596);
    EXPECT_GT(DegreesToPacked(134.9999999987), 134.5959999);
}

TEST(RhoDeg, IsTheTruncatedPiOver180) {
    EXPECT_EQ(RHO_DEG, 3.1415926535 / 180);
    EXPECT_NE(RHO_DEG, 3.14159265358979323846 / 180);
    EXPECT_EQ(RHO_SEC, 206265.0);
}

}  // namespace
}  // namespace korvanet
