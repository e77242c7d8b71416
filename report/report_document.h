// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printed report as data: lines of items at character-column tab stops.
//
// A column is counted from 1 at the left edge of the printable area and is as
// wide as the average character of the current font: a Latin letter or digit
// takes one column, a Chinese character two.  An item either asks for a tab
// stop or follows the item before it directly.

#include <string>
#include <vector>

namespace korvanet {

// Tab stop of an item that follows the item before it with no gap.
inline constexpr int kFollowsPrevious = 0;

struct ReportItem {
    int column = kFollowsPrevious;  // tab stop (1-based), or kFollowsPrevious
    std::string text;               // UTF-8
};

struct ReportLine {
    int fontSize = 10;              // points: the font in force while the line prints
    std::vector<ReportItem> items;  // empty: an empty line
};

// Page set-up of the report: the print position starts 2000 twips from the
// left and 1000 twips from the top of the printable area.
inline constexpr int kReportLeftOffsetTwips = 2000;
inline constexpr int kReportTopOffsetTwips = 1000;
inline constexpr const char* kReportFontName = "宋体";
inline constexpr int kReportHeadingFontSize = 12;
inline constexpr int kReportBodyFontSize = 10;

struct ReportDocument {
    std::vector<ReportLine> lines;
};

}  // namespace korvanet
