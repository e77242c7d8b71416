// SPDX-License-Identifier: GPL-3.0-or-later
// Files and outputs that must neither hang, crash nor pass for success:
// every one through the real korvanet-batch, started without a shell, each
// ending with its message on standard error and exit status 1.  A case that
// hung would be stopped by CTest's timeout; no timer is needed here.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "compute/job_file_reader.h"
#include "testing/tool_run.h"

namespace {

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct Ended {
    int status = -1;  // the exit status, or -1 when the tool did not exit by itself
    std::string out, err;
};

// Runs korvanet-batch with `args`, standard input from `in` and standard
// output to `out` (a file of the test, or a device).
Ended RunBatch(const std::vector<std::string>& args, const std::string& in, const std::string& out) {
    std::vector<std::string> argv{KORVANET_BATCH};
    argv.insert(argv.end(), args.begin(), args.end());
    const korvanet::ToolRun run = korvanet::RunTool(argv, {in, out, testing::TempDir() + "/fault.err"});
    // A tool killed by a signal did not end by itself.
    return {run.exitCode >= 0 && run.exitCode < 128 ? run.exitCode : -1, run.out, run.err};
}

TEST(BatchFaults, EveryBadFileAndFailedWriteEndsWithItsMessageAndStatus1) {
    const std::string dir = testing::TempDir();
    const std::string job = korvanet::ReadWholeFile(std::string(KORVANET_REFERENCE_DIR) + "/known-d.txt");
    ASSERT_FALSE(job.empty());
    const std::string goodJob = dir + "/good.txt";
    Write(goodJob, job);

    const std::string fifo = dir + "/no-writer.fifo";
    ::unlink(fifo.c_str());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // The job, then blank lines (answers, all of them extra) up to the limit.
    const std::size_t pad = korvanet::kJobFileByteLimit - job.size();
    const std::string atLimit = dir + "/at-limit.txt", overLimit = dir + "/over-limit.txt";
    Write(atLimit, job + std::string(pad, '\n'));
    Write(overLimit, job + std::string(pad + 1, '\n'));
    const std::string binary = dir + "/binary.bin";
    std::string bytes;
    for (int i = 0; i < 4096; ++i) bytes += static_cast<char>(i * 7 % 256);
    Write(binary, bytes);
    const std::string empty = dir + "/empty.txt", extra = dir + "/extra.txt";
    Write(empty, "");
    Write(extra, job + "1.5\n2.5\n3.5\n");
    // A PDF from an earlier run: a job that fails must leave it as it was.
    const std::string oldPdf = dir + "/old.pdf";
    Write(oldPdf, "%PDF- an earlier report");
    const std::string missingFolder = dir + "/no-such-folder/figure.svg";

    struct Case {
        const char* what;
        std::vector<std::string> args;
        std::string in = "/dev/null";
        std::string out;  // empty: a file of the test, which must stay empty
        std::string message;
    };
    const std::string limit = std::to_string(korvanet::kJobFileByteLimit / 1024) + " KiB";
    const std::vector<Case> cases = {
        {"a folder", {"--fields", dir}, "/dev/null", "", "无法读取作业文件 " + dir + ": 这是一个文件夹"},
        {"/dev/zero", {"/dev/zero"}, "/dev/null", "", "无法读取作业文件 /dev/zero: 这是一个设备"},
        {"a FIFO without a writer",
         {fifo},
         "/dev/null",
         "",
         "无法读取作业文件 " + fifo + ": 这是一个命名管道"},
        {"one byte over the limit", {overLimit}, "/dev/null", "", overLimit + ": 文件大于 " + limit},
        {"/dev/zero as standard input", {"-"}, "/dev/zero", "", "标准输入: 文件大于 " + limit},
        // At the limit the file is read: only its answers are too many.
        {"at the limit", {atLimit}, "/dev/null", "", "作业文件多出 " + std::to_string(pad) + " 个答案"},
        {"a binary file", {binary}, "/dev/null", "", "含有零字节: 这不是文本文件"},
        {"an empty file", {"--fields", empty}, "/dev/null", "", "作业文件是空的"},
        {"extra answers", {"--fields", extra}, "/dev/null", "", "作业文件多出 3 个答案"},
        {"--fields to /dev/full",
         {"--fields", goodJob},
         "/dev/null",
         "/dev/full",
         "无法写出结果到标准输出: 磁盘已满"},
        {"--json to /dev/full",
         {"--json", goodJob},
         "/dev/null",
         "/dev/full",
         "无法写出结果到标准输出: 磁盘已满"},
        {"--pdf to /dev/full",
         {"--pdf", "/dev/full", goodJob},
         "/dev/null",
         "",
         "无法保存报告 /dev/full: 磁盘已满"},
        {"--svg to /dev/full",
         {"--svg", "/dev/full", goodJob},
         "/dev/null",
         "",
         "无法保存图形 /dev/full: 磁盘已满"},
        {"--svg into a missing folder",
         {"--svg", missingFolder, goodJob},
         "/dev/null",
         "",
         "无法保存图形 " + missingFolder + ": 文件或文件夹不存在"},
        {"--pdf of a failing job", {"--pdf", oldPdf, empty}, "/dev/null", "", "作业文件是空的"},
        {"--cass to /dev/full",
         {"--cass", "/dev/full", "--encoding", "gbk", goodJob},
         "/dev/null",
         "",
         "无法保存 CASS 座标文件 /dev/full: 磁盘已满"},
        {"--dxf to /dev/full",
         {"--dxf", "/dev/full", goodJob},
         "/dev/null",
         "",
         "无法保存 DXF 图 /dev/full: 磁盘已满"},
        {"--gama-xml to /dev/full",
         {"--gama-xml", "/dev/full", goodJob},
         "/dev/null",
         "",
         "无法保存 Gama XML 文件 /dev/full: 磁盘已满"},
        {"--import of a device",
         {"--import", "/dev/zero"},
         "/dev/null",
         "",
         "无法读取仪器数据文件 /dev/zero: 这是一个设备"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string out = c.out.empty() ? dir + "/fault.out" : c.out;
        const Ended ended = RunBatch(c.args, c.in, out);
        EXPECT_EQ(ended.status, 1);
        EXPECT_NE(ended.err.find(c.message), std::string::npos) << ended.err;
        // Only the fields a run wrote before it stopped may show; a refused
        // file shows nothing, and nothing claims success.
        if (c.out.empty() && c.args.front() != "--fields") {
            EXPECT_EQ(ended.out, "");
        }
        EXPECT_EQ(ended.err.find("已写入"), std::string::npos) << ended.err;
    }
    EXPECT_EQ(korvanet::ReadWholeFile(oldPdf), "%PDF- an earlier report");
    struct stat missing {};
    EXPECT_NE(::stat(missingFolder.c_str(), &missing), 0);
}

}  // namespace
