// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reduction of a field book (外业手簿) to the figure: directions by sets,
// angles, distances step by step, sides, and every field limit checked.
//
// Directions, per set (方向观测法): 2C = L - (R +- 180 deg) in (-180, 180]
// deg; mean = L - 2C/2; with a closing line the half-round closures
// |L_close - L_open|, |R_close - R_open| and the origin is the mean of the
// first target's opening and closing means, else its mean; reduced
// direction = mean - origin (mod 360); 2C range over all lines of the set.
// Per station: a target's direction is the mean over the sets, its spread
// max - min (none for the first target, none over one set).
//
// 测回法: beta_L = L_to - L_from, beta_R = R_to - R_from (mod 360), the
// half-set difference |beta_L - beta_R|, the set's angle their mean, the
// station's the mean of its sets, their spread max - min.
//
// Distances, per record: S = mean of the set means; S1 = S + K + R S;
// ppm = A - B p / (1 + 0.003661 t), S2 = S1 (1 + ppm 1e-6); horizontal by
// the zenith (index error i = (L + R - 360)/2, z = L - i, D = S2 sin z) or
// by the heights (D = sqrt(S2^2 - dh^2)), else D = S2; to the surface
// H_P: D_H = D (1 + (H_P - H_m)/R); to the Gauss plane:
// D_g = D_H (1 + y_m^2/(2 R^2) + dy^2/(24 R^2)), y without the zone number
// and the 500 km false easting.  A side is the mean of its forward and back
// reductions; |forward - back| against 2 (a + b D).  Projection distortion
// |(H_P - H_m)/R + y_m^2/(2 R^2)| in mm/km against 25 mm/km.
//
// Notation: R = 6 371 000 m; angles in decimal degrees where named _deg or
// degrees, differences in arc seconds, distances in metres, their
// corrections and spreads in mm.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "adjust/field_book.h"
#include "adjust/field_limits.h"

namespace korvanet {

inline constexpr double kEarthRadiusM = 6371000;
inline constexpr double kProjectionDistortionLimit = 25;  // mm/km, GB 50026-2007 3.1.4

struct ReducedLine {
    int target = 0;
    double twoC = 0;     // arc seconds
    double mean = 0;     // degrees
    double reduced = 0;  // degrees, 0 for the first target
};

struct ReducedSet {
    std::vector<ReducedLine> lines;                   // the closing line included
    std::optional<double> closureLeft, closureRight;  // arc seconds; none without a closing line
    double twoCRange = 0;                             // arc seconds
};

struct ReducedDirection {
    int target = 0;
    double reduced = 0;            // degrees
    std::optional<double> spread;  // arc seconds; none for the first target and over one set
};

struct AngleSetReduction {
    int from = 0, to = 0;
    double left = 0, right = 0;  // degrees
    double halfDifference = 0;   // arc seconds
    double angle = 0;            // degrees
};

struct StationAngle {
    int angle = 0;  // 1..8
    std::vector<AngleSetReduction> sets;
    double degrees = 0;
    std::optional<double> spread;  // arc seconds; none over one set
};

struct ReducedStation {
    int point = 0;
    bool directionMethod = true;   // 方向观测法; false: 测回法
    std::vector<ReducedSet> sets;  // directions
    std::vector<ReducedDirection> directions;
    std::vector<StationAngle> angles;  // 测回法
};

struct ReducedDistance {
    int from = 0, to = 0;
    int sets = 0;
    double meanSlope = 0;              // m
    double readingSpread = 0;          // mm: the largest within one set
    std::optional<double> setSpread;   // mm; none over one set
    double constants = 0;              // mm: K + R S
    double meteorological = 0;         // mm: S2 - S1 (0 without met)
    double horizontal = 0;             // m
    std::optional<double> height;      // mm: D_H - D, with a surface and both heights
    std::optional<double> projection;  // mm: D_g - D_H, with the projection
    double reduced = 0;                // m
};

struct ReducedSide {
    int index = 0;                        // 1..6
    int from = 0, to = 0;                 // its ends as quadrilateral::kSideEnds gives them
    std::optional<double> forward, back;  // m: the mean reduction of each way
    std::optional<double> difference;     // mm, with both ways
    std::optional<double> limit;          // mm: 2 (a + b D)
    double reduced = 0;                   // m
};

enum class FieldCheckKind {
    HalfRoundClosure,      // 半测回归零差
    TwoCRange,             // 2C 互差
    SetSpread,             // 同一方向值各测回较差
    HalfSetDifference,     // 测回法 半测回角值之差
    AngleSetSpread,        // 测回法 各测回角值之差
    ReadingSpread,         // 一测回读数较差
    DistanceSetSpread,     // 单程各测回较差
    ForwardBack,           // 往返较差
    ProjectionDistortion,  // 投影长度变形
};

struct FieldCheck {
    FieldCheckKind kind = FieldCheckKind::HalfRoundClosure;
    std::string item;             // "A 第1测回 盘左", "A→C", "∠1 第2测回", "A→B", "S(1) A-B"
    double value = 0;             // arc seconds, mm or mm/km
    std::optional<double> limit;  // none: not judged
    std::optional<bool> passed;   // none: not judged
    std::string note;             // the clause, "教材限差", "未检核: ..."
};

struct FieldReduction {
    std::vector<ReducedStation> stations;         // in the order of the book
    std::array<std::optional<double>, 9> angles;  // degrees, index 1..8
    std::vector<ReducedDistance> distances;       // in the order of the book
    std::vector<ReducedSide> sides;               // in the order of their numbers
    std::optional<double> knownAD;                // m: A-D from the coordinates, D known
    std::vector<FieldCheck> checks;
    std::optional<double> compensatingSurface;  // m: H_P that removes the distortion, when a side fails
    std::vector<std::string> missing;           // "station B", "S(3)", ... (not the tolerance)
};

// What a check judges, as its item names it: a direction set "A 第1测回"
// (its closures add " 盘左" and " 盘右"), a ray "A→C" (a direction over the
// sets, or a distance record), an angle "∠1" and its set "∠1 第2测回", a side
// "S(1) A-B".  The documents and the window find a check by these.
std::string FieldSetItem(int station, int set);
std::string FieldRayItem(int from, int to);
std::string FieldAngleItem(int angle);
std::string FieldAngleSetItem(int angle, int set);
std::string FieldSideItem(int side);

// Reduces the book; `judged` false leaves every limit but the projection
// distortion unjudged (no class).  Never throws: what cannot be reduced
// (a station not observed, a side not measured) is named in `missing`.
FieldReduction ReduceFieldBook(const FieldBook& book, const FieldLimits& limits, bool judged);

}  // namespace korvanet
