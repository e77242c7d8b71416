// SPDX-License-Identifier: GPL-3.0-or-later
// The quality check through the real path of a job (the Compute command
// answered from the example jobs), its JSON and its drawing.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "compute/blunder_advice_texts.h"
#include "compute/figure_drawing.h"
#include "compute/job_json.h"
#include "compute/job_run.h"
#include "compute/job_text.h"
#include "core/scripted_session.h"

namespace korvanet {
namespace {

using Json = nlohmann::json;

std::vector<std::string> ExampleAnswers(const std::string& name) {
    std::ifstream in(std::string(KORVANET_EXAMPLES_DIR) + "/" + name + ".txt");
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> answers = SplitJobLines(text.str());
    EXPECT_GT(answers.size(), 20u) << "example job " << name;
    return answers;
}

// The line of angle i in a job: after the tolerance, A, D, (T0, Q1) and the names.
std::size_t AngleLine(const std::vector<std::string>& answers, int i) {
    const bool dNotKnown = answers[3] == "0" && answers[4] == "0";
    return (dNotKnown ? 11 : 9) + (i - 1);
}

// The packed angle d.mmsss of a job line (seconds to a tenth) made `seconds` larger.
std::string PackedPlus(const std::string& packed, int seconds) {
    const std::size_t point = packed.find('.');
    const int d = std::stoi(packed.substr(0, point));
    const int mm = std::stoi(packed.substr(point + 1, 2));
    const int tenths = std::stoi(packed.substr(point + 3, 3));
    int total = (d * 3600 + mm * 60) * 10 + tenths + seconds * 10;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d.%02d%03d", total / 36000, total / 600 % 60, total % 600);
    return buffer;
}

struct Completed {
    SurveyState state;
    JobRun run;
};

Completed RunAnswers(std::vector<std::string> answers) {
    SurveyState state;
    RecordingDisplay display;
    JobRun run = RunJob(std::move(answers), state, display);
    return {std::move(state), std::move(run)};
}

const char* const kExamples[] = {"known-d", "free-d"};

// One angle typed 60" wrong is found by the w-test and fails the global test;
// the figure as surveyed passes and has no suspect.
TEST(QualityCheck, ABlunderOf60SecondsInAnyAngleIsNamed) {
    for (const char* example : kExamples) {
        const std::vector<std::string> answers = ExampleAnswers(example);
        const Completed clean = RunAnswers(answers);
        ASSERT_FALSE(clean.run.failure.has_value()) << *clean.run.failure;
        ASSERT_TRUE(clean.run.quality.has_value());
        EXPECT_TRUE(clean.run.quality->global.passed)
            << example << ": T = " << clean.run.quality->global.statistic;
        EXPECT_EQ(clean.run.quality->Suspect(), nullptr) << example;
        for (const MisclosureCheck& m : clean.run.quality->misclosures)
            EXPECT_FALSE(m.exceeded) << example << ": " << MisclosureName(m) << " = " << m.value << ", limit "
                                     << m.limit;

        for (int i = 1; i <= 8; ++i) {
            std::vector<std::string> wrong = answers;
            std::string& line = wrong[AngleLine(answers, i)];
            line = PackedPlus(line, 60);
            const Completed c = RunAnswers(wrong);
            ASSERT_TRUE(c.run.quality.has_value()) << example << ", angle " << i;
            const QualityCheck& q = *c.run.quality;
            const std::string what = std::string(example) + ", angle " + std::to_string(i) + " 60\" wrong";
            EXPECT_FALSE(q.global.passed) << what << ": T = " << q.global.statistic;
            ASSERT_NE(q.Suspect(), nullptr) << what;
            EXPECT_EQ(q.Suspect()->kind, ObservationKind::Angle) << what;
            EXPECT_EQ(q.Suspect()->index, i) << what << ", w = " << q.Suspect()->w.value_or(0);
            // Its triangle no longer closes within the limit.
            EXPECT_TRUE(q.misclosures[i <= 4 ? 0 : 1].exceeded) << what;
        }
    }
}

// The advice in the words the window and the report give: the examples'
// sides fit far better than their weights (the known-D figure's sides hold
// about one redundancy, so its estimate is flagged as an order of
// magnitude), nothing to take out until an angle is typed 40" wrong; sides
// that fit worse than their weights say so, and what cannot be estimated
// gives its reason.
TEST(QualityCheck, TheAdviceOnBlundersAndWeightsInWords) {
    const std::map<std::string, std::vector<std::string>> expected = {
        {"known-d",
         {"测角: 方差因子 0.669, 多余观测分量 7.96, 估计测角中误差 2.04 秒",
          "测边: 方差因子 0.0068, 多余观测分量 1.04, 先验边长中误差应乘以 0.082",
          "边长的符合程度约比先验权所设想的好 12.2 倍; 按估计值, 测边相对中误差为 1/1135186; "
          "边长组的多余观测分量不足 2, 只可看作量级 (迭代 9 次)。"}},
        {"free-d",
         {"测角: 方差因子 0.164, 多余观测分量 6.02, 估计测角中误差 1.21 秒",
          "测边: 方差因子 0.1226, 多余观测分量 2.98, 先验边长中误差应乘以 0.350",
          "边长的符合程度约比先验权所设想的好 2.9 倍; 按估计值, 测边相对中误差为 1/227040 (迭代 20 次)。"}}};
    for (const auto& [example, lines] : expected) {
        const std::vector<std::string> answers = ExampleAnswers(example);
        const Completed clean = RunAnswers(answers);
        ASSERT_TRUE(clean.run.quality.has_value()) << example;
        const BlunderAdvice advice = AdviseOnBlunders(*clean.run.quality);
        const std::vector<std::string> variance = VarianceLines(advice.variance);
        EXPECT_EQ(std::vector<std::string>(variance.begin() + 1, variance.end()), lines) << example;
        EXPECT_EQ(SnoopingLines(advice.snooping).back(), "没有 |w| 超过 3.29 的观测, 无需剔除。") << example;
    }
    std::vector<std::string> wrong = ExampleAnswers("free-d");
    wrong[AngleLine(wrong, 3)] = PackedPlus(wrong[AngleLine(wrong, 3)], 40);
    const Completed c = RunAnswers(wrong);
    ASSERT_TRUE(c.run.quality.has_value());
    const std::vector<std::string> snooping = SnoopingLines(AdviseOnBlunders(*c.run.quality).snooping);
    ASSERT_EQ(snooping.size(), 2u);
    EXPECT_EQ(snooping[1], "1. 去掉 B(3): 去掉时 w = -11.33, 去掉后 m0 = 1.21 秒");

    VarianceEstimate worse;
    worse.components = VarianceComponents{{1.0, 6.5}, {6.25, 2.5}, 2.5, 2.5, std::nullopt, 12};
    EXPECT_EQ(VarianceLines(worse).back(), "边长的符合程度约比先验权所设想的差 2.5 倍 (迭代 12 次)。");
    VarianceEstimate none;
    none.reason = "迭代 200 次未收敛, 方差分量不可估";
    EXPECT_EQ(VarianceLines(none).back(), none.reason);
    EXPECT_EQ(VarianceLines(none).size(), 2u);
}

// The JSON of a completed job parses with the same library, holds every
// field, and its numbers are the run's to the last bit.
TEST(QualityCheck, JsonOfACompletedJobHoldsEveryField) {
    for (const char* example : kExamples) {
        const Completed c = RunAnswers(ExampleAnswers(example));
        ASSERT_TRUE(c.run.quality.has_value());
        const std::string text = JobJson(std::string(example) + ".txt", c.run, c.state);
        EXPECT_EQ(text.find('\n'), std::string::npos) << "one job, one line";
        const Json j = Json::parse(text);
        const bool dKnown = std::string(example) == "known-d";

        EXPECT_EQ(j.at("job"), std::string(example) + ".txt");
        EXPECT_EQ(j.at("completed"), true);
        EXPECT_EQ(j.at("tolerance_arcsec").get<double>(), dKnown ? 2.5 : 3.0);
        EXPECT_EQ(j.at("m0_arcsec").get<double>(), static_cast<double>(c.state.M0));
        EXPECT_EQ(j.at("redundancy"), 9);
        EXPECT_EQ(j.at("global_test").at("critical").get<double>(), 16.919);
        EXPECT_TRUE(j.at("global_test").at("statistic").is_number());
        EXPECT_EQ(j.at("global_test").at("passed"), true);
        EXPECT_TRUE(j.at("suspect").is_null());

        const Json& points = j.at("points");
        ASSERT_EQ(points.size(), 4u);
        for (int p = 0; p < 4; ++p) {
            const Json& point = points[p];
            EXPECT_EQ(point.at("id"), std::string(1, "ABCD"[p]));
            EXPECT_EQ(point.at("name"), c.state.PointNames[p]);
            const bool known = p == 0 || (p == 3 && dKnown);
            EXPECT_EQ(point.at("known"), known) << p;
            if (p == 1 || p == 2 || (p == 3 && !dKnown)) {
                EXPECT_EQ(point.at("x").get<double>(), c.state.X[p]) << "x of point " << p;
                EXPECT_EQ(point.at("y").get<double>(), c.state.Y[p]) << "y of point " << p;
            }
            for (const char* field : {"sx_mm", "sy_mm", "sp_mm", "ellipse"})
                EXPECT_EQ(point.contains(field), !known) << field << " of point " << p;
            if (!known) {
                const Json& e = point.at("ellipse");
                EXPECT_GE(e.at("a_mm").get<double>(), e.at("b_mm").get<double>());
                EXPECT_GE(e.at("azimuth_deg").get<double>(), 0);
                EXPECT_LT(e.at("azimuth_deg").get<double>(), 180);
                // The ellipse holds the whole point error: a^2 + b^2 = sp^2.
                EXPECT_NEAR(std::hypot(e.at("a_mm").get<double>(), e.at("b_mm").get<double>()),
                            point.at("sp_mm").get<double>(), 1e-9);
            }
        }
        // B and C carry the mean errors the window shows.
        EXPECT_NEAR(points[1].at("sx_mm").get<double>(), c.state.MxB, 1e-5);
        EXPECT_NEAR(points[2].at("sy_mm").get<double>(), c.state.MyC, 1e-5);

        // Orientation (free D with a measured Q1), eight angles, five or six sides.
        const Json& obs = j.at("observations");
        ASSERT_EQ(obs.size(), dKnown ? 13u : 15u);
        double redundancy = 0;
        std::map<std::string, int> kinds;
        for (const Json& o : obs) {
            const std::string kind = o.at("kind");
            ++kinds[kind];
            const double perUnit = kind == "side" ? 1000 : 3600;  // residual in mm, or arc seconds
            EXPECT_NEAR(o.at("residual").get<double>(),
                        (o.at("adjusted").get<double>() - o.at("observed").get<double>()) * perUnit, 1e-6)
                << kind << " " << o.at("index");
            EXPECT_EQ(o.at("w").is_null(), kind == "orientation") << kind << " " << o.at("index");
            redundancy += o.at("redundancy").get<double>();
        }
        EXPECT_EQ(kinds["orientation"], dKnown ? 0 : 1);
        EXPECT_EQ(kinds["angle"], 8);
        EXPECT_EQ(kinds["side"], dKnown ? 5 : 6);
        EXPECT_NEAR(redundancy, 9, 1e-9);

        const Json& mis = j.at("misclosures");
        ASSERT_EQ(mis.size(), 11u);
        const char* const names[] = {"triangle 1", "triangle 2", "w(1)", "w(2)", "w(3)", "w(4)",
                                     "w(5)",       "w(6)",       "w(7)", "w(8)", "w(9)"};
        for (int m = 0; m < 11; ++m) {
            EXPECT_EQ(mis[m].at("name"), names[m]);
            EXPECT_EQ(mis[m].at("unit"), m <= 2 ? "arcsec" : "mm");
            EXPECT_GT(mis[m].at("mean_error").get<double>(), 0);
            EXPECT_EQ(mis[m].at("limit").get<double>(), 2 * mis[m].at("mean_error").get<double>());
            EXPECT_EQ(mis[m].at("exceeded"), false);
        }
        EXPECT_EQ(mis[0].at("value").get<double>(), c.state.TriangleW[1]);
        EXPECT_EQ(mis[3].at("value").get<double>(), static_cast<double>(c.state.w[2] * 1000.0f));
    }
}

TEST(QualityCheck, JsonOfAFailedJobCarriesItsMessage) {
    std::vector<std::string> answers = ExampleAnswers("known-d");
    answers.resize(12);  // the job breaks off in the middle of the angles
    const Completed c = RunAnswers(answers);
    ASSERT_TRUE(c.run.failure.has_value());
    const Json j = Json::parse(JobJson("broken.txt", c.run, c.state));
    EXPECT_EQ(j.size(), 3u);
    EXPECT_EQ(j.at("job"), "broken.txt");
    EXPECT_EQ(j.at("completed"), false);
    EXPECT_EQ(j.at("error"), *c.run.failure);
}

struct Drawn {
    double x, y;
    bool known;
};

std::map<char, Drawn> DrawnPoints(const std::string& svg) {
    std::map<char, Drawn> points;
    const std::regex group(
        R"re(<g class="point (known|determined)" id="point-([ABCD])" transform="translate\(([-0-9.]+) ([-0-9.]+)\)")re");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), group); it != std::sregex_iterator(); ++it) {
        points[(*it)[2].str()[0]] = {std::stod((*it)[3]), std::stod((*it)[4]), (*it)[1] == "known"};
    }
    return points;
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The drawing is to scale with north up and east to the right, marks the
// known points, draws one ellipse per determined point and shows the suspect.
TEST(QualityCheck, DrawingIsToScaleWithNorthUp) {
    for (const char* example : kExamples) {
        std::vector<std::string> answers = ExampleAnswers(example);
        answers[AngleLine(answers, 6)] = PackedPlus(answers[AngleLine(answers, 6)], -60);
        const Completed c = RunAnswers(answers);
        ASSERT_TRUE(c.run.quality.has_value());
        const QualityCheck& q = *c.run.quality;
        const std::string svg = FigureSvg(q);

        const std::map<char, Drawn> drawn = DrawnPoints(svg);
        ASSERT_EQ(drawn.size(), 4u) << example;
        // Pixels per metre from A-C, the longest line in both figures.
        const double ground = std::hypot(q.points[2].x - q.points[0].x, q.points[2].y - q.points[0].y);
        const double scale =
            std::hypot(drawn.at('C').x - drawn.at('A').x, drawn.at('C').y - drawn.at('A').y) / ground;
        for (int p = 1; p < 4; ++p) {
            const Drawn& d = drawn.at("ABCD"[p]);
            const double north = q.points[p].x - q.points[0].x, east = q.points[p].y - q.points[0].y;
            EXPECT_NEAR(d.x - drawn.at('A').x, east * scale, 0.05) << example << ", east of point " << p;
            EXPECT_NEAR(d.y - drawn.at('A').y, -north * scale, 0.05) << example << ", north of point " << p;
            EXPECT_EQ(d.known, q.points[p].known) << example << ", point " << p;
        }
        EXPECT_TRUE(drawn.at('A').known);
        EXPECT_EQ(Count(svg, "<ellipse"), std::string(example) == "known-d" ? 2 : 3) << example;
        EXPECT_EQ(Count(svg, "<line class=\"side"), 6);
        EXPECT_NE(svg.find("id=\"angle-6\""), std::string::npos)
            << example << ": the suspect angle is marked";
        for (int p = 0; p < 4; ++p) EXPECT_NE(svg.find(c.state.PointNames[p]), std::string::npos) << p;
    }
}

}  // namespace
}  // namespace korvanet
