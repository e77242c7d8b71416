// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The advice on blunders and weights in words, as the quality window and the
// report document give it: one line that explains each part, then its
// figures.  m0 in arc seconds, w without unit, variance factors without unit.

#include <string>
#include <vector>

#include "adjust/blunder_advice.h"

namespace korvanet {

// What the column "去掉后 m0" means.
std::string M0WithoutExplanation();
// "1.23" (arc seconds), or "—" where there is none.
std::string M0WithoutText(const std::optional<double>& m0);

// The explanation, then one line per observation taken out (or one saying
// that none was).
std::vector<std::string> SnoopingLines(const std::vector<SnoopedObservation>& snooping);

// The explanation, then the angles, the sides, and what they mean; or the
// reason why they cannot be estimated.
std::vector<std::string> VarianceLines(const VarianceEstimate& estimate);

}  // namespace korvanet
