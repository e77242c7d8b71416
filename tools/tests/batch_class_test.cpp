// SPDX-License-Identifier: GPL-3.0-or-later
// Order classes through the batch tool as a surveyor runs it: jobs of
// figures made from true coordinates with chosen errors, checked with
// --json --class against the shipped table and against a user's own file.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "testing/tool_run.h"

namespace {

using Json = nlohmann::json;

struct BatchRun {
    int exitCode;
    std::string out;
    std::string err;
};

std::string Scratch(const std::string& what) {
    return testing::TempDir() + "/" + testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
           what;
}

BatchRun RunBatch(const std::vector<std::string>& args) {
    std::vector<std::string> argv{KORVANET_BATCH};
    argv.insert(argv.end(), args.begin(), args.end());
    const korvanet::ToolRun run = korvanet::RunTool(argv, {"/dev/null", Scratch("out"), Scratch("err")});
    if (run.exitCode < 0) ADD_FAILURE() << run.err;
    return {run.exitCode, run.out, run.err};
}

struct Point {
    double x, y;  // metres, x north, y east
};

double Azimuth(const Point& p, const Point& q) {
    double a = std::atan2(q.y - p.y, q.x - p.x) * 180 / std::numbers::pi;
    return a < 0 ? a + 360 : a;
}

// The packed form d.mmss of an angle in degrees, seconds to 0.01.
std::string Packed(double degrees) {
    const long long hundredths = std::llround(degrees * 360000);
    char text[40];
    std::snprintf(text, sizeof text, "%lld.%02lld%04lld", hundredths / 360000, hundredths / 6000 % 60,
                  hundredths % 6000);
    return text;
}

// A job of the figure A, B, C, D with D known: each angle observed with the
// error given in arc seconds, each side with the error in millimetres.
std::string FigureJob(const std::string& name, double tolerance, const Point (&P)[4],
                      const double (&angleError)[9], const double (&sideErrorMm)[6]) {
    // Angle i at point at[i], the turn from the side to from[i] to the side to to[i].
    const int at[9] = {0, 0, 1, 1, 2, 2, 3, 3, 0}, from[9] = {0, 1, 3, 2, 0, 3, 1, 0, 2},
              to[9] = {0, 2, 0, 3, 1, 0, 2, 1, 3};
    const int sideFrom[6] = {0, 0, 1, 1, 0, 2}, sideTo[6] = {0, 1, 3, 2, 2, 3};
    std::ostringstream job;
    job.precision(12);
    job << tolerance << '\n'
        << P[0].x << '\n'
        << P[0].y << '\n'
        << P[3].x << '\n'
        << P[3].y << "\n甲\n乙\n丙\n丁\n";
    for (int i = 1; i <= 8; ++i) {
        double angle = Azimuth(P[at[i]], P[to[i]]) - Azimuth(P[at[i]], P[from[i]]);
        if (angle < 0) angle += 360;
        job << Packed(angle + angleError[i] / 3600) << '\n';
    }
    for (int i = 1; i <= 5; ++i) {
        const Point &p = P[sideFrom[i]], &q = P[sideTo[i]];
        char side[40];
        std::snprintf(side, sizeof side, "%.4f", std::hypot(q.x - p.x, q.y - p.y) + sideErrorMm[i] / 1000);
        job << side << '\n';
    }
    const std::string path = Scratch(name + ".txt");
    std::ofstream(path) << job.str();
    return path;
}

Json ClassJson(const std::string& orderClass, const std::string& job) {
    const BatchRun r = RunBatch({"--json", "--class", orderClass, job});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return Json::parse(r.out);
}

const Json* Check(const Json& j, const std::string& kind, const std::string& item) {
    for (const Json& c : j.at("checks"))
        if (c.at("kind") == kind && (item.empty() || c.at("item") == item)) return &c;
    return nullptr;
}

// A 1 km square with D known; small errors close ABC by 2.5", ACD by -0.2",
// ABD by 2.1" and BCD by 0.2".
const Point kSquare[4] = {{3500000, 500000}, {3501000, 500000}, {3501000, 501000}, {3500000, 501000}};
const double kSmallAngleErrors[9] = {0, 1.5, 0, 1.0, 0, 0, -0.8, 0.6, 0};
const double kSideErrors[6] = {0, 3, -2, 4, -1, 2};

TEST(OrderClasses, ASquareMeetsTheFourthOrderAndOneAngle8SecondsOffFailsItOnItsTriangles) {
    const Json good = ClassJson("四等", FigureJob("square", 2.0, kSquare, kSmallAngleErrors, kSideErrors));
    EXPECT_EQ(good.at("class").at("name"), "四等");
    EXPECT_EQ(good.at("class").at("standard"), "GB 50026-2007 工程测量规范");
    for (const Json& c : good.at("checks")) EXPECT_TRUE(c.at("passed").get<bool>()) << c.dump();
    EXPECT_EQ(good.at("checks").size(), 8u)
        << "four closures, m_β, smallest angle, weakest and measured sides";
    EXPECT_TRUE(good.at("not_checked").empty());
    EXPECT_EQ(good.at("compliant"), true);
    // Closures of the observed angles as they were typed, to the 0.01" of the job.
    const double closures[4] = {2.5, -0.2, 2.1, 0.2};
    for (int t = 0; t < 4; ++t) {
        const Json& triangle = good.at("triangles")[t];
        EXPECT_EQ(triangle.at("name"), std::string("ABC ACD ABD BCD").substr(4 * t, 3));
        EXPECT_NEAR(triangle.at("closure_arcsec").get<double>(), closures[t], 0.015) << triangle.dump();
    }
    EXPECT_NEAR(good.at("ferrero_arcsec").get<double>(), std::sqrt((6.25 + 0.04 + 4.41 + 0.04) / 12), 0.01);
    // Every figure of the precision summary is there: five observed sides
    // with D known, one relative ellipse (B-C), and reliability on every observation.
    EXPECT_EQ(good.at("sides").size(), 5u);
    ASSERT_EQ(good.at("relative_ellipses").size(), 1u);
    EXPECT_EQ(good.at("relative_ellipses")[0].at("from"), "B");
    EXPECT_EQ(good.at("relative_ellipses")[0].at("to"), "C");
    for (const Json& o : good.at("observations")) {
        EXPECT_GT(o.at("mdb").get<double>(), 0) << o.dump();
        EXPECT_GT(o.at("external_mm").get<double>(), 0) << o.dump();
    }
    EXPECT_NEAR(good.at("smallest_angle").at("degrees").get<double>(), 45, 0.01);

    double blunder[9];
    std::copy(std::begin(kSmallAngleErrors), std::end(kSmallAngleErrors), blunder);
    blunder[1] += 8;  // angle 1 lies in ABC and ABD
    const Json bad = ClassJson("四等", FigureJob("square-8", 2.0, kSquare, blunder, kSideErrors));
    EXPECT_EQ(bad.at("compliant"), false);
    for (const char* t : {"ABC", "ABD"}) {
        const Json* c = Check(bad, "triangle_closure", t);
        ASSERT_NE(c, nullptr) << t;
        EXPECT_FALSE(c->at("passed").get<bool>()) << c->dump();
        EXPECT_EQ(c->at("limit").get<double>(), 9.0);
    }
    for (const char* t : {"ACD", "BCD"})
        EXPECT_TRUE(Check(bad, "triangle_closure", t)->at("passed").get<bool>());
}

// Quadrilaterals whose angle 1 at A is alpha and every other angle at least
// 39 degrees: 27 passes as the exception for a single angle, 20 fails.
TEST(OrderClasses, TheSmallestAnglePassesAt27DegreesAsTheExceptionAndFailsAt20) {
    for (const double alpha : {27.0, 20.0}) {
        const double a = alpha * std::numbers::pi / 180;
        const Point figure[4] = {
            {3500000, 500000},
            {3501000, 500000},
            {3500000 + 1400 * std::cos(a), 500000 + 1400 * std::sin(a)},
            {3500000 + (alpha == 27.0 ? 350.0 : 500.0), 500000 + (alpha == 27.0 ? 850.0 : 800.0)}};
        const Json j =
            ClassJson("四等", FigureJob("quadrilateral", 1.5, figure, kSmallAngleErrors, kSideErrors));
        const Json* c = Check(j, "smallest_angle", "");
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->at("item"), "B(1)") << c->dump();
        EXPECT_NEAR(c->at("value").get<double>(), alpha, 0.01) << c->dump();
        EXPECT_EQ(c->at("limit").get<double>(), 25.0) << c->dump();
        if (alpha == 27.0) {
            EXPECT_TRUE(c->at("passed").get<bool>()) << c->dump();
            EXPECT_NE(c->at("note").get<std::string>().find("例外"), std::string::npos) << c->dump();
            EXPECT_EQ(j.at("compliant"), true) << j.at("checks").dump();
        } else {
            EXPECT_FALSE(c->at("passed").get<bool>()) << c->dump();
            EXPECT_EQ(j.at("compliant"), false);
        }
    }
}

