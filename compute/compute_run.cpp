// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/compute_run.h"

#include "adjust/adjustment.h"
#include "entry/input_sequence.h"

namespace korvanet {

QualityCheck RunCompute(SurveyState& state, Prompter& prompter, TextDisplay& display, PrecisionScale scale) {
    state.RunCompleted = false;
    RunValues values = RunInputSequence(state, prompter, display);
    QualityCheck quality = RunAdjustment(state, values, display, scale);
    state.RunCompleted = true;
    return quality;
}

}  // namespace korvanet
