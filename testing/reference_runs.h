// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reference jobs (known-d, free-d, free-d-negative-q1, free-d-q1-zero in
// testing/reference-jobs) run as the window and the batch tool run them: the
// job runner answers the Compute command from the job's lines.  Tests that
// need a completed record take it from here instead of typing one.

#include <string>
#include <vector>

#include "core/survey_state.h"

namespace korvanet::testing {

// The answers of reference job `name`, one per line of its file.
std::vector<std::string> ReferenceAnswers(const std::string& name);

// The record a Compute run leaves after `answers`; std::runtime_error with
// the run's message when the run does not complete.
SurveyState CompletedRun(const std::vector<std::string>& answers);

// CompletedRun(ReferenceAnswers(name)).
SurveyState ReferenceRun(const std::string& name);

}  // namespace korvanet::testing
