#pragma once
// Everything the Compute command does after the input: preparation,
// misclosures, condition equations, normal equations, corrections and
// precision, each value shown the moment it is computed.
// Throws AdjustmentError (or InputError for a coordinate that is no number).

#include "run_values.h"
#include "survey_state.h"
#include "text_display.h"

namespace korvanet {

void RunAdjustment(SurveyState& state, RunValues& values, TextDisplay& display);

}  // namespace korvanet
