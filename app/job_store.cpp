// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/job_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

#include "compute/file_writer.h"
#include "compute/job_file_reader.h"
#include "compute/job_run.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

std::string OsPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

void CutToWhatARunUses(std::vector<std::string>& job) {
    const std::size_t most = ValuesAskedBy(job);
    if (job.size() > most) job.resize(most);
}

}  // namespace

bool WriteJobFile(const QString& path, const std::vector<std::string>& answers, QString& error) {
    std::string text;
    for (const std::string& answer : answers) text += answer + '\n';
    try {
        WriteFileWhole(OsPath(path), text);
    } catch (const KorvanetError& e) {
        error = QStringLiteral("无法保存作业 %1: %2")
                    .arg(QDir::toNativeSeparators(path), QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

QString LastRunJobPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/last-run.txt");
}

QString JobStore::rememberIn(const QString& path) {
    rememberedPath_ = path;
    inFile_ = false;
    const QFileInfo file(path);
    // Nothing kept yet, or a file from a version that wrote an empty job.
    if (!file.exists() && !file.isSymLink()) return {};
    if (file.isFile() && file.size() == 0) return {};
    try {
        JobFile remembered = ReadJobFile(OsPath(path));
        CutToWhatARunUses(remembered.answers);
        job_ = std::move(remembered.answers);
        return {};
    } catch (const KorvanetError& e) {
        // Set aside, not deleted: the surveyor may still want to look at it.
        const QString aside = path + QStringLiteral(".damaged");
        QFile::remove(aside);
        const bool moved = std::rename(OsPath(path).c_str(), OsPath(aside).c_str()) == 0;
        return QStringLiteral("上次计算的答案无法读取, %1:\n%2")
            .arg(moved ? QStringLiteral("已改名为 %1 保留").arg(QDir::toNativeSeparators(aside))
                       : QStringLiteral("也无法改名保留"),
                 QString::fromUtf8(e.what()));
    }
}

QString JobStore::replace(std::vector<std::string> job) {
    CutToWhatARunUses(job);
    // The file holds this very job already: an edit that ends in an
    // adjustment keeps the job once, not twice.
    if (job == job_ && inFile_) return {};
    job_ = std::move(job);
    inFile_ = false;
    if (rememberedPath_.isEmpty()) return {};
    QDir().mkpath(QFileInfo(rememberedPath_).absolutePath());
    QString error;
    inFile_ = WriteJobFile(rememberedPath_, job_, error);
    return inFile_ ? QString() : error;
}

}  // namespace korvanet
