// SPDX-License-Identifier: GPL-3.0-or-later
// After a completed run through the real window, 结果 → 质量检查… opens the
// quality window, which names the angle typed 60" wrong; the form shows the
// failed global test and the broken triangle closure in red.

#include "app/quality_window.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "compute/job_file_reader.h"
#include "core/form_boxes.h"
#include "testing/dialog_answerer.h"
#include "testing/stop_button.h"

using korvanet::MainWindow;
using korvanet::QualityWindow;
namespace boxes = korvanet::boxes;
using korvanet::testing::DialogAnswerer;
using korvanet::testing::Finish;
using korvanet::testing::Reply;

namespace {

// The answers of an example job, read as the window reads job files.
QStringList ExampleJob(const QString& name) {
    const korvanet::JobFile job =
        korvanet::ReadJobFile(std::string(KORVANET_EXAMPLES_DIR) + '/' + name.toStdString());
    QStringList lines;
    for (const std::string& answer : job.answers) lines.push_back(QString::fromStdString(answer));
    return lines;
}

// The text layer of a PDF as pdftotext reads it, line by line.  No time
// limit: a stuck tool is for CTest's timeout to report.
QStringList PdfLines(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return {QStringLiteral("(pdftotext failed)")};
    QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (QString& line : lines) line = line.trimmed();
    return lines;
}

QColor TextColour(const MainWindow& window, const char* box) {
    auto* edit = window.findChild<QLineEdit*>(QString::fromUtf8(box));
    return edit ? edit->palette().color(QPalette::Text) : QColor();
}

}  // namespace

class QualityWindowTest : public QObject {
    Q_OBJECT
private slots:
    void suspectAngleAfterACompletedRun() {
        QStringList job = ExampleJob(QStringLiteral("known-d.txt"));
        QCOMPARE(job.value(13), QStringLiteral("51.46468"));  // angle 5
        job[13] = QStringLiteral("51.47468");                 // typed one minute wrong
        qsizetype next = 0;
        DialogAnswerer answerer(
            [&](const QString&, const QString& message) {
                if (message.startsWith(QStringLiteral("确认"))) return Reply{QString(), Finish::Enter};
                if (next < job.size()) return Reply{job[next++], Finish::Enter};
                korvanet::testing::PressStop();
                return korvanet::testing::StoppedReply();
            },
            [](const QString& title, const QString&) {
                // The typed job was never saved: the next 进行计算 asks first.
                return title == QStringLiteral("观测数据已修改") ? QStringLiteral("不保存") : QString();
            });

        MainWindow window;
        window.show();
        auto* action = window.findChild<QAction*>(QStringLiteral("qualityAction"));
        QVERIFY(action);
        QVERIFY2(!action->isEnabled(), "no quality check before a run");

        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        QCOMPARE(next, job.size());
        QVERIFY(action->isEnabled());
        QCOMPARE(action->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));

        // m0 is red (the global test fails), so is the closure of triangle 2
        // (angles 5..8); triangle 1 closes within its limit.
        const QColor red(Qt::red);
        QCOMPARE(TextColour(window, boxes::kUnitWeightError), red);
        QCOMPARE(TextColour(window, boxes::kTriangleMisclosure2), red);
        QVERIFY(TextColour(window, boxes::kTriangleMisclosure1) != red);

        action->trigger();
        auto* quality = window.findChild<QualityWindow*>();
        QVERIFY(quality);
        QVERIFY(quality->isVisible());
        QVERIFY(quality->globalTestLine()->text().contains(QStringLiteral("未通过")));
        QVERIFY2(quality->suspectLine()->text().contains(QStringLiteral("观测角 B(5)")),
                 qPrintable(quality->suspectLine()->text()));
        // Eight angles and five sides; only the row of angle 5 is marked.
        QTableWidget* table = quality->observationsTable();
        QCOMPARE(table->rowCount(), 13);
        for (int row = 0; row < table->rowCount(); ++row) {
            const bool marked = !table->item(row, table->columnCount() - 1)->text().isEmpty();
            QCOMPARE(marked, table->item(row, 0)->text() == QStringLiteral("观测角 B(5)"));
        }
        // Beside w, m0 without each observation: lowest without angle 5, which
        // the data snooping takes out first; the sides' weights are weighed.
        const int m0Column = 6;
        QCOMPARE(table->horizontalHeaderItem(m0Column)->text(), QStringLiteral("去掉后 m0 (秒)"));
        int lowest = 0;
        for (int row = 1; row < table->rowCount(); ++row)
            if (table->item(row, m0Column)->text().toDouble() <
                table->item(lowest, m0Column)->text().toDouble())
                lowest = row;
        QCOMPARE(table->item(lowest, 0)->text(), QStringLiteral("观测角 B(5)"));
        const QStringList snooping = quality->snoopingLines()->text().split(QLatin1Char('\n'));
        QVERIFY2(snooping.value(1).startsWith(QStringLiteral("1. 去掉 B(5): 去掉时 w = ")),
                 qPrintable(snooping.join('|')));
        QVERIFY(snooping.value(0).contains(QStringLiteral("成果仍为全部观测的平差结果")));
        QVERIFY2(quality->varianceLines()->text().contains(QStringLiteral("测边: 方差因子")),
                 qPrintable(quality->varianceLines()->text()));
        QCOMPARE(quality->pointsTable()->rowCount(), 4);
        QVERIFY(quality->drawing()->renderer()->isValid());

        // The drawing saved as SVG reads back as the same valid drawing.
        QTemporaryDir dir;
        const QString svg = dir.filePath(QStringLiteral("figure.svg"));
        QVERIFY(quality->saveDrawing(svg));
        QVERIFY(QSvgRenderer(svg).isValid());

        // 存为 PDF puts the adjustment report on paper, as text a reader can
        // search: every section heading on its own line, each Chinese
        // character as itself (no look-alike radical: 角 not ⻆, 长 not ⻓),
        // the suspect angle marked.
        const QString pdf = dir.filePath(QStringLiteral("quality.pdf"));
        QString error;
        QVERIFY2(quality->savePdf(pdf, &error), qPrintable(error));
        const QStringList lines = PdfLines(pdf);
        for (const char* heading : {"平差报告", "概况", "闭合差", "观测值", "粗差探测与方差分量", "点位精度",
                                    "边长与方位", "点间精度", "图", "成果表"})
            QVERIFY2(lines.contains(QString::fromUtf8(heading)), heading);
        const QString text = lines.join(QLatin1Char('\n'));
        for (const char* words : {"三角形闭合差", "长半轴 a (mm)", "长轴方位", "未保存的作业", "可疑"})
            QVERIFY2(text.contains(QString::fromUtf8(words)), words);
        for (const QChar c : text)
            QVERIFY2(c.unicode() < 0x2e80 || c.unicode() > 0x2fdf,
                     qPrintable(QStringLiteral("radical %1").arg(c)));

        // A new run takes the red away until its own check is known.
        next = job.size();  // the next run is stopped at its first prompt
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        QVERIFY(!action->isEnabled());
        QVERIFY(TextColour(window, boxes::kUnitWeightError) != red);
    }
};

QTEST_MAIN(QualityWindowTest)
#include "quality_window_test.moc"
