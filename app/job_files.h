// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Job files on disk for the window: a job is the batch tool's file, UTF-8,
// one answer per line in the order of the value prompts, confirmations not
// written.  Writing is atomic (QSaveFile): a job on disk is either the old
// one or the whole new one, never half of each.

#include <QString>
#include <string>
#include <vector>

namespace korvanet {

// The answers of the job in `path`.  False, with `error` in Chinese, when
// the file cannot be read.
bool ReadJobFile(const QString& path, std::vector<std::string>& answers, QString& error);

// Writes `answers` to `path`, one per line, each line ended by a newline.
// False, with `error` in Chinese, when the file cannot be written.
bool WriteJobFile(const QString& path, const std::vector<std::string>& answers, QString& error);

// Where the answers of the last run are kept between program runs: a job
// file in the user's data folder.
QString LastRunJobPath();

}  // namespace korvanet
