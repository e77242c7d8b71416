// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The field book (外业手簿) as the surveyor keeps it: the points, the
// instruments, and at each station its sets (测回) of face-left and
// face-right readings, and for each side its records of slope distances.
// compute/field_book_file.h reads and writes it as a .kvf file;
// adjust/field_reduction.h reduces it to the figure's angles and sides.
//
// Notation: points 0..3 are A, B, C, D (adjust/quadrilateral.h).  Every
// value keeps the text it was typed as, so that a book written out reads
// back to the same book; its value is in the unit of the book: horizontal
// and zenith readings (packed d.mmss in the text) in arc seconds from 0 up
// to 1 296 000, distances and heights in metres, constants in mm and mm/km,
// temperature in degrees Celsius, pressure in hPa.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace korvanet {

// A value as typed and what it reads as.
struct FieldNumber {
    std::string text;
    double value = 0;
    bool operator==(const FieldNumber&) const = default;
};

struct FieldPoint {
    bool given = false;  // the book has a `point` line for it
    std::string name;
    std::optional<FieldNumber> x, y;  // both or neither; none: not known
    std::optional<FieldNumber> height;
    bool operator==(const FieldPoint&) const = default;
};

// One line of a set: the target pointed at and its two readings.
struct FieldDirectionLine {
    int target = 0;
    FieldNumber left, right;  // face left (盘左), face right (盘右)
    bool operator==(const FieldDirectionLine&) const = default;
};

// One set (测回) at a station.  Its first line names its first target; a
// last line naming the first target again closes the round (归零).  A set
// of two targets (without a closing line) is one angle by 测回法.
struct FieldSet {
    std::vector<FieldDirectionLine> lines;
    bool operator==(const FieldSet&) const = default;
};

struct FieldStation {
    int point = 0;
    std::vector<FieldSet> sets;
    bool operator==(const FieldStation&) const = default;
};

// One distance record: measured at `from` towards `to`.
struct FieldDistance {
    int from = 0, to = 0;
    std::vector<std::vector<FieldNumber>> sets;         // each set two to four slope readings, m
    std::optional<std::array<FieldNumber, 2>> zenith;   // face left and face right, packed
    std::optional<std::array<FieldNumber, 2>> heights;  // instrument and reflector, m
    std::optional<std::array<FieldNumber, 2>> met;      // temperature °C, pressure hPa
    bool operator==(const FieldDistance&) const = default;
};

struct FieldBook {
    std::optional<FieldNumber> tolerance;  // sigma0, arc seconds
    std::array<FieldPoint, 4> points;
    std::optional<std::array<FieldNumber, 2>> orient;  // T0 and Q1, packed; values in arc seconds, Q1 signed
    std::optional<FieldNumber> theodolite;             // 1, 2 or 6 (arc seconds); none: 2
    std::string orderClass;                            // empty: none
    std::optional<std::array<FieldNumber, 2>> edm;     // a (mm), b (mm/km); none: 5 5
    std::optional<std::array<FieldNumber, 2>> constants;   // K (mm), R (mm/km); none: 0 0
    std::optional<std::array<FieldNumber, 2>> atmosphere;  // A, B of the ppm formula; none: 281.8 0.29065
    std::optional<FieldNumber> surface;                    // H_P, m
    bool projection = false;
    std::vector<FieldStation> stations;    // in the order of the book, each point once
    std::vector<FieldDistance> distances;  // in the order of the book
    bool operator==(const FieldBook&) const = default;
};

// The book's instruments with their defaults filled in.
struct FieldInstruments {
    int theodolite = 2;
    double edmA = 5, edmB = 5;            // mm, mm/km
    double constantK = 0, constantR = 0;  // mm, mm/km
    double atmosphereA = 281.8, atmosphereB = 0.29065;
};
FieldInstruments InstrumentsOf(const FieldBook& book);

}  // namespace korvanet
