// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The adjustment report (report/adjustment_document.h) as an OpenDocument
// text file, for a surveyor who hands the report in as a word-processor
// document: the title and the section headings as headings, every table a
// real table with its units in the header row, the rows to stand out bold
// and red, and the drawing of the figure as a picture a text column wide.
//
// Made through Qt's own document writer, so it needs a running
// QGuiApplication (the window or the batch tool provides it) for the fonts
// and the rendering of the drawing.
//
// Units: the picture is 16 cm wide on the page (an A4 text column), drawn at
// 1600 pixels across so that it stays sharp when printed.

#include <string>

#include "report/adjustment_document.h"

namespace korvanet {

// The bytes of the .odt file (a zip whose first entry is its mimetype).
// Throws KorvanetError ("无法生成 ODT 文档 ...") when the drawing cannot be
// rendered or the document cannot be written; the caller writes the bytes
// where the surveyor chose (compute/file_writer.h).
std::string DocumentOdt(const AdjustmentDocument& doc);

}  // namespace korvanet
