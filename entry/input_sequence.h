#pragma once
// The first phase of the Compute command: creates the arrays of the record,
// asks the tolerance, then every value through the confirmed-input protocol,
// showing each in its box.  Throws InputError when a value cannot be used.

#include "prompter.h"
#include "run_values.h"
#include "survey_state.h"
#include "text_display.h"

namespace korvanet {

RunValues RunInputSequence(SurveyState& state, Prompter& prompter, TextDisplay& display);

}  // namespace korvanet
