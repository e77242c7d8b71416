// SPDX-License-Identifier: GPL-3.0-or-later
// The window 精度估算 as a surveyor uses it: the precision follows a point
// dragged in the drawing at once, a coordinate typed wrong is named and
// changes nothing, an edit changes only its own cell, design files are read
// and written as job files are, and 从设计生成作业 puts the job template in
// the main window's hand, asking first over an unsaved sheet.  Every event
// is sent directly: nothing waits or polls.

#include "app/design_window.h"

#include <sys/stat.h>
#include <unistd.h>

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
#include "compute/design_file.h"
#include "core/form_boxes.h"
#include "testing/box_ink.h"
#include "testing/dialog_answerer.h"
#include "testing/window_test_files.h"

using namespace korvanet;
using korvanet::testing::DarkestInk;
using korvanet::testing::DialogAnswerer;
using korvanet::testing::Reply;

class DesignWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
    }
    void draggingAPointMovesItAndThePrecisionFollows();
    void aCoordinateTypedWrongIsNamedAndChangesNothing();
    void anEditChangesItsOwnCellAndNoOtherDigit();
    void designFilesAreReadAndWrittenAsJobFilesAre();
    void theJobTemplateBecomesTheMainWindowsJobInHand();
    void aNameTheFileCannotKeepIsRefusedAsTyped();

private:
    QTemporaryDir home_;  // the user's home, where the dialogs start
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
    QCOMPARE(std::abs((c.y - cy) / (c.x - cx) - 2.0) < 1e-5, true);  // in the direction dragged
    // Placed to 0.1 mm, and the table shows the very number the design holds.
    QCOMPARE(window.pointsTable()->item(2, 3)->text().toDouble(), c.y);
    QCOMPARE(window.pointsTable()->item(2, 2)->text().toDouble(), c.x);
    QVERIFY(window.pointsTable()->item(2, 3)->text().section(QLatin1Char('.'), 1).size() <= 4);
    QVERIFY(window.run().run.quality.has_value());
    QVERIFY(std::abs(window.run().run.quality->points[2].precision->ellipse.a - before) > 0.01);
    QVERIFY(window.summary()->text() != summaryBefore);
    // With a class chosen, the checks a design can answer.
    window.classChoice()->setCurrentIndex(window.classChoice()->findText(QStringLiteral("四等")));
    QVERIFY(window.summary()->text().contains(QStringLiteral("规范检核 (精度估算): 四等")));
    QVERIFY(window.summary()->text().contains(QStringLiteral("期望三角形闭合差 2√3 σ0")));
    QVERIFY(window.summary()->text().contains(QStringLiteral("计划测角中误差 σ0")));
}

