#include "result_texts.h"

#include "display_text.h"

namespace korvanet {
namespace {

// The blank in front, the number, the unit (which brings its own blank).
std::string Boxed(const std::string& number, const char* unit = "") {
    std::string text(" ");
    text.append(number).append(unit);
    return text;
}

}  // namespace

std::string DerivedSideText(double side) { return FormatPattern(RoundHalfEven(side, 4), 4); }

std::string DerivedAzimuthText(double packed) {
    return FormatPattern(RoundHalfEven(packed, 5), 3).append(kDegreeUnit);
}

std::string SecondsText(double seconds) {
    return Boxed(FormatPattern(RoundHalfEven(seconds, 2), 2), kSecondUnit);
}

std::string MisclosureMillimetreText(float metres) {
    const float millimetres = metres * 1000.0f;  // rounded to single, as the field holds it
    return Boxed(FormatPattern(RoundHalfEven(millimetres, 2), 2), kMillimetreUnit);
}

std::string WeightReciprocalText(double value) { return Boxed(FormatGeneral(RoundHalfEven(value, 4), 15)); }

std::string UnitWeightErrorText(float m0) {
    const float rounded = static_cast<float>(RoundHalfEven(m0, 2));  // a single value, 7 digits
    return Boxed(FormatGeneral(rounded, 7), kSecondUnit);
}

std::string MillimetreText(float millimetres) {
    return Boxed(FormatPattern(RoundHalfEven(millimetres, 2), 2), kMillimetreUnit);
}

std::string CoordinateText(double metres) { return Boxed(FormatPattern(RoundHalfEven(metres, 3), 3)); }

std::string EnteredText(const std::string& text) { return Boxed(text); }

}  // namespace korvanet
