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

#include <array>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>
#include <streambuf>
#include <string>
#include <vector>

#include "compute/adjustment_report.h"
#include "compute/file_writer.h"
#include "compute/job_file_reader.h"
#include "compute/job_json.h"
#include "compute/order_class_table.h"
#include "core/display_text.h"
#include "core/korvanet_error.h"
#include "core/korvanet_version.h"
#include "tools/batch_command_line.h"
#include "tools/batch_job_runner.h"
#include "tools/batch_output.h"
#include "tools/design_batch.h"
#include "tools/export_batch.h"
#include "tools/field_book_batch.h"
#include "tools/import_batch.h"

namespace {

// korvanet-pdf beside this program's own file, wherever it was installed.
std::string PdfProgramPath() {
    const std::string self = korvanet::RunningProgramPath();
    if (self.empty()) return "korvanet-pdf";
    return self.substr(0, self.rfind('/') + 1) + "korvanet-pdf";
}

// Replaces this process by korvanet-pdf, which writes the PDF (or, for
// --odt, the report as OpenDocument text) and says so with the same messages
// and exit status; returns only when it cannot start.
int RunPdfProgram(const korvanet::BatchCommandLine& line) {
    const std::string program = PdfProgramPath();
    std::vector<const char*> argv = {"korvanet-pdf"};
    if (line.mode == korvanet::BatchMode::Odt) {
        argv.push_back("--odt");
        if (!line.orderClass.empty()) argv.insert(argv.end(), {"--class", line.orderClass.c_str()});
        if (line.steps) argv.push_back("--steps");
        if (line.design) argv.push_back("--design");
        if (line.fieldBook) argv.push_back("--fieldbook");
    }
    argv.insert(argv.end(), {line.outputPath.c_str(), "--", line.jobs.front().c_str(), nullptr});
    execv(program.c_str(), const_cast<char* const*>(argv.data()));
    if (errno == ENOENT) {
        std::cerr << "找不到写 PDF 的程序 " << program
                  << ": korvanet-pdf 应与 korvanet-batch 装在同一个文件夹\n";
    } else {
        std::cerr << "无法启动写 PDF 的程序 " << program << " (" << std::strerror(errno) << ")\n";
    }
    return 1;
}

std::string OneIn(const std::optional<double>& relative) {
    return relative ? korvanet::OneInText(*relative) : "-";
}

std::string Figure(const std::optional<double>& value, const char* unit) {
    return value ? korvanet::ShortestText(*value) + unit : "-";
}

// --classes: one class a line, its figures, its standard and clause.
void PrintClasses(const korvanet::OrderClassTable& table) {
    std::cout
        << "等级\t平均边长\t测角中误差\t测边相对中误差\t最弱边相对中误差\t三角形最大闭合差\t最小角\t规范\n";
    for (const korvanet::OrderClass& c : table.classes) {
        std::cout << c.name << '\t' << Figure(c.meanSideKm, " km") << '\t' << Figure(c.angleMeanError, "″")
                  << '\t' << OneIn(c.measuredSides) << '\t' << OneIn(c.weakestSide) << '\t'
                  << Figure(c.triangleClosure, "″") << '\t' << Figure(c.smallestAngle, "°")
                  << (c.smallestAngleException ? " (" + Figure(c.smallestAngleException, "°") + ")" : "")
                  << '\t' << c.standard << (c.clause.empty() ? "" : " " + c.clause) << '\n';
    }
    if (!table.source.empty()) std::cout << "\n来源: " << table.source << '\n';
}

// Standard output, buffered, remembering why its first failed write failed
// (a full disk, a closed pipe), so that the message can say so.
class CheckedStandardOutput : public std::streambuf {
public:
    CheckedStandardOutput() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }
    int fault() const { return fault_; }
    // Writes out what is buffered and closes the descriptor; false on any failure.
    bool finish() {
        if (sync() != 0) return false;
        if (::close(STDOUT_FILENO) != 0 && fault_ == 0) fault_ = errno;
        return fault_ == 0;
    }

protected:
    int_type overflow(int_type c) override {
        if (sync() != 0) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override {
        const char* next = pbase();
        while (fault_ == 0 && next < pptr()) {
            const ssize_t n = ::write(STDOUT_FILENO, next, static_cast<std::size_t>(pptr() - next));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0)
                fault_ = n < 0 ? errno : ENOSPC;
            else
                next += n;
        }
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return fault_ == 0 ? 0 : -1;
    }

private:
    std::array<char, 1 << 16> buffer_{};
    int fault_ = 0;
};

