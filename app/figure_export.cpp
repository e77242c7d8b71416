// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/figure_export.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "adjust/quadrilateral.h"
#include "app/program_settings.h"
#include "compute/file_writer.h"
#include "core/korvanet_error.h"
#include "core/prompter.h"

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
    : QDialog(parent), kind_(kind), bytes_(std::move(bytes)) {
    const ExportKind& what = KindOf(kind);
    setWindowTitle(QStringLiteral("导出%1").arg(QString::fromUtf8(what.name)));
    const QSettings settings = ProgramSettings();
    path_ = new QLineEdit(this);
    path_->setObjectName(QStringLiteral("exportPath"));
    path_->setMinimumWidth(360);
    path_->setText(QDir(settings.value(kFolderKey, QDir::homePath()).toString())
                       .filePath(fileStem + QLatin1Char('.') + QString::fromLatin1(what.suffix)));
    auto* browse = new QPushButton(QStringLiteral("浏览(&B)…"), this);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_);
    pathRow->addWidget(browse);

    auto* form = new QFormLayout;
    auto* fileLabel = new QLabel(QStringLiteral("文件(&F):"), this);
    fileLabel->setBuddy(path_);
    form->addRow(fileLabel, pathRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    if (kind == FigureExport::Cass) {
        encoding_ = new QComboBox(this);
        encoding_->setObjectName(QStringLiteral("cassEncoding"));
        encoding_->addItem(QStringLiteral("UTF-8"));
        encoding_->addItem(QStringLiteral("GBK (旧版 CASS)"));
        encoding_->setCurrentIndex(settings.value(kEncodingKey).toString() == QLatin1String("gbk") ? 1 : 0);
        auto* encodingLabel = new QLabel(QStringLiteral("编码(&N):"), this);
        encodingLabel->setBuddy(encoding_);
        form->addRow(encodingLabel, encoding_);
        auto* lines =
            new QLabel(QStringLiteral("每点一行: 点名,编码,Y(东),X(北),H, 单位米。") + heightsSaid, this);
        lines->setObjectName(QStringLiteral("cassHeights"));
        lines->setWordWrap(true);
        layout->addWidget(lines);
    }
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    problem_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("导出"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    layout->addWidget(problem_);
    layout->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, &FigureExportDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &FigureExportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FigureExportDialog::reject);
    connect(path_, &QLineEdit::textEdited, problem_, &QLabel::hide);
}

QString FigureExportDialog::doneText() const {
    return QStringLiteral("%1已导出到 %2")
        .arg(QString::fromUtf8(KindOf(kind_).name), QDir::toNativeSeparators(written_));
}

void FigureExportDialog::browse() {
    const QString chosen = QFileDialog::getSaveFileName(this, windowTitle(), path_->text(),
                                                        QString::fromUtf8(KindOf(kind_).filter));
    if (!chosen.isEmpty()) {
        path_->setText(chosen);
        problem_->hide();
    }
}

void FigureExportDialog::accept() {
    const QString path = path_->text().trimmed();
    if (path.isEmpty()) {
        problem_->setText(QStringLiteral("请给出要导出的文件名。"));
        problem_->show();
        return;
    }
    const bool gbk = encoding_ != nullptr && encoding_->currentIndex() == 1;
    const QString name = QString::fromUtf8(KindOf(kind_).name);
    try {
        // Made first, whole: a name CASS cannot take in GBK writes nothing.
        const std::string file = bytes_(gbk ? CassEncoding::Gbk : CassEncoding::Utf8);
        WriteFileWhole(QFile::encodeName(path).toStdString(), file);
    } catch (const KorvanetError& e) {
        QMessageBox::warning(this, QString::fromUtf8(kApplicationTitle),
                             QStringLiteral("无法导出%1 %2: %3")
                                 .arg(name, QDir::toNativeSeparators(path), QString::fromUtf8(e.what())));
        return;
    }
    written_ = path;
    QSettings settings = ProgramSettings();
    settings.setValue(kFolderKey, QFileInfo(path).absolutePath());
    if (encoding_ != nullptr)
        settings.setValue(kEncodingKey, gbk ? QStringLiteral("gbk") : QStringLiteral("utf-8"));
    QDialog::accept();
}

}  // namespace korvanet
