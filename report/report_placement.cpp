// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report_placement.h"

#include "report/text_columns.h"

namespace korvanet {
namespace {

class RowPlacer {
public:
    RowPlacer(PlacedReport& out, int fontSize) : out_(out), fontSize_(fontSize) {
        out_.rows.push_back({fontSize_, {}});
    }

    void Place(const ReportItem& item) {
        int start = position_;
        if (item.column != kFollowsPrevious) {
            const int c = item.column;
            if (position_ > c) {
                out_.rows.push_back({fontSize_, {}});
                lastPrinted_ = 0;
                start = c;
            } else if (position_ == c && lastPrinted_ > 0 && lastPrinted_ == c - 1) {
                start = c + 1;
            } else {
                start = c;
            }
        }
        const int width = TextColumns(item.text);
        out_.rows.back().items.push_back({start, item.text});
        position_ = start + width;
        if (width > 0) lastPrinted_ = position_ - 1;
    }

private:
    PlacedReport& out_;
    int fontSize_;
    int position_ = 1;     // the column the next character takes
    int lastPrinted_ = 0;  // last column holding a character of this row, 0 for none
};

}  // namespace

PlacedReport PlaceReport(const ReportDocument& report) {
    PlacedReport placed;
    for (const ReportLine& line : report.lines) {
        RowPlacer row(placed, line.fontSize);
        for (const ReportItem& item : line.items) row.Place(item);
    }
    return placed;
}

}  // namespace korvanet
