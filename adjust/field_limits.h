// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The field limits of the standard (限差): what a set of directions, an
// angle by 测回法 and a distance may show at most, by order class and by
// instrument.  The table lives beside the order classes in their data file
// (compute/order_class_table.h); a user's file puts its own rows first.
//
// Notation: direction limits in arc seconds; distance limits in mm; an EDM's
// class is its nominal accuracy over one kilometre, a + b * 1 km, in mm.

#include <optional>
#include <string>
#include <vector>

namespace korvanet {

// One limit and where it comes from.
struct FieldLimit {
    double value = 0;
    std::string standard;  // "GB 50026-2007 工程测量规范"
    std::string clause;    // "表 3.3.8"
    std::string note;      // a textbook figure, not the standard's, says so here
    bool operator==(const FieldLimit&) const = default;
};

// 方向观测法: a row for some classes and one theodolite class.
struct DirectionLimitRow {
    std::vector<std::string> classes;
    int theodolite = 2;                      // arc seconds
    std::optional<double> halfRoundClosure;  // 半测回归零差
    std::optional<double> twoCRange;         // 一测回内 2C 互差
    std::optional<double> setSpread;         // 同一方向值各测回较差
    std::string standard, clause, note;
};

// 测回法: a row for some classes and one theodolite class.
struct AngleLimitRow {
    std::vector<std::string> classes;
    int theodolite = 6;
    std::optional<double> halfSetDifference;  // 半测回角值之差
    std::optional<double> setSpread;          // 各测回角值之差
    std::string standard, clause, note;
};

// 测距: a row for some classes and the EDMs up to a class.
struct DistanceLimitRow {
    std::vector<std::string> classes;
    double edmUpToMm = 5;                 // EDMs with a + b * 1 km at most this
    std::optional<double> readingSpread;  // 一测回读数较差
    std::optional<double> setSpread;      // 单程各测回较差
    bool forwardBack = false;             // 往返较差 checked, against 2 (a + b D)
    std::string standard, clause, note;
};

struct FieldLimitTable {
    std::vector<DirectionLimitRow> directions;
    std::vector<AngleLimitRow> angles;
    std::vector<DistanceLimitRow> distances;
    std::string source;  // how the figures were taken, for the report
};

// The limits for one class, theodolite and EDM.  A row counts when it names
// the class and the theodolite (for distances: when the EDM's class is at
// most its edmUpToMm, the row with the smallest such bound); the first row
// that counts wins, so a user's rows, read first, override the shipped ones.
struct FieldLimits {
    std::optional<FieldLimit> halfRoundClosure, twoCRange, setSpread;
    std::optional<FieldLimit> halfSetDifference, angleSetSpread;
    std::optional<FieldLimit> readingSpread, distanceSetSpread;
    std::optional<FieldLimit> forwardBack;  // value unused: the limit is 2 (a + b D) of each side
    bool operator==(const FieldLimits&) const = default;
};

FieldLimits FieldLimitsFor(const FieldLimitTable& table, const std::string& orderClass, int theodolite,
                           double edmA, double edmB);

}  // namespace korvanet
