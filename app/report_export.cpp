// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/report_export.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

#include "app/program_settings.h"
#include "compute/file_writer.h"
#include "core/korvanet_error.h"
#include "print/document_odt.h"
#include "report/document_csv.h"
#include "report/document_html.h"

namespace korvanet {
namespace {

const QString kFolderKey = QStringLiteral("report/folder");
const QString kStepsKey = QStringLiteral("report/steps");

}  // namespace

void ExportReport(const AdjustmentDocument& document, const QString& path) {
    const QString type = QFileInfo(path).suffix().toLower();
    std::string bytes;
    if (type == QLatin1String("html") || type == QLatin1String("htm")) {
        bytes = DocumentHtml(document);
    } else if (type == QLatin1String("odt")) {
        bytes = DocumentOdt(document);
    } else if (type == QLatin1String("csv")) {
        bytes = DocumentCsv(document);
    } else {
        throw KorvanetError("不认识的文件类型: 报告可以导出为 .html, .odt 或 .csv 文件");
    }
    WriteFileWhole(QFile::encodeName(path).toStdString(), bytes);
}

ReportExportDialog::ReportExportDialog(std::function<AdjustmentDocument(bool steps)> build, bool stepsOffered,
                                       QWidget* parent)
    : ExportFileDialog(
          {QStringLiteral("导出报告"), QStringLiteral("报告"), QStringLiteral("请给出报告的文件名。"),
           QStringLiteral("HTML 文档 (*.html *.htm);;OpenDocument 文本 (*.odt);;CSV 表格 (*.csv)"),
           kFolderKey, QStringLiteral("平差报告.html"), QStringLiteral("reportPath")},
          parent),
      build_(std::move(build)),
      stepsOffered_(stepsOffered) {
    const QSettings settings = ProgramSettings();
    steps_ = new QCheckBox(QStringLiteral("包括计算过程(&S) (条件方程, 法方程, 联系数, 改正数和检核)"), this);
    steps_->setObjectName(QStringLiteral("reportSteps"));
    steps_->setChecked(stepsOffered && settings.value(kStepsKey, false).toBool());
    steps_->setVisible(stepsOffered);
    auto* types = new QLabel(QStringLiteral("格式由文件类型决定: .html 网页 (可在浏览器中按 A4 打印), "
                                            ".odt 文本文档 (LibreOffice, Word), .csv 表格"),
                             this);
    types->setWordWrap(true);
    layout()->addWidget(types);
    layout()->addWidget(steps_);
    finishLayout();
}

void ReportExportDialog::write(const QString& path) {
    ExportReport(build_(stepsOffered_ && steps_->isChecked()), path);
}

void ReportExportDialog::remember(QSettings& settings) {
    if (stepsOffered_) settings.setValue(kStepsKey, steps_->isChecked());
}

}  // namespace korvanet
