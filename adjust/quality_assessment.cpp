// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: sigma0 = the entered tolerance (arc seconds), m0 the a-posteriori
// mean error of unit weight (the record's single value); observations
// 0 = orientation angle, 1..8 = angles, 9..14 = sides; residuals in arc
// seconds and millimetres; w(2)..w(9) kept in metres and checked in
// millimetres, as the window shows them.

#include "adjust/quality_assessment.h"

#include <cmath>
#include <string>

#include "adjust/figure_assessment.h"
#include "adjust/quality_cofactors.h"
#include "adjust/quality_statistics.h"
#include "core/number_text.h"

namespace korvanet {
namespace {

// The angle's residual is its correction in the adjustment plus its share of
// the triangle misclosure, which closed the triangle before the adjustment.
double AngleResidual(const SurveyState& state, const QualityInputs& in, int i) {
    const double triangleW = state.TriangleW[i <= 4 ? 1 : 2];
    return in.v[i] - triangleW / 4;
}

ObservationCheck Observation(ObservationKind kind, int index, double observed, double adjusted,
                             double residual, double cofactor, double q, double sigma0) {
    ObservationCheck o;
    o.kind = kind;
    o.index = index;
    o.observed = observed;
    o.adjusted = adjusted;
    o.residual = residual;
    o.cofactor = cofactor;
    o.redundancy = q > 0 ? cofactor / q : 0;
    o.w = BaardaW(residual, cofactor, q, sigma0);
    return o;
}

std::vector<ObservationCheck> Observations(const SurveyState& state, const QualityInputs& in,
                                           const ConditionCofactors& cofactors) {
    std::vector<ObservationCheck> list;
    list.reserve(kLastObservation + 1);
    const double sigma0 = in.tolerance;
    const double q0 = in.q[0];
    if (in.d == PointD::NotKnown && q0 != 0) {
        // Q1 appears in no condition: it alone orients the figure, its
        // residual and its redundancy are zero and it has no w.
        double v0 = 0;
        for (int j = 1; j <= kLastCondition; ++j) v0 += state.k[j] * in.A[j][0] * q0;
        list.push_back(Observation(ObservationKind::Orientation, 0, in.orientationAngle,
                                   in.orientationAngle + v0 / 3600, v0, cofactors.ResidualCofactor(0), q0,
                                   sigma0));
    }
    for (int i = 1; i <= 8; ++i) {
        list.push_back(Observation(ObservationKind::Angle, i, in.observedAngle[i], state.Angle[i],
                                   AngleResidual(state, in, i), cofactors.ResidualCofactor(i), in.q[i],
                                   sigma0));
    }
    for (int o = 9; o <= in.range.last; ++o) {
        const int i = o - 8;
        list.push_back(Observation(ObservationKind::Side, i, in.observedSide[i], state.Side[i], in.v[o],
                                   cofactors.ResidualCofactor(o), in.q[o], sigma0));
    }
    return list;
}

// T = [pvv] / sigma0^2, the sides weighted by the double reciprocal weight as
// in the mean error of unit weight.
GlobalTest GlobalModelTest(const std::vector<ObservationCheck>& observations, const QualityInputs& in) {
    double pvv = 0;
    for (const ObservationCheck& o : observations) {
        const double q = o.kind == ObservationKind::Side    ? in.sideReciprocalWeight
                         : o.kind == ObservationKind::Angle ? 1.0
                                                            : static_cast<double>(in.q[0]);
        pvv += o.residual * o.residual / q;
    }
    GlobalTest t;
    const double sigma0 = in.tolerance;
    t.statistic = pvv / (sigma0 * sigma0);
    t.passed = t.statistic <= t.critical;
    return t;
}

std::vector<PointCheck> Points(const SurveyState& state, const QualityInputs& in,
                               const ConditionCofactors& cofactors, double m0) {
    std::vector<PointCheck> points(4);
    for (int p = 0; p < 4; ++p) {
        points[p].point = p;
        points[p].name = state.PointNames.size() > static_cast<std::size_t>(p) ? state.PointNames[p] : "";
        points[p].x = state.X[p];
        points[p].y = state.Y[p];
    }
    points[0].known = true;
    // B and C: the variances are the weight reciprocals of the run, the
    // covariance the same formula with the weight functions of x and y together.
    points[1].precision = PrecisionFromCofactors(state.InvPxB, state.InvPyB,
                                                 cofactors.FunctionCofactor(in.A[10], in.A[11]), m0);
    points[2].precision = PrecisionFromCofactors(state.InvPxC, state.InvPyC,
                                                 cofactors.FunctionCofactor(in.A[12], in.A[13]), m0);
    if (in.d == PointD::Known) {
        // The known D as entered; the record's X(3), Y(3) are D reached over B and C.
        points[3].known = true;
        points[3].x = ReadNumber(state.xd).value;
        points[3].y = ReadNumber(state.yd).value;
    } else {
        const auto& [fx, fy] = in.dFunctions;
        const double qxx = cofactors.FunctionCofactor(fx, fx);
        const double qyy = cofactors.FunctionCofactor(fy, fy);
        if (qxx >= 0 && qyy >= 0) {
            points[3].precision = PrecisionFromCofactors(qxx, qyy, cofactors.FunctionCofactor(fx, fy), m0);
        }
    }
    return points;
}

std::vector<MisclosureCheck> Misclosures(const SurveyState& state, const QualityInputs& in,
                                         const ConditionCofactors& cofactors) {
    const double sigma0 = in.tolerance;
    std::vector<MisclosureCheck> list;
    list.reserve(2 + kLastCondition);
    // A triangle closure sums four angles of unit weight: m_w = sqrt(4) sigma0.
    list.push_back(MisclosureWithLimit(MisclosureKind::Triangle, 1, true, state.TriangleW[1], 2 * sigma0));
    list.push_back(MisclosureWithLimit(MisclosureKind::Triangle, 2, true, state.TriangleW[2], 2 * sigma0));
    list.push_back(MisclosureWithLimit(MisclosureKind::Condition, 1, true, state.w[1],
                                       sigma0 * std::sqrt(cofactors.MisclosureCofactor(1))));
    for (int r = 2; r <= kLastCondition; ++r) {
        // In millimetres, the single product the window shows.
        const double millimetres = state.w[r] * 1000.0f;
        list.push_back(MisclosureWithLimit(MisclosureKind::Condition, r, false, millimetres,
                                           1000 * sigma0 * std::sqrt(cofactors.MisclosureCofactor(r))));
    }
    return list;
}

}  // namespace

QualityCheck AssessQuality(const SurveyState& state, const QualityInputs& in) {
    const ConditionCofactors cofactors(in.A, in.q, in.range);
    QualityCheck check;
    check.tolerance = in.tolerance;
    check.m0 = state.M0;
    check.scale = in.scale;
    check.unit = in.scale == PrecisionScale::APriori ? static_cast<double>(in.tolerance) : check.m0;
    check.observations = Observations(state, in, cofactors);
    check.suspect = SuspectObservation(check.observations);
    check.global = GlobalModelTest(check.observations, in);
    check.points = Points(state, in, cofactors, check.unit);
    check.misclosures = Misclosures(state, in, cofactors);
    AssessFigure(state, in, cofactors, check);
    check.solved = {in.d, in.A, in.q, in.range, in.v};
    return check;
}

}  // namespace korvanet
