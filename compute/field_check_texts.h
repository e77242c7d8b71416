// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a field check (adjust/field_reduction.h) is written in every document
// and output: its key (the name JSON gives it), its Chinese name, its value
// and limit with their unit, and its verdict; and what a book still lacks,
// in Chinese.  One table, so that the computation sheet, the report and the
// batch tool never word or round a check differently.

#include <string>
#include <string_view>

#include "adjust/field_reduction.h"

namespace korvanet {

// "half_round_closure", "two_c_range", "set_spread", "half_set_difference",
// "angle_set_spread", "reading_spread", "distance_set_spread",
// "forward_back", "projection_distortion".
std::string_view FieldCheckKindKey(FieldCheckKind kind);

// What the kind judges: "半测回归零差", "2C 互差", "往返较差" ...
std::string FieldCheckKindName(FieldCheckKind kind);

// The unit of the kind's value and limit: "″", "mm" or "mm/km".
std::string FieldCheckUnit(FieldCheckKind kind);

// The value alone, "14.0", for a column that carries the unit, and with
// its unit, "14.0″", "3.2 mm".  A check that fails shows as
// many more digits as it takes for its value never to read as its limit
// (13.04″ against 13.0″, not 13.0″).
std::string FieldCheckFigure(const FieldCheck& check);
std::string FieldCheckValueText(const FieldCheck& check);

// The limit with the relation the value must keep to it, "≤ 13.0″"; "-"
// where the check is not judged.
std::string FieldCheckLimitText(const FieldCheck& check);

// "合格", "超限" or "未检核".
std::string FieldCheckVerdictText(const FieldCheck& check);

// What the job still lacks (FieldBookRun::missing: "station B", "S(3)",
// "tolerance", "point D", "height C", "B(3)", "orientation" ...) in the surveyor's words;
// a text it does not know is given as it is.
std::string FieldMissingText(const std::string& missing);

}  // namespace korvanet
