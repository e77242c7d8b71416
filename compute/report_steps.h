// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// 计算过程: the steps of one run's condition adjustment as a section of the
// adjustment report, for a student to follow line by line and compare with
// a hand computation.  Units as in adjust/computation_steps.h.

#include "adjust/computation_steps.h"
#include "report/adjustment_document.h"

namespace korvanet {

DocumentSection StepsSection(const ComputationSteps& steps);

}  // namespace korvanet
