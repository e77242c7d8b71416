// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The adjustment report (report/adjustment_document.h) as an OpenDocument
// text file, for a surveyor who hands the report in as a word-processor
// document: the title and the section headings as headings (in the outline,
// their Chinese as large and bold as their Latin), every table a real table
// with its units in the header row, its columns as wide as their longest
// figure so that no number breaks over two lines, the rows to stand out bold
// and red, and the drawing of the figure as a picture a text column wide.
// A section whose tables are too wide for A4 upright (the steps of the
// computation) is set on landscape pages.
//
// Written here, package and all (a zip of stored entries, the mimetype
// first): Qt's document writer gives sizes and weights only to Latin
// script and has no headings, column widths or page orientation.  The
// picture needs a running QGuiApplication (print/svg_image.h).
//
// Units: A4, 2 cm margins; the text 10.5 pt (五号), tables 9 pt (小五);
// the picture 16 cm wide, drawn at 1600 pixels across so that it stays sharp
// when printed.

#include <string>

#include "report/adjustment_document.h"

namespace korvanet {

// The bytes of the .odt file.  Throws KorvanetError ("无法生成 ODT 文档 ...")
// when the drawing cannot be rendered; the caller writes the bytes where the
// surveyor chose (compute/file_writer.h).
std::string DocumentOdt(const AdjustmentDocument& doc);

}  // namespace korvanet
