// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/document_csv.h"

#include <vector>

namespace korvanet {
namespace {

void Field(std::string& out, const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void Line(std::string& out, const std::string& first, const std::vector<std::string>& rest) {
    Field(out, first);
    for (const std::string& text : rest) {
        out += ',';
        Field(out, text);
    }
    out += "\r\n";
}

}  // namespace

std::string DocumentCsv(const AdjustmentDocument& document) {
    std::string out = "\xEF\xBB\xBF";
    for (const DocumentSection& section : document.sections) {
        for (const DocumentBlock& block : section.blocks) {
            if (block.kind != DocumentBlock::Kind::Table) continue;
            const DocumentTable& table = block.table;
            std::vector<std::string> headings;
            for (const DocumentColumn& column : table.columns) headings.push_back(ColumnHeading(column));
            Line(out, "表", headings);
            for (const std::vector<std::string>& row : table.rows) Line(out, table.name, row);
        }
    }
    return out;
}

}  // namespace korvanet
