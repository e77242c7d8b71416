#include "compute_command.h"

#include "adjustment.h"
#include "input_sequence.h"

namespace korvanet {

void Command1_Click(SurveyState& state, Prompter& prompter, TextDisplay& display) {
    state.RunCompleted = false;
    RunValues values = RunInputSequence(state, prompter, display);
    RunAdjustment(state, values, display);
    state.RunCompleted = true;
}

}  // namespace korvanet
