// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a total station recorded, read from its file before it becomes a
// field book: the stations it was set up on and, at each, its pointings in
// the order they were made.  The GSI reader (compute/gsi_reader.h) and the
// text-raw reader (compute/text_raw_reader.h) each fill one; BookFromRecord
// makes the field book (adjust/field_book.h) of it, so that both formats
// form their sets, pair their faces and gather their distances by the one
// rule.
//
// Units: angles in arc seconds, 0 <= value < 1 296 000, rounded to 0.01";
// distances and heights in metres.  `line` is the line of the file (from 1)
// that the record came from, for the messages.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "adjust/field_book.h"

namespace korvanet {

struct InstrumentPointing {
    int line = 0;
    std::string target;                     // the target's id as recorded
    double horizontal = 0;                  // Hz
    std::optional<double> zenith;           // V, the zenith angle; face II when above 180 deg
    std::optional<double> slope;            // slope distance
    std::optional<double> reflectorHeight;  // as recorded with this pointing, or the last one set
};

struct InstrumentStation {
    int line = 0;
    std::string id;
    std::optional<double> instrumentHeight;
    std::optional<double> east, north, height;  // as recorded, when the station's coordinates were set
    std::vector<InstrumentPointing> pointings;
};

struct InstrumentRecord {
    std::string format;                       // "GSI-16", "GSI-8", "文本原始数据"
    std::vector<InstrumentStation> stations;  // in the order of the file
    // What the book should say it assumed or left out, one comment a line
    // ("跳过 12 个未用的字 (WI 41, 42)", "仪器已加 ppm 12, 棱镜常数 -30 mm") .
    std::vector<std::string> notes;
};

// Every point id the record names, stations and targets, each once, in the
// order they first appear.
std::vector<std::string> RecordIds(const InstrumentRecord& record);

// Which figure point (0..3 = A..D) each id of the file stands for.
using PointMapping = std::map<std::string, int>;

// "A=ID,B=ID,C=ID,D=ID" as the command line gives it (any of the four, each
// letter and each id once).  Throws an InputError saying what is wrong.
PointMapping ParsePointMapping(const std::string& text);

// Without a mapping the ids A, B, C and D stand for themselves.  Throws an
// InputError naming the ids found when the record names any other id.
PointMapping IdentityMapping(const InstrumentRecord& record);

// The field book of the record under `mapping`: the points named by their
// ids, every station with its sets (a run of face-I pointings then a run of
// face-II pointings is a set; a face-I pointing after face II starts the
// next; the k-th face-I pointing of a target pairs with its k-th face-II
// one into a line), every slope distance of a target's pointings in a set
// one reading of the `read` line of that set, the zenith pair of the first
// set its `zenith` line, heights when both are recorded.  A station's
// coordinates become its point's `point` line.  A station or a target the
// mapping leaves out is left out of the book, with a note; the first target
// of a set, its zero direction, must be mapped.  Throws a FieldBookLineError
// naming the file's line: an unmapped first target, a face-II pointing with
// no face-I partner, a station or a set that is not the figure's, and the
// like.  `notes` gains what was assumed and what was left out.
FieldBook BookFromRecord(const InstrumentRecord& record, const PointMapping& mapping,
                         std::vector<std::string>& notes);

}  // namespace korvanet
