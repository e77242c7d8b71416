// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printed page of the report: the placed rows drawn in the report's font,
// each item at the left margin plus (column - 1) average character widths of
// the current font, each row one line height below the one before.  A new
// page starts only when a row no longer fits on the current one.
//
// Both functions need a running QGuiApplication (the window or the batch tool
// provides it) and throw KorvanetError, with the fault in Chinese, when the
// printer or the file fails.

#include <functional>
#include <string>

#include "report/report_document.h"

class QFont;
class QPrinter;

namespace korvanet {

// The report's font at `pointSize`: "宋体", which this system substitutes by a
// Song-style face whose Latin characters are half as wide as its Chinese ones
// (AR PL UMing CN), so printed columns match the text rendering.
QFont ReportFont(int pointSize);

// Prints on `printer`: sets its margins to the report's offsets (2000 twips
// left, 1000 twips top), draws every row and ends the document.
void PrintReport(const ReportDocument& report, QPrinter& printer);

// The bytes of a PDF (A4, high resolution) that `draw` prints on the printer
// it is given: made in a private temporary file and checked whole (a PDF
// that ends as one) before they are handed on, so that a saved PDF is never
// a truncated one.  The caller writes them where the surveyor chose
// (compute/file_writer.h), so that every save says why it failed.
std::string PdfBytes(const std::function<void(QPrinter&)>& draw);

// The printed report as a PDF's bytes (PdfBytes).
std::string ReportPdf(const ReportDocument& report);

}  // namespace korvanet
