// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/job_in_hand.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "app/observation_sheet_model.h"
#include "app/program_settings.h"
#include "compute/job_file_reader.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

constexpr int kRecentJobs = 8;

}  // namespace

QString JobInHand::rememberIn(const QString& path) {
    const QString note = store_.rememberIn(path);
    // The sheet as it was left, even by a crash.
    filling_ = true;
    sheet_->setContent(sheet_->contentOfJob(answers()));
    filling_ = false;
    saved_.clear();
    if (!path_.isEmpty()) {
        try {
            saved_ = ReadJobFile(QFile::encodeName(path_).toStdString()).answers;
        } catch (const KorvanetError&) {
            // The job file is gone or unreadable: the sheet belongs to no file.
            path_.clear();
        }
    }
    return note;
}

QString JobInHand::fileName() const { return path_.isEmpty() ? QString() : QFileInfo(path_).fileName(); }

void JobInHand::tookFile(const QString& path, const std::vector<std::string>& answers) {
    path_ = QFileInfo(path).absoluteFilePath();
    saved_ = answers;
    recent_.removeAll(path_);
    recent_.prepend(path_);
    while (recent_.size() > kRecentJobs) recent_.removeLast();
    QSettings settings = ProgramSettings();
    settings.setValue(QStringLiteral("jobs/recent"), recent_);
    settings.setValue(QStringLiteral("jobs/inHand"), path_);
}

void JobInHand::restoreFiles() {
    const QSettings settings = ProgramSettings();
    recent_ = settings.value(QStringLiteral("jobs/recent")).toStringList();
    path_ = settings.value(QStringLiteral("jobs/inHand")).toString();
}

void JobInHand::showInSheet(bool running) {
    if (sheet_->job() == answers()) return;
    filling_ = true;
    const SheetContent content = sheet_->contentOfJob(answers());
    // During a run each confirmed value shows at once; the run becomes one
    // undo step when it ends (putRunInSheet).
    if (running) {
        sheet_->setContent(content);
    } else {
        sheet_->change(content, QStringLiteral("更换作业"));
    }
    filling_ = false;
}

void JobInHand::putRunInSheet(const SheetContent& before, const QString& what) {
    filling_ = true;
    // The run filled the sheet value by value; undone, it goes back whole.
    sheet_->setContent(before);
    // A run that ended before its first confirmed answer left the job, and the sheet, as they were.
    if (sheet_->job() != answers()) sheet_->change(sheet_->contentOfJob(answers()), what);
    filling_ = false;
}

}  // namespace korvanet
