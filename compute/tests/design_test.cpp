// SPDX-License-Identifier: GPL-3.0-or-later
// A design (精度估算) through the one Compute path, held against what it
// must equal: the adjustment of a real job whose adjusted coordinates it is
// drawn from, rescaled from that job's m0 to sigma0; and the independent
// rigorous adjustment by observation equations of the same figure's
// error-free observations, whose cofactors scaled by sigma0 are the design's
// figures.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "adjust/preparation.h"
#include "adjust/tests/engine_fixtures.h"
#include "adjust/tests/rigorous_reference.h"
#include "compute/design_file.h"
#include "compute/design_run.h"
#include "compute/job_run.h"
#include "compute/job_text.h"
#include "core/scripted_session.h"

namespace korvanet::testing {
namespace {

const double kMm = 0.01;  // 0.01 mm, for every mean error and ellipse axis

std::string Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// The design the surveyor would have drawn for an adjusted job: its known
// points as entered, its determined points where the adjustment put them.
Design DesignOf(const QualityCheck& job) {
    Design d;
    d.tolerance = job.tolerance;
    for (int p = 0; p < 4; ++p) d.points[p] = {job.points[p].name, job.points[p].x, job.points[p].y};
    d.dKnown = job.points[3].known;
    return d;
}

class ExampleJob : public ::testing::TestWithParam<const char*> {};

// The precision of an adjustment depends on the shape and the weights only:
// the job's figures, scaled from its m0 to sigma0, are the design's.
TEST_P(ExampleJob, DesignEqualsTheJobsAdjustmentRescaledToSigma0) {
    SurveyState state;
    RecordingDisplay display;
    const JobRun job = RunJob(DecodeJobAnswers(Slurp(std::string(KORVANET_EXAMPLES_DIR) + "/" + GetParam())),
                              state, display);
    ASSERT_TRUE(job.quality) << job.failure.value_or("");
    const QualityCheck& adjusted = *job.quality;
    const double factor = adjusted.tolerance / adjusted.m0;

    const DesignRun design = RunDesign(DesignOf(adjusted));
    ASSERT_TRUE(design.run.quality) << design.run.failure.value_or("");
    const QualityCheck& planned = *design.run.quality;
    EXPECT_EQ(planned.scale, PrecisionScale::APriori);
    EXPECT_EQ(planned.unit, adjusted.tolerance);
    EXPECT_LT(planned.m0, 0.01) << "the design's observations are not error-free";

    for (int p = 1; p <= 3; ++p) {
        const auto& a = adjusted.points[p].precision;
        const auto& e = planned.points[p].precision;
        ASSERT_EQ(a.has_value(), e.has_value()) << "point " << p;
        if (!a) continue;
        EXPECT_NEAR(e->sx, a->sx * factor, kMm) << "mx of point " << p;
        EXPECT_NEAR(e->sy, a->sy * factor, kMm) << "my of point " << p;
        EXPECT_NEAR(e->ellipse.a, a->ellipse.a * factor, kMm) << "a of point " << p;
        EXPECT_NEAR(e->ellipse.b, a->ellipse.b * factor, kMm) << "b of point " << p;
        EXPECT_NEAR(e->ellipse.azimuth, a->ellipse.azimuth, 0.05) << "ellipse azimuth of point " << p;
    }
    const FigureSummary &fa = adjusted.figure, &fp = planned.figure;
    ASSERT_EQ(fp.sides.size(), fa.sides.size());
    for (std::size_t i = 0; i < fa.sides.size(); ++i) {
        EXPECT_NEAR(fp.sides[i].sigma, fa.sides[i].sigma * factor, kMm) << "side " << fa.sides[i].index;
        EXPECT_NEAR(fp.sides[i].azimuthSigma, fa.sides[i].azimuthSigma * factor, 0.01)
            << "azimuth of side " << fa.sides[i].index;
    }
    EXPECT_EQ(fp.Weakest().index, fa.Weakest().index);
    ASSERT_EQ(fp.relativeEllipses.size(), fa.relativeEllipses.size());
    for (std::size_t i = 0; i < fa.relativeEllipses.size(); ++i) {
        EXPECT_NEAR(fp.relativeEllipses[i].a, fa.relativeEllipses[i].a * factor, kMm)
            << "relative ellipse " << i;
        EXPECT_NEAR(fp.relativeEllipses[i].b, fa.relativeEllipses[i].b * factor, kMm)
            << "relative ellipse " << i;
    }
    ASSERT_EQ(planned.observations.size(), adjusted.observations.size());
    for (std::size_t i = 0; i < adjusted.observations.size(); ++i) {
        const ObservationCheck &a = adjusted.observations[i], &e = planned.observations[i];
        EXPECT_NEAR(e.redundancy, a.redundancy, 1e-4) << "redundancy number of observation " << i;
        ASSERT_EQ(e.mdb.has_value(), a.mdb.has_value()) << i;
        if (a.mdb) {
            EXPECT_NEAR(*e.mdb, *a.mdb, 0.01) << "minimal detectable bias of observation " << i;
            EXPECT_NEAR(*e.external, *a.external, kMm) << "external reliability of observation " << i;
        }
    }
    EXPECT_EQ(fp.smallestAngle, fa.smallestAngle);
}

INSTANTIATE_TEST_SUITE_P(BothExamples, ExampleJob, ::testing::Values("known-d.txt", "free-d.txt"),
                         [](const auto& info) {
                             return std::string(info.param).substr(0, 6) == "known-"
                                        ? std::string("KnownD")
                                        : std::string("DDetermined");
                         });

// The cofactor of a function of the eight coordinates with gradient g.
double Cofactor(const ReferenceSolution& ref, const std::array<double, 8>& g,
                const std::array<double, 8>& h) {
    double q = 0;
    for (int k = 0; k < 8; ++k)
        for (int l = 0; l < 8; ++l) q += g[k] * ref.Qz[k][l] * h[l];
    return q;
}

// An ellipse with semi-axes a, b and azimuth of a, against the covariance
// sigma0^2 [qxx qxy; qxy qyy]: the variance along the major axis is a^2,
// across it b^2, and the two are uncorrelated.
void ExpectEllipse(double a, double b, double azimuth, double qxx, double qyy, double qxy, double sigma0,
                   const std::string& what) {
    const double s2 = sigma0 * sigma0, th = azimuth / kTrueDegreesPerRadian, c = std::cos(th),
                 s = std::sin(th);
    EXPECT_NEAR(a, std::sqrt(s2 * (c * c * qxx + 2 * c * s * qxy + s * s * qyy)), kMm) << "a of " << what;
    EXPECT_NEAR(b, std::sqrt(std::fmax(s2 * (s * s * qxx - 2 * c * s * qxy + c * c * qyy), 0)), kMm)
        << "b of " << what;
    EXPECT_NEAR(s2 * ((qyy - qxx) * c * s + qxy * (c * c - s * s)) / a, 0, kMm) << "axes of " << what;
}

struct Shape {
    const char* name;
    TrueFigure figure;
    bool dKnown;
    float tolerance;
};

void PrintTo(const Shape& shape, std::ostream* out) { *out << shape.name; }

class DesignedShape : public ::testing::TestWithParam<Shape> {};

TEST_P(DesignedShape, DesignEqualsRigorousLeastSquaresScaledBySigma0) {
    const Shape& shape = GetParam();
    const TrueFigure& t = shape.figure;
    Design design;
    design.tolerance = shape.tolerance;
    design.dKnown = shape.dKnown;
    design.points = {
        {{"甲", t.A.x, t.A.y}, {"乙", t.B.x, t.B.y}, {"丙", t.C.x, t.C.y}, {"丁", t.D.x, t.D.y}}};
    const DesignRun run = RunDesign(design);
    ASSERT_TRUE(run.run.quality) << run.run.failure.value_or("");
    const QualityCheck& q = *run.run.quality;

    // The reference: the same figure observed without error, its sides
    // weighted by the preparation's rule, Q1 (D determined) observed.
    FigureObservations obs;
    TrueAngles(t.A, t.B, t.C, t.D, obs.angle);
    TrueSides(t, obs.side);
    const std::vector<double> sides(obs.side, obs.side + 7);
    const double sideQ = AprioriSideWeights(sides, shape.tolerance).SideReciprocalWeight;
    std::optional<Point> knownD;
    if (shape.dKnown) {
        knownD = t.D;
        obs.side[6] = 0;
    } else {
        obs.orientationAngle = 30;
        obs.startAzimuth = std::fmod(AzimuthDegrees(t.A, t.B) - 30 + 360, 360);
    }
    TrueFigure start = t;
    start.B.x += 0.3, start.C.y -= 0.4, start.D.x += 0.2;
    const ReferenceSolution ref = RigorousAdjustment(t.A, knownD, obs, sideQ, 1, start);
    const double sigma0 = shape.tolerance;
    const std::array<Point, 4> P = {t.A, t.B, t.C, t.D};

    for (int p = 1; p <= 3; ++p) {
        const auto& m = q.points[p].precision;
        ASSERT_EQ(m.has_value(), p < 3 || !shape.dKnown) << "point " << p;
        if (!m) continue;
        const double qxx = ref.Qz[2 * p][2 * p], qyy = ref.Qz[2 * p + 1][2 * p + 1],
                     qxy = ref.Qz[2 * p][2 * p + 1];
        EXPECT_NEAR(m->sx, sigma0 * std::sqrt(qxx), kMm) << "mx of point " << p;
        EXPECT_NEAR(m->sy, sigma0 * std::sqrt(qyy), kMm) << "my of point " << p;
        ExpectEllipse(m->ellipse.a, m->ellipse.b, m->ellipse.azimuth, qxx, qyy, qxy, sigma0,
                      "ellipse of point " + std::to_string(p));
    }
    for (const SidePrecision& s : q.figure.sides) {
        const Point &from = P[s.from], &to = P[s.to];
        const double dx = to.x - from.x, dy = to.y - from.y, length = std::hypot(dx, dy);
        std::array<double, 8> along{}, turn{};  // mm per mm, arc seconds per mm
        const double secondsPerMm = 3600 * kTrueDegreesPerRadian / 1000;
        along[2 * s.to] = dx / length, along[2 * s.to + 1] = dy / length;
        along[2 * s.from] = -dx / length, along[2 * s.from + 1] = -dy / length;
        turn[2 * s.to] = -dy / (length * length) * secondsPerMm,
                 turn[2 * s.to + 1] = dx / (length * length) * secondsPerMm;
        turn[2 * s.from] = -turn[2 * s.to], turn[2 * s.from + 1] = -turn[2 * s.to + 1];
        const double sigma = sigma0 * std::sqrt(std::fmax(Cofactor(ref, along, along), 0));
        EXPECT_NEAR(s.sigma, sigma, kMm) << "sigma of side " << s.index;
        EXPECT_NEAR(s.relative, sigma / (length * 1000), 1e-3 * sigma / (length * 1000))
            << "side " << s.index;
        EXPECT_NEAR(s.azimuthSigma, sigma0 * std::sqrt(std::fmax(Cofactor(ref, turn, turn), 0)), 0.01)
            << "azimuth sigma of side " << s.index;
    }
    ASSERT_EQ(q.figure.relativeEllipses.size(), shape.dKnown ? 1u : 3u);
    for (const RelativeEllipse& e : q.figure.relativeEllipses) {
        std::array<double, 8> dx{}, dy{};
        dx[2 * e.to] = 1, dx[2 * e.from] = -1, dy[2 * e.to + 1] = 1, dy[2 * e.from + 1] = -1;
        const double qxx = Cofactor(ref, dx, dx), qyy = Cofactor(ref, dy, dy), qxy = Cofactor(ref, dx, dy);
        const std::string what = "relative ellipse " + std::to_string(e.from) + "-" + std::to_string(e.to);
        ExpectEllipse(e.a, e.b, e.azimuth, qxx, qyy, qxy, sigma0, what);
        EXPECT_NEAR(e.meanError, sigma0 * std::sqrt(qxx + qyy), kMm) << what;
    }
    ASSERT_EQ(q.observations.size(), ref.observations.size());
    for (const ObservationCheck& o : q.observations) {
        const ReferenceKind kind = o.kind == ObservationKind::Side    ? ReferenceKind::Side
                                   : o.kind == ObservationKind::Angle ? ReferenceKind::Angle
                                                                      : ReferenceKind::Orientation;
        const ReferenceObservation* r = nullptr;
        for (const ReferenceObservation& c : ref.observations)
            if (c.kind == kind && c.index == o.index) r = &c;
        ASSERT_NE(r, nullptr);
        const std::string what = std::to_string(static_cast<int>(kind)) + "/" + std::to_string(o.index);
        EXPECT_NEAR(o.redundancy, r->redundancy, 1e-3) << "redundancy number of " << what;
        if (r->redundancy < 1e-3) {
            EXPECT_FALSE(o.mdb.has_value()) << what;
            continue;
        }
        ASSERT_TRUE(o.mdb && o.external) << what;
        const double nabla =
            4.13 * sigma0 * std::sqrt((kind == ReferenceKind::Side ? sideQ : 1.0) / r->redundancy);
        EXPECT_NEAR(*o.mdb, nabla, 0.01) << "minimal detectable bias of " << what;
        double largest = 0;
        for (int p = 1; p <= 3; ++p)
            largest = std::fmax(
                largest, nabla * std::hypot(r->shiftPerUnitBias[2 * p], r->shiftPerUnitBias[2 * p + 1]));
        EXPECT_NEAR(*o.external, largest, kMm) << "external reliability of " << what;
    }
}

// A 2 km square, and a figure 3 km long and 400 m wide whose angles at the
// ends are under 8 degrees; x north, y east, A, B, C, D turning clockwise.
const TrueFigure kSquare = {{3500000, 500000}, {3502000, 500000}, {3502000, 502000}, {3500000, 502000}};
const TrueFigure kLongThin = {{3500000, 500000}, {3503000, 500000}, {3503000, 500400}, {3500000, 500400}};

INSTANTIATE_TEST_SUITE_P(Shapes, DesignedShape,
                         ::testing::Values(Shape{"SquareKnownD", kSquare, true, 2.5f},
                                           Shape{"SquareDDetermined", kSquare, false, 2.5f},
                                           Shape{"LongThinKnownD", kLongThin, true, 1.8f},
                                           Shape{"LongThinDDetermined", kLongThin, false, 5.0f}),
                         [](const auto& info) { return std::string(info.param.name); });

// A design file the program writes reads back to the very same design,
// whatever names the surveyor gave and whatever digits the coordinates have;
// a name the file could not keep is refused before it is written.
TEST(DesignFile, WrittenDesignReadsBackTheSame) {
    Design design;
    design.tolerance = 2.3;
    design.points = {{{"青龙山(旧)", 3521408.2500000005, 512736.48},
                      {"A-1,;\"'<>&=+@!known", 3523210.1, 0.1 + 0.2 + 512402.6},
                      {std::string(600, 'x') + "石门", 3523650.7, 514380.3},
                      {"tolerance", 3521735.98, 514912.655}}};
    for (bool dKnown : {true, false}) {
        design.dKnown = dKnown;
        const Design back = ReadDesignFile(DesignFileText(design));
        EXPECT_EQ(back.tolerance, design.tolerance);
        EXPECT_EQ(back.dKnown, dKnown);
        for (int p = 0; p < 4; ++p) {
            EXPECT_EQ(back.points[p].name, design.points[p].name) << p;
            EXPECT_EQ(back.points[p].x, design.points[p].x) << p;
            EXPECT_EQ(back.points[p].y, design.points[p].y) << p;
        }
    }
    struct Name {
        const char* name;
        const char* reason;
    } refused[] = {
        {"", "B 点的点名是空的"},
        {"石 门", "含有空格或 #"},
        {"石\xE3\x80\x80门", "含有空格或 #"},  // the ideographic blank
        {"石#门", "含有空格或 #"},
        {"石\t门", "含有控制字符 U+0009"},
        {"石\xC2\x9B门", "含有控制字符 U+009B"},
    };
    for (const Name& n : refused) {
        Design named = design;
        named.points[1].name = n.name;
        try {
            DesignFileText(named);
            ADD_FAILURE() << "written: \"" << n.name << "\"";
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(n.reason), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace korvanet::testing
