// SPDX-License-Identifier: GPL-3.0-or-later
// korvanet-sheet-bench: the live adjustment of the observation sheet through
// the real window, offscreen.  One iteration is one edited cell (side S(1)
// changed by a millimetre, as a commit of its editor sets it) until every box
// of the form, the red marks, the quality window and its drawing show the
// new figure.  Variants: with the window and the quality window painted as
// well, and with the job in hand kept in a data folder as the program keeps
// it.  The field-book variant changes one reading of the field book window
// until its reduction, the job 送入观测数据 puts into the sheet and every box
// of the form show it, with and without the book and the job kept in a data
// folder.
//
//   korvanet-sheet-bench [benchmark options]
//   korvanet-sheet-bench --picture FILE.png | --picture-refused FILE.png
//   korvanet-sheet-bench --picture-field-book FILE.png [TAB]
//
// --picture writes a picture of the window with the sheet (after one edit)
// and ends; --picture-refused the same with angle B(3) typed with 70 seconds;
// --picture-field-book the field book window with the example's book, one
// set's 2C beyond its limit (TAB: the tab shown, from 0; station A's by default).

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/field_book_document.h"
#include "app/field_book_model.h"
#include "app/field_book_window.h"
#include "app/main_window.h"
#include "app/observation_sheet.h"
#include "app/observation_sheet_model.h"
#include "app/quality_window.h"
#include "core/form_boxes.h"
#include "core/korvanet_error.h"

namespace {

using korvanet::MainWindow;
using korvanet::ObservationSheetModel;

struct Bench {
    MainWindow* window = nullptr;
    QWidget* quality = nullptr;
};

Bench OpenWindow(MainWindow& window) {
    window.openJob(QStringLiteral(KORVANET_EXAMPLE_JOB));
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->objectName() == QStringLiteral("qualityAction")) action->trigger();
    }
    return {&window, window.findChild<korvanet::QualityWindow*>()};
}

// One edit of S(1), alternating between two values a millimetre apart, and a
// look at the box of S(1) so that the run cannot be left out.
void EditOneCell(MainWindow& window, bool& other) {
    ObservationSheetModel* model = window.sheet()->model();
    other = !other;
    model->setData(model->index(korvanet::sheet_row::kFirstSide, ObservationSheetModel::ValueColumn),
                   other ? QStringLiteral("1832.482") : QStringLiteral("1832.481"));
    const QString shown =
        window.findChild<QLineEdit*>(QString::fromStdString(korvanet::boxes::ObservedSide(1)))->text();
    if (shown != (other ? QStringLiteral(" 1832.482") : QStringLiteral(" 1832.481"))) std::abort();
}

void EditedCellToEveryBox(benchmark::State& st) {
    MainWindow window;
    window.show();
    OpenWindow(window);
    bool other = false;
    for (auto _ : st) EditOneCell(window, other);
}
BENCHMARK(EditedCellToEveryBox)->Unit(benchmark::kMicrosecond);

void EditedCellToEveryBoxPainted(benchmark::State& st) {
    MainWindow window;
    window.show();
    const Bench bench = OpenWindow(window);
    bool other = false;
    for (auto _ : st) {
        EditOneCell(window, other);
        window.repaint();
        bench.quality->repaint();
    }
}
BENCHMARK(EditedCellToEveryBoxPainted)->Unit(benchmark::kMicrosecond);

void EditedCellToEveryBoxKept(benchmark::State& st) {
    QTemporaryDir data;
    MainWindow window;
    window.keepLastRunIn(data.filePath(QStringLiteral("last-run.txt")));
    window.show();
    OpenWindow(window);
    bool other = false;
    for (auto _ : st) EditOneCell(window, other);
}
BENCHMARK(EditedCellToEveryBoxKept)->Unit(benchmark::kMicrosecond);

// The example's field book in its window, the figure fed into the sheet.
korvanet::FieldBookWindow* OpenFieldBook(MainWindow& window) {
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->objectName() == QStringLiteral("fieldBookAction")) action->trigger();
    }
    auto* book = window.findChild<korvanet::FieldBookWindow*>();
    if (book == nullptr) std::abort();
    try {
        // Not through the window's 打开: a refusal would wait in a message box.
        book->document()->open(QStringLiteral(KORVANET_EXAMPLE_BOOK));
    } catch (const korvanet::KorvanetError& e) {
        std::fprintf(stderr, "korvanet-sheet-bench: %s\n", e.what());
        std::exit(1);
    }
    book->feedButton()->click();
    return book;
}

