// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/print_command.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <exception>

#include "compute/file_writer.h"
#include "core/korvanet_error.h"
#include "core/prompter.h"
#include "core/survey_state.h"
#include "print/report_printer.h"
#include "report/report_layout.h"

namespace korvanet {

bool QtPrintDesk::PrintOnDefaultPrinter(const ReportDocument& report) {
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) return false;
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Korvanet 报告"));
    PrintReport(report, printer);
    return true;
}

QString QtPrintDesk::AskPdfPath(const QString& suggested) {
    return QFileDialog::getSaveFileName(parent_, QStringLiteral("没有打印机：将报告保存为 PDF"), suggested,
                                        QStringLiteral("PDF 文件 (*.pdf)"));
}

void QtPrintDesk::Inform(const QString& message) {
    QMessageBox::information(parent_, QString::fromUtf8(kApplicationTitle), message);
}

void QtPrintDesk::Warn(const QString& message) {
    QMessageBox::warning(parent_, QString::fromUtf8(kApplicationTitle), message);
}

void RunPrintCommand(const SurveyState& state, PrintDesk& desk) {
    try {
        const ReportDocument report = BuildReport(state);
        if (desk.PrintOnDefaultPrinter(report)) return;
        QString path = desk.AskPdfPath(QDir::home().filePath(QStringLiteral("Korvanet-报告.pdf")));
        if (path.isEmpty()) return;  // the user chose not to save
        // A name typed without its ending still becomes a PDF the system opens as one.
        if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
        const std::string pdf = ReportPdf(report);
        try {
            WriteFileWhole(QFile::encodeName(path).toStdString(), pdf);
        } catch (const KorvanetError& error) {
            throw KorvanetError("无法写入文件“" + path.toStdString() + "”（" + error.what() +
                                "），报告没有保存。");
        }
        desk.Inform(QStringLiteral("系统中没有打印机，报告已保存为 PDF 文件：\n") +
                    QDir::toNativeSeparators(path));
    } catch (const KorvanetError& error) {
        desk.Warn(QString::fromUtf8(error.what()));
    } catch (const std::exception&) {
        desk.Warn(QStringLiteral("打印时发生意外错误，报告没有打印。"));
    }
}

void RunPrintCommand(const SurveyState& state, QWidget* parent) {
    QtPrintDesk desk(parent);
    RunPrintCommand(state, desk);
}

}  // namespace korvanet
