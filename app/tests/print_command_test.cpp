// The printed report: the PDF through the printing back end, read back with
// pdftotext -layout, file errors, and the window's Print command with its
// dialogs answered from a timer.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "korvanet_error.h"
#include "print_command.h"
#include "reference_states.h"
#include "report_layout.h"
#include "report_printer.h"

using namespace korvanet;

namespace {

// Runs pdftotext -layout on a PDF and returns its text (UTF-8).
QString PdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("(pdftotext failed)");
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {pdf});
    process.waitForFinished(30000);
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

// Answers the modal dialogs that the Print command opens: a file dialog gets
// `saveAs` (or is cancelled when it is empty), a message box is read and closed.
class DialogAnswerer : public QObject {
public:
    explicit DialogAnswerer(QString saveAs) : saveAs_(std::move(saveAs)) {
        connect(&timer_, &QTimer::timeout, this, &DialogAnswerer::Answer);
        timer_.start(20);
    }

    QStringList messages;   // "warning: text" or "information: text"
    QString suggestedFile;  // what the file dialog offered
    int fileDialogs = 0;

private:
    void Answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const QString kind = box->icon() == QMessageBox::Warning ? QStringLiteral("warning")
                                                                     : QStringLiteral("information");
            messages << kind + QStringLiteral(": ") + box->text();
            // The file dialog's "replace it?" question is answered yes.
            QAbstractButton* button = box->button(QMessageBox::Yes);
            if (button == nullptr) button = box->button(QMessageBox::Ok);
            if (button != nullptr) {
                button->click();
            } else {
                box->accept();
            }
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            ++fileDialogs;
            suggestedFile = dialog->selectedFiles().value(0);
            if (saveAs_.isEmpty()) {
                dialog->reject();
            } else {
                dialog->selectFile(saveAs_);
                static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, as the Save button
            }
        }
    }

    QString saveAs_;
    QTimer timer_;
};

}  // namespace

class ReportPrintingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
                 "pdftotext (poppler-utils) is needed to read the PDFs back");
        QVERIFY(dir_.isValid());
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
        WriteReportPdf(BuildReport(testing::KnownDState()), pdf.toStdString());
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
        const SurveyState original = testing::FreeDState();
        const SurveyState state = original;
        const QString first = dir_.filePath(QStringLiteral("first.pdf"));
        const QString second = dir_.filePath(QStringLiteral("second.pdf"));
        WriteReportPdf(BuildReport(state), first.toStdString());
        WriteReportPdf(BuildReport(state), second.toStdString());
        const QString text = PdfText(first);
        QVERIFY(text.contains(QStringLiteral("T0= 277.51568")));
        QCOMPARE(PdfText(second), text);
        QVERIFY(state.Angle == original.Angle);
        QVERIFY(state.X == original.X);
        QVERIFY(state.k == original.k);
    }

    void fileErrorsComeBackAsMessages() {
        const ReportDocument report = BuildReport(testing::KnownDState());
        const QString missingFolder = dir_.filePath(QStringLiteral("no-such-folder/report.pdf"));
        try {
            WriteReportPdf(report, missingFolder.toStdString());
            QFAIL("a PDF in a missing folder was reported as written");
        } catch (const KorvanetError& error) {
            QVERIFY(QString::fromUtf8(error.what()).startsWith(QStringLiteral("无法写入文件“")));
        }
        QVERIFY(!QFile::exists(missingFolder));
        QVERIFY_THROWS_EXCEPTION(KorvanetError, WriteReportPdf(report, dir_.path().toStdString()));
        QVERIFY_THROWS_EXCEPTION(KorvanetError, WriteReportPdf(report, ""));
    }

    void printCommandRefusesWithoutACompletedRun() {
        DialogAnswerer answerer{QString()};
        RunPrintCommand(SurveyState{}, nullptr);
        SurveyState failed = testing::KnownDState();
        failed.RunCompleted = false;
        RunPrintCommand(failed, nullptr);
        QCOMPARE(answerer.fileDialogs, 0);
        QCOMPARE(
            answerer.messages,
            QStringList(
                {QStringLiteral("warning: 还没有进行过计算，没有可以打印的结果。请先“进行计算”。"),
                 QStringLiteral("warning: 上一次计算没有完成，没有可以打印的结果。请重新“进行计算”。")}));
    }

    void printCommandWithoutPrinterSavesAPdfWhereTheUserSays() {
        if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("this machine has a default printer");
        const QString pdf = dir_.filePath(QStringLiteral("报告 1"));  // no suffix: .pdf is added
        DialogAnswerer answerer{pdf};
        RunPrintCommand(testing::FreeDQ1ZeroState(), nullptr);
        QCOMPARE(answerer.fileDialogs, 1);
        QCOMPARE(answerer.suggestedFile, QDir::home().filePath(QStringLiteral("Korvanet-报告.pdf")));
        QCOMPARE(answerer.messages,
                 QStringList({QStringLiteral("information: 系统中没有打印机，报告已保存为 PDF 文件：\n") +
                              pdf + QStringLiteral(".pdf")}));
        QVERIFY(PdfText(pdf + QStringLiteral(".pdf")).contains(QStringLiteral("待定点( 西湖 ):")));
    }

    void printCommandCancelledOrFailingSaysSoOrNothing() {
        if (!QPrinterInfo::defaultPrinter().isNull()) QSKIP("this machine has a default printer");
        {
            DialogAnswerer cancel{QString()};
            RunPrintCommand(testing::KnownDState(), nullptr);
            QCOMPARE(cancel.fileDialogs, 1);
            QVERIFY(cancel.messages.isEmpty());
        }
        // A file where a folder should be: nothing can be written below it,
        // whatever the rights of the user running the test.
        const QString blocker = dir_.filePath(QStringLiteral("blocker"));
        {
            QFile file(blocker);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString locked = blocker + QStringLiteral("/report.pdf");
        DialogAnswerer fail{locked};
        RunPrintCommand(testing::KnownDState(), nullptr);
        QCOMPARE(fail.fileDialogs, 1);
        QVERIFY(!fail.messages.isEmpty());
        QVERIFY2(fail.messages.last().startsWith(QStringLiteral("warning: 无法写入文件“") + locked),
                 qPrintable(fail.messages.join(QLatin1Char('|'))));
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(ReportPrintingTest)
#include "print_command_test.moc"
