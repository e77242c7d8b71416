// SPDX-License-Identifier: GPL-3.0-or-later
// A libFuzzer target: any bytes as a job file, through the batch tool's own
// path (decoding, the Compute command on a fresh record, every text output).
// A job may fail, but only as a KorvanetError with its message; anything
// else escaping, a sanitizer report or a completed job without a report is
// a fault.

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "tools/batch_command_line.h"
#include "tools/batch_job_runner.h"
#include "tools/batch_output.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (korvanet::BatchMode mode :
         {korvanet::BatchMode::Report, korvanet::BatchMode::Fields, korvanet::BatchMode::Transcript}) {
        std::ostringstream out, err;
        const bool ok = korvanet::RunBatchJob(bytes, korvanet::TextOutputFor(mode), "", out, err);
        // A job that fails says why and prints no report; one that
        // completes shows something in every mode.
        if (!ok && err.str().empty()) __builtin_trap();
        if (ok && out.str().empty()) __builtin_trap();
        if (!ok && mode == korvanet::BatchMode::Report && !out.str().empty()) __builtin_trap();
    }
    // The JSON object of any job, completed or not, parses back whole.
    std::ostringstream out, err;
    korvanet::RunBatchJob(bytes, korvanet::JsonOutput("fuzz"), "", out, err);
    const std::string line = out.str();
    if (line.empty() || line.back() != '\n' || line.find('\n') != line.size() - 1) __builtin_trap();
    if (!nlohmann::json::accept(line)) __builtin_trap();
    return 0;
}
