#include "compute_run.h"

#include "adjustment.h"
#include "input_sequence.h"

namespace korvanet {

void RunCompute(SurveyState& state, Prompter& prompter, TextDisplay& display) {
    state.RunCompleted = false;
    RunValues values = RunInputSequence(state, prompter, display);
    RunAdjustment(state, values, display);
    state.RunCompleted = true;
}

}  // namespace korvanet
