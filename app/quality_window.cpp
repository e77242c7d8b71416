// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quality_window.h"

#include <QBuffer>
#include <QByteArray>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <cmath>

#include "app/precision_summary.h"
#include "compute/figure_drawing.h"

namespace korvanet {
namespace {

const QColor kSuspect(200, 0, 0);

QString Fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }

QString ObservationName(const ObservationCheck& o) {
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

QStringList ObservationRow(const ObservationCheck& o, bool suspect) {
    return {ObservationName(o), ValueText(o, o.observed), ValueText(o, o.adjusted),
            ResidualText(o),    Fixed(o.redundancy, 3),   WText(o),
            MdbText(o),         ExternalText(o),          suspect ? QStringLiteral("◀ 可疑") : QString()};
}

const QStringList kObservationHeader = {
    "观测值", "观测", "平差值", "改正数 v", "多余观测分量 r", "w", "最小可探测粗差 ∇", "外部可靠性 (毫米)",
    "检验"};
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

QTableWidget* MakeTable(const QStringList& header, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(header.size()), parent);
    table->setHorizontalHeaderLabels(header);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

// A table just tall enough for its rows: the window scrolls as a whole.
void FitHeight(QTableWidget* table) {
    table->resizeColumnsToContents();
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int r = 0; r < table->rowCount(); ++r) height += table->rowHeight(r);
    table->setFixedHeight(height);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QString HtmlTable(const QStringList& header, const std::vector<QStringList>& rows, int markedRow) {
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
    for (const QString& h : header) html += QStringLiteral("<th>%1</th>").arg(h.toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        html += r == markedRow ? QStringLiteral("<tr style=\"color:#c80000; font-weight:bold\">")
                               : QStringLiteral("<tr>");
        for (const QString& cell : rows[r])
            html += QStringLiteral("<td nowrap>%1</td>").arg(cell.toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

}  // namespace

QString DegreesMinutesSeconds(double degrees) {
    const double hundredths = std::round(std::fabs(degrees) * 360000);  // to 0.01 second
    const long long total = static_cast<long long>(hundredths);
    const long long d = total / 360000, m = total / 6000 % 60, cs = total % 6000;
    return QStringLiteral("%1%2°%3′%4″")
        .arg(degrees < 0 ? QStringLiteral("-") : QString())
        .arg(d)
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(Fixed(cs / 100.0, 2), 5, QLatin1Char('0'));
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
        .arg(Fixed(kWTestCritical, 2), ObservationName(*s), Fixed(*s->w, 2), ResidualText(*s));
}

QualityWindow::QualityWindow(const SurveyState& state, const QualityCheck& quality, QWidget* parent)
    : QDialog(parent), quality_(quality), svg_(QString::fromStdString(FigureSvg(quality))) {
    setWindowTitle(QStringLiteral("质量检查"));
    setAttribute(Qt::WA_DeleteOnClose);
    title_ = QStringLiteral("质量检查: %1 - %2 - %3 - %4")
                 .arg(QString::fromStdString(state.PointNames.size() > 0 ? state.PointNames[0] : ""),
                      QString::fromStdString(state.PointNames.size() > 1 ? state.PointNames[1] : ""),
                      QString::fromStdString(state.PointNames.size() > 2 ? state.PointNames[2] : ""),
                      QString::fromStdString(state.PointNames.size() > 3 ? state.PointNames[3] : ""));

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    heading_ = new QLabel(title_);
    heading_->setObjectName(QStringLiteral("heading"));
    QFont headingFont = heading_->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    headingFont.setBold(true);
    heading_->setFont(headingFont);
    layout->addWidget(heading_);

    globalTest_ = new QLabel(GlobalTestText(quality_));
    globalTest_->setObjectName(QStringLiteral("globalTest"));
    sigmaLine_ =
        new QLabel(QStringLiteral("先验单位权中误差 σ0 = %1 秒 (输入的限差), 后验单位权中误差 m0 = %2 秒, "
                                  "多余观测数 %3")
                       .arg(Fixed(quality_.tolerance, 2), Fixed(quality_.m0, 2))
                       .arg(quality_.redundancy));
    suspectLine_ = new QLabel(SuspectText(quality_));
    suspectLine_->setObjectName(QStringLiteral("suspect"));
    for (QLabel* line : {globalTest_, suspectLine_}) {
        QFont bold = line->font();
        bold.setBold(true);
        line->setFont(bold);
    }
    if (!quality_.global.passed) globalTest_->setStyleSheet(QStringLiteral("color: #c80000"));
    if (quality_.Suspect()) suspectLine_->setStyleSheet(QStringLiteral("color: #c80000"));
    for (QLabel* line : {globalTest_, sigmaLine_, suspectLine_}) {
        line->setTextFormat(Qt::PlainText);
        layout->addWidget(line);
    }

    layout->addWidget(
        new QLabel(QStringLiteral("观测值: 改正数 = 平差值 - 观测值; r = 多余观测分量; "
                                  "w = 改正数 / (σ0 √Qvv); ∇ = 4.13 σ0 √(q / r) (α0 = 0.1 %, "
                                  "检验功效 80 %); 外部可靠性 = ∇ 引起的待定点最大位移")));
    observations_ = MakeTable(kObservationHeader, content);
    observations_->setObjectName(QStringLiteral("observations"));
    fillObservations();
    layout->addWidget(observations_);

    layout->addWidget(
        new QLabel(QStringLiteral("点位精度与误差椭圆 (后验, m0 = %1 秒)").arg(Fixed(quality_.m0, 2))));
    points_ = MakeTable(kPointHeader, content);
    points_->setObjectName(QStringLiteral("points"));
    fillPoints();
    layout->addWidget(points_);

    summary_ = new PrecisionSummary(quality_, content);
    // The title line says whether the figure meets the chosen class.
    auto showCompliance = [this](const QString& text) {
        heading_->setText(text.isEmpty() ? title_ : title_ + QStringLiteral("  —  ") + text);
        heading_->setStyleSheet(text.isEmpty()                            ? QString()
                                : text.startsWith(QStringLiteral("符合")) ? QStringLiteral("color: #008000")
                                                                          : QStringLiteral("color: #c80000"));
    };
    connect(summary_, &PrecisionSummary::complianceChanged, this, showCompliance);
    showCompliance(summary_->complianceText());
    layout->addWidget(summary_);

    drawing_ = new QSvgWidget;
    drawing_->load(svg_.toUtf8());
    drawing_->setFixedSize(drawing_->renderer()->defaultSize());
    layout->addWidget(drawing_, 0, Qt::AlignHCenter);
    auto* relative = new QCheckBox(QStringLiteral("图中画出相对误差椭圆"));
    relative->setObjectName(QStringLiteral("relativeEllipses"));
    connect(relative, &QCheckBox::toggled, this, &QualityWindow::showRelativeEllipses);
    layout->addWidget(relative, 0, Qt::AlignHCenter);

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
    resize(980, 900);
}

void QualityWindow::showRelativeEllipses(bool show) {
    svg_ = QString::fromStdString(FigureSvg(quality_, show));
    drawing_->load(svg_.toUtf8());
}

void QualityWindow::fillObservations() {
    const std::vector<ObservationCheck>& list = quality_.observations;
    observations_->setRowCount(static_cast<int>(list.size()));
    for (int r = 0; r < static_cast<int>(list.size()); ++r) {
        const bool suspect = quality_.suspect && *quality_.suspect == static_cast<std::size_t>(r);
        const QStringList cells = ObservationRow(list[r], suspect);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            if (suspect) {
                item->setForeground(kSuspect);
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            observations_->setItem(r, c, item);
        }
    }
    FitHeight(observations_);
}

void QualityWindow::fillPoints() {
    points_->setRowCount(static_cast<int>(quality_.points.size()));
    for (int r = 0; r < static_cast<int>(quality_.points.size()); ++r) {
        const QStringList cells = PointRow(quality_.points[r]);
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(c <= 1 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            points_->setItem(r, c, item);
        }
    }
    FitHeight(points_);
}

QString QualityWindow::documentHtml() const {
    std::vector<QStringList> observationRows, pointRows;
    for (std::size_t i = 0; i < quality_.observations.size(); ++i)
        observationRows.push_back(ObservationRow(quality_.observations[i], quality_.suspect == i));
    for (const PointCheck& p : quality_.points) pointRows.push_back(PointRow(p));
    const int marked = quality_.suspect ? static_cast<int>(*quality_.suspect) : -1;
    const QString red = QStringLiteral(" style=\"color:#c80000\"");
    return QStringLiteral("<h2>%1</h2>").arg(heading_->text().toHtmlEscaped()) +
           QStringLiteral("<p><b%1>%2</b><br>%3<br><b%4>%5</b></p>")
               .arg(quality_.global.passed ? QString() : red, GlobalTestText(quality_).toHtmlEscaped(),
                    sigmaLine_->text().toHtmlEscaped(), quality_.Suspect() ? red : QString(),
                    SuspectText(quality_).toHtmlEscaped()) +
           HtmlTable(kObservationHeader, observationRows, marked) + QStringLiteral("<p></p>") +
           HtmlTable(kPointHeader, pointRows, -1) + summary_->html() +
           QStringLiteral("<p><img src=\"figure.png\" width=\"540\"></p>");
}

void QualityWindow::printOn(QPrinter& printer) const {
    QTextDocument document;
    // The drawing at twice its size, so that it stays sharp on paper.
    QSvgRenderer renderer(svg_.toUtf8());
    QImage figure(renderer.defaultSize() * 2, QImage::Format_RGB32);
    figure.fill(Qt::white);
    QPainter painter(&figure);
    renderer.render(&painter);
    painter.end();
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("figure.png")), figure);
    document.setHtml(documentHtml());
    document.print(&printer);
}

bool QualityWindow::savePdf(const QString& path) const {
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) return false;
    probe.close();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printOn(printer);
    return true;
}

bool QualityWindow::saveDrawing(const QString& path) const {
    if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        QSvgRenderer renderer(svg_.toUtf8());
        QImage image(renderer.defaultSize() * 2, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        return image.save(path, "PNG");
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    return file.write(svg_.toUtf8()) == svg_.toUtf8().size();
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
    if (!savePdf(path))
        QMessageBox::warning(this, QStringLiteral("存为 PDF"), QStringLiteral("无法写入文件:\n") + path);
}

void QualityWindow::askSaveDrawing() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("保存图形"), QStringLiteral("图形.svg"),
                                     QStringLiteral("SVG 图形 (*.svg);;PNG 图像 (*.png)"));
    if (path.isEmpty()) return;
    if (!saveDrawing(path))
        QMessageBox::warning(this, QStringLiteral("保存图形"), QStringLiteral("无法写入文件:\n") + path);
}

}  // namespace korvanet
