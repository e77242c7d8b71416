// SPDX-License-Identifier: GPL-3.0-or-later
// Every tag of the HTML report is written here.  Text from the user (job
// and point names) is escaped; the drawing is the program's own SVG, put in
// as it is once its XML declaration, which HTML does not allow there, is
// taken off.

#include "report/document_html.h"

#include <string_view>

#include "report/markup_text.h"

namespace korvanet {
namespace {

// A4 with margins a binder leaves room for; 9.5 pt keeps the widest table,
// the condition equations, within the text column.
constexpr const char* kStyle = R"(
body { font-family: "Noto Serif CJK SC", "Noto Sans CJK SC", "AR PL UMing CN", "SimSun", serif;
       font-size: 10.5pt; line-height: 1.45; color: #000; margin: 2em auto; max-width: 60em; padding: 0 1em; }
h1 { font-size: 18pt; margin: 0 0 0.2em; }
p.subtitle { margin: 0 0 1.5em; color: #333; }
h2 { font-size: 13pt; margin: 1.6em 0 0.5em; border-bottom: 1px solid #000; padding-bottom: 0.1em; }
table { border-collapse: collapse; margin: 0.4em 0 1em; font-size: 9.5pt; }
caption { text-align: left; font-weight: bold; padding: 0.2em 0; }
th, td { border: 1px solid #666; padding: 0.15em 0.45em; vertical-align: top; }
thead th { background: #eee; font-weight: bold; text-align: center; }
tbody th { text-align: left; font-weight: bold; background: #f6f6f6; }
td.n { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
tr.flagged td, tr.flagged th { color: #b00000; font-weight: bold; }
tr.flagged td:first-child, tr.flagged th:first-child { border-left: 3px solid #b00000; }
figure { margin: 1em 0; }
figure svg { max-width: 100%; height: auto; }
figcaption { font-size: 9.5pt; color: #333; }
@page { size: A4; margin: 18mm 15mm; }
@media print {
  body { margin: 0; max-width: none; padding: 0; font-size: 10pt; }
  h2 { break-after: avoid; }
  table { break-inside: auto; font-size: 8.5pt; }
  thead { display: table-header-group; }
  tr, figure { break-inside: avoid; }
  tr.flagged td, tr.flagged th { color: #000; }
}
)";

void Escaped(std::string& out, std::string_view text) { AppendEscapedMarkup(out, text); }

void Element(std::string& out, const char* tag, std::string_view text, const char* attributes = "") {
    out += '<';
    out += tag;
    out += attributes;
    out += '>';
    Escaped(out, text);
    out += "</";
    out += tag;
    out += ">\n";
}

void Table(std::string& out, const DocumentTable& table) {
    out += "<table>\n";
    Element(out, "caption", table.name);
    out += "<thead><tr>";
    for (const DocumentColumn& column : table.columns) {
        out += "<th scope=\"col\">";
        Escaped(out, ColumnHeading(column));
        out += "</th>";
    }
    out += "</tr></thead>\n<tbody>\n";
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const bool flagged = r < table.flagged.size() && table.flagged[r];
        out += flagged ? "<tr class=\"flagged\">" : "<tr>";
        const std::vector<std::string>& row = table.rows[r];
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c == 0 && table.matrix) {
                out += "<th scope=\"row\">";
                Escaped(out, row[c]);
                out += "</th>";
                continue;
            }
            out += table.AlignsRight(row[c]) ? "<td class=\"n\">" : "<td>";
            Escaped(out, row[c]);
            out += "</td>";
        }
        out += "</tr>\n";
    }
    out += "</tbody>\n</table>\n";
}

void Figure(std::string& out, const DocumentBlock& block) {
    std::string_view svg = block.svg;
    if (svg.starts_with("<?xml")) {
        const std::size_t end = svg.find("?>");
        svg.remove_prefix(end == std::string_view::npos ? svg.size() : end + 2);
    }
    while (!svg.empty() && (svg.front() == '\n' || svg.front() == '\r' || svg.front() == ' '))
        svg.remove_prefix(1);
    out += "<figure>\n";
    out += svg;
    if (!svg.empty() && svg.back() != '\n') out += '\n';
    Element(out, "figcaption", block.text);
    out += "</figure>\n";
}

}  // namespace

std::string DocumentHtml(const AdjustmentDocument& document) {
    std::string out;
    out.reserve(64 * 1024);
    out += "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n";
    out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    Element(out, "title", document.title);
    out += "<style>";
    out += kStyle;
    out += "</style>\n</head>\n<body>\n";
    Element(out, "h1", document.title);
    Element(out, "p", document.subtitle, " class=\"subtitle\"");
    for (const DocumentSection& section : document.sections) {
        out += "<section>\n";
        Element(out, "h2", section.heading);
        for (const DocumentBlock& block : section.blocks) {
            switch (block.kind) {
                case DocumentBlock::Kind::Paragraph:
                    Element(out, "p", block.text);
                    break;
                case DocumentBlock::Kind::Table:
                    Table(out, block.table);
                    break;
                case DocumentBlock::Kind::Figure:
                    Figure(out, block);
                    break;
            }
        }
        out += "</section>\n";
    }
    out += "</body>\n</html>\n";
    return out;
}

}  // namespace korvanet
