// SPDX-License-Identifier: GPL-3.0-or-later
// The batch tool as a surveyor uses it: exit codes, usage, short jobs, stdin.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "compute/job_text.h"
#include "core/form_boxes.h"
#include "core/korvanet_version.h"
#include "testing/tool_run.h"

namespace {

struct BatchRun {
    int exitCode;
    std::string out;
    std::string err;
};

// The tool itself, with no shell between (a blank in a path stays part of
// the path), its standard input read from a file holding `stdinText`.
BatchRun RunBatch(const std::vector<std::string>& args, const std::string& stdinText = "") {
    // CTest runs the tests of this file side by side: each gets files of its own.
    const std::string dir =
        testing::TempDir() + "/" + testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string in = dir + ".in";
    std::ofstream(in) << stdinText;
    std::vector<std::string> argv{KORVANET_BATCH};
    argv.insert(argv.end(), args.begin(), args.end());
    const korvanet::ToolRun run = korvanet::RunTool(argv, {in, dir + ".out", dir + ".err"});
    if (run.exitCode < 0) ADD_FAILURE() << run.err;
    return {run.exitCode, run.out, run.err};
}

std::string ReferenceJob(const std::string& name) { return std::string(KORVANET_REFERENCE_DIR) + "/" + name; }

TEST(Batch, BadUsagePrintsUsageAndExits2) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{},
                                               {"--fields"},
                                               {"--bogus", "job.txt"},
                                               {"--pdf"},
                                               {"--pdf", "x.pdf", "a.txt", "b.txt"},
                                               {"--fields", "--transcript", "x"},
                                               {"-", "-"}}) {
        const BatchRun r = RunBatch(args);
        const std::string shown = testing::PrintToString(args);
        EXPECT_EQ(r.exitCode, 2) << shown;
        EXPECT_NE(r.err.find("用法: korvanet-batch"), std::string::npos) << shown;
        EXPECT_EQ(r.out, "") << shown;
    }
    const BatchRun version = RunBatch({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("korvanet-batch ") + korvanet::kVersion + "\n");
}

TEST(Batch, MissingFileIsAFailure) {
    const BatchRun r = RunBatch({"/nonexistent/job.txt"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("/nonexistent/job.txt"), std::string::npos);
}

TEST(Batch, ReadsStandardInputForDash) {
    const std::string job = korvanet::ReadWholeFile(ReferenceJob("known-d.txt"));
    const BatchRun r = RunBatch({"--fields", "-"}, job);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, korvanet::ReadWholeFile(ReferenceJob("known-d.fields")));
}

TEST(Batch, TooFewAnswersFailsWithTheFieldsSoFar) {
    // The known-D job without its last side.
    std::string job = korvanet::ReadWholeFile(ReferenceJob("known-d.txt"));
    job.erase(job.rfind('\n', job.size() - 2) + 1);
    const BatchRun r = RunBatch({"--fields", "-"}, job);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("答案不够"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find(korvanet::boxes::ObservedSide(4) + "= 559.316"), std::string::npos);
    EXPECT_EQ(r.out.find(std::string(korvanet::boxes::kTriangleMisclosure1) + "="), std::string::npos)
        << "nothing past the input may be shown";
}

TEST(Batch, TranscriptOfAFailedRunEndsAtTheUnansweredPrompt) {
    const BatchRun r = RunBatch({"--transcript", "-"}, "2.5\n");
    EXPECT_EQ(r.exitCode, 1);
    const std::string lastPrompt = "?\tKorvanet\t输入已知点 A 的纵座标 :\n";
    ASSERT_GE(r.out.size(), lastPrompt.size());
    EXPECT_EQ(r.out.substr(r.out.size() - lastPrompt.size()), lastPrompt);
}

