// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report_text.h"

#include "report/report_placement.h"
#include "report/text_columns.h"

namespace korvanet {

std::string RenderReportText(const ReportDocument& report) {
    std::string text;
    for (const PlacedRow& row : PlaceReport(report).rows) {
        std::string line;
        int nextColumn = 1;
        for (const PlacedItem& item : row.items) {
            if (item.column > nextColumn)
                line.append(static_cast<std::size_t>(item.column - nextColumn), ' ');
            line += item.text;
            nextColumn = item.column + TextColumns(item.text);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace korvanet
