// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quality_window.h"

#include <QBrush>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "app/precision_summary.h"
#include "app/read_only_table.h"
#include "compute/adjustment_report.h"
#include "compute/blunder_advice_texts.h"
#include "compute/figure_drawing.h"
#include "compute/file_writer.h"
#include "core/display_text.h"
#include "core/korvanet_error.h"
#include "print/document_print.h"
#include "print/report_printer.h"
#include "print/svg_image.h"

namespace korvanet {
namespace {

const QColor kSuspect(200, 0, 0);

QString Fixed(double value, int decimals) { return QString::fromStdString(FixedText(value, decimals)); }

QString ObservationLabel(const ObservationCheck& o) {
    switch (o.kind) {
        case ObservationKind::Orientation:
            return QStringLiteral("定向角 Q1");
        case ObservationKind::Angle:
            return QStringLiteral("观测角 B(%1)").arg(o.index);
        default:
            return QStringLiteral("观测边 S(%1)").arg(o.index);
    }
}

QString ValueText(const ObservationCheck& o, double value) {
    return o.kind == ObservationKind::Side ? Fixed(value, 4) + QStringLiteral(" 米")
                                           : DegreesMinutesSeconds(value);
}

QString ResidualText(const ObservationCheck& o) {
    return Fixed(o.residual, 2) +
           (o.kind == ObservationKind::Side ? QStringLiteral(" 毫米") : QStringLiteral(" 秒"));
}

QString WText(const ObservationCheck& o) { return o.w ? Fixed(*o.w, 2) : QStringLiteral("—"); }

// The minimal detectable bias in the observation's unit, and the shift of the points it causes.
QString MdbText(const ObservationCheck& o) {
    if (!o.mdb) return QStringLiteral("—");
    return Fixed(*o.mdb, 2) +
           (o.kind == ObservationKind::Side ? QStringLiteral(" 毫米") : QStringLiteral(" 秒"));
}
QString ExternalText(const ObservationCheck& o) {
    return o.external ? Fixed(*o.external, 2) : QStringLiteral("—");
}

QStringList ObservationRow(const ObservationCheck& o, const std::optional<double>& m0Without, bool suspect) {
    return {ObservationLabel(o),
            ValueText(o, o.observed),
            ValueText(o, o.adjusted),
            ResidualText(o),
            Fixed(o.redundancy, 3),
            WText(o),
            QString::fromStdString(M0WithoutText(m0Without)),
            MdbText(o),
            ExternalText(o),
            suspect ? QStringLiteral("◀ 可疑") : QString()};
}

const QStringList kObservationHeader = {
    "观测值", "观测",           "平差值",           "改正数 v",          "多余观测分量 r",
    "w",      "去掉后 m0 (秒)", "最小可探测粗差 ∇", "外部可靠性 (毫米)", "检验"};

QString Lines(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines) out << QString::fromStdString(line);
    return out.join(QChar(u'\n'));
}
const QStringList kPointHeader = {"点",
                                  "点名",
                                  "纵座标 x (米)",
                                  "横座标 y (米)",
                                  "mx (毫米)",
                                  "my (毫米)",
                                  "点位中误差 (毫米)",
                                  "长半轴 a (毫米)",
                                  "短半轴 b (毫米)",
                                  "长轴方位角"};

QStringList PointRow(const PointCheck& p) {
    QStringList row = {QString(QChar(u"ABCD"[p.point])), QString::fromStdString(p.name), Fixed(p.x, 3),
                       Fixed(p.y, 3)};
    if (p.precision) {
        const PointPrecision& m = *p.precision;
        row << Fixed(m.sx, 2) << Fixed(m.sy, 2) << Fixed(m.sp, 2) << Fixed(m.ellipse.a, 2)
            << Fixed(m.ellipse.b, 2)
            << DegreesMinutesSeconds(m.ellipse.azimuth).section(QChar(u'′'), 0, 0) + QChar(u'′');
    } else {
        row << QStringLiteral("已知点") << QString() << QString() << QString() << QString() << QString();
    }
    return row;
}

// Writes `bytes` whole to `path`; false, with `error` (when asked for) saying
// what could not be saved, where and why.
bool SaveWhole(const QString& what, const QString& path, const std::string& bytes, QString* error) {
    try {
        WriteFileWhole(QFile::encodeName(path).toStdString(), bytes);
        return true;
    } catch (const KorvanetError& e) {
        if (error != nullptr)
            *error = QStringLiteral("无法保存%1 %2: %3").arg(what, path, QString::fromUtf8(e.what()));
        return false;
    }
}

// The drawing of the figure.  The window follows every edit of the sheet, and
// the drawing usually lies below the tables, out of sight: a new figure is
// read when the drawing is next painted, not at each edit.
class FigureView : public QSvgWidget {
public:
    // Shows `svg` now when nothing is shown yet, else when next painted.
    void showFigure(const QByteArray& svg) {
        if (!renderer()->isValid()) {
            loadNow(svg);
            return;
        }
        waiting_ = svg;
        update();
    }
    void loadNow(const QByteArray& svg) {
        waiting_.clear();
        load(svg);
        if (size() != renderer()->defaultSize()) setFixedSize(renderer()->defaultSize());
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (!waiting_.isEmpty()) loadNow(std::exchange(waiting_, QByteArray()));
        QSvgWidget::paintEvent(event);
    }

private:
    QByteArray waiting_;
};

FigureView* Figure(QSvgWidget* drawing) { return static_cast<FigureView*>(drawing); }

}  // namespace

