// SPDX-License-Identifier: GPL-3.0-or-later
// Korvanet: rigorous conditional adjustment of a braced quadrilateral.
// Starting the program shows the window; everything else starts there.
//
//   korvanet            the window
//   korvanet JOB        the window, running the job file JOB at once
//   korvanet --version  prints the version

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QMetaObject>
#include <cstdio>
#include <cstring>

#include "app/job_store.h"
#include "app/main_window.h"
#include "app/qt_translations.h"
#include "core/korvanet_version.h"
#include "core/prompter.h"

namespace {

constexpr const char* kUsage =
    "usage: korvanet [JOB]\n"
    "       korvanet --version\n"
    "\n"
    "Shows the window; with JOB (a job file of korvanet-batch: UTF-8, one answer\n"
    "per line in the order of the value prompts) runs that job at once.\n";

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before any window exists, so that it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("korvanet %s\n", korvanet::kVersion);
        return 0;
    }
    if (argc > 2 || (argc == 2 && argv[1][0] == '-' && argv[1][1] != '\0')) {
        std::fputs(kUsage, argc == 2 && std::strcmp(argv[1], "--help") == 0 ? stdout : stderr);
        return argc == 2 && std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
    }

    QApplication app(argc, argv);
    // Only the name: a display name would be appended to every window title.
    QApplication::setApplicationName(QString::fromLatin1(korvanet::kApplicationTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(korvanet::kVersion));
    korvanet::InstallQtChineseTranslations(app);
#ifdef KORVANET_APP_ID
    // The desktop entry and the icon the installation put in place: the
    // desktop then shows this window under its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KORVANET_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(KORVANET_APP_ID)));
#endif

    korvanet::MainWindow window;
    // As the last program run left it: size, the sheet's place, recent jobs,
    // then the job in hand itself.
    window.restoreSettings();
    const QString note = window.keepLastRunIn(korvanet::LastRunJobPath());
    window.show();
    if (!note.isEmpty()) {
        // Once the window is up: the program starts all the same.
        QMetaObject::invokeMethod(
            &window, [&window, note] { QMessageBox::information(&window, QStringLiteral("Korvanet"), note); },
            Qt::QueuedConnection);
    }
    if (argc == 2) {
        // Once the window is up, as if the job had been opened from the menu.
        const QString job = QString::fromLocal8Bit(argv[1]);
        QMetaObject::invokeMethod(
            &window, [&window, job] { window.openJob(job); }, Qt::QueuedConnection);
    }
    return QApplication::exec();
}
