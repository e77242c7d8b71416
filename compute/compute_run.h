// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Compute command without a window: the input phase, then the adjustment.
// The window's "进行计算" button, the batch tool, job files and the tests all
// run this one path; the window's handler Command1_Click only calls it.

#include "adjust/quality_check.h"
#include "core/prompter.h"
#include "core/survey_state.h"
#include "core/text_display.h"

namespace korvanet {

// Runs one Compute command to its end and returns the quality check of the
// completed run (kept apart from the record, which the report reads).  A
// KorvanetError leaves the record marked as not completed and propagates to
// the caller, who shows it.
// `scale`: the precision figures from the run's m0, or from sigma0 for a
// design (精度估算).
QualityCheck RunCompute(SurveyState& state, Prompter& prompter, TextDisplay& display,
                        PrecisionScale scale = PrecisionScale::APosteriori);

}  // namespace korvanet
