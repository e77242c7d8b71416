// SPDX-License-Identifier: GPL-3.0-or-later
#include "testing/reference_runs.h"

#include <fstream>
#include <stdexcept>

#include "compute/job_run.h"
#include "core/scripted_session.h"

namespace korvanet::testing {

std::vector<std::string> ReferenceAnswers(const std::string& name) {
    const std::string path = std::string(KORVANET_REFERENCE_DIR) + "/" + name + ".txt";
    std::ifstream in(path);
    if (!in) throw std::runtime_error("no reference job " + path);
    std::vector<std::string> answers;
    for (std::string line; std::getline(in, line);) answers.push_back(line);
    return answers;
}

SurveyState CompletedRun(const std::vector<std::string>& answers) {
    SurveyState state;
    RecordingDisplay display;
    const JobRun run = RunJob(answers, state, display);
    if (run.failure) throw std::runtime_error("the run did not complete: " + *run.failure);
    return state;
}

SurveyState ReferenceRun(const std::string& name) { return CompletedRun(ReferenceAnswers(name)); }

}  // namespace korvanet::testing
