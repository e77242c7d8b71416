// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's jobs on disk.  A job is the batch tool's file, UTF-8, one
// answer per line in the order of the value prompts, confirmations not
// written; it is read by compute/job_file_reader.h, as the batch tool reads
// it, and written whole and atomically (compute/file_writer.h): a job on
// disk is either the old one or the whole new one, never half of each.
//
// JobStore holds the job in hand (the answers of the last run) and keeps a
// copy of it in the user's data folder each time it changes, so that a
// crash, a kill or a logout loses at most the value being typed.

#include <QString>
#include <string>
#include <vector>

namespace korvanet {

// Writes `answers` to `path`, one per line, each line ended by a newline.
// False, with `error` in Chinese naming the file and the reason, when the
// file cannot be written whole.
bool WriteJobFile(const QString& path, const std::vector<std::string>& answers, QString& error);

// Where the answers of the last run are kept between program runs: a job
// file in the user's data folder.
QString LastRunJobPath();

class JobStore {
public:
    // The job in hand: never more answers than a run can use.
    const std::vector<std::string>& job() const { return job_; }

    // Keeps the job in hand in `path` from now on and takes it from there
    // now, if the file exists (the last program run's).  A file that cannot
    // be read as a job (damaged, too large, no file at all) is set aside
    // under another name, never read whole; the note saying so is returned
    // (empty when there is nothing to tell).
    QString rememberIn(const QString& path);

    // The job in hand changed: `job` replaces it (cut to what a run can use)
    // and is written at once to the remembered file, if there is one.
    // Empty, or the message of a failed write.
    QString replace(std::vector<std::string> job);

private:
    std::vector<std::string> job_;
    QString rememberedPath_;
    bool inFile_ = false;  // the remembered file was last written with job_
};

}  // namespace korvanet
