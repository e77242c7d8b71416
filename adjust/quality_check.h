// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Can the adjusted figure be trusted?  The answer a surveyor asks for after
// the coordinates: residuals, redundancy numbers, the global model test,
// Baarda's w-test per observation, the limits of the misclosures and the
// error ellipses of the determined points.
//
// Notation: sigma0 = the entered tolerance in arc seconds (the a-priori mean
// error of unit weight; angles have reciprocal weight 1, sides the side
// reciprocal weight of the preparation in mm^2 per arc second squared, the
// orientation angle its q0).  Observation numbering as in the engine:
// 0 = the orientation angle Q1, 1..8 = the angles B(1)..B(8), 9..14 = the
// sides S(1)..S(6).  Angles and azimuths in decimal degrees, x north and
// y east, azimuths from +x towards +y; residuals of angles in arc seconds,
// of sides in millimetres; cofactors in the squares of those units per unit
// weight; mean errors and ellipse axes in millimetres.

#include <optional>
#include <string>
#include <vector>

#include "adjust/adjustment_model.h"
#include "adjust/computation_steps.h"
#include "adjust/figure_precision.h"

namespace korvanet {

// The two critical values.  The figure always has nine independent
// conditions (kRedundancy), so the chi-square bound is that of 9 degrees of
// freedom.
inline constexpr double kGlobalTestCritical = 16.919;  // chi2(9), 95 %, one-sided
inline constexpr double kWTestCritical = 3.29;         // normal, alpha = 0.1 %, two-sided

enum class ObservationKind { Orientation, Angle, Side };

// Which mean error of unit weight scales the precision figures (coordinate
// mean errors, ellipses, sides, relative ellipses): the a-posteriori m0 of
// an adjustment, or the a-priori sigma0 of a design (精度估算), whose
// error-free observations leave m0 at zero and whose figures are those the
// planned instrument is expected to give.
enum class PrecisionScale { APosteriori, APriori };

struct ObservationCheck {
    ObservationKind kind = ObservationKind::Angle;
    int index = 0;            // 0 for the orientation angle, 1..8 angles, 1..6 sides
    double observed = 0;      // as typed: decimal degrees, or metres
    double adjusted = 0;      // decimal degrees, or metres
    double residual = 0;      // adjusted - observed: arc seconds, or mm
    double cofactor = 0;      // (Q_vv)_ii: arc seconds^2, or mm^2, per unit weight
    double redundancy = 0;    // r_i = (Q_vv)_ii / q_i, 0..1
    std::optional<double> w;  // Baarda's w; none where the residual has no variance
    // Internal reliability: the minimal detectable bias, in the observation's
    // unit (arc seconds, or mm); external: the largest shift of a determined
    // point that a bias of that size causes, mm.  None where w is none.
    std::optional<double> mdb;
    std::optional<double> external;
};

struct ErrorEllipse {
    double a = 0, b = 0;  // semi-axes, mm, a >= b
    double azimuth = 0;   // of the major axis, degrees from +x towards +y, [0, 180)
};

struct PointPrecision {
    double qxx = 0, qyy = 0, qxy = 0;  // cofactors, mm^2 per unit weight
    double sx = 0, sy = 0, sp = 0;     // mm: m0 sqrt(qxx), m0 sqrt(qyy), sqrt(sx^2 + sy^2)
    ErrorEllipse ellipse;
};

struct PointCheck {
    int point = 0;  // 0 = A, 1 = B, 2 = C, 3 = D
    std::string name;
    bool known = false;
    double x = 0, y = 0;                      // metres: as entered for a known point, else adjusted
    std::optional<PointPrecision> precision;  // determined points only
};

// The angle-sum closure of triangle 1 or 2, or the misclosure w(1)..w(9) of
// a condition equation.
enum class MisclosureKind { Triangle, Condition };

struct MisclosureCheck {
    MisclosureKind kind = MisclosureKind::Condition;
    int index = 0;        // triangle 1, 2; condition 1..9
    bool seconds = true;  // unit: arc seconds, else millimetres
    double value = 0;
    double meanError = 0;  // a-priori mean error m_w
    double limit = 0;      // 2 m_w
    bool exceeded = false;
};

struct GlobalTest {
    double statistic = 0;  // T = [pvv] / sigma0^2
    double critical = kGlobalTestCritical;
    bool passed = true;
};

struct QualityCheck {
    double tolerance = 0;  // sigma0, arc seconds, as entered
    double m0 = 0;         // a-posteriori mean error of unit weight, arc seconds
    PrecisionScale scale = PrecisionScale::APosteriori;
    double unit = 0;  // what the precision figures are scaled by: m0, or sigma0 for a design
    int redundancy = kRedundancy;
    GlobalTest global;
    std::vector<ObservationCheck> observations;  // orientation (if any), angles 1..8, sides
    std::optional<std::size_t> suspect;          // index into `observations`
    std::vector<PointCheck> points;              // A, B, C, D
    std::vector<MisclosureCheck> misclosures;    // triangle 1, triangle 2, w(1)..w(9)
    FigureSummary figure;                        // sides, relative ellipses, closures
    SolvedConditions solved;                     // the model, for the steps of the computation

    const ObservationCheck* Suspect() const { return suspect ? &observations[*suspect] : nullptr; }
};

// The observation's place in the engine's numbering: 0 for Q1, 1..8 the
// angles, 9..14 the sides.
inline int ObservationColumn(const ObservationCheck& o) {
    switch (o.kind) {
        case ObservationKind::Orientation:
            return 0;
        case ObservationKind::Angle:
            return o.index;
        default:
            return 8 + o.index;
    }
}

// The observation as the tables name it: "Q1", "B(3)", "S(2)".
inline std::string ObservationName(const ObservationCheck& o) {
    switch (o.kind) {
        case ObservationKind::Orientation:
            return "Q1";
        case ObservationKind::Angle:
            return "B(" + std::to_string(o.index) + ")";
        default:
            return "S(" + std::to_string(o.index) + ")";
    }
}

// "triangle 1", "triangle 2", "w(1)".."w(9)"
inline std::string MisclosureName(const MisclosureCheck& m) {
    const std::string number = std::to_string(m.index);
    return m.kind == MisclosureKind::Triangle ? "triangle " + number : "w(" + number + ")";
}

}  // namespace korvanet
