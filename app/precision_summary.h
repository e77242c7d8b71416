// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quality window's sections for the order class: 精度统计 (the sides
// with their mean error, 1/N and azimuth mean error, the weakest side, the
// relative ellipses, the triangle closures with Ferrero's angle mean error
// and the smallest angle) and, with a class chosen in its 等级 box,
// 规范检核: each check with its value, its limit, the formula or clause and
// passed or failed in colour.  The choice is kept for the next run of the
// program; it changes nothing in the adjustment.

#include <QString>
#include <QWidget>
#include <optional>
#include <string>

#include "adjust/order_classes.h"
#include "adjust/quality_check.h"
#include "compute/order_class_table.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace korvanet {

class PrecisionSummary : public QWidget {
    Q_OBJECT
public:
    explicit PrecisionSummary(const QualityCheck& quality, QWidget* parent = nullptr);

    // Shows another completed run in the same sections (the sheet was
    // edited): the tables are filled again in place and the class chosen is
    // checked again; complianceChanged follows.
    void showCheck(const QualityCheck& quality);

    QComboBox* classChoice() const { return classChoice_; }
    QTableWidget* sidesTable() const { return sides_; }
    QTableWidget* relativeEllipsesTable() const { return relative_; }
    QTableWidget* checksTable() const { return checks_; }
    // "符合 四等 的要求" / "不符合 …", empty without a class.
    QString complianceText() const;
    // The class chosen in the 等级 box, or none; where the class table came from.
    const OrderClass* chosenClass() const { return chosen_ ? &*chosen_ : nullptr; }
    const std::string& classSource() const { return table_.source; }

signals:
    void complianceChanged(const QString& text);

private slots:
    void chooseClass(int index);

private:
    void fillChecks();

    QualityCheck quality_;
    OrderClassTable table_;
    std::optional<OrderClass> chosen_;
    std::optional<ClassCompliance> compliance_;
    QLabel* heading_ = nullptr;
    QLabel* weakest_ = nullptr;
    QLabel* closures_ = nullptr;
    QComboBox* classChoice_ = nullptr;
    QLabel* classSource_ = nullptr;
    QLabel* notChecked_ = nullptr;
    QTableWidget* sides_ = nullptr;
    QTableWidget* relative_ = nullptr;
    QTableWidget* checks_ = nullptr;
};

// A relative mean error as the standards write it: 1/N, N a whole number.
QString OneIn(double relative);

}  // namespace korvanet
