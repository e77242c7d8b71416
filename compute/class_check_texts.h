// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a class check is written, in every document, window and output: its
// key (the name JSON gives it), its Chinese name, the item as a row names
// it, and its value and limit texts.  One table, so that the report, the
// batch tool and the windows never word or round a check differently.

#include <string>
#include <string_view>

#include "adjust/order_classes.h"

namespace korvanet {

// "triangle_closure", "ferrero", "expected_closure", "planned_angle_error",
// "smallest_angle", "weakest_side", "measured_sides".
std::string_view CheckKindKey(CheckKind kind);

// What the kind judges: "三角形闭合差", "最小角" ...
std::string CheckKindName(CheckKind kind);

// The check as its row names it: "三角形 ABC 闭合差", "最小角 B(3)" ...
std::string CheckItemText(const ClassCheck& check);

// The value with its unit: "2.51″", "31°12′05″", "1/93371".  A check that
// fails shows as many more digits as it takes for its value never to read
// as its limit (29.9999° is 29°59′59.6″ against 30°00′00″, not 30°00′00″).
std::string CheckValueText(const ClassCheck& check);

// The limit with the relation the value must keep to it: "±9.00″",
// "≤ 2.50″", "≥ 30°00′00″", "≤ 1/100000".
std::string CheckLimitText(const ClassCheck& check);

// The kinds a class gives no limit for, by name, joined by "、"; empty when
// every kind is checked.
std::string NotCheckedText(const ClassCompliance& compliance);

}  // namespace korvanet
