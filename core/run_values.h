// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Working values that one Compute run hands from the input phase to the
// adjustment.  They live for the run only; Print needs none of them.

#include <array>

namespace korvanet {

struct RunValues {
    double StartAzimuth = 0;      // decimal degrees: entered T0, or A->D when D is known
    double OrientationAngle = 0;  // decimal degrees, signed: entered Q1, or 0 when D is known
    // Reciprocal weights q(0..14), single precision: 0 = orientation angle,
    // 1..8 = angles, 9..14 = sides.  q(0) is 1 for a measured orientation angle
    // (Q1 != 0) and 0 when nothing was measured (Q1 = 0, or D known).
    std::array<float, 15> ReciprocalWeights{};
    int SideCount = 0;  // 6 when D is not a known point, else 5
};

}  // namespace korvanet
