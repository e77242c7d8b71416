// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The table of order classes: the file shipped under share/korvanet/ (its
// source named in it), and the user's own file in the configuration folder,
// which adds classes or overrides one of the same name.
//
// The file: {"source": TEXT, "classes": [{"name", "standard", "clause",
// "mean_side_km", "angle_mean_error_arcsec", "measured_sides_1_in",
// "weakest_side_1_in", "triangle_closure_arcsec", "smallest_angle_deg",
// "smallest_angle_exception_deg"} ...], "field_limits": {"source", "note",
// "directions": [{"classes": [NAME ...], "theodolite_arcsec",
// "half_round_closure_arcsec", "two_c_range_arcsec", "set_spread_arcsec",
// "standard", "clause", "note"} ...], "angles": [{"classes",
// "theodolite_arcsec", "half_set_difference_arcsec", "set_spread_arcsec", ...}
// ...], "distances": [{"classes", "edm_up_to_mm", "reading_spread_mm",
// "set_spread_mm", "forward_back", ...} ...]}}; relative mean errors as the
// denominator N of 1/N; a figure left out (or null) is not checked.  The
// user's field_limits rows go before the shipped ones (adjust/field_limits.h).

#include <string>
#include <vector>

#include "adjust/field_limits.h"
#include "adjust/order_classes.h"

namespace korvanet {

struct OrderClassTable {
    std::vector<OrderClass> classes;  // in the order of the files, the shipped ones first
    std::string source;               // the shipped file's source
    FieldLimitTable fieldLimits;      // the field limits, the user's rows first

    const OrderClass* Find(const std::string& name) const;
    std::string Names() const;  // "二等, 三等, ..."
};

// The shipped file beside a program installed in PREFIX/bin (or built in
// BUILD/tools, BUILD/app): PREFIX/share/korvanet/order-classes.json.
std::string ShippedOrderClassesPath(const std::string& programPath);
// $XDG_CONFIG_HOME/korvanet/order-classes.json, else ~/.config/korvanet/...
std::string UserOrderClassesPath();

// Reads the shipped file and then, when it exists, the user's.  Throws an
// InputError naming the file when one cannot be read or is not a table.
OrderClassTable LoadOrderClassTable(const std::string& shippedPath, const std::string& userPath);

}  // namespace korvanet