QString DegreesMinutesSeconds(double degrees) {
    return QString::fromStdString(DegreesMinutesSecondsText(degrees, 2));
}

QString GlobalTestText(const QualityCheck& q) {
    const QString t = Fixed(q.global.statistic, 2);
    const QString c = Fixed(q.global.critical, 3);
    return q.global.passed
               ? QStringLiteral("全局检验 (χ² 检验, 自由度 %1, 95%): T = %2 ≤ %3, 通过")
                     .arg(q.redundancy)
                     .arg(t, c)
               : QStringLiteral(
                     "全局检验 (χ² 检验, 自由度 %1, 95%): T = %2 > %3, 未通过 —— 观测值中可能含有粗差")
                     .arg(q.redundancy)
                     .arg(t, c);
}

QString SuspectText(const QualityCheck& q) {
    const ObservationCheck* s = q.Suspect();
    if (s == nullptr) return QStringLiteral("w 检验 (临界值 %1): 无可疑观测值").arg(Fixed(kWTestCritical, 2));
    return QStringLiteral("w 检验 (临界值 %1): 可疑观测值 %2, w = %3, 改正数 %4")
        .arg(Fixed(kWTestCritical, 2), ObservationLabel(*s), Fixed(*s->w, 2), ResidualText(*s));
}

