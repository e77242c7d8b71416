// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: sxx, syy, sxy covariance in mm^2; a, b semi-axes in mm; the
// azimuth of the major axis theta from tan(2 theta) = 2 sxy / (sxx - syy),
// degrees from +x (north) towards +y (east), brought into [0, 180).

#include "adjust/quality_statistics.h"

#include <cmath>
#include <numbers>

namespace korvanet {

ErrorEllipse EllipseFromCovariance(double sxx, double syy, double sxy) {
    const double mean = (sxx + syy) / 2;
    const double half = std::hypot((sxx - syy) / 2, sxy);
    ErrorEllipse e;
    e.a = std::sqrt(mean + half);
    e.b = std::sqrt(std::fmax(mean - half, 0.0));  // a flat ellipse may round below zero
    // atan2 in true radians: this azimuth is drawn, not carried into the figures.
    double theta = std::atan2(2 * sxy, sxx - syy) / 2 * (180 / std::numbers::pi);
    if (theta < 0) theta += 180;
    if (theta >= 180) theta -= 180;
    e.azimuth = theta;
    return e;
}

PointPrecision PrecisionFromCofactors(double qxx, double qyy, double qxy, double m0) {
    PointPrecision p;
    p.qxx = qxx;
    p.qyy = qyy;
    p.qxy = qxy;
    const double m02 = m0 * m0;
    p.sx = m0 * std::sqrt(qxx);
    p.sy = m0 * std::sqrt(qyy);
    p.sp = std::hypot(p.sx, p.sy);
    p.ellipse = EllipseFromCovariance(m02 * qxx, m02 * qyy, m02 * qxy);
    return p;
}

std::optional<double> BaardaW(double residual, double cofactor, double reciprocalWeight, double sigma0) {
    if (!(reciprocalWeight > 0) || !(cofactor / reciprocalWeight > 1e-6) || !(sigma0 > 0))
        return std::nullopt;
    return residual / (sigma0 * std::sqrt(cofactor));
}

std::optional<std::size_t> SuspectObservation(const std::vector<ObservationCheck>& observations) {
    std::optional<std::size_t> suspect;
    double largest = kWTestCritical;
    for (std::size_t i = 0; i < observations.size(); ++i) {
        const std::optional<double>& w = observations[i].w;
        if (w && std::fabs(*w) > largest) {
            largest = std::fabs(*w);
            suspect = i;
        }
    }
    return suspect;
}

MisclosureCheck MisclosureWithLimit(MisclosureKind kind, int index, bool seconds, double value,
                                    double meanError) {
    MisclosureCheck m;
    m.kind = kind;
    m.index = index;
    m.seconds = seconds;
    m.value = value;
    m.meanError = meanError;
    m.limit = 2 * meanError;
    m.exceeded = std::fabs(value) > m.limit;
    return m;
}

}  // namespace korvanet
