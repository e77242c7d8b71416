// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The report as plain text, in the columns a terminal shows: each row of the
// placed report on a line of its own, an item starting in its column (a
// Chinese character taking two), trailing blanks trimmed, every line ended by
// "\n".  The font sizes do not show in text.

#include <string>

#include "report/report_document.h"

namespace korvanet {

std::string RenderReportText(const ReportDocument& report);

}  // namespace korvanet
