// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/blunder_advice_texts.h"

#include <cmath>

#include "core/display_text.h"

namespace korvanet {
namespace {

std::string Name(const SnoopedObservation& s) {
    ObservationCheck o;
    o.kind = s.kind;
    o.index = s.index;
    return ObservationName(o);
}

}  // namespace

std::string M0WithoutExplanation() {
    return "去掉后 m0: 不用该观测时全图的后验单位权中误差 (秒), 去掉后 m0 降低最多的观测最可疑; "
           "r < 0.05 的观测无此值。仅供参考, 成果仍为全部观测的平差结果。";
}

std::string M0WithoutText(const std::optional<double>& m0) { return m0 ? FixedText(*m0, 2) : "—"; }

std::vector<std::string> SnoopingLines(const std::vector<SnoopedObservation>& snooping) {
    std::vector<std::string> lines = {
        "数据探测 (逐次剔除): 在 r ≥ 0.05 的观测中去掉 |w| 最大且超过 3.29 的一个, 重新平差后再检验, "
        "直到没有超限或不再留有多余观测。仅为建议, 成果仍为全部观测的平差结果。"};
    if (snooping.empty()) lines.push_back("没有 |w| 超过 3.29 的观测, 无需剔除。");
    for (std::size_t i = 0; i < snooping.size(); ++i) {
        const SnoopedObservation& s = snooping[i];
        lines.push_back(std::to_string(i + 1) + ". 去掉 " + Name(s) + ": 去掉时 w = " + FixedText(s.w, 2) +
                        ", 去掉后 m0 = " + FixedText(s.m0After, 2) + " 秒");
    }
    return lines;
}

std::vector<std::string> VarianceLines(const VarianceEstimate& estimate) {
    std::vector<std::string> lines = {
        "方差分量估计: 由全部观测的改正数迭代估计角度组 (含 Q1) 与边长组的方差因子 (估计方差 / 先验方差), "
        "检查两组的先验权是否相称; 含粗差时先看上面的数据探测。仅为建议, 不改变平差, "
        "成果仍为全部观测的平差结果。"};
    if (!estimate.components) {
        lines.push_back(estimate.reason);
        return lines;
    }
    const VarianceComponents& c = *estimate.components;
    lines.push_back("测角: 方差因子 " + FixedText(c.angles.factor, 3) + ", 多余观测分量 " +
                    FixedText(c.angles.redundancy, 2) + ", 估计测角中误差 " + FixedText(c.angleSigma, 2) +
                    " 秒");
    lines.push_back("测边: 方差因子 " + FixedText(c.sides.factor, 4) + ", 多余观测分量 " +
                    FixedText(c.sides.redundancy, 2) + ", 先验边长中误差应乘以 " + FixedText(c.sideScale, 3));
    // How much better (or worse) the sides fit than their weights assume.
    std::string meaning = c.sideScale <= 1
                              ? "边长的符合程度约比先验权所设想的好 " + FixedText(1 / c.sideScale, 1) + " 倍"
                              : "边长的符合程度约比先验权所设想的差 " + FixedText(c.sideScale, 1) + " 倍";
    if (c.sideRelative) meaning += "; 按估计值, 测边相对中误差为 " + OneInText(*c.sideRelative);
    // A share of about one redundancy leaves a variance factor as uncertain
    // as chi2(1): its relative mean error is some 140 %.
    if (c.sides.redundancy < 2) meaning += "; 边长组的多余观测分量不足 2, 只可看作量级";
    lines.push_back(meaning + " (迭代 " + std::to_string(c.iterations) + " 次)。");
    return lines;
}

}  // namespace korvanet
