// SPDX-License-Identifier: GPL-3.0-or-later
// The observation sheet through the real window: the example figure typed
// cell by cell and a job pasted as one block, each giving every box the
// batch tool gives; a refused angle marked where it was typed and undone;
// the switch of D; a Compute run's prompts filling the sheet; the job in
// hand kept, asked about and remembered.  Keys go to whatever widget has
// the keyboard, as a person's would; every dialog that opens is answered and
// recorded, so a dialog where none belongs fails the test instead of hanging it.

#include "app/observation_sheet.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStatusBar>
#include <QSvgWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <QUrl>
#include <memory>

#include "app/form_canvas.h"
#include "app/job_store.h"
#include "app/main_window.h"
#include "app/observation_sheet_model.h"
#include "app/order_class_choice.h"
#include "app/precision_summary.h"
#include "app/qt_translations.h"
#include "app/quality_window.h"
#include "compute/job_file_reader.h"
#include "compute/job_run.h"
#include "core/form_boxes.h"
#include "core/scripted_session.h"
#include "testing/box_ink.h"
#include "testing/dialog_answerer.h"
#include "testing/window_test_files.h"

using korvanet::MainWindow;
using korvanet::ObservationSheetModel;
using korvanet::testing::DarkestInk;
using korvanet::testing::DialogAnswerer;
using korvanet::testing::Finish;
using korvanet::testing::Reply;
namespace sheet_row = korvanet::sheet_row;

using korvanet::testing::Bytes;
using korvanet::testing::Reference;

namespace {

QString Example(const QString& name) {
    return QString::fromUtf8(KORVANET_EXAMPLES_DIR) + QLatin1Char('/') + name;
}
std::vector<std::string> Answers(const QString& path) {
    return korvanet::ReadJobFile(QFile::encodeName(path).toStdString()).answers;
}

// What the 精度统计 and 规范检核 sections show: their text, each cell's
// weight and colour, each column's width and each table's height.
QStringList SectionsShown(korvanet::PrecisionSummary* summary) {
    QStringList shown;
    for (const QLabel* label : summary->findChildren<QLabel*>()) shown << label->text();
    for (QTableWidget* table :
         {summary->sidesTable(), summary->relativeEllipsesTable(), summary->checksTable()}) {
        shown << QStringLiteral("%1 rows, %2 px high").arg(table->rowCount()).arg(table->minimumHeight());
        for (int c = 0; c < table->columnCount(); ++c) shown << QString::number(table->columnWidth(c));
        for (int r = 0; r < table->rowCount(); ++r)
            for (int c = 0; c < table->columnCount(); ++c) {
                const QTableWidgetItem* item = table->item(r, c);
                shown << item->text() +
                             (item->font().bold() ? QStringLiteral(" bold ") : QStringLiteral(" ")) +
                             item->foreground().color().name();
            }
    }
    return shown;
}

// The form's boxes (not the editor of a sheet cell just confirmed, which
// lives on until the event loop deletes it).
QList<QLineEdit*> FormBoxes(const MainWindow& window) {
    return window.canvas()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly);
}

// Every box against the batch tool's box file: the boxes it names hold its
// texts; in a window that showed no other figure, every other box is empty
// (a run leaves the boxes it does not reach as they were).
void CheckBoxes(const MainWindow& window, const QString& fieldsFile, bool onlyFigure = true) {
    QHash<QString, QString> expected;
    for (const QString& line : QString::fromUtf8(Bytes(fieldsFile)).split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0) expected.insert(line.left(equals), line.mid(equals + 1));
    }
    QVERIFY(expected.size() > 40);
    const auto boxes = FormBoxes(window);
    QCOMPARE(boxes.size(), qsizetype(58));
    for (QLineEdit* box : boxes) {
        if (!onlyFigure && !expected.contains(box->objectName())) continue;
        QVERIFY2(box->text() == expected.value(box->objectName()),
                 qPrintable(QStringLiteral("%1: \"%2\", the batch tool \"%3\" (%4)")
                                .arg(box->objectName(), box->text(), expected.value(box->objectName()),
                                     fieldsFile)));
    }
}

