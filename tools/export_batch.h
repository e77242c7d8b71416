// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// korvanet-batch --cass, --dxf and --gama-xml FILE: the completed figure of
// a job, a design or a field book's job written whole for another program
// (compute/figure_exports.h).

#include <iosfwd>
#include <string>

#include "compute/figure_exports.h"
#include "tools/batch_command_line.h"
#include "tools/batch_job_runner.h"

namespace korvanet {

// The bytes of the export `mode` of a completed figure.
std::string ExportFileBytes(BatchMode mode, bool gbk, const SurveyState& state, const QualityCheck& quality,
                            const PointHeights& heights);

// Writes an export file whole and says so on `err`; throws a KorvanetError
// naming the file and the reason when it cannot.
void WriteExportFile(BatchMode mode, const std::string& path, const std::string& bytes, std::ostream& err);

// The export of `line` (its mode, file and encoding) for a completed job;
// nothing for a failed one.
JobOutput ExportOutput(const BatchCommandLine& line, PointHeights heights = {});

}  // namespace korvanet
