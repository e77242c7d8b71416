// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The form's text boxes, each named once for what it shows.  The texts are
// the form's own control names ("Text23", "Text9(0)"): the window finds its
// boxes by them, the batch tool prints them, the commands write through them.
// Everyone else says what the box shows: boxes::kWeightReciprocalXOfB, not
// "Text30".  Points are numbered 0 = A, 1 = B, 2 = C, 3 = D, 4 = A once
// more, as reached around the figure.

#include <array>
#include <stdexcept>
#include <string>

#include "core/text_display.h"

namespace korvanet::boxes {

// Known coordinates, as entered.
inline constexpr const char* kXOfA = "Text1";
inline constexpr const char* kYOfA = "Text2";
inline constexpr const char* kXOfD = "Text3";
inline constexpr const char* kYOfD = "Text4";

// Start angles.  When D is not a known point they show T0 and Q1 as
// entered; when D is known, the azimuth A-D and the side A-D derived from
// the two known points take their place.
inline constexpr const char* kAzimuthT0 = "Text5";
inline constexpr const char* kOrientationQ1 = "Text6";

// The observed angles B(1)..B(8) and sides S(1)..S(6): elements 0..7 and
// 0..5 of the two box arrays.
inline constexpr const char* kObservedAngles = "Text9";
inline constexpr const char* kObservedSides = "Text10";
inline constexpr int kAngleCount = 8;
inline constexpr int kSideCount = 6;

// angle = 1..8 in the order of the diagram
inline std::string ObservedAngle(int angle) {
    if (angle < 1 || angle > kAngleCount) throw std::out_of_range("observed angle " + std::to_string(angle));
    return ArrayBox(kObservedAngles, angle - 1);
}

// side = 1..6
inline std::string ObservedSide(int side) {
    if (side < 1 || side > kSideCount) throw std::out_of_range("observed side " + std::to_string(side));
    return ArrayBox(kObservedSides, side - 1);
}

// The angle-sum misclosures of triangle 1 (A, B, C) and triangle 2 (A, C,
// D), in seconds, after which they are spread over their angles.
inline constexpr const char* kTriangleMisclosure1 = "Text23";
inline constexpr const char* kTriangleMisclosure2 = "Text24";

inline const char* TriangleMisclosure(int triangle) {
    if (triangle == 1) return kTriangleMisclosure1;
    if (triangle == 2) return kTriangleMisclosure2;
    throw std::out_of_range("triangle " + std::to_string(triangle));
}

// The misclosures w(1)..w(9) of the condition equations: w(1) of the figure
// condition in seconds, w(2)..w(9) of the side-angle conditions in
// millimetres.  Index 0 is unused, as in the record's arrays.
inline constexpr std::array<const char*, 10> kConditionMisclosures = {
    nullptr, "Text25", "Text26", "Text27", "Text28", "Text29", "Text14", "Text15", "Text16", "Text17"};

// r = 1..9
inline const char* ConditionMisclosure(int r) {
    if (r < 1 || r > 9) throw std::out_of_range("condition " + std::to_string(r));
    return kConditionMisclosures[static_cast<std::size_t>(r)];
}

// Weight reciprocals of the coordinates of B and C, from the weight functions.
inline constexpr const char* kWeightReciprocalXOfB = "Text30";
inline constexpr const char* kWeightReciprocalYOfB = "Text31";
inline constexpr const char* kWeightReciprocalXOfC = "Text32";
inline constexpr const char* kWeightReciprocalYOfC = "Text33";

// Mean errors, in millimetres, of the coordinates of B and C and of the two
// points as a whole.
inline constexpr const char* kMeanErrorXOfB = "Text34";
inline constexpr const char* kMeanErrorYOfB = "Text35";
inline constexpr const char* kPointErrorB = "Text36";
inline constexpr const char* kMeanErrorXOfC = "Text37";
inline constexpr const char* kMeanErrorYOfC = "Text38";
inline constexpr const char* kPointErrorC = "Text39";

// The mean error of an angle of unit weight m0, in seconds, and the mean
// error of a side, in millimetres.
inline constexpr const char* kUnitWeightError = "Text11";
inline constexpr const char* kSideMeanError = "Text12";

// One row of the table of points: the point's name and its x and y.
struct PointRow {
    const char* name;
    const char* x;
    const char* y;
};

// A with its coordinates as entered; B, C and D as adjusted; and A once more
// as reached around the figure over side 6 (the check row, written only when
// D is not a known point).  The names of A..D are written as they are typed.
inline constexpr std::array<PointRow, 5> kPointTable = {{
    {"Text40", "Text41", "Text42"},
    {"Text43", "Text44", "Text45"},
    {"Text46", "Text47", "Text48"},
    {"Text49", "Text50", "Text51"},
    {"Text7", "Text8", "Text13"},
}};

}  // namespace korvanet::boxes
