// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: m0 the a-posteriori mean error of unit weight (arc seconds), the
// entered tolerance sigma0; sides 1..6 (6 only when D is determined), the
// side mean error of the preparation ms = sigma0 sqrt(q_side) in mm.

#include "adjust/figure_assessment.h"

#include <cmath>

#include "adjust/relative_precision.h"
#include "adjust/reliability.h"
#include "adjust/triangle_closures.h"

namespace korvanet {

void AssessFigure(const SurveyState& state, const QualityInputs& in, const ConditionCofactors& cofactors,
                  QualityCheck& check) {
    const CoordinateCofactors coordinates = CoordinateCofactorsOf(in, cofactors);
    const int lastSide = in.d == PointD::NotKnown ? 6 : 5;  // side 6 is derived when D is known
    FigureSummary& f = check.figure;
    f.sides = SidePrecisions(check.points, state.Side, coordinates, check.unit, lastSide);
    f.weakest = WeakestSide(f.sides);
    f.relativeEllipses = RelativeEllipses(coordinates, check.unit);
    f.triangles = TriangleClosures(in.observedAngle);
    f.ferrero = FerreroAngleMeanError(f.triangles);
    for (int i = 1; i <= 8; ++i) f.angles[i] = state.Angle[i];
    f.smallestAngle = SmallestAngle(state.Angle);
    f.smallestAngleDegrees = state.Angle[f.smallestAngle];
    // The preparation's ms: q_side = ms^2 / sigma0^2, formed from the single ms.
    const double sigma0 = in.tolerance;
    f.aprioriSideMeanError = sigma0 * std::sqrt(in.sideReciprocalWeight);
    f.shortestSide = 1;
    for (int i = 2; i <= lastSide; ++i)
        if (in.observedSide[i] < in.observedSide[f.shortestSide]) f.shortestSide = i;
    f.shortestSideLength = in.observedSide[f.shortestSide];
    AddReliability(check.observations, in, cofactors, coordinates);
}

}  // namespace korvanet
