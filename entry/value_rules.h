// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules a typed value must keep, judged the moment it is confirmed (the
// tolerance, which has no confirmation, the moment it is typed), so that a
// typing error is caught while the surveyor still has the field book open,
// not after forty more prompts or in a report with misclosures of kilometres.
//
// Each check returns nothing when the value may be used, or a Chinese message
// that names the value, shows what was typed and states the rule it breaks.
// The checks of confirmed values take the text's reading as a number as well:
// it was read once when the value was typed.

#include <optional>
#include <string>

#include "core/number_text.h"

namespace korvanet {

using Refusal = std::optional<std::string>;

// The names of observed angle i (1..8) and observed side i (1..6) in every
// message about them: "第 3 个观测角", "第 3 条边长".
std::string AngleName(int i);
std::string SideName(int i);

// Seconds, greater than 0, within the single-precision field.
Refusal CheckTolerance(const std::string& text);

// x or y of A or of D: a number.  `what` names it ("已知点 A 的纵座标").
Refusal CheckCoordinate(const std::string& text, const NumberReading& reading, const char* what);

// The azimuth T0, packed d.mmss: 0 <= T0 < 360.
Refusal CheckAzimuthT0(const std::string& text, const NumberReading& reading);

// The orientation angle Q1, packed and signed: -360 < Q1 < 360.
Refusal CheckOrientationQ1(const std::string& text, const NumberReading& reading);

// Observed angle i (1..8), packed: strictly between 0 and 180 degrees.
Refusal CheckObservedAngle(const std::string& text, const NumberReading& reading, int i);

// Observed side i (1..6), metres: greater than 0, within the single field.
Refusal CheckObservedSide(const std::string& text, const NumberReading& reading, int i);

// The name of point 0 = A .. 3 = D: text a person typed, so that it never
// holds a control character (C0 U+0000..U+001F, DEL U+007F, C1
// U+0080..U+009F, a tab or a line break among them), which no document could
// show and a file line could not keep.  Any other text is a name.
Refusal CheckPointName(const std::string& text, int point);

// The first control character of a text as "U+0009", or nothing when it has
// none; a text that is not UTF-8 is judged on its bytes.
std::optional<std::string> ControlCharacterIn(const std::string& text);

// Every packed angle above also keeps its minutes and its seconds below 60,
// judged on the digits as typed: the two digits after the point are the
// minutes and the digits after those the seconds, so 45.5959 is 45°59'59"
// while 45.60, 45.6 and 45.5960 are not angles at all.  A value typed with an
// exponent has no such digits and is judged by its range alone.
Refusal CheckPackedDigits(const std::string& text, const std::string& what);

// D with exactly one coordinate typed as zero fits neither reading of D (both
// zero: D is to be determined; neither zero: D is known).
Refusal CheckHalfZeroD(const std::string& xd, const std::string& yd);

// The values of a figure, in the order the prompts ask them.
enum class FigureValue {
    Tolerance,
    XOfA,
    YOfA,
    XOfD,
    YOfD,
    AzimuthT0,
    OrientationQ1,
    PointName,      // number 0 = A .. 3 = D
    ObservedAngle,  // number 1..8
    ObservedSide,   // number 1..6
};

// One value judged alone, by the rule its prompt applies to it; `number` counts the names, angles and sides
// as above. The prompts judge their values through this very function.
Refusal CheckFigureValue(FigureValue value, int number, const std::string& text,
                         const NumberReading& reading);
Refusal CheckFigureValue(FigureValue value, int number, const std::string& text);

}  // namespace korvanet
