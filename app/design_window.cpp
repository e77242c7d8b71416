// SPDX-License-Identifier: GPL-3.0-or-later
// Units: coordinates in metres, x north and y east; the drawing in pixels,
// one SVG unit a pixel, y growing downwards; mean errors in millimetres.

#include "app/design_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <optional>

#include "adjust/order_classes.h"
#include "adjust/quadrilateral.h"
#include "app/figure_export.h"
#include "app/order_class_choice.h"
#include "app/program_settings.h"
#include "app/report_export.h"
#include "compute/adjustment_report.h"
#include "compute/class_check_texts.h"
#include "compute/design_file.h"
#include "compute/figure_drawing.h"
#include "compute/figure_exports.h"
#include "compute/file_writer.h"
#include "compute/job_file_reader.h"
#include "core/display_text.h"
#include "core/korvanet_error.h"
#include "core/number_text.h"
#include "entry/value_rules.h"

namespace korvanet {
namespace {

constexpr const auto& kLetters = quadrilateral::kPointLetters;
constexpr int kDrawingWidth = 760, kDrawingHeight = 640;  // the size FigureSvg draws at
constexpr double kGrabRadius = 14;                        // pixels around a point that pick it up

QString Fixed(double value, int decimals) { return QString::fromStdString(FixedText(value, decimals)); }
QString OneIn(double relative) { return QString::fromStdString(OneInText(relative)); }
QString Shortest(double value) { return QString::fromStdString(ShortestText(value)); }

QString Coordinate(double metres) { return QString::fromStdString(DesignCoordinateText(metres)); }

// The folder the design dialogs open in: where the last design was opened or saved.
const QString kFolderKey = QStringLiteral("design/folder");
QString DesignFolder() { return ProgramSettings().value(kFolderKey, QDir::homePath()).toString(); }

// The name typed in a point's name cell: taken when the design file can keep
// it, else the cell is marked, the design keeps its last good name and the
// reason comes back.
std::optional<QString> TakeName(QTableWidgetItem& cell, int point, std::string& name) {
    const std::string typed = cell.text().trimmed().toStdString();
    const std::optional<std::string> refusal = CheckDesignPointName(typed, point);
    const QSignalBlocker quiet(cell.tableWidget());
    cell.setBackground(refusal ? QBrush(QColor(255, 210, 210)) : QBrush());
    if (refusal) return QString::fromStdString(*refusal);
    name = typed;
    return std::nullopt;
}

}  // namespace

Design ExampleDesign() {
    Design d;
    d.tolerance = 2.5;
    d.points = {{{"青龙山", 3521408.25, 512736.48},
                 {"望江楼", 3523210.1, 512402.9},
                 {"石门", 3523650.7, 514380.3},
                 {"东岗", 3521735.98, 514912.655}}};
    d.dKnown = true;
    return d;
}

Design DesignOf(const QualityCheck& adjusted) {
    Design d;
    // The tolerance as it was typed, not its single-precision value (2.3, not 2.29999995).
    d.tolerance = QString::number(static_cast<float>(adjusted.tolerance), 'g', 7).toDouble();
    for (int p = 0; p < 4; ++p)
        d.points[p] = {adjusted.points[p].name, DesignCoordinateToTenthMm(adjusted.points[p].x),
                       DesignCoordinateToTenthMm(adjusted.points[p].y)};
    d.dKnown = adjusted.points[3].known;
    return d;
}

DesignDrawing::DesignDrawing(QWidget* parent) : QWidget(parent), renderer_(new QSvgRenderer(this)) {
    setFixedSize(kDrawingWidth, kDrawingHeight);
    setMouseTracking(false);
}

void DesignDrawing::show(const FigureDrawing& drawing) {
    renderer_->load(QByteArray::fromStdString(drawing.svg));
    for (std::size_t p = 0; p < 4; ++p) points_[p] = QPointF(drawing.points[p].x, drawing.points[p].y);
    metresPerPixel_ = drawing.pixelsPerMetre > 0 ? 1 / drawing.pixelsPerMetre : 0;
    update();
}

std::optional<QPointF> DesignDrawing::pointAt(int p) const { return points_[p]; }

void DesignDrawing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (renderer_->isValid()) renderer_->render(&painter, QRectF(0, 0, kDrawingWidth, kDrawingHeight));
}

