// SPDX-License-Identifier: GPL-3.0-or-later
// korvanet-batch --design as a surveyor runs it: the design files it refuses,
// each with the line it names, in every output; and a good design's table,
// JSON and drawing, each saying that it is a design (精度估算).

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

namespace {

struct BatchRun {
    int exitCode;
    std::string out, err;
};

std::string Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

std::string Scratch(const std::string& name) { return testing::TempDir() + "/" + name; }

BatchRun RunBatch(const std::string& args) {
    const std::string out = Scratch("batch.out"), err = Scratch("batch.err");
    const std::string cmd = std::string(KORVANET_BATCH) + " " + args + " </dev/null >" + out + " 2>" + err;
    const int status = std::system(cmd.c_str());
    return {WEXITSTATUS(status), Slurp(out), Slurp(err)};
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
        {"no tolerance", std::string(kA) + kB + kC + kD, "第 4 行: 文件结束, 缺少测角限差"},
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
        const BatchRun text = RunBatch("--design " + file);
        EXPECT_EQ(text.exitCode, 1) << c.what;
        EXPECT_EQ(text.out, "") << c.what;
        EXPECT_NE(text.err.find("精度估算中止: 设计文件" + c.message), std::string::npos)
            << c.what << ": " << text.err;

        const BatchRun json = RunBatch("--design --json " + file);
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
    const BatchRun text = RunBatch("--design --class 四等 " + file);
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(text.out.rfind("精度估算 (设计, 尚未观测)", 0), 0u) << text.out;
    EXPECT_NE(text.out.find("等级检核 (精度估算): 四等"), std::string::npos);
    EXPECT_NE(text.out.find("期望三角形闭合差\t2σ0\t5.00″\t9.00″\t通过"), std::string::npos) << text.out;

    const BatchRun json = RunBatch("--design --json --class 四等 " + file);
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
    EXPECT_EQ(kinds, "expected_closure smallest_angle weakest_side measured_sides ");

    const std::string svg = Scratch("design.svg");
    const BatchRun drawing = RunBatch("--design --svg " + svg + " " + file);
    ASSERT_EQ(drawing.exitCode, 0) << drawing.err;
    const std::string picture = Slurp(svg);
    EXPECT_NE(picture.find("精度估算 (设计, 尚未观测)"), std::string::npos);
    EXPECT_EQ(picture.find("w 检验"), std::string::npos);
    EXPECT_NE(picture.find("<ellipse"), std::string::npos) << "the design's ellipses";

    EXPECT_EQ(RunBatch("--design --fields " + file).exitCode, 2);
}

}  // namespace
