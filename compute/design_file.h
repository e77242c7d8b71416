// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design file: UTF-8 text, one line a point, comments after '#'.
//
//   tolerance 2.5
//   A 青龙山 3521408.25 512736.48 known
//   B 望江楼 3523210.1  512402.9
//   C 石门   3523650.7  514380.3
//   D 东岗   3521735.98 514912.655 known
//
// The tolerance is the planned angle mean error in arc seconds, as typed in a
// job; each point line gives its letter, its name, x (north) and y (east) in
// metres, and `known` for a known point.  A is always known; D without
// `known` is determined; B and C are always determined.

#include <string>

#include "adjust/design_observations.h"

namespace korvanet {

// Reads a design.  Throws an InputError naming the line for a missing point,
// a point given twice, a value that is no number, a line that is neither, and
// a figure that is no braced quadrilateral of the program's numbering (the
// diagonals A-C and B-D must cross) or has an angle under 1 degree.
Design ReadDesignFile(const std::string& text);

// The design as a file that ReadDesignFile reads back to the same design,
// its coordinates as DesignCoordinateText writes them.
std::string DesignFileText(const Design& design);

// A coordinate in metres as the design file and the design table show it:
// as typed (the shortest text that reads back to the very number) when that
// needs no more than four decimals, else to 0.1 mm ("3521408.2513"), for a
// point dragged in the drawing is placed no closer than that.
std::string DesignCoordinateText(double metres);

}  // namespace korvanet
