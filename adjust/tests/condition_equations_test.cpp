// SPDX-License-Identifier: GPL-3.0-or-later
// The matrix A: its fixed structure, and every entry against the numerical
// derivative of its condition or coordinate through the triangle spreading.

#include "adjust/condition_equations.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "adjust/misclosures.h"
#include "adjust/tests/engine_fixtures.h"
#include "core/packed_angle.h"

namespace korvanet {
namespace {

using testing::Job;

// An error-free figure as the engine holds it after the misclosures step.
Job FigureJob(std::uint64_t seed, PointD d, float q0 = 1) {
    std::mt19937_64 rng(seed);
    const testing::TrueFigure f = testing::RandomFigure(rng);
    testing::FigureObservations obs;
    testing::TrueAngles(f.A, f.B, f.C, f.D, obs.angle);
    testing::TrueSides(f, obs.side);
    obs.startAzimuth = testing::AzimuthDegrees(f.A, f.B) - 40;
    obs.orientationAngle = 40;
    Job job = testing::JobFromObservations(f.A, d == PointD::Known ? std::optional(f.D) : std::nullopt, obs,
                                           2.5f, q0);
    if (d == PointD::Known) {
        job.run.StartAzimuth = testing::AzimuthDegrees(f.A, f.D);
        job.state.Side[6] = obs.side[6];
    }
    return job;
}

ConditionMatrix MatrixOf(Job& job, PointD d) {
    const SideAzimuths az = ApproximateAzimuths(job.state, job.run, d);
    TraverseApproximateCoordinates(job.state, az);
    return FormConditionMatrix(job.state, az, job.run.ReciprocalWeights[0], d);
}

// The quantity of row r after the observed angles are closed per triangle:
// a misclosure in metres (rows 2..9) or a coordinate in millimetres (10..13).
double RowFunction(Job job, PointD d, int r) {
    std::vector<double>& a = job.state.Angle;
    SpreadTriangleMisclosure(a, kFirstTriangle, TriangleMisclosure(a, kFirstTriangle));
    SpreadTriangleMisclosure(a, kSecondTriangle, TriangleMisclosure(a, kSecondTriangle));
    if (r <= 9) return SineMisclosure(r, a, job.state.Side);
    TraverseApproximateCoordinates(job.state, ApproximateAzimuths(job.state, job.run, d));
    const double value[4] = {job.state.X[1], job.state.Y[1], job.state.X[2], job.state.Y[2]};
    return value[r - 10] * 1000;
}

// Central difference with respect to observation o: one arc second for angles
// and the orientation angle, one millimetre for sides.
double NumericalDerivative(const Job& job, PointD d, int r, int o) {
    Job plus = job, minus = job;
    if (o == 0) {
        plus.run.OrientationAngle += 1.0 / 3600;
        minus.run.OrientationAngle -= 1.0 / 3600;
    } else if (o <= 8) {
        plus.state.Angle[o] += 1.0 / 3600;
        minus.state.Angle[o] -= 1.0 / 3600;
    } else {
        plus.state.Side[o - 8] += 0.001;
        minus.state.Side[o - 8] -= 0.001;
    }
    return (RowFunction(plus, d, r) - RowFunction(minus, d, r)) / 2;
}

class EveryEntry : public ::testing::TestWithParam<PointD> {};

TEST_P(EveryEntry, IsTheDerivativeThroughTheSpreading) {
    const PointD d = GetParam();
    for (std::uint64_t seed : {11u, 12u, 13u}) {
        Job job = FigureJob(seed, d);
        const ConditionMatrix A = MatrixOf(job, d);
        for (int r = 2; r <= 13; ++r) {
            // Side 6 is fixed by a known D; the traverse to B and C does not use it.
            const int lastObservation = (d == PointD::Known || r >= 10) ? 13 : 14;
            for (int o = (d == PointD::Known || r <= 9) ? 1 : 0; o <= lastObservation; ++o) {
                // 206265 seconds to the radian against 3600 times the program's
                // degree factor: the two differ by 1e-6 of the entry.
                const double tolerance = 2e-6 * std::fabs(A[r][o]) + 1e-9;
                EXPECT_NEAR(A[r][o], NumericalDerivative(job, d, r, o), tolerance)
                    << "A(" << r << ", " << o << "), figure " << seed;
            }
        }
    }
}

TEST_P(EveryEntry, EachTriangleShareSumsToZero) {
    const PointD d = GetParam();
    Job job = FigureJob(21, d);
    const ConditionMatrix A = MatrixOf(job, d);
    for (int r = 1; r <= 13; ++r) {
        for (int first : {1, 5}) {
            double sum = 0, size = 0;
            for (int j = first; j < first + 4; ++j) {
                sum += A[r][j];
                size = std::max(size, std::fabs(A[r][j]));
            }
            EXPECT_NEAR(sum, 0, 1e-14 * size + 1e-300) << "row " << r << ", angles from " << first;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothCasesOfD, EveryEntry, ::testing::Values(PointD::Known, PointD::NotKnown),
                         [](const auto& info) {
                             return info.param == PointD::Known ? "KnownD" : "DNotKnown";
                         });

TEST(ConditionMatrix, FixedEntriesAndColumnsByCase) {
    Job known = FigureJob(31, PointD::Known);
    const ConditionMatrix K = MatrixOf(known, PointD::Known);
    const double row1[9] = {0, 0.5, 0.5, -0.5, -0.5, -0.5, -0.5, 0.5, 0.5};
    for (int j = 1; j <= 8; ++j) EXPECT_EQ(K[1][j], row1[j]) << j;
    for (int r = 0; r <= 13; ++r) {
        EXPECT_EQ(K[r][0], 0) << r;
        EXPECT_EQ(K[r][14], 0) << r;
    }
    for (int r = 10; r <= 13; ++r)
        for (int j = 1; j <= 8; ++j) EXPECT_NE(K[r][j], 0) << r << " " << j;

    Job free = FigureJob(31, PointD::NotKnown);
    const ConditionMatrix F = MatrixOf(free, PointD::NotKnown);
    for (int r = 1; r <= 13; ++r) {
        EXPECT_EQ(F[r][14] != 0, r == 4 || r == 5 || r == 8) << r;
        EXPECT_EQ(F[r][0] != 0, r >= 10) << r;
    }
    for (int r = 10; r <= 11; ++r)
        for (int j = 1; j <= 8; ++j) EXPECT_EQ(F[r][j], 0) << r << " " << j;

    Job unmeasured = FigureJob(31, PointD::NotKnown, 0);
    const ConditionMatrix Z = MatrixOf(unmeasured, PointD::NotKnown);
    for (int r = 0; r <= 13; ++r) EXPECT_EQ(Z[r][0], 0) << r;
}

TEST(ConditionMatrix, EqualTermsOfRowTwoLeaveNoShare) {
    Job job = FigureJob(41, PointD::Known);
    job.state.Side[3] = job.state.Side[1];
    job.state.Angle[4] = job.state.Angle[1];
    const ConditionMatrix A = MatrixOf(job, PointD::Known);
    EXPECT_EQ(A[2][2], 0);
    EXPECT_EQ(A[2][3], 0);
    EXPECT_EQ(A[2][1], -A[2][4]);
}

TEST(SideAzimuths, ReductionAndTheTurnAtEachPoint) {
    EXPECT_EQ(ReduceAzimuth(-10), 350);
    EXPECT_EQ(ReduceAzimuth(360), 0);
    EXPECT_EQ(ReduceAzimuth(370), 10);
    EXPECT_EQ(ReduceAzimuth(-370), -10);  // one pass only

    testing::Job job;
    job.state.CreateArrays();
    job.run.StartAzimuth = 30;
    job.state.Angle[2] = 40;
    job.state.Angle[3] = 50;
    EXPECT_EQ(ApproximateAzimuths(job.state, job.run, PointD::NotKnown)[2], 120);
    job.state.Angle[3] = 180;  // 30 - 220 + 180 = -10
    EXPECT_EQ(ApproximateAzimuths(job.state, job.run, PointD::NotKnown)[2], 350);
    job.run.StartAzimuth = 350;
    job.run.OrientationAngle = 20;
    EXPECT_EQ(ApproximateAzimuths(job.state, job.run, PointD::NotKnown)[1], 10);
    // A known D: A->D turned back over angles 8 and 1; below 0 it stays negative.
    job.run.StartAzimuth = 20;
    job.state.Angle[1] = 15;
    job.state.Angle[8] = 25;
    EXPECT_EQ(ApproximateAzimuths(job.state, job.run, PointD::Known)[1], -20);
}

}  // namespace
}  // namespace korvanet
