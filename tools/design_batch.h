// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// korvanet-batch --design: design files (精度估算) instead of jobs.  Each
// design runs through the one Compute path (RunDesign) and gives its
// a-priori figures as its precision report in plain text (report/document_text.h), as JSON Lines (--json), as
// the drawing (--svg FILE) or as the precision report (--html, --odt,
// --csv FILE); with --class the checks a design can answer.

#include <iosfwd>
#include <optional>
#include <string>

#include "adjust/order_classes.h"
#include "compute/design_run.h"
#include "tools/batch_command_line.h"

namespace korvanet {

// Runs every design file of the command line with its mode; messages go to
// `err` (each prefixed by the file's name when there are several).  The
// exit status: 0 when every design completed, else 1.
// `classSource` names where the class table came from, for the reports.
int RunDesignFiles(const BatchCommandLine& line, const std::optional<OrderClass>& orderClass,
                   const std::string& classSource, std::ostream& out, std::ostream& err);

}  // namespace korvanet
