// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The adjustment report (report/adjustment_document.h) on paper or as PDF:
// the quality window's 打印 and 存为 PDF.  The same document the HTML, ODT
// and CSV writers write, set as flowing text on A4: the title and the
// section headings as headings, every table with its units in the header
// row, the rows to stand out bold and red, the drawing a text column wide.
//
// Set in AR PL UMing CN, a Song face whose PDF keeps every Chinese character
// as itself in the text layer (a reader who searches the PDF for 米 or 角
// finds it); the Noto CJK faces come out of Qt's PDF as look-alike radicals.
//
// Needs a running QGuiApplication; throws KorvanetError when the drawing
// cannot be rendered.

#include "report/adjustment_document.h"

class QPrinter;

namespace korvanet {

// Prints `doc` on `printer` (a printer chosen in the print dialog, or a PDF
// file through PdfBytes) and ends the document.
void PrintDocument(const AdjustmentDocument& doc, QPrinter& printer);

}  // namespace korvanet
