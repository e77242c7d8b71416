// SPDX-License-Identifier: GPL-3.0-or-later
// korvanet-pdf: writes the printed report of one Compute job as a PDF, or
// the adjustment report of a job or a design as OpenDocument text.
//
// korvanet-batch --pdf FILE JOB and --odt FILE JOB run this program, so that
// only what needs Qt's fonts and painter loads Qt.  It reads
// and runs the job exactly as korvanet-batch does and answers with the same
// messages and exit status.

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

#include "compute/adjustment_report.h"
#include "compute/design_file.h"
#include "compute/design_run.h"
#include "compute/file_writer.h"
#include "compute/job_file_reader.h"
#include "compute/order_class_table.h"
#include "core/korvanet_error.h"
#include "print/document_odt.h"
#include "print/report_printer.h"
#include "report/report_layout.h"
#include "tools/batch_command_line.h"
#include "tools/batch_job_runner.h"
#include "tools/field_book_batch.h"

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

// A document needs fonts, and fonts need a GUI application; without a
// display the offscreen platform serves.  An empty variable counts as
// unset: Qt would abort on it.
void ChoosePlatform() {
    const auto unset = [](const char* name) {
        const char* value = std::getenv(name);
        return value == nullptr || *value == '\0';
    };
    if (unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
}

void WriteDocument(const std::string& path, const std::string& bytes) {
    try {
        korvanet::WriteFileWhole(path, bytes);
    } catch (const korvanet::KorvanetError& e) {
        throw korvanet::KorvanetError("无法保存报告 " + path + ": " + e.what());
    }
}

struct OdtRequest {
    std::string path, job, orderClass;
    bool steps = false, design = false, fieldBook = false;
};

// korvanet-pdf --odt [--class NAME] [--steps] [--design | --fieldbook] ODT [--] JOB
std::optional<OdtRequest> ReadOdtRequest(int argc, char** argv) {
    OdtRequest r;
    int i = 2;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--class" && i + 1 < argc) {
            r.orderClass = argv[++i];
        } else if (a == "--steps") {
            r.steps = true;
        } else if (a == "--design") {
            r.design = true;
        } else if (a == "--fieldbook") {
            r.fieldBook = true;
        } else {
            break;
        }
    }
    if (i < argc) r.path = argv[i++];
    if (i < argc && std::string(argv[i]) == "--") ++i;
    if (i + 1 != argc || r.path.empty()) return std::nullopt;
    r.job = argv[i];
    return r;
}

