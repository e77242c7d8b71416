// SPDX-License-Identifier: GPL-3.0-or-later
// The window 精度估算 as a surveyor uses it: the precision follows a point
// dragged in the drawing at once, a coordinate typed wrong is named and
// changes nothing, and 从设计生成作业 puts the job template in the main
// window's hand, asking first over an unsaved sheet.  Every event is sent directly: nothing waits or polls.

#include "app/design_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QUndoStack>
#include <QtTest>

#include "app/main_window.h"
#include "app/observation_sheet.h"
#include "app/observation_sheet_model.h"
#include "core/form_boxes.h"
#include "testing/dialog_answerer.h"

using namespace korvanet;

class DesignWindowTest : public QObject {
    Q_OBJECT
private slots:
    void draggingAPointMovesItAndThePrecisionFollows();
    void aCoordinateTypedWrongIsNamedAndChangesNothing();
    void theJobTemplateBecomesTheMainWindowsJobInHand();
};

namespace {

// The darkest grey level in what a box draws: its text, when it has any.
int DarkestInk(QLineEdit* box) {
    const QImage image = box->grab().toImage();
    int darkest = 255;
    for (int y = 3; y < image.height() - 3; ++y) {
        for (int x = 3; x < image.width() - 3; ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
    }
    return darkest;
}

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

// 从设计生成作业 asks before it replaces a sheet that differs from its job
// file, as 打开作业 does; the template then greys the results of the run
// before, and Print refuses until the template is completed and adjusted.
void DesignWindowTest::theJobTemplateBecomesTheMainWindowsJobInHand() {
    MainWindow main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QAction* design = nullptr;
    for (QAction* menu : main.menuBar()->actions())
        for (QAction* a : menu->menu() ? menu->menu()->actions() : QList<QAction*>())
            if (a->text() == QStringLiteral("精度估算(&D)…")) design = a;
    QVERIFY(design != nullptr);
    design->trigger();  // before any run: the example design
    auto* window = main.findChild<DesignWindow*>();
    QVERIFY(window != nullptr);
    main.openJob(QStringLiteral(KORVANET_REFERENCE_DIR "/known-d.txt"));
    ObservationSheetModel* sheet = main.sheet()->model();
    sheet->setData(sheet->index(sheet_row::kFirstSide, ObservationSheetModel::ValueColumn),
                   QStringLiteral("340.445"));
    QVERIFY(main.sheetModified());
    const std::vector<std::string> edited = main.jobInHand();
    auto* result = main.findChild<QLineEdit*>(QString::fromLatin1(boxes::kUnitWeightError));
    QVERIFY(!result->text().isEmpty());
    QVERIFY(DarkestInk(result) < 80);

    QString pressed = QStringLiteral("取消");
    const testing::DialogAnswerer answerer([](const QString&, const QString&) { return testing::Reply{}; },
                                           [&](const QString&, const QString&) { return pressed; });
    window->makeJobTemplate();
    QCOMPARE(answerer.messageBoxes().size(), std::size_t(1));
    QCOMPARE(answerer.messageBoxes()[0].title, QStringLiteral("观测数据已修改"));
    QCOMPARE(main.jobInHand(), edited);
    pressed = QStringLiteral("不保存");
    window->makeJobTemplate();
    QCOMPARE(answerer.messageBoxes().size(), std::size_t(2));
    const std::vector<std::string> expected = {
        "2.5",  "3521408.25", "512736.48", "3521735.98", "514912.655", "青龙山", "望江楼", "石门",
        "东岗", "",           "",          "",           "",           "",       "",       "",
        "",     "",           "",          "",           "",           ""};
    QCOMPARE(main.jobInHand(), expected);
    const int ink = DarkestInk(result);
    QVERIFY2(!result->text().isEmpty() && ink >= 100 && ink < 220, qPrintable(QString::number(ink)));
    pressed.clear();
    QTest::mouseClick(main.findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
    QCOMPARE(answerer.messageBoxes().size(), std::size_t(3));  // refused, not printed
    QVERIFY(answerer.fileDialogs().empty());
    // The sheet shows it, the names in their rows, and undo takes it back.
    QCOMPARE(sheet->text(sheet_row::kYOfD), QStringLiteral("514912.655"));
    QCOMPARE(sheet->text(sheet_row::kFirstName + 1), QStringLiteral("望江楼"));
    main.sheet()->undoStack()->undo();
    QCOMPARE(main.jobInHand(), edited);
    window->close();
}

QTEST_MAIN(DesignWindowTest)
#include "design_window_test.moc"
