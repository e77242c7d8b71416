// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Importing an instrument's file into the field book, the one way the batch
// tool (--import) and the window (外业手簿 → 导入…) both do it: the file read
// through the bounded reader, its format told from its content (Leica GSI-8
// or GSI-16, the Chinese text raw, or a CSV of points), read into an
// InstrumentRecord or a list of points, then made into a book with the
// surveyor's mapping of its ids to A, B, C and D.

#include <optional>
#include <string>
#include <vector>

#include "adjust/field_book.h"
#include "compute/csv_points.h"
#include "compute/instrument_record.h"
#include "compute/job_file_reader.h"

namespace korvanet {

// What one file gave: a record of pointings, or points.
struct InstrumentFile {
    std::string name;  // as the messages name it
    std::optional<InstrumentRecord> record;
    std::vector<CsvPoint> points;
    std::vector<std::string> notes;  // what reading the points left out
    std::string notice;              // a note on how it was decoded (GB18030), or empty
};

// Reads and tells apart one file ("-": standard input).  Throws an
// InputError naming the file (and a FieldBookLineError's line) when it
// cannot be read, is none of the formats, or refuses a line.
InstrumentFile ReadInstrumentFile(const std::string& path);
// The same from bytes already read; `name` names it in the messages.
InstrumentFile ReadInstrumentBytes(const std::string& bytes, const std::string& name);

// Every id the files name, each once, in order: the table the surveyor maps.
std::vector<std::string> ImportIds(const std::vector<InstrumentFile>& files);

// The book the files make under `mapping`, and the comments that say what
// was assumed.  Points from a CSV fill the `point` lines of the ids they
// name (and are noted where a station's recorded coordinates differ).
struct ImportedBook {
    FieldBook book;
    std::vector<std::string> comments;
};
ImportedBook ImportBook(const std::vector<InstrumentFile>& files, const PointMapping& mapping);

// The book as a .kvf file: the comments as '#' lines, then FieldBookText.
std::string ImportedBookText(const ImportedBook& imported);

// The open book with an import laid over it, as the window's 导入… does it:
// the imported stations, distances and known points replace those of the
// same points; everything else the surveyor typed stays.  A point of the
// import replaces the open one when it has coordinates, else only fills a
// point the open book lacks.  The instrument applied its constants to the
// distances it recorded: throws an InputError when the open book keeps
// distances of its own under constants other than 0 0.
FieldBook MergeImportedBook(const FieldBook& open, const FieldBook& imported);

}  // namespace korvanet
