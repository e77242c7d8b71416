// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/survey_state.h"

namespace korvanet {

void SurveyState::CreateArrays() {
    RunCompleted = false;
    PointNames.assign(5, std::string());
    Side.assign(7, 0.0);
    SideObserved.assign(7, 0.0f);
    w.assign(10, 0.0f);
    k.assign(10, 0.0);
    X.assign(5, 0.0);
    Y.assign(5, 0.0);
    Angle.assign(9, 0.0);
    AngleEntered.assign(9, 0.0);
    TriangleW[0] = TriangleW[1] = TriangleW[2] = 0.0;
}

}  // namespace korvanet

#include "core/number_text.h"

namespace korvanet {

bool DIsKnownPoint(const SurveyState& state) { return !ReadsAsZero(state.xd) && !ReadsAsZero(state.yd); }

bool DIsNotKnownPoint(const SurveyState& state) { return ReadsAsZero(state.xd) && ReadsAsZero(state.yd); }

}  // namespace korvanet
