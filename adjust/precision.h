// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The precision of the adjusted figure: the mean error of unit weight, of a
// side, of the coordinates of B and C and their point errors.
//
// Notation: m0 in arc seconds (the angles have unit weight), every other mean
// error in millimetres; weight reciprocals in mm^2 per arc second squared.
// All results are single precision, as the record keeps them.

namespace korvanet {

// m0 from all corrections: those of the adjustment (SumVV + SumPVV) and the
// four equal corrections -TriangleW/4 that closed each triangle beforehand,
// over the nine independent conditions of the figure.
float UnitWeightError(double sumVV, double sumPVV, double triangleW1, double triangleW2);

// single(m0 sqrt(q)): the mean error of a quantity of reciprocal weight q.
float MeanErrorFromReciprocalWeight(float m0, double reciprocalWeight);

// single(sqrt(mx^2 + my^2)): the point error from the two coordinate errors.
float PointError(float mx, float my);

}  // namespace korvanet
