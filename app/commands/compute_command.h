#pragma once
// The Compute command: the input phase followed by the adjustment.  It knows
// no window; the window, the batch tool and the tests all run this one path.

#include "prompter.h"
#include "survey_state.h"
#include "text_display.h"

namespace korvanet {

// Runs one Compute command to its end.  A KorvanetError leaves the record
// marked as not completed and propagates to the caller, who shows it.
void Command1_Click(SurveyState& state, Prompter& prompter, TextDisplay& display);

}  // namespace korvanet
