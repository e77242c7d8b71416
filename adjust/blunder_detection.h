// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which observation is wrong?  Two answers beside the quality check's single
// suspect: the m0 the figure would have without each observation, and the
// iterative data snooping that takes out the worst observation, adjusts
// again and tests again.  Both are advice: the results of the program stay
// those of the whole figure.
//
// Notation: sigma0 = the entered tolerance (arc seconds), the a-priori mean
// error of unit weight; v_i the residual of observation i (arc seconds, or
// mm), q_vv,i its cofactor per unit weight (arc seconds^2, or mm^2), r_i its
// redundancy number, Omega = [pvv] = sum v_i^2 / q_i (arc seconds^2) over the
// r = 9 conditions of the whole figure.
//   m0_(i) = sqrt((Omega - v_i^2 / q_vv,i) / (r - 1))    arc seconds
// is the m0 of the figure adjusted without observation i: leaving it out
// lowers [pvv] by exactly v_i^2 / q_vv,i (= (sigma0 w_i)^2) and the
// redundancy by one.  None where r_i < 0.05: the others hardly check such an
// observation, and leaving it out says nothing.
// Data snooping: w_i = v_i / (sigma0 sqrt(q_vv,i)) over the observations with
// r_i >= 0.05; while the largest |w| exceeds 3.29 (kWTestCritical) and at
// least one condition would be left, that observation is taken out and the
// figure adjusted again without it (reduced_adjustment.h), its m0 then
// sqrt([pvv] / r) of what is left.

#include <optional>
#include <vector>

#include "adjust/quality_check.h"

namespace korvanet {

inline constexpr double kSmallestCheckedRedundancy = 0.05;

// One per entry of check.observations, in the same order.
std::vector<std::optional<double>> M0WithoutEach(const QualityCheck& check);

struct SnoopedObservation {
    ObservationKind kind = ObservationKind::Angle;
    int index = 0;       // as in ObservationCheck
    double w = 0;        // its w when it was taken out, with its sign
    double m0After = 0;  // the m0 of the figure without it and those before it, arc seconds
};

// The observations taken out, in order; empty when nothing exceeds.
std::vector<SnoopedObservation> DataSnooping(const QualityCheck& check);

}  // namespace korvanet