void DesignWindowTest::aCoordinateTypedWrongIsNamedAndChangesNothing() {
    DesignWindow window(ExampleDesign());
    const double bx = window.design().points[1].x;
    window.pointsTable()->item(1, 2)->setText(QStringLiteral("35232l0.1"));
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

void DesignWindowTest::anEditChangesItsOwnCellAndNoOtherDigit() {
    // Coordinates with more digits than the table shows, as a design of an
    // adjusted figure holds them.
    Design planned = ExampleDesign();
    planned.points[1].x = 3523210.123456789;
    planned.points[2].y = 514380.30000049;
    DesignWindow window(planned);
    window.pointsTable()->item(3, 3)->setText(QStringLiteral("514912.7"));
    window.pointsTable()->item(0, 1)->setText(QStringLiteral("青龙山顶"));
    window.toleranceField()->selectAll();
    QTest::keyClicks(window.toleranceField(), QStringLiteral("2.0"));
    Design expected = planned;
    expected.points[3].y = 514912.7;
    expected.points[0].name = "青龙山顶";
    expected.tolerance = 2.0;
    for (int p = 0; p < 4; ++p) {
        QCOMPARE(window.design().points[p].name, expected.points[p].name);
        QCOMPARE(window.design().points[p].x, expected.points[p].x);
        QCOMPARE(window.design().points[p].y, expected.points[p].y);
    }
    QCOMPARE(window.design().tolerance, 2.0);
    // The design file keeps a typed coordinate as typed and every other digit,
    // so that it reads back to the very design in the window.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("digits.design"));
    QVERIFY(window.saveDesign(file));
    const QByteArray text = korvanet::testing::Bytes(file);
    QVERIFY2(text.contains("B 望江楼 3523210.123456789 512402.9\n") && text.contains(" 514380.30000049\n") &&
                 text.contains(" 514912.7 known\n"),
             text.constData());
    const Design back = ReadDesignFile(text.toStdString());
    for (int p = 0; p < 4; ++p) {
        QCOMPARE(back.points[p].x, expected.points[p].x);
        QCOMPARE(back.points[p].y, expected.points[p].y);
    }
}

void DesignWindowTest::designFilesAreReadAndWrittenAsJobFilesAre() {
    QTemporaryDir dir;
    const QString folder = dir.path(), fifo = dir.filePath(QStringLiteral("pipe"));
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    DesignWindow window(ExampleDesign());
    const Design before = window.design();
    struct Fault {
        bool save;
        QString path, message;
    };
    std::vector<Fault> faults = {
        {false, fifo, QStringLiteral("无法读取设计文件 %1: 这是一个命名管道 (FIFO), 不是设计文件").arg(fifo)},
        {false, QStringLiteral("/dev/zero"),
         QStringLiteral("无法读取设计文件 /dev/zero: 这是一个设备, 不是设计文件")},
        {false, folder, QStringLiteral("无法读取设计文件 %1: 这是一个文件夹, 不是设计文件").arg(folder)},
        {true, fifo, QStringLiteral("无法保存设计 %1: 没有程序在读取这个管道或设备").arg(fifo)},
        {true, folder, QStringLiteral("无法保存设计 %1: 这是一个文件夹").arg(folder)},
        {true, QStringLiteral("/dev/full"), QStringLiteral("无法保存设计 /dev/full: 磁盘已满")},
    };
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkdir(locked) && ::chmod(QFile::encodeName(locked).constData(), 0555) == 0);
    if (::geteuid() != 0)  // the superuser writes into any folder
        faults.push_back({true, locked + QStringLiteral("/plan.design"),
                          QStringLiteral("无法保存设计 %1/plan.design: 没有权限").arg(locked)});
    for (const Fault& f : faults) {
        DialogAnswerer answerer([](const QString&, const QString&) { return Reply{}; });
        QCOMPARE(f.save ? window.saveDesign(f.path) : window.openDesign(f.path), false);
        QCOMPARE(answerer.messageBoxes().size(), std::size_t(1));
        QCOMPARE(answerer.messageBoxes()[0].message, f.message);
        QCOMPARE(window.design().points[1].name, before.points[1].name);
    }

    // 保存设计… with a name typed without its type, then over a link to it:
    // the file the link points to is written and the link stays.
    window.pointsTable()->item(1, 3)->setText(QStringLiteral("512402.93"));
    {
        DialogAnswerer answerer(
            [&](const QString&, const QString&) { return Reply{QStringLiteral("plan")}; });
        for (QPushButton* b : window.findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("保存设计…")) b->click();
        QCOMPARE(answerer.fileDialogs().size(), std::size_t(1));
        QCOMPARE(answerer.messageBoxes().size(), std::size_t(0));
    }
    const QString plan = QDir(home_.path()).filePath(QStringLiteral("plan.design"));
    const QString link = dir.filePath(QStringLiteral("link"));
    QVERIFY(QFile::exists(plan));
    QVERIFY(QFile::link(plan, link));
    window.pointsTable()->item(2, 2)->setText(QStringLiteral("3523650.75"));
    QVERIFY(window.saveDesign(link));
    QVERIFY(QFileInfo(link).isSymLink());
    DesignWindow reopened(ExampleDesign());
    QVERIFY(reopened.openDesign(plan));
    for (int p = 0; p < 4; ++p) {
        QCOMPARE(reopened.design().points[p].x, window.design().points[p].x);
        QCOMPARE(reopened.design().points[p].y, window.design().points[p].y);
    }
    QCOMPARE(reopened.design().points[2].x, 3523650.75);
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
