// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The statistics of the quality check, each from its cofactors: the error
// ellipse of a point, Baarda's w of an observation, the limit of a misclosure.
//
// Notation: x north, y east; azimuths in degrees from +x towards +y; sigma0
// and m0 in arc seconds; cofactors per unit weight in the squares of the
// observation's unit (arc seconds, millimetres).

#include <optional>

#include "adjust/quality_check.h"

namespace korvanet {

// The ellipse of a point with covariance [sxx sxy; sxy syy] in mm^2: the
// semi-axes are the roots of its eigenvalues, the major axis points along the
// eigenvector of the larger one.
ErrorEllipse EllipseFromCovariance(double sxx, double syy, double sxy);

// The precision of a point from its cofactors and the a-posteriori m0.
PointPrecision PrecisionFromCofactors(double qxx, double qyy, double qxy, double m0);

// w = v / (sigma0 sqrt(Q_vv)).  None when the residual has (next to) no
// variance of its own, r below one part in a million: such an observation is
// not checked by the others, and its residual says nothing.
std::optional<double> BaardaW(double residual, double cofactor, double reciprocalWeight, double sigma0);

// The observation with the largest |w| beyond the critical value, if any.
std::optional<std::size_t> SuspectObservation(const std::vector<ObservationCheck>& observations);

// m_w = sigma0 sqrt(cofactor) in the misclosure's own unit; limit 2 m_w.
MisclosureCheck MisclosureWithLimit(MisclosureKind kind, int index, bool seconds, double value,
                                    double meanError);

}  // namespace korvanet
