// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/batch_output.h"

#include <iostream>
#include <ostream>
#include <utility>

#include "compute/adjustment_report.h"
#include "compute/figure_drawing.h"
#include "compute/file_writer.h"
#include "compute/job_json.h"
#include "core/korvanet_error.h"
#include "report/document_csv.h"
#include "report/document_html.h"
#include "report/report_layout.h"
#include "report/report_text.h"

namespace korvanet {

void PrintReportText(const FinishedJob& job, std::ostream& out) {
    if (job.run.failure) return;
    out << RenderReportText(BuildReport(job.state));
}

void PrintFields(const FinishedJob& job, std::ostream& out) {
    for (const std::string& box : job.display.Order()) {
        out << box << '=' << job.display.Text(box) << '\n';
    }
}

void PrintTranscript(const FinishedJob& job, std::ostream& out) {
    const auto& dialogue = job.run.prompter.Dialogue();
    const bool lastUnanswered = job.run.failure && job.run.ranOutOfAnswers;
    for (std::size_t i = 0; i < dialogue.size(); ++i) {
        out << "?\t" << dialogue[i].title << '\t' << dialogue[i].message << '\n';
        if (lastUnanswered && i + 1 == dialogue.size()) break;
        out << ">\t" << dialogue[i].answer << '\n';
    }
}

JobOutput TextOutputFor(BatchMode mode) {
    switch (mode) {
        case BatchMode::Report:
            return PrintReportText;
        case BatchMode::Fields:
            return PrintFields;
        case BatchMode::Transcript:
            return PrintTranscript;
        case BatchMode::Pdf:
        case BatchMode::Json:
        case BatchMode::Svg:
        case BatchMode::Html:
        case BatchMode::Odt:
        case BatchMode::Csv:
        case BatchMode::Job:
        case BatchMode::Import:
        case BatchMode::Cass:
        case BatchMode::Dxf:
        case BatchMode::GamaXml:
            break;
    }
    return {};
}

JobOutput JsonOutput(std::string jobName, std::optional<OrderClass> orderClass) {
    return [jobName = std::move(jobName), orderClass = std::move(orderClass)](const FinishedJob& job,
                                                                              std::ostream& out) {
        out << JobJson(jobName, job.run, job.state, orderClass ? &*orderClass : nullptr) << '\n';
    };
}

JobOutput SvgOutput(std::string path) {
    return [path = std::move(path)](const FinishedJob& job, std::ostream&) {
        if (job.run.failure || !job.run.quality) return;
        try {
            WriteFileWhole(path, FigureSvg(*job.run.quality));
        } catch (const KorvanetError& e) {
            throw KorvanetError("无法保存图形 " + path + ": " + e.what());
        }
        std::cerr << "图形已写入 " << path << '\n';
    };
}

std::string ReportFileBytes(BatchMode mode, const AdjustmentDocument& document) {
    return mode == BatchMode::Csv ? DocumentCsv(document) : DocumentHtml(document);
}

void WriteReportFile(const std::string& path, const std::string& bytes) {
    try {
        WriteFileWhole(path, bytes);
    } catch (const KorvanetError& e) {
        throw KorvanetError("无法保存报告 " + path + ": " + e.what());
    }
    std::cerr << "报告已写入 " << path << '\n';
}

JobOutput ReportOutput(BatchMode mode, std::string path, ReportOptions options) {
    return [mode, path = std::move(path), options = std::move(options)](const FinishedJob& job,
                                                                        std::ostream&) {
        if (job.run.failure || !job.run.quality) return;
        WriteReportFile(path, ReportFileBytes(mode, JobReportDocument(job.state, *job.run.quality, options)));
    };
}

}  // namespace korvanet
