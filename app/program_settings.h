// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's one settings file, ~/.config/Korvanet/Korvanet.conf: the
// window's size and place, the recent jobs, the chosen order class, the
// report's folder and steps, the design window's folder.  Named here once,
// whatever name the running program has (a test's, the benchmark's), so that
// every window reads what another wrote.

#include <QSettings>
#include <QString>

namespace korvanet {

inline QSettings ProgramSettings() {
    return QSettings(QStringLiteral("Korvanet"), QStringLiteral("Korvanet"));
}

}  // namespace korvanet
