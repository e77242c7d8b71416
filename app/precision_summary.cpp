// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/precision_summary.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <functional>

#include "app/order_class_choice.h"
#include "app/quality_window.h"
#include "app/read_only_table.h"
#include "compute/class_check_texts.h"
#include "core/display_text.h"

namespace korvanet {
namespace {

const QColor kPassed(0, 128, 0), kFailed(200, 0, 0);

QString Fixed(double value, int decimals) { return QString::fromStdString(FixedText(value, decimals)); }
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

QStringList CheckRow(const ClassCheck& c) {
    return {QString::fromStdString(CheckItemText(c)), QString::fromStdString(CheckValueText(c)),
            QString::fromStdString(CheckLimitText(c)), QString::fromStdString(c.note),
            c.passed ? QStringLiteral("通过") : QStringLiteral("未通过")};
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
    const std::string text = OneInText(relative);
    return text == "-" ? QStringLiteral("—") : QString::fromStdString(text);
}

PrecisionSummary::PrecisionSummary(const QualityCheck& quality, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    heading_ = new QLabel;
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    layout->addWidget(heading_);

    sides_ = ReadOnlyTable(kSideHeader, this);
    sides_->setObjectName(QStringLiteral("sides"));
    layout->addWidget(sides_);
    weakest_ = new QLabel;
    weakest_->setObjectName(QStringLiteral("weakestSide"));
    layout->addWidget(weakest_);

    layout->addWidget(new QLabel(QStringLiteral("相对误差椭圆 (两个待定点座标差的误差椭圆)")));
    relative_ = ReadOnlyTable(kRelativeHeader, this);
    relative_->setObjectName(QStringLiteral("relativeEllipses"));
    layout->addWidget(relative_);

    closures_ = new QLabel;
    closures_->setObjectName(QStringLiteral("closures"));
    layout->addWidget(closures_);

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
    checks_ = ReadOnlyTable(kCheckHeader, this);
    checks_->setObjectName(QStringLiteral("checks"));
    layout->addWidget(checks_);
    notChecked_ = new QLabel;
    layout->addWidget(notChecked_);

    showCheck(quality);
    connect(classChoice_, &QComboBox::currentIndexChanged, this, &PrecisionSummary::chooseClass);
    // The sheet's 等级 box is the same choice: it shows here at once.
    connect(&OrderClassChoice::instance(), &OrderClassChoice::chosen, classChoice_,
            [this](const QString& name) {
                const int shown = classChoice_->findData(name);
                classChoice_->setCurrentIndex(shown > 0 ? shown : 0);
            });
}

void PrecisionSummary::showCheck(const QualityCheck& quality) {
    quality_ = quality;
    const FigureSummary& f = quality_.figure;
    heading_->setText(QStringLiteral("精度统计 (后验, m0 = %1 秒)").arg(Fixed(quality_.m0, 2)));

    std::vector<QStringList> sideRows;
    for (std::size_t i = 0; i < f.sides.size(); ++i) sideRows.push_back(SideRow(f.sides[i], i == f.weakest));
    const int weakest = static_cast<int>(f.weakest);
    FillReadOnlyTable(sides_, sideRows, {0}, [weakest](int r, int, QTableWidgetItem* item) {
        if (r == weakest) {
            QFont font = item->font();
            font.setBold(true);
            item->setFont(font);
        } else if (item->data(Qt::FontRole).isValid()) {
            item->setData(Qt::FontRole, QVariant());  // the weakest side of an earlier run
        }
    });
    weakest_->setText(WeakestText(f));

    std::vector<QStringList> relativeRows;
    for (const RelativeEllipse& e : f.relativeEllipses) relativeRows.push_back(RelativeRow(e));
    FillReadOnlyTable(relative_, relativeRows, {0});
    closures_->setText(ClosuresText(f));

    // The class chosen last, here or beside the sheet, checked on this run.
    const int chosen = classChoice_->findData(ChosenOrderClassName());
    {
        const QSignalBlocker quiet(classChoice_);
        classChoice_->setCurrentIndex(chosen > 0 ? chosen : 0);
    }
    chooseClass(classChoice_->currentIndex());
}

void PrecisionSummary::chooseClass(int index) {
    const QString name = classChoice_->itemData(index).toString();
    const OrderClass* c = name.isEmpty() ? nullptr : table_.Find(name.toStdString());
    if (c != nullptr) {
        chosen_ = *c;
        compliance_ = CheckOrderClass(quality_, *c);
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
    // The formula or clause reads as text; the verdict is bold, in its colour.
    FillReadOnlyTable(checks_, rows, {0, 3}, [this](int r, int c, QTableWidgetItem* item) {
        if (c != checks_->columnCount() - 1) return;
        item->setForeground(compliance_->checks[static_cast<std::size_t>(r)].passed ? kPassed : kFailed);
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
    });
    checks_->setVisible(compliance_.has_value());
    if (chosen_) {
        classSource_->setText(QString::fromStdString(chosen_->standard + " " + chosen_->clause));
        const QString kinds = QString::fromStdString(NotCheckedText(*compliance_));
        notChecked_->setText(kinds.isEmpty() ? QString() : QStringLiteral("本等级未规定, 不检核: ") + kinds);
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

}  // namespace korvanet
