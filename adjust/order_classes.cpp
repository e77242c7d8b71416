// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in order_classes.h; a closure passes when |W| <= limit, an
// angle mean error and a relative mean error when value <= limit, the
// smallest angle when it is at least the limit.
//
// The triangles of a braced quadrilateral: each closes three angles, those
// at its corners (at a corner split by a diagonal, the two observed angles
// together are one angle between the two directions of the triangle's
// sides, as a figure observed by directions gives it).  So a closure sums
// three angles of mean error sigma0, m_W = sqrt(3) sigma0, and the standard
// takes twice the mean error as the limit (GB 50026 1.0.3).

#include "adjust/order_classes.h"

#include <algorithm>
#include <cmath>

namespace korvanet {
namespace {

struct Checks {
    ClassCompliance result;
    std::string source;

    void Add(CheckKind kind, std::string item, double value, double limit, bool passed, std::string note) {
        result.checks.push_back(
            {kind, std::move(item), value, limit, passed, std::move(note) + "; " + source});
    }
    void NotChecked(CheckKind kind) { result.notChecked.push_back(kind); }
};

void ObservedClosures(const FigureSummary& f, const OrderClass& c, Checks& out) {
    if (c.triangleClosure) {
        for (const TriangleClosure& t : f.triangles)
            out.Add(CheckKind::TriangleClosure, std::string(t.name), t.closure, *c.triangleClosure,
                    std::fabs(t.closure) <= *c.triangleClosure, "W = 三角形三内角观测值之和 - 180°");
    } else {
        out.NotChecked(CheckKind::TriangleClosure);
    }
    if (c.angleMeanError) {
        out.Add(CheckKind::Ferrero, "m_β", f.ferrero, *c.angleMeanError, f.ferrero <= *c.angleMeanError,
                "菲列罗公式 m_β = √([WW] / 3n), n = 4: 每个三角形闭合三个内角 (按方向观测, "
                "对角线分开的两个角合为一个角), 故为 3n");
    } else {
        out.NotChecked(CheckKind::Ferrero);
    }
}

void PlannedClosures(double sigma0, const OrderClass& c, Checks& out) {
    if (c.triangleClosure) {
        const double expected = 2 * std::sqrt(3.0) * sigma0;
        out.Add(CheckKind::ExpectedClosure, "2√3 σ0", expected, *c.triangleClosure,
                expected <= *c.triangleClosure,
                "每个三角形闭合三个内角 (按方向观测, 每个角由两个方向得出), 闭合差中误差 m_W = √3 σ0, "
                "以两倍中误差为限 (GB 50026 第 1.0.3 条): 2√3 σ0 不应大于三角形最大闭合差");
    } else {
        out.NotChecked(CheckKind::ExpectedClosure);
    }
    if (c.angleMeanError) {
        // The tolerance is kept in single precision: compared in it, a planned
        // sigma0 typed as the class's m_beta is that m_beta.
        out.Add(CheckKind::PlannedAngleError, "σ0", sigma0, *c.angleMeanError,
                static_cast<float>(sigma0) <= static_cast<float>(*c.angleMeanError),
                "计划的测角中误差 σ0 不应大于该等级的测角中误差 m_β");
    } else {
        out.NotChecked(CheckKind::PlannedAngleError);
    }
}

void FigureChecks(const FigureSummary& f, const OrderClass& c, bool design, Checks& out) {
    if (c.smallestAngle) {
        const double angle = f.smallestAngleDegrees;
        const std::string item = "B(" + std::to_string(f.smallestAngle) + ")";
        // The exception is for a single angle where it cannot be helped: a
        // second angle below the rule fails the figure.
        int below = 0;
        for (int i = 1; i <= 8; ++i) below += f.angles[i] < *c.smallestAngle ? 1 : 0;
        if (angle >= *c.smallestAngle) {
            out.Add(CheckKind::SmallestAngle, item, angle, *c.smallestAngle, true,
                    "三角形内角不应小于规定值");
        } else if (below > 1) {
            out.Add(CheckKind::SmallestAngle, item, angle, *c.smallestAngle, false,
                    std::to_string(below) + " 个角小于规定值, 只有个别角可以放宽");
        } else if (c.smallestAngleException && angle >= *c.smallestAngleException) {
            out.Add(CheckKind::SmallestAngle, item, angle, *c.smallestAngleException, true,
                    "小于规定值, 按个别角受地形限制时的例外放宽检核");
        } else {
            out.Add(CheckKind::SmallestAngle, item, angle,
                    c.smallestAngleException.value_or(*c.smallestAngle), false, "三角形内角小于规定的最小角");
        }
    } else {
        out.NotChecked(CheckKind::SmallestAngle);
    }
    if (c.weakestSide && !f.sides.empty()) {
        // The weakest side of a design is the one its adjustment will have.
        const SidePrecision& s = f.Weakest();
        out.Add(CheckKind::WeakestSide, "S(" + std::to_string(s.index) + ")", s.relative, *c.weakestSide,
                s.relative <= *c.weakestSide,
                design ? "最弱边边长相对中误差 σs / s (精度估算)" : "最弱边边长相对中误差 σs / s (平差后)");
    } else {
        out.NotChecked(CheckKind::WeakestSide);
    }
    if (c.measuredSides && f.shortestSideLength > 0) {
        const double relative = f.aprioriSideMeanError / (f.shortestSideLength * 1000);
        out.Add(CheckKind::MeasuredSides, "S(" + std::to_string(f.shortestSide) + ")", relative,
                *c.measuredSides, relative <= *c.measuredSides, "测边相对中误差: 先验边长中误差 ms / 最短边");
    } else {
        out.NotChecked(CheckKind::MeasuredSides);
    }
}

}  // namespace

ClassCompliance CheckOrderClass(const QualityCheck& q, const OrderClass& c) {
    Checks out;
    out.source = c.standard + (c.clause.empty() ? "" : " " + c.clause);
    // A design's observations are made without error: its closures are
    // zero and say nothing; its plan does.
    const bool design = q.scale == PrecisionScale::APriori;
    if (design)
        PlannedClosures(q.tolerance, c, out);
    else
        ObservedClosures(q.figure, c, out);
    FigureChecks(q.figure, c, design, out);
    out.result.compliant = std::all_of(out.result.checks.begin(), out.result.checks.end(),
                                       [](const ClassCheck& check) { return check.passed; });
    return std::move(out.result);
}

}  // namespace korvanet
