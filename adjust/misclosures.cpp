// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: a(j) = angle j in decimal degrees, S(n) = side n in metres;
// sin a(j) takes a(j) * RHO_DEG; a sine of two angles adds them in degrees
// first.  Misclosures of angle sums in arc seconds (3600 per degree), of the
// sine conditions in metres.

#include "adjust/misclosures.h"

#include <cmath>

#include "adjust/adjustment_model.h"
#include "core/korvanet_error.h"
#include "core/packed_angle.h"

namespace korvanet {
namespace {

double SinOf(double degrees) { return std::sin(degrees * RHO_DEG); }

}  // namespace

double TriangleMisclosure(const std::vector<double>& angle, int first) {
    return ((((angle[first] + angle[first + 1]) + angle[first + 2]) + angle[first + 3]) - 180) * 3600;
}

void SpreadTriangleMisclosure(std::vector<double>& angle, int first, double misclosure) {
    for (int i = first; i < first + 4; ++i) angle[i] = angle[i] - (misclosure / 4) / 3600;
}

float FigureMisclosure(const std::vector<double>& angle) {
    return ToSingle((((angle[1] + angle[2]) - angle[5]) - angle[6]) * 3600);
}

float SineMisclosure(int r, const std::vector<double>& a, const std::vector<double>& S) {
    // Each condition is the law of sines across one triangle of the figure:
    // the two sides times the sines of the angles facing them must agree.
    double first = 0, second = 0;
    switch (r) {
        case 2:
            first = S[1] * SinOf(a[1]);
            second = S[3] * SinOf(a[4]);
            break;
        case 3:
            first = S[3] * SinOf(a[3]);
            second = S[5] * SinOf(a[6]);
            break;
        case 4:
            first = S[5] * SinOf(a[5]);
            second = S[6] * SinOf(a[8]);
            break;
        case 5:
            first = S[6] * SinOf(a[7]);
            second = S[1] * SinOf(a[2]);
            break;
        case 6:
            first = S[3] * SinOf(a[2] + a[3]);
            second = S[4] * SinOf(a[1]);
            break;
        case 7:
            first = S[4] * SinOf(a[8]);
            second = S[5] * SinOf(a[6] + a[7]);
            break;
        case 8:
            first = S[6] * SinOf(a[1] + a[8]);
            second = S[2] * SinOf(a[2]);
            break;
        case 9:
            first = S[2] * SinOf(a[6]);
            second = S[3] * SinOf(a[4] + a[5]);
            break;
        default:
            throw AdjustmentError("内部错误: 不存在第 " + std::to_string(r) + " 个正弦条件");
    }
    return ToSingle(first - second);
}

}  // namespace korvanet