// The report of a field book's job, its field sections first; the book is
// read and refused as korvanet-batch --fieldbook reads and refuses it.
int WriteFieldBookOdt(const OdtRequest& request, const korvanet::OrderClassTable& table, int argc,
                      char** argv) {
    korvanet::FieldBookRun run;
    try {
        std::string notice;
        run = korvanet::ReadAndRunFieldBook(request.job, request.orderClass, table, &notice);
        if (!notice.empty()) std::cerr << notice << '\n';
    } catch (const korvanet::KorvanetError& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    if (!run.job) {
        std::cerr << korvanet::MissingMessage(run) << '\n';
        return 1;
    }
    const korvanet::ReportOptions options{korvanet::JobFileName(request.job),
                                          korvanet::TodayText(),
                                          run.orderClass ? &*run.orderClass : nullptr,
                                          table.source,
                                          request.steps,
                                          &run};
    ChoosePlatform();
    const PrivateRuntimeFolder runtimeFolder;
    const korvanet::JobOutput writeOdt = [&](const korvanet::FinishedJob& finished, std::ostream&) {
        if (finished.run.failure || !finished.run.quality) return;
        QGuiApplication app(argc, argv);
        WriteDocument(request.path, korvanet::DocumentOdt(korvanet::JobReportDocument(
                                        finished.state, *finished.run.quality, options)));
    };
    if (!korvanet::RunBatchJob(korvanet::FieldBookJobBytes(run), writeOdt, "", std::cout, std::cerr))
        return 1;
    std::cerr << "报告已写入 " << request.path << '\n';
    return 0;
}

int WriteOdt(const OdtRequest& request, int argc, char** argv) {
    std::optional<korvanet::OrderClass> orderClass;
    std::string classSource;
    korvanet::OrderClassTable table;  // a field book may name its class: loaded for every book
    try {
        if (!request.orderClass.empty() || request.fieldBook) {
            table = korvanet::LoadOrderClassTable(
                korvanet::ShippedOrderClassesPath(korvanet::RunningProgramPath()),
                korvanet::UserOrderClassesPath());
        }
        if (!request.orderClass.empty()) {
            const korvanet::OrderClass* found = table.Find(request.orderClass);
            if (found == nullptr) {
                std::cerr << "没有等级 " << request.orderClass << "; 等级表中有: " << table.Names() << '\n';
                return 2;
            }
            orderClass = *found;
            classSource = table.source;
        }
    } catch (const korvanet::KorvanetError& e) {
        std::cerr << e.what() << '\n';
        return 2;
    }
    if (request.fieldBook) return WriteFieldBookOdt(request, table, argc, argv);
    const std::string name = korvanet::JobFileName(request.job);
    const korvanet::ReportOptions options{name, korvanet::TodayText(), orderClass ? &*orderClass : nullptr,
                                          classSource, request.steps};
    ChoosePlatform();
    const PrivateRuntimeFolder runtimeFolder;
    if (request.design) {
        try {
            const korvanet::DesignRun design =
                korvanet::RunDesign(korvanet::ReadDesignFile(korvanet::ReadDesignFileBytes(request.job)));
            if (design.run.failure || !design.run.quality)
                throw korvanet::KorvanetError(design.run.failure.value_or("精度估算没有完成"));
            QGuiApplication app(argc, argv);
            WriteDocument(request.path, korvanet::DocumentOdt(korvanet::DesignReportDocument(
                                            design.state, *design.run.quality, options)));
        } catch (const korvanet::KorvanetError& e) {
            // As korvanet-batch --design says it.
            std::cerr << "精度估算中止: " << e.what() << '\n';
            return 1;
        }
    } else {
        std::string bytes;
        try {
            bytes = korvanet::ReadJobFileBytes(request.job);
        } catch (const korvanet::KorvanetError& e) {
            std::cerr << e.what() << '\n';
            return 1;
        }
        const korvanet::JobOutput writeOdt = [&](const korvanet::FinishedJob& finished, std::ostream&) {
            if (finished.run.failure || !finished.run.quality) return;
            QGuiApplication app(argc, argv);
            WriteDocument(request.path, korvanet::DocumentOdt(korvanet::JobReportDocument(
                                            finished.state, *finished.run.quality, options)));
        };
        if (!korvanet::RunBatchJob(bytes, writeOdt, "", std::cout, std::cerr)) return 1;
    }
    std::cerr << "报告已写入 " << request.path << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--odt") {
        const std::optional<OdtRequest> request = ReadOdtRequest(argc, argv);
        if (!request) {
            std::cerr << "用法: korvanet-pdf --odt [--class 等级] [--steps] [--design | --fieldbook] ODT文件 "
                         "作业文件\n"
                         "(通常由 korvanet-batch --odt ODT文件 作业文件 调用)\n";
            return 2;
        }
        return WriteOdt(*request, argc, argv);
    }
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
        ChoosePlatform();
        const PrivateRuntimeFolder runtimeFolder;
        QGuiApplication app(argc, argv);
        const std::string pdf = korvanet::ReportPdf(korvanet::BuildReport(finished.state));
        WriteDocument(pdfPath, pdf);
    };
    if (!korvanet::RunBatchJob(bytes, writePdf, "", std::cout, std::cerr)) return 1;
    std::cerr << "报告已写入 " << pdfPath << '\n';
    return 0;
}
