// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/report_export.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/program_settings.h"
#include "compute/file_writer.h"
#include "core/korvanet_error.h"
#include "core/prompter.h"
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
    : QDialog(parent), build_(std::move(build)), stepsOffered_(stepsOffered) {
    setWindowTitle(QStringLiteral("导出报告"));
    const QSettings settings = ProgramSettings();
    path_ = new QLineEdit(this);
    path_->setObjectName(QStringLiteral("reportPath"));
    path_->setMinimumWidth(360);
    path_->setText(QDir(settings.value(kFolderKey, QDir::homePath()).toString())
                       .filePath(QStringLiteral("平差报告.html")));
    auto* browse = new QPushButton(QStringLiteral("浏览(&B)…"), this);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_);
    pathRow->addWidget(browse);
    steps_ = new QCheckBox(QStringLiteral("包括计算过程(&S) (条件方程, 法方程, 联系数, 改正数和检核)"), this);
    steps_->setObjectName(QStringLiteral("reportSteps"));
    steps_->setChecked(stepsOffered && settings.value(kStepsKey, false).toBool());
    steps_->setVisible(stepsOffered);
    auto* types = new QLabel(QStringLiteral("格式由文件类型决定: .html 网页 (可在浏览器中按 A4 打印), "
                                            ".odt 文本文档 (LibreOffice, Word), .csv 表格"),
                             this);
    types->setWordWrap(true);
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    problem_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("导出"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));

    auto* form = new QFormLayout;
    auto* fileLabel = new QLabel(QStringLiteral("文件(&F):"), this);
    fileLabel->setBuddy(path_);
    form->addRow(fileLabel, pathRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(types);
    layout->addWidget(steps_);
    layout->addWidget(problem_);
    layout->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, &ReportExportDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &ReportExportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ReportExportDialog::reject);
    connect(path_, &QLineEdit::textEdited, problem_, &QLabel::hide);
}

void ReportExportDialog::browse() {
    const QString chosen = QFileDialog::getSaveFileName(
        this, QStringLiteral("导出报告"), path_->text(),
        QStringLiteral("HTML 文档 (*.html *.htm);;OpenDocument 文本 (*.odt);;CSV 表格 (*.csv)"));
    if (!chosen.isEmpty()) {
        path_->setText(chosen);
        problem_->hide();
    }
}

void ReportExportDialog::accept() {
    const QString path = path_->text().trimmed();
    if (path.isEmpty()) {
        problem_->setText(QStringLiteral("请给出报告的文件名。"));
        problem_->show();
        return;
    }
    const bool steps = stepsOffered_ && steps_->isChecked();
    try {
        ExportReport(build_(steps), path);
    } catch (const KorvanetError& e) {
        QMessageBox::warning(this, QString::fromUtf8(kApplicationTitle),
                             QStringLiteral("无法导出报告 %1: %2")
                                 .arg(QDir::toNativeSeparators(path), QString::fromStdString(e.what())));
        return;
    }
    written_ = path;
    QSettings settings = ProgramSettings();
    settings.setValue(kFolderKey, QFileInfo(path).absolutePath());
    if (stepsOffered_) settings.setValue(kStepsKey, steps_->isChecked());
    QDialog::accept();
}

}  // namespace korvanet
