// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/precision_summary.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "app/order_class_choice.h"
#include "app/quality_window.h"

namespace korvanet {
namespace {

const QColor kPassed(0, 128, 0), kFailed(200, 0, 0);

QString Fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }
QString Point(int p) { return QString(QChar(u"ABCD"[p])); }

const QStringList kSideHeader = {
    "边", "端点", "平差边长 (米)", "边长中误差 (毫米)", "相对中误差", "方位角中误差 (秒)", ""};
const QStringList kRelativeHeader = {"点对", "长半轴 a (毫米)", "短半轴 b (毫米)", "长轴方位角",
                                     "点间中误差 √(a²+b²) (毫米)"};
const QStringList kCheckHeader = {"检核项目", "数值", "限值", "公式或规范条款", "结论"};

QStringList SideRow(const SidePrecision& s, bool weakest) {
    return {QStringLiteral("S(%1)").arg(s.index),
            Point(s.from) + QChar(u'-') + Point(s.to),
            Fixed(s.adjusted, 4),
            Fixed(s.sigma, 2),
            OneIn(s.relative),
            Fixed(s.azimuthSigma, 2),
            weakest ? QStringLiteral("◀ 最弱边") : QString()};
}

QStringList RelativeRow(const RelativeEllipse& e) {
    return {Point(e.from) + QChar(u'-') + Point(e.to), Fixed(e.a, 2), Fixed(e.b, 2),
            DegreesMinutesSeconds(e.azimuth).section(QChar(u'′'), 0, 0) + QChar(u'′'), Fixed(e.meanError, 2)};
}

QString ItemText(const ClassCheck& c) {
    const QString item = QString::fromStdString(c.item);
    if (c.kind == "triangle_closure") return QStringLiteral("三角形 %1 闭合差").arg(item);
    if (c.kind == "ferrero") return QStringLiteral("测角中误差 m_β");
    if (c.kind == "smallest_angle") return QStringLiteral("最小角 %1").arg(item);
    if (c.kind == "weakest_side") return QStringLiteral("最弱边 %1 相对中误差").arg(item);
    return QStringLiteral("测边相对中误差 (ms / 最短边 %1)").arg(item);
}

QStringList CheckRow(const ClassCheck& c) {
    QString value, limit;
    if (c.kind == "triangle_closure") {
        value = Fixed(c.value, 2) + QChar(u'″');
        limit = QStringLiteral("±") + Fixed(c.limit, 1) + QChar(u'″');
    } else if (c.kind == "ferrero") {
        value = Fixed(c.value, 2) + QChar(u'″');
        limit = QStringLiteral("≤ ") + Fixed(c.limit, 1) + QChar(u'″');
    } else if (c.kind == "smallest_angle") {
        value = DegreesMinutesSeconds(c.value).section(QChar(u'′'), 0, 0) + QChar(u'′');
        limit = QStringLiteral("≥ ") + QString::number(c.limit) + QChar(u'°');
    } else {
        value = OneIn(c.value);
        limit = QStringLiteral("≤ ") + OneIn(c.limit);
    }
    return {ItemText(c), value, limit, QString::fromStdString(c.note),
            c.passed ? QStringLiteral("通过") : QStringLiteral("未通过")};
}

QString KindText(std::string_view kind) {
    if (kind == "triangle_closure") return QStringLiteral("三角形闭合差");
    if (kind == "ferrero") return QStringLiteral("测角中误差");
    if (kind == "smallest_angle") return QStringLiteral("最小角");
    if (kind == "weakest_side") return QStringLiteral("最弱边相对中误差");
    return QStringLiteral("测边相对中误差");
}

QTableWidget* Table(const QStringList& header, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(header.size()), parent);
    table->setHorizontalHeaderLabels(header);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return table;
}

