// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What one adjustment run hands to the quality check besides the survey
// record: the linear model it solved and the observations as they were typed.
//
// Notation: observation columns 0 = the orientation angle Q1, 1..8 = the
// angles, 9..14 = the sides; rows of A as in adjustment_model.h (1..9 the
// conditions in metres, or seconds for row 1; 10..13 the weight functions of
// B and C in millimetres).  The two weight functions of D are rows of the same
// kind (mm per arc second, mm per mm).  Corrections v: arc seconds for the
// orientation angle and the angles, millimetres for the sides.

#include <array>

#include "adjust/adjustment_model.h"
#include "adjust/normal_equations.h"
#include "adjust/quality_check.h"

namespace korvanet {

using ObservationRow = std::array<double, kLastObservation + 1>;

struct QualityInputs {
    PointD d = PointD::Known;
    float tolerance = 0;  // the entered tolerance, arc seconds (before m0 replaces it)
    ConditionMatrix A{};
    std::array<ObservationRow, 2> dFunctions{};  // x and y of D; zero when D is known
    ReciprocalWeightList q{};
    ObservationRange range;
    double sideReciprocalWeight = 0;               // double, before its single rounding into q
    std::array<double, kLastObservation + 1> v{};  // the corrections of the adjustment
    std::array<double, 9> observedAngle{};         // 1..8, decimal degrees, as converted from the entry
    std::array<double, 7> observedSide{};          // 1..6, metres, as typed (6 derived when D is known)
    double orientationAngle = 0;                   // decimal degrees, signed, as entered
    // The precision figures from m0, or from sigma0 for a design (精度估算).
    PrecisionScale scale = PrecisionScale::APosteriori;
};

}  // namespace korvanet
