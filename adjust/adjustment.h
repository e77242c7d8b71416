// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the Compute command does after the input: preparation,
// misclosures, condition equations, normal equations, corrections and
// precision, each value shown the moment it is computed.
// Throws AdjustmentError (or InputError for a coordinate that is no number).
// Returns the quality check of the completed run (residuals, tests, ellipses);
// it is kept apart from the record, which the report reads.

#include "adjust/quality_check.h"
#include "core/run_values.h"
#include "core/survey_state.h"
#include "core/text_display.h"

namespace korvanet {

// `scale` says what the precision figures of the quality check are scaled by:
// the run's m0, or sigma0 for a design (精度估算).
QualityCheck RunAdjustment(SurveyState& state, RunValues& values, TextDisplay& display,
                           PrecisionScale scale = PrecisionScale::APosteriori);

}  // namespace korvanet