// A user's file in the configuration folder overrides 四等 by name (its
// figures replace the shipped ones, a figure it leaves out is not checked)
// and adds a class; the shipped classes stay.  An unknown name is refused
// with the names of the table.
TEST(OrderClasses, TheUsersFileOverridesAClassByName) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(config, nullptr) << "the tests run with folders of their own";
    std::filesystem::create_directories(std::string(config) + "/korvanet");
    std::ofstream(std::string(config) + "/korvanet/order-classes.json") << R"({"classes": [
        {"name": "四等", "standard": "本单位规定", "clause": "第 7 条", "triangle_closure_arcsec": 2.0},
        {"name": "自定等级", "standard": "本单位规定", "angle_mean_error_arcsec": 3}]})";

    const Json j = ClassJson("四等", FigureJob("square", 2.0, kSquare, kSmallAngleErrors, kSideErrors));
    EXPECT_EQ(j.at("class").at("standard"), "本单位规定");
    EXPECT_EQ(j.at("class").at("clause"), "第 7 条");
    EXPECT_EQ(j.at("checks").size(), 4u) << "only the four closures: " << j.at("checks").dump();
    EXPECT_FALSE(Check(j, "triangle_closure", "ABC")->at("passed").get<bool>()) << "2.5\" > 2.0\"";
    EXPECT_TRUE(Check(j, "triangle_closure", "ACD")->at("passed").get<bool>());
    EXPECT_EQ(j.at("not_checked"),
              Json::array({"ferrero", "smallest_angle", "weakest_side", "measured_sides"}));
    EXPECT_EQ(j.at("compliant"), false);

    const BatchRun list = RunBatch({"--classes"});
    EXPECT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("四等\t-\t-\t-\t-\t2″\t-\t本单位规定 第 7 条\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\n自定等级\t"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\n三等\t4.5 km\t1.8″\t1/150000\t1/70000\t7″\t30° (25°)\tGB 50026-2007"),
              std::string::npos)
        << list.out;

    const BatchRun unknown = RunBatch({"--json", "--class", "五等", Scratch("square.txt")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.out, "");
    EXPECT_NE(unknown.err.find("五等"), std::string::npos) << unknown.err;
    EXPECT_NE(unknown.err.find("二等, 三等, 四等, 一级, 二级, 国家一等"), std::string::npos) << unknown.err;
    EXPECT_NE(unknown.err.find("自定等级"), std::string::npos) << unknown.err;
}

}  // namespace
