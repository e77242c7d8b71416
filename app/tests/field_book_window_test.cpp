// SPDX-License-Identifier: GPL-3.0-or-later
// The field book window through the real window: opened from the menu, a
// station's two sets typed key by key into its cells, the reduction beside
// them as worked by hand below, a 2C range beyond its limit red with the
// limit in its tooltip, a refused reading marked in its own cell while the
// rest still reduces; a whole book opened, 送入观测数据 (asking first over an
// unsaved sheet) giving the boxes of the same figure opened as a job, the
// sheet's undo taking it back; 保存 → 打开 giving the same book; and a
// program killed with SIGKILL after an edit, whose book a second window on
// the same data folder finds again.

#include "app/field_book_window.h"

#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/field_book_document.h"
#include "app/field_book_model.h"
#include "app/form_canvas.h"
#include "app/main_window.h"
#include "app/observation_sheet.h"
#include "app/observation_sheet_model.h"
#include "app/report_export.h"
#include "compute/field_book_file.h"
#include "compute/job_file_reader.h"
#include "core/form_boxes.h"
#include "testing/dialog_answerer.h"

using korvanet::BookTable;
using korvanet::FieldBookWindow;
using korvanet::MainWindow;
using korvanet::testing::DialogAnswerer;
using korvanet::testing::Finish;
using korvanet::testing::Reply;
namespace dc = korvanet::direction_column;

namespace {

const char* const kChildFlag = "--child";

// The figure of examples/known-d.txt as a field book: at each station one
// set of directions whose differences are the job's angles (face right
// exactly 180° off, so every 2C is 0), each side measured once with its
// length twice read.
const char* const kWholeBook = R"(# the example figure, observed
tolerance 2.5
point A 青龙山 3521408.250 512736.480
point B 望江楼 - -
point C 石门 - -
point D 东岗 3521735.980 514912.655
theodolite 2
class 四等
station A
set
B 0.00100 180.00100
C 46.44023 226.44023
D 91.55396 271.55396
station B
set
C 0.00100 180.00100
D 42.59309 222.59309
A 92.04280 272.04280
station C
set
D 0.00100 180.00100
A 51.46568 231.46568
B 92.58398 272.58398
station D
set
A 0.00100 180.00100
B 38.59429 218.59429
C 83.01500 263.01500
distance A B
read 1832.481 1832.481
distance B D
read 2910.681 2910.681
distance B C
read 2025.923 2025.923
distance A C
read 2780.447 2780.447
distance C D
read 1987.381 1987.381
)";

QAction* Action(const QWidget& window, const QString& name) {
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->objectName() == name || action->text() == name) return action;
    }
    return nullptr;
}

FieldBookWindow* OpenBookWindow(MainWindow& window) {
    QAction* open = Action(window, QStringLiteral("fieldBookAction"));
    if (open == nullptr) return nullptr;
    open->trigger();
    return window.findChild<FieldBookWindow*>();
}

