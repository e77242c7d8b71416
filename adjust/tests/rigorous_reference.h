#pragma once
// An independent least-squares adjustment of the braced quadrilateral by
// observation equations, to hold the engine's condition adjustment against.
//
// Unknowns: the coordinates of B and C, and of D when D is not a known point;
// when the orientation angle is held fixed (q0 = 0) B moves only along the
// fixed direction A->B.  Observations: the eight angles as differences of
// azimuths (arc seconds, weight 1), the sides (millimetres, weight 1/q), and
// when D is not known the azimuth A->B as T0 + Q1 (arc seconds, weight 1/q0).
// Gauss-Newton iterations to convergence.

#include <optional>

#include "engine_fixtures.h"

namespace korvanet::testing {

struct ReferenceSolution {
    Point B, C, D;
    double sigma0 = 0;  // arc seconds
    int redundancy = 0;
    double QxB = 0, QyB = 0, QxC = 0, QyC = 0;  // cofactors, mm^2 per unit weight
    int iterations = 0;
};

// `start` holds approximate B, C, D; `sideReciprocalWeight` the q of every
// observed side; `q0` the orientation angle's (ignored when D is known).
ReferenceSolution RigorousAdjustment(const Point& a, const std::optional<Point>& knownD,
                                     const FigureObservations& obs, double sideReciprocalWeight, double q0,
                                     const TrueFigure& start);

}  // namespace korvanet::testing
