// SPDX-License-Identifier: GPL-3.0-or-later
// The window's files in and out, through its menus and real dialogs.
//
// In: a GSI-16 file of a day at station K1 (two sets, face left then face
// right, with slope distances) and a CSV of the known points, imported into
// an open book through 手簿 → 导入…: the file dialog takes both, the mapping
// table is answered with the keyboard (refusing a letter given twice and a
// recorded id left out), and station A's sets and sides come out as the
// readings worked by hand below; one undo takes the book back exactly, the
// kept copy following; a file with a line that is no GSI is refused with its
// line and the book stays.
//
// Out: the example job's figure exported as CASS (GBK), DXF and Gama XML
// through 文件 → 导出, each file byte for byte what the batch tool writes
// for the same run; an unwritable place told with the writer's reason,
// nothing written and the dialog still there to choose again; the heights
// of CASS from the field book the sheet's job came from; and a design's
// figure exported from the 精度估算 window.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>

#include "adjust/quadrilateral.h"
#include "app/design_window.h"
#include "app/field_book_document.h"
#include "app/field_book_model.h"
#include "app/field_book_window.h"
#include "app/figure_export.h"
#include "app/import_mapping_dialog.h"
#include "app/main_window.h"
#include "compute/design_run.h"
#include "compute/figure_exports.h"
#include "compute/file_writer.h"
#include "compute/instrument_import.h"
#include "compute/job_file_reader.h"
#include "compute/job_run.h"
#include "core/scripted_session.h"
#include "testing/dialog_answerer.h"
#include "testing/window_test_files.h"

using korvanet::BookTable;
using korvanet::FieldBookWindow;
using korvanet::FigureExportDialog;
using korvanet::ImportMappingDialog;
using korvanet::MainWindow;
using korvanet::testing::Bytes;
using korvanet::testing::DialogAnswerer;
using korvanet::testing::Finish;
using korvanet::testing::Reply;
namespace dc = korvanet::direction_column;

namespace {

// Station K1 with its coordinates and instrument height, then two sets:
// face left K2, K3, K4, face right back K4, K3, K2 (V beyond 180°).  Hz and
// V are 360° sexagesimal (unit 4, ddd.mmsss), distances in mm (unit 0).
const char* const kStationK1 =
    "*110001+00000000000000K1 84..10+0000000512736480 85..10+0000003521408250 86..10+0000000000050000 "
    "88..10+0000000000001500 \n"
    "*110002+00000000000000K2 21.324+0000000000000100 22.324+0000000009000000 31..00+0000000001832481 \n"
    "*110003+00000000000000K3 21.324+0000000004644300 22.324+0000000009000000 31..00+0000000002780446 \n"
    "*110004+00000000000000K4 21.324+0000000009156000 22.324+0000000009000000 \n"
    "*110005+00000000000000K4 21.324+0000000027156060 22.324+0000000027000000 \n"
    "*110006+00000000000000K3 21.324+0000000022644340 22.324+0000000027000000 31..00+0000000002780448 \n"
    "*110007+00000000000000K2 21.324+0000000018000140 22.324+0000000027000000 31..00+0000000001832483 \n"
    "*110008+00000000000000K2 21.324+0000000009000200 22.324+0000000009000000 31..00+0000000001832482 \n"
    "*110009+00000000000000K3 21.324+0000000013644420 22.324+0000000009000000 31..00+0000000002780447 \n"
    "*110010+00000000000000K4 21.324+0000000018156100 22.324+0000000009000000 \n"
    "*110011+00000000000000K4 21.324+0000000000156140 22.324+0000000027000000 \n"
    "*110012+00000000000000K3 21.324+0000000031644440 22.324+0000000027000000 31..00+0000000002780449 \n"
    "*110013+00000000000000K2 21.324+0000000027000220 22.324+0000000027000000 31..00+0000000001832484 \n";

// The known points A (K1) and D (K4): 点名,x,y,h.
const char* const kKnownPoints =
    "K1,3521408.250,512736.480,50.000\n"
    "K4,3521735.980,514912.655,48.500\n";

// A day whose third line is no GSI block at all.
const char* const kBrokenRecord =
    "*110001+00000000000000K1 88..10+0000000000001500 \n"
    "*110002+00000000000000K2 21.324+0000000000000100 22.324+0000000009000000 \n"
    "K3 46.4430 ???\n"
    "*110004+00000000000000K4 21.324+0000000009156000 22.324+0000000009000000 \n";

constexpr double kSecondsPerDegree = 3600;
double Dms(int d, int m, double s) { return d * kSecondsPerDegree + m * 60 + s; }

QAction* Action(const QWidget& window, const QString& name) {
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->objectName() == name || action->text() == name) return action;
    }
    return nullptr;
}

