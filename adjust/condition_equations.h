// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Side azimuths, approximate coordinates and the coefficient matrix A of the
// condition equations and the weight functions.
//
// Notation: angles in decimal degrees, sides in metres, azimuths in decimal
// degrees from +x (north) towards +y (east); Az(1) = A->B, Az(2) = B->C,
// Az(3) = C->D, Az(4) = D->A.  Columns and rows of A as in adjustment_model.h:
// rows 1..9 in metres per arc second (angles) and metres per millimetre
// (sides), rows 10..13 in millimetres per arc second and millimetres per
// millimetre.

#include <array>

#include "adjust/adjustment_model.h"
#include "core/run_values.h"
#include "core/survey_state.h"

namespace korvanet {

using SideAzimuths = std::array<double, 5>;  // 1..4

// Brings an azimuth into 0..360 with one test each way (once only).
double ReduceAzimuth(double azimuth);

// Az(1)..Az(3) from the start azimuth and the angles at A, B and C.
SideAzimuths ApproximateAzimuths(const SurveyState& state, const RunValues& run, PointD d);

// B, C and D over sides 1, 3 and 5 from A = (X(0), Y(0)): writes X(1..3), Y(1..3).
void TraverseApproximateCoordinates(SurveyState& state, const SideAzimuths& az);

// The matrix A from the pre-corrected angles, the sides, the approximate
// coordinates of B and C and the orientation factor q0.
ConditionMatrix FormConditionMatrix(const SurveyState& state, const SideAzimuths& az, float q0, PointD d);

}  // namespace korvanet
