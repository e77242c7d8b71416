// SPDX-License-Identifier: GPL-3.0-or-later
// korvanet-batch: re-runs Compute jobs without the window.
//
// A job is the list of answers a surveyor would type into the value prompts of
// one Compute run, one per line, in the order the prompts come; every
// confirmation prompt is answered by Enter.  Each job runs through the same
// Compute command as the window, with a scripted prompter and a recording
// display.
//
// The text modes need nothing but the C++ library, so this program links no
// Qt and starts about as fast as any program can; the printed report needs
// Qt's fonts and painter, and --pdf hands its one job to korvanet-pdf, which
// lies beside this program.

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "compute/job_json.h"
#include "core/korvanet_version.h"
#include "tools/batch_command_line.h"
#include "tools/batch_job.h"
#include "tools/batch_output.h"

namespace {

// What a surveyor reads in front of a job's messages and output: the name
// as typed, and for "-" what it stands for.
std::string JobName(const std::string& job) { return job == "-" ? "标准输入" : job; }

// korvanet-pdf beside this program's own file, wherever it was installed.
std::string PdfProgramPath() {
    std::vector<char> self(4096);
    const ssize_t n = readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (n <= 0) return "korvanet-pdf";
    std::string path(self.data(), static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/') + 1) + "korvanet-pdf";
}

// Replaces this process by korvanet-pdf, which writes the PDF and says so
// with the same messages and exit status; returns only when it cannot start.
int RunPdfProgram(const korvanet::BatchCommandLine& line) {
    const std::string program = PdfProgramPath();
    std::vector<const char*> argv = {"korvanet-pdf", line.outputPath.c_str(), "--", line.jobs.front().c_str(),
                                     nullptr};
    execv(program.c_str(), const_cast<char* const*>(argv.data()));
    if (errno == ENOENT) {
        std::cerr << "找不到写 PDF 的程序 " << program
                  << ": korvanet-pdf 应与 korvanet-batch 装在同一个文件夹\n";
    } else {
        std::cerr << "无法启动写 PDF 的程序 " << program << " (" << std::strerror(errno) << ")\n";
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::string problem;
    const auto line =
        korvanet::ParseBatchCommandLine(std::vector<std::string>(argv + 1, argv + argc), problem);
    if (!line) {
        std::cerr << "korvanet-batch: " << problem << "\n\n" << korvanet::kBatchUsage;
        return 2;
    }
    if (line->showHelp) {
        std::cout << korvanet::kBatchUsage;
        return 0;
    }
    if (line->showVersion) {
        std::cout << "korvanet-batch " << korvanet::kVersion << '\n';
        return 0;
    }
    if (line->mode == korvanet::BatchMode::Pdf) return RunPdfProgram(*line);

    const bool json = line->mode == korvanet::BatchMode::Json;
    // JSON Lines need no headers: every object names its job.
    const bool several = line->jobs.size() > 1 && !json;
    int status = 0;
    std::string bytes;
    for (std::size_t i = 0; i < line->jobs.size(); ++i) {
        const std::string& job = line->jobs[i];
        const std::string name = JobName(job);
        if (several) std::cout << (i == 0 ? "" : "\n") << "==> " << name << " <==\n";
        if (!korvanet::ReadJobFile(job, bytes)) {
            if (json) std::cout << korvanet::FailedJobJson(job, "无法读取作业文件: " + name) << '\n';
            std::cout.flush();
            std::cerr << (several ? name + ": " : "") << "无法读取作业文件: " << name << '\n';
            status = 1;
            continue;
        }
        const korvanet::JobOutput output = json ? korvanet::JsonOutput(job)
                                           : line->mode == korvanet::BatchMode::Svg
                                               ? korvanet::SvgOutput(line->outputPath)
                                               : korvanet::TextOutputFor(line->mode);
        const std::string label = several || (json && line->jobs.size() > 1) ? name + ": " : "";
        if (!korvanet::RunBatchJob(bytes, output, label, std::cout, std::cerr)) status = 1;
    }
    std::cout.flush();
    return status;
}
