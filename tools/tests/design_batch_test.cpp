// SPDX-License-Identifier: GPL-3.0-or-later
// korvanet-batch --design as a surveyor runs it: the design files it refuses,
// each with the line it names, in every output; and a good design's table,
// JSON and drawing, each saying that it is a design (精度估算).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "testing/tool_run.h"

namespace {

struct BatchRun {
    int exitCode;
    std::string out, err;
};

std::string Scratch(const std::string& name) { return testing::TempDir() + "/" + name; }

BatchRun RunBatch(const std::vector<std::string>& args) {
    std::vector<std::string> argv{KORVANET_BATCH};
    argv.insert(argv.end(), args.begin(), args.end());
    const korvanet::ToolRun run =
        korvanet::RunTool(argv, {"/dev/null", Scratch("batch.out"), Scratch("batch.err")});
    if (run.exitCode < 0) ADD_FAILURE() << run.err;
    return {run.exitCode, run.out, run.err};
}

std::string DesignFile(const std::string& name, const std::string& text) {
    const std::string path = Scratch(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

const char* const kTolerance = "tolerance 2.5\n";
const char* const kA = "A 青龙山 3521408.25 512736.48 known\n";
const char* const kB = "B 望江楼 3523210.1  512402.9\n";
const char* const kC = "C 石门   3523650.7  514380.3  # 山顶\n";
const char* const kD = "D 东岗   3521735.98 514912.655 known\n";

struct Refused {
    const char* what;
    std::string text;
    std::string message;  // the line named and the reason, as the surveyor reads them
};

TEST(DesignBatch, RefusesBadDesignFilesNamingTheLine) {
    const std::string s = kTolerance;
    const Refused cases[] = {
        {"missing point", s + kA + kB + kD, "第 4 行: 文件结束, 缺少 C 点"},
        {"no tolerance", std::string(kA) + kB + kC + kD, "第 4 行: 文件结束, 缺少测角中误差 σ0"},
        {"point twice", s + kA + kB + kB + kC + kD, "第 4 行: B 点已在第 3 行给出"},
        {"coordinate no number", s + kA + "B 望江楼 3523210.1 51240x.9\n" + kC + kD,
         "第 3 行: B 点的横座标不是数字: \"51240x.9\""},
        {"tolerance zero", "tolerance 0\n" + std::string(kA) + kB + kC + kD, "第 1 行: 规范测角限差"},
        {"diagonals do not cross",
         s + kA + kB + "C 石门 3521735.98 514912.655\n" + "D 东岗 3523650.7 514380.3 known\n",
         "第 5 行: 四个点不构成大地四边形: 对角线 A-C 与 B-D 不相交"},
        {"counter-clockwise",
         s + kA + "B 东岗 3521735.98 514912.655\n" + kC + "D 望江楼 3523210.1 512402.9 known\n",
         "第 5 行: A, B, C, D 是逆时针排列的"},
        {"angle under 1 degree",
         s + "A 甲 3500000 500000 known\nB 乙 3502000 500000\nC 丙 3502000 502000\nD 丁 3500000 600000\n",
         "第 5 行: 第 6 个角 (在 D 点) 小于 1°"},
        {"B known", s + kA + "B 望江楼 3523210.1 512402.9 known\n" + kC + kD, "第 3 行: B 点是待定点"},
        {"unknown line", s + kA + kB + kC + kD + "E 外点 1 2\n", "第 6 行: 不认识的行 \"E\""},
        {"control character in a name", s + kA + kB + "C 石\x01门 3523650.7 514380.3\n" + kD,
         "第 4 行: C 点的点名\"石<U+0001>门\"含有控制字符 U+0001"},
    };
    for (const Refused& c : cases) {
        const std::string file = DesignFile("refused.design", c.text);
        const BatchRun text = RunBatch({"--design", file});
        EXPECT_EQ(text.exitCode, 1) << c.what;
        EXPECT_EQ(text.out, "") << c.what;
        EXPECT_NE(text.err.find("精度估算中止: 设计文件" + c.message), std::string::npos)
            << c.what << ": " << text.err;

        const BatchRun json = RunBatch({"--design", "--json", file});
        EXPECT_EQ(json.exitCode, 1) << c.what;
        const auto j = nlohmann::json::parse(json.out, nullptr, false);
        ASSERT_FALSE(j.is_discarded()) << c.what << ": " << json.out;
        EXPECT_EQ(j.value("design", false), true) << c.what;
        EXPECT_EQ(j.value("completed", true), false) << c.what;
        EXPECT_NE(j.value("error", std::string()).find(c.message), std::string::npos) << c.what;
    }
}

// A good design in each output: every one says 精度估算, none carries a
// figure only an observed figure has (m0, w, closures).
TEST(DesignBatch, EveryOutputOfADesignSaysItIsOne) {
    const std::string file = std::string(KORVANET_EXAMPLES_DIR) + "/known-d.design";
    const BatchRun text = RunBatch({"--design", "--class", "四等", file});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    // The precision report itself, as text: the same document as --html writes.
    EXPECT_EQ(text.out.rfind("精度估算报告\n", 0), 0u) << text.out;
    EXPECT_NE(text.out.find("\n规范检核\n按设计估算的各项精度对照 四等"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("\n检核项\t数值\t限值\t结果\t说明\n期望三角形闭合差 2√3 σ0\t"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("\n结论: 按设计"), std::string::npos) << text.out;
    // 2√3 · 2.5″ = 8.66″ and σ0 = m_β = 2.5″: the plan just reaches 四等.
    EXPECT_NE(text.out.find("\n期望三角形闭合差 2√3 σ0\t8.66″\t≤ 9.00″\t通过"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("\n计划测角中误差 σ0\t2.50″\t≤ 2.50″\t通过"), std::string::npos) << text.out;

    const BatchRun json = RunBatch({"--design", "--json", "--class", "四等", file});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const auto j = nlohmann::json::parse(json.out);
    EXPECT_EQ(j["design"], true);
    EXPECT_EQ(j["title"], "精度估算");
    EXPECT_EQ(j["sigma0_arcsec"], 2.5);
    for (const char* absent :
         {"m0_arcsec", "global_test", "suspect", "misclosures", "triangles", "ferrero_arcsec"})
        EXPECT_FALSE(j.contains(absent)) << absent;
    EXPECT_EQ(j["sides"].size(), 5u);
    EXPECT_EQ(j["relative_ellipses"].size(), 1u);
    for (const auto& o : j["observations"]) EXPECT_FALSE(o.contains("w"));
    std::string kinds;
    for (const auto& c : j["checks"]) kinds += c["kind"].get<std::string>() + " ";
    EXPECT_EQ(kinds, "expected_closure planned_angle_error smallest_angle weakest_side measured_sides ");

    const std::string svg = Scratch("design.svg");
    const BatchRun drawing = RunBatch({"--design", "--svg", svg, file});
    ASSERT_EQ(drawing.exitCode, 0) << drawing.err;
    const std::string picture = korvanet::ReadWholeFile(svg);
    EXPECT_NE(picture.find("精度估算 (设计, 尚未观测)"), std::string::npos);
    EXPECT_EQ(picture.find("w 检验"), std::string::npos);
    EXPECT_NE(picture.find("<ellipse"), std::string::npos) << "the design's ellipses";

    EXPECT_EQ(RunBatch({"--design", "--fields", file}).exitCode, 2);
}

// The example design with another planned sigma0, written with every digit
// it needs.
std::string DesignAt(double sigma0) {
    char tolerance[64];
    std::snprintf(tolerance, sizeof tolerance, "tolerance %.9g\n", sigma0);
    return DesignFile("planned.design", tolerance + std::string(kA) + kB + kC + kD);
}

const nlohmann::json* CheckOf(const nlohmann::json& j, const std::string& kind) {
    for (const auto& c : j.at("checks"))
        if (c.at("kind") == kind) return &c;
    return nullptr;
}

struct Verdict {
    bool found = false, passed = false, compliant = true;
};

Verdict DesignVerdict(const std::string& orderClass, double sigma0, const std::string& kind) {
    const BatchRun r = RunBatch({"--design", "--json", "--class", orderClass, DesignAt(sigma0)});
    EXPECT_EQ(r.exitCode, 0) << orderClass << " " << r.err;
    const auto j = nlohmann::json::parse(r.out, nullptr, false);
    if (j.is_discarded()) {
        ADD_FAILURE() << r.out;
        return {};
    }
    const nlohmann::json* c = CheckOf(j, kind);
    if (c == nullptr) return {};
    return {true, c->at("passed").get<bool>(), j.at("compliant").get<bool>()};
}

// Every class of the shipped table against designs planned at its own
// figures: sigma0 = m_β reaches the class and 1.1 m_β does not; the expected
// closure 2√3 σ0 just inside the closure limit passes and just outside fails.
TEST(DesignBatch, EveryClassJudgesThePlannedAngleErrorAndTheExpectedClosure) {
    const auto table = nlohmann::json::parse(korvanet::ReadWholeFile(KORVANET_ORDER_CLASSES));
    ASSERT_GE(table.at("classes").size(), 9u);
    int planned = 0, closures = 0;
    for (const auto& c : table.at("classes")) {
        const std::string name = c.at("name");
        if (c.contains("angle_mean_error_arcsec")) {
            const double m = c.at("angle_mean_error_arcsec");
            const Verdict at = DesignVerdict(name, m, "planned_angle_error");
            EXPECT_TRUE(at.found && at.passed) << name << ": σ0 = m_β = " << m;
            const Verdict above = DesignVerdict(name, 1.1 * m, "planned_angle_error");
            EXPECT_TRUE(above.found && !above.passed && !above.compliant) << name << ": σ0 = 1.1 m_β";
            ++planned;
        }
        if (c.contains("triangle_closure_arcsec")) {
            const double bound = c.at("triangle_closure_arcsec").get<double>() / (2 * std::sqrt(3.0));
            const Verdict inside = DesignVerdict(name, 0.999 * bound, "expected_closure");
            EXPECT_TRUE(inside.found && inside.passed) << name << ": σ0 = " << 0.999 * bound;
            const Verdict outside = DesignVerdict(name, 1.001 * bound, "expected_closure");
            EXPECT_TRUE(outside.found && !outside.passed && !outside.compliant)
                << name << ": σ0 = " << 1.001 * bound;
            ++closures;
        }
    }
    EXPECT_EQ(planned, 9);
    EXPECT_EQ(closures, 9);

    // A design planned at 4.5″ cannot reach 国家四等 (m_β 2.5″); one planned
    // at 2.6″ cannot reach 四等's closure of 9″: 2√3 · 2.6″ = 9.01″.
    const BatchRun fourth = RunBatch({"--design", "--class", "国家四等", DesignAt(4.5)});
    EXPECT_NE(fourth.out.find("\n计划测角中误差 σ0\t4.50″\t≤ 2.50″\t未通过"), std::string::npos)
        << fourth.out;
    EXPECT_NE(fourth.out.find("\n结论: 按设计达不到 国家四等。"), std::string::npos) << fourth.out;
    const BatchRun closure = RunBatch({"--design", "--class", "四等", DesignAt(2.6)});
    EXPECT_NE(closure.out.find("\n期望三角形闭合差 2√3 σ0\t9.01″\t≤ 9.00″\t未通过"), std::string::npos)
        << closure.out;
}

// A value that fails reads apart from its limit: a smallest angle of
// 29.9999° against a class of 30° without the exception is 29°59′59.6″, and
// an expected closure a hair above the limit shows the digits that exceed it.
TEST(DesignBatch, AFailedCheckNeverReadsAsItsLimit) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(config, nullptr) << "the tests run with folders of their own";
    std::filesystem::create_directories(std::string(config) + "/korvanet");
    std::ofstream(std::string(config) + "/korvanet/order-classes.json") << R"({"classes": [
        {"name": "严格", "standard": "本单位规定", "smallest_angle_deg": 30, "triangle_closure_arcsec": 9}]})";
    // B(1) at A, from A-B to A-C, is 29.9999°; every other angle is above 39°.
    const double a = 29.9999 * std::acos(-1.0) / 180;
    char c[96];
    std::snprintf(c, sizeof c, "C 丙 %.6f %.6f\n", 3500000 + 1400 * std::cos(a), 500000 + 1400 * std::sin(a));
    const std::string file = DesignFile("thin.design",
                                        "tolerance 2.5981\nA 甲 3500000 500000 known\n"
                                        "B 乙 3501000 500000\n" +
                                            std::string(c) + "D 丁 3500350 500850 known\n");
    const BatchRun r = RunBatch({"--design", "--class", "严格", file});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\n最小角 B(1)\t29°59′59.6″\t≥ 30°00′00″\t未通过"), std::string::npos) << r.out;
    // 2√3 · 2.5981″ = 9.00008″ (the tolerance as single precision: 2.59809995″).
    EXPECT_NE(r.out.find("\n期望三角形闭合差 2√3 σ0\t9.0001″\t≤ 9.00″\t未通过"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("该等级没有给出限值, 未检核: 计划测角中误差、最弱边相对中误差、测边相对中误差。"),
              std::string::npos)
        << r.out;
}

}  // namespace
