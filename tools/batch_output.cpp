#include "batch_output.h"

#include <ostream>

#include "report_layout.h"
#include "report_text.h"

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
            break;
    }
    return {};
}

}  // namespace korvanet