QualityWindow::QualityWindow(const SurveyState& state, const QualityCheck& quality, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("质量检查"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    heading_ = new QLabel;
    heading_->setObjectName(QStringLiteral("heading"));
    QFont headingFont = heading_->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    headingFont.setBold(true);
    heading_->setFont(headingFont);
    layout->addWidget(heading_);

    globalTest_ = new QLabel;
    globalTest_->setObjectName(QStringLiteral("globalTest"));
    sigmaLine_ = new QLabel;
    suspectLine_ = new QLabel;
    suspectLine_->setObjectName(QStringLiteral("suspect"));
    for (QLabel* line : {globalTest_, suspectLine_}) {
        QFont bold = line->font();
        bold.setBold(true);
        line->setFont(bold);
    }
    for (QLabel* line : {globalTest_, sigmaLine_, suspectLine_}) {
        line->setTextFormat(Qt::PlainText);
        layout->addWidget(line);
    }

    layout->addWidget(
        new QLabel(QStringLiteral("观测值: 改正数 = 平差值 - 观测值; r = 多余观测分量; "
                                  "w = 改正数 / (σ0 √Qvv); ∇ = 4.13 σ0 √(q / r) (α0 = 0.1 %, "
                                  "检验功效 80 %); 外部可靠性 = ∇ 引起的待定点最大位移")));
    observations_ = ReadOnlyTable(kObservationHeader, content);
    observations_->setObjectName(QStringLiteral("observations"));
    layout->addWidget(observations_);

    // The advice on blunders and weights: what it means, then its figures.
    auto* m0Legend = new QLabel(QString::fromStdString(M0WithoutExplanation()));
    snooping_ = new QLabel;
    snooping_->setObjectName(QStringLiteral("snooping"));
    variance_ = new QLabel;
    variance_->setObjectName(QStringLiteral("varianceComponents"));
    for (QLabel* line : {m0Legend, snooping_, variance_}) {
        line->setTextFormat(Qt::PlainText);
        line->setWordWrap(true);
        layout->addWidget(line);
    }

    pointsHeading_ = new QLabel;
    layout->addWidget(pointsHeading_);
    points_ = ReadOnlyTable(kPointHeader, content);
    points_->setObjectName(QStringLiteral("points"));
    layout->addWidget(points_);

    // The order class's sections go here (showCheck), before the drawing.
    layout_ = layout;

    drawing_ = new FigureView;
    layout->addWidget(drawing_, 0, Qt::AlignHCenter);
    relative_ = new QCheckBox(QStringLiteral("图中画出相对误差椭圆"));
    relative_->setObjectName(QStringLiteral("relativeEllipses"));
    connect(relative_, &QCheckBox::toggled, this, &QualityWindow::showRelativeEllipses);
    layout->addWidget(relative_, 0, Qt::AlignHCenter);
    showCheck(state, quality);

    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);

    auto* buttons = new QDialogButtonBox;
    QPushButton* printButton = buttons->addButton(QStringLiteral("打印…"), QDialogButtonBox::ActionRole);
    QPushButton* pdfButton = buttons->addButton(QStringLiteral("存为 PDF…"), QDialogButtonBox::ActionRole);
    QPushButton* drawingButton =
        buttons->addButton(QStringLiteral("保存图形…"), QDialogButtonBox::ActionRole);
    QPushButton* closeButton = buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
    connect(printButton, &QPushButton::clicked, this, &QualityWindow::print);
    connect(pdfButton, &QPushButton::clicked, this, &QualityWindow::askSavePdf);
    connect(drawingButton, &QPushButton::clicked, this, &QualityWindow::askSaveDrawing);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(scroll);
    outer->addWidget(buttons);
    // As large as the content asks, but never beyond the screen (a 1366 x 768
    // laptop): the content scrolls, the buttons stay in sight.
    // The frame and the title bar are not known before the window is shown:
    // room is left for them.
    QSize size(980, 900);
    if (const QScreen* shown = screen())
        size = size.boundedTo(shown->availableGeometry().size() - QSize(20, 60));
    resize(size);
}

void QualityWindow::showRelativeEllipses(bool show) {
    svg_ = QString::fromStdString(FigureSvg(quality_, show));
    Figure(drawing_)->loadNow(svg_.toUtf8());
}

void QualityWindow::showCheck(const SurveyState& state, const QualityCheck& quality) {
    state_ = state;
    quality_ = quality;
    svg_ = QString::fromStdString(FigureSvg(quality_, relative_->isChecked()));
    auto name = [&state](std::size_t point) {
        return QString::fromStdString(state.PointNames.size() > point ? state.PointNames[point] : "");
    };
    title_ = QStringLiteral("质量检查: %1 - %2 - %3 - %4").arg(name(0), name(1), name(2), name(3));
    // The title line says whether the figure meets the chosen class.
    auto showCompliance = [this](const QString& text) {
        heading_->setText(text.isEmpty() ? title_ : title_ + QStringLiteral("  —  ") + text);
        heading_->setStyleSheet(text.isEmpty()                            ? QString()
                                : text.startsWith(QStringLiteral("符合")) ? QStringLiteral("color: #008000")
                                                                          : QStringLiteral("color: #c80000"));
    };
    // The order class's sections are made once and filled again for each
    // run; the class chosen is remembered, so they check the same one, and
    // the title line follows through complianceChanged.
    if (summary_ == nullptr) {
        summary_ = new PrecisionSummary(quality_);
        layout_->insertWidget(layout_->indexOf(drawing_), summary_);
        connect(summary_, &PrecisionSummary::complianceChanged, this, showCompliance);
        showCompliance(summary_->complianceText());
    } else {
        summary_->showCheck(quality_);
    }
    globalTest_->setText(GlobalTestText(quality_));
    sigmaLine_->setText(
        QStringLiteral("测角中误差 σ0 = %1 秒 (先验单位权中误差), 后验单位权中误差 m0 = %2 秒, 多余观测数 %3")
            .arg(Fixed(quality_.tolerance, 2), Fixed(quality_.m0, 2))
            .arg(quality_.redundancy));
    suspectLine_->setText(SuspectText(quality_));
    globalTest_->setStyleSheet(quality_.global.passed ? QString() : QStringLiteral("color: #c80000"));
    suspectLine_->setStyleSheet(quality_.Suspect() ? QStringLiteral("color: #c80000") : QString());
    advice_ = AdviseOnBlunders(quality_);
    snooping_->setText(Lines(SnoopingLines(advice_.snooping)));
    variance_->setText(Lines(VarianceLines(advice_.variance)));
    fillObservations();
    pointsHeading_->setText(
        QStringLiteral("点位精度与误差椭圆 (后验, m0 = %1 秒)").arg(Fixed(quality_.m0, 2)));
    fillPoints();
    Figure(drawing_)->showFigure(svg_.toUtf8());
    setEnabled(true);
}

