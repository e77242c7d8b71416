// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Order classes and the checks of a figure against one.
//
// An adjusted figure is judged by its observations: the four triangle
// closures against the closure limit, Ferrero's angle mean error against
// the class's m_beta, the smallest angle (30 degrees, or 25 as the exception
// for a single angle: a second angle below 30 fails), the relative mean
// error of the weakest side, and the a-priori relative mean error of the
// measured sides (the preparation's side mean error over the shortest side).
//
// A design (精度估算) has no observations yet, so in place of the closures
// and of Ferrero it is judged by what its plan promises: the planned angle
// mean error sigma0 against m_beta, and the closure a triangle is expected
// to show, 2 sqrt(3) sigma0 (twice its mean error), against the closure
// limit; the smallest angle and the sides as for an adjusted figure.
//
// A figure the class does not give is not checked.
//
// Notation: angle mean errors and closures in arc seconds, angles in decimal
// degrees, relative mean errors as fractions (1/40000 = 2.5e-5), mean sides
// in kilometres.

#include <optional>
#include <string>
#include <vector>

#include "adjust/quality_check.h"

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

// What a check judges.  Their names, texts and JSON keys are in
// compute/class_check_texts.h.
enum class CheckKind {
    TriangleClosure,    // an observed triangle's closure W, against the closure limit
    Ferrero,            // Ferrero's m_beta from the closures, against the class's m_beta
    ExpectedClosure,    // a design: 2 sqrt(3) sigma0, against the closure limit
    PlannedAngleError,  // a design: the planned sigma0, against the class's m_beta
    SmallestAngle,      // the smallest adjusted angle, against the smallest allowed
    WeakestSide,        // the weakest side's relative mean error
    MeasuredSides,      // the measured sides' a-priori relative mean error
};

struct ClassCheck {
    CheckKind kind = CheckKind::TriangleClosure;
    std::string item;  // the triangle's name, "m_β", "σ0", "B(3)", "S(2)" ...
    double value = 0;  // arc seconds, degrees, or a relative error
    double limit = 0;  // in the unit of the value
    bool passed = false;
    std::string note;  // the formula or the exception, in the surveyor's words
};

struct ClassCompliance {
    std::vector<ClassCheck> checks;
    std::vector<CheckKind> notChecked;  // kinds the class gives no limit for
    bool compliant = false;             // every check passed
};

// The checks of a completed run against a class: those of an adjusted
// figure, or those of a design when the run is one (its precision scaled by
// the a-priori sigma0).
ClassCompliance CheckOrderClass(const QualityCheck& run, const OrderClass& orderClass);

}  // namespace korvanet
