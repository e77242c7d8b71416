// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quality check of a completed adjustment, from the adjusted record and
// the model the run solved.  Computes only: nothing is shown and the record
// is not changed.

#include "adjust/quality_check.h"
#include "adjust/quality_inputs.h"
#include "core/survey_state.h"

namespace korvanet {

QualityCheck AssessQuality(const SurveyState& state, const QualityInputs& inputs);

}  // namespace korvanet