void QualityWindow::fillObservations() {
    const std::vector<ObservationCheck>& list = quality_.observations;
    bool grew = observations_->rowCount() != static_cast<int>(list.size());
    observations_->setRowCount(static_cast<int>(list.size()));
    for (int r = 0; r < static_cast<int>(list.size()); ++r) {
        const bool suspect = quality_.suspect && *quality_.suspect == static_cast<std::size_t>(r);
        const QStringList cells = ObservationRow(list[r], advice_.m0Without[r], suspect);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            grew |= SetReadOnlyCell(
                observations_, r, c, cells[c],
                c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            QTableWidgetItem* item = observations_->item(r, c);
            if (item->font().bold() != suspect) {
                item->setForeground(suspect ? QBrush(kSuspect) : QBrush());
                QFont bold = item->font();
                bold.setBold(suspect);
                item->setFont(bold);
                grew = true;
            }
        }
    }
    FitReadOnlyTable(observations_, grew);
}

void QualityWindow::fillPoints() {
    bool grew = points_->rowCount() != static_cast<int>(quality_.points.size());
    points_->setRowCount(static_cast<int>(quality_.points.size()));
    for (int r = 0; r < static_cast<int>(quality_.points.size()); ++r) {
        const QStringList cells = PointRow(quality_.points[r]);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            grew |= SetReadOnlyCell(
                points_, r, c, cells[c],
                c <= 1 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    FitReadOnlyTable(points_, grew);
}

AdjustmentDocument QualityWindow::reportDocument() const {
    const QString job = jobName_ ? jobName_() : QString();
    return JobReportDocument(state_, quality_,
                             {job.isEmpty() ? std::string("未保存的作业") : job.toStdString(), TodayText(),
                              summary_->chosenClass(), summary_->classSource(), false});
}

void QualityWindow::printOn(QPrinter& printer) const { PrintDocument(reportDocument(), printer); }

bool QualityWindow::savePdf(const QString& path, QString* error) const {
    std::string pdf;
    try {
        pdf = PdfBytes([this](QPrinter& printer) { printOn(printer); });
    } catch (const KorvanetError& e) {
        if (error != nullptr)
            *error = QStringLiteral("无法保存 PDF %1: %2").arg(path, QString::fromUtf8(e.what()));
        return false;
    }
    return SaveWhole(QStringLiteral(" PDF"), path, pdf, error);
}

bool QualityWindow::saveDrawing(const QString& path, QString* error) const {
    std::string bytes = svg_.toStdString();
    if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        // Twice the size it is shown, so that it stays sharp on paper.
        try {
            bytes = PngBytes(SvgImage(bytes, 2 * SvgWidth(bytes)));
        } catch (const KorvanetError& e) {
            if (error != nullptr)
                *error = QStringLiteral("无法保存图形 %1: %2").arg(path, QString::fromUtf8(e.what()));
            return false;
        }
    }
    return SaveWhole(QStringLiteral("图形"), path, bytes, error);
}

void QualityWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("打印质量检查"));
    if (dialog.exec() == QDialog::Accepted) printOn(printer);
}

void QualityWindow::askSavePdf() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("存为 PDF"), QStringLiteral("质量检查.pdf"), QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty()) return;
    QString error;
    if (!savePdf(path, &error)) QMessageBox::warning(this, QStringLiteral("存为 PDF"), error);
}

void QualityWindow::askSaveDrawing() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("保存图形"), QStringLiteral("图形.svg"),
                                     QStringLiteral("SVG 图形 (*.svg);;PNG 图像 (*.png)"));
    if (path.isEmpty()) return;
    QString error;
    if (!saveDrawing(path, &error)) QMessageBox::warning(this, QStringLiteral("保存图形"), error);
}

}  // namespace korvanet
