// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list of known points as a spreadsheet saves it: 点名,x,y[,h] a line, or
// the columns a header line names (点名/点号/name, x/X/N/北, y/Y/E/东,
// h/H/高程); comma, tab or semicolon between the values.  x is north and y
// east, in metres, as on every Chinese coordinate list.

#include <optional>
#include <string>
#include <vector>

namespace korvanet {

struct CsvPoint {
    int line = 0;
    std::string id;
    double x = 0, y = 0;  // metres, x north, y east
    std::optional<double> height;
    std::string xText, yText, heightText;  // as written, for the book's `point` line
};

// Whether the text reads as such a list: its first line that is not blank
// or a '#' comment has at least three values between the separators.
bool LooksLikePointCsv(const std::string& text);

// The points, in the order of the file.  Throws a FieldBookLineError naming
// the line of a value that is no number, a header naming a column twice or
// lacking one, a line with too few or too many values.  `notes` gains what
// was left out (columns the header names that no point line uses).
std::vector<CsvPoint> ReadPointCsv(const std::string& text, std::vector<std::string>& notes);

}  // namespace korvanet
