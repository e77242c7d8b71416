// SPDX-License-Identifier: GPL-3.0-or-later
// The triangle closures, the nine misclosures and their display forms.

#include "adjust/misclosures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "adjust/result_texts.h"
#include "adjust/tests/engine_fixtures.h"

namespace korvanet {
namespace {

TEST(TriangleMisclosure, FourSecondsComeOffOneSecondEach) {
    std::vector<double> angle = {0, 50, 60, 30, 40 + 4.0 / 3600, 45, 55, 35, 45};
    const double w = TriangleMisclosure(angle, kFirstTriangle);
    EXPECT_NEAR(w, 4, 1e-9);
    EXPECT_EQ(SecondsText(w), " 4.00 秒");
    SpreadTriangleMisclosure(angle, kFirstTriangle, w);
    EXPECT_NEAR(angle[1], 50 - 1.0 / 3600, 1e-12);
    EXPECT_NEAR(angle[4], 40 + 3.0 / 3600, 1e-12);
    EXPECT_NEAR(TriangleMisclosure(angle, kFirstTriangle), 0, 1e-9);
    EXPECT_EQ(angle[5], 45);  // the other triangle is untouched
}

TEST(TriangleMisclosure, ClosedTrianglesLeaveTheAnglesAlone) {
    std::vector<double> angle = {0, 50, 60, 30, 40, 45, 55, 35, 45};
    const std::vector<double> before = angle;
    SpreadTriangleMisclosure(angle, kFirstTriangle, TriangleMisclosure(angle, kFirstTriangle));
    SpreadTriangleMisclosure(angle, kSecondTriangle, TriangleMisclosure(angle, kSecondTriangle));
    EXPECT_EQ(angle, before);
    EXPECT_EQ(FigureMisclosure(angle), 36000.0f);  // (50 + 60 - 45 - 55) degrees in seconds
}

TEST(MisclosureTexts, SecondsAndMillimetres) {
    EXPECT_EQ(SecondsText(-2.5), " -2.50 秒");
    EXPECT_EQ(SecondsText(1.304999), " 1.30 秒");
    EXPECT_EQ(MisclosureMillimetreText(0.0123456f), " 12.35 毫米");
    EXPECT_EQ(MisclosureMillimetreText(-0.00361f), " -3.61 毫米");
}

// On an error-free figure every sine condition holds: a wrong side or angle
// in any of them shows as metres of misclosure.
TEST(SineMisclosure, VanishOnAnErrorFreeFigure) {
    std::mt19937_64 rng(4);
    for (int figure = 0; figure < 5; ++figure) {
        const testing::TrueFigure f = testing::RandomFigure(rng);
        double a[9];
        testing::TrueAngles(f.A, f.B, f.C, f.D, a);
        const std::vector<double> angle(a, a + 9);
        double s[7];
        testing::TrueSides(f, s);
        const std::vector<double> side(s, s + 7);
        EXPECT_NEAR(FigureMisclosure(angle), 0, 1e-6);  // the angles at the crossing of the diagonals
        for (int r = 2; r <= 9; ++r) EXPECT_NEAR(SineMisclosure(r, angle, side), 0, 1e-6) << "w(" << r << ")";
    }
}

}  // namespace
}  // namespace korvanet
