// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/document_text.h"

#include <vector>

#include "report/document_csv.h"

namespace korvanet {
namespace {

void Cell(std::string& out, const std::string& text) {
    for (char c : text) out += c == '\t' || c == '\n' || c == '\r' ? ' ' : c;
}

void Row(std::string& out, const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) out += '\t';
        Cell(out, cells[i]);
    }
    out += '\n';
}

}  // namespace

std::string DocumentText(const AdjustmentDocument& document) {
    std::string out;
    Cell(out, document.title);
    out += '\n';
    if (!document.subtitle.empty()) {
        Cell(out, document.subtitle);
        out += '\n';
    }
    for (const DocumentSection& section : document.sections) {
        std::string body;
        for (const DocumentBlock& block : section.blocks) {
            if (block.kind == DocumentBlock::Kind::Paragraph) {
                Cell(body, block.text);
                body += '\n';
            } else if (block.kind == DocumentBlock::Kind::Table) {
                std::vector<std::string> headings;
                for (const DocumentColumn& column : block.table.columns)
                    headings.push_back(ColumnHeading(column));
                Row(body, headings);
                for (const std::vector<std::string>& row : block.table.rows) Row(body, row);
            }
        }
        if (body.empty()) continue;  // the drawing's section
        out += '\n';
        Cell(out, section.heading);
        out += '\n' + body;
    }
    return out;
}

}  // namespace korvanet
