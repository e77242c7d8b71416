// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/report_printer.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>

#include "core/korvanet_error.h"
#include "core/prompter.h"
#include "report/report_placement.h"

namespace korvanet {
namespace {

// Twips are 1/1440 inch, points 1/72 inch: 20 twips to the point.
constexpr double kTwipsPerPoint = 20.0;
// The right and bottom edges keep half an inch free.
constexpr double kOtherMarginPoints = 36.0;

void RequireGuiApplication() {
    // A console application object is not enough: printing needs fonts and a platform.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        throw KorvanetError("无法打印报告：程序没有在图形环境中运行。");
    }
}

void InstallFontSubstitution() {
    static const bool installed = [] {
        // Song-style faces first: their half-width Latin keeps the columns of
        // the text rendering.  The last one only keeps Chinese readable.
        QFont::insertSubstitutions(QString::fromUtf8(kReportFontName),
                                   {QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL SungtiL GB"),
                                    QStringLiteral("Noto Serif CJK SC")});
        return true;
    }();
    (void)installed;
}

void SetReportMargins(QPrinter& printer) {
    printer.setFullPage(false);
    // A printer whose hardware margins exceed these keeps its own: the report
    // then starts a little further in, which is harmless.
    printer.setPageMargins(
        QMarginsF(kReportLeftOffsetTwips / kTwipsPerPoint, kReportTopOffsetTwips / kTwipsPerPoint,
                  kOtherMarginPoints, kOtherMarginPoints),
        QPageLayout::Point);
}

bool Failed(const QPrinter& printer) {
    return printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted;
}

}  // namespace

QFont ReportFont(int pointSize) {
    InstallFontSubstitution();
    QFont font(QString::fromUtf8(kReportFontName));
    font.setPointSize(pointSize);
    return font;
}

void PrintReport(const ReportDocument& report, QPrinter& printer) {
    RequireGuiApplication();
    const PlacedReport placed = PlaceReport(report);
    SetReportMargins(printer);

    QPainter painter;
    if (!painter.begin(&printer)) {
        throw KorvanetError("打印机无法开始打印，报告没有打印。");
    }
    // The painter's origin is the top-left corner inside the margins.
    const double pageHeight = printer.pageRect(QPrinter::DevicePixel).height();
    double top = 0;
    for (const PlacedRow& row : placed.rows) {
        const QFont font = ReportFont(row.fontSize);
        painter.setFont(font);
        const QFontMetricsF metrics(font, painter.device());
        const double columnWidth = metrics.averageCharWidth();
        const double lineHeight = metrics.lineSpacing();
        if (top > 0 && top + lineHeight > pageHeight) {
            if (!printer.newPage()) {
                painter.end();
                throw KorvanetError("打印机无法开始新的一页，报告没有打印完。");
            }
            top = 0;
        }
        for (const PlacedItem& item : row.items) {
            // Leading blanks only move the start; drawing from the first
            // printed character keeps it exactly on its column.
            const std::size_t blanks = std::min(item.text.find_first_not_of(' '), item.text.size());
            const double column = item.column + static_cast<double>(blanks);
            const QString text = QString::fromUtf8(item.text.substr(blanks));
            if (text.isEmpty()) continue;
            painter.drawText(QPointF((column - 1) * columnWidth, top + metrics.ascent()), text);
        }
        top += lineHeight;
    }
    if (!painter.end() || Failed(printer)) {
        throw KorvanetError("打印机报告了错误，报告可能没有打印完整。");
    }
}

std::string PdfBytes(const std::function<void(QPrinter&)>& draw) {
    RequireGuiApplication();
    QTemporaryDir folder;
    if (!folder.isValid()) {
        throw KorvanetError("无法在临时文件夹中生成 PDF (" + folder.errorString().toStdString() + ")");
    }
    const QString fileName = folder.filePath(QStringLiteral("report.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(fileName);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setCreator(QString::fromUtf8(kApplicationTitle));
        draw(printer);
    }  // the printer finishes its file here
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        throw KorvanetError("无法在临时文件夹中生成 PDF (" + file.errorString().toStdString() + ")");
    }
    const QByteArray bytes = file.readAll();
    // A full temporary disk leaves a PDF without its end.
    if (!bytes.startsWith("%PDF-") || !bytes.trimmed().endsWith("%%EOF")) {
        throw KorvanetError("生成的 PDF 不完整 (临时文件夹的磁盘可能已满)");
    }
    return bytes.toStdString();
}

std::string ReportPdf(const ReportDocument& report) {
    return PdfBytes([&report](QPrinter& printer) {
        printer.setDocName(QStringLiteral("Korvanet 报告"));
        try {
            PrintReport(report, printer);
        } catch (const KorvanetError& e) {
            throw KorvanetError(std::string("生成 PDF 时出错: ") + e.what());
        }
    });
}

}  // namespace korvanet
