// SPDX-License-Identifier: GPL-3.0-or-later
#include "adjust/field_limits.h"

#include <algorithm>

namespace korvanet {
namespace {

template <typename Row>
bool Names(const Row& row, const std::string& orderClass) {
    return std::find(row.classes.begin(), row.classes.end(), orderClass) != row.classes.end();
}

template <typename Row>
std::optional<FieldLimit> LimitOf(const Row& row, const std::optional<double>& value) {
    if (!value) return std::nullopt;
    return FieldLimit{*value, row.standard, row.clause, row.note};
}

}  // namespace

FieldLimits FieldLimitsFor(const FieldLimitTable& table, const std::string& orderClass, int theodolite,
                           double edmA, double edmB) {
    FieldLimits limits;
    for (const DirectionLimitRow& row : table.directions) {
        if (!Names(row, orderClass) || row.theodolite != theodolite) continue;
        limits.halfRoundClosure = LimitOf(row, row.halfRoundClosure);
        limits.twoCRange = LimitOf(row, row.twoCRange);
        limits.setSpread = LimitOf(row, row.setSpread);
        break;
    }
    for (const AngleLimitRow& row : table.angles) {
        if (!Names(row, orderClass) || row.theodolite != theodolite) continue;
        limits.halfSetDifference = LimitOf(row, row.halfSetDifference);
        limits.angleSetSpread = LimitOf(row, row.setSpread);
        break;
    }
    // The EDM's class: its nominal accuracy over one kilometre.
    const double edmClass = edmA + edmB * 1;
    const DistanceLimitRow* best = nullptr;
    for (const DistanceLimitRow& row : table.distances) {
        if (!Names(row, orderClass) || !(edmClass <= row.edmUpToMm)) continue;
        if (best == nullptr || row.edmUpToMm < best->edmUpToMm) best = &row;
    }
    if (best != nullptr) {
        limits.readingSpread = LimitOf(*best, best->readingSpread);
        limits.distanceSetSpread = LimitOf(*best, best->setSpread);
        if (best->forwardBack) limits.forwardBack = FieldLimit{0, best->standard, best->clause, best->note};
    }
    return limits;
}

}  // namespace korvanet
