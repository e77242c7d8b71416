// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of one whole Compute run without a window: the scripted input phase
// followed by the adjustment, and the adjustment alone.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "adjust/adjustment.h"
#include "compute/compute_run.h"
#include "compute/job_text.h"
#include "core/scripted_session.h"
#include "entry/input_sequence.h"

namespace {

std::vector<std::string> ExampleJob() {
    std::ifstream in(KORVANET_EXAMPLE_JOB);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return korvanet::SplitJobLines(text);
}

void WholeComputeRun(benchmark::State& st) {
    const auto answers = ExampleJob();
    for (auto _ : st) {
        auto prompter = korvanet::ScriptedPrompter::ForJob(answers);
        korvanet::RecordingDisplay display;
        korvanet::SurveyState state;
        korvanet::RunCompute(state, prompter, display);
        benchmark::DoNotOptimize(state.X);
    }
}
BENCHMARK(WholeComputeRun);

// From the entered state on, with a fresh display each time as in a run (one
// display kept over all iterations would record millions of boxes).
void AdjustmentAlone(benchmark::State& st) {
    const auto answers = ExampleJob();
    auto prompter = korvanet::ScriptedPrompter::ForJob(answers);
    korvanet::RecordingDisplay inputDisplay;
    korvanet::SurveyState entered;
    const korvanet::RunValues values = korvanet::RunInputSequence(entered, prompter, inputDisplay);
    for (auto _ : st) {
        korvanet::SurveyState state = entered;
        korvanet::RunValues run = values;
        korvanet::RecordingDisplay display;
        korvanet::RunAdjustment(state, run, display);
        benchmark::DoNotOptimize(state.X);
    }
}
BENCHMARK(AdjustmentAlone);

}  // namespace

BENCHMARK_MAIN();
