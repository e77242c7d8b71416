// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in design_class_checks.h.

#include "adjust/design_class_checks.h"

#include <algorithm>
#include <cmath>

namespace korvanet {

ClassCompliance CheckDesignOrderClass(const FigureSummary& figure, const OrderClass& c, double sigma0) {
    ClassCompliance result = CheckOrderClass(figure, c);
    const auto observedOnly = [](std::string_view kind) {
        return kind == "triangle_closure" || kind == "ferrero";
    };
    std::erase_if(result.checks, [&](const ClassCheck& check) { return observedOnly(check.kind); });
    std::erase_if(result.notChecked, observedOnly);
    for (ClassCheck& check : result.checks) {
        // The weakest side of a design is the one its adjustment will have.
        const std::string adjusted = "(平差后)";
        if (const auto at = check.note.find(adjusted); at != std::string::npos)
            check.note.replace(at, adjusted.size(), "(精度估算)");
    }
    if (c.triangleClosure) {
        // Each triangle of the figure sums four observed angles: m_W = sqrt(4) sigma0.
        const double expected = 2 * sigma0;
        const std::string source = c.standard + (c.clause.empty() ? "" : " " + c.clause);
        result.checks.insert(
            result.checks.begin(),
            {"expected_closure", "2σ0", expected, *c.triangleClosure, expected <= *c.triangleClosure,
             "期望的三角形闭合差中误差 m_W = √4 σ0 = 2σ0 (每个三角形四个观测角); " + source});
    } else {
        result.notChecked.insert(result.notChecked.begin(), "expected_closure");
    }
    result.compliant = std::all_of(result.checks.begin(), result.checks.end(),
                                   [](const ClassCheck& check) { return check.passed; });
    return result;
}

}  // namespace korvanet
