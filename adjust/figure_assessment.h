// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The figures of an order class for a completed adjustment: the precision of
// the sides, the relative ellipses, the triangle closures and the smallest
// angle (into check.figure), and the reliability of each observation (into
// check.observations).  Runs after the observations and points of the check.

#include "adjust/quality_check.h"
#include "adjust/quality_cofactors.h"
#include "adjust/quality_inputs.h"
#include "core/survey_state.h"

namespace korvanet {

void AssessFigure(const SurveyState& state, const QualityInputs& inputs, const ConditionCofactors& cofactors,
                  QualityCheck& check);

}  // namespace korvanet
