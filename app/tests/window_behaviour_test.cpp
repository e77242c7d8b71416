// SPDX-License-Identifier: GPL-3.0-or-later
// What the window does, apart from Compute: the boxes it shows, where the
// keyboard starts, setting a box's text, and ending the program.

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <functional>
#include <stdexcept>

#include "app/form_canvas.h"
#include "app/main_window.h"
#include "app/observation_sheet.h"
#include "app/observation_sheet_model.h"
#include "core/form_boxes.h"
#include "core/text_display.h"

using korvanet::MainWindow;
using korvanet::ObservationSheetModel;
namespace sheet_row = korvanet::sheet_row;
namespace boxes = korvanet::boxes;

namespace {

QString Name(const std::string& box) { return QString::fromStdString(box); }

QString BoxText(const MainWindow& window, const QString& name) {
    auto* box = window.findChild<QLineEdit*>(name);
    return box ? box->text() : QStringLiteral("<no box %1>").arg(name);
}

// Runs the application's event loop, with `action` as the first thing it
// does, until something ends the program.  No clock decides the outcome: a
// program that does not end never returns here, and CTest's timeout for the
// test reports it.
int RunEventLoop(std::function<void()> action) {
    QMetaObject::invokeMethod(qApp, std::move(action), Qt::QueuedConnection);
    return QApplication::exec();
}

}  // namespace

