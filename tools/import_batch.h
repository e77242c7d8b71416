// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// korvanet-batch --import FILE... [--points A=ID,...]: the field book made
// from instrument files (compute/instrument_import.h), printed as a .kvf.

#include <iosfwd>

#include "tools/batch_command_line.h"

namespace korvanet {

// Reads every file of the command line, maps its ids by --points (or takes
// A, B, C, D as they are) and prints the book on `out`; messages go to
// `err`.  The exit status: 0 when a book was made, else 1.
int RunImportFiles(const BatchCommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace korvanet
