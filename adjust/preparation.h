// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The known data and the a-priori weights of the observations.
//
// Notation: dx, dy are the coordinate differences D - A in metres (x north,
// y east); azimuths are decimal degrees from +x towards +y, 0 to 360;
// Tolerance is the angle tolerance in arc seconds, ms the a-priori mean error
// of a side in millimetres, q a reciprocal weight (angles 1, sides (ms/Tolerance)^2).

#include <vector>

#include "adjust/adjustment_model.h"
#include "core/korvanet_error.h"

namespace korvanet {

// Length of A-D from the coordinate differences, metres.
double DistanceFromDifferences(double dx, double dy);

// Azimuth A->D, decimal degrees in 0..360, from the differences and the
// distance.  A line so nearly east-west that the cosine term vanishes is taken
// as exactly east (90) or west (270).
double AzimuthFromDifferences(double dx, double dy, double distance);

struct SideWeights {
    double MeanSide = 0;              // m
    float SideMeanError = 0;          // ms, mm, single
    double SideReciprocalWeight = 0;  // (ms / Tolerance)^2, before its single rounding
};

// The a-priori weights of the sides from the tolerance and the mean of
// sides 1..6.  Throws AdjustmentError for a tolerance of 0.
SideWeights AprioriSideWeights(const std::vector<double>& side, float tolerance);

// q(1..8) = 1 for the angles, q(9..14) = the side reciprocal weight in single
// precision; q(0), the orientation angle's, is the input phase's and stays.
void SetReciprocalWeights(ReciprocalWeightList& q, double sideReciprocalWeight);

}  // namespace korvanet
