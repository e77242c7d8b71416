// SPDX-License-Identifier: GPL-3.0-or-later
// Units as in adjust/field_reduction.h: direction and angle checks in arc
// seconds, distance checks in millimetres, the projection distortion in
// millimetres per kilometre.

#include "compute/field_check_texts.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "adjust/quadrilateral.h"
#include "core/display_text.h"

namespace korvanet {
namespace {

struct KindText {
    FieldCheckKind kind;
    std::string_view key;
    const char* name;
    const char* unit;
};

constexpr std::array<KindText, 9> kKinds = {{
    {FieldCheckKind::HalfRoundClosure, "half_round_closure", "半测回归零差", "″"},
    {FieldCheckKind::TwoCRange, "two_c_range", "2C 互差", "″"},
    {FieldCheckKind::SetSpread, "set_spread", "同一方向值各测回较差", "″"},
    {FieldCheckKind::HalfSetDifference, "half_set_difference", "半测回角值之差", "″"},
    {FieldCheckKind::AngleSetSpread, "angle_set_spread", "各测回角值之差", "″"},
    {FieldCheckKind::ReadingSpread, "reading_spread", "一测回读数较差", "mm"},
    {FieldCheckKind::DistanceSetSpread, "distance_set_spread", "单程各测回较差", "mm"},
    {FieldCheckKind::ForwardBack, "forward_back", "往返较差", "mm"},
    {FieldCheckKind::ProjectionDistortion, "projection_distortion", "投影长度变形", "mm/km"},
}};

const KindText& TextOf(FieldCheckKind kind) {
    for (const KindText& k : kKinds)
        if (k.kind == kind) return k;
    return kKinds.front();  // every kind is in the table
}

// The figure and its unit: seconds stick to their sign, millimetres stand apart.
std::string WithUnit(FieldCheckKind kind, const std::string& figure) {
    const std::string unit = TextOf(kind).unit;
    return unit == "″" ? figure + unit : figure + " " + unit;
}

constexpr int kDecimals = 1;  // every field value and limit is read to a tenth of its unit

// As many digits beyond the first as a failed check needs for its value and
// its limit to read apart.
int MoreDigits(const FieldCheck& check) {
    if (!check.limit || check.passed.value_or(true) || check.value == *check.limit) return 0;
    constexpr int kMost = 17;  // a double's digits
    for (int more = 0; more < kMost; ++more)
        if (FixedText(check.value, kDecimals + more) != FixedText(*check.limit, kDecimals + more))
            return more;
    return kMost;
}

}  // namespace

std::string_view FieldCheckKindKey(FieldCheckKind kind) { return TextOf(kind).key; }

std::string FieldCheckKindName(FieldCheckKind kind) { return TextOf(kind).name; }

std::string FieldCheckUnit(FieldCheckKind kind) { return TextOf(kind).unit; }

std::string FieldCheckFigure(const FieldCheck& check) {
    return FixedText(check.value, kDecimals + MoreDigits(check));
}

std::string FieldCheckValueText(const FieldCheck& check) {
    return WithUnit(check.kind, FieldCheckFigure(check));
}

std::string FieldCheckLimitText(const FieldCheck& check) {
    if (!check.limit) return "-";
    return "≤ " + WithUnit(check.kind, FixedText(*check.limit, kDecimals));
}

std::string FieldCheckVerdictText(const FieldCheck& check) {
    if (!check.passed) return "未检核";
    return *check.passed ? "合格" : "超限";
}

std::string FieldMissingText(const std::string& missing) {
    const auto after = [&](std::string_view head) -> std::string {
        return missing.starts_with(head) ? missing.substr(head.size()) : std::string();
    };
    std::string said;
    if (missing == "tolerance") {
        said = "测角中误差 (tolerance 行, 或选定等级的 m_β)";
    } else if (missing == "orientation") {
        said = "D 为待定点时的定向 (orient 行: T0 和 Q1)";
    } else if (const std::string point = after("coordinates "); !point.empty()) {
        said = point + " 点座标";
    } else if (missing == "approximate coordinates") {
        said = "高斯投影所需的近似座标 (A 点座标、全部观测角, 及 D 点座标或定向与 A-B 边)";
    } else if (const std::string point = after("station "); !point.empty()) {
        said = "测站 " + point + " 的方向观测";
    } else if (const std::string point = after("point "); !point.empty()) {
        said = point + " 点 (point 行)";
    } else if (const std::string point = after("height "); !point.empty()) {
        said = point + " 点高程";
    } else if (missing.starts_with("S(") && missing.ends_with(")")) {
        const int side = std::atoi(missing.c_str() + 2);
        said = "边长 " + missing;
        if (side >= 1 && side <= 6) {
            const auto& ends = quadrilateral::kSideEnds[static_cast<std::size_t>(side)];
            said += std::string(" ") + quadrilateral::kPointLetters[ends.from] + "-" +
                    quadrilateral::kPointLetters[ends.to];
        }
    } else if (missing.size() > 3 && missing[1] == '(' && missing.back() == ')') {
        said = "测站 " + missing.substr(0, 1) + " 的 ∠" + missing.substr(2, missing.size() - 3);
    } else {
        return missing;
    }
    return said + " (" + missing + ")";
}

}  // namespace korvanet
