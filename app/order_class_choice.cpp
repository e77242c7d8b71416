// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/order_class_choice.h"

#include <QCoreApplication>

#include "app/program_settings.h"
#include "core/korvanet_error.h"

namespace korvanet {
namespace {

const QString kKey = QStringLiteral("quality/orderClass");

}  // namespace

LoadedOrderClasses LoadOrderClasses() {
    LoadedOrderClasses loaded;
    try {
        loaded.table = LoadOrderClassTable(
            ShippedOrderClassesPath(QCoreApplication::applicationFilePath().toStdString()),
            UserOrderClassesPath());
    } catch (const KorvanetError& e) {
        loaded.problem = QString::fromStdString(e.what());
    }
    return loaded;
}

QString ChosenOrderClassName() { return ProgramSettings().value(kKey).toString(); }

void SetChosenOrderClassName(const QString& name) {
    const bool changed = name != ChosenOrderClassName();
    {
        QSettings settings = ProgramSettings();
        if (name.isEmpty()) {
            settings.remove(kKey);
        } else {
            settings.setValue(kKey, name);
        }
    }
    if (changed) emit OrderClassChoice::instance().chosen(name);
}

OrderClassChoice& OrderClassChoice::instance() {
    static OrderClassChoice choice;
    return choice;
}

std::optional<OrderClass> ChosenOrderClass(const OrderClassTable& table) {
    const QString name = ChosenOrderClassName();
    if (name.isEmpty()) return std::nullopt;
    const OrderClass* c = table.Find(name.toStdString());
    if (c == nullptr) return std::nullopt;
    return *c;
}

}  // namespace korvanet
