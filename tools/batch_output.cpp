// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/batch_output.h"

#include <fstream>
#include <iostream>
#include <ostream>
#include <utility>

#include "compute/figure_drawing.h"
#include "compute/job_json.h"
#include "core/korvanet_error.h"
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
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << FigureSvg(*job.run.quality);
        file.close();
        if (!file) throw KorvanetError("无法写入图形文件 " + path);
        std::cerr << "图形已写入 " << path << '\n';
    };
}

}  // namespace korvanet
