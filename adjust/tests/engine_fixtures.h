// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the engine tests share: a run set up the way the input phase leaves
// it, and surveyed figures made from true coordinates.

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/run_values.h"
#include "core/survey_state.h"

namespace korvanet::testing {

struct Point {
    double x = 0, y = 0;  // metres, x north, y east
};

// One job of the Compute command as the input phase hands it to the engine.
struct Job {
    SurveyState state;
    RunValues run;
};

// A job built directly from numbers: angles in decimal degrees, sides in
// metres.  `knownD` present: D is a known point; otherwise T0 and Q1 (decimal
// degrees) orient the figure and q0 is the orientation angle's reciprocal weight.
struct FigureObservations {
    double angle[9] = {};                           // 1..8, decimal degrees
    double side[7] = {};                            // 1..6, metres (6 only when D is not known)
    double startAzimuth = 0, orientationAngle = 0;  // decimal degrees
};
Job JobFromObservations(const Point& a, const std::optional<Point>& knownD, const FigureObservations& obs,
                        float tolerance, float q0);

// True degrees per radian.  The figures are made in true degrees, as a
// surveyor's instrument measures them; the program's own degree factor
// differs from it by 3e-11, far below anything compared.
inline constexpr double kTrueDegreesPerRadian = 57.295779513082320876798;

// The azimuth P->Q in decimal degrees (0..360).
double AzimuthDegrees(const Point& p, const Point& q);
double Distance(const Point& p, const Point& q);

// The eight angles of the figure A, B, C, D in decimal degrees, each as the
// clockwise turn between its two sides.
void TrueAngles(const Point& a, const Point& b, const Point& c, const Point& d, double angle[9]);

// A realistic surveyed quadrilateral: sides 0.5 to 3 km, every angle between
// 20 and 150 degrees, A and D rounded to the millimetre.
struct TrueFigure {
    Point A, B, C, D;
};
TrueFigure RandomFigure(std::mt19937_64& rng);

// The six sides of the figure in metres, S(1) = A-B .. S(6) = A-D, at 1..6.
void TrueSides(const TrueFigure& f, double side[7]);

// A standard normal deviate from the engine-independent bits of mt19937_64.
double Gaussian(std::mt19937_64& rng);
double Uniform(std::mt19937_64& rng, double low, double high);

}  // namespace korvanet::testing
