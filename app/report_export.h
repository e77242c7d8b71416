// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 导出报告…: the adjustment report (or a design's precision report) written
// as a document to hand in, in the format the file's type names: .html or
// .htm an HTML file, .odt OpenDocument text, .csv the tables for a
// spreadsheet.  The dialog asks for the file and whether to add the steps
// of the computation (计算过程); it remembers the folder and the choice.
// A write that fails is told in a message box and the dialog stays open
// with what was typed, so that another place can be chosen.

#include <QString>
#include <functional>

#include "app/export_file_dialog.h"
#include "report/adjustment_document.h"

class QCheckBox;

namespace korvanet {

// Writes `document` to `path` in the format of its type, checked and whole.
// Throws a KorvanetError for a type that is none of the three, or when the
// file cannot be written.  The ODT needs the running QGuiApplication.
void ExportReport(const AdjustmentDocument& document, const QString& path);

class ReportExportDialog : public ExportFileDialog {
    Q_OBJECT
public:
    // `build` makes the document, with the steps or without.  `stepsOffered`:
    // a design has no steps to show.
    ReportExportDialog(std::function<AdjustmentDocument(bool steps)> build, bool stepsOffered,
                       QWidget* parent = nullptr);

    QCheckBox* stepsBox() const { return steps_; }

protected:
    void write(const QString& path) override;
    void remember(QSettings& settings) override;

private:
    std::function<AdjustmentDocument(bool)> build_;
    bool stepsOffered_ = true;
    QCheckBox* steps_ = nullptr;
};

}  // namespace korvanet
