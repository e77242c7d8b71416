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
#include <vector>

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

// The working copy for the weight reciprocal of row r (10..13): the 9 x 9
// block of N and column r of N in column 10.
void RestoreWorkingCopy(const NormalMatrix& N, NormalMatrix& work, int r);

// Sum over i of u(i) full(i, r), where u solves work(1..9, 1..9) u = -work(1..9, 10)
// over the kept conditions.  Reduces `work` in place (its upper triangle of the
// kept rows 2..9 holds reduced values afterwards).  Throws AdjustmentError for
// a degenerate pivot.
double Cm1(const NormalMatrix& full, NormalMatrix& work, int r);

// The weight reciprocal of the function of row r (10..13): N(r, r) + Cm1 on
// the working copy as it stands (the caller restores it before calls 2 to 4).
// A negative result has no mean error: AdjustmentError naming `what` (a
// plain text: its words are only put together for the error).
double WeightReciprocalOf(const NormalMatrix& N, NormalMatrix& work, int r, const char* what);

// The correlates: w into column 10 of N, N reduced in place, back-substitution.
ConditionVector SolveCorrelates(NormalMatrix& N, const std::vector<float>& w);

// The in-place Gauss reduction of the kept rows (no pivoting, pivots on the
// diagonal in the order 1, 2, ...) and the back-substitution that follows it;
// shared by Cm1 and SolveCorrelates.
void ReduceKeptConditions(NormalMatrix& m);
ConditionVector BackSubstituteKeptConditions(const NormalMatrix& m);

// The four weight functions and the misclosures share one block of the kept
// conditions: once ReduceKeptConditions has reduced it, each further system
// only puts its right-hand side into column 10 and reduces that column.  Every
// entry of the column takes the terms a reduction of the whole would give it,
// in the same order, from the same reduced block: the same values to the last
// bit, without reducing the block four more times.
void ReduceRightHandColumn(NormalMatrix& m);

// WeightReciprocalOf for a working copy whose block and column 10 (column r of
// N) are already reduced.
double ReducedWeightReciprocalOf(const NormalMatrix& N, const NormalMatrix& reduced, int r, const char* what);

}  // namespace korvanet
