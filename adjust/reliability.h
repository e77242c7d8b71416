// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reliability after Baarda.  Internal: the smallest bias of an observation
// that the w-test finds with the stated power, nabla = delta0 sigma0
// sqrt(q / r).  External: how far that bias, left undetected, shifts the
// adjusted determined points.
//
// Notation: sigma0 = the entered tolerance (arc seconds), q the observation's
// reciprocal weight, r its redundancy number; delta0 = 4.13, the
// non-centrality of the w-test at alpha0 = 0.1 % two-sided (3.29) with a
// power of 80 %.  A bias nabla in observation o shifts a coordinate f by
// nabla Q(f, l_o) / q_o (the adjustment takes back the share the conditions
// see).  Biases in the observation's unit (arc seconds, or mm), shifts in mm.

#include <vector>

#include "adjust/quality_check.h"
#include "adjust/quality_cofactors.h"
#include "adjust/quality_inputs.h"
#include "adjust/relative_precision.h"

namespace korvanet {

inline constexpr double kMdbNoncentrality = 4.13;

// Fills mdb and external of every observation that has a w.
void AddReliability(std::vector<ObservationCheck>& observations, const QualityInputs& inputs,
                    const ConditionCofactors& cofactors, const CoordinateCofactors& coordinates);

}  // namespace korvanet
