// SPDX-License-Identifier: GPL-3.0-or-later
// Nothing confirmed is lost when the program is killed mid-run.  The real
// window runs in a child process (this program, started with --child),
// typed into as a person would, with one value declared wrong and one
// refused and corrected; at the fifteenth value the child says where it is
// and waits, and is killed with SIGKILL.  A new window on the same data
// folder must then offer, through Run again, every answer confirmed before
// the kill.  进行计算 over that unsaved sheet asks first; a run stopped before
// its first confirmed answer, an empty job file and a remembered file that
// cannot be read must leave the job in hand alone.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstring>

#include "app/main_window.h"
#include "app/observation_sheet.h"
#include "app/observation_sheet_model.h"
#include "compute/job_file_reader.h"
#include "testing/dialog_answerer.h"
#include "testing/stop_button.h"
#include "testing/window_test_files.h"

using korvanet::MainWindow;
using korvanet::testing::DialogAnswerer;
using korvanet::testing::Finish;
using korvanet::testing::Reply;

using korvanet::testing::Bytes;

namespace {

const char* const kChildFlag = "--child";
// The value the child is killed at: the fourth angle of a free-D job.
constexpr std::size_t kKilledAtValue = 14;

std::vector<std::string> FreeDJob() {
    return korvanet::ReadJobFile(std::string(KORVANET_REFERENCE_DIR) + "/free-d.txt").answers;
}

bool IsConfirmation(const QString& message) { return message.startsWith(QStringLiteral("确认")); }
bool IsCorrection(const QString& message) { return message.contains(QStringLiteral("正确")); }

QAction* Action(const MainWindow& window, const QString& text) {
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

// The child: a window keeping its job in `remembered`, the 进行计算 button
// pressed and the free-D job typed.  Angle 2 is first typed wrong and
// declared wrong ("0"), angle 3 is typed with 77 seconds and refused; both
// are corrected.  At value kKilledAtValue it tells the parent and waits.
int RunChild(int argc, char** argv) {
    QApplication app(argc, argv);
    MainWindow window;
    window.keepLastRunIn(QString::fromLocal8Bit(argv[2]));
    window.show();
    const std::vector<std::string> job = FreeDJob();
    std::size_t value = 0;
    bool declaredWrong = false;
    DialogAnswerer answerer(
        [&](const QString&, const QString& message) {
            if (IsConfirmation(message)) {
                if (value == 13 && !declaredWrong) {  // the confirmation of angle 2's first answer
                    declaredWrong = true;
                    return Reply{QStringLiteral("0"), Finish::Enter};
                }
                return Reply{QString(), Finish::Enter};
            }
            if (IsCorrection(message)) return Reply{QString::fromStdString(job.at(value - 1)), Finish::Enter};
            if (value == kKilledAtValue) {
                std::printf("asked: %s\n", message.toUtf8().constData());
                std::fflush(stdout);
                char never = 0;
                while (::read(STDIN_FILENO, &never, 1) != 0) {
                }  // the parent never writes: this waits for the kill
            }
            const std::size_t index = value++;
            if (index == 12) return Reply{QStringLiteral("99.5959"), Finish::Enter};
            if (index == 13) return Reply{QStringLiteral("51.14779"), Finish::Enter};
            return Reply{QString::fromStdString(job.at(index)), Finish::Enter};
        },
        [](const QString& title, const QString&) {
            // The remembered job belongs to no saved file: 进行计算 asks first.
            return title == QStringLiteral("观测数据已修改") ? QStringLiteral("不保存") : QString();
        });
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
    return 3;  // never reached: the run cannot end without the fifteenth value
}

}  // namespace

class WindowKillTest : public QObject {
    Q_OBJECT
private slots:
    void killedRunComesBackWithEveryConfirmedAnswer() {
        QTemporaryDir data;
        QVERIFY(data.isValid());
        const QString remembered = data.filePath(QStringLiteral("last-run.txt"));
        // The run before: a whole known-D job.
        QVERIFY(QFile::copy(QString::fromUtf8(KORVANET_REFERENCE_DIR) + QStringLiteral("/known-d.txt"),
                            remembered));

        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildFlag), remembered});
        QVERIFY(child.waitForStarted(-1));
        while (!child.canReadLine()) QVERIFY2(child.waitForReadyRead(-1), "the child ended before the kill");
        QCOMPARE(QString::fromUtf8(child.readLine()).trimmed(),
                 QStringLiteral("asked: 按示意图依次输入第 4 个观测角值 :"));
        child.kill();
        QVERIFY(child.waitForFinished(-1));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        // On disk: exactly the fourteen confirmed answers, corrections applied.
        const std::vector<std::string> job = FreeDJob();
        const std::vector<std::string> confirmed(job.begin(), job.begin() + kKilledAtValue);
        QByteArray expected;
        for (const std::string& answer : confirmed) expected += QByteArray::fromStdString(answer) + '\n';
        QCOMPARE(Bytes(remembered), expected);

        MainWindow window;
        QCOMPARE(window.keepLastRunIn(remembered), QString());
        QCOMPARE(window.jobInHand(), confirmed);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        std::vector<QString> offered;
        {
            std::size_t values = 0;
            DialogAnswerer answerer([&](const QString&, const QString& message) {
                if (IsConfirmation(message)) return Reply{QString(), Finish::Enter};
                // Enter keeps what is offered; where nothing is, the run is stopped.
                if (values++ == kKilledAtValue && korvanet::testing::PressStop()) {
                    return korvanet::testing::StoppedReply();
                }
                return Reply{QString(), Finish::Enter};
            });
            QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);
            for (const auto& seen : answerer.seen()) {
                if (seen.isInput && !IsConfirmation(seen.message)) offered.push_back(seen.initialText);
            }
            QVERIFY(answerer.messageBoxes().empty());
        }
        QCOMPARE(offered.size(), kKilledAtValue + 1);
        for (std::size_t i = 0; i < kKilledAtValue; ++i) {
            QCOMPARE(offered[i], QString::fromStdString(confirmed[i]));
        }
        QCOMPARE(offered.back(), QString());  // nothing was confirmed there
        QCOMPARE(Bytes(remembered), expected);

        // The sheet came back from the kill and belongs to no saved file:
        // 进行计算, which starts from empty fields, asks first, and 取消
        // starts nothing.
        const QString modified = QStringLiteral("观测数据已修改");
        {
            DialogAnswerer answerer(
                [](const QString&, const QString&) {
                    return korvanet::testing::PressStop() ? korvanet::testing::StoppedReply() : Reply{};
                },
                [](const QString&, const QString&) { return QStringLiteral("取消"); });
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
            QCOMPARE(answerer.seen().size(), std::size_t(1));
            QCOMPARE(answerer.seen()[0].title, modified);
            QStringList buttons = answerer.seen()[0].buttons;
            buttons.sort();
            QStringList wanted({QStringLiteral("保存"), QStringLiteral("不保存"), QStringLiteral("取消")});
            wanted.sort();
            QCOMPARE(buttons, wanted);
        }
        // 不保存, then Escape on the first prompt (the empty tolerance is
        // refused) and 中止计算 on its correction: nothing was confirmed, and
        // the sheet, the job in hand and its file stay as they were.  So does
        // an empty job file opened.
        {
            std::size_t prompts = 0;
            DialogAnswerer stopper(
                [&](const QString&, const QString&) {
                    if (prompts++ == 0) return Reply{QString(), Finish::Escape};
                    return korvanet::testing::PressStop() ? korvanet::testing::StoppedReply() : Reply{};
                },
                [&](const QString& title, const QString&) {
                    return title == modified ? QStringLiteral("不保存") : QString();
                });
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
            QCOMPARE(prompts, std::size_t(2));
            QCOMPARE(stopper.messageBoxes().size(), std::size_t(2));  // the question, the refusal
        }
        QCOMPARE(window.jobInHand(), confirmed);
        QCOMPARE(window.sheet()->model()->job(), confirmed);
        QCOMPARE(Bytes(remembered), expected);
        const QString empty = data.filePath(QStringLiteral("empty.txt"));
        QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
        {
            DialogAnswerer answerer([](const QString&, const QString&) { return Reply{}; });
            window.openJob(empty);
            QCOMPARE(answerer.messageBoxes().size(), std::size_t(1));
            QVERIFY2(answerer.messageBoxes()[0].message.contains(QStringLiteral("作业文件是空的")),
                     qPrintable(answerer.messageBoxes()[0].message));
        }
        QCOMPARE(window.jobInHand(), confirmed);
        QCOMPARE(Bytes(remembered), expected);
        QVERIFY(Action(window, QStringLiteral("保存作业(&S)…"))->isEnabled());
        QVERIFY(Action(window, QStringLiteral("重新计算(&R)"))->isEnabled());
    }

    // A remembered file that is no job (here a FIFO nobody writes to, which
    // would block a plain read) is set aside with a note; the window starts.
    void unreadableRememberedFileIsSetAside() {
        QTemporaryDir data;
        const QString remembered = data.filePath(QStringLiteral("last-run.txt"));
        QCOMPARE(::mkfifo(QFile::encodeName(remembered).constData(), 0600), 0);
        MainWindow window;
        const QString note = window.keepLastRunIn(remembered);
        QVERIFY2(note.contains(QStringLiteral("命名管道")) && note.contains(QStringLiteral(".damaged")),
                 qPrintable(note));
        QVERIFY(window.jobInHand().empty());
        QVERIFY(!QFileInfo::exists(remembered));
        QVERIFY(QFileInfo::exists(remembered + QStringLiteral(".damaged")));
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], kChildFlag) == 0) return RunChild(argc, argv);
    QApplication app(argc, argv);
    WindowKillTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_kill_test.moc"
