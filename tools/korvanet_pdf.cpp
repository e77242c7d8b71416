// SPDX-License-Identifier: GPL-3.0-or-later
// korvanet-pdf: writes the printed report of one Compute job as a PDF.
//
// korvanet-batch --pdf FILE JOB runs this program, so that only the PDF,
// which needs Qt's fonts and painter, loads Qt.  It reads and runs the job
// exactly as korvanet-batch does and answers with the same messages and
// exit status.

#include <QGuiApplication>
#include <cstdlib>
#include <iostream>
#include <string>

#include "print/report_printer.h"
#include "report/report_layout.h"
#include "tools/batch_job.h"

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
    if (!korvanet::ReadJobFile(job, bytes)) {
        std::cerr << "无法读取作业文件: " << (job == "-" ? "标准输入" : job) << '\n';
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
        QGuiApplication app(argc, argv);
        korvanet::WriteReportPdf(korvanet::BuildReport(finished.state), pdfPath);
    };
    if (!korvanet::RunBatchJob(bytes, writePdf, "", std::cout, std::cerr)) return 1;
    std::cerr << "报告已写入 " << pdfPath << '\n';
    return 0;
}
