// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The field book as the window holds it: the texts of its cells, laid out
// like the paper 手簿, exactly as typed (a cell the rules refuse is kept as
// it is, so that nothing typed is lost).  What the cells mean is decided in
// one place only, the book file's reader: the cells are written out as the
// lines of a .kvf file (LinesOfCells), each line remembering the cells it
// came from, and read back with ReadFieldBook.
//
// Tables: the header (one value a row), the four points, a table of sets
// for each station, and the distance records.  In a station's table a row
// with a text in its 测回 cell starts a set; the rows below it, to the next
// such row, are the set's lines.  In the distance table a row naming its
// two ends starts a record; the rows below it with no ends are its further
// sets of readings.

#include <QString>
#include <array>
#include <string>
#include <vector>

#include "adjust/field_book.h"

namespace korvanet {

enum class BookTable { Header, Points, StationA, StationB, StationC, StationD, Distances };
inline constexpr int kBookTables = 7;
inline BookTable StationTable(int point) {
    return static_cast<BookTable>(static_cast<int>(BookTable::StationA) + point);
}
inline int StationOf(BookTable table) {
    return static_cast<int>(table) - static_cast<int>(BookTable::StationA);
}
inline bool IsStationTable(BookTable table) { return StationOf(table) >= 0 && StationOf(table) < 4; }

// The header's rows; the value is in column 1 (column 0 names it).
namespace book_header {
enum Row {
    Tolerance,
    Theodolite,
    OrderClass,
    EdmA,
    EdmB,
    ConstantK,
    ConstantR,
    AtmosphereA,
    AtmosphereB,
    Surface,
    Projection,  // "1" when the sides are reduced to the Gauss plane, else empty
    OrientT0,
    OrientQ1,
    Rows
};
inline constexpr int kValueColumn = 1;
}  // namespace book_header

// The points' table: a row per point A..D; column 0 the letter.
namespace point_column {
enum { Letter, Name, X, Y, Height, Count };
}

// A station's table: the typed columns, then what the reduction gives.
namespace direction_column {
enum { Set, Target, Left, Right, TwoC, Mean, Reduced, StationMean, Spread, Check, Count };
inline constexpr int kTyped = 4;
}  // namespace direction_column

// The distance table: the typed columns, then each step of the reduction.
namespace distance_column {
enum {
    From,
    To,
    Reading1,
    Reading2,
    Reading3,
    Reading4,
    ZenithLeft,
    ZenithRight,
    InstrumentHeight,
    ReflectorHeight,
    Temperature,
    Pressure,
    MeanSlope,
    ReadingSpread,
    SetSpread,
    Constants,
    Meteorological,
    Horizontal,
    HeightReduction,
    ProjectionReduction,
    Reduced,
    Count
};
inline constexpr int kTyped = 12;
}  // namespace distance_column

using DirectionRow = std::array<QString, direction_column::kTyped>;
using DistanceRow = std::array<QString, distance_column::kTyped>;

struct FieldBookCells {
    std::array<QString, book_header::Rows> header;
    std::array<std::array<QString, 4>, 4> points;  // name, x, y, height of A..D
    std::array<std::vector<DirectionRow>, 4> stations;
    std::vector<DistanceRow> distances;
    bool operator==(const FieldBookCells&) const = default;
};

// How many columns a table has and how many of them (from column 0, or
// from column 1 for the header and the points) are typed.
int ColumnsOf(BookTable table);
bool IsTypedColumn(BookTable table, int column);
// The rows a table holds now (the header's and the points' are fixed).
int RowsOf(const FieldBookCells& cells, BookTable table);

QString CellText(const FieldBookCells& cells, BookTable table, int row, int column);
// Sets a typed cell; a station's or the distances' table grows to the row,
// and loses the empty rows at its end.
void SetCellText(FieldBookCells& cells, BookTable table, int row, int column, const QString& text);

struct CellRef {
    BookTable table = BookTable::Header;
    int row = 0;
    int column = 0;
    bool operator==(const CellRef&) const = default;
};

// The cells written as the lines of a book file.
struct BookLines {
    struct Line {
        std::string text;
        std::vector<CellRef> cells;  // the typed cells it holds (never empty)
        int group = -1;              // the set or distance record it belongs to
        bool opensGroup = false;     // its `set` or `distance` line
        bool readings = false;       // a set's line: its target and two packed readings
    };
    std::vector<Line> lines;
    // Cells that cannot be written as a line at all (a value with a blank in
    // it, a pair with one half), with why; their lines are left out.
    std::vector<std::pair<CellRef, std::string>> unwritten;
};
BookLines LinesOfCells(const FieldBookCells& cells);

// The cells that show `book`, each value as its text.
FieldBookCells CellsOfBook(const FieldBook& book);

// The cells as a small JSON document, to keep between program runs, and
// back; false when `bytes` is no such document.
std::string CellsJson(const FieldBookCells& cells);
bool ReadCellsJson(const std::string& bytes, FieldBookCells& cells);

}  // namespace korvanet
