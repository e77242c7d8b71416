// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report: the PDF through the printing back end, read back with
// pdftotext -layout, file errors, and the window's Print command, through
// its real dialogs answered as a person would and through a scripted printer
// and user.
#include "app/print_command.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "compute/file_writer.h"
#include "core/korvanet_error.h"
#include "print/report_printer.h"
#include "report/report_layout.h"
#include "testing/dialog_answerer.h"
#include "testing/reference_runs.h"

using namespace korvanet;
using korvanet::testing::DialogAnswerer;
using korvanet::testing::Finish;
using korvanet::testing::Reply;

namespace {

// Runs pdftotext -layout on a PDF and returns its text (UTF-8).  No time
// limit: a stuck tool is for CTest's timeout to report, never a busy machine.
QString PdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(-1) || process.exitCode() != 0) return QStringLiteral("(pdftotext failed)");
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    process.waitForFinished(-1);
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The column (0-based) at which `needle` starts on the first line holding it, -1 when none does.
int ColumnOf(const QString& text, const QString& needle) {
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const int at = line.indexOf(needle);
        if (at >= 0) return at;
    }
    return -1;
}

// The printer and the user of a Print command, scripted: a printer that is
// there or not (and may fail), a path given or a cancel, and every message kept.
class ScriptedDesk : public PrintDesk {
public:
    bool hasPrinter = false;
    QString printerFault;  // thrown by the printer when set
    QString answer;        // the path the user gives; empty: cancels

    int printed = 0;
    QStringList suggested;  // one entry per time the path was asked
    QStringList messages;   // "warning: text" or "information: text"

    bool PrintOnDefaultPrinter(const ReportDocument&) override {
        if (!hasPrinter) return false;
        if (!printerFault.isEmpty()) throw KorvanetError(printerFault.toStdString());
        ++printed;
        return true;
    }
    QString AskPdfPath(const QString& offered) override {
        suggested << offered;
        return answer;
    }
    void Inform(const QString& message) override { messages << QStringLiteral("information: ") + message; }
    void Warn(const QString& message) override { messages << QStringLiteral("warning: ") + message; }
};

// The window's real dialogs on a machine without a printer, whatever printer
// the machine running the test has.
class RealDialogsWithoutPrinter : public QtPrintDesk {
public:
    RealDialogsWithoutPrinter() : QtPrintDesk(nullptr) {}
    bool PrintOnDefaultPrinter(const ReportDocument&) override { return false; }
};

}  // namespace

class ReportPrintingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
                 "pdftotext (poppler-utils) is needed to read the PDFs back");
        // The file dialog keeps its history and last folder in the user's
        // settings: this test neither reads nor writes them, and its home
        // folder, where the dialog starts, is a fresh one of its own.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(dir_.isValid());
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("home")));
        home_ = QDir(dir_.filePath(QStringLiteral("home")));
        qputenv("HOME", QFile::encodeName(home_.path()));
        QCOMPARE(QDir::home(), home_);
        // Qt's own file dialog, the one the answerer types into, on every platform.
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    }

    void substitutesASongFaceWithHalfWidthLatin() {
        const QFont font = ReportFont(10);
        QCOMPARE(font.family(), QStringLiteral("宋体"));
        QCOMPARE(QFontInfo(font).family(), QStringLiteral("AR PL UMing CN"));
        // Latin and digits half as wide as Chinese: the text columns hold on paper.
        const QFontMetricsF metrics(font);
        const double chinese = metrics.horizontalAdvance(QStringLiteral("观测"));
        const double digits = metrics.horizontalAdvance(QStringLiteral("1234"));
        QVERIFY2(qAbs(chinese - digits) < 0.05 * chinese,
                 qPrintable(QStringLiteral("%1 vs %2").arg(chinese).arg(digits)));
        QVERIFY(qAbs(metrics.averageCharWidth() - digits / 4) < 0.05 * digits / 4);
    }

    void pdfHoldsTheReportInItsColumns() {
        const QString pdf = dir_.filePath(QStringLiteral("known-d.pdf"));
        WriteFileWhole(pdf.toStdString(), ReportPdf(BuildReport(testing::ReferenceRun("known-d"))));
        const QString text = PdfText(pdf);

        for (const char* expected : {"--- Korvanet ---",
                                     "起始点座标 :",
                                     "观测角 (度,分,秒) :",
                                     "平差角 (度,分,秒) :",
                                     "观测边(米) :",
                                     "平差边(米) :",
                                     "图形条件闭合差 :",
                                     "边角条件闭合差 :",
                                     "法方程式 K 系数 :",
                                     "平差结果 :",
                                     "精度评定 :",
                                     "待定点( 北山 ):",
                                     "待定点( C9 ):",
                                     "白塔: 4324901.631 469649.741",
                                     "DZ1: 4324968.233",
                                     "b( 1 )= 39.07391",
                                     "B( 1 )= 39.07362",
                                     "B( 8 )= 44.25453",
                                     "s( 1 )= 340.441 s( 1 )= 340.439",
                                     "w(1)= 4.40 秒",
                                     "w( 11 )= -4.47 毫米",
                                     "k( 4 )= -2173.92786052",
                                     "1/px(b)= 1.00658 1/py(b)= 1.25018",
                                     "1/px(c)= 0.83",
                                     "1/py(c)= 1.81",
                                     "md(c)= 3.85 毫米"}) {
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        }

        // Items of one tab stop line up down the page; later tab stops stand further right.
        const int left = ColumnOf(text, QStringLiteral("b( 1 )="));
        QVERIFY(left > 0);
        for (const char* sameColumn : {"b( 8 )=", "s( 6 )=", "w(1)=", "w( 11 )=", "k( 9 )=", "1/px(b)="}) {
            QCOMPARE(ColumnOf(text, QString::fromUtf8(sameColumn)), left);
        }
        const int right = ColumnOf(text, QStringLiteral("B( 1 )="));
        QVERIFY(right > left + 10);
        QCOMPARE(ColumnOf(text, QStringLiteral("B( 8 )=")), right);
        QVERIFY(ColumnOf(text, QStringLiteral("--- Korvanet ---")) > left);
        QVERIFY(ColumnOf(text, QStringLiteral("起始点座标 :")) < left);
        // A long report flows onto a second page, no further.
        QCOMPARE(PdfPages(pdf), 2);
    }

    void printingTwiceGivesTheSameReportAndLeavesTheRecord() {
        const SurveyState original = testing::ReferenceRun("free-d");
        const SurveyState state = original;
        const QString first = dir_.filePath(QStringLiteral("first.pdf"));
        const QString second = dir_.filePath(QStringLiteral("second.pdf"));
        WriteFileWhole(first.toStdString(), ReportPdf(BuildReport(state)));
        WriteFileWhole(second.toStdString(), ReportPdf(BuildReport(state)));
        const QString text = PdfText(first);
        QVERIFY(text.contains(QStringLiteral("T0= 277.51568")));
        QCOMPARE(PdfText(second), text);
        QVERIFY(state.Angle == original.Angle);
        QVERIFY(state.X == original.X);
        QVERIFY(state.k == original.k);
    }

    // Refused in the window's own message boxes, before any printer or file is touched.
    void printCommandRefusesWithoutACompletedRun() {
        DialogAnswerer answerer([](const QString&, const QString&) { return Reply{}; });
        RunPrintCommand(SurveyState{}, nullptr);
        SurveyState failed = testing::ReferenceRun("known-d");
        failed.RunCompleted = false;
        RunPrintCommand(failed, nullptr);
        QCOMPARE(answerer.fileDialogs().size(), std::size_t(0));
        const auto boxes = answerer.messageBoxes();
        QCOMPARE(boxes.size(), std::size_t(2));
        QCOMPARE(boxes[0].message, QStringLiteral("还没有进行过计算，没有可以打印的结果。请先“进行计算”。"));
        QCOMPARE(boxes[1].message,
                 QStringLiteral("上一次计算没有完成，没有可以打印的结果。请重新“进行计算”。"));
        for (const auto& box : boxes) {
            QCOMPARE(box.title, QStringLiteral("Korvanet"));
            QVERIFY(box.isWarning);
            QVERIFY(box.modal);
        }
    }

    // With a printer the report goes to it and nothing is asked; a printer
    // that fails says so instead of passing for printed.
    void printCommandUsesThePrinterWhenThereIsOne() {
        ScriptedDesk desk;
        desk.hasPrinter = true;
        RunPrintCommand(testing::ReferenceRun("known-d"), desk);
        QCOMPARE(desk.printed, 1);
        QVERIFY(desk.suggested.isEmpty());
        QVERIFY(desk.messages.isEmpty());

        desk.printerFault = QStringLiteral("打印机没有响应");
        RunPrintCommand(testing::ReferenceRun("known-d"), desk);
        QCOMPARE(desk.printed, 1);
        QVERIFY(desk.suggested.isEmpty());
        QCOMPARE(desk.messages, QStringList({QStringLiteral("warning: 打印机没有响应")}));
    }

    // Through the real file dialog: it offers the report in the home folder;
    // the surveyor types a name over it without an ending and presses Enter;
    // the PDF is written there as .pdf and the message box says where.
    void printCommandWithoutPrinterSavesAPdfWhereTheUserSays() {
        QVERIFY(!QFile::exists(home_.filePath(QStringLiteral("Korvanet-报告.pdf"))));
        DialogAnswerer answerer([](const QString&, const QString&) {
            return Reply{QStringLiteral("报告 1"), Finish::Enter};
        });
        RealDialogsWithoutPrinter desk;
        RunPrintCommand(testing::ReferenceRun("free-d-q1-zero"), desk);

        const auto files = answerer.fileDialogs();
        QCOMPARE(files.size(), std::size_t(1));
        QCOMPARE(files[0].title, QStringLiteral("没有打印机：将报告保存为 PDF"));
        QCOMPARE(files[0].message, home_.filePath(QStringLiteral("Korvanet-报告.pdf")));
        QCOMPARE(files[0].initialText, QStringLiteral("Korvanet-报告.pdf"));
        QVERIFY(files[0].modal);

        const QString pdf = home_.filePath(QStringLiteral("报告 1.pdf"));
        const auto boxes = answerer.messageBoxes();
        QCOMPARE(boxes.size(), std::size_t(1));
        QCOMPARE(boxes[0].title, QStringLiteral("Korvanet"));
        QVERIFY(!boxes[0].isWarning);
        QCOMPARE(boxes[0].message, QStringLiteral("系统中没有打印机，报告已保存为 PDF 文件：\n") + pdf);
        QVERIFY(PdfText(pdf).contains(QStringLiteral("待定点( 西湖 ):")));
        QVERIFY(!QFile::exists(home_.filePath(QStringLiteral("报告 1"))));
        QVERIFY(!QFile::exists(home_.filePath(QStringLiteral("Korvanet-报告.pdf"))));
    }

    // Escape in the real file dialog writes nothing and says nothing.
    void printCommandCancelledSaysNothing() {
        DialogAnswerer answerer([](const QString&, const QString&) { return Reply{{}, Finish::Escape}; });
        RealDialogsWithoutPrinter desk;
        const QStringList before = home_.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        RunPrintCommand(testing::ReferenceRun("known-d"), desk);
        QCOMPARE(answerer.fileDialogs().size(), std::size_t(1));
        QVERIFY(answerer.messageBoxes().empty());
        QCOMPARE(home_.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    }

    // A path where nothing can be written: the warning names it, and the
    // name the user gave keeps the ending they typed.
    void printCommandFailingToWriteSaysSo() {
        // A file where a folder should be: nothing can be written below it,
        // whatever the rights of the user running the test.
        const QString blocker = dir_.filePath(QStringLiteral("blocker"));
        {
            QFile file(blocker);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        ScriptedDesk desk;
        desk.answer = blocker + QStringLiteral("/report.pdf");
        RunPrintCommand(testing::ReferenceRun("known-d"), desk);
        QCOMPARE(desk.suggested, QStringList({home_.filePath(QStringLiteral("Korvanet-报告.pdf"))}));
        QCOMPARE(desk.messages.size(), qsizetype(1));
        QVERIFY2(desk.messages[0].startsWith(QStringLiteral("warning: 无法写入文件“") + desk.answer +
                                             QStringLiteral("”")),
                 qPrintable(desk.messages[0]));
    }

private:
    QTemporaryDir dir_;
    QDir home_;  // the home folder of the test, inside dir_
};

QTEST_MAIN(ReportPrintingTest)
#include "print_command_test.moc"
