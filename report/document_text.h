// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The adjustment report (or a design's) as plain text for a terminal or a
// pipe: the title and the subtitle, then each section under its heading, its
// paragraphs as lines and its tables as a heading line and one line a row,
// the cells separated by tabs, so that `cut` or a spreadsheet takes a table
// apart.  A tab or a line end inside a cell becomes a blank: a name can
// never split a row.  The drawing is not written (--svg writes it).

#include <string>

#include "report/adjustment_document.h"

namespace korvanet {

std::string DocumentText(const AdjustmentDocument& document);

}  // namespace korvanet