void WriteText(const QString& path, const char* text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(text) == static_cast<qint64>(std::strlen(text)));
}

QString Shown(const FieldBookWindow* book, BookTable table, int row, int column) {
    return book->view(table)->model()->index(row, column).data().toString();
}

QPushButton* ButtonOf(const QWidget* dialog, const QString& text) {
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

// The last dialog of type T that `parent` opened and still shows.
template <typename T>
T* Shown(const QWidget& parent) {
    const QList<T*> all = parent.findChildren<T*>();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if ((*it)->isVisible()) return *it;
    return nullptr;
}

// The choice of a mapping row made with the keyboard, as a person types its letter.
void Choose(QComboBox* choice, char letter) {
    choice->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(choice, letter);
}

}  // namespace

class WindowIoTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
    }

    void importedDayFillsStationAUndoesAndRefusesABrokenFile() {
        MainWindow window;
        window.keepLastRunIn(home_.filePath(QStringLiteral("data/last-run.txt")));
        window.show();
        Action(window, QStringLiteral("fieldBookAction"))->trigger();
        auto* book = window.findChild<FieldBookWindow*>();
        QVERIFY(book != nullptr);
        korvanet::FieldBookDocument* document = book->document();

        // What the surveyor already typed: B's name is the instrument's K2,
        // the theodolite, and a set at station C, which the import must keep.
        QAbstractItemModel* points = book->view(BookTable::Points)->model();
        points->setData(points->index(1, korvanet::point_column::Name), QStringLiteral("K2"));
        QAbstractItemModel* header = book->view(BookTable::Header)->model();
        header->setData(header->index(korvanet::book_header::Theodolite, 1), QStringLiteral("1"));
        QAbstractItemModel* c = book->view(BookTable::StationC)->model();
        c->setData(c->index(0, dc::Set), QStringLiteral("1"));
        c->setData(c->index(0, dc::Target), QStringLiteral("D"));
        c->setData(c->index(0, dc::Left), QStringLiteral("0.0010"));
        c->setData(c->index(0, dc::Right), QStringLiteral("180.0012"));
        c->setData(c->index(1, dc::Target), QStringLiteral("A"));
        c->setData(c->index(1, dc::Left), QStringLiteral("51.4657"));
        c->setData(c->index(1, dc::Right), QStringLiteral("231.4701"));
        const korvanet::FieldBookCells typed = document->cells();
        const int steps = document->undoStack()->index();
        const QString kept = home_.filePath(QStringLiteral("data/field-book.json"));
        QCOMPARE(Bytes(kept), QByteArray::fromStdString(korvanet::CellsJson(typed)));

        const QString gsi = home_.filePath(QStringLiteral("k1.gsi"));
        const QString csv = home_.filePath(QStringLiteral("known.csv"));
        WriteText(gsi, kStationK1);
        WriteText(csv, kKnownPoints);

        // 手簿 → 导入…: both files in the file dialog at once.
        QString typedNames = QStringLiteral("\"%1\" \"%2\"").arg(gsi, csv);
        auto answerer = std::make_unique<DialogAnswerer>([&typedNames](const QString&, const QString&) {
            return Reply{typedNames, Finish::Enter, true};
        });
        QAction* import = Action(*book, QStringLiteral("importAction"));
        QVERIFY(import != nullptr);
        QCOMPARE(import->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
        import->trigger();
        QCOMPARE(answerer->fileDialogs().size(), std::size_t(1));
        QVERIFY2(
            answerer->messageBoxes().empty(),
            qPrintable(answerer->messageBoxes().empty() ? QString() : answerer->messageBoxes()[0].message));
        auto* mapping = Shown<ImportMappingDialog>(*book);
        QVERIFY(mapping != nullptr);

        // One row an id, in the order of the day; K2 offered as B, the book's name for B.
        const std::vector<std::string> ids = {"K1", "K2", "K3", "K4"};
        QCOMPARE(mapping->ids(), ids);
        QCOMPARE(mapping->table()->rowCount(), 4);
        QCOMPARE(mapping->table()->item(0, 0)->text(), QStringLiteral("K1"));
        QCOMPARE(mapping->choice(1)->currentText(), QStringLiteral("B"));
        for (int row : {0, 2, 3})
            QCOMPARE(mapping->choice(row)->currentIndex(), ImportMappingDialog::kUnused);

        QPushButton* go = ButtonOf(mapping, QStringLiteral("导入"));
        QVERIFY(go != nullptr);
        // K3 given B as well: refused, naming both and the letter.
        Choose(mapping->choice(0), 'A');
        Choose(mapping->choice(2), 'B');
        QCOMPARE(mapping->choice(2)->currentText(), QStringLiteral("B"));
        QTest::mouseClick(go, Qt::LeftButton);
        QVERIFY(mapping->isVisible());
        QVERIFY(mapping->problemLabel()->isVisible());
        QVERIFY(mapping->problemLabel()->text().contains(QStringLiteral("K2 和 K3 都对应 B")));
        // K4 left out although the instrument pointed at it: D is missing.
        QTest::keyClick(mapping->choice(2), Qt::Key_Down);
        QCOMPARE(mapping->choice(2)->currentText(), QStringLiteral("C"));
        QVERIFY(!mapping->problemLabel()->isVisible());
        QTest::mouseClick(go, Qt::LeftButton);
        QVERIFY(mapping->isVisible());
        QVERIFY(mapping->problemLabel()->text().contains(QStringLiteral("K4")));
        QVERIFY(mapping->problemLabel()->text().contains(QStringLiteral("还没有对应的是 D")));
        QCOMPARE(document->cells(), typed);
        Choose(mapping->choice(3), 'D');
        QTest::mouseClick(go, Qt::LeftButton);
        QVERIFY(!mapping->isVisible());

        // One step of the book's undo stack.
        QCOMPARE(document->undoStack()->index(), steps + 1);
        const korvanet::FieldBook& read = document->book();
        const korvanet::FieldStation* a = nullptr;
        for (const auto& s : read.stations)
            if (s.point == 0) a = &s;
        QVERIFY(a != nullptr);
        // Worked by hand from the file: set 1 K2 0°00′10″ | 180°00′14″,
        // K3 46°44′30″ | 226°44′34″, K4 91°56′00″ | 271°56′06″; set 2 the
        // same targets at 90°00′20″ | 270°00′22″, 136°44′42″ | 316°44′44″,
        // 181°56′10″ | 1°56′14″.
        QCOMPARE(a->sets.size(), std::size_t(2));
        const double expected[2][3][2] = {{{Dms(0, 0, 10), Dms(180, 0, 14)},
                                           {Dms(46, 44, 30), Dms(226, 44, 34)},
                                           {Dms(91, 56, 0), Dms(271, 56, 6)}},
                                          {{Dms(90, 0, 20), Dms(270, 0, 22)},
                                           {Dms(136, 44, 42), Dms(316, 44, 44)},
                                           {Dms(181, 56, 10), Dms(1, 56, 14)}}};
        for (int s = 0; s < 2; ++s) {
            QCOMPARE(a->sets[s].lines.size(), std::size_t(3));
            for (int t = 0; t < 3; ++t) {
                const korvanet::FieldDirectionLine& line = a->sets[s].lines[t];
                QCOMPARE(line.target, t + 1);
                QVERIFY2(std::abs(line.left.value - expected[s][t][0]) < 1e-6,
                         qPrintable(QString::number(s * 3 + t)));
                QVERIFY2(std::abs(line.right.value - expected[s][t][1]) < 1e-6,
                         qPrintable(QString::number(s * 3 + t)));
            }
        }
        // The reduction: 2C −4″, −4″, −6″ and −2″, −2″, −4″; means 0°00′12″,
        // 46°44′32″, 91°56′03″ and 90°00′21″, 136°44′43″, 181°56′12″;
        // directions C 46°44′20″ and 46°44′22″ (mean 46°44′21″, spread 2″),
        // D 91°55′51″ both times.
        const BookTable at = BookTable::StationA;
        QCOMPARE(Shown(book, at, 0, dc::TwoC), QStringLiteral("-4.0"));
        QCOMPARE(Shown(book, at, 2, dc::TwoC), QStringLiteral("-6.0"));
        QCOMPARE(Shown(book, at, 5, dc::TwoC), QStringLiteral("-4.0"));
        QCOMPARE(Shown(book, at, 2, dc::Mean), QStringLiteral("91°56′03.0″"));
        QCOMPARE(Shown(book, at, 1, dc::Reduced), QStringLiteral("46°44′20.0″"));
        QCOMPARE(Shown(book, at, 4, dc::Reduced), QStringLiteral("46°44′22.0″"));
        QCOMPARE(Shown(book, at, 1, dc::StationMean), QStringLiteral("46°44′21.0″"));
        QCOMPARE(Shown(book, at, 1, dc::Spread), QStringLiteral("2.0"));
        QCOMPARE(Shown(book, at, 2, dc::StationMean), QStringLiteral("91°55′51.0″"));
        QCOMPARE(Shown(book, at, 2, dc::Spread), QStringLiteral("0.0"));
        // Level pointings (V 90° and 270°): each side is the mean of its four
        // slope readings, A-B 1832.4825 m, A-C 2780.4475 m.
        QVERIFY(document->run().has_value());
        int sides = 0;
        for (const korvanet::ReducedSide& side : document->run()->reduction.sides) {
            if (side.from != 0 || !side.forward) continue;
            if (side.to == 1) QVERIFY(std::abs(*side.forward - 1832.4825) < 5e-5);
            if (side.to == 2) QVERIFY(std::abs(*side.forward - 2780.4475) < 5e-5);
            sides += side.to == 1 || side.to == 2 ? 1 : 0;
        }
        QCOMPARE(sides, 2);
        // The known points from the CSV, and what the surveyor typed, kept.
        QCOMPARE(read.points[3].x->value, 3521735.980);
        QCOMPARE(read.points[3].y->value, 514912.655);
        QCOMPARE(read.points[3].height->value, 48.5);
        QCOMPARE(read.theodolite->value, 1.0);
        bool stationC = false;
        for (const auto& s : read.stations) stationC = stationC || (s.point == 2 && s.sets.size() == 1);
        QVERIFY(stationC);
        QCOMPARE(Bytes(kept), QByteArray::fromStdString(korvanet::CellsJson(document->cells())));

        // What the import assumed reaches the surveyor, every comment of it.
        const korvanet::ImportedBook direct =
            korvanet::ImportBook({korvanet::ReadInstrumentFile(gsi.toStdString()),
                                  korvanet::ReadInstrumentFile(csv.toStdString())},
                                 {{"K1", 0}, {"K2", 1}, {"K3", 2}, {"K4", 3}});
        const QString status = book->statusBar()->currentMessage();
        QVERIFY(status.contains(QStringLiteral("导入 k1.gsi, known.csv")));
        for (const std::string& comment : direct.comments) {
            QVERIFY2(status.contains(QString::fromStdString(comment)), comment.c_str());
            QVERIFY(!answerer->messageBoxes().empty());
            QVERIFY(answerer->messageBoxes().back().message.contains(QString::fromStdString(comment)));
        }

        // One undo: the book exactly as typed, and its kept copy with it.
        document->undoStack()->undo();
        QCOMPARE(document->cells(), typed);
        QCOMPARE(document->undoStack()->index(), steps);
        QCOMPARE(Bytes(kept), QByteArray::fromStdString(korvanet::CellsJson(typed)));

        // A file with a line that is no GSI: refused with that line, the book as it was.
        const QString broken = home_.filePath(QStringLiteral("broken.gsi"));
        WriteText(broken, kBrokenRecord);
        typedNames = QStringLiteral("\"%1\"").arg(broken);
        const std::size_t boxes = answerer->messageBoxes().size();
        import->trigger();
        QCOMPARE(answerer->messageBoxes().size(), boxes + 1);
        const korvanet::testing::SeenDialog refusal = answerer->messageBoxes().back();
        QVERIFY(refusal.isWarning);
        QVERIFY2(refusal.message.contains(QStringLiteral("第 3 行")), qPrintable(refusal.message));
        QVERIFY(refusal.message.contains(QStringLiteral("broken.gsi")));
        QVERIFY(Shown<ImportMappingDialog>(*book) == nullptr);
        QCOMPARE(document->cells(), typed);
        QCOMPARE(document->undoStack()->index(), steps);
    }

    void exportsWriteWhatTheBatchToolWrites() {
        MainWindow window;
        window.show();
        QMenu* exports = window.findChild<QMenu*>(QStringLiteral("figureExportMenu"));
        QVERIFY(exports != nullptr);
        // Nothing to export before a completed run.
        QVERIFY(!exports->isEnabled());

        const QString job = QStringLiteral(KORVANET_EXAMPLES_DIR "/known-d.txt");
        window.openJob(job);
        QVERIFY(exports->isEnabled());
        korvanet::SurveyState state;
        korvanet::RecordingDisplay display;
        const korvanet::JobRun run =
            korvanet::RunJob(korvanet::ReadJobFile(job.toStdString()).answers, state, display);
        QVERIFY(run.quality.has_value());

        const QString out = home_.filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkpath(out));
        // A plain file where a folder should be: no write can go through it.
        const QString notAFolder = home_.filePath(QStringLiteral("not-a-folder"));
        WriteText(notAFolder, "x");
        DialogAnswerer answerer([](const QString&, const QString&) { return Reply{{}, Finish::Escape}; });

        // 文件 → 导出 → CASS 坐标… in GBK, first into the impossible place.
        Action(window, QStringLiteral("exportCass"))->trigger();
        FigureExportDialog* cass = Shown<FigureExportDialog>(window);
        QVERIFY(cass != nullptr);
        QVERIFY(cass->findChild<QLabel*>(QStringLiteral("cassHeights"))
                    ->text()
                    .contains(QStringLiteral("写为 0")));
        cass->encodingChoice()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(cass->encodingChoice(), Qt::Key_Down);
        QVERIFY(cass->encodingChoice()->currentText().startsWith(QStringLiteral("GBK")));
        const QString refused = QDir(notAFolder).filePath(QStringLiteral("坐标.dat"));
        cass->pathField()->setText(refused);
        QTest::mouseClick(ButtonOf(cass, QStringLiteral("导出")), Qt::LeftButton);
        QCOMPARE(answerer.messageBoxes().size(), std::size_t(1));
        QVERIFY(answerer.messageBoxes()[0].isWarning);
        QVERIFY(answerer.messageBoxes()[0].message.contains(
            QString::fromStdString(korvanet::FileFaultReason(ENOTDIR))));
        QVERIFY(cass->isVisible());
        QCOMPARE(cass->pathField()->text(), refused);
        QVERIFY(!QFileInfo::exists(refused));
        // Chosen again: written, byte for byte the batch tool's file.
        const QString cassPath = QDir(out).filePath(QStringLiteral("坐标.dat"));
        cass->pathField()->setText(cassPath);
        QTest::mouseClick(ButtonOf(cass, QStringLiteral("导出")), Qt::LeftButton);
        QVERIFY(!cass->isVisible());
        QCOMPARE(Bytes(cassPath), QByteArray::fromStdString(korvanet::CassCoordinateFile(
                                      *run.quality, {}, korvanet::CassEncoding::Gbk)));
        QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("坐标.dat")));

        // DXF and Gama XML: offered in the folder last used.
        Action(window, QStringLiteral("exportDxf"))->trigger();
        FigureExportDialog* dxf = Shown<FigureExportDialog>(window);
        QVERIFY(dxf != nullptr);
        QVERIFY(dxf->encodingChoice() == nullptr);
        QCOMPARE(QFileInfo(dxf->pathField()->text()).absolutePath(), QFileInfo(out).absoluteFilePath());
        const QString dxfPath = dxf->pathField()->text();
        QTest::mouseClick(ButtonOf(dxf, QStringLiteral("导出")), Qt::LeftButton);
        QCOMPARE(Bytes(dxfPath), QByteArray::fromStdString(korvanet::FigureDxf(*run.quality)));
        Action(window, QStringLiteral("exportGama"))->trigger();
        FigureExportDialog* gama = Shown<FigureExportDialog>(window);
        QVERIFY(gama != nullptr);
        const QString gamaPath = gama->pathField()->text();
        QTest::mouseClick(ButtonOf(gama, QStringLiteral("导出")), Qt::LeftButton);
        QCOMPARE(Bytes(gamaPath), QByteArray::fromStdString(korvanet::GamaLocalXml(state, *run.quality)));
        QCOMPARE(answerer.messageBoxes().size(), std::size_t(1));

        // The sheet's job from the example's field book: CASS takes its
        // heights (A 45.20, B 60.10, C 52.00, D 48.30), in the encoding last chosen.
        Action(window, QStringLiteral("fieldBookAction"))->trigger();
        auto* book = window.findChild<FieldBookWindow*>();
        QVERIFY(book->openBook(QStringLiteral(KORVANET_EXAMPLES_DIR "/known-d.kvf")));
        QVERIFY(book->feedButton()->isEnabled());
        QTest::mouseClick(book->feedButton(), Qt::LeftButton);
        QCOMPARE(window.jobInHand(), *book->document()->job());
        QVERIFY(exports->isEnabled());
        korvanet::SurveyState bookState;
        const korvanet::JobRun bookRun = korvanet::RunJob(window.jobInHand(), bookState, display);
        QVERIFY(bookRun.quality.has_value());
        Action(window, QStringLiteral("exportCass"))->trigger();
        cass = Shown<FigureExportDialog>(window);
        QVERIFY(cass->encodingChoice()->currentText().startsWith(QStringLiteral("GBK")));
        QVERIFY(cass->findChild<QLabel*>(QStringLiteral("cassHeights"))
                    ->text()
                    .contains(QStringLiteral("外业手簿")));
        const QString withHeights = QDir(out).filePath(QStringLiteral("手簿坐标.dat"));
        cass->pathField()->setText(withHeights);
        QTest::mouseClick(ButtonOf(cass, QStringLiteral("导出")), Qt::LeftButton);
        QCOMPARE(Bytes(withHeights),
                 QByteArray::fromStdString(korvanet::CassCoordinateFile(
                     *bookRun.quality, {45.2, 60.1, 52.0, 48.3}, korvanet::CassEncoding::Gbk)));

        // A design's figure, from the 精度估算 window's 导出 menu.
        Action(window, QStringLiteral("精度估算(&D)…"))->trigger();
        auto* design = window.findChild<korvanet::DesignWindow*>();
        QVERIFY(design != nullptr);
        auto* exportButton = design->findChild<QPushButton*>(QStringLiteral("exportDesignFigure"));
        QVERIFY(exportButton != nullptr && exportButton->menu() != nullptr);
        QAction* designDxf = nullptr;
        for (QAction* action : exportButton->menu()->actions())
            if (action->objectName() == QLatin1String("exportDxf")) designDxf = action;
        QVERIFY(designDxf != nullptr);
        designDxf->trigger();
        FigureExportDialog* designDialog = Shown<FigureExportDialog>(*design);
        QVERIFY(designDialog != nullptr);
        const QString designPath = QDir(out).filePath(QStringLiteral("设计.dxf"));
        designDialog->pathField()->setText(designPath);
        QTest::mouseClick(ButtonOf(designDialog, QStringLiteral("导出")), Qt::LeftButton);
        const korvanet::DesignRun designed = korvanet::RunDesign(design->design());
        QVERIFY(designed.run.quality.has_value());
        QCOMPARE(Bytes(designPath), QByteArray::fromStdString(korvanet::FigureDxf(*designed.run.quality)));
        QVERIFY(Bytes(designPath) != Bytes(dxfPath));
    }

private:
    QTemporaryDir home_;
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    WindowIoTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_io_test.moc"
