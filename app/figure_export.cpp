// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/figure_export.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

#include "adjust/quadrilateral.h"
#include "app/program_settings.h"
#include "compute/file_writer.h"

namespace korvanet {
namespace {

const QString kFolderKey = QStringLiteral("export/folder");
const QString kEncodingKey = QStringLiteral("export/cassEncoding");

struct ExportKind {
    const char* action;  // the menu's text, with its key
    const char* name;    // the file as the messages call it
    const char* suffix;
    const char* filter;
    const char* objectName;
};

const ExportKind& KindOf(FigureExport kind) {
    static const ExportKind kinds[] = {
        {"CASS 坐标(&C)…", "CASS 坐标文件", "dat", "CASS 坐标文件 (*.dat);;所有文件 (*)", "exportCass"},
        {"DXF 图形(&D)…", "DXF 图形", "dxf", "DXF 图形 (*.dxf);;所有文件 (*)", "exportDxf"},
        {"Gama XML(&G)…", "Gama XML 文件", "xml", "gama-local 输入文件 (*.xml);;所有文件 (*)", "exportGama"},
    };
    return kinds[static_cast<int>(kind)];
}

}  // namespace

QMenu* FigureExportMenu(const QString& title, QWidget* parent,
                        const std::function<void(FigureExport)>& choose) {
    auto* menu = new QMenu(title, parent);
    menu->setObjectName(QStringLiteral("figureExportMenu"));
    for (const FigureExport kind : {FigureExport::Cass, FigureExport::Dxf, FigureExport::GamaXml}) {
        QAction* action = menu->addAction(QString::fromUtf8(KindOf(kind).action));
        action->setObjectName(QString::fromLatin1(KindOf(kind).objectName));
        QObject::connect(action, &QAction::triggered, parent, [choose, kind] { choose(kind); });
    }
    return menu;
}

PointHeights BookHeights(const FieldBook& book, const std::vector<std::string>& names, QString& said) {
    bool same = names.size() >= 4;
    for (std::size_t p = 0; same && p < 4; ++p)
        same = !book.points[p].name.empty() && book.points[p].name == names[p];
    if (!same) {
        said = QStringLiteral("高程: 本作业不是来自外业手簿 (点名不同), 各点高程写为 0。");
        return {};
    }
    PointHeights heights;
    QStringList without;
    for (std::size_t p = 0; p < 4; ++p) {
        if (book.points[p].height) {
            heights[p] = book.points[p].height->value;
        } else {
            without << QString::fromLatin1(quadrilateral::kPointLetters[p]);
        }
    }
    said = without.isEmpty() ? QStringLiteral("高程取自外业手簿。")
                             : QStringLiteral("高程取自外业手簿; 手簿中没有高程的点 (%1) 写为 0。")
                                   .arg(without.join(QStringLiteral("、")));
    return heights;
}

FigureExportDialog::FigureExportDialog(FigureExport kind, std::function<std::string(CassEncoding)> bytes,
                                       const QString& fileStem, const QString& heightsSaid, QWidget* parent)
    : ExportFileDialog({QStringLiteral("导出%1").arg(QString::fromUtf8(KindOf(kind).name)),
                        QString::fromUtf8(KindOf(kind).name), QStringLiteral("请给出要导出的文件名。"),
                        QString::fromUtf8(KindOf(kind).filter), kFolderKey,
                        fileStem + QLatin1Char('.') + QString::fromLatin1(KindOf(kind).suffix),
                        QStringLiteral("exportPath")},
                       parent),
      kind_(kind),
      bytes_(std::move(bytes)) {
    if (kind == FigureExport::Cass) {
        const QSettings settings = ProgramSettings();
        encoding_ = new QComboBox(this);
        encoding_->setObjectName(QStringLiteral("cassEncoding"));
        encoding_->addItem(QStringLiteral("UTF-8"));
        encoding_->addItem(QStringLiteral("GBK (旧版 CASS)"));
        encoding_->setCurrentIndex(settings.value(kEncodingKey).toString() == QLatin1String("gbk") ? 1 : 0);
        auto* encodingLabel = new QLabel(QStringLiteral("编码(&N):"), this);
        encodingLabel->setBuddy(encoding_);
        form()->addRow(encodingLabel, encoding_);
        auto* lines =
            new QLabel(QStringLiteral("每点一行: 点名,编码,Y(东),X(北),H, 单位米。") + heightsSaid, this);
        lines->setObjectName(QStringLiteral("cassHeights"));
        lines->setWordWrap(true);
        layout()->addWidget(lines);
    }
    finishLayout();
}

QString FigureExportDialog::doneText() const {
    return QStringLiteral("%1已导出到 %2")
        .arg(QString::fromUtf8(KindOf(kind_).name), QDir::toNativeSeparators(writtenPath()));
}

bool FigureExportDialog::gbk() const { return encoding_ != nullptr && encoding_->currentIndex() == 1; }

void FigureExportDialog::write(const QString& path) {
    // Made first, whole: a name CASS cannot take in GBK writes nothing.
    const std::string file = bytes_(gbk() ? CassEncoding::Gbk : CassEncoding::Utf8);
    WriteFileWhole(QFile::encodeName(path).toStdString(), file);
}

void FigureExportDialog::remember(QSettings& settings) {
    if (encoding_ != nullptr)
        settings.setValue(kEncodingKey, gbk() ? QStringLiteral("gbk") : QStringLiteral("utf-8"));
}

}  // namespace korvanet
