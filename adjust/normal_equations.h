// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The normal equations of the condition adjustment, the weight reciprocals of
// the coordinates of B and C, and the correlates.
//
// Notation: N = A diag(q) A^T over the observations in range, rows and columns
// 1..13 (1..9 conditions, 10..13 weight functions); column 10, rows 1..9,
// holds the right-hand column of the system being reduced.  k are the
// correlates, k = -N9^-1 w over the kept conditions; the conditions 7 and 9
// are left out (adjustment_model.h) and their k are 0.  Weight reciprocals
// in mm^2 per unit weight (the arc second squared).

#include <string>

#include "adjust/adjustment_model.h"

namespace korvanet {

struct ObservationRange {
    int first = 0;
    int last = 0;
};

// D not known: the orientation angle and all six sides (0..14); D known: the
// orientation angle and side 6, fixed by the coordinates, take no part (1..13).
ObservationRange ObservationsInRange(PointD d);

// N(i, j) for i, j = 1..13.  Each ordered pair is summed on its own; the value
// that stands is the one summed with the larger index first.
NormalMatrix FormNormalMatrix(const ConditionMatrix& A, const ReciprocalWeightList& q,
                              ObservationRange range);

// The in-place Gauss reduction of the kept rows (no pivoting, pivots on the
// diagonal in the order 1, 2, ...) and the back-substitution that follows it,
// u = -N9^-1 column 10 over the kept conditions.  The reduction works in the
// upper triangle of the kept rows 2..9 and column 10; it throws
// AdjustmentError for a degenerate pivot.
void ReduceKeptConditions(NormalMatrix& m);
ConditionVector BackSubstituteKeptConditions(const NormalMatrix& m);

// The four weight functions and the misclosures share one block of the kept
// conditions: once ReduceKeptConditions has reduced it, each further system
// only puts its right-hand side into column 10 and reduces that column.  Every
// entry of the column takes the terms a reduction of the whole would give it,
// in the same order, from the same reduced block: the same values to the last
// bit, without reducing the block four more times.
void ReduceRightHandColumn(NormalMatrix& m);

// The weight reciprocal of the function of row r (10..13), N(r, r) - f^T N9^-1 f
// with f = column r of N, from a working copy whose block and column 10
// (column r of N) are already reduced.  A negative result has no mean error:
// AdjustmentError naming `what` (a plain text: its words are only put
// together for the error).
double ReducedWeightReciprocalOf(const NormalMatrix& N, const NormalMatrix& reduced, int r, const char* what);

}  // namespace korvanet
