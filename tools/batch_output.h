// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text outputs of korvanet-batch, one function per mode.

#include <iosfwd>
#include <optional>
#include <string>

#include "adjust/order_classes.h"
#include "compute/adjustment_report.h"
#include "report/adjustment_document.h"
#include "tools/batch_command_line.h"
#include "tools/batch_job_runner.h"

namespace korvanet {

// The report as text; nothing for a failed run.
void PrintReportText(const FinishedJob& job, std::ostream& out);
// NAME=TEXT for every box the run wrote, in the order each was first written.
void PrintFields(const FinishedJob& job, std::ostream& out);
// The dialogue: "?\tTITLE\tPROMPT" and ">\tANSWER"; a run that ran out of
// answers ends at the prompt that found none.
void PrintTranscript(const FinishedJob& job, std::ostream& out);

// The output function of a mode that writes to standard output and needs
// nothing but the finished job; empty for the others.
JobOutput TextOutputFor(BatchMode mode);

// --json: the job's object on one line, named `jobName`; with --class the
// checks of that class too.
JobOutput JsonOutput(std::string jobName, std::optional<OrderClass> orderClass = std::nullopt);
// --svg: the drawing of a completed job written to `path`; nothing for a
// failed one.  Throws a KorvanetError naming the file and the reason when
// it cannot be written whole.
JobOutput SvgOutput(std::string path);

// --html and --csv: the text of the report's document in the mode's format.
std::string ReportFileBytes(BatchMode mode, const AdjustmentDocument& document);
// Writes a report file whole and says so on standard error; throws a
// KorvanetError naming the file and the reason when it cannot.
void WriteReportFile(const std::string& path, const std::string& bytes);
// --html and --csv FILE: the adjustment report of a completed job written to
// `path`; nothing for a failed one.
JobOutput ReportOutput(BatchMode mode, std::string path, ReportOptions options);

}  // namespace korvanet
