// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/compute_run.h"

#include "adjust/adjustment.h"
#include "entry/input_sequence.h"

namespace korvanet {

QualityCheck RunCompute(SurveyState& state, Prompter& prompter, TextDisplay& display) {
    state.RunCompleted = false;
    RunValues values = RunInputSequence(state, prompter, display);
    QualityCheck quality = RunAdjustment(state, values, display);
    state.RunCompleted = true;
    return quality;
}

}  // namespace korvanet
