// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The job in hand: the answers the window holds, kept at once in the user's
// data folder (JobStore); the job file they came from or were last saved to,
// with the answers that file holds, so that the window knows whether the
// sheet differs from it; the recent jobs; and the observation sheet, which
// always shows the job in hand.  The window runs the commands and asks the
// questions; this class keeps what they leave.

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "app/job_store.h"

namespace korvanet {

class ObservationSheetModel;
struct SheetContent;

class JobInHand {
public:
    // The sheet that shows the job; it outlives this object.
    explicit JobInHand(ObservationSheetModel* sheet) : sheet_(sheet) {}

    const std::vector<std::string>& answers() const { return store_.job(); }
    // `job` replaces the job in hand and is kept at once (JobStore::replace):
    // empty, or the message of a failed write.
    QString replace(std::vector<std::string> job) { return store_.replace(std::move(job)); }
    // Keeps the job in `path` from now on and takes it from there now; the
    // sheet shows it (outside its undo stack: nothing to undo at start).  The
    // job file of the last program run is read again, to know whether the
    // sheet still matches it; a file gone or unreadable leaves it with none.
    // The note of JobStore::rememberIn.
    QString rememberIn(const QString& path);

    // The job file's name (empty: none) and whether the job differs from it
    // (with none, whether it holds anything).
    QString fileName() const;
    bool modified() const { return answers() != saved_; }
    // A job file was opened or saved with `answers`: it is the job's file now
    // and first of the recent jobs, both kept in the settings.
    void tookFile(const QString& path, const std::vector<std::string>& answers);
    // The recent jobs, newest first, and the file of the job in hand, as the
    // last program run left them.
    void restoreFiles();
    const QStringList& recent() const { return recent_; }

    // The sheet follows the job in hand: during a run value by value outside
    // the undo stack, else as one undo step.
    void showInSheet(bool running);
    // After a run: the sheet as it was before it, then the run's job as one
    // undo step named `what` (none when the job did not change).
    void putRunInSheet(const SheetContent& before, const QString& what);
    // True while the sheet is being filled from the job: no edit of the surveyor's.
    bool fillingSheet() const { return filling_; }

private:
    ObservationSheetModel* sheet_;
    JobStore store_;
    QString path_;                    // absolute; empty: no file
    std::vector<std::string> saved_;  // what that file holds
    QStringList recent_;
    bool filling_ = false;
};

}  // namespace korvanet
