// SPDX-License-Identifier: GPL-3.0-or-later
#include "compute/order_class_table.h"

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/korvanet_error.h"

namespace korvanet {
namespace {

using Json = nlohmann::json;

std::optional<double> Figure(const Json& entry, const char* key) {
    if (!entry.contains(key) || entry.at(key).is_null()) return std::nullopt;
    if (!entry.at(key).is_number() || !(entry.at(key).get<double>() > 0))
        throw InputError(std::string("等级表中的 ") + key + " 应是正数");
    return entry.at(key).get<double>();
}

std::optional<double> Relative(const Json& entry, const char* key) {
    const std::optional<double> n = Figure(entry, key);
    if (!n) return std::nullopt;
    return 1 / *n;
}

OrderClass ClassOf(const Json& entry) {
    if (!entry.is_object() || !entry.contains("name") || !entry.at("name").is_string() ||
        entry.at("name").get<std::string>().empty())
        throw InputError("等级表中每个等级都要有名称 (\"name\")");
    OrderClass c;
    c.name = entry.at("name").get<std::string>();
    c.standard = entry.value("standard", std::string());
    c.clause = entry.value("clause", std::string());
    c.meanSideKm = Figure(entry, "mean_side_km");
    c.angleMeanError = Figure(entry, "angle_mean_error_arcsec");
    c.measuredSides = Relative(entry, "measured_sides_1_in");
    c.weakestSide = Relative(entry, "weakest_side_1_in");
    c.triangleClosure = Figure(entry, "triangle_closure_arcsec");
    c.smallestAngle = Figure(entry, "smallest_angle_deg");
    c.smallestAngleException = Figure(entry, "smallest_angle_exception_deg");
    return c;
}

// The field limits' rows: each names where it is, so that a surveyor
// editing the file finds the row that is wrong.
struct RowPlace {
    const char* list;
    std::size_t index;
    std::string Name() const {
        return std::string("等级表 field_limits 的 ") + list + " 第 " + std::to_string(index + 1) + " 行";
    }
};

[[noreturn]] void RefuseRow(const RowPlace& place, const std::string& why) {
    throw InputError(place.Name() + ": " + why);
}

std::optional<double> Limit(const Json& row, const char* key, const RowPlace& place) {
    if (!row.contains(key) || row.at(key).is_null()) return std::nullopt;
    if (!row.at(key).is_number() || !(row.at(key).get<double>() > 0))
        RefuseRow(place, std::string(key) + " 应是正数, 或是 null (不检核)");
    return row.at(key).get<double>();
}

std::string Text(const Json& row, const char* key, const RowPlace& place) {
    if (!row.contains(key) || row.at(key).is_null()) return {};
    if (!row.at(key).is_string()) RefuseRow(place, std::string(key) + " 应是文字");
    return row.at(key).get<std::string>();
}

// The parts every row has: its classes, standard, clause and note.
template <typename Row>
Row RowOf(const Json& row, const RowPlace& place) {
    if (!row.is_object()) RefuseRow(place, "应是一个对象 {...}");
    if (!row.contains("classes") || !row.at("classes").is_array() || row.at("classes").empty())
        RefuseRow(place, "classes 应是等级名的列表, 如 [\"四等\"]");
    Row r;
    for (const Json& name : row.at("classes")) {
        if (!name.is_string() || name.get<std::string>().empty())
            RefuseRow(place, "classes 中的等级名应是文字");
        r.classes.push_back(name.get<std::string>());
    }
    r.standard = Text(row, "standard", place);
    r.clause = Text(row, "clause", place);
    r.note = Text(row, "note", place);
    return r;
}

int Theodolite(const Json& row, const RowPlace& place) {
    if (!row.contains("theodolite_arcsec") || !row.at("theodolite_arcsec").is_number_integer() ||
        row.at("theodolite_arcsec").get<long>() <= 0 || row.at("theodolite_arcsec").get<long>() > 60)
        RefuseRow(place, "theodolite_arcsec 应是经纬仪的等级, 以秒计的整数 (1、2、6)");
    return row.at("theodolite_arcsec").get<int>();
}

const Json& List(const Json& limits, const char* key) {
    static const Json kNone = Json::array();
    if (!limits.contains(key)) return kNone;
    if (!limits.at(key).is_array())
        throw InputError(std::string("等级表 field_limits 的 ") + key + " 应是列表");
    return limits.at(key);
}

// The field limits of one file, ahead of those read before it.
void ReadFieldLimits(FieldLimitTable& table, const Json& file, bool shipped) {
    if (!file.contains("field_limits")) return;
    const Json& limits = file.at("field_limits");
    if (!limits.is_object()) throw InputError("等级表的 field_limits 应是一个对象 {...}");
    if (shipped && limits.contains("source") && limits.at("source").is_string())
        table.source = limits.at("source").get<std::string>();
    FieldLimitTable read;
    const Json& directions = List(limits, "directions");
    for (std::size_t i = 0; i < directions.size(); ++i) {
        const RowPlace place{"directions", i};
        auto row = RowOf<DirectionLimitRow>(directions[i], place);
        row.theodolite = Theodolite(directions[i], place);
        row.halfRoundClosure = Limit(directions[i], "half_round_closure_arcsec", place);
        row.twoCRange = Limit(directions[i], "two_c_range_arcsec", place);
        row.setSpread = Limit(directions[i], "set_spread_arcsec", place);
        read.directions.push_back(std::move(row));
    }
    const Json& angles = List(limits, "angles");
    for (std::size_t i = 0; i < angles.size(); ++i) {
        const RowPlace place{"angles", i};
        auto row = RowOf<AngleLimitRow>(angles[i], place);
        row.theodolite = Theodolite(angles[i], place);
        row.halfSetDifference = Limit(angles[i], "half_set_difference_arcsec", place);
        row.setSpread = Limit(angles[i], "set_spread_arcsec", place);
        read.angles.push_back(std::move(row));
    }
    const Json& distances = List(limits, "distances");
    for (std::size_t i = 0; i < distances.size(); ++i) {
        const RowPlace place{"distances", i};
        auto row = RowOf<DistanceLimitRow>(distances[i], place);
        const std::optional<double> upTo = Limit(distances[i], "edm_up_to_mm", place);
        if (!upTo) RefuseRow(place, "edm_up_to_mm 应是测距仪等级的上限 (a + b × 1 km, mm)");
        row.edmUpToMm = *upTo;
        row.readingSpread = Limit(distances[i], "reading_spread_mm", place);
        row.setSpread = Limit(distances[i], "set_spread_mm", place);
        if (distances[i].contains("forward_back") && !distances[i].at("forward_back").is_boolean())
            RefuseRow(place, "forward_back 应是 true 或 false");
        row.forwardBack = distances[i].value("forward_back", false);
        read.distances.push_back(std::move(row));
    }
    table.directions.insert(table.directions.begin(), read.directions.begin(), read.directions.end());
    table.angles.insert(table.angles.begin(), read.angles.begin(), read.angles.end());
    table.distances.insert(table.distances.begin(), read.distances.begin(), read.distances.end());
}

// Adds the classes of one file; a class of a name already there replaces it.
void ReadInto(OrderClassTable& table, const std::string& path, bool shipped) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw InputError("无法读取等级表文件: " + path);
    std::stringstream text;
    text << in.rdbuf();
    try {
        const Json j = Json::parse(text.str());
        // A user's file may hold field limits alone.
        const bool limitsAlone =
            !shipped && j.is_object() && j.contains("field_limits") && !j.contains("classes");
        if (!j.is_object() || (!limitsAlone && (!j.contains("classes") || !j.at("classes").is_array())))
            throw InputError("等级表文件 " + path + " 中没有等级列表 (\"classes\")");
        if (shipped) table.source = j.value("source", std::string());
        for (const Json& entry : limitsAlone ? Json::array() : j.at("classes")) {
            OrderClass c = ClassOf(entry);
            bool replaced = false;
            for (OrderClass& old : table.classes)
                if (old.name == c.name) {
                    old = c;
                    replaced = true;
                }
            if (!replaced) table.classes.push_back(std::move(c));
        }
        ReadFieldLimits(table.fieldLimits, j, shipped);
    } catch (const Json::exception& e) {
        throw InputError("等级表文件 " + path + " 不是有效的 JSON: " + e.what());
    } catch (const InputError& e) {
        const std::string message = e.what();
        if (message.find(path) != std::string::npos) throw;
        throw InputError(message + " (" + path + ")");
    }
}

}  // namespace

const OrderClass* OrderClassTable::Find(const std::string& name) const {
    for (const OrderClass& c : classes)
        if (c.name == name) return &c;
    return nullptr;
}

std::string OrderClassTable::Names() const {
    std::string names;
    for (const OrderClass& c : classes) names += (names.empty() ? "" : ", ") + c.name;
    return names;
}

std::string ShippedOrderClassesPath(const std::string& programPath) {
    const std::size_t slash = programPath.rfind('/');
    const std::string bin = slash == std::string::npos ? "." : programPath.substr(0, slash);
    return bin + "/../share/korvanet/order-classes.json";
}

std::string UserOrderClassesPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return std::string(config) + "/korvanet/order-classes.json";
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/korvanet/order-classes.json";
}

OrderClassTable LoadOrderClassTable(const std::string& shippedPath, const std::string& userPath) {
    OrderClassTable table;
    ReadInto(table, shippedPath, true);
    if (!userPath.empty() && std::ifstream(userPath).good()) ReadInto(table, userPath, false);
    return table;
}

}  // namespace korvanet