// One reading of station A changed by a second, alternating, and sent: the
// angle's box must show it.
void EditOneReading(korvanet::FieldBookWindow& book, MainWindow& window, bool& other, QString& before) {
    other = !other;
    QAbstractItemModel* station = book.view(korvanet::BookTable::StationA)->model();
    const QModelIndex reading = station->index(1, korvanet::direction_column::Left);
    static const QString first = reading.data().toString();
    // The packed reading one second later: its last digits are the seconds'.
    static const QString second = [] {
        QString later = first;
        const int at = static_cast<int>(later.indexOf(QLatin1Char('.'))) + 4;
        later[at] = QChar(later[at].unicode() == u'9' ? u'8' : later[at].unicode() + 1);
        return later;
    }();
    station->setData(reading, other ? second : first);
    book.feedButton()->click();
    const QString shown =
        window.findChild<QLineEdit*>(QString::fromStdString(korvanet::boxes::ObservedAngle(1)))->text();
    if (shown == before) std::abort();
    before = shown;
}

void EditedReadingToEveryBox(benchmark::State& st) {
    MainWindow window;
    window.show();
    korvanet::FieldBookWindow* book = OpenFieldBook(window);
    book->show();
    bool other = false;
    QString before;
    for (auto _ : st) EditOneReading(*book, window, other, before);
}
BENCHMARK(EditedReadingToEveryBox)->Unit(benchmark::kMicrosecond);

// As the program runs: the job and the field book kept in a data folder.
void EditedReadingToEveryBoxKept(benchmark::State& st) {
    QTemporaryDir data;
    MainWindow window;
    window.keepLastRunIn(data.filePath(QStringLiteral("last-run.txt")));
    window.show();
    korvanet::FieldBookWindow* book = OpenFieldBook(window);
    book->show();
    bool other = false;
    QString before;
    for (auto _ : st) EditOneReading(*book, window, other, before);
}
BENCHMARK(EditedReadingToEveryBoxKept)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvanet"));
    const bool refused = argc == 3 && std::strcmp(argv[1], "--picture-refused") == 0;
    if (argc == 3 && (refused || std::strcmp(argv[1], "--picture") == 0)) {
        MainWindow window;
        window.resize(1500, 740);
        window.show();
        OpenWindow(window);
        // The quality window is not part of this picture.
        if (auto* quality = window.findChild<korvanet::QualityWindow*>()) quality->close();
        bool other = false;
        EditOneCell(window, other);
        ObservationSheetModel* model = window.sheet()->model();
        const int row = refused ? korvanet::sheet_row::kFirstAngle + 2 : korvanet::sheet_row::kFirstSide;
        if (refused)
            model->setData(model->index(row, ObservationSheetModel::ValueColumn), QStringLiteral("42.5970"));
        window.sheet()->focusTable();
        // Where Enter leaves the keyboard: on the next row.
        window.sheet()->view()->setCurrentIndex(model->index(row + 1, ObservationSheetModel::ValueColumn));
        QApplication::processEvents();
        return window.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "--picture-field-book") == 0) {
        MainWindow window;
        window.show();
        korvanet::FieldBookWindow* book = OpenFieldBook(window);
        book->resize(1280, 620);
        book->show();
        // One face-right reading off by 20″: its set's 2C range beyond the limit.
        QAbstractItemModel* station = book->view(korvanet::BookTable::StationA)->model();
        const QModelIndex right = station->index(1, korvanet::direction_column::Right);
        QString off = right.data().toString();
        const int tens = static_cast<int>(off.indexOf(QLatin1Char('.'))) + 3;
        off[tens] = QChar(off[tens].unicode() < u'4' ? off[tens].unicode() + 2 : off[tens].unicode() - 2);
        station->setData(right, off);
        book->showTable(korvanet::BookTable::StationA);
        book->view(korvanet::BookTable::StationA)
            ->setCurrentIndex(station->index(2, korvanet::direction_column::Right));
        if (argc == 4) book->tabs()->setCurrentIndex(std::atoi(argv[3]));
        QApplication::processEvents();
        return book->grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
