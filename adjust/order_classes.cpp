// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in order_classes.h; a closure passes when |W| <= limit, an
// angle mean error and a relative mean error when value <= limit, the
// smallest angle when it is at least the limit.

#include "adjust/order_classes.h"

#include <cmath>

namespace korvanet {

ClassCompliance CheckOrderClass(const FigureSummary& f, const OrderClass& c) {
    ClassCompliance result;
    auto add = [&](std::string_view kind, std::string item, double value, double limit, bool passed,
                   std::string note) {
        result.checks.push_back({kind, std::move(item), value, limit, passed, std::move(note)});
    };
    const std::string source = c.standard + (c.clause.empty() ? "" : " " + c.clause);

    if (c.triangleClosure) {
        for (const TriangleClosure& t : f.triangles)
            add("triangle_closure", std::string(t.name), t.closure, *c.triangleClosure,
                std::fabs(t.closure) <= *c.triangleClosure, "W = 三角形三内角观测值之和 - 180°; " + source);
    } else {
        result.notChecked.push_back("triangle_closure");
    }
    if (c.angleMeanError) {
        add("ferrero", "m_β", f.ferrero, *c.angleMeanError, f.ferrero <= *c.angleMeanError,
            "菲列罗公式 m_β = √([WW] / 3n), n = 4; " + source);
    } else {
        result.notChecked.push_back("ferrero");
    }
    if (c.smallestAngle) {
        const double angle = f.smallestAngleDegrees;
        const std::string item = "B(" + std::to_string(f.smallestAngle) + ")";
        // The exception is for a single angle where it cannot be helped: a
        // second angle below the rule fails the figure.
        int below = 0;
        for (int i = 1; i <= 8; ++i) below += f.angles[i] < *c.smallestAngle ? 1 : 0;
        if (angle >= *c.smallestAngle) {
            add("smallest_angle", item, angle, *c.smallestAngle, true, "三角形内角不应小于规定值; " + source);
        } else if (below > 1) {
            add("smallest_angle", item, angle, *c.smallestAngle, false,
                std::to_string(below) + " 个角小于规定值, 只有个别角可以放宽; " + source);
        } else if (c.smallestAngleException && angle >= *c.smallestAngleException) {
            add("smallest_angle", item, angle, *c.smallestAngleException, true,
                "小于规定值, 按个别角受地形限制时的例外放宽检核; " + source);
        } else {
            add("smallest_angle", item, angle, c.smallestAngleException.value_or(*c.smallestAngle), false,
                "三角形内角小于规定的最小角; " + source);
        }
    } else {
        result.notChecked.push_back("smallest_angle");
    }
    if (c.weakestSide && !f.sides.empty()) {
        const SidePrecision& s = f.Weakest();
        add("weakest_side", "S(" + std::to_string(s.index) + ")", s.relative, *c.weakestSide,
            s.relative <= *c.weakestSide, "最弱边边长相对中误差 σs / s (平差后); " + source);
    } else {
        result.notChecked.push_back("weakest_side");
    }
    if (c.measuredSides && f.shortestSideLength > 0) {
        const double relative = f.aprioriSideMeanError / (f.shortestSideLength * 1000);
        add("measured_sides", "S(" + std::to_string(f.shortestSide) + ")", relative, *c.measuredSides,
            relative <= *c.measuredSides, "测边相对中误差: 先验边长中误差 ms / 最短边; " + source);
    } else {
        result.notChecked.push_back("measured_sides");
    }
    result.compliant = true;
    for (const ClassCheck& check : result.checks) result.compliant = result.compliant && check.passed;
    return result;
}

}  // namespace korvanet
