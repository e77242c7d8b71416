// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A design (精度估算) through the one Compute path: the answers a surveyor
// would type for the figure's error-free observations, run by the job
// runner with the precision figures scaled by the planned sigma0, as the
// figure will give them once observed with that instrument.

#include <string>
#include <vector>

#include "adjust/design_observations.h"
#include "compute/job_run.h"
#include "core/scripted_session.h"
#include "core/survey_state.h"

namespace korvanet {

// The answers of the job the design stands for: the tolerance, the
// coordinates of A and of D (0 and 0 when D is determined), T0 and Q1 when D
// is determined, the names, the eight angles packed d.mmss to a millionth of
// an arc second and the sides to the micrometre.  Throws an InputError when
// the figure fails CheckDesignFigure.
std::vector<std::string> DesignAnswers(const Design& design);

// The job template a design leaves for the field: tolerance, coordinates and
// names filled in, T0, Q1 (when D is determined), the angles and the sides
// left empty for the observations.
std::vector<std::string> DesignJobTemplate(const Design& design);

struct DesignRun {
    SurveyState state;
    RecordingDisplay display;
    // run.quality holds the design's figures, scaled by sigma0.
    JobRun run{ScriptedPrompter::ForJob({}), std::nullopt, false, std::nullopt};
};

// Runs the design's job; a figure that fails CheckDesignFigure, or a run
// that does not complete, comes back as run.failure.
DesignRun RunDesign(const Design& design);

}  // namespace korvanet
