// SPDX-License-Identifier: GPL-3.0-or-later
// korvanet-pdf: writes the printed report of one Compute job as a PDF.
//
// korvanet-batch --pdf FILE JOB runs this program, so that only the PDF,
// which needs Qt's fonts and painter, loads Qt.  It reads and runs the job
// exactly as korvanet-batch does and answers with the same messages and
// exit status.

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "compute/file_writer.h"
#include "compute/job_file_reader.h"
#include "core/korvanet_error.h"
#include "print/report_printer.h"
#include "report/report_layout.h"
#include "tools/batch_job_runner.h"

namespace {

// Qt warns on every start when the session has no runtime folder (a batch
// job from cron or ssh): it gets a private one, mode 700, removed at the end.
class PrivateRuntimeFolder {
public:
    PrivateRuntimeFolder() {
        const char* given = std::getenv("XDG_RUNTIME_DIR");
        if (given != nullptr && *given != '\0') return;
        std::error_code ignored;
        std::string pattern =
            (std::filesystem::temp_directory_path(ignored) / "korvanet-pdf-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) return;
        path_ = pattern;
        setenv("XDG_RUNTIME_DIR", path_.c_str(), 1);
    }
    ~PrivateRuntimeFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    PrivateRuntimeFolder(const PrivateRuntimeFolder&) = delete;
    PrivateRuntimeFolder& operator=(const PrivateRuntimeFolder&) = delete;

private:
    std::string path_;
};

}  // namespace

int main(int argc, char** argv) {
    // korvanet-pdf PDF [--] JOB; korvanet-batch has checked its own command line.
    std::string pdfPath, job;
    if (argc == 3) {
        pdfPath = argv[1];
        job = argv[2];
    } else if (argc == 4 && std::string(argv[2]) == "--") {
        pdfPath = argv[1];
        job = argv[3];
    } else {
        std::cerr << "用法: korvanet-pdf PDF文件 作业文件\n"
                     "(通常由 korvanet-batch --pdf PDF文件 作业文件 调用)\n";
        return 2;
    }

    std::string bytes;
    try {
        bytes = korvanet::ReadJobFileBytes(job);
    } catch (const korvanet::KorvanetError& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    const korvanet::JobOutput writePdf = [&](const korvanet::FinishedJob& finished, std::ostream&) {
        if (finished.run.failure) return;
        // A PDF needs fonts, and fonts need a GUI application; without a
        // display the offscreen platform serves.
        // An empty variable counts as unset: Qt would abort on it.
        const auto unset = [](const char* name) {
            const char* value = std::getenv(name);
            return value == nullptr || *value == '\0';
        };
        if (unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY")) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        }
        const PrivateRuntimeFolder runtimeFolder;
        QGuiApplication app(argc, argv);
        const std::string pdf = korvanet::ReportPdf(korvanet::BuildReport(finished.state));
        try {
            korvanet::WriteFileWhole(pdfPath, pdf);
        } catch (const korvanet::KorvanetError& e) {
            throw korvanet::KorvanetError("无法保存报告 " + pdfPath + ": " + e.what());
        }
    };
    if (!korvanet::RunBatchJob(bytes, writePdf, "", std::cout, std::cerr)) return 1;
    std::cerr << "报告已写入 " << pdfPath << '\n';
    return 0;
}
