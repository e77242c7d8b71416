// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps of the condition adjustment with the numbers of one run, for
// those who learn the method and compare it with a hand computation: the
// condition equations A v + w = 0 written out, the normal equations
// N k = -w over the kept conditions, the correlates k, the corrections
// v = Q A^T k, and the check that the corrected observations close every
// condition: once through the linear equations (A v + w, zero up to
// rounding) and once by computing each misclosure again from the adjusted
// observations (what is left is the part the linearisation leaves over).
//
// Notation and units: observation columns as in adjustment_model.h
// (1..8 the angles, corrections in arc seconds; 9..14 the sides, in
// millimetres).  Condition 1, the figure condition, is in arc seconds; the
// side-angle conditions 2..9 are written in millimetres (the run keeps them
// in metres, and the window shows their w in millimetres), so that their
// coefficients are millimetres per arc second and per millimetre.  N and k
// take the same scaling: N' = S N S, k' = S^-1 k with S = 1 for condition 1
// and 1000 for 2..9, which leaves v = Q A^T k unchanged.  The conditions 7
// and 9 follow from the others (adjustment_model.h): they keep their
// equation and their check, but have no row in N and a correlate of 0.

#include <array>
#include <vector>

#include "adjust/adjustment_model.h"
#include "adjust/normal_equations.h"
#include "core/survey_state.h"

namespace korvanet {

// The linear model one run solved, kept with its quality check so that its
// steps can be written out afterwards.
struct SolvedConditions {
    PointD d = PointD::Known;
    ConditionMatrix A{};
    ReciprocalWeightList q{};
    ObservationRange range;
    std::array<double, kLastObservation + 1> v{};  // the corrections of the adjustment
};

struct ConditionStep {
    int row = 0;                       // 1..9: w(row)
    bool kept = true;                  // takes part in the normal equations
    bool seconds = true;               // unit: arc seconds (condition 1), else millimetres
    std::vector<double> coefficients;  // one per column of ComputationSteps::columns
    double w = 0;                      // the misclosure, as the window shows it
    double linearCheck = 0;            // A v + w, which the solution makes zero up to rounding
    double adjustedMisclosure = 0;     // the misclosure computed again from the adjusted observations
};

struct ComputationSteps {
    std::vector<int> columns;                      // the observations that enter a condition, in order
    std::array<double, kLastObservation + 1> q{};  // their reciprocal weights
    std::vector<ConditionStep> conditions;         // 1..9
    std::vector<int> keptRows;                     // the rows of N and k: 1..6, 8
    std::vector<std::vector<double>> N;            // keptRows x keptRows
    std::vector<double> k;                         // one per kept row
    std::array<double, kLastObservation + 1> v{};  // v = Q A^T k, for every column
    // Each angle's share of its triangle's closure, taken off before the
    // conditions were formed (-W/4, arc seconds; 0 for the sides): the
    // correction of an observation in all is this share plus v.
    std::array<double, kLastObservation + 1> spread{};
    // The two triangles of the form computed again from the adjusted angles
    // (arc seconds): the pre-correction closed them and the conditions keep them closed.
    std::array<double, 2> triangleClosures{};
};

// The steps of the run that left `adjusted` (its misclosures w, correlates k
// and adjusted observations) with the model it solved.
ComputationSteps WorkComputationSteps(const SolvedConditions& solved, const SurveyState& adjusted);

}  // namespace korvanet
