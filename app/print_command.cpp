#include "print_command.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QString>
#include <exception>

#include "korvanet_error.h"
#include "report_layout.h"
#include "report_printer.h"
#include "survey_state.h"

namespace korvanet {
namespace {

// The title every message box of the program carries.
const char* const kTitle = "Korvanet";

// Asks where the PDF goes; empty when the user cancels.
QString AskPdfPath(QWidget* parent) {
    const QString suggested = QDir::home().filePath(QStringLiteral("Korvanet-报告.pdf"));
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("没有打印机：将报告保存为 PDF"),
                                                suggested, QStringLiteral("PDF 文件 (*.pdf)"));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    return path;
}

}  // namespace

void RunPrintCommand(const SurveyState& state, QWidget* parent) {
    try {
        const ReportDocument report = BuildReport(state);
        const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
        if (!printerInfo.isNull()) {
            QPrinter printer(printerInfo, QPrinter::HighResolution);
            printer.setDocName(QStringLiteral("Korvanet 报告"));
            PrintReport(report, printer);
            return;
        }
        const QString path = AskPdfPath(parent);
        if (path.isEmpty()) return;  // the user chose not to save
        WriteReportPdf(report, path.toStdString());
        QMessageBox::information(
            parent, QString::fromUtf8(kTitle),
            QStringLiteral("系统中没有打印机，报告已保存为 PDF 文件：\n") + QDir::toNativeSeparators(path));
    } catch (const KorvanetError& error) {
        QMessageBox::warning(parent, QString::fromUtf8(kTitle), QString::fromUtf8(error.what()));
    } catch (const std::exception&) {
        QMessageBox::warning(parent, QString::fromUtf8(kTitle),
                             QStringLiteral("打印时发生意外错误，报告没有打印。"));
    }
}

}  // namespace korvanet
