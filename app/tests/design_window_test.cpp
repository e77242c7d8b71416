// SPDX-License-Identifier: GPL-3.0-or-later
// The window 精度估算 as a surveyor uses it: the precision follows a point
// dragged in the drawing at once, a coordinate typed wrong is named and
// changes nothing, and 从设计生成作业 puts the job template in the main
// window's hand.  Every event is sent directly: nothing waits or polls.

#include "app/design_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTableWidget>
#include <QUndoStack>
#include <QtTest>

#include "app/main_window.h"
#include "app/observation_sheet.h"
#include "app/observation_sheet_model.h"

using namespace korvanet;

class DesignWindowTest : public QObject {
    Q_OBJECT
private slots:
    void draggingAPointMovesItAndThePrecisionFollows();
    void aCoordinateTypedWrongIsNamedAndChangesNothing();
    void theJobTemplateBecomesTheMainWindowsJobInHand();
    void aNameTheFileCannotKeepIsRefusedAsTyped();
};

namespace {

void Send(QWidget* to, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, to->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}

}  // namespace

void DesignWindowTest::draggingAPointMovesItAndThePrecisionFollows() {
    DesignWindow window(ExampleDesign());
    window.show();
    QVERIFY(window.run().run.quality.has_value());
    QVERIFY(window.summary()->text().contains(QStringLiteral("精度估算 (设计, 尚未观测)")));
    const double before = window.run().run.quality->points[2].precision->ellipse.a;
    const double cx = window.design().points[2].x, cy = window.design().points[2].y;
    const QString summaryBefore = window.summary()->text();

    // C dragged 80 pixels east and 40 north.
    const auto at = window.drawing()->pointAt(2);
    QVERIFY(at.has_value());
    const QPointF to = *at + QPointF(80, -40);
    Send(window.drawing(), QEvent::MouseButtonPress, *at, Qt::LeftButton);
    Send(window.drawing(), QEvent::MouseMove, *at + QPointF(40, -20), Qt::LeftButton);
    Send(window.drawing(), QEvent::MouseMove, to, Qt::LeftButton);
    Send(window.drawing(), QEvent::MouseButtonRelease, to, Qt::NoButton);

    const DesignPoint& c = window.design().points[2];
    QVERIFY2(c.y > cy + 100 && c.x > cx + 50, "C moved east and north on the ground");
    QCOMPARE(std::abs((c.y - cy) / (c.x - cx) - 2.0) < 1e-6, true);  // in the direction dragged
    QCOMPARE(window.pointsTable()->item(2, 3)->text(), QString::number(c.y, 'f', 3));
    QVERIFY(window.run().run.quality.has_value());
    QVERIFY(std::abs(window.run().run.quality->points[2].precision->ellipse.a - before) > 0.01);
    QVERIFY(window.summary()->text() != summaryBefore);
    // With a class chosen, the checks a design can answer.
    window.classChoice()->setCurrentIndex(window.classChoice()->findText(QStringLiteral("四等")));
    QVERIFY(window.summary()->text().contains(QStringLiteral("规范检核 (精度估算): 四等")));
    QVERIFY(window.summary()->text().contains(QStringLiteral("2σ0")));
    // The picture of the README.
    window.grab().save(QDir::temp().filePath(QStringLiteral("design-window.png")));
}

void DesignWindowTest::aCoordinateTypedWrongIsNamedAndChangesNothing() {
    DesignWindow window(ExampleDesign());
    const double bx = window.design().points[1].x;
    window.pointsTable()->item(1, 2)->setText(QStringLiteral("35232l0.1"));
    QVERIFY(window.findChildren<QLabel*>().size() > 0);
    bool named = false;
    for (QLabel* label : window.findChildren<QLabel*>())
        named = named || label->text().contains(QStringLiteral("B 点的纵座标不是数字: \"35232l0.1\""));
    QVERIFY(named);
    QCOMPARE(window.design().points[1].x, bx);
    QVERIFY(window.run().run.quality.has_value());

    // D made a determined point: the design has three ellipses and six sides.
    window.dKnownSwitch()->setChecked(false);
    QVERIFY(window.run().run.quality->points[3].precision.has_value());
    QCOMPARE(window.run().run.quality->figure.sides.size(), std::size_t{6});
}

void DesignWindowTest::theJobTemplateBecomesTheMainWindowsJobInHand() {
    MainWindow main;
    QAction* design = nullptr;
    for (QAction* menu : main.menuBar()->actions())
        for (QAction* a : menu->menu() ? menu->menu()->actions() : QList<QAction*>())
            if (a->text() == QStringLiteral("精度估算…")) design = a;
    QVERIFY(design != nullptr);
    design->trigger();
    auto* window = main.findChild<DesignWindow*>();
    QVERIFY(window != nullptr);
    window->makeJobTemplate();
    const std::vector<std::string> expected = {
        "2.5",  "3521408.25", "512736.48", "3521735.98", "514912.655", "青龙山", "望江楼", "石门",
        "东岗", "",           "",          "",           "",           "",       "",       "",
        "",     "",           "",          "",           "",           ""};
    QCOMPARE(main.jobInHand(), expected);
    // The sheet shows it, the names in their rows, and undo takes it back.
    ObservationSheetModel* sheet = main.sheet()->model();
    QCOMPARE(sheet->text(sheet_row::kYOfD), QStringLiteral("514912.655"));
    QCOMPARE(sheet->text(sheet_row::kFirstName + 1), QStringLiteral("望江楼"));
    main.sheet()->undoStack()->undo();
    QCOMPARE(sheet->text(sheet_row::kFirstName + 1), QString());
    window->close();
}

// A name with a blank, a # or a control character, or no name, could not be
// read back from the design file: it is refused the moment it is typed, with
// the reason, and the design keeps the last good name.
void DesignWindowTest::aNameTheFileCannotKeepIsRefusedAsTyped() {
    DesignWindow window(ExampleDesign());
    const auto shown = [&](const QString& text) {
        for (QLabel* label : window.findChildren<QLabel*>())
            if (label->text().contains(text)) return true;
        return false;
    };
    const struct {
        QString typed, reason;
    } refused[] = {
        {QStringLiteral("石 门"), QStringLiteral("C 点的点名\"石 门\"含有空格或 #")},
        {QStringLiteral("石#门"), QStringLiteral("C 点的点名\"石#门\"含有空格或 #")},
        {QStringLiteral("石\u0001门"), QStringLiteral("含有控制字符 U+0001")},
        {QString(), QStringLiteral("C 点的点名是空的")},
    };
    for (const auto& r : refused) {
        window.pointsTable()->item(2, 1)->setText(r.typed);
        QVERIFY2(shown(r.reason), qPrintable(r.typed));
        QCOMPARE(window.design().points[2].name, std::string("石门"));
    }
    window.pointsTable()->item(2, 1)->setText(QStringLiteral("石门山"));
    QCOMPARE(window.design().points[2].name, std::string("石门山"));
    QVERIFY(!shown(QStringLiteral("含有")) && !shown(QStringLiteral("是空的")));
}

QTEST_MAIN(DesignWindowTest)
#include "design_window_test.moc"
