// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record of every input and result that the Compute and Print commands share.
//
// Point numbering of the point arrays: 0 = A (known), 1 = B, 2 = C, 3 = D,
// 4 = A again as reached around the figure.  x is the northing, y the easting,
// both in metres; azimuths run from +x towards +y in degrees.
//
// Arrays carry index 0 (unused for angles, sides, misclosures and correlates);
// they are empty (absent) until a Compute run creates them.  Fields marked
// "single" hold single-precision values: the rounding is part of the results.

#include <string>
#include <vector>

namespace korvanet {

struct SurveyState {
    // Names of A, B, C, D at 0..3 as entered; 4 stays empty.
    std::vector<std::string> PointNames;

    // Coordinates of A and D as typed (metres).  They stay text, since the
    // table of points shows the coordinates of A exactly as entered.
    std::string xa, ya, xd, yd;

    double T0 = 0;  // packed d.mmss: azimuth at A (entered, or A->D when D is known)
    double Qa = 0;  // packed d.mmss: orientation angle Q1, sign included

    std::vector<double> AngleEntered;  // 1..8, packed, as entered
    std::vector<double> Angle;         // 1..8, decimal degrees (observed, pre-corrected, adjusted)
    std::vector<float> SideObserved;   // 1..6, metres, single
    std::vector<double> Side;          // 1..6, metres (observed, then adjusted)
    std::vector<double> X, Y;          // 0..4, metres

    std::vector<float> w;             // 1..9: w(1) in seconds, w(2..9) in metres, single
    double TriangleW[3] = {0, 0, 0};  // 1..2, seconds
    std::vector<double> k;            // 1..9, correlates

    double InvPxB = 0, InvPyB = 0, InvPxC = 0, InvPyC = 0;  // weight reciprocals
    float MxB = 0, MyB = 0, MxC = 0, MyC = 0;               // mm, single
    float MdB = 0, MdC = 0;                                 // mm, single

    float Tolerance = 0;      // seconds: the entered tolerance
    float M0 = 0;             // seconds: mean error of unit weight of the last run
    float SideMeanError = 0;  // mm: a-priori, later a-posteriori

    // True only after a Compute run has gone through to its last box; the
    // report refuses to print from a half-filled record.
    bool RunCompleted = false;

    // Creates every array afresh (all zero or empty), discarding an earlier run.
    void CreateArrays();
};

}  // namespace korvanet

namespace korvanet {

// The two tests on D.  They compare the typed texts numerically with zero: an
// empty text, or one that is no number, is not zero.  A D with exactly one
// zero coordinate fits neither test.
bool DIsKnownPoint(const SurveyState& state);     // xd != 0 and yd != 0
bool DIsNotKnownPoint(const SurveyState& state);  // xd == 0 and yd == 0

}  // namespace korvanet
