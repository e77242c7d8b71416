// SPDX-License-Identifier: GPL-3.0-or-later
// Units as in adjust/order_classes.h: closures and angle mean errors in arc
// seconds, angles in decimal degrees, relative mean errors as fractions.

#include "compute/class_check_texts.h"

#include <array>
#include <cmath>

#include "core/display_text.h"

namespace korvanet {
namespace {

enum class Figure { Seconds, Angle, OneIn };

struct KindText {
    CheckKind kind;
    std::string_view key;
    const char* name;
    const char* before;  // the item text: before + item + after
    const char* after;
    Figure figure;
    const char* relation;  // before the limit
};

constexpr std::array<KindText, 7> kKinds = {{
    {CheckKind::TriangleClosure, "triangle_closure", "三角形闭合差", "三角形 ", " 闭合差", Figure::Seconds,
     "±"},
    {CheckKind::Ferrero, "ferrero", "测角中误差", "测角中误差 m_β", "", Figure::Seconds, "≤ "},
    {CheckKind::ExpectedClosure, "expected_closure", "期望三角形闭合差", "期望三角形闭合差 2√3 σ0", "",
     Figure::Seconds, "≤ "},
    {CheckKind::PlannedAngleError, "planned_angle_error", "计划测角中误差", "计划测角中误差 σ0", "",
     Figure::Seconds, "≤ "},
    {CheckKind::SmallestAngle, "smallest_angle", "最小角", "最小角 ", "", Figure::Angle, "≥ "},
    {CheckKind::WeakestSide, "weakest_side", "最弱边相对中误差", "最弱边 ", " 相对中误差", Figure::OneIn,
     "≤ "},
    {CheckKind::MeasuredSides, "measured_sides", "测边相对中误差", "测边相对中误差 (ms / 最短边 ", ")",
     Figure::OneIn, "≤ "},
}};

const KindText& TextOf(CheckKind kind) {
    for (const KindText& k : kKinds)
        if (k.kind == kind) return k;
    return kKinds.front();  // every kind is in the table
}

// The kinds whose item is the kind itself, not a triangle, angle or side.
bool ItemIsTheKind(CheckKind kind) {
    return kind == CheckKind::Ferrero || kind == CheckKind::ExpectedClosure ||
           kind == CheckKind::PlannedAngleError;
}

// The figure with `more` digits beyond those it is shown with at first.
std::string FigureText(Figure figure, double value, int more) {
    switch (figure) {
        case Figure::Seconds:
            return FixedText(value, 2 + more) + "″";
        case Figure::Angle:
            return DegreesMinutesSecondsText(value, more);
        case Figure::OneIn:
            if (!(value > 0) || !std::isfinite(value)) return "-";
            return "1/" + FixedText(1 / value, more);
    }
    return "-";
}

// As many digits beyond the first as a failed check needs for its value
// and its limit to read apart (a closure by its size: -9.004 against ±9).
int MoreDigits(const ClassCheck& check) {
    if (check.passed) return 0;
    const Figure figure = TextOf(check.kind).figure;
    const double value = std::fabs(check.value);
    if (value == check.limit) return 0;
    // Both at the same digits: 9.000″ reads as 9.00″.
    constexpr int kMost = 17;  // a double's digits
    for (int more = 0; more < kMost; ++more)
        if (FigureText(figure, value, more) != FigureText(figure, check.limit, more)) return more;
    return kMost;
}

}  // namespace

std::string_view CheckKindKey(CheckKind kind) { return TextOf(kind).key; }

std::string CheckKindName(CheckKind kind) { return TextOf(kind).name; }

std::string CheckItemText(const ClassCheck& check) {
    const KindText& k = TextOf(check.kind);
    if (ItemIsTheKind(check.kind)) return k.before;
    return k.before + check.item + k.after;
}

std::string CheckValueText(const ClassCheck& check) {
    return FigureText(TextOf(check.kind).figure, check.value, MoreDigits(check));
}

std::string CheckLimitText(const ClassCheck& check) {
    const KindText& k = TextOf(check.kind);
    return k.relation + FigureText(k.figure, check.limit, 0);
}

std::string NotCheckedText(const ClassCompliance& compliance) {
    std::string names;
    for (CheckKind kind : compliance.notChecked) names += (names.empty() ? "" : "、") + CheckKindName(kind);
    return names;
}

}  // namespace korvanet
