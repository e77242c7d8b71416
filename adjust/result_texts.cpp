// SPDX-License-Identifier: GPL-3.0-or-later
#include "adjust/result_texts.h"

#include "core/display_text.h"

namespace korvanet {
namespace {

// The blank in front, the number in the pattern with `decimals`, the unit
// (which brings its own blank).
std::string BoxedPattern(double value, int decimals, const char* unit = "") {
    std::string text = " ";
    AppendPattern(text, value, decimals);
    return text.append(unit);
}

// The same in the general form with `significant` digits.
std::string BoxedGeneral(double value, int significant, const char* unit = "") {
    return " " + FormatGeneral(value, significant) + unit;
}

}  // namespace

std::string DerivedSideText(double side) { return FormatPattern(RoundHalfEven(side, 4), 4); }

std::string DerivedAzimuthText(double packed) {
    return FormatPattern(RoundHalfEven(packed, 5), 3).append(kDegreeUnit);
}

std::string SecondsText(double seconds) { return BoxedPattern(RoundHalfEven(seconds, 2), 2, kSecondUnit); }

std::string MisclosureMillimetreText(float metres) {
    const float millimetres = metres * 1000.0f;  // rounded to single, as the field holds it
    return BoxedPattern(RoundHalfEven(millimetres, 2), 2, kMillimetreUnit);
}

std::string WeightReciprocalText(double value) { return BoxedGeneral(RoundHalfEven(value, 4), 15); }

std::string UnitWeightErrorText(float m0) {
    const float rounded = static_cast<float>(RoundHalfEven(m0, 2));  // a single value, 7 digits
    return BoxedGeneral(rounded, 7, kSecondUnit);
}

std::string MillimetreText(float millimetres) {
    return BoxedPattern(RoundHalfEven(millimetres, 2), 2, kMillimetreUnit);
}

std::string CoordinateText(double metres) { return BoxedPattern(RoundHalfEven(metres, 3), 3); }

std::string EnteredText(const std::string& text) { return " " + text; }

}  // namespace korvanet