void DesignDrawing::mousePressEvent(QMouseEvent* event) {
    dragged_ = -1;
    for (int p = 0; p < 4; ++p) {
        if (!points_[p]) continue;
        const QPointF d = event->position() - *points_[p];
        if (std::hypot(d.x(), d.y()) <= kGrabRadius && metresPerPixel_ > 0) dragged_ = p;
    }
    if (dragged_ < 0) return;
    dragStart_ = event->position();
    dragScale_ = metresPerPixel_;
    emit dragBegan(dragged_);
}

void DesignDrawing::mouseMoveEvent(QMouseEvent* event) {
    if (dragged_ < 0) return;
    const QPointF d = event->position() - dragStart_;
    // North is up and east is right in the drawing.
    emit pointDragged(dragged_, -d.y() * dragScale_, d.x() * dragScale_);
}

void DesignDrawing::mouseReleaseEvent(QMouseEvent* event) {
    mouseMoveEvent(event);
    dragged_ = -1;
}

DesignWindow::DesignWindow(const Design& design, QWidget* parent) : QDialog(parent), design_(design) {
    setWindowTitle(QStringLiteral("精度估算"));
    const LoadedOrderClasses loaded = LoadOrderClasses();
    classes_ = loaded.table;

    table_ = new QTableWidget(4, 4, this);
    table_->setHorizontalHeaderLabels({QStringLiteral("点"), QStringLiteral("点名"),
                                       QStringLiteral("纵座标 x (米)"), QStringLiteral("横座标 y (米)")});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table_->setMinimumWidth(420);
    table_->setMaximumHeight(150);
    dKnown_ = new QCheckBox(QStringLiteral("D 是已知点"), this);
    tolerance_ = new QLineEdit(this);
    class_ = new QComboBox(this);
    class_->addItem(QStringLiteral("(不检核)"));
    for (const OrderClass& c : classes_.classes) class_->addItem(QString::fromStdString(c.name));
    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #c00000"));
    summary_ = new QLabel(this);
    summary_->setTextFormat(Qt::RichText);
    summary_->setWordWrap(true);
    summary_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    summary_->setMinimumWidth(420);
    drawing_ = new DesignDrawing(this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("计划的测角中误差 σ0 (秒):"), tolerance_);
    form->addRow(QStringLiteral("等级:"), class_);
    form->addRow(QString(), dKnown_);
    auto* open = new QPushButton(QStringLiteral("打开设计…"), this);
    auto* save = new QPushButton(QStringLiteral("保存设计…"), this);
    auto* makeJob = new QPushButton(QStringLiteral("从设计生成作业"), this);
    auto* exportReport = new QPushButton(QStringLiteral("导出报告…"), this);
    exportReport->setObjectName(QStringLiteral("exportDesignReport"));
    // The designed figure for CASS, CAD or Gama: its approximate coordinates.
    auto* exportFigure = new QPushButton(QStringLiteral("导出(&X)"), this);
    exportFigure->setObjectName(QStringLiteral("exportDesignFigure"));
    exportFigure->setMenu(
        FigureExportMenu(QStringLiteral("导出"), this, [this](FigureExport kind) { askExportFigure(kind); }));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addWidget(save);
    buttons->addWidget(makeJob);
    buttons->addWidget(exportReport);
    buttons->addWidget(exportFigure);
    auto* left = new QVBoxLayout;
    left->addWidget(table_);
    left->addLayout(form);
    left->addWidget(problem_);
    left->addWidget(summary_, 1);
    left->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(drawing_, 0, Qt::AlignTop);

    fillTable();
    connect(table_, &QTableWidget::cellChanged, this, &DesignWindow::cellEdited);
    connect(tolerance_, &QLineEdit::textEdited, this, &DesignWindow::valuesEdited);
    connect(dKnown_, &QCheckBox::toggled, this, &DesignWindow::valuesEdited);
    connect(class_, &QComboBox::currentIndexChanged, this, &DesignWindow::valuesEdited);
    connect(drawing_, &DesignDrawing::dragBegan, this, &DesignWindow::beginDrag);
    connect(drawing_, &DesignDrawing::pointDragged, this, &DesignWindow::movePoint);
    connect(open, &QPushButton::clicked, this, &DesignWindow::askOpen);
    connect(save, &QPushButton::clicked, this, &DesignWindow::askSave);
    connect(makeJob, &QPushButton::clicked, this, &DesignWindow::makeJobTemplate);
    connect(exportReport, &QPushButton::clicked, this, &DesignWindow::askExport);
    recompute();
}

