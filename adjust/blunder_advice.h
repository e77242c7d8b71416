// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The advice on blunders and weights that the window, the report and the
// batch tool show beside the quality check: m0 without each observation, the
// data snooping and the variance components of angles and sides.  Computed
// from the check alone; the check and the results are not changed.

#include <optional>
#include <vector>

#include "adjust/blunder_detection.h"
#include "adjust/quality_check.h"
#include "adjust/variance_components.h"

namespace korvanet {

struct BlunderAdvice {
    std::vector<std::optional<double>> m0Without;  // one per check.observations, arc seconds
    std::vector<SnoopedObservation> snooping;
    VarianceEstimate variance;
};

inline BlunderAdvice AdviseOnBlunders(const QualityCheck& check) {
    return {M0WithoutEach(check), DataSnooping(check), EstimateVarianceComponents(check)};
}

}  // namespace korvanet
