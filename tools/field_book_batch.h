// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// korvanet-batch --fieldbook: field books (外业手簿, .kvf) instead of jobs.
// Each book is read, reduced against its class (or the one --class names)
// through the one path (RunFieldBook) and gives its computation sheet as
// plain text (report/document_text.h), its object as JSON Lines (--json),
// its job (--job), or the adjustment report of its job with the field
// sections first (--html, --csv FILE; --odt through korvanet-pdf).

#include <iosfwd>
#include <string>

#include "compute/field_book_run.h"
#include "compute/order_class_table.h"
#include "tools/batch_command_line.h"

namespace korvanet {

// Reads the book at `path` ("-": standard input) and reduces it against
// `table`, with `orderClass`, when not empty, in place of the class the book
// names.  A decoding notice goes to `notice`.  Throws an InputError when
// the book cannot be read, refuses a line or names a class not in the table.
FieldBookRun ReadAndRunFieldBook(const std::string& path, const std::string& orderClass,
                                 const OrderClassTable& table, std::string* notice = nullptr);

// The job of a complete book as a job file's bytes, one answer a line.
std::string FieldBookJobBytes(const FieldBookRun& run);

// What an incomplete book still lacks, as one line for the surveyor.
std::string MissingMessage(const FieldBookRun& run);

// Runs every book of the command line with its mode (not --odt); messages go
// to `err`, each prefixed by the book's name when there are several.  The
// exit status: 0 when every book was read (and, for --job and the reports,
// was complete and its job adjusted), else 1.
int RunFieldBookFiles(const BatchCommandLine& line, const OrderClassTable& table, std::ostream& out,
                      std::ostream& err);

}  // namespace korvanet
