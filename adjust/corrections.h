// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The corrections of the observations from the correlates, and the adjusted
// coordinates traversed from them.
//
// Notation: v(1..8) angle corrections in arc seconds, v(9..14) side
// corrections in millimetres; k(1..9) the correlates; angles in decimal
// degrees, sides and coordinates in metres; azimuths in decimal degrees from
// +x (north) towards +y (east).

#include <array>

#include "adjust/adjustment_model.h"
#include "adjust/condition_equations.h"
#include "core/run_values.h"
#include "core/survey_state.h"

namespace korvanet {

struct CorrectionSums {
    std::array<double, kLastObservation + 1> v{};  // v(0) is never computed
    double SumVV = 0;   // sum of the squared angle corrections, arc seconds squared
    double SumPVV = 0;  // sum of the weighted squared side corrections (mm^2 / q)
};

// v = diag(q) A^T k, added to Angle(1..8) and Side(1..6) of the state.
CorrectionSums CorrectObservations(SurveyState& state, const ConditionMatrix& A,
                                   const ReciprocalWeightList& q, double sideReciprocalWeight);

// The adjusted azimuths and X(1..3), Y(1..3) over sides 1, 3, 5; when D is not
// known, on over side 6 back to A as X(4), Y(4).
SideAzimuths AdjustCoordinates(SurveyState& state, const RunValues& run, PointD d);

}  // namespace korvanet
