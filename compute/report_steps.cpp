// SPDX-License-Identifier: GPL-3.0-or-later
// Coefficients and normal equations with four decimals, correlates with six
// (they are small where the misclosures are), corrections and checks with
// four: enough to repeat the computation by hand and see it close.

#include "compute/report_steps.h"

#include <string>

#include "core/display_text.h"

namespace korvanet {
namespace {

std::string ColumnName(int o) {
    return o <= 8 ? "B(" + std::to_string(o) + ")" : "S(" + std::to_string(o - 8) + ")";
}

const char* ColumnUnit(int o) { return o <= 8 ? "″" : "mm"; }

std::string Row(int r) { return "w(" + std::to_string(r) + ")"; }

DocumentTable ConditionTable(const ComputationSteps& s) {
    DocumentTable t;
    t.name = "条件方程";
    t.matrix = true;
    t.columns.push_back({"条件", ""});
    for (int o : s.columns) t.columns.push_back({"v " + ColumnName(o), ""});
    t.columns.push_back({"w", ""});
    t.columns.push_back({"单位", ""});
    for (const ConditionStep& c : s.conditions) {
        std::vector<std::string> row = {Row(c.row)};
        for (double a : c.coefficients) row.push_back(FixedText(a, 4));
        row.push_back(FixedText(c.w, 4));
        row.push_back(c.seconds ? "″" : "mm");
        t.rows.push_back(std::move(row));
    }
    return t;
}

DocumentTable NormalTable(const ComputationSteps& s) {
    DocumentTable t;
    t.name = "法方程";
    t.matrix = true;
    t.columns.push_back({"N", ""});
    for (int r : s.keptRows) t.columns.push_back({"k(" + std::to_string(r) + ")", ""});
    t.columns.push_back({"-w", ""});
    for (std::size_t i = 0; i < s.keptRows.size(); ++i) {
        const int r = s.keptRows[i];
        std::vector<std::string> row = {Row(r)};
        for (double n : s.N[i]) row.push_back(FixedText(n, 4));
        row.push_back(FixedText(-s.conditions[static_cast<std::size_t>(r - 1)].w, 4));
        t.rows.push_back(std::move(row));
    }
    return t;
}

DocumentTable CorrelateTable(const ComputationSteps& s) {
    DocumentTable t;
    t.name = "联系数";
    t.columns = {{"联系数", ""}, {"k", ""}};
    for (std::size_t i = 0; i < s.keptRows.size(); ++i)
        t.rows.push_back({"k(" + std::to_string(s.keptRows[i]) + ")", FixedText(s.k[i], 6)});
    for (const ConditionStep& c : s.conditions)
        if (!c.kept) t.rows.push_back({"k(" + std::to_string(c.row) + ")", "0 (不参加法方程)"});
    return t;
}

DocumentTable CorrectionTable(const ComputationSteps& s) {
    DocumentTable t;
    t.name = "改正数";
    t.columns = {{"观测值", ""},   {"权倒数 q", ""}, {"改正数 v", ""}, {"三角形闭合差的分配", ""},
                 {"总改正数", ""}, {"单位", ""}};
    for (int o : s.columns)
        t.rows.push_back({ColumnName(o), FixedText(s.q[o], 6), FixedText(s.v[o], 4),
                          FixedText(s.spread[o], 4), FixedText(s.spread[o] + s.v[o], 4), ColumnUnit(o)});
    return t;
}

DocumentTable CheckTable(const ComputationSteps& s) {
    DocumentTable t;
    t.name = "检核";
    t.columns = {{"条件", ""}, {"A v + w", ""}, {"由平差值重算的闭合差", ""}, {"单位", ""}};
    for (const ConditionStep& c : s.conditions)
        t.rows.push_back({Row(c.row), FixedText(c.linearCheck, 4), FixedText(c.adjustedMisclosure, 4),
                          c.seconds ? "″" : "mm"});
    return t;
}

}  // namespace

DocumentSection StepsSection(const ComputationSteps& s) {
    DocumentSection section{"计算过程", {}};
    auto say = [&](std::string text) { section.blocks.push_back(ParagraphBlock(std::move(text))); };
    auto table = [&](DocumentTable t) { section.blocks.push_back(TableBlock(std::move(t))); };
    say("1. 三角形闭合差按四个角平均分配后, 列出条件方程 A v + w = 0。条件 w(1) 为图形条件 (以秒计), "
        "w(2)…w(9) 为边角条件, 以毫米计 (角的系数单位 mm/″, 边的系数单位 mm/mm)。w(7) 和 w(9) "
        "由其余条件推出, "
        "只用于检核, 不参加法方程。");
    table(ConditionTable(s));
    say("2. 法方程 N k = -w, 其中 N = A Q Aᵀ (Q 为权倒数的对角阵, 角的权倒数为 1, 边的权倒数为 (ms/σ0)²):");
    table(NormalTable(s));
    say("3. 解法方程得联系数 k:");
    table(CorrelateTable(s));
    say("4. 改正数 v = Q Aᵀ k; 角的总改正数还要加上第 1 步预先分配的三角形闭合差 (-W/4), "
        "即观测值表中的改正数:");
    table(CorrectionTable(s));
    say("5. 检核: 把改正数代回条件方程, A v + w 应为零 (参加法方程的条件只差计算的舍入, 由其余条件推出的 "
        "w(7), "
        "w(9) 还差线性化略去的微小部分); 由平差后的观测值重新计算各闭合差, 剩下的是线性化略去的部分。"
        "平差后两个三角形的闭合差为 " +
        FixedText(s.triangleClosures[0], 4) + "″ 和 " + FixedText(s.triangleClosures[1], 4) + "″。");
    table(CheckTable(s));
    return section;
}

}  // namespace korvanet
