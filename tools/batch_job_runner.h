// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One job of korvanet-batch, from the bytes of its file to its output: the
// answers decoded, the Compute command run on a fresh record, the mode's
// output written, the notes and the failure reported.  korvanet-batch,
// korvanet-pdf and the fuzz target all run jobs through here; the bytes are
// read by compute/job_file_reader.h.

#include <functional>
#include <iosfwd>
#include <string>

#include "compute/job_run.h"
#include "core/scripted_session.h"
#include "core/survey_state.h"

namespace korvanet {

// A job run to its end, or to the failure that stopped it.
struct FinishedJob {
    const SurveyState& state;
    const RecordingDisplay& display;
    const JobRun& run;  // run.failure is set when the run did not complete
};

// Writes a mode's output of a finished job to `out`; for a failed run, what
// the mode shows of it (the boxes or the dialogue so far), or nothing.  May
// throw a KorvanetError, whose message is told whole, when the output
// cannot be made or written.
using JobOutput = std::function<void(const FinishedJob&, std::ostream& out)>;

// Runs one job from the bytes of its file and writes its output with
// `output`.  Notes and the failure go to `err`, each line beginning with
// `label` (the file's name when several jobs run, else empty); `out` is
// flushed first, so that a terminal shows them after the output they
// follow.  True when the job succeeded.
bool RunBatchJob(const std::string& bytes, const JobOutput& output, const std::string& label,
                 std::ostream& out, std::ostream& err);

}  // namespace korvanet
