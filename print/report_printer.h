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

// Writes the printed report as a PDF file (A4) at `path` (UTF-8), replacing
// any file there.
void WriteReportPdf(const ReportDocument& report, const std::string& path);

}  // namespace korvanet