TEST(Batch, TooManyAnswersIsAFailure) {
    const BatchRun r = RunBatch({"-"}, korvanet::ReadWholeFile(ReferenceJob("known-d.txt")) + "999.999\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("多出 1 个答案"), std::string::npos) << r.err;
}

TEST(Batch, AFailedComputeExits1WithTheMessage) {
    const BatchRun r = RunBatch({"-"}, "abc\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("abc"), std::string::npos) << r.err;
}

TEST(Batch, WritesAPdf) {
    const std::string pdf = testing::TempDir() + "/known-d.pdf";
    std::remove(pdf.c_str());
    const BatchRun r = RunBatch({"--pdf", pdf, ReferenceJob("known-d.txt")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string head = korvanet::ReadWholeFile(pdf).substr(0, 5);
    EXPECT_EQ(head, "%PDF-");
}

std::string WriteTempJob(const std::string& name, const std::string& text) {
    const std::string path = testing::TempDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A failing job between two good ones: each job's output under its header,
// exactly as it would be alone, the failure on stderr under the job's name,
// and the good job after it still runs.  The free-D job runs before the
// known-D one, so a record carried over from one job to the next shows.
TEST(Batch, ManyJobsRunEachAsIfAloneAndReportTheFailedOne) {
    std::string shortJob = korvanet::ReadWholeFile(ReferenceJob("known-d.txt"));
    shortJob.erase(shortJob.rfind('\n', shortJob.size() - 2) + 1);
    const std::string bad = WriteTempJob("short-job.txt", shortJob);
    const BatchRun alone = RunBatch({"--fields", bad});
    ASSERT_EQ(alone.exitCode, 1);

    const BatchRun r = RunBatch({"--fields", ReferenceJob("free-d.txt"), bad, "-"},
                                korvanet::ReadWholeFile(ReferenceJob("known-d.txt")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "==> " + ReferenceJob("free-d.txt") + " <==\n" +
                         korvanet::ReadWholeFile(ReferenceJob("free-d.fields")) + "\n==> " + bad + " <==\n" +
                         alone.out +  //
                         "\n==> 标准输入 <==\n" + korvanet::ReadWholeFile(ReferenceJob("known-d.fields")));
    EXPECT_EQ(r.err, bad + ": " + alone.err);

    const BatchRun good = RunBatch({ReferenceJob("known-d.txt"), ReferenceJob("free-d.txt")});
    EXPECT_EQ(good.exitCode, 0) << good.err;
    EXPECT_EQ(good.err, "");
}

// JSON Lines for many jobs: one object per line and job, in order, the failed
// job as its message, no headers; every line parses on its own.  The drawing
// of a completed job is written where --svg says.
TEST(Batch, JsonLinesNameEveryJobAndTheDrawingIsWritten) {
    const std::string bad = WriteTempJob("unanswered.txt", "2.1\n");
    const BatchRun r =
        RunBatch({"--json", ReferenceJob("known-d.txt"), bad, ReferenceJob("free-d-q1-zero.txt")});
    EXPECT_EQ(r.exitCode, 1);
    std::vector<nlohmann::json> objects;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) objects.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(objects.size(), 3u) << r.out;
    EXPECT_EQ(objects[0]["job"], ReferenceJob("known-d.txt"));
    EXPECT_EQ(objects[0]["completed"], true);
    EXPECT_EQ(objects[0]["points"].size(), 4u);
    EXPECT_EQ(objects[1]["job"], bad);
    EXPECT_EQ(objects[1]["completed"], false);
    EXPECT_NE(r.err.find(bad + ": 计算中止: " + objects[1]["error"].get<std::string>()), std::string::npos)
        << r.err;
    EXPECT_EQ(objects[2]["completed"], true);
    // Q1 = 0: nothing measured the orientation, so no observation stands for it.
    for (const auto& o : objects[2]["observations"]) EXPECT_NE(o["kind"], "orientation");

    const std::string svg = testing::TempDir() + "/free-d.svg";
    const BatchRun drawn = RunBatch({"--svg", svg, ReferenceJob("free-d.txt")});
    EXPECT_EQ(drawn.exitCode, 0) << drawn.err;
    EXPECT_NE(korvanet::ReadWholeFile(svg).find("<svg"), std::string::npos);
    EXPECT_EQ(RunBatch({"--svg", svg, bad}).exitCode, 1);
}

// The advice on blunders through the tool, on both example jobs as they are
// and with one angle made 40" wrong, then one side 80 mm wrong: the
// snooping takes that observation out first, and the m0 it reaches by
// adjusting again without it is the m0_without the formula gives, the
// lowest of the job.  (In the known-D example an 80 mm blunder stays below
// the w-test in every side but S(2): the sides are weighted from the
// tolerance, far more loosely than they fit, as the variance components say.)
TEST(Batch, JsonFindsTheBlunderAndWeighsTheSides) {
    struct Blunder {
        std::string job, right, wrong, kind;
        int index;
    };
    const std::vector<Blunder> blunders = {
        {"known-d.txt", "\n46.43523\n", "\n46.44323\n", "angle", 1},
        {"known-d.txt", "\n2910.681\n", "\n2910.761\n", "side", 2},
        {"free-d.txt", "\n41.33082\n", "\n41.33482\n", "angle", 1},
        {"free-d.txt", "\n1002.033\n", "\n1002.113\n", "side", 1},
    };
    auto run = [](const std::string& path) {
        const BatchRun r = RunBatch({"--json", path});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return nlohmann::json::parse(r.out);
    };
    for (const std::string job : {"known-d.txt", "free-d.txt"}) {
        const nlohmann::json j = run(std::string(KORVANET_EXAMPLES_DIR) + "/" + job);
        EXPECT_TRUE(j["snooping"].is_array() && j["snooping"].empty()) << job << ": " << j["snooping"];
        const nlohmann::json& v = j["variance_components"];
        ASSERT_TRUE(v.is_object()) << job;
        // The sides fit at least twice better than their weights say (factors 0.007 and 0.12).
        EXPECT_LT(v["sides"]["variance_factor"].get<double>(), 0.25) << job;
        EXPECT_NEAR(v["angles"]["redundancy"].get<double>() + v["sides"]["redundancy"].get<double>(), 9,
                    1e-6);
        EXPECT_NEAR(
            v["angles"]["sigma_arcsec"].get<double>(),
            j["tolerance_arcsec"].get<double>() * std::sqrt(v["angles"]["variance_factor"].get<double>()),
            1e-9);
        EXPECT_GE(v["iterations"].get<int>(), 1);
        for (const auto& o : j["observations"])
            EXPECT_EQ(o["m0_without"].is_null(), o["kind"] == "orientation") << job << " " << o;
    }
    for (const Blunder& b : blunders) {
        std::string text = korvanet::ReadWholeFile(std::string(KORVANET_EXAMPLES_DIR) + "/" + b.job);
        const std::size_t at = text.find(b.right);
        ASSERT_NE(at, std::string::npos) << b.job << b.right;
        text.replace(at, b.right.size(), b.wrong);
        const std::string what = b.job + " with " + b.kind + " " + std::to_string(b.index) + " wrong";
        const nlohmann::json j = run(WriteTempJob(b.kind + "-blunder-" + b.job, text));
        ASSERT_FALSE(j["snooping"].empty()) << what;
        const nlohmann::json& first = j["snooping"][0];
        EXPECT_EQ(first["kind"], b.kind) << what;
        EXPECT_EQ(first["index"], b.index) << what;
        EXPECT_GT(std::fabs(first["w"].get<double>()), 3.29) << what;
        double lowest = 1e300, blundered = -1;
        for (const auto& o : j["observations"]) {
            if (o["m0_without"].is_null()) continue;
            lowest = std::fmin(lowest, o["m0_without"].get<double>());
            if (o["kind"] == b.kind && o["index"] == b.index) blundered = o["m0_without"].get<double>();
        }
        EXPECT_EQ(blundered, lowest) << what;
        EXPECT_NEAR(first["m0_after"].get<double>(), blundered, 1e-9) << what;
    }
}

// Job files as editors save them: a UTF-8 byte order mark with CRLF line
// ends, the GB18030 (GBK) of a Chinese Windows editor, and bytes that are
// neither, which must stop the job before any garbled name is shown.
TEST(Batch, ReadsJobFilesInTheEncodingsEditorsSave) {
    const std::string known = korvanet::ReadWholeFile(ReferenceJob("known-d.txt"));
    std::string crlf;
    for (char c : known) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const BatchRun bom = RunBatch({"--fields", WriteTempJob("bom.txt", "\xEF\xBB\xBF" + crlf)});
    EXPECT_EQ(bom.exitCode, 0) << bom.err;
    EXPECT_EQ(bom.out, korvanet::ReadWholeFile(ReferenceJob("known-d.fields")));
    EXPECT_EQ(bom.err, "");

    // The known-D job with the points named 甲 乙 丙 丁, once in UTF-8 and
    // once in GB18030, whose bytes for them are written out here.
    std::vector<std::string> lines = korvanet::SplitJobLines(known);
    ASSERT_GE(lines.size(), 9u);
    auto jobWithNames = [&](const std::vector<std::string>& names) {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i)
            text += (i >= 5 && i < 9 ? names[i - 5] : lines[i]) + "\n";
        return text;
    };
    const BatchRun utf8 = RunBatch({WriteTempJob("utf8.txt", jobWithNames({"甲", "乙", "丙", "丁"}))});
    const BatchRun gb =
        RunBatch({WriteTempJob("gb.txt", jobWithNames({"\xBC\xD7", "\xD2\xD2", "\xB1\xFB", "\xB6\xA1"}))});
    EXPECT_EQ(utf8.exitCode, 0) << utf8.err;
    EXPECT_EQ(gb.exitCode, 0) << gb.err;
    EXPECT_NE(utf8.out.find("甲"), std::string::npos);
    EXPECT_EQ(gb.out, utf8.out);
    EXPECT_NE(gb.err.find("GB18030"), std::string::npos) << gb.err;

    // 0xFF begins no character in either encoding.
    const BatchRun neither =
        RunBatch({"--fields", WriteTempJob("neither.txt", "2.5\n3521408.250\n\xFF\xFF\n")});
    EXPECT_EQ(neither.exitCode, 1);
    EXPECT_EQ(neither.out, "");
    EXPECT_NE(neither.err.find("第 3 行"), std::string::npos) << neither.err;
    // Notepad's "Unicode" without its byte order mark: zero bytes, valid UTF-8 on their face.
    const BatchRun utf16 =
        RunBatch({"--fields", WriteTempJob("utf16.txt", std::string("2\0.\0005\0\n\0", 8))});
    EXPECT_EQ(utf16.exitCode, 1);
    EXPECT_EQ(utf16.out, "");
    EXPECT_NE(utf16.err.find("UTF-16"), std::string::npos) << utf16.err;
}

TEST(SplitJobLines, FinalNewlineAddsNoAnswerEmptyLineDoes) {
    using korvanet::SplitJobLines;
    EXPECT_EQ(SplitJobLines("a\nb\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitJobLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitJobLines("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitJobLines("\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(SplitJobLines("").empty());
}

}  // namespace
