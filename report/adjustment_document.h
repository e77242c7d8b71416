// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The adjustment report (平差报告) as a document to hand in, beside the
// fixed page of the printed report: a title, sections in a fixed order, and
// in each section paragraphs, tables and the drawing.  Filled once from a
// completed run (or a design) and written by several writers: HTML and CSV
// as plain text here, ODT through Qt's document writer in print/.
//
// Every cell is text already: the numbers are written with the digits the
// report shows them with, so that every writer gives the same figures.  A
// table's column carries its unit apart from its heading, for the writers
// that put the unit into the heading ("改正数 (″)") and for a spreadsheet.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvanet {

struct DocumentColumn {
    std::string heading;  // "观测值", "改正数" ...
    std::string unit;     // "″", "mm", "m", "°′″", "" for none
};

// The column's heading as every writer puts it over the column: "改正数 (″)",
// or the heading alone when the column has no unit.
inline std::string ColumnHeading(const DocumentColumn& column) {
    return column.unit.empty() ? column.heading : column.heading + " (" + column.unit + ")";
}

// A cell that reads as a figure (a number, 1/N, an angle in d°m′s″, a
// number with its unit sign): the writers set it right-aligned so that its
// digits line up, and never break it over two lines.
inline bool ReadsAsFigure(std::string_view text) {
    if (text.empty()) return false;
    bool digit = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '-' || c == '+' || c == '.' || c == '/' || c == 'e') {
        } else if (c >= 0x80) {
            // °, ′ and ″ only: each is two or three bytes of UTF-8
            const std::string_view rest = text.substr(i);
            const std::size_t n = rest.starts_with("°")                            ? 2
                                  : rest.starts_with("′") || rest.starts_with("″") ? 3
                                                                                   : 0;
            if (n == 0) return false;
            i += n - 1;
        } else {
            return false;
        }
    }
    return digit;
}

struct DocumentTable {
    // The table's name in a CSV file (its first column) and its caption in a
    // document: "观测值", "点位精度", "闭合差" ...
    std::string name;
    std::vector<DocumentColumn> columns;
    std::vector<std::vector<std::string>> rows;  // each as many cells as columns
    // Rows to stand out (a limit exceeded, the suspect observation, a check
    // failed): as many entries as rows, or empty for none.
    std::vector<bool> flagged;
    // A table of the computation's steps is a matrix: the writers give its
    // first column as row headings and need not offer it to a spreadsheet.
    bool matrix = false;

    // Whether the cell is set as a figure, right-aligned: a table of two
    // columns lists items and what they are, and reads as text throughout.
    bool AlignsRight(std::string_view cell) const { return columns.size() > 2 && ReadsAsFigure(cell); }
};

// A paragraph, a table, or the drawing of the figure.
struct DocumentBlock {
    enum class Kind { Paragraph, Table, Figure };
    Kind kind = Kind::Paragraph;
    std::string text;     // Paragraph: the text; Figure: its caption
    DocumentTable table;  // Table
    std::string svg;      // Figure: a whole SVG document (UTF-8)
};

struct DocumentSection {
    std::string heading;  // "概况", "闭合差" ...
    std::vector<DocumentBlock> blocks;
};

struct AdjustmentDocument {
    std::string title;     // "平差报告", or "精度估算报告" for a design
    std::string subtitle;  // the job, the date and the program
    std::vector<DocumentSection> sections;
};

// Shorthands for the builders.
inline DocumentBlock ParagraphBlock(std::string text) {
    DocumentBlock b;
    b.text = std::move(text);
    return b;
}
inline DocumentBlock TableBlock(DocumentTable table) {
    DocumentBlock b;
    b.kind = DocumentBlock::Kind::Table;
    b.table = std::move(table);
    return b;
}
inline DocumentBlock FigureBlock(std::string svg, std::string caption) {
    DocumentBlock b;
    b.kind = DocumentBlock::Kind::Figure;
    b.svg = std::move(svg);
    b.text = std::move(caption);
    return b;
}

}  // namespace korvanet
