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

// Adds the classes of one file; a class of a name already there replaces it.
void ReadInto(OrderClassTable& table, const std::string& path, bool shipped) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw InputError("无法读取等级表文件: " + path);
    std::stringstream text;
    text << in.rdbuf();
    try {
        const Json j = Json::parse(text.str());
        if (!j.is_object() || !j.contains("classes") || !j.at("classes").is_array())
            throw InputError("等级表文件 " + path + " 中没有等级列表 (\"classes\")");
        if (shipped) table.source = j.value("source", std::string());
        for (const Json& entry : j.at("classes")) {
            OrderClass c = ClassOf(entry);
            bool replaced = false;
            for (OrderClass& old : table.classes)
                if (old.name == c.name) {
                    old = c;
                    replaced = true;
                }
            if (!replaced) table.classes.push_back(std::move(c));
        }
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
