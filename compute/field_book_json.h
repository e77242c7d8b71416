// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A reduced field book as one JSON object (one line of korvanet-batch
// --fieldbook --json): the book, whether its job is complete and what it
// lacks, the stations' sets and directions (or 测回法 angles), the angles,
// the distance records step by step, the sides, every check and the job.

#include <string>

#include "compute/field_book_run.h"

namespace korvanet {

std::string FieldBookJson(const FieldBookRun& run, const std::string& bookName);

// The object for a book that could not be read: {"fieldbook", "completed":
// false, "error"}, as a job that never ran says it.
std::string FailedFieldBookJson(const std::string& bookName, const std::string& error);

}  // namespace korvanet