// Every box that shows something draws it in ordinary ink (true), or every
// one is greyed as stale (false).
void CheckInk(const MainWindow& window, bool ordinary) {
    int shown = 0;
    for (QLineEdit* box : FormBoxes(window)) {
        if (box->text().trimmed().isEmpty()) continue;
        ++shown;
        const int ink = DarkestInk(box);
        // The red of a misclosure beyond its limit is ordinary ink too.
        const bool dark = ink < 80 || box->palette().color(QPalette::Text) == QColor(Qt::red);
        QVERIFY2(ordinary ? dark : ink >= 100 && ink < 220,
                 qPrintable(QStringLiteral("%1: ink %2").arg(box->objectName()).arg(ink)));
    }
    QVERIFY(shown > 40);
}

// Types into whatever has the keyboard, key by key; Chinese characters come
// as the input method commits them.  Enter confirms the cell.
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

QAction* Action(const MainWindow& window, const QString& text) {
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text() == text || action->objectName() == text) return action;
    }
    return nullptr;
}

QAbstractItemView* Table(const MainWindow& window) { return window.sheet()->view(); }
ObservationSheetModel* Model(const MainWindow& window) { return window.sheet()->model(); }

void GoToRow(const MainWindow& window, int row) {
    Table(window)->setCurrentIndex(Model(window)->index(row, ObservationSheetModel::ValueColumn));
}

bool Applies(const MainWindow& window, int row) {
    return Model(window)->index(row, ObservationSheetModel::ValueColumn).flags().testFlag(Qt::ItemIsEnabled);
}

QString Status(const MainWindow& window) { return window.statusBar()->currentMessage(); }

}  // namespace

class ObservationSheetTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(korvanet::InstallQtChineseTranslations(*qApp));
    }

    // The example figure typed into the sheet from the keyboard alone: no
    // dialog, the results at the last Enter exactly as the batch tool's, the
    // job in hand the example job byte for byte.  Half-way, a program started
    // afresh (as after a crash) finds every value typed so far.
    void typedFigureGivesTheBatchToolsBoxes() {
        const QString kept = home_.filePath(QStringLiteral("data/last-run.txt"));
        const std::vector<std::string> job = Answers(Example(QStringLiteral("known-d.txt")));
        QCOMPARE(job.size(), std::size_t(22));
        MainWindow window;
        window.keepLastRunIn(kept);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto answerer = std::make_unique<DialogAnswerer>([](const QString&, const QString&) {
            return Reply{{}, Finish::Escape};
        });

        QTest::keyClick(&window, Qt::Key_F6);  // to the sheet
        QCOMPARE(QApplication::focusWidget(), Table(window));
        for (std::size_t i = 0; i < job.size(); ++i) {
            Type(QString::fromStdString(job[i]));
            if (i == 14) {
                // Killed here, the next start has all fifteen.
                MainWindow restarted;
                restarted.keepLastRunIn(kept);
                QCOMPARE(restarted.sheet()->model()->job(),
                         std::vector<std::string>(job.begin(), job.begin() + 15));
                // Nothing adjusted yet, and the status bar says what is missing.
                QVERIFY(window.findChild<QLineEdit*>(QString::fromLatin1(korvanet::boxes::kPointTable[1].x))
                            ->text()
                            .isEmpty());
                QVERIFY2(Status(window).contains(QStringLiteral("观测角 B(7)")), qPrintable(Status(window)));
            }
        }
        QVERIFY2(answerer->seen().empty(),
                 qPrintable(answerer->seen().empty() ? QString() : answerer->seen()[0].message));
        CheckBoxes(window, Example(QStringLiteral("known-d.fields")));
        CheckInk(window, true);
        QVERIFY2(Status(window).startsWith(QStringLiteral("已平差")), qPrintable(Status(window)));
        QCOMPARE(window.jobInHand(), job);
        QCOMPARE(Bytes(kept), Bytes(Example(QStringLiteral("known-d.txt"))));
        // Enter moved on past the rows D known leaves out: the last side is S(5).
        QCOMPARE(Table(window)->currentIndex().row(), sheet_row::kFirstSide + 4);
        QVERIFY(Action(window, QStringLiteral("qualityAction"))->isEnabled());

        // Printed from the sheet: with no printer, the report goes to a PDF.
        answerer.reset();
        {
            DialogAnswerer printing([](const QString&, const QString&) {
                return Reply{QStringLiteral("sheet-report"), Finish::Enter};
            });
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
            QCOMPARE(printing.fileDialogs().size(), std::size_t(1));
        }
        QVERIFY(Bytes(home_.filePath(QStringLiteral("sheet-report.pdf"))).startsWith("%PDF"));
    }

    // The free-D job pasted as one block at the first row: the switch follows
    // the job and every box is the batch tool's.  Switched to D known, the
    // rows of T0, Q1 and S(6) leave the figure and the coordinates of D (0)
    // come in, refused; one undo brings the figure back, one redo the switch.
    void pastedJobAndTheSwitchOfD() {
        MainWindow window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        DialogAnswerer answerer([](const QString&, const QString&) { return Reply{{}, Finish::Escape}; });
        QCOMPARE(window.sheet()->dKnownSwitch()->isChecked(), true);
        QVERIFY(!Applies(window, sheet_row::kAzimuthT0));

        QApplication::clipboard()->setText(QString::fromUtf8(Bytes(Example(QStringLiteral("free-d.txt")))));
        window.sheet()->focusTable();
        GoToRow(window, sheet_row::kTolerance);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(answerer.seen().empty());
        QCOMPARE(Status(window).left(16), QStringLiteral("已粘贴作业: 填入 25 个数值").left(16));
        QVERIFY2(Status(window).contains(QStringLiteral("25")), qPrintable(Status(window)));
        CheckBoxes(window, Example(QStringLiteral("free-d.fields")));
        QVERIFY(!window.sheet()->dKnownSwitch()->isChecked());
        for (int row : {sheet_row::kAzimuthT0, sheet_row::kOrientationQ1, sheet_row::kSixthSide})
            QVERIFY(Applies(window, row));
        for (int row : {sheet_row::kXOfD, sheet_row::kYOfD}) {
            QVERIFY(!Applies(window, row));
            QVERIFY(Model(window)
                        ->index(row, ObservationSheetModel::StateColumn)
                        .data(Qt::ToolTipRole)
                        .toString()
                        .startsWith(QStringLiteral("D 为待定点")));
        }
        QCOMPARE(window.jobInHand(), Answers(Example(QStringLiteral("free-d.txt"))));

        // Space on the switch, as a keyboard user presses it.
        window.sheet()->dKnownSwitch()->setFocus();
        QTest::keyClick(window.sheet()->dKnownSwitch(), Qt::Key_Space);
        QVERIFY(window.sheet()->dKnownSwitch()->isChecked());
        for (int row : {sheet_row::kAzimuthT0, sheet_row::kOrientationQ1, sheet_row::kSixthSide}) {
            QVERIFY(!Applies(window, row));
            QVERIFY(Model(window)
                        ->index(row, ObservationSheetModel::StateColumn)
                        .data(Qt::ToolTipRole)
                        .toString()
                        .startsWith(QStringLiteral("D 为已知点")));
        }
        QVERIFY(Applies(window, sheet_row::kXOfD));
        QCOMPARE(Model(window)->state(sheet_row::kXOfD), ObservationSheetModel::CellState::Refused);
        QVERIFY2(Status(window).contains(QStringLiteral("D 点不是已知点")), qPrintable(Status(window)));
        CheckInk(window, false);
        QVERIFY(!Action(window, QStringLiteral("qualityAction"))->isEnabled());
        // With D known the job has five sides and no T0 or Q1.
        QCOMPARE(window.jobInHand().size(), std::size_t(22));

        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!window.sheet()->dKnownSwitch()->isChecked());
        CheckBoxes(window, Example(QStringLiteral("free-d.fields")));
        CheckInk(window, true);
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(window.sheet()->dKnownSwitch()->isChecked());
        QVERIFY(answerer.seen().empty());
    }

    // An angle typed with 70 seconds: refused where it was typed (red, the
    // message in its tooltip and the status bar, the text kept), the results
    // greyed and not printable; undo brings the value and the results back.
    void refusedAngleIsMarkedAndUndone() {
        MainWindow window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        DialogAnswerer answerer([](const QString&, const QString&) { return Reply{{}, Finish::Escape}; });
        window.openJob(Example(QStringLiteral("known-d.txt")));
        Action(window, QStringLiteral("qualityAction"))->trigger();
        auto* quality = window.findChild<korvanet::QualityWindow*>();
        QVERIFY(quality && quality->isEnabled());
        QVERIFY(answerer.seen().empty());

        const int row = sheet_row::kFirstAngle + 2;  // B(3), typed 42.59209
        window.sheet()->focusTable();
        GoToRow(window, row);
        Type(QStringLiteral("42.5970"));
        QVERIFY(answerer.seen().empty());
        QCOMPARE(Model(window)->text(row), QStringLiteral("42.5970"));
        QCOMPARE(Model(window)->state(row), ObservationSheetModel::CellState::Refused);
        const QString tip =
            Model(window)->index(row, ObservationSheetModel::ValueColumn).data(Qt::ToolTipRole).toString();
        QVERIFY2(tip.contains(QStringLiteral("第 3 个观测角\"42.5970\"的秒是 70")), qPrintable(tip));
        QVERIFY2(Status(window).contains(tip), qPrintable(Status(window)));
        // The cell is drawn red (a spot right of its text).
        Table(window)->viewport()->repaint();
        const QRect cell =
            Table(window)->visualRect(Model(window)->index(row, ObservationSheetModel::ValueColumn));
        const QColor drawn = Table(window)->viewport()->grab(cell).toImage().pixelColor(cell.width() - 4, 4);
        QVERIFY2(drawn.red() > 200 && drawn.green() < 225 && drawn.red() - drawn.green() > 30,
                 qPrintable(drawn.name()));
        CheckInk(window, false);
        QVERIFY(!quality->isEnabled());
        {
            DialogAnswerer printing([](const QString&, const QString&) { return Reply{}; });
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
            QCOMPARE(printing.messageBoxes().size(), std::size_t(1));  // refused: not a whole figure
            QCOMPARE(printing.fileDialogs().size(), std::size_t(0));
        }

        // The message box had the keyboard; back to the window, as a click on it does.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Model(window)->text(row), QStringLiteral("42.59209"));
        CheckBoxes(window, Example(QStringLiteral("known-d.fields")));
        CheckInk(window, true);
        QVERIFY(quality->isEnabled());
        QVERIFY(Action(window, QStringLiteral("qualityAction"))->isEnabled());

        // A name with a control character (pasted from elsewhere) is refused
        // by the prompt's own rule, the control character shown.
        const int name = sheet_row::kFirstName + 2;
        Model(window)->setData(Model(window)->index(name, ObservationSheetModel::ValueColumn),
                               QStringLiteral("石\u0085门"));
        QCOMPARE(Model(window)->state(name), ObservationSheetModel::CellState::Refused);
        const QString nameTip =
            Model(window)->index(name, ObservationSheetModel::ValueColumn).data(Qt::ToolTipRole).toString();
        QVERIFY2(nameTip.contains(QStringLiteral("C 点的点名\"石<U+0085>门\"含有控制字符 U+0085")),
                 qPrintable(nameTip));
    }

    // The four reference jobs, each pasted as one spreadsheet row (values
    // between tabs) over the last: every box is the batch tool's, and the
    // open quality window follows each figure, its sections (refilled in
    // place, the weakest side moving, a side more or less) as a window
    // opened on that figure shows them.
    void referenceJobsAgreeWithTheBatchTool() {
        MainWindow window;
        window.show();
        DialogAnswerer answerer([](const QString&, const QString&) { return Reply{{}, Finish::Escape}; });
        window.openJob(Reference(QStringLiteral("known-d.txt")));
        Action(window, QStringLiteral("qualityAction"))->trigger();
        auto* quality = window.findChild<korvanet::QualityWindow*>();
        QVERIFY(quality);
        QComboBox* orderClass = quality->precisionSummary()->classChoice();
        orderClass->setCurrentIndex(orderClass->findText(QStringLiteral("四等")));
        // Back to none afterwards, whatever happens, for the other tests.
        const auto none = qScopeGuard([] { korvanet::SetChosenOrderClassName(QString()); });
        for (const char* name : {"free-d", "free-d-q1-zero", "free-d-negative-q1", "known-d"}) {
            QStringList values;
            for (const std::string& answer : Answers(Reference(QString::fromLatin1(name) + ".txt")))
                values << QString::fromStdString(answer);
            QApplication::clipboard()->setText(values.join(QLatin1Char('\t')) + QLatin1Char('\n'));
            GoToRow(window, sheet_row::kTolerance);
            window.sheet()->paste();
            CheckBoxes(window, Reference(QString::fromLatin1(name) + ".fields"), false);
            QVERIFY(quality->isEnabled());
            korvanet::SurveyState state;
            korvanet::RecordingDisplay batch;
            const korvanet::JobRun run = korvanet::RunJob(window.jobInHand(), state, batch);
            QVERIFY(run.quality);
            QCOMPARE(quality->observationsTable()->rowCount(),
                     static_cast<int>(run.quality->observations.size()));
            QCOMPARE(quality->pointsTable()->item(1, 1)->text(),
                     window.findChild<QLineEdit*>(QString::fromLatin1(korvanet::boxes::kPointTable[1].name))
                         ->text()
                         .mid(1));
            const korvanet::QualityWindow opened(state, *run.quality);
            QCOMPARE(SectionsShown(quality->precisionSummary()), SectionsShown(opened.precisionSummary()));
            QCOMPARE(quality->headingLine()->text(), opened.headingLine()->text());
            QCOMPARE(quality->globalTestLine()->text(), opened.globalTestLine()->text());
            // The drawing, read when it is painted, shows this figure.
            QCOMPARE(quality->drawing()->grab().toImage(), opened.drawing()->grab().toImage());
        }
        QVERIFY(answerer.seen().empty());
    }

    // F5 runs the Compute command's prompts; each confirmed answer is in the
    // sheet before the next value is asked, and the whole run is one undo
    // step.  Pasted values beyond the current row fill the rows of the
    // figure from there and say how many.
    void promptRunFillsTheSheet() {
        MainWindow window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const std::vector<std::string> job = Answers(Example(QStringLiteral("known-d.txt")));
        std::size_t next = 0;
        std::vector<std::string> beforeFirstAngle;
        {
            DialogAnswerer answerer([&](const QString&, const QString& message) {
                if (message.startsWith(QStringLiteral("确认"))) return Reply{QString(), Finish::Enter};
                if (message == QStringLiteral("按示意图依次输入第 1 个观测角值 :"))
                    beforeFirstAngle = window.sheet()->model()->job();
                return Reply{QString::fromStdString(job.at(next++)), Finish::Enter};
            });
            QTest::keyClick(&window, Qt::Key_F5);
            QCOMPARE(next, job.size());
            QVERIFY(answerer.messageBoxes().empty());
        }
        QCOMPARE(beforeFirstAngle, std::vector<std::string>(job.begin(), job.begin() + 9));
        QCOMPARE(window.sheet()->model()->job(), job);
        CheckBoxes(window, Example(QStringLiteral("known-d.fields")));
        QCOMPARE(window.sheet()->undoStack()->count(), 1);
        QCOMPARE(window.sheet()->undoStack()->undoText(), QStringLiteral("进行计算"));

        // Two angles as a spreadsheet's row, from B(7): B(7) and B(8).
        QApplication::clipboard()->setText(QStringLiteral("38.59339, 45.11363\n"));
        GoToRow(window, sheet_row::kFirstAngle + 6);
        window.sheet()->paste();
        QCOMPARE(Status(window), QStringLiteral("已粘贴: 填入 2 个数值"));
        QCOMPARE(
            window.findChild<QLineEdit*>(QString::fromStdString(korvanet::boxes::ObservedAngle(8)))->text(),
            QStringLiteral(" 45.11363"));
        QCOMPARE(window.sheet()->undoStack()->count(), 2);
        window.sheet()->undoStack()->undo();
        window.sheet()->undoStack()->undo();
        // Before the run the sheet was empty: the run's results are greyed.
        QVERIFY(window.sheet()->model()->job().empty());
        CheckInk(window, false);
    }

    // The 等级 box beside the sheet and the quality window's are one choice:
    // choosing in either shows in the other at once.  A class offers its
    // angle mean error m_β as the tolerance, but a tolerance that differs
    // from it is replaced only when the surveyor says so (Enter keeps it);
    // the change is one step that undo takes back, and the figure is
    // adjusted and kept with it.
    void classChoiceIsOneAndAsksBeforeReplacingTheTolerance() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.openJob(Example(QStringLiteral("known-d.txt")));
        const std::vector<std::string> job = window.jobInHand();
        Action(window, QStringLiteral("qualityAction"))->trigger();
        auto* quality = window.findChild<korvanet::QualityWindow*>();
        QVERIFY(quality);
        QComboBox* choice = window.sheet()->classChoice();
        // The quality window's box, as it shows now (each adjustment lays the window out anew).
        auto checked = [quality] { return quality->precisionSummary()->classChoice(); };
        QCOMPARE(choice->currentIndex(), 0);  // none by default
        QCOMPARE(checked()->currentIndex(), 0);

        QString pressed;
        DialogAnswerer answerer([](const QString&, const QString&) { return Reply{}; },
                                [&](const QString&, const QString&) { return pressed; });
        QTest::keyClick(choice, Qt::Key_Down);
        const QString name = choice->currentText();
        QCOMPARE(checked()->currentText(), name);
        const korvanet::LoadedOrderClasses classes = korvanet::LoadOrderClasses();
        const korvanet::OrderClass* chosen = classes.table.Find(name.toStdString());
        QVERIFY(chosen != nullptr && chosen->angleMeanError);
        QVERIFY(*chosen->angleMeanError != std::stod(job.front()));
        QCOMPARE(answerer.messageBoxes().size(), std::size_t(1));
        QVERIFY2(answerer.messageBoxes()[0].message.contains(QString::fromStdString(job.front())),
                 qPrintable(answerer.messageBoxes()[0].message));
        QCOMPARE(window.jobInHand(), job);  // kept
        QVERIFY2(Status(window).contains(QStringLiteral("保留")), qPrintable(Status(window)));

        QTest::keyClick(choice, Qt::Key_Up);  // none: nothing to offer, nothing asked
        QCOMPARE(checked()->currentIndex(), 0);
        QCOMPARE(answerer.messageBoxes().size(), std::size_t(1));
        pressed = QStringLiteral("改为 %1″").arg(*chosen->angleMeanError);
        QTest::keyClick(choice, Qt::Key_Down);
        QCOMPARE(answerer.messageBoxes().size(), std::size_t(2));
        QCOMPARE(Model(window)->text(sheet_row::kTolerance).toDouble(), *chosen->angleMeanError);
        QCOMPARE(std::stod(window.jobInHand().front()), *chosen->angleMeanError);
        QVERIFY2(Status(window).contains(QStringLiteral("m_β")), qPrintable(Status(window)));
        // The adjustment took the new tolerance as its σ0.
        QString sigma;
        for (QLabel* line : quality->findChildren<QLabel*>()) {
            if (line->text().startsWith(QStringLiteral("测角中误差 σ0"))) sigma = line->text();
        }
        QCOMPARE(sigma.section(QLatin1Char(' '), 3, 3).toDouble(), *chosen->angleMeanError);

        // Chosen in the quality window, the class shows beside the sheet and
        // leaves the tolerance alone.
        QTest::keyClick(checked(), Qt::Key_Down);
        QVERIFY(checked()->currentText() != name);
        QCOMPARE(choice->currentText(), checked()->currentText());
        QCOMPARE(std::stod(window.jobInHand().front()), *chosen->angleMeanError);
        QCOMPARE(answerer.messageBoxes().size(), std::size_t(2));

        window.sheet()->undoStack()->undo();
        QCOMPARE(window.jobInHand(), job);
        QCOMPARE(Model(window)->text(sheet_row::kTolerance), QString::fromStdString(job.front()));
        checked()->setCurrentIndex(0);  // back to none, for the other tests
        QCOMPARE(choice->currentIndex(), 0);
        QCOMPARE(korvanet::ChosenOrderClassName(), QString());
    }

    // The job in hand and its file: the label shows the file and an asterisk
    // while the sheet differs from it; closing asks, and Save keeps the
    // edit.  The next start knows the recent jobs, the window's size and
    // whether the sheet was shown.
    void jobFileRecentJobsAndSettings() {
        const QString copy = home_.filePath(QStringLiteral("copy.txt"));
        QVERIFY(QFile::copy(Example(QStringLiteral("known-d.txt")), copy));
        {
            MainWindow window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.openJob(copy);
            QCOMPARE(window.sheet()->jobLabel()->text(), QStringLiteral("作业: copy.txt"));
            QVERIFY(!window.sheetModified());
            Model(window)->setData(
                Model(window)->index(sheet_row::kFirstSide, ObservationSheetModel::ValueColumn),
                QStringLiteral("1832.491"));
            QCOMPARE(window.sheet()->jobLabel()->text(), QStringLiteral("作业: copy.txt *"));
            window.sheet()->undoStack()->undo();
            QCOMPARE(window.sheet()->jobLabel()->text(), QStringLiteral("作业: copy.txt"));
            window.sheet()->undoStack()->redo();

            window.findChild<QDockWidget*>(QStringLiteral("observationSheetDock"))
                ->toggleViewAction()
                ->trigger();
            window.resize(900, 640);
            DialogAnswerer answerer([](const QString&, const QString&) {
                return Reply{QStringLiteral("edited"), Finish::Enter};
            });
            window.close();
            QCOMPARE(answerer.messageBoxes().size(), std::size_t(1));
            QCOMPARE(answerer.messageBoxes()[0].title, QStringLiteral("观测数据已修改"));
            QCOMPARE(answerer.fileDialogs().size(), std::size_t(1));
        }
        std::vector<std::string> edited = Answers(Example(QStringLiteral("known-d.txt")));
        edited.at(17) = "1832.491";
        QCOMPARE(Answers(home_.filePath(QStringLiteral("edited.txt"))), edited);

        MainWindow restarted;
        restarted.restoreSettings();
        restarted.show();
        QVERIFY(QTest::qWaitForWindowExposed(&restarted));
        QCOMPARE(restarted.size(), QSize(900, 640));
        QVERIFY(restarted.findChild<QDockWidget*>(QStringLiteral("observationSheetDock"))->isHidden());
        auto* recent = restarted.findChild<QMenu*>(QStringLiteral("recentJobsMenu"));
        QStringList listed;
        for (QAction* action : recent->actions()) listed << QDir::fromNativeSeparators(action->text());
        QCOMPARE(listed, QStringList({home_.filePath(QStringLiteral("edited.txt")), copy}));
        recent->actions().at(0)->trigger();
        QCOMPARE(restarted.jobInHand(), edited);
        QCOMPARE(restarted.sheet()->jobLabel()->text(), QStringLiteral("作业: edited.txt"));

        // A job file dropped on the sheet, floating on its own, opens it.
        auto* dock = restarted.findChild<QDockWidget*>(QStringLiteral("observationSheetDock"));
        dock->show();
        dock->setFloating(true);
        QWidget* target = Table(restarted)->viewport();
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(copy)});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QCoreApplication::sendPostedEvents();  // the job opens once the drop is over
        QCOMPARE(restarted.jobInHand(), Answers(copy));
        QCOMPARE(restarted.sheet()->jobLabel()->text(), QStringLiteral("作业: copy.txt"));
        dock->setFloating(false);
        // F6 shows the hidden sheet and puts the keyboard in it.
        restarted.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&restarted));
        QTest::keyClick(&restarted, Qt::Key_F6);
        QVERIFY(restarted.findChild<QDockWidget*>(QStringLiteral("observationSheetDock"))->isVisible());
        QCOMPARE(QApplication::focusWidget(), Table(restarted));
    }

private:
    QTemporaryDir home_;
};

QTEST_MAIN(ObservationSheetTest)
#include "observation_sheet_test.moc"
