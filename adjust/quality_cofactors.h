// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Cofactors after the adjustment: of the residuals, of functions of the
// observations (the coordinates), and of the misclosures before the
// adjustment.
//
// Notation: the conditions B are the nine independent ones of the figure,
// the two triangle closures (coefficient 1 at each angle of the triangle)
// and the kept rows 1..6 and 8 of A (7 and 9 follow from the others);
// Q = diag(q) over the observations in range, zero outside it.  Then
//   Q_vv = Q B^T (B Q B^T)^-1 B Q,
//   Q_fg = f Q g^T - (B Q f)^T (B Q B^T)^-1 (B Q g).
// With the Cholesky factor B Q B^T = L L^T and G = L^-1 B Q (9 x 15) both
// become sums of products: Q_vv = G^T G and Q_fg = f Q g^T - (G f).(G g),
// with no inverse formed.
// Units: arc seconds^2 for the angles and the orientation angle, mm^2 for
// the sides and the coordinates, per unit weight (the tolerance squared).

#include <array>

#include "adjust/quality_inputs.h"

namespace korvanet {

// The nine independent conditions B of the figure: the two triangle closures,
// then the kept rows of A (adjustment_model.h).
std::array<ObservationRow, 9> IndependentConditions(const ConditionMatrix& A);

class ConditionCofactors {
public:
    ConditionCofactors(const ConditionMatrix& A, const ReciprocalWeightList& q, ObservationRange range);

    // (Q_vv)_oo of observation o (0..14); 0 outside the range.
    double ResidualCofactor(int o) const;

    // The cofactor of two functions of the observations after the adjustment.
    double FunctionCofactor(const ObservationRow& f, const ObservationRow& g) const;

    // N(r, r) = a_r Q a_r^T of condition r (1..9) before any reduction: the
    // a-priori cofactor of the misclosure w(r) (seconds^2, or m^2).
    double MisclosureCofactor(int r) const;

    static constexpr int kConditions = 9;
    using ConditionRow = std::array<double, kConditions>;

    ConditionRow Reduced(const ObservationRow& f) const;  // G f

    // Q_fg of a function f, given with its reduction G f, and of observation
    // o itself (g = the unit row of o): f_o q_o - (G f).(G e_o).
    double CofactorWithObservation(const ObservationRow& f, const ConditionRow& gf, int o) const;

private:
    // Outside the range the weights are zero, and so are the columns of G:
    // every sum runs over the observations in range alone.
    std::array<ObservationRow, kConditions> G_{};  // L^-1 B Q
    std::array<double, kLastObservation + 1> weight_{};
    std::array<double, kLastCondition + 1> misclosureCofactor_{};  // 1..9
    ObservationRange range_;
};

}  // namespace korvanet
