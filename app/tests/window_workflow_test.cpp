// SPDX-License-Identifier: GPL-3.0-or-later
// The surveyor's workflow through the real window: stopping a run, opening,
// saving and dropping job files, and running again after a restart with the
// earlier answers offered.  Every prompt is a real input box answered key by
// key; the data folder is a temporary one, never the user's own.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include "app/design_window.h"
#include "app/job_store.h"
#include "app/main_window.h"
#include "app/qt_translations.h"
#include "app/report_export.h"
#include "compute/job_file_reader.h"
#include "compute/job_run.h"
#include "core/form_boxes.h"
#include "core/scripted_session.h"
#include "testing/box_ink.h"
#include "testing/dialog_answerer.h"
#include "testing/stop_button.h"
#include "testing/window_test_files.h"

using korvanet::MainWindow;
namespace boxes = korvanet::boxes;
using korvanet::testing::DarkestInk;
using korvanet::testing::DialogAnswerer;
using korvanet::testing::Finish;
using korvanet::testing::Reply;

using korvanet::testing::Bytes;
using korvanet::testing::Reference;

namespace {

std::vector<std::string> JobAnswers(const QString& name) {
    return korvanet::ReadJobFile(Reference(name).toStdString()).answers;
}

QLineEdit* Box(const MainWindow& window, const QString& name) { return window.findChild<QLineEdit*>(name); }

QString Name(const std::string& box) { return QString::fromStdString(box); }

// Every box shows the same text in both windows.
void CheckSameBoxes(const MainWindow& one, const MainWindow& other) {
    const auto boxes = one.findChildren<QLineEdit*>();
    QCOMPARE(boxes.size(), qsizetype(58));
    for (QLineEdit* box : boxes) {
        QCOMPARE(Box(other, box->objectName())->text(), box->text());
    }
}

bool IsConfirmation(const QString& message) { return message.startsWith(QStringLiteral("确认")); }

// Every box the batch tool writes for `job` shows the batch tool's text.
void CheckBoxesOfJob(const MainWindow& window, const std::vector<std::string>& job) {
    korvanet::SurveyState state;
    korvanet::RecordingDisplay batch;
    QVERIFY(!korvanet::RunJob(job, state, batch).failure);
    for (const std::string& box : batch.Order()) {
        QCOMPARE(Box(window, QString::fromStdString(box))->text(), QString::fromStdString(batch.Text(box)));
    }
}

}  // namespace

class WindowWorkflowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(home_.isValid());
        qputenv("HOME", home_.path().toLocal8Bit());
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(korvanet::LastRunJobPath().startsWith(home_.path()), qPrintable(korvanet::LastRunJobPath()));
        QVERIFY(korvanet::InstallQtChineseTranslations(*qApp));
    }

    // "中止计算" ends the run at once with no message; the boxes keep what
    // they show, and those from the earlier run are greyed until a run
    // completes; Print refuses the half-done run.
    void stopGreysTheEarlierRunsBoxes() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.openJob(Reference(QStringLiteral("free-d.txt")));
        QVERIFY(!Box(window, Name(boxes::kPointTable[4].x))->text().isEmpty());  // the check row of a free D
        // Kept in the home folder, which the file dialog then offers.
        QVERIFY(window.saveJob(home_.filePath(QStringLiteral("free-d-copy.txt"))));

        const std::vector<std::string> job = JobAnswers(QStringLiteral("known-d.txt"));
        std::size_t next = 0;
        bool stopped = false;
        {
            DialogAnswerer answerer([&](const QString&, const QString& message) {
                if (IsConfirmation(message)) return Reply{QString(), Finish::Enter};
                if (message == QStringLiteral("按示意图依次输入第 1 个观测角值 :")) {
                    stopped = korvanet::testing::PressStop();
                    return korvanet::testing::StoppedReply();
                }
                return Reply{QString::fromStdString(job.at(next++)), Finish::Enter};
            });
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
            QVERIFY(stopped);
            QVERIFY(answerer.messageBoxes().empty());
            QCOMPARE(answerer.seen().back().message, QStringLiteral("按示意图依次输入第 1 个观测角值 :"));
        }
        // A run from the empty field keeps exactly what was typed.
        QCOMPARE(window.jobInHand(), std::vector<std::string>(job.begin(), job.begin() + 9));

        for (const char* written :
             {boxes::kXOfA, boxes::kYOfD, boxes::kPointTable[0].name, boxes::kPointTable[3].name}) {
            QLineEdit* box = Box(window, Name(written));
            QVERIFY(!box->text().isEmpty());
            QVERIFY2(DarkestInk(box) < 80, written);
        }
        QCOMPARE(Box(window, Name(boxes::kPointTable[3].name))->text(), QStringLiteral(" DZ1"));
        for (const std::string& stale :
             {std::string(boxes::kAzimuthT0), boxes::ObservedAngle(1), boxes::ObservedSide(6),
              std::string(boxes::kTriangleMisclosure1), std::string(boxes::kPointTable[1].x),
              std::string(boxes::kPointTable[4].x), std::string(boxes::kSideMeanError)}) {
            QLineEdit* box = Box(window, Name(stale));
            QVERIFY2(!box->text().isEmpty(), stale.c_str());
            const int ink = DarkestInk(box);
            QVERIFY2(ink >= 100 && ink < 220, qPrintable(QStringLiteral("%1: %2").arg(Name(stale)).arg(ink)));
        }
        {
            DialogAnswerer answerer([](const QString&, const QString&) { return Reply{}; });
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
            QCOMPARE(answerer.messageBoxes().size(), std::size_t(1));
        }

        // The stopped run's answers are the sheet, unsaved: opening another
        // job asks first, and saving keeps them.
        const QString kept = home_.filePath(QStringLiteral("stopped.txt"));
        {
            DialogAnswerer answerer([&](const QString&, const QString&) {
                return Reply{QStringLiteral("stopped"), Finish::Enter};
            });
            // A completed run draws every box in its ordinary colour again.
            window.openJob(Reference(QStringLiteral("free-d.txt")));
            QCOMPARE(answerer.messageBoxes().size(), std::size_t(1));
            QCOMPARE(answerer.messageBoxes()[0].title, QStringLiteral("观测数据已修改"));
            QCOMPARE(answerer.fileDialogs().size(), std::size_t(1));
        }
        const std::vector<std::string> saved = korvanet::ReadJobFile(kept.toStdString()).answers;
        QCOMPARE(saved, std::vector<std::string>(job.begin(), job.begin() + 9));
        QCOMPARE(window.jobInHand(), JobAnswers(QStringLiteral("free-d.txt")));
        for (QLineEdit* box : window.findChildren<QLineEdit*>()) {
            if (!box->text().trimmed().isEmpty())
                QVERIFY2(DarkestInk(box) < 80, qPrintable(box->objectName()));
        }
    }

    // A job saved from the window is the batch tool's file, byte for byte,
    // and dropped on another window it gives the same boxes.
    void savedJobDroppedOnAWindowGivesTheSameBoxes() {
        const QString saved = home_.filePath(QStringLiteral("saved.txt"));
        MainWindow first;
        {
            DialogAnswerer answerer([](const QString&, const QString&) { return Reply{}; });
            first.openJob(Reference(QStringLiteral("free-d.txt")));
            QVERIFY(answerer.seen().empty());  // a job runs without a single dialog
            QVERIFY(first.saveJob(saved));
        }
        QCOMPARE(Bytes(saved), Bytes(Reference(QStringLiteral("free-d.txt"))));

        MainWindow second;
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(saved)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&second, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&second, &drop);
        QCoreApplication::sendPostedEvents();  // the job runs once the drop is over
        CheckSameBoxes(first, second);
        const QString yAround = Name(boxes::kPointTable[4].y);
        QCOMPARE(Box(second, yAround)->text(), Box(first, yAround)->text());
        QVERIFY(!Box(second, yAround)->text().isEmpty());
    }

    // A job with a value that breaks its rule stops there with the message;
    // the whole job stays in hand, so Save or Run again loses none of it.
    void openedJobWithABadValueStopsAndKeepsTheJob() {
        const std::vector<std::string> good = JobAnswers(QStringLiteral("known-d.txt"));
        std::vector<std::string> bad = good;
        bad.at(11) = "51.14779";  // angle 3 with 77 seconds
        const QString path = home_.filePath(QStringLiteral("bad.txt"));
        QString error;
        QVERIFY(korvanet::WriteJobFile(path, bad, error));

        MainWindow window;
        DialogAnswerer answerer([](const QString&, const QString&) { return Reply{}; });
        window.openJob(path);
        QCOMPARE(answerer.messageBoxes().size(), std::size_t(1));
        QVERIFY2(answerer.messageBoxes()[0].message.contains(QStringLiteral("第 3 个观测角\"51.14779\"")),
                 qPrintable(answerer.messageBoxes()[0].message));
        QCOMPARE(Box(window, Name(boxes::ObservedAngle(3)))->text(), QStringLiteral(" 51.14779"));
        QCOMPARE(Box(window, Name(boxes::ObservedAngle(4)))->text(), QString());
        QCOMPARE(window.jobInHand(), bad);
    }

    // After a restart the whole figure kept is adjusted at once: the form
    // shows its results.  Ctrl+R offers every answer of the last run,
    // selected: Enter keeps it, typing replaces it.  The results are those
    // the batch tool computes from the job with the one answer changed.
    void runAgainAfterARestartOffersEveryAnswer() {
        const std::vector<std::string> job = JobAnswers(QStringLiteral("known-d.txt"));
        {
            MainWindow before;
            before.keepLastRunIn(korvanet::LastRunJobPath());
            before.openJob(Reference(QStringLiteral("known-d.txt")));
        }
        QCOMPARE(Bytes(korvanet::LastRunJobPath()), Bytes(Reference(QStringLiteral("known-d.txt"))));

        std::vector<std::string> changed = job;
        changed.at(17) = "340.445";  // side 1
        MainWindow window;
        window.keepLastRunIn(korvanet::LastRunJobPath());
        CheckBoxesOfJob(window, job);
        QVERIFY(window.findChild<QAction*>(QStringLiteral("qualityAction"))->isEnabled());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        DialogAnswerer answerer([&](const QString&, const QString& message) {
            if (IsConfirmation(message)) return Reply{QString(), Finish::Enter};
            if (message == QStringLiteral("按示意图依次输入第 1 条边长观测值 :"))
                return Reply{QStringLiteral("340.445"), Finish::Enter};
            return Reply{QString(), Finish::Enter};
        });
        QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);

        QVERIFY(answerer.messageBoxes().empty());
        std::size_t value = 0;
        for (const auto& seen : answerer.seen()) {
            if (IsConfirmation(seen.message)) {
                QCOMPARE(seen.initialText, QString());
            } else {
                QCOMPARE(seen.initialText, QString::fromStdString(job.at(value++)));
            }
        }
        QCOMPARE(value, job.size());
        QCOMPARE(window.jobInHand(), changed);

        CheckBoxesOfJob(window, changed);
        QCOMPARE(Box(window, Name(boxes::ObservedSide(1)))->text(), QStringLiteral(" 340.445"));
        // What the next start offers is this run's job.
        QCOMPARE(korvanet::ReadJobFile(korvanet::LastRunJobPath().toStdString()).answers, changed);

        // Stopped part-way, Run again keeps the answers it had not reached yet.
        DialogAnswerer stopper([](const QString&, const QString& message) {
            if (message == QStringLiteral("输入 A 点的点名 :") && korvanet::testing::PressStop()) {
                return korvanet::testing::StoppedReply();
            }
            return Reply{QString(), Finish::Enter};
        });
        QAction* runAgain = nullptr;
        for (QAction* action : window.findChildren<QAction*>()) {
            if (action->text() == QStringLiteral("重新计算(&R)")) runAgain = action;
        }
        QVERIFY(runAgain);
        runAgain->trigger();
        QVERIFY(!stopper.seen().empty());
        QCOMPARE(stopper.seen().back().message, QStringLiteral("输入 A 点的点名 :"));
        QCOMPARE(window.jobInHand(), changed);
    }

    // 导出报告… writes the report of the run the window shows, in the format
    // the file's type names; a place that cannot be written is told and the
    // dialog stays with what was typed; a design's report says 精度估算.
    void exportedReportsFollowTheRunAndTheFileType() {
        MainWindow window;
        window.show();
        DialogAnswerer answerer([](const QString&, const QString&) { return Reply{}; });
        QAction* exportAction = window.findChild<QAction*>(QStringLiteral("exportReportAction"));
        QVERIFY(exportAction);
        exportAction->trigger();  // no run yet: refused with a message, no dialog
        QCOMPARE(answerer.messageBoxes().size(), std::size_t(1));
        QVERIFY(!window.findChild<korvanet::ReportExportDialog*>());

        window.openJob(Reference(QStringLiteral("known-d.txt")));
        const QTemporaryDir out;
        auto exportTo = [&](QWidget& owner, const QString& path, bool steps) {
            korvanet::ReportExportDialog* dialog = owner.findChild<korvanet::ReportExportDialog*>();
            if (!dialog) return static_cast<korvanet::ReportExportDialog*>(nullptr);
            dialog->pathField()->setText(path);
            if (dialog->stepsBox()->isVisibleTo(dialog)) dialog->stepsBox()->setChecked(steps);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            return dialog;
        };
        exportAction->trigger();
        const QString html = out.filePath(QStringLiteral("平差报告.html"));
        QVERIFY(exportTo(window, html, true));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QString text = QString::fromUtf8(Bytes(html));
        QVERIFY(text.startsWith(QStringLiteral("<!DOCTYPE html>")));
        QVERIFY(text.contains(QStringLiteral("<h2>计算过程</h2>")));
        // The final coordinates of the table to copy are those the form shows.
        const QString xOfB = Box(window, Name(boxes::kPointTable[1].x))->text().trimmed();
        QVERIFY2(text.contains(QStringLiteral(">%1<").arg(xOfB)), qPrintable(xOfB));
        QVERIFY(window.statusBar()->currentMessage().startsWith(QStringLiteral("报告已导出到")));

        // The choice of the steps is remembered; the CSV is for a spreadsheet.
        exportAction->trigger();
        korvanet::ReportExportDialog* again = window.findChild<korvanet::ReportExportDialog*>();
        QVERIFY(again && again->stepsBox()->isChecked());
        QVERIFY(again->pathField()->text().startsWith(out.path()));
        const QString csv = out.filePath(QStringLiteral("tables.csv"));
        exportTo(window, csv, false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(Bytes(csv).startsWith("\xEF\xBB\xBF\xE8\xA1\xA8,"));  // the mark, then 表
        QVERIFY(!Bytes(csv).contains("法方程"));

        // Nowhere to write, or no format: told, nothing written, the dialog keeps the path.
        for (const QString& bad :
             {out.filePath(QStringLiteral("no-such-folder/r.html")), out.filePath(QStringLiteral("r.txt"))}) {
            exportAction->trigger();
            const std::size_t told = answerer.messageBoxes().size();
            korvanet::ReportExportDialog* dialog = exportTo(window, bad, false);
            QVERIFY(dialog && dialog->isVisible());
            QCOMPARE(dialog->pathField()->text(), bad);
            QCOMPARE(answerer.messageBoxes().size(), told + 1);
            QVERIFY(answerer.messageBoxes().back().message.startsWith(QStringLiteral("无法导出报告")));
            QVERIFY(!QFile::exists(bad));
            dialog->reject();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }

        korvanet::DesignWindow design(korvanet::ExampleDesign());
        design.findChild<QPushButton*>(QStringLiteral("exportDesignReport"))->click();
        const QString designHtml = out.filePath(QStringLiteral("design.html"));
        korvanet::ReportExportDialog* offered = design.findChild<korvanet::ReportExportDialog*>();
        QVERIFY(offered && !offered->stepsBox()->isVisibleTo(offered));
        QVERIFY(exportTo(design, designHtml, true));
        const QString designText = QString::fromUtf8(Bytes(designHtml));
        QVERIFY(designText.contains(QStringLiteral("<title>精度估算报告</title>")));
        QVERIFY(!designText.contains(QStringLiteral("计算过程")));
    }

private:
    QTemporaryDir home_;
};

QTEST_MAIN(WindowWorkflowTest)
#include "window_workflow_test.moc"
