// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The field book file (.kvf): UTF-8 or GB18030 text, one keyword a line,
// '#' starts a comment, blank lines are ignored.  The keywords:
//
//   tolerance 2.5                 the job's sigma0 (arc seconds); optional
//   point A 青龙山 x y [h]         letter, name, x, y ('-' '-': not known), height
//   orient 81.2610 30.0000        T0 and Q1, packed (D determined only)
//   theodolite 2                  1, 2 or 6
//   class 四等                    an order class of the class table
//   edm 5 5                       a (mm) + b (mm/km)
//   constants 3 -4                K (mm), R (mm/km)
//   atmosphere 281.8 0.29065      ppm = A - B p / (1 + 0.003661 t)
//   surface 50.0                  H_P (m)
//   projection                    reduce to the Gauss plane
//   station A                     then `set` lines, each followed by
//   set                             `target L R` lines (packed readings)
//   B 0.0230 180.0236
//   distance A B                  measured at A towards B, then
//   read 1832.4812 1832.4815        one set: two to four readings (m)
//   zenith 89.5903 270.0052         face left and face right (packed)
//   heights 1.520 1.600             instrument, reflector (m)
//   met 21.5 1003.2                 temperature (°C), pressure (hPa)

#include <optional>
#include <string>

#include "adjust/field_book.h"
#include "core/korvanet_error.h"

namespace korvanet {

// A refused line of a book: its number (from 1) and why, apart, so that the
// window can mark the cell the line came from; what() is "第 N 行: why".
class FieldBookLineError : public InputError {
public:
    FieldBookLineError(int line, const std::string& why)
        : InputError("第 " + std::to_string(line) + " 行: " + why), line_(line), why_(why) {}
    int line() const { return line_; }
    const std::string& why() const { return why_; }

private:
    int line_;
    std::string why_;
};

// A packed reading (d.mmss, seconds may have decimals) in arc seconds, or
// nothing with `why` when it is no reading: not a number, negative, not
// below 360 degrees, minutes or seconds not below 60.
std::optional<double> ReadPackedReading(const std::string& text, std::string& why);

// Reads a book from UTF-8 text.  Throws a FieldBookLineError naming
// the line and why it is refused (an unknown keyword, a target that is not
// one of the station's other points, a reading that is no reading, a set
// with one line or a target twice, a face-right reading not about 180 deg
// from the face-left one, a distance to the station itself, fewer than two
// readings in a `read` line ...).
FieldBook ReadFieldBook(const std::string& text);

// The book as a file that ReadFieldBook reads back to the same book.
std::string FieldBookText(const FieldBook& book);

// Reads the book at `path` ("-": standard input) through the bounded reader
// of the job files, decoded as a job file is (UTF-8, else GB18030, with
// `notice` saying so).  Throws an InputError naming the file.
FieldBook ReadFieldBookFile(const std::string& path, std::string* notice = nullptr);

}  // namespace korvanet
