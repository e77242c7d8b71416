// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The first phase of the Compute command: creates the arrays of the record,
// asks the tolerance, then every value through the confirmed-input protocol,
// showing each in its box.  Each value is checked the moment it is confirmed
// (value_rules.h); a refused value is asked again when the prompter can, else
// InputError ends the run there.  RunStopped passes through when the surveyor
// stops the run.  The prompter keeps the answers given, whatever the end.

#include "core/prompter.h"
#include "core/run_values.h"
#include "core/survey_state.h"
#include "core/text_display.h"

namespace korvanet {

RunValues RunInputSequence(SurveyState& state, Prompter& prompter, TextDisplay& display);

}  // namespace korvanet
