// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The figure adjusted again, linearly, with some observations left out or
// with the weights of a group changed: what the blunder search and the
// variance components ask of it.  The coordinates are not recomputed; only
// the residuals, their cofactors and [pvv] are.
//
// Notation: B the nine independent conditions of the figure
// (quality_cofactors.h), columns 0..14 (0 = Q1, 1..8 the angles, 9..14 the
// sides); v the residuals of the whole figure (arc seconds, mm); the linear
// model B v + w = 0 with w = -B v, the misclosures those residuals close.
// Leaving an observation out is giving it an infinite reciprocal weight: it
// then takes any residual, so every condition it enters can be solved for it
// and says nothing about the others.  Here that is done exactly, by
// elimination: one condition that holds the observation is used to remove
// its column from all the others, then dropped, leaving one condition fewer.
// The rest is the ordinary condition adjustment
//   v = -Q C^T (C Q C^T)^-1 w,   Q_vv = Q C^T (C Q C^T)^-1 C Q
// over the conditions C that are left; the solution does not depend on which
// combination of the conditions is kept.

#include <array>

#include "adjust/quality_check.h"
#include "adjust/quality_inputs.h"

namespace korvanet {

struct LinearFigure {
    std::array<ObservationRow, 9> B{};  // arc seconds, or metres, per unit of the observation
    std::array<double, 9> w{};          // -B v
    ObservationRow q{};                 // the reciprocal weights of the run; 0 outside the range
    ObservationRow v{};                 // the residuals of the whole figure
};

LinearFigure LinearFigureOf(const QualityCheck& check);

using ObservationMask = std::array<bool, kLastObservation + 1>;

struct ReducedSolution {
    bool solved = false;   // false when the conditions left are singular
    int redundancy = 0;    // the number of conditions left
    ObservationRow v{};    // residuals; 0 for the observations left out
    ObservationRow qvv{};  // (Q_vv)_oo, in the units of q
    ObservationRow r{};    // redundancy numbers (Q_vv)_oo / q_o
    double pvv = 0;        // sum of v^2 / q over the observations kept
};

// The figure without the observations in `leftOut`, every observation kept
// weighted by the reciprocal weight q[o] (which may differ from f.q).
ReducedSolution AdjustWithout(const LinearFigure& f, const ObservationMask& leftOut, const ObservationRow& q);

}  // namespace korvanet
