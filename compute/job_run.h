// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The job runner: one Compute run answered from a job's answers instead of a
// person, through the same Compute command as the window.  The batch tool runs
// jobs with it; the window opens job files with it.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "adjust/quality_check.h"
#include "core/scripted_session.h"
#include "core/survey_state.h"
#include "core/text_display.h"

namespace korvanet {

struct JobRun {
    ScriptedPrompter prompter;           // the dialogue of the run, prompt by prompt
    std::optional<std::string> failure;  // the message when the run did not complete
    bool ranOutOfAnswers = false;        // the last prompt of the dialogue found no answer
    // The quality check of the run, when it completed.
    std::optional<QualityCheck> quality;
};

// Runs the Compute command on `state` with `answers`, showing every box on
// `display`.  Never throws a KorvanetError: a failed run comes back as its
// message, and so does a job with answers left over when the run is done.
// `scale`: the precision figures from the run's m0, or from sigma0 for a
// design (精度估算), whose error-free observations give m0 = 0.
JobRun RunJob(std::vector<std::string> answers, SurveyState& state, TextDisplay& display,
              PrecisionScale scale = PrecisionScale::APosteriori);

// How many values a Compute run asks when answered from `job`: 25 when its
// x and y of D (answers 4 and 5) both read as zero, so that T0, Q1 and a
// sixth side are asked, else 22.  No run can use more answers than that.
std::size_t ValuesAskedBy(const std::vector<std::string>& job);

}  // namespace korvanet
