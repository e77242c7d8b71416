// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/export_file_dialog.h"

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
#include "core/korvanet_error.h"
#include "core/prompter.h"

namespace korvanet {

ExportFileDialog::ExportFileDialog(Texts texts, QWidget* parent) : QDialog(parent), texts_(std::move(texts)) {
    setWindowTitle(texts_.title);
    const QSettings settings = ProgramSettings();
    path_ = new QLineEdit(this);
    path_->setObjectName(texts_.pathName);
    path_->setMinimumWidth(360);
    path_->setText(
        QDir(settings.value(texts_.folderKey, QDir::homePath()).toString()).filePath(texts_.offeredName));
    auto* browse = new QPushButton(QStringLiteral("浏览(&B)…"), this);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_);
    pathRow->addWidget(browse);
    form_ = new QFormLayout;
    auto* fileLabel = new QLabel(QStringLiteral("文件(&F):"), this);
    fileLabel->setBuddy(path_);
    form_->addRow(fileLabel, pathRow);
    layout_ = new QVBoxLayout(this);
    layout_->addLayout(form_);
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    problem_->hide();
    connect(browse, &QPushButton::clicked, this, &ExportFileDialog::browse);
    connect(path_, &QLineEdit::textEdited, problem_, &QLabel::hide);
}

void ExportFileDialog::finishLayout() {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("导出"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    layout_->addWidget(problem_);
    layout_->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ExportFileDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ExportFileDialog::reject);
}

void ExportFileDialog::browse() {
    const QString chosen = QFileDialog::getSaveFileName(this, texts_.title, path_->text(), texts_.filter);
    if (!chosen.isEmpty()) {
        path_->setText(chosen);
        problem_->hide();
    }
}

void ExportFileDialog::accept() {
    const QString path = path_->text().trimmed();
    if (path.isEmpty()) {
        problem_->setText(texts_.emptyPath);
        problem_->show();
        return;
    }
    try {
        write(path);
    } catch (const KorvanetError& e) {
        QMessageBox::warning(
            this, QString::fromUtf8(kApplicationTitle),
            QStringLiteral("无法导出%1 %2: %3")
                .arg(texts_.what, QDir::toNativeSeparators(path), QString::fromUtf8(e.what())));
        return;
    }
    written_ = path;
    QSettings settings = ProgramSettings();
    settings.setValue(texts_.folderKey, QFileInfo(path).absolutePath());
    remember(settings);
    QDialog::accept();
}

}  // namespace korvanet
