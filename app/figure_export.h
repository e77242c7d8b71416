// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 导出 → CASS 坐标…, DXF 图形…, Gama XML…: the completed figure (or a
// design's approximate one) written for the next program, with the same
// bytes the batch tool writes (compute/figure_exports.h).  The dialog asks
// for the file (its folder remembered) and, for CASS, the encoding
// (remembered too); it says where the heights come from.  A write that fails
// is told with its reason and the dialog stays open with what was typed, so
// that another place can be chosen; nothing is written then.

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "adjust/field_book.h"
#include "app/export_file_dialog.h"
#include "compute/figure_exports.h"

class QComboBox;
class QMenu;
class QWidget;

namespace korvanet {

enum class FigureExport { Cass, Dxf, GamaXml };

// The three exports as a menu, each action with its key (&C, &D, &G), named
// "exportCass", "exportDxf" and "exportGama"; `choose` opens the dialog.
QMenu* FigureExportMenu(const QString& title, QWidget* parent,
                        const std::function<void(FigureExport)>& choose);

// The heights CASS gets: those of the field book when its four points bear
// the job's names (the sheet's job came from it), else none (0).  `said`
// tells the surveyor which, in a sentence for the dialog.
PointHeights BookHeights(const FieldBook& book, const std::vector<std::string>& names, QString& said);

class FigureExportDialog : public ExportFileDialog {
    Q_OBJECT
public:
    // `bytes` makes the file (the encoding counts for CASS only) and throws
    // a KorvanetError when it cannot; `fileStem` names the file offered
    // ("平差成果" gives 平差成果.dat); `heightsSaid` is shown with CASS.
    FigureExportDialog(FigureExport kind, std::function<std::string(CassEncoding)> bytes,
                       const QString& fileStem, const QString& heightsSaid, QWidget* parent = nullptr);

    // UTF-8 or GBK; null for DXF and Gama XML.
    QComboBox* encodingChoice() const { return encoding_; }
    // What the status bar says once the file is written.
    QString doneText() const;

protected:
    void write(const QString& path) override;
    void remember(QSettings& settings) override;

private:
    bool gbk() const;

    FigureExport kind_;
    std::function<std::string(CassEncoding)> bytes_;
    QComboBox* encoding_ = nullptr;
};

}  // namespace korvanet
