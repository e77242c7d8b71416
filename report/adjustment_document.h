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

#include <string>
#include <vector>

namespace korvanet {

struct DocumentColumn {
    std::string heading;  // "观测值", "改正数" ...
    std::string unit;     // "″", "mm", "m", "°′″", "" for none
};

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
