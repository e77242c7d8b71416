// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report of the last Compute run, laid out as lines of items at tab stops:
// heading, known data, observed and adjusted angles and sides, misclosures,
// correlates, adjusted coordinates and their precision.

#include "core/survey_state.h"
#include "report/report_document.h"

namespace korvanet {

// Builds the report from the record alone; the record is not changed, so two
// calls give the same report.  Throws KorvanetError when no Compute run has
// completed (none yet, or the last one stopped part-way): a half-filled report
// would look valid.
ReportDocument BuildReport(const SurveyState& state);

}  // namespace korvanet