void Fill(QTableWidget* table, const std::vector<QStringList>& rows, int textColumn = 0) {
    table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            item->setTextAlignment(c == 0 || c == textColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                             : Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    table->resizeColumnsToContents();
    int height = table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth();
    for (int r = 0; r < table->rowCount(); ++r) height += table->rowHeight(r);
    table->setFixedHeight(height);
}

QString HtmlRows(const QStringList& header, const std::vector<QStringList>& rows,
                 const std::vector<QString>& colours) {
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
    for (const QString& h : header) html += QStringLiteral("<th>%1</th>").arg(h.toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (std::size_t r = 0; r < rows.size(); ++r) {
        html += colours.size() > r && !colours[r].isEmpty()
                    ? QStringLiteral("<tr style=\"color:%1\">").arg(colours[r])
                    : QStringLiteral("<tr>");
        for (const QString& cell : rows[r])
            html += QStringLiteral("<td nowrap>%1</td>").arg(cell.toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString ClosuresText(const FigureSummary& f) {
    QStringList closures;
    for (const TriangleClosure& t : f.triangles)
        closures << QStringLiteral("%1 %2″").arg(
            QString::fromUtf8(t.name.data(), static_cast<int>(t.name.size())), Fixed(t.closure, 2));
    return QStringLiteral(
               "三角形闭合差 W (观测角之和 - 180°): %1\n"
               "菲列罗公式 m_β = √([WW] / 3n) = %2″ (n = 4);  最小角 B(%3) = %4")
        .arg(closures.join(QStringLiteral(", ")), Fixed(f.ferrero, 2))
        .arg(f.smallestAngle)
        .arg(DegreesMinutesSeconds(f.smallestAngleDegrees));
}

QString WeakestText(const FigureSummary& f) {
    const SidePrecision& w = f.Weakest();
    return QStringLiteral("最弱边 S(%1) %2-%3: 边长相对中误差 %4 (σ = %5 毫米)")
        .arg(w.index)
        .arg(Point(w.from), Point(w.to), OneIn(w.relative), Fixed(w.sigma, 2));
}

}  // namespace

QString OneIn(double relative) {
    if (!(relative > 0)) return QStringLiteral("—");
    return QStringLiteral("1/%1").arg(static_cast<qlonglong>(std::llround(1 / relative)));
}

PrecisionSummary::PrecisionSummary(const QualityCheck& quality, QWidget* parent)
    : QWidget(parent), quality_(quality) {
    const FigureSummary& f = quality_.figure;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* heading = new QLabel(QStringLiteral("精度统计 (后验, m0 = %1 秒)").arg(Fixed(quality_.m0, 2)));
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    layout->addWidget(heading);

    sides_ = Table(kSideHeader, this);
    sides_->setObjectName(QStringLiteral("sides"));
    std::vector<QStringList> sideRows;
    for (std::size_t i = 0; i < f.sides.size(); ++i) sideRows.push_back(SideRow(f.sides[i], i == f.weakest));
    Fill(sides_, sideRows);
    if (!f.sides.empty())
        for (int c = 0; c < sides_->columnCount(); ++c) {
            QTableWidgetItem* item = sides_->item(static_cast<int>(f.weakest), c);
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
        }
    layout->addWidget(sides_);
    auto* weakest = new QLabel(WeakestText(f));
    weakest->setObjectName(QStringLiteral("weakestSide"));
    layout->addWidget(weakest);

    layout->addWidget(new QLabel(QStringLiteral("相对误差椭圆 (两个待定点座标差的误差椭圆)")));
    relative_ = Table(kRelativeHeader, this);
    relative_->setObjectName(QStringLiteral("relativeEllipses"));
    std::vector<QStringList> relativeRows;
    for (const RelativeEllipse& e : f.relativeEllipses) relativeRows.push_back(RelativeRow(e));
    Fill(relative_, relativeRows);
    layout->addWidget(relative_);

    auto* closures = new QLabel(ClosuresText(f));
    closures->setObjectName(QStringLiteral("closures"));
    layout->addWidget(closures);

    // 规范检核: the class to check against.
    auto* checkHeading = new QLabel(QStringLiteral("规范检核"));
    checkHeading->setFont(bold);
    layout->addWidget(checkHeading);
    auto* choiceRow = new QHBoxLayout;
    choiceRow->addWidget(new QLabel(QStringLiteral("等级:")));
    classChoice_ = new QComboBox(this);
    classChoice_->setObjectName(QStringLiteral("orderClass"));
    classChoice_->addItem(QStringLiteral("无"), QString());
    const LoadedOrderClasses loaded = LoadOrderClasses();
    table_ = loaded.table;
    for (const OrderClass& c : table_.classes) {
        const QString name = QString::fromStdString(c.name);
        classChoice_->addItem(name, name);
    }
    choiceRow->addWidget(classChoice_);
    classSource_ = new QLabel(loaded.problem);
    choiceRow->addWidget(classSource_, 1);
    layout->addLayout(choiceRow);
    checks_ = Table(kCheckHeader, this);
    checks_->setObjectName(QStringLiteral("checks"));
    layout->addWidget(checks_);
    notChecked_ = new QLabel;
    layout->addWidget(notChecked_);

    const int chosen = classChoice_->findData(ChosenOrderClassName());
    classChoice_->setCurrentIndex(chosen > 0 ? chosen : 0);
    chooseClass(classChoice_->currentIndex());
    connect(classChoice_, &QComboBox::currentIndexChanged, this, &PrecisionSummary::chooseClass);
    // The sheet's 等级 box is the same choice: it shows here at once.
    connect(&OrderClassChoice::instance(), &OrderClassChoice::chosen, classChoice_,
            [this](const QString& name) {
                const int shown = classChoice_->findData(name);
                classChoice_->setCurrentIndex(shown > 0 ? shown : 0);
            });
}

void PrecisionSummary::chooseClass(int index) {
    const QString name = classChoice_->itemData(index).toString();
    const OrderClass* c = name.isEmpty() ? nullptr : table_.Find(name.toStdString());
    if (c != nullptr) {
        chosen_ = *c;
        compliance_ = CheckOrderClass(quality_.figure, *c);
    } else {
        chosen_.reset();
        compliance_.reset();
    }
    // Remember only what the surveyor chose, not the default of a fresh window.
    if (sender() == classChoice_) SetChosenOrderClassName(name);
    fillChecks();
    emit complianceChanged(complianceText());
}

void PrecisionSummary::fillChecks() {
    std::vector<QStringList> rows;
    if (compliance_)
        for (const ClassCheck& c : compliance_->checks) rows.push_back(CheckRow(c));
    Fill(checks_, rows, 3);  // the formula or clause reads as text
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        QTableWidgetItem* verdict = checks_->item(r, checks_->columnCount() - 1);
        verdict->setForeground(compliance_->checks[r].passed ? kPassed : kFailed);
        QFont font = verdict->font();
        font.setBold(true);
        verdict->setFont(font);
    }
    checks_->setVisible(compliance_.has_value());
    if (chosen_) {
        classSource_->setText(QString::fromStdString(chosen_->standard + " " + chosen_->clause));
        QStringList kinds;
        for (std::string_view kind : compliance_->notChecked) kinds << KindText(kind);
        notChecked_->setText(kinds.isEmpty() ? QString()
                                             : QStringLiteral("本等级未规定, 不检核: ") +
                                                   kinds.join(QStringLiteral(", ")));
        notChecked_->setVisible(!kinds.isEmpty());
    } else {
        if (classSource_->text().isEmpty() || classChoice_->count() > 1)
            classSource_->setText(QStringLiteral("选择等级后按其规范检核本图形"));
        notChecked_->setVisible(false);
    }
}

QString PrecisionSummary::complianceText() const {
    if (!chosen_ || !compliance_) return QString();
    const QString name = QString::fromStdString(chosen_->name);
    return compliance_->compliant ? QStringLiteral("符合 %1 的要求").arg(name)
                                  : QStringLiteral("不符合 %1 的要求").arg(name);
}

QString PrecisionSummary::html() const {
    const FigureSummary& f = quality_.figure;
    std::vector<QStringList> sideRows, relativeRows, checkRows;
    for (std::size_t i = 0; i < f.sides.size(); ++i) sideRows.push_back(SideRow(f.sides[i], i == f.weakest));
    for (const RelativeEllipse& e : f.relativeEllipses) relativeRows.push_back(RelativeRow(e));
    QString html = QStringLiteral("<h3>精度统计 (后验, m0 = %1 秒)</h3>").arg(Fixed(quality_.m0, 2)) +
                   HtmlRows(kSideHeader, sideRows, {}) +
                   QStringLiteral("<p>%1</p>").arg(WeakestText(f).toHtmlEscaped()) +
                   HtmlRows(kRelativeHeader, relativeRows, {}) +
                   QStringLiteral("<p>%1</p>")
                       .arg(ClosuresText(f).toHtmlEscaped().replace(QChar(u'\n'), QStringLiteral("<br>")));
    if (chosen_ && compliance_) {
        std::vector<QString> colours;
        for (const ClassCheck& c : compliance_->checks) {
            checkRows.push_back(CheckRow(c));
            colours.push_back(c.passed ? QStringLiteral("#008000") : QStringLiteral("#c80000"));
        }
        html += QStringLiteral("<h3>规范检核: %1 (%2)</h3>")
                    .arg(complianceText().toHtmlEscaped(),
                         QString::fromStdString(chosen_->standard + " " + chosen_->clause).toHtmlEscaped()) +
                HtmlRows(kCheckHeader, checkRows, colours);
        if (!compliance_->notChecked.empty())
            html += QStringLiteral("<p>%1</p>").arg(notChecked_->text().toHtmlEscaped());
    }
    return html;
}

}  // namespace korvanet
