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

#include <optional>
#include <string>

#include "adjust/design_observations.h"

namespace korvanet {

// A design's point name (point 0 = A .. 3 = D): a name as the job takes it
// (no control character), and one word of its line in the file: not empty,
// no blank (nor the no-break or the ideographic blank, which read as one)
// and no '#', where a comment begins.  Nothing when it may be used, else the
// message that names the point and the rule.
std::optional<std::string> CheckDesignPointName(const std::string& name, int point);

// Reads a design.  Throws an InputError naming the line for a missing point,
// a point given twice, a value that is no number, a line that is neither, and
// a name that CheckDesignPointName refuses, a figure that is no braced quadrilateral of the program's
// numbering (the diagonals A-C and B-D must cross) or has an angle under 1 degree.
Design ReadDesignFile(const std::string& text);

// The design as a file that ReadDesignFile reads back to the same design,
// its coordinates as DesignCoordinateText writes them.  Throws an InputError
// for a name that CheckDesignPointName refuses.
std::string DesignFileText(const Design& design);

// A coordinate in metres as the design file and the design table show it:
// the shortest text that reads back to the very number, so a typed value is
// written as typed and the file reads back to the same design.  What the
// program computes itself (a dragged point, a design made from an adjusted
// job) it places to 0.1 mm first (DesignCoordinateToTenthMm), so that no
// coordinate carries seventeen digits.
std::string DesignCoordinateText(double metres);

// `metres` to 0.1 mm, as exactly as a double holds it.
double DesignCoordinateToTenthMm(double metres);

}  // namespace korvanet
