// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A job file: the answers a surveyor would type into the value prompts of one
// Compute run, one per line, in the order the prompts come.  Confirmations
// are not written; each is answered by Enter.

#include <string>
#include <vector>

namespace korvanet {

// Splits a job (one answer per line; a final newline adds no answer; CR
// before LF is dropped) into its answers.
std::vector<std::string> SplitJobLines(const std::string& text);

// Reads a job file's bytes as people save them.  A leading UTF-8 byte order
// mark (as Windows editors write it) is skipped.  Text that is not valid
// UTF-8 is read as GB18030, the default of a Chinese Windows editor, and
// `notice` (when given) receives a note saying so; otherwise it is cleared.
// Text that is neither throws an InputError naming the first line that is
// neither, so that no garbled name ever reaches a report.
std::vector<std::string> ReadJobAnswers(const std::string& bytes, std::string* notice = nullptr);

}  // namespace korvanet
