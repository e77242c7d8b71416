// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A job's result as one JSON object on one line, for other programs: the
// quality check of a completed run (global test, suspect observation, points
// with their error ellipses, observations with residual, redundancy number
// and w, misclosures with their limits), or the message of a failed one.
//
// Units: angles "observed"/"adjusted" in decimal degrees, sides in metres;
// residuals in arc seconds (angles, orientation) and millimetres (sides);
// coordinates in metres, x north and y east; mean errors and ellipse axes in
// millimetres; the ellipse azimuth in degrees from +x towards +y, [0, 180).

#include <string>

#include "adjust/order_classes.h"
#include "compute/job_run.h"
#include "core/survey_state.h"

namespace korvanet {

// `job` names the job (the file as given).  Numbers keep their full double
// precision; the text is UTF-8 (a name that is not valid UTF-8 has its bad
// bytes replaced, never dropped silently into invalid output); no newline.
// Every completed job adds the precision of its sides, the relative
// ellipses, the triangle closures, Ferrero's angle mean error, the smallest
// angle and each observation's reliability; with `orderClass` also the class,
// its checks and whether the figure is compliant.
std::string JobJson(const std::string& job, const JobRun& run, const SurveyState& state,
                    const OrderClass* orderClass = nullptr);

// The object of a design (精度估算) run by RunDesign: "design": true, the
// tolerance as sigma0, the points with their a-priori ellipses, the
// observations with their redundancy numbers and reliability (no residuals,
// no w), the sides, the weakest side, the relative ellipses and the smallest
// angle; with `orderClass` the checks a design can answer.
std::string DesignJson(const std::string& job, const JobRun& run, const OrderClass* orderClass = nullptr);

// The object of a job that never ran (its file could not be read or decoded).
std::string FailedJobJson(const std::string& job, const std::string& message);

}  // namespace korvanet
