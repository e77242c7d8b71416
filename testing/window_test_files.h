// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files a window test compares with: the reference jobs' golden files and
// the bytes of what the window wrote.

#include <QByteArray>
#include <QFile>
#include <QLatin1Char>
#include <QString>

namespace korvanet::testing {

// A file of the reference jobs (its answers, boxes, dialogue or report).
inline QString Reference(const QString& name) {
    return QString::fromUtf8(KORVANET_REFERENCE_DIR) + QLatin1Char('/') + name;
}

// What a file holds, or a text no file written by the program can hold.
inline QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

}  // namespace korvanet::testing