// Types into whatever has the keyboard, key by key; Enter confirms the cell.
void Type(const QString& text) {
    for (const QChar c : text) {
        QWidget* target = QApplication::focusWidget();
        QVERIFY(target);
        if (c.unicode() < 0x80) {
            QTest::keyClick(target, c.toLatin1());
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QApplication::sendEvent(target, &commit);
        }
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

// One line of a set as the surveyor writes it: the set's number on its
// first line only (Enter passes the empty cell), the target, the readings.
void TypeLine(const QString& set, const QString& target, const QString& left, const QString& right) {
    if (set.isEmpty()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    } else {
        Type(set);
    }
    Type(target);
    Type(left);
    Type(right);
}

QString Shown(const FieldBookWindow* book, BookTable table, int row, int column) {
    return book->view(table)->model()->index(row, column).data().toString();
}
QString Tip(const FieldBookWindow* book, BookTable table, int row, int column) {
    return book->view(table)->model()->index(row, column).data(Qt::ToolTipRole).toString();
}
bool Red(const FieldBookWindow* book, BookTable table, int row, int column) {
    return book->view(table)->model()->index(row, column).data(Qt::ForegroundRole).value<QBrush>().color() ==
           QColor(Qt::red);
}

QHash<QString, QString> Boxes(const MainWindow& window) {
    QHash<QString, QString> texts;
    for (const QLineEdit* box : window.canvas()->findChildren<QLineEdit*>())
        texts[box->objectName()] = box->text();
    return texts;
}

void WriteText(const QString& path, const char* text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(text) == static_cast<qint64>(std::strlen(text)));
}

// The child: a window keeping its job in `kept`, the field book opened and
// one cell typed; then it says so and waits for the kill.
int RunChild(int argc, char** argv) {
    QApplication app(argc, argv);
    MainWindow window;
    window.keepLastRunIn(QString::fromLocal8Bit(argv[2]));
    window.show();
    FieldBookWindow* book = OpenBookWindow(window);
    if (book == nullptr) return 3;
    QAbstractItemModel* points = book->view(BookTable::Points)->model();
    points->setData(points->index(2, korvanet::point_column::Name), QStringLiteral("石门"));
    points->setData(points->index(2, korvanet::point_column::Height), QStringLiteral("52.00"));
    std::printf("typed\n");
    std::fflush(stdout);
    char never = 0;
    while (::read(STDIN_FILENO, &never, 1) != 0) {
    }  // the parent never writes: this waits for the kill
    return 3;
}

}  // namespace

class FieldBookWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
    }

    void typedBookReducesChecksAndFeedsTheSheet() {
        MainWindow window;
        window.keepLastRunIn(home_.filePath(QStringLiteral("data/last-run.txt")));
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        FieldBookWindow* book = OpenBookWindow(window);
        QVERIFY(book != nullptr);
        QVERIFY(book->isVisible());
        // As the window manager gives a new window the keyboard.
        QApplication::setActiveWindow(book);
        QCOMPARE(QApplication::activeWindow(), book);
        QVERIFY(!book->feedButton()->isEnabled());

        // The class and the theodolite, then station A's two sets, typed.
        book->showTable(BookTable::Header);
        book->view(BookTable::Header)
            ->setCurrentIndex(
                book->view(BookTable::Header)->model()->index(korvanet::book_header::Theodolite, 1));
        book->view(BookTable::Header)->setFocus();
        Type(QStringLiteral("2"));
        Type(QStringLiteral("四等"));
        book->showTable(BookTable::StationA);
        QCOMPARE(QApplication::focusWidget(), book->view(BookTable::StationA));
        TypeLine(QStringLiteral("1"), QStringLiteral("B"), QStringLiteral("0.0230"),
                 QStringLiteral("180.0236"));
        TypeLine({}, QStringLiteral("C"), QStringLiteral("60.2336"), QStringLiteral("240.2342"));
        TypeLine({}, QStringLiteral("D"), QStringLiteral("225.1906"), QStringLiteral("45.1918"));
        TypeLine({}, QStringLiteral("B"), QStringLiteral("0.0236"), QStringLiteral("180.0242"));
        TypeLine(QStringLiteral("2"), QStringLiteral("B"), QStringLiteral("90.0330"),
                 QStringLiteral("270.0324"));
        TypeLine({}, QStringLiteral("C"), QStringLiteral("150.2436"), QStringLiteral("330.2424"));
        TypeLine({}, QStringLiteral("D"), QStringLiteral("315.1954"), QStringLiteral("135.2006"));
        TypeLine({}, QStringLiteral("B"), QStringLiteral("90.0336"), QStringLiteral("270.0330"));
        QCOMPARE(Shown(book, BookTable::StationA, 7, dc::Right), QStringLiteral("270.0330"));

        // Worked by hand.  Set 1: 2C = L - (R - 180) = -6, -6, -12, -6;
        // means 0°02′33″, 60°23′39″, 225°19′12″, 0°02′39″; origin their
        // first and closing mean 0°02′36″; closures 6″ and 6″; 2C range 6″.
        // Set 2: 2C 6, 12, -12, 6 (range 24″); origin 90°03′30″.
        const BookTable a = BookTable::StationA;
        QCOMPARE(Shown(book, a, 0, dc::TwoC), QStringLiteral("-6.0"));
        QCOMPARE(Shown(book, a, 2, dc::TwoC), QStringLiteral("-12.0"));
        QCOMPARE(Shown(book, a, 1, dc::Mean), QStringLiteral("60°23′39.0″"));
        QCOMPARE(Shown(book, a, 3, dc::Mean), QStringLiteral("0°02′39.0″"));
        QCOMPARE(Shown(book, a, 0, dc::Reduced), QStringLiteral("0°00′00.0″"));
        QCOMPARE(Shown(book, a, 1, dc::Reduced), QStringLiteral("60°21′03.0″"));
        QCOMPARE(Shown(book, a, 2, dc::Reduced), QStringLiteral("225°16′36.0″"));
        QCOMPARE(Shown(book, a, 5, dc::Reduced), QStringLiteral("60°21′00.0″"));
        QCOMPARE(Shown(book, a, 6, dc::Reduced), QStringLiteral("225°16′30.0″"));
        QCOMPARE(Shown(book, a, 6, dc::Mean), QStringLiteral("315°20′00.0″"));
        // Over the two sets: C 60°21′01.5″ (spread 3″), D 225°16′33″ (6″).
        QCOMPARE(Shown(book, a, 1, dc::StationMean), QStringLiteral("60°21′01.5″"));
        QCOMPARE(Shown(book, a, 1, dc::Spread), QStringLiteral("3.0"));
        QCOMPARE(Shown(book, a, 2, dc::StationMean), QStringLiteral("225°16′33.0″"));
        QCOMPARE(Shown(book, a, 2, dc::Spread), QStringLiteral("6.0"));
        QVERIFY(Shown(book, a, 3, dc::Check).contains(QStringLiteral("6.0″")));

        // 四等 with a 2″ theodolite allows a 2C range of 13″: set 2's 24″ is
        // red in the cells that make it, with the limit in the tooltip; set 1's is not.
        QVERIFY(Red(book, a, 5, dc::TwoC));
        QVERIFY(Red(book, a, 6, dc::TwoC));
        QVERIFY(Red(book, a, 4, dc::Check));
        QVERIFY(Tip(book, a, 5, dc::TwoC).contains(QStringLiteral("24.0″")));
        QVERIFY(Tip(book, a, 5, dc::TwoC).contains(QStringLiteral("限差 ≤ 13.0″")));
        QVERIFY(!Red(book, a, 0, dc::TwoC));
        QVERIFY(!Red(book, a, 2, dc::TwoC));
        QVERIFY(!Red(book, a, 1, dc::Spread));
        QVERIFY(book->statusLabel()->text().contains(QStringLiteral("2C 互差")));
        QVERIFY(book->statusLabel()->text().contains(QStringLiteral("超限")));
        // Not yet a whole book: nothing to send, and the button says why.
        QVERIFY(!book->feedButton()->isEnabled());
        QVERIFY(book->feedButton()->toolTip().contains(QStringLiteral("测站 B")));

        // A reading with 70 minutes: its own cell is refused with the
        // reader's reason, the other set still reduces; undo takes it back.
        QAbstractItemModel* station = book->view(a)->model();
        station->setData(station->index(5, dc::Left), QStringLiteral("150.7036"));
        QVERIFY(!Tip(book, a, 5, dc::Left).isEmpty());
        QVERIFY(Red(book, a, 5, dc::Left));
        QVERIFY(!Red(book, a, 5, dc::Right));
        QCOMPARE(Shown(book, a, 1, dc::Reduced), QStringLiteral("60°21′03.0″"));
        QCOMPARE(Shown(book, a, 5, dc::TwoC), QString());
        // F8 takes the keyboard there.
        book->view(a)->setCurrentIndex(station->index(0, dc::Set));
        QTest::keyClick(book->view(a), Qt::Key_F8);
        QCOMPARE(book->view(a)->currentIndex(), station->index(5, dc::Left));
        book->document()->undoStack()->undo();
        QVERIFY(!Red(book, a, 5, dc::Left));
        QCOMPARE(Shown(book, a, 5, dc::TwoC), QStringLiteral("12.0"));

        // A block pasted from a spreadsheet fills station B's typed cells
        // from the current one, as one step; Delete empties the current cell.
        book->showTable(BookTable::StationB);
        korvanet::BookView* b = book->view(BookTable::StationB);
        b->setCurrentIndex(b->model()->index(0, dc::Set));
        QApplication::clipboard()->setText(
            QStringLiteral("1\tC\t0.0010\t180.0012\n\tD\t42.5930\t222.5936\n"));
        const int steps = book->document()->undoStack()->index();
        QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(book->document()->undoStack()->index(), steps + 1);
        QCOMPARE(Shown(book, BookTable::StationB, 1, dc::Right), QStringLiteral("222.5936"));
        // Two targets: one angle by 测回法, from C to D clockwise (angle 3 at B).
        QCOMPARE(Shown(book, BookTable::StationB, 1, dc::Reduced), QStringLiteral("42°59′22.0″"));
        b->setCurrentIndex(b->model()->index(1, dc::Left));
        QTest::keyClick(b, Qt::Key_Delete);
        QCOMPARE(Shown(book, BookTable::StationB, 1, dc::Left), QString());
        QCOMPARE(Shown(book, BookTable::StationB, 1, dc::Reduced), QString());
        book->document()->undoStack()->undo();
        book->document()->undoStack()->undo();
        QCOMPARE(Shown(book, BookTable::StationB, 0, dc::Target), QString());

        // The rest of a book: the example figure.
        const QString whole = home_.filePath(QStringLiteral("whole.kvf"));
        WriteText(whole, kWholeBook);
        QVERIFY(book->openBook(whole));
        QVERIFY(book->feedButton()->isEnabled());
        QVERIFY(book->statusLabel()->text().contains(QStringLiteral("合格")));

        const QHash<QString, QString> before = Boxes(window);

        // Over a sheet that differs from its job file, 送入观测数据 asks first.
        korvanet::ObservationSheetModel* sheet = window.sheet()->model();
        sheet->setData(
            sheet->index(korvanet::sheet_row::kTolerance, korvanet::ObservationSheetModel::ValueColumn),
            QStringLiteral("3"));
        const std::vector<std::string> typed = {"3"};
        QCOMPARE(window.jobInHand(), typed);
        QString pressed = QStringLiteral("取消");
        auto answerer = std::make_unique<DialogAnswerer>(
            [](const QString&, const QString&) {
                return Reply{{}, Finish::Escape};
            },
            [&pressed](const QString&, const QString&) { return pressed; });
        QTest::mouseClick(book->feedButton(), Qt::LeftButton);
        QCOMPARE(answerer->messageBoxes().size(), std::size_t(1));
        QCOMPARE(answerer->messageBoxes().back().title, QStringLiteral("观测数据已修改"));
        QCOMPARE(window.jobInHand(), typed);
        pressed = QStringLiteral("不保存");
        QTest::mouseClick(book->feedButton(), Qt::LeftButton);
        QCOMPARE(answerer->messageBoxes().size(), std::size_t(2));
        QCOMPARE(window.jobInHand(), *book->document()->job());
        // The book reduces back to the example's figure: the same names, the
        // same numbers (the angles packed to 0.01″, the sides to 0.1 mm).
        const std::vector<std::string> example =
            korvanet::ReadJobFile(KORVANET_EXAMPLES_DIR "/known-d.txt").answers;
        QCOMPARE(window.jobInHand().size(), example.size());
        for (std::size_t i = 0; i < example.size(); ++i) {
            bool number = false;
            const double value = QString::fromStdString(example[i]).toDouble(&number);
            if (number) {
                QCOMPARE(QString::fromStdString(window.jobInHand()[i]).toDouble(), value);
            } else {
                QCOMPARE(window.jobInHand()[i], example[i]);
            }
        }
        // Adjusted at once, as the same job opened from its file.
        const QString jobFile = home_.filePath(QStringLiteral("from-book.txt"));
        {
            QFile file(jobFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            for (const std::string& answer : window.jobInHand())
                file.write(QByteArray::fromStdString(answer + '\n'));
        }
        MainWindow reference;
        reference.openJob(jobFile);
        const QHash<QString, QString> expected = Boxes(reference);
        QVERIFY(expected.value(QString::fromStdString(korvanet::boxes::kUnitWeightError)) != QString());
        QCOMPARE(Boxes(window), expected);
        QVERIFY(before != expected);
        QVERIFY(Action(window, QStringLiteral("qualityAction"))->isEnabled());

        // The sheet's undo takes the whole book's job back in one step.
        window.sheet()->undoStack()->undo();
        QCOMPARE(window.jobInHand(), typed);
        QVERIFY(!Action(window, QStringLiteral("qualityAction"))->isEnabled());
        window.sheet()->undoStack()->redo();
        QCOMPARE(window.jobInHand(), *book->document()->job());
        QVERIFY(Action(window, QStringLiteral("qualityAction"))->isEnabled());

        answerer.reset();

        // The report of a figure from the book opens with the book's sections;
        // once the sheet is edited away from the book's job it does not.
        auto exported = [&window, this](const QString& name) {
            Action(window, QStringLiteral("exportReportAction"))->trigger();
            korvanet::ReportExportDialog* dialog =
                window.findChildren<korvanet::ReportExportDialog*>().back();
            dialog->pathField()->setText(home_.filePath(name));
            dialog->accept();
            QFile file(home_.filePath(name));
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        const QString fromBook = exported(QStringLiteral("from-book.html"));
        QVERIFY(fromBook.contains(QStringLiteral("水平方向观测手簿")));
        QVERIFY(fromBook.indexOf(QStringLiteral("测距记录与归算")) <
                fromBook.indexOf(QStringLiteral("概况")));
        sheet->setData(
            sheet->index(korvanet::sheet_row::kTolerance, korvanet::ObservationSheetModel::ValueColumn),
            QStringLiteral("2.4"));
        const QString edited = exported(QStringLiteral("edited.html"));
        QVERIFY(edited.contains(QStringLiteral("概况")));
        QVERIFY(!edited.contains(QStringLiteral("水平方向观测手簿")));

        // 保存外业手簿, then 打开 in a fresh book: the same book.
        const QString saved = home_.filePath(QStringLiteral("saved.kvf"));
        QVERIFY(book->saveBook(saved));
        QCOMPARE(korvanet::ReadFieldBookFile(saved.toStdString()), book->document()->book());
        korvanet::FieldBookDocument reopened;
        reopened.open(saved);
        QCOMPARE(reopened.cells(), book->document()->cells());
        QCOMPARE(reopened.book(), book->document()->book());
    }

    // Killed after an edit of its field book, the program loses nothing:
    // a second window on the same data folder shows the book as typed.
    void killedProgramKeepsItsBook() {
        QTemporaryDir data;
        QVERIFY(data.isValid());
        const QString kept = data.filePath(QStringLiteral("last-run.txt"));
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildFlag), kept});
        QVERIFY(child.waitForStarted(-1));
        while (!child.canReadLine()) QVERIFY2(child.waitForReadyRead(-1), "the child ended before the kill");
        QCOMPARE(QString::fromUtf8(child.readLine()).trimmed(), QStringLiteral("typed"));
        child.kill();
        QVERIFY(child.waitForFinished(-1));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        MainWindow window;
        QCOMPARE(window.keepLastRunIn(kept), QString());
        FieldBookWindow* book = OpenBookWindow(window);
        QVERIFY(book != nullptr);
        QCOMPARE(Shown(book, BookTable::Points, 2, korvanet::point_column::Name), QStringLiteral("石门"));
        QCOMPARE(Shown(book, BookTable::Points, 2, korvanet::point_column::Height), QStringLiteral("52.00"));
        QCOMPARE(book->document()->book().points[2].name, std::string("石门"));
    }

private:
    QTemporaryDir home_;
};

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], kChildFlag) == 0) return RunChild(argc, argv);
    QApplication app(argc, argv);
    FieldBookWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "field_book_window_test.moc"
