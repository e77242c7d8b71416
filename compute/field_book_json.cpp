// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/field_book_json.h"

#include <nlohmann/json.hpp>

#include "adjust/quadrilateral.h"
#include "core/display_text.h"

namespace korvanet {
namespace {

using Json = nlohmann::ordered_json;  // the fields in the order a reader expects them

const char* Letter(int point) { return quadrilateral::kPointLetters[static_cast<std::size_t>(point)]; }

Json Optional(const std::optional<double>& value) { return value ? Json(*value) : Json(nullptr); }

const char* KindName(FieldCheckKind kind) {
    switch (kind) {
        case FieldCheckKind::HalfRoundClosure:
            return "half_round_closure";
        case FieldCheckKind::TwoCRange:
            return "two_c_range";
        case FieldCheckKind::SetSpread:
            return "set_spread";
        case FieldCheckKind::HalfSetDifference:
            return "half_set_difference";
        case FieldCheckKind::AngleSetSpread:
            return "angle_set_spread";
        case FieldCheckKind::ReadingSpread:
            return "reading_spread";
        case FieldCheckKind::DistanceSetSpread:
            return "distance_set_spread";
        case FieldCheckKind::ForwardBack:
            return "forward_back";
        case FieldCheckKind::ProjectionDistortion:
            return "projection_distortion";
    }
    return "unknown";
}

Json DirectionStation(const ReducedStation& station) {
    Json sets = Json::array();
    for (const ReducedSet& set : station.sets) {
        Json lines = Json::array();
        for (const ReducedLine& line : set.lines)
            lines.push_back({{"target", Letter(line.target)},
                             {"two_c_arcsec", line.twoC},
                             {"mean_deg", line.mean},
                             {"reduced_deg", line.reduced}});
        sets.push_back({{"lines", std::move(lines)},
                        {"closure_left_arcsec", Optional(set.closureLeft)},
                        {"closure_right_arcsec", Optional(set.closureRight)},
                        {"two_c_range_arcsec", set.twoCRange}});
    }
    Json directions = Json::array();
    for (const ReducedDirection& d : station.directions)
        directions.push_back({{"target", Letter(d.target)},
                              {"reduced_deg", d.reduced},
                              {"spread_arcsec", Optional(d.spread)}});
    return {{"station", Letter(station.point)},
            {"method", "direction"},
            {"sets", std::move(sets)},
            {"directions", std::move(directions)}};
}

Json AngleStation(const ReducedStation& station) {
    Json angles = Json::array();
    for (const StationAngle& angle : station.angles) {
        Json sets = Json::array();
        for (const AngleSetReduction& s : angle.sets)
            sets.push_back({{"from", Letter(s.from)},
                            {"to", Letter(s.to)},
                            {"left_deg", s.left},
                            {"right_deg", s.right},
                            {"half_difference_arcsec", s.halfDifference},
                            {"angle_deg", s.angle}});
        angles.push_back(
            {{"angle", angle.angle}, {"sets", std::move(sets)}, {"spread_arcsec", Optional(angle.spread)}});
    }
    return {{"station", Letter(station.point)}, {"method", "angle"}, {"angles", std::move(angles)}};
}

Json DistanceJson(const ReducedDistance& d) {
    return {{"from", Letter(d.from)},
            {"to", Letter(d.to)},
            {"sets", d.sets},
            {"mean_slope_m", d.meanSlope},
            {"reading_spread_mm", d.readingSpread},
            {"set_spread_mm", Optional(d.setSpread)},
            {"constants_mm", d.constants},
            {"meteorological_mm", d.meteorological},
            {"horizontal_m", d.horizontal},
            {"height_mm", Optional(d.height)},
            {"projection_mm", Optional(d.projection)},
            {"reduced_m", d.reduced}};
}

Json SideJson(const ReducedSide& s) {
    return {{"index", s.index},
            {"from", Letter(s.from)},
            {"to", Letter(s.to)},
            {"forward_m", Optional(s.forward)},
            {"back_m", Optional(s.back)},
            {"difference_mm", Optional(s.difference)},
            {"limit_mm", Optional(s.limit)},
            {"reduced_m", s.reduced}};
}

Json CheckJson(const FieldCheck& c) {
    return {{"kind", KindName(c.kind)},
            {"item", c.item},
            {"value", c.value},
            {"limit", Optional(c.limit)},
            {"passed", c.passed ? Json(*c.passed) : Json(nullptr)},
            {"note", c.note}};
}

std::string Dump(const Json& j) { return j.dump(-1, ' ', false, Json::error_handler_t::replace); }

}  // namespace

std::string FieldBookJson(const FieldBookRun& run, const std::string& bookName) {
    const FieldReduction& r = run.reduction;
    Json stations = Json::array();
    for (const ReducedStation& s : r.stations)
        stations.push_back(s.directionMethod ? DirectionStation(s) : AngleStation(s));
    Json angles = Json::array();
    for (int k = 1; k <= 8; ++k) {
        const auto& degrees = r.angles[static_cast<std::size_t>(k)];
        if (degrees)
            angles.push_back({{"index", k}, {"degrees", *degrees}, {"packed", PackedAngleText(*degrees, 2)}});
    }
    Json distances = Json::array();
    for (const ReducedDistance& d : r.distances) distances.push_back(DistanceJson(d));
    Json sides = Json::array();
    for (const ReducedSide& s : r.sides) sides.push_back(SideJson(s));
    Json checks = Json::array();
    for (const FieldCheck& c : r.checks) checks.push_back(CheckJson(c));
    Json job = nullptr;
    if (run.job) job = *run.job;
    const Json j = {{"fieldbook", bookName},
                    {"completed", run.job.has_value()},
                    {"missing", run.missing},
                    {"stations", std::move(stations)},
                    {"angles", std::move(angles)},
                    {"distances", std::move(distances)},
                    {"sides", std::move(sides)},
                    {"checks", std::move(checks)},
                    {"compliant", run.compliant ? Json(*run.compliant) : Json(nullptr)},
                    {"job", std::move(job)}};
    return Dump(j);
}

std::string FailedFieldBookJson(const std::string& bookName, const std::string& error) {
    return Dump({{"fieldbook", bookName}, {"completed", false}, {"error", error}});
}

}  // namespace korvanet
