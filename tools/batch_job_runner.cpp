// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/batch_job_runner.h"

#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "compute/job_text.h"
#include "core/korvanet_error.h"

namespace korvanet {

bool RunBatchJob(const std::string& bytes, const JobOutput& output, const std::string& label,
                 std::ostream& out, std::ostream& err) {
    std::vector<std::string> answers;
    std::string notice;
    std::optional<std::string> undecodable;
    try {
        answers = DecodeJobAnswers(bytes, &notice);
    } catch (const KorvanetError& e) {
        undecodable = e.what();
    }
    if (!notice.empty()) err << label << notice << '\n';

    // Every job on a record of its own, exactly as if it ran alone.  A file
    // that cannot be decoded is a run that never asked anything: the modes
    // show it as such (the JSON object says why).
    SurveyState state;
    RecordingDisplay display;
    const JobRun run = undecodable ? JobRun{ScriptedPrompter::ForJob({}), undecodable, false, std::nullopt}
                                   : RunJob(std::move(answers), state, display);
    try {
        output(FinishedJob{state, display, run}, out);
    } catch (const KorvanetError& e) {
        out.flush();
        err << label << e.what() << '\n';
        return false;
    }
    if (undecodable) {
        out.flush();
        err << label << *undecodable << '\n';
        return false;
    }
    if (run.failure) {
        out.flush();
        err << label << "计算中止: " << *run.failure << '\n';
        return false;
    }
    return true;
}

}  // namespace korvanet
