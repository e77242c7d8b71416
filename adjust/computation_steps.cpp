// SPDX-License-Identifier: GPL-3.0-or-later
// Notation as in computation_steps.h: S(r) = 1 for the figure condition,
// 1000 (millimetres per metre) for the side-angle conditions.

#include "adjust/computation_steps.h"

#include <cmath>

#include "adjust/misclosures.h"

namespace korvanet {
namespace {

double Scale(int row) { return row == 1 ? 1.0 : 1000.0; }

}  // namespace

ComputationSteps WorkComputationSteps(const SolvedConditions& solved, const SurveyState& adjusted) {
    ComputationSteps steps;
    steps.q = {};
    for (int o = solved.range.first; o <= solved.range.last; ++o) {
        bool enters = false;
        for (int r = 1; r <= kLastCondition; ++r) enters = enters || solved.A[r][o] != 0;
        if (!enters) continue;  // the orientation angle Q1 only orients the figure
        steps.columns.push_back(o);
        steps.q[o] = solved.q[o];
        steps.v[o] = solved.v[o];
        if (o >= 1 && o <= 8) steps.spread[o] = -adjusted.TriangleW[o <= 4 ? 1 : 2] / 4;
    }

    for (int r = 1; r <= kLastCondition; ++r) {
        ConditionStep c;
        c.row = r;
        c.kept = !IsDependentCondition(r);
        c.seconds = r == 1;
        const double s = Scale(r);
        c.w = adjusted.w[r] * s;
        double sum = 0;
        for (int o : steps.columns) {
            c.coefficients.push_back(solved.A[r][o] * s);
            sum += solved.A[r][o] * solved.v[o];
        }
        c.linearCheck = sum * s + c.w;
        c.adjustedMisclosure =
            r == 1 ? FigureMisclosure(adjusted.Angle) : SineMisclosure(r, adjusted.Angle, adjusted.Side) * s;
        steps.conditions.push_back(c);
        if (c.kept) steps.keptRows.push_back(r);
    }

    // The same normal matrix the run reduced, from the same function.
    const NormalMatrix N = FormNormalMatrix(solved.A, solved.q, solved.range);
    for (int i : steps.keptRows) {
        std::vector<double> row;
        for (int j : steps.keptRows) row.push_back(N[i][j] * Scale(i) * Scale(j));
        steps.N.push_back(row);
        steps.k.push_back(adjusted.k[i] / Scale(i));
    }
    steps.triangleClosures = {TriangleMisclosure(adjusted.Angle, kFirstTriangle),
                              TriangleMisclosure(adjusted.Angle, kSecondTriangle)};
    return steps;
}

}  // namespace korvanet
