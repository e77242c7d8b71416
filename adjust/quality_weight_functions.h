// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The weight functions of x and y of D, when D is a point to be determined:
// its coordinates as functions of the observations, linearised at the
// approximate coordinates, for the cofactors of its error ellipse.
//
// Notation: D = A + S1 (cos, sin) Az(1) + S3 (cos, sin) Az(2) + S5 (cos, sin) Az(3)
// with Az(1) = T0 + Q1, Az(2) = Az(1) - a2 - a3 + 180, Az(3) = Az(2) - a4 - a5 + 180.
// Columns as the rows of A: 0 = orientation angle and 1..8 = angles in mm per
// arc second, 9..14 = sides in mm per mm; azimuths in decimal degrees from +x
// (north) towards +y (east); coordinates in metres.

#include <array>

#include "adjust/condition_equations.h"
#include "adjust/quality_inputs.h"
#include "core/survey_state.h"

namespace korvanet {

// Reads the approximate X(0..3), Y(0..3) of the state and the approximate
// azimuths Az(1..3); q0 switches the orientation term on (1) or off (0).
std::array<ObservationRow, 2> DWeightFunctions(const SurveyState& state, const SideAzimuths& az, float q0);

}  // namespace korvanet