// The precision report of the design as it stands when 导出 is pressed; a
// design that does not run has none, and says why.
void DesignWindow::askExportFigure(FigureExport kind) {
    auto bytes = [this, kind](CassEncoding encoding) {
        if (!run_ || run_->run.failure || !run_->run.quality)
            throw KorvanetError(run_ && run_->run.failure ? *run_->run.failure : "精度估算没有完成");
        const QualityCheck& figure = *run_->run.quality;
        switch (kind) {
            case FigureExport::Cass:
                return CassCoordinateFile(figure, {}, encoding);
            case FigureExport::Dxf:
                return FigureDxf(figure);
            default:
                return GamaLocalXml(run_->state, figure);
        }
    };
    auto* dialog = new FigureExportDialog(kind, bytes, QStringLiteral("设计"),
                                          QStringLiteral("高程: 设计没有高程, 各点高程写为 0。"), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void DesignWindow::askExport() {
    auto build = [this](bool) {
        if (!run_ || run_->run.failure || !run_->run.quality)
            throw KorvanetError(run_ && run_->run.failure ? *run_->run.failure : "精度估算没有完成");
        const int chosen = class_->currentIndex() - 1;
        const OrderClass* c = chosen >= 0 && chosen < static_cast<int>(classes_.classes.size())
                                  ? &classes_.classes[static_cast<std::size_t>(chosen)]
                                  : nullptr;
        return DesignReportDocument(run_->state, *run_->run.quality,
                                    {"精度估算 (窗口中的设计)", TodayText(), c, classes_.source, false});
    };
    auto* dialog = new ReportExportDialog(build, false, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

void DesignWindow::fillTable() {
    filling_ = true;
    for (int p = 0; p < 4; ++p) {
        auto* letter = new QTableWidgetItem(QString::fromLatin1(kLetters[p]));
        letter->setFlags(Qt::ItemIsEnabled);
        table_->setItem(p, 0, letter);
        table_->setItem(p, 1, new QTableWidgetItem(QString::fromStdString(design_.points[p].name)));
        table_->setItem(p, 2, new QTableWidgetItem(Coordinate(design_.points[p].x)));
        table_->setItem(p, 3, new QTableWidgetItem(Coordinate(design_.points[p].y)));
    }
    tolerance_->setText(Shortest(design_.tolerance));
    dKnown_->setChecked(design_.dKnown);
    filling_ = false;
}

void DesignWindow::cellEdited(int row, int column) {
    if (filling_) return;  // a cell marked or filled by the window itself
    editedRow_ = row;
    editedColumn_ = column;
    valuesEdited();
    editedRow_ = editedColumn_ = -1;
}

// Every value as typed: a coordinate that is no number is marked and named,
// and the design keeps its last good value until it is corrected.  Only the
// coordinate just typed is read; the others keep every digit they have.
void DesignWindow::valuesEdited() {
    if (filling_) return;
    QStringList problems;
    for (int p = 0; p < 4; ++p) {
        if (const auto refusal = TakeName(*table_->item(p, 1), p, design_.points[p].name))
            problems << *refusal;
        for (int column : {2, 3}) {
            QTableWidgetItem* item = table_->item(p, column);
            const NumberReading r = ReadNumber(item->text().toStdString());
            const bool good = r.IsNumber();
            filling_ = true;
            item->setBackground(good ? QBrush() : QBrush(QColor(255, 210, 210)));
            filling_ = false;
            if (!good) {
                problems << QStringLiteral("%1 点的%2不是数字: \"%3\"")
                                .arg(QString::fromLatin1(kLetters[p]),
                                     column == 2 ? QStringLiteral("纵座标") : QStringLiteral("横座标"),
                                     item->text());
                continue;
            }
            if (p == editedRow_ && column == editedColumn_)
                (column == 2 ? design_.points[p].x : design_.points[p].y) = r.value;
        }
    }
    if (const Refusal refusal = CheckTolerance(tolerance_->text().toStdString())) {
        problems << QString::fromStdString(*refusal);
    } else {
        design_.tolerance = ReadNumber(tolerance_->text().toStdString()).value;
    }
    design_.dKnown = dKnown_->isChecked();
    problem_->setText(problems.join(QLatin1Char('\n')));
    recompute();
}

void DesignWindow::beginDrag(int) { dragOrigin_ = design_; }

// A dragged point is placed to 0.1 mm, as the table shows it and the design
// file keeps it.
void DesignWindow::movePoint(int p, double north, double east) {
    design_.points[p].x = DesignCoordinateToTenthMm(dragOrigin_.points[p].x + north);
    design_.points[p].y = DesignCoordinateToTenthMm(dragOrigin_.points[p].y + east);
    filling_ = true;
    table_->item(p, 2)->setText(Coordinate(design_.points[p].x));
    table_->item(p, 3)->setText(Coordinate(design_.points[p].y));
    filling_ = false;
    recompute();
}

void DesignWindow::recompute() {
    run_.emplace(RunDesign(design_));
    if (run_->run.failure || !run_->run.quality) {
        // The last good drawing stays; the summary says why there is no estimate.
        summary_->setText(QStringLiteral("<p style='color:#c00000'><b>精度估算无法进行:</b> %1</p>")
                              .arg(QString::fromStdString(run_->run.failure.value_or("")).toHtmlEscaped()));
        return;
    }
    drawing_->show(DrawFigure(*run_->run.quality, true));
    summary_->setText(summaryHtml());
}

QString DesignWindow::summaryHtml() const {
    const QualityCheck& q = *run_->run.quality;
    const FigureSummary& f = q.figure;
    QString html = QStringLiteral(
                       "<h3>精度估算 (设计, 尚未观测)</h3><p>各项均由测角中误差 σ0 = %1 秒按图形和权估算, "
                       "不是平差结果。</p><table cellspacing='6'>"
                       "<tr><th>点</th><th>点位中误差 (毫米)</th><th>长半轴 a (毫米)</th><th>短半轴 b "
                       "(毫米)</th><th>长轴方位角 (度)</th></tr>")
                       .arg(Fixed(q.unit, 2));
    for (const PointCheck& p : q.points) {
        if (!p.precision) continue;
        html +=
            QStringLiteral("<tr><td>%1 %2</td><td>%3</td><td>%4</td><td>%5</td><td>%6</td></tr>")
                .arg(QString::fromLatin1(kLetters[p.point]), QString::fromStdString(p.name).toHtmlEscaped(),
                     Fixed(p.precision->sp, 2), Fixed(p.precision->ellipse.a, 2),
                     Fixed(p.precision->ellipse.b, 2), Fixed(p.precision->ellipse.azimuth, 1));
    }
    html += QStringLiteral("</table>");
    if (!f.sides.empty()) {
        const SidePrecision& w = f.Weakest();
        html +=
            QStringLiteral(
                "<p><b>最弱边</b> S(%1) %2-%3: σs = %4 毫米, 相对中误差 %5<br><b>最小角</b> B(%6) = %7°</p>")
                .arg(w.index)
                .arg(QString::fromLatin1(kLetters[w.from]), QString::fromLatin1(kLetters[w.to]),
                     Fixed(w.sigma, 2), OneIn(w.relative))
                .arg(f.smallestAngle)
                .arg(Fixed(f.smallestAngleDegrees, 2));
    }
    const int chosen = class_->currentIndex() - 1;
    if (chosen >= 0 && chosen < static_cast<int>(classes_.classes.size())) {
        const OrderClass& c = classes_.classes[static_cast<std::size_t>(chosen)];
        const ClassCompliance compliance = CheckOrderClass(q, c);
        html += QStringLiteral("<p><b>规范检核 (精度估算): %1 — %2</b></p><table cellspacing='6'>")
                    .arg(QString::fromStdString(c.name).toHtmlEscaped(),
                         compliance.compliant
                             ? QStringLiteral("按设计可以达到")
                             : QStringLiteral("<span style='color:#c00000'>按设计达不到</span>"));
        for (const ClassCheck& check : compliance.checks)
            html +=
                QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td style='color:%4'>%5</td></tr>")
                    .arg(QString::fromStdString(CheckItemText(check)).toHtmlEscaped(),
                         QString::fromStdString(CheckValueText(check)),
                         QString::fromStdString(CheckLimitText(check)), check.passed ? "#107010" : "#c00000",
                         check.passed ? QStringLiteral("通过") : QStringLiteral("未通过"));
        html += QStringLiteral("</table>");
    }
    return html;
}

// Read and written as job files are: a folder, a device, a FIFO or a huge
// file is refused unread, and a failed write is told with its reason.
bool DesignWindow::openDesign(const QString& path) {
    bool read = false;
    try {
        const std::string bytes = ReadDesignFileBytes(QFile::encodeName(path).toStdString());
        read = true;
        design_ = ReadDesignFile(bytes);
    } catch (const KorvanetError& e) {
        // The reader's message names the file already; the design's names its line.
        const QString why = QString::fromUtf8(e.what());
        QMessageBox::warning(
            this, QStringLiteral("打开设计"),
            read ? QStringLiteral("无法读取设计文件 %1: %2").arg(QDir::toNativeSeparators(path), why) : why);
        return false;
    }
    fillTable();
    problem_->clear();
    recompute();
    return true;
}

bool DesignWindow::saveDesign(const QString& path) {
    try {
        WriteFileWhole(QFile::encodeName(path).toStdString(), DesignFileText(design_));
    } catch (const KorvanetError& e) {
        QMessageBox::warning(this, QStringLiteral("保存设计"),
                             QStringLiteral("无法保存设计 %1: %2")
                                 .arg(QDir::toNativeSeparators(path), QString::fromUtf8(e.what())));
        return false;
    }
    return true;
}

void DesignWindow::makeJobTemplate() {
    if (const auto problem = CheckDesignFigure(design_)) {
        QMessageBox::warning(this, QStringLiteral("从设计生成作业"),
                             QString::fromStdString(problem->message));
        return;
    }
    emit jobTemplateMade(DesignJobTemplate(design_));
}

void DesignWindow::askOpen() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("打开设计"), DesignFolder(),
                                                      QStringLiteral("设计文件 (*.design);;所有文件 (*)"));
    if (!path.isEmpty() && openDesign(path))
        ProgramSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
}

void DesignWindow::askSave() {
    QFileDialog dialog(this, QStringLiteral("保存设计"), DesignFolder(),
                       QStringLiteral("设计文件 (*.design)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without a type becomes a design file (and is asked about
    // when such a file is there already).
    dialog.setDefaultSuffix(QStringLiteral("design"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    QString path = dialog.selectedFiles().constFirst();
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".design");  // a desktop's own dialog
    if (saveDesign(path)) ProgramSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
}

}  // namespace korvanet
