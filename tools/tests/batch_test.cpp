// The batch tool as a surveyor uses it: exit codes, usage, short jobs, stdin.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "job_file.h"

namespace {

struct BatchRun {
    int exitCode;
    std::string out;
    std::string err;
};

BatchRun RunBatch(const std::string& args, const std::string& stdinText = "") {
    // CTest runs the tests of this file side by side: each gets files of its own.
    const std::string dir = testing::TempDir() + "/" +
                            testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string in = dir + ".in", out = dir + ".out", err = dir + ".err";
    std::ofstream(in) << stdinText;
    const std::string cmd = std::string(KORVANET_BATCH) + " " + args + " <" + in + " >" + out + " 2>" + err;
    const int status = std::system(cmd.c_str());
    auto slurp = [](const std::string& path) {
        std::ifstream f(path);
        return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    };
    return {WEXITSTATUS(status), slurp(out), slurp(err)};
}

std::string ReferenceJob(const std::string& name) {
    return std::string(KORVANET_REFERENCE_DIR) + "/" + name;
}

std::string Slurp(const std::string& path) {
    std::ifstream f(path);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

TEST(Batch, BadUsagePrintsUsageAndExits2) {
    for (const char* args : {"", "--fields", "--bogus job.txt", "--pdf", "a.txt b.txt", "--fields --transcript x"}) {
        const BatchRun r = RunBatch(args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_NE(r.err.find("usage: korvanet-batch"), std::string::npos) << args;
    }
}

TEST(Batch, MissingFileIsAFailure) {
    const BatchRun r = RunBatch("/nonexistent/job.txt");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("/nonexistent/job.txt"), std::string::npos);
}

TEST(Batch, ReadsStandardInputForDash) {
    const std::string job = Slurp(ReferenceJob("known-d.txt"));
    const BatchRun r = RunBatch("--fields -", job);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, Slurp(ReferenceJob("known-d.fields")));
}

TEST(Batch, TooFewAnswersFailsWithTheFieldsSoFar) {
    // The known-D job without its last side.
    std::string job = Slurp(ReferenceJob("known-d.txt"));
    job.erase(job.rfind('\n', job.size() - 2) + 1);
    const BatchRun r = RunBatch("--fields -", job);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("答案不够"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("Text10(3)= 559.316"), std::string::npos);
    EXPECT_EQ(r.out.find("Text23="), std::string::npos) << "nothing past the input may be shown";
}

TEST(Batch, TranscriptOfAFailedRunEndsAtTheUnansweredPrompt) {
    const BatchRun r = RunBatch("--transcript -", "2.5\n");
    EXPECT_EQ(r.exitCode, 1);
    const std::string lastPrompt = "?\tKorvanet\t输入已知点 A 的纵座标 :\n";
    ASSERT_GE(r.out.size(), lastPrompt.size());
    EXPECT_EQ(r.out.substr(r.out.size() - lastPrompt.size()), lastPrompt);
}

TEST(Batch, TooManyAnswersIsAFailure) {
    const BatchRun r = RunBatch("-", Slurp(ReferenceJob("known-d.txt")) + "999.999\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("多出 1 个答案"), std::string::npos) << r.err;
}

TEST(Batch, AFailedComputeExits1WithTheMessage) {
    const BatchRun r = RunBatch("-", "abc\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("abc"), std::string::npos) << r.err;
}

TEST(Batch, WritesAPdf) {
    const std::string pdf = testing::TempDir() + "/known-d.pdf";
    std::remove(pdf.c_str());
    const BatchRun r = RunBatch("--pdf " + pdf + " " + ReferenceJob("known-d.txt"));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string head = Slurp(pdf).substr(0, 5);
    EXPECT_EQ(head, "%PDF-");
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
