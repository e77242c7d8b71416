// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tables of the adjustment report in one CSV file for a spreadsheet.
//
// UTF-8 with a byte order mark, so that a spreadsheet program on Windows
// reads the Chinese; RFC 4180 quoting (a field with a comma, a quote or a
// line end is quoted, its quotes doubled) and CRLF line ends.  Every table,
// in the order of the document, begins with a header line whose first field
// is "表" and whose further fields are the column headings with their units
// ("改正数 (″)"); each of its rows then begins with the table's name
// ("观测值", "点位精度" ...), so that a filter on the first column gives one
// table.  Paragraphs and the drawing are not written.  A text cell that a
// spreadsheet would run as a formula (one beginning with =, +, -, @, a tab
// or a carriage return, and no figure of the report) is written with a
// leading apostrophe, so that a point's name stays text.

#include <string>

#include "report/adjustment_document.h"

namespace korvanet {

std::string DocumentCsv(const AdjustmentDocument& document);

}  // namespace korvanet
