// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/job_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "compute/job_file.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

// The one place where a job's bytes become its answers, decoded as the batch
// tool decodes them: a byte order mark skipped, GB18030 read as such.  The
// answers are UTF-8 from here on, and a saved job is written so.
std::vector<std::string> JobAnswersFromBytes(const QByteArray& bytes) {
    std::string notice;
    return ReadJobAnswers(bytes.toStdString(), &notice);
}

}  // namespace

bool ReadJobFile(const QString& path, std::vector<std::string>& answers, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error =
            QStringLiteral("无法读取作业文件 %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    try {
        answers = JobAnswersFromBytes(file.readAll());
    } catch (const KorvanetError& e) {
        error = QStringLiteral("无法读取作业文件 %1: %2")
                    .arg(QDir::toNativeSeparators(path), QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

bool WriteJobFile(const QString& path, const std::vector<std::string>& answers, QString& error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        for (const std::string& answer : answers) {
            file.write(answer.data(), static_cast<qint64>(answer.size()));
            file.write("\n", 1);
        }
        if (file.commit()) return true;
    }
    error = QStringLiteral("无法写入作业文件 %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
}

QString LastRunJobPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/last-run.txt");
}

}  // namespace korvanet
