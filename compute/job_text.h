// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text of a job: the answers a surveyor would type into the value
// prompts of one Compute run, one per line, in the order the prompts come.
// Confirmations are not written; each is answered by Enter.  Here a job's
// bytes become its answers; compute/job_file_reader.h reads them from disk.

#include <string>
#include <string_view>
#include <vector>

namespace korvanet {

// Splits a job (one answer per line; a final newline adds no answer; CR
// before LF is dropped) into its answers.
std::vector<std::string> SplitJobLines(const std::string& text);

// The text of a file's bytes decoded as DecodeJobAnswers below decodes them,
// as UTF-8; `kind` ("作业文件", "外业手簿") names the file in its messages.
// Empty text (no bytes, or only a byte order mark) is returned empty.
std::string DecodeJobText(const std::string& bytes, std::string* notice, std::string_view kind);

// Decodes a job file's bytes as people save them.  A leading UTF-8 byte order
// mark (as Windows editors write it) is skipped.  Text that is not valid
// UTF-8 is read as GB18030, the default of a Chinese Windows editor, and
// `notice` (when given) receives a note saying so; otherwise it is cleared.
// Text that is neither throws an InputError naming the first line that is
// neither, so that no garbled name ever reaches a report, and so does a job
// without a single answer (no bytes, or only a byte order mark).
std::vector<std::string> DecodeJobAnswers(const std::string& bytes, std::string* notice = nullptr);

}  // namespace korvanet