// Output that never reached standard output must not pass for success: said
// on standard error, exit status 1.
int OutputLost(int errorNumber) {
    std::cerr << "无法写出结果到标准输出: " << korvanet::FileFaultReason(errorNumber) << '\n';
    return 1;
}

int Run(int argc, char** argv, const CheckedStandardOutput& standardOutput) {
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
    std::optional<korvanet::OrderClass> orderClass;
    std::string classSource;
    // A field book may name its class: its table is loaded for every book.
    korvanet::OrderClassTable table;
    if (line->listClasses || !line->orderClass.empty() || line->fieldBook) {
        try {
            table = korvanet::LoadOrderClassTable(
                korvanet::ShippedOrderClassesPath(korvanet::RunningProgramPath()),
                korvanet::UserOrderClassesPath());
        } catch (const korvanet::KorvanetError& e) {
            std::cerr << "korvanet-batch: " << e.what() << '\n';
            return 2;
        }
        if (line->listClasses) {
            PrintClasses(table);
            return 0;
        }
        const korvanet::OrderClass* found = line->orderClass.empty() ? nullptr : table.Find(line->orderClass);
        if (!line->orderClass.empty() && found == nullptr) {
            std::cerr << "korvanet-batch: 没有等级 " << line->orderClass << "; 等级表中有: " << table.Names()
                      << '\n';
            return 2;
        }
        if (found != nullptr) {
            orderClass = *found;
            classSource = table.source;
        }
    }
    // The ODT's picture of the figure is drawn with Qt: korvanet-pdf writes it, for a job or a design.
    if (line->mode == korvanet::BatchMode::Odt) return RunPdfProgram(*line);
    if (line->mode == korvanet::BatchMode::Import) {
        const int status = korvanet::RunImportFiles(*line, std::cout, std::cerr);
        if (standardOutput.fault() != 0) return OutputLost(standardOutput.fault());
        return status;
    }
    if (line->fieldBook) {
        const int status = korvanet::RunFieldBookFiles(*line, table, std::cout, std::cerr);
        if (standardOutput.fault() != 0) return OutputLost(standardOutput.fault());
        return status;
    }
    if (line->design) {
        const int status = korvanet::RunDesignFiles(*line, orderClass, classSource, std::cout, std::cerr);
        std::cout.flush();
        return status;
    }
    if (line->mode == korvanet::BatchMode::Pdf) return RunPdfProgram(*line);

    const bool json = line->mode == korvanet::BatchMode::Json;
    // JSON Lines need no headers: every object names its job.
    const bool several = line->jobs.size() > 1 && !json;
    int status = 0;
    for (std::size_t i = 0; i < line->jobs.size(); ++i) {
        const std::string& job = line->jobs[i];
        const std::string name = korvanet::JobFileName(job);
        if (several) std::cout << (i == 0 ? "" : "\n") << "==> " << name << " <==\n";
        std::string bytes;
        try {
            bytes = korvanet::ReadJobFileBytes(job);
        } catch (const korvanet::KorvanetError& e) {
            if (json) std::cout << korvanet::FailedJobJson(job, e.what()) << '\n';
            std::cout.flush();
            std::cerr << (several ? name + ": " : "") << e.what() << '\n';
            status = 1;
            continue;
        }
        korvanet::JobOutput output;
        if (json) {
            output = korvanet::JsonOutput(job, orderClass);
        } else if (line->mode == korvanet::BatchMode::Svg) {
            output = korvanet::SvgOutput(line->outputPath);
        } else if (korvanet::ModeExports(line->mode)) {
            output = korvanet::ExportOutput(*line);
        } else if (korvanet::ModeWritesReport(line->mode)) {
            output = korvanet::ReportOutput(
                line->mode, line->outputPath,
                {name, korvanet::TodayText(), orderClass ? &*orderClass : nullptr, classSource, line->steps});
        } else {
            output = korvanet::TextOutputFor(line->mode);
        }
        const std::string label = several || (json && line->jobs.size() > 1) ? name + ": " : "";
        if (!korvanet::RunBatchJob(bytes, output, label, std::cout, std::cerr)) status = 1;
        // The stream keeps its failure once a write failed: no later job
        // could reach the output either.
        if (standardOutput.fault() != 0) return OutputLost(standardOutput.fault());
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    CheckedStandardOutput standardOutput;
    std::streambuf* const original = std::cout.rdbuf(&standardOutput);
    int status = Run(argc, argv, standardOutput);
    // A file system may report a failed write only when the file is closed.
    if (standardOutput.fault() == 0 && !standardOutput.finish()) status = OutputLost(standardOutput.fault());
    std::cout.rdbuf(original);
    return status;
}
