// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The surveyor's choice of an order class, kept between runs of the program:
// the table of classes (the shipped file beside the program, and the user's
// own file in the configuration folder), and the name last chosen, or none.
// The sheet's 等级 box and the quality window's are two views of this one
// choice: each follows the other at once.

#include <QObject>
#include <QString>
#include <optional>

#include "compute/order_class_table.h"

namespace korvanet {

// The table, or the message why it could not be read.
struct LoadedOrderClasses {
    OrderClassTable table;
    QString problem;  // empty when the table was read
};
LoadedOrderClasses LoadOrderClasses();

// The name of the chosen class; empty for none (the default).
QString ChosenOrderClassName();
// Keeps `name` and, when it is another class than before, tells every box
// through OrderClassChoice::chosen.
void SetChosenOrderClassName(const QString& name);

// Says when the choice changed, wherever it was made.
class OrderClassChoice : public QObject {
    Q_OBJECT
public:
    static OrderClassChoice& instance();

signals:
    void chosen(const QString& name);
};

// The chosen class from `table`, when one is chosen and the table has it.
std::optional<OrderClass> ChosenOrderClass(const OrderClassTable& table);

}  // namespace korvanet
