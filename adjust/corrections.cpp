// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: v(i) = sum over j of k(j) A(j, i) q(i); angle corrections in arc
// seconds (3600 per degree), side corrections in millimetres (1000 per metre);
// SumPVV weighs each side correction by 1 / SideReciprocalWeight, the double
// value of which q(9..14) are the single roundings.  Az(1) = A->B,
// Az(2) = B->C, Az(3) = C->D, Az(4) = D->A, decimal degrees.

#include "adjust/corrections.h"

#include <cmath>

#include "core/packed_angle.h"

namespace korvanet {

CorrectionSums CorrectObservations(SurveyState& state, const ConditionMatrix& A,
                                   const ReciprocalWeightList& q, double sideReciprocalWeight) {
    CorrectionSums sums;
    // Angles carry unit weight, so no q enters their corrections.
    for (int i = 1; i <= 8; ++i) {
        double v = 0;
        for (int j = 1; j <= kLastCondition; ++j) v = v + state.k[j] * A[j][i];
        sums.v[i] = v;
        state.Angle[i] = state.Angle[i] + v / 3600;
        sums.SumVV = sums.SumVV + v * v;
    }
    for (int i = 9; i <= 14; ++i) {
        double v = 0;
        for (int j = 1; j <= kLastCondition; ++j) v = v + state.k[j] * (A[j][i] * static_cast<double>(q[i]));
        sums.v[i] = v;
        state.Side[i - 8] = state.Side[i - 8] + v / 1000;
        sums.SumPVV = sums.SumPVV + (v * v) / sideReciprocalWeight;
    }
    return sums;
}

SideAzimuths AdjustCoordinates(SurveyState& state, const RunValues& run, PointD d) {
    const std::vector<double>& a = state.Angle;
    const std::vector<double>& S = state.Side;
    std::vector<double>& X = state.X;
    std::vector<double>& Y = state.Y;
    auto step = [&](int to, int from, double side, double azimuth) {
        X[to] = X[from] + side * std::cos(azimuth * RHO_DEG);
        Y[to] = Y[from] + side * std::sin(azimuth * RHO_DEG);
    };
    SideAzimuths az{};
    az[1] = d == PointD::Known ? (run.StartAzimuth - a[1]) - a[8] : run.StartAzimuth + run.OrientationAngle;
    az[1] = ReduceAzimuth(az[1]);
    step(1, 0, S[1], az[1]);
    // At each point the traverse turns by 180 degrees less the two angles there.
    az[2] = ReduceAzimuth(((az[1] - a[2]) - a[3]) + 180);
    step(2, 1, S[3], az[2]);
    az[3] = ReduceAzimuth(((az[2] - a[4]) - a[5]) + 180);
    step(3, 2, S[5], az[3]);
    if (d == PointD::NotKnown) {
        // Around the figure back to A: the closure shows how well it holds together.
        az[4] = ReduceAzimuth(((az[3] - a[6]) - a[7]) + 180);
        step(4, 3, S[6], az[4]);
    }
    return az;
}

}  // namespace korvanet
