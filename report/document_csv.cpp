// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/document_csv.h"

#include <string>
#include <string_view>
#include <vector>

#include "core/number_text.h"

namespace korvanet {
namespace {

// A figure the report writes: a signed number, an angle with its marks
// ("-0°00′01.25″"), or "-" for none.  Nothing a spreadsheet reads as a
// formula can be made of these.
bool IsWrittenFigure(const std::string& text) {
    if (text == "-") return true;
    if (ReadNumber(text).IsNumber() && text.find_first_of(" \t") == std::string::npos) return true;
    if (text.size() < 2 || (text[0] != '-' && text[0] != '+') || text[1] < '0' || text[1] > '9') return false;
    std::string digits = text.substr(1);
    for (const std::string mark : {"°", "′", "″"}) {
        for (std::size_t at; (at = digits.find(mark)) != std::string::npos;)
            digits.replace(at, mark.size(), "0");
    }
    return digits.find_first_not_of("0123456789.") == std::string::npos;
}

// A text cell a spreadsheet would take as a formula (=, +, -, @, or a tab or
// a carriage return in front of one) gets a leading apostrophe, so that a
// point named =HYPERLINK(...) stays a name; the report's own figures stay
// numbers.
bool LooksLikeFormula(const std::string& text) {
    return !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos &&
           !IsWrittenFigure(text);
}

void Field(std::string& out, const std::string& cell) {
    const std::string text = LooksLikeFormula(cell) ? "'" + cell : cell;
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
