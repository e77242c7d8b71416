// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Order classes and the checks of a figure against one: the triangle
// closures against the closure limit, Ferrero's angle mean error against the
// class's, the smallest angle (30 degrees, or 25 as the exception for a
// single angle: a second angle below 30 fails), the
// relative mean error of the weakest side, and the a-priori relative mean
// error of the measured sides (the preparation's side mean error over the
// shortest side).  A figure the class does not give is not checked.
//
// Notation: angle mean errors and closures in arc seconds, angles in decimal
// degrees, relative mean errors as fractions (1/40000 = 2.5e-5), mean sides
// in kilometres.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "adjust/figure_precision.h"

namespace korvanet {

struct OrderClass {
    std::string name;      // as the surveyor chooses it: "四等", "国家二等" ...
    std::string standard;  // "GB 50026-2007 工程测量规范"
    std::string clause;    // "表 3.4.1"
    std::optional<double> meanSideKm;
    std::optional<double> angleMeanError;          // m_beta, arc seconds
    std::optional<double> measuredSides;           // relative mean error of the measured sides
    std::optional<double> weakestSide;             // relative mean error of the weakest side
    std::optional<double> triangleClosure;         // largest triangle closure, arc seconds
    std::optional<double> smallestAngle;           // degrees
    std::optional<double> smallestAngleException;  // degrees, allowed for a single angle
};

struct ClassCheck {
    std::string_view
        kind;          // "triangle_closure", "ferrero", "smallest_angle", "weakest_side", "measured_sides"
    std::string item;  // the triangle's name, "m_beta", "B(3)", "S(2)" ...
    double value = 0;  // arc seconds, degrees, or a relative error
    double limit = 0;  // in the unit of the value
    bool passed = false;
    std::string note;  // the formula or the exception, in the surveyor's words
};

struct ClassCompliance {
    std::vector<ClassCheck> checks;
    std::vector<std::string_view> notChecked;  // kinds the class gives no limit for
    bool compliant = false;                    // every check passed
};

ClassCompliance CheckOrderClass(const FigureSummary& figure, const OrderClass& orderClass);

}  // namespace korvanet
