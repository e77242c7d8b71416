#pragma once
// The quality check of a completed adjustment, from the adjusted record and
// the model the run solved.  Computes only: nothing is shown and the record
// is not changed.

#include "quality_check.h"
#include "quality_inputs.h"
#include "survey_state.h"

namespace korvanet {

QualityCheck AssessQuality(const SurveyState& state, const QualityInputs& inputs);

}  // namespace korvanet