class WindowBehaviourTest : public QObject {
    Q_OBJECT
private slots:
    void everyBoxEmptyAndNoPromptAtStart() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto boxes = window.findChildren<QLineEdit*>();
        QCOMPARE(boxes.size(), qsizetype(58));
        for (QLineEdit* box : boxes) QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(QApplication::topLevelWidgets().count(&window), 1);
    }

    // The keyboard starts in the sheet's first empty value cell, so that
    // typing at once fills it; Ctrl+Home and Ctrl+End land on the first and
    // the last value of the figure, and Tab (typing or not) leaves the
    // sheet for the buttons, Shift+Tab back.  The read-only boxes are passed
    // by; the mouse still selects one, so its text can be copied.
    void keyboardStartsInTheSheetsFirstEmptyCell() {
        MainWindow window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* table = window.sheet()->view();
        QCOMPARE(QApplication::focusWidget(), table);
        const auto value = ObservationSheetModel::ValueColumn;
        QCOMPARE(table->currentIndex(), table->model()->index(sheet_row::kTolerance, value));
        QTest::keyClicks(table, QStringLiteral("3"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(window.sheet()->model()->text(sheet_row::kTolerance), QStringLiteral("3"));
        QCOMPARE(table->currentIndex(), table->model()->index(sheet_row::kXOfA, value));

        QTest::keyClick(table, Qt::Key_Down);
        QTest::keyClick(table, Qt::Key_Left);
        QTest::keyClick(table, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(table->currentIndex(), table->model()->index(sheet_row::kTolerance, value));
        QTest::keyClick(table, Qt::Key_End, Qt::ControlModifier);  // D known: S(6) is not asked
        QCOMPARE(table->currentIndex(), table->model()->index(sheet_row::kSixthSide - 1, value));

        QTest::keyClick(table, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), table);
        // Typed, then Tab: the value is kept and the keyboard is on the buttons.
        QTest::keyClick(table, Qt::Key_5);  // opens the cell's editor, which takes the rest
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("59.316"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(window.sheet()->model()->text(sheet_row::kSixthSide - 1), QStringLiteral("559.316"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
        for (QLineEdit* box : window.canvas()->findChildren<QLineEdit*>()) {
            QCOMPARE(box->focusPolicy(), Qt::ClickFocus);
        }
    }

    // Every item of the menus has an access key of its own within its menu,
    // so that each menu can be worked from the keyboard.
    void everyMenuItemHasItsOwnAccessKey() {
        MainWindow window;
        for (QAction* menu : window.menuBar()->actions()) {
            QVERIFY2(menu->menu() && !QKeySequence::mnemonic(menu->text()).isEmpty(),
                     qPrintable(menu->text()));
            QSet<QString> keys;
            for (QAction* item : menu->menu()->actions()) {
                if (item->isSeparator()) continue;
                const QString key = QKeySequence::mnemonic(item->text()).toString();
                QVERIFY2(!key.isEmpty() && !keys.contains(key), qPrintable(item->text()));
                keys.insert(key);
            }
        }
    }

    void setTextReachesNamedAndArrayBoxes_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("x of A") << Name(boxes::kXOfA) << " 4324901.631";
        QTest::newRow("T0 with unit") << Name(boxes::kAzimuthT0) << " 80.4153213 度";
        QTest::newRow("y of A around the figure") << Name(boxes::kPointTable[4].y) << " 469649.741";
        QTest::newRow("triangle 1") << Name(boxes::kTriangleMisclosure1) << " 1.5";
        QTest::newRow("y of D") << Name(boxes::kPointTable[3].y) << "-0.000";
        QTest::newRow("first angle") << Name(boxes::ObservedAngle(1)) << " 39.07391";
        QTest::newRow("last angle") << Name(boxes::ObservedAngle(8)) << " 44.25426";
        QTest::newRow("first side") << Name(boxes::ObservedSide(1)) << " 340.441";
        QTest::newRow("last side") << Name(boxes::ObservedSide(6)) << " 559.316";
        QTest::newRow("a name") << Name(boxes::kPointTable[0].name) << " 白塔";
        QTest::newRow("the single blank") << Name(boxes::kYOfA) << " ";
    }
    void setTextReachesNamedAndArrayBoxes() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        MainWindow window;
        korvanet::TextDisplay& display = window;
        display.SetText(box.toStdString(), text.toStdString());
        QCOMPARE(BoxText(window, box), text);
        // Only that box changed.
        for (QLineEdit* other : window.findChildren<QLineEdit*>()) {
            if (other->objectName() != box)
                QVERIFY2(other->text().isEmpty(), qPrintable(other->objectName()));
        }
        // A second write replaces the first.
        display.SetText(box.toStdString(), "x");
        QCOMPARE(BoxText(window, box), QStringLiteral("x"));
    }

    // A text wider than its box shows its beginning, as a freshly written box does.
    void longTextShowsItsStart() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.SetText(boxes::kTriangleMisclosure1, " 123456789012345678901234567890.5");
        QCOMPARE(window.findChild<QLineEdit*>(Name(boxes::kTriangleMisclosure1))->cursorPosition(), 0);
    }

    void unknownBoxIsAProgrammingFault_data() {
        QTest::addColumn<QString>("box");
        QTest::newRow("no box 18") << "Text18";
        QTest::newRow("no box 52") << "Text52";
        QTest::newRow("array without element") << Name(boxes::kObservedAngles);
        QTest::newRow("past the angles") << Name(korvanet::ArrayBox(boxes::kObservedAngles, 8));
        QTest::newRow("past the sides") << Name(korvanet::ArrayBox(boxes::kObservedSides, 6));
        QTest::newRow("a label") << "Label1";
        QTest::newRow("a button") << "Command1";
        QTest::newRow("empty") << "";
    }
    void unknownBoxIsAProgrammingFault() {
        QFETCH(QString, box);
        MainWindow window;
        QVERIFY_THROWS_EXCEPTION(std::logic_error, window.SetText(box.toStdString(), "1"));
    }

    void endQuitsAtOnce() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.SetText(boxes::kXOfA, " 1");
        auto* end = window.findChild<QPushButton*>(QStringLiteral("Command2"));
        QVERIFY(end);
        const int exitCode = RunEventLoop([end] { QTest::mouseClick(end, Qt::LeftButton); });
        QCOMPARE(exitCode, 0);
        QVERIFY(!window.isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);  // no question asked
    }

    void closingTheWindowQuits() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const int exitCode = RunEventLoop([&window] { window.close(); });
        QCOMPARE(exitCode, 0);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(WindowBehaviourTest)
#include "window_behaviour_test.moc"
