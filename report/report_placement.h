// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where every item of the report lands: the row it prints on and the column it
// starts in.  Computed once, in character columns, and used by both the text
// rendering and the printed page, so the two always agree.
//
// The rule for an item at tab stop c, with the print position at column p
// (the column the next character would take):
//   p < c                   the item starts at column c;
//   p = c after printed     the text before ends in column c - 1 and would run
//   text                    into the item ("0.883391/py(b)="), so the item
//                           gets one blank and starts at column c + 1;
//   p > c                   the line has passed column c: the item starts at
//                           column c of a new row.
// An item that follows the one before starts at p.

#include <string>
#include <vector>

#include "report/report_document.h"

namespace korvanet {

struct PlacedItem {
    int column = 1;    // first column the item occupies (1-based)
    std::string text;  // as in the report, leading blanks included
};

struct PlacedRow {
    int fontSize = 10;
    std::vector<PlacedItem> items;  // in increasing columns; empty for an empty row
};

struct PlacedReport {
    std::vector<PlacedRow> rows;
};

PlacedReport PlaceReport(const ReportDocument& report);

}  // namespace korvanet
