// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's condition adjustment against an independent least-squares
// adjustment by observation equations of the same observations and weights.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <random>

#include "adjust/adjustment.h"
#include "adjust/preparation.h"
#include "adjust/quality_check.h"
#include "adjust/tests/engine_fixtures.h"
#include "adjust/tests/rigorous_reference.h"
#include "core/form_boxes.h"
#include "core/scripted_session.h"

namespace korvanet::testing {
namespace {

enum class Case { KnownD, MeasuredQ1, FixedOrientation };

struct Surveyed {
    TrueFigure truth;
    std::optional<Point> knownD;
    FigureObservations obs;
    float tolerance = 2.5f;
    float q0 = 0;
};

// Observations of a true figure with normal noise of the given sizes.
Surveyed Survey(std::mt19937_64& rng, Case c, double angleSigma, double sideSigmaMm) {
    Surveyed s;
    s.truth = RandomFigure(rng);
    const TrueFigure& t = s.truth;
    TrueAngles(t.A, t.B, t.C, t.D, s.obs.angle);
    for (int i = 1; i <= 8; ++i) s.obs.angle[i] += angleSigma * Gaussian(rng) / 3600;
    double side[7];
    TrueSides(t, side);
    for (int i = 1; i <= 6; ++i) s.obs.side[i] = side[i] + sideSigmaMm * Gaussian(rng) / 1000;
    s.tolerance = static_cast<float>(Uniform(rng, 1.5, 5));
    if (c == Case::KnownD) {
        s.knownD = t.D;
        s.obs.side[6] = 0;  // derived from the coordinates, not observed
    } else {
        const double abAzimuth = AzimuthDegrees(t.A, t.B);
        if (c == Case::MeasuredQ1) {
            // An exterior direction on either side of A-B, Q1 observed like an angle.
            s.obs.startAzimuth = std::fmod(abAzimuth + Uniform(rng, -120, 120) + 360, 360);
            s.obs.orientationAngle = abAzimuth - s.obs.startAzimuth + angleSigma * Gaussian(rng) / 3600;
            if (s.obs.orientationAngle > 180) s.obs.orientationAngle -= 360;
            if (s.obs.orientationAngle < -180) s.obs.orientationAngle += 360;
            s.q0 = 1;
        } else {
            s.obs.startAzimuth = abAzimuth;  // T0 is itself the azimuth of A-B
            s.obs.orientationAngle = 0;
            s.q0 = 0;
        }
    }
    return s;
}

double SideReciprocalWeightOf(const Surveyed& s) {
    std::vector<double> side(s.obs.side, s.obs.side + 7);
    if (s.knownD) side[6] = DistanceFromDifferences(s.knownD->x - s.truth.A.x, s.knownD->y - s.truth.A.y);
    return AprioriSideWeights(side, s.tolerance).SideReciprocalWeight;
}

TrueFigure Displaced(const TrueFigure& t) {
    TrueFigure start = t;
    start.B.x += 0.3;
    start.B.y -= 0.2;
    start.C.x -= 0.25;
    start.C.y += 0.4;
    start.D.x += 0.2;
    start.D.y += 0.1;
    return start;
}

void ExpectRelative(double actual, double expected, double relative, const char* what, int figure) {
    EXPECT_NEAR(actual, expected, std::fabs(expected) * relative)
        << what << " of figure " << figure << ": engine " << actual << ", reference " << expected;
}

class NoisyFigures : public ::testing::TestWithParam<Case> {};

TEST_P(NoisyFigures, EngineEqualsRigorousLeastSquares) {
    const Case c = GetParam();
    std::mt19937_64 rng(20240611 + static_cast<int>(c));
    for (int figure = 0; figure < 12; ++figure) {
        const double angleSigma = Uniform(rng, 1, 3), sideSigma = Uniform(rng, 3, 10);
        const Surveyed s = Survey(rng, c, angleSigma, sideSigma);
        const double sideQ = SideReciprocalWeightOf(s);
        const ReferenceSolution ref =
            RigorousAdjustment(s.truth.A, s.knownD, s.obs, sideQ, s.q0, Displaced(s.truth));
        ASSERT_EQ(ref.redundancy, 9);
        ASSERT_LT(ref.iterations, 20);

        Job job = JobFromObservations(s.truth.A, s.knownD, s.obs, s.tolerance, s.q0);
        RecordingDisplay display;
        RunAdjustment(job.state, job.run, display);
        const SurveyState& st = job.state;

        const double mm = 1e-5;  // 0.01 mm
        EXPECT_NEAR(st.X[1], ref.B.x, mm) << "x of B, figure " << figure;
        EXPECT_NEAR(st.Y[1], ref.B.y, mm) << "y of B, figure " << figure;
        EXPECT_NEAR(st.X[2], ref.C.x, mm) << "x of C, figure " << figure;
        EXPECT_NEAR(st.Y[2], ref.C.y, mm) << "y of C, figure " << figure;
        EXPECT_NEAR(st.X[3], ref.D.x, mm) << "x of D, figure " << figure;
        EXPECT_NEAR(st.Y[3], ref.D.y, mm) << "y of D, figure " << figure;
        if (!s.knownD) {
            EXPECT_NEAR(st.X[4], s.truth.A.x, mm) << "closure in x, figure " << figure;
            EXPECT_NEAR(st.Y[4], s.truth.A.y, mm) << "closure in y, figure " << figure;
        }
        ExpectRelative(st.M0, ref.sigma0, 1e-3, "m0", figure);
        ExpectRelative(st.InvPxB, ref.QxB, 1e-3, "1/px(b)", figure);
        ExpectRelative(st.InvPyB, ref.QyB, 1e-3, "1/py(b)", figure);
        ExpectRelative(st.InvPxC, ref.QxC, 1e-3, "1/px(c)", figure);
        ExpectRelative(st.InvPyC, ref.QyC, 1e-3, "1/py(c)", figure);
        EXPECT_EQ(st.k[7], 0.0);
        EXPECT_EQ(st.k[9], 0.0);
    }
}

TEST_P(NoisyFigures, ErrorFreeObservationsReturnTheTruth) {
    const Case c = GetParam();
    std::mt19937_64 rng(777 + static_cast<int>(c));
    for (int figure = 0; figure < 6; ++figure) {
        const Surveyed s = Survey(rng, c, 0, 0);
        Job job = JobFromObservations(s.truth.A, s.knownD, s.obs, s.tolerance, s.q0);
        RecordingDisplay display;
        RunAdjustment(job.state, job.run, display);
        const SurveyState& st = job.state;
        const double tenthMm = 1e-4;
        EXPECT_NEAR(st.X[1], s.truth.B.x, tenthMm) << figure;
        EXPECT_NEAR(st.Y[1], s.truth.B.y, tenthMm) << figure;
        EXPECT_NEAR(st.X[2], s.truth.C.x, tenthMm) << figure;
        EXPECT_NEAR(st.Y[2], s.truth.C.y, tenthMm) << figure;
        EXPECT_NEAR(st.X[3], s.truth.D.x, tenthMm) << figure;
        EXPECT_NEAR(st.Y[3], s.truth.D.y, tenthMm) << figure;
        if (!s.knownD) {
            EXPECT_NEAR(st.X[4], s.truth.A.x, tenthMm) << figure;
            EXPECT_NEAR(st.Y[4], s.truth.A.y, tenthMm) << figure;
            EXPECT_TRUE(display.Written(boxes::kPointTable[4].x)) << figure;
            EXPECT_EQ(display.Text(boxes::kPointTable[4].x), display.Text(boxes::kPointTable[0].x)) << figure;
            EXPECT_EQ(display.Text(boxes::kPointTable[4].y), display.Text(boxes::kPointTable[0].y)) << figure;
        }
        EXPECT_LT(st.M0, 0.01) << "m0 of figure " << figure;
    }
}

const ReferenceObservation* Find(const ReferenceSolution& ref, ReferenceKind kind, int index) {
    for (const ReferenceObservation& o : ref.observations)
        if (o.kind == kind && o.index == index) return &o;
    return nullptr;
}

ReferenceKind KindOf(ObservationKind kind) {
    switch (kind) {
        case ObservationKind::Angle:
            return ReferenceKind::Angle;
        case ObservationKind::Side:
            return ReferenceKind::Side;
        default:
            return ReferenceKind::Orientation;
    }
}

// The engine's ellipse against the reference covariance m0^2 Q_xx: the
// standard deviation along the major axis is a, across it b, and the two
// directions are uncorrelated.
void ExpectEllipseOf(const PointCheck& point, double qxx, double qyy, double qxy, double sigma0, int figure) {
    ASSERT_TRUE(point.precision.has_value()) << "point " << point.point << ", figure " << figure;
    const ErrorEllipse& e = point.precision->ellipse;
    const double s2 = sigma0 * sigma0;
    const double th = e.azimuth / kTrueDegreesPerRadian;
    const double c = std::cos(th), s = std::sin(th);
    const double along = s2 * (c * c * qxx + 2 * c * s * qxy + s * s * qyy);
    const double across = s2 * (s * s * qxx - 2 * c * s * qxy + c * c * qyy);
    const double cross = s2 * ((qyy - qxx) * c * s + qxy * (c * c - s * s));
    const double mm = 0.01;
    EXPECT_NEAR(e.a, std::sqrt(along), mm) << "a of point " << point.point << ", figure " << figure;
    // With Q1 held fixed B moves only along A-B: b = 0, and rounding may take
    // the reference's variance across just below zero.
    EXPECT_NEAR(e.b, std::sqrt(std::fmax(across, 0)), mm)
        << "b of point " << point.point << ", figure " << figure;
    EXPECT_NEAR(cross / e.a, 0, mm) << "axes not principal, point " << point.point << ", figure " << figure;
    EXPECT_GE(e.a, e.b);
    EXPECT_GE(e.azimuth, 0);
    EXPECT_LT(e.azimuth, 180);
}

TEST_P(NoisyFigures, QualityCheckEqualsRigorousLeastSquares) {
    const Case c = GetParam();
    std::mt19937_64 rng(20240611 + static_cast<int>(c));  // the figures of the test above
    for (int figure = 0; figure < 12; ++figure) {
        const double angleSigma = Uniform(rng, 1, 3), sideSigma = Uniform(rng, 3, 10);
        const Surveyed s = Survey(rng, c, angleSigma, sideSigma);
        const ReferenceSolution ref = RigorousAdjustment(s.truth.A, s.knownD, s.obs,
                                                         SideReciprocalWeightOf(s), s.q0, Displaced(s.truth));

        Job job = JobFromObservations(s.truth.A, s.knownD, s.obs, s.tolerance, s.q0);
        RecordingDisplay display;
        const QualityCheck check = RunAdjustment(job.state, job.run, display);
        const double sigma0 = s.tolerance;

        // Every observation the reference has, with its residual, redundancy
        // number and w; the engine lists no other.
        ASSERT_EQ(check.observations.size(), ref.observations.size()) << "figure " << figure;
        double redundancySum = 0;
        for (const ObservationCheck& o : check.observations) {
            const ReferenceObservation* r = Find(ref, KindOf(o.kind), o.index);
            ASSERT_NE(r, nullptr) << "observation " << o.index << " not in the reference, figure " << figure;
            const std::string what = (o.kind == ObservationKind::Side ? "side " : "angle ") +
                                     std::to_string(o.index) + ", figure " + std::to_string(figure);
            EXPECT_NEAR(o.residual, r->residual, 0.01) << "residual of " << what;
            EXPECT_NEAR(o.redundancy, r->redundancy, 0.001) << "redundancy number of " << what;
            if (r->redundancy > 1e-3) {
                ASSERT_TRUE(o.w.has_value()) << what;
                EXPECT_NEAR(*o.w, r->residual / (sigma0 * std::sqrt(r->cofactor)), 0.01) << "w of " << what;
            } else {
                EXPECT_FALSE(o.w.has_value()) << "an observation no condition checks has no w: " << what;
            }
            redundancySum += o.redundancy;
        }
        EXPECT_NEAR(redundancySum, 9, 1e-9) << "figure " << figure;

        // [pvv] of the reference is 9 sigma0^2 of the reference.
        ExpectRelative(check.global.statistic, 9 * ref.sigma0 * ref.sigma0 / (sigma0 * sigma0), 1e-3,
                       "global test statistic", figure);

        ExpectEllipseOf(check.points[1], ref.QxB, ref.QyB, ref.QxyB, ref.sigma0, figure);
        ExpectEllipseOf(check.points[2], ref.QxC, ref.QyC, ref.QxyC, ref.sigma0, figure);
        if (s.knownD) {
            EXPECT_TRUE(check.points[3].known);
            EXPECT_FALSE(check.points[3].precision.has_value()) << "a known D has no ellipse";
        } else {
            ExpectEllipseOf(check.points[3], ref.QxD, ref.QyD, ref.QxyD, ref.sigma0, figure);
        }
    }
}

// The gradient of a function of the eight coordinates (xA, yA, .., xD, yD)
// and its standard deviation sigma0 sqrt(g Qz g^T) in the reference.
using CoordinateGradient = std::array<double, 8>;
double ReferenceSigma(const ReferenceSolution& ref, const CoordinateGradient& g) {
    double q = 0;
    for (int k = 0; k < 8; ++k)
        for (int l = 0; l < 8; ++l) q += g[k] * ref.Qz[k][l] * g[l];
    return ref.sigma0 * std::sqrt(std::fmax(q, 0));
}

// Side precision, relative ellipses and reliability against the reference's
// own covariance propagation and its own bias propagation: sides to 0.01 mm,
// relative mean errors to 0.1 %, azimuths to 0.01", relative ellipses to
// 0.01 mm, the minimal detectable bias to 0.01 of its unit, the external
// reliability to 0.01 mm.
TEST_P(NoisyFigures, FigurePrecisionEqualsRigorousLeastSquares) {
    const Case c = GetParam();
    std::mt19937_64 rng(20240611 + static_cast<int>(c));  // the figures of the tests above
    for (int figure = 0; figure < 12; ++figure) {
        const double angleSigma = Uniform(rng, 1, 3), sideSigma = Uniform(rng, 3, 10);
        const Surveyed s = Survey(rng, c, angleSigma, sideSigma);
        const double sideQ = SideReciprocalWeightOf(s);
        const ReferenceSolution ref =
            RigorousAdjustment(s.truth.A, s.knownD, s.obs, sideQ, s.q0, Displaced(s.truth));
        Job job = JobFromObservations(s.truth.A, s.knownD, s.obs, s.tolerance, s.q0);
        RecordingDisplay display;
        const QualityCheck check = RunAdjustment(job.state, job.run, display);
        const FigureSummary& f = check.figure;
        const std::array<Point, 4> P = {s.truth.A, ref.B, ref.C, s.knownD ? *s.knownD : ref.D};
        const std::string where = ", figure " + std::to_string(figure);

        // Sides: 1..5, and 6 when D is determined.
        const int ends[7][2] = {{0, 0}, {0, 1}, {1, 3}, {1, 2}, {0, 2}, {2, 3}, {0, 3}};
        ASSERT_EQ(f.sides.size(), s.knownD ? 5u : 6u) << where;
        double largestRelative = 0;
        std::array<double, 7> referenceRelative{};
        for (const SidePrecision& side : f.sides) {
            const int p = ends[side.index][0], q = ends[side.index][1];
            const double dx = P[q].x - P[p].x, dy = P[q].y - P[p].y, length = std::hypot(dx, dy);
            CoordinateGradient along{}, turn{};  // mm per mm, arc seconds per mm
            const double secondsPerMm = 3600 * kTrueDegreesPerRadian / 1000;
            along[2 * q] = dx / length, along[2 * q + 1] = dy / length;
            along[2 * p] = -dx / length, along[2 * p + 1] = -dy / length;
            turn[2 * q] = -dy / (length * length) * secondsPerMm,
                     turn[2 * q + 1] = dx / (length * length) * secondsPerMm;
            turn[2 * p] = -turn[2 * q], turn[2 * p + 1] = -turn[2 * q + 1];
            const double sigma = ReferenceSigma(ref, along);
            const std::string what = "side " + std::to_string(side.index) + where;
            EXPECT_NEAR(side.adjusted, length, 1e-5) << "length of " << what;
            EXPECT_NEAR(side.sigma, sigma, 0.01) << "sigma of " << what;
            ExpectRelative(side.relative, sigma / (length * 1000), 1e-3,
                           ("relative error of " + what).c_str(), figure);
            EXPECT_NEAR(side.azimuthSigma, ReferenceSigma(ref, turn), 0.01) << "azimuth sigma of " << what;
            referenceRelative[side.index] = sigma / (length * 1000);
            largestRelative = std::fmax(largestRelative, referenceRelative[side.index]);
        }
        EXPECT_GE(referenceRelative[f.Weakest().index], largestRelative * (1 - 1e-3))
            << "weakest side" << where;

        // Relative ellipses between every two determined points.
        ASSERT_EQ(f.relativeEllipses.size(), s.knownD ? 1u : 3u) << where;
        for (const RelativeEllipse& e : f.relativeEllipses) {
            const int p = e.from, q = e.to;
            const double s2 = ref.sigma0 * ref.sigma0;
            auto difference = [&](int k, int l) {  // cofactor of (q - p) in coordinates k and l (0 x, 1 y)
                return ref.Qz[2 * q + k][2 * q + l] - ref.Qz[2 * q + k][2 * p + l] -
                       ref.Qz[2 * p + k][2 * q + l] + ref.Qz[2 * p + k][2 * p + l];
            };
            const double qxx = difference(0, 0), qyy = difference(1, 1), qxy = difference(0, 1);
            const double th = e.azimuth / kTrueDegreesPerRadian, co = std::cos(th), si = std::sin(th);
            const double along = s2 * (co * co * qxx + 2 * co * si * qxy + si * si * qyy);
            const double across = s2 * (si * si * qxx - 2 * co * si * qxy + co * co * qyy);
            const double cross = s2 * ((qyy - qxx) * co * si + qxy * (co * co - si * si));
            const std::string what =
                "relative ellipse " + std::to_string(p) + "-" + std::to_string(q) + where;
            EXPECT_NEAR(e.a, std::sqrt(along), 0.01) << "a of " << what;
            EXPECT_NEAR(e.b, std::sqrt(std::fmax(across, 0)), 0.01) << "b of " << what;
            EXPECT_NEAR(cross / e.a, 0, 0.01) << "axes not principal, " << what;
            EXPECT_NEAR(e.meanError, std::sqrt(s2 * (qxx + qyy)), 0.01) << "mean error of " << what;
        }

        // Reliability: nabla = 4.13 sigma0 sqrt(q / r) with the reference's r,
        // and the largest shift of a point that nabla causes in the reference.
        for (const ObservationCheck& o : check.observations) {
            const ReferenceObservation* r = Find(ref, KindOf(o.kind), o.index);
            ASSERT_NE(r, nullptr);
            const std::string what =
                (o.kind == ObservationKind::Side ? "side " : "angle ") + std::to_string(o.index) + where;
            if (r->redundancy < 1e-3) {
                EXPECT_FALSE(o.mdb.has_value()) << "no bias is detectable in " << what;
                EXPECT_FALSE(o.external.has_value()) << what;
                continue;
            }
            const double q = o.kind == ObservationKind::Side    ? sideQ
                             : o.kind == ObservationKind::Angle ? 1.0
                                                                : s.q0;
            const double nabla = 4.13 * s.tolerance * std::sqrt(q / r->redundancy);
            ASSERT_TRUE(o.mdb.has_value() && o.external.has_value()) << what;
            EXPECT_NEAR(*o.mdb, nabla, 0.01) << "minimal detectable bias of " << what;
            double largest = 0;
            for (int p = 1; p <= 3; ++p)
                largest = std::fmax(
                    largest, nabla * std::hypot(r->shiftPerUnitBias[2 * p], r->shiftPerUnitBias[2 * p + 1]));
            EXPECT_NEAR(*o.external, largest, 0.01) << "external reliability of " << what;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothCasesOfD, NoisyFigures,
                         ::testing::Values(Case::KnownD, Case::MeasuredQ1, Case::FixedOrientation),
                         [](const auto& info) {
                             switch (info.param) {
                                 case Case::KnownD:
                                     return "KnownD";
                                 case Case::MeasuredQ1:
                                     return "DNotKnownMeasuredQ1";
                                 default:
                                     return "DNotKnownQ1Zero";
                             }
                         });

}  // namespace
}  // namespace korvanet::testing
