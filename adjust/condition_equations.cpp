// SPDX-License-Identifier: GPL-3.0-or-later
// Notation: c(j), s(j) = cos, sin of angle j (times RHO_DEG); c(i+j), s(i+j)
// of the sum of angles i and j, formed in degrees first.  S(n) = side n in
// metres.  dXB = xB - xA, dYB = yB - yA, dXC = xC - xA, dYC = yC - yA,
// dXBC = xC - xB, dYBC = yC - yB from the approximate coordinates, metres.
// RHO_SEC arc seconds per radian; RHO_MM = 1000 / RHO_SEC millimetres per
// metre per arc second.
//
// The rule of the triangle share: the angles enter the conditions after the
// equal spreading of their triangle's misclosure, so the derivative with
// respect to an observed angle j is n(j) f - t, where n(j) is the derivative
// with respect to the pre-corrected angle, f the scale of the row and
// t = (sum of n over the triangle) f / 4 the share every angle of the
// triangle passed on.  Each triangle's entries therefore sum to zero.

#include "adjust/condition_equations.h"

#include <cmath>

#include "core/packed_angle.h"

namespace korvanet {
namespace {

double CosOf(double degrees) { return std::cos(degrees * RHO_DEG); }
double SinOf(double degrees) { return std::sin(degrees * RHO_DEG); }

// The scale of a row: rows 2..9 take metres per arc second (division by
// RHO_SEC), rows 10..13 millimetres per arc second (multiplication by RHO_MM).
struct RowScale {
    bool perSecond;  // true: / RHO_SEC; false: * RHO_MM
    double Apply(double value) const { return perSecond ? value / RHO_SEC : value * RHO_MM; }
};

// Writes the four angle entries of one triangle (angles first..first+3) of row r;
// an angle without a numerator (0) gets -t.  `numeratorSum` is formed by the
// caller in the order of the formula of the row.
void ShareTriangle(ConditionMatrix& A, int r, int first, const std::array<double, 4>& n, double numeratorSum,
                   const RowScale& f) {
    const double t = f.Apply(numeratorSum) / 4;
    for (int i = 0; i < 4; ++i) A[r][first + i] = f.Apply(n[i]) - t;
}

void SineConditionRows(ConditionMatrix& A, const std::vector<double>& a, const std::vector<double>& S,
                       PointD d) {
    const RowScale f{true};
    auto c = [&](int j) { return CosOf(a[j]); };
    auto s = [&](int j) { return SinOf(a[j]); };
    auto c2 = [&](int i, int j) { return CosOf(a[i] + a[j]); };
    auto s2 = [&](int i, int j) { return SinOf(a[i] + a[j]); };
    // The side columns take the correction in millimetres, the rows being in
    // metres: every side entry is its derivative divided by 1000.
    auto side = [](double derivative) { return derivative / 1000; };

    // Row 2: S1 s1 - S3 s4 (triangle A, B, C).
    {
        const double n1 = S[1] * c(1), n4 = -(S[3] * c(4));
        ShareTriangle(A, 2, 1, {n1, 0, 0, n4}, n1 + n4, f);
        A[2][9] = side(s(1));
        A[2][11] = side(-s(4));
    }
    // Row 3: S3 s3 - S5 s6 (triangle B, C, D).
    {
        const double n3 = S[3] * c(3), n6 = -(S[5] * c(6));
        ShareTriangle(A, 3, 1, {0, 0, n3, 0}, n3, f);
        ShareTriangle(A, 3, 5, {0, n6, 0, 0}, n6, f);
        A[3][11] = side(s(3));
        A[3][13] = side(-s(6));
    }
    // Row 4: S5 s5 - S6 s8 (triangle A, C, D).
    {
        const double n5 = S[5] * c(5), n8 = -(S[6] * c(8));
        ShareTriangle(A, 4, 5, {n5, 0, 0, n8}, n5 + n8, f);
        A[4][13] = side(s(5));
    }
    // Row 5: S6 s7 - S1 s2 (triangle A, B, D).
    {
        const double n2 = -(S[1] * c(2)), n7 = S[6] * c(7);
        ShareTriangle(A, 5, 1, {0, n2, 0, 0}, n2, f);
        ShareTriangle(A, 5, 5, {0, 0, n7, 0}, n7, f);
        A[5][9] = side(-s(2));
    }
    // Row 6: S3 s(2+3) - S4 s1 (triangle A, B, C, sides B-C and A-C).
    {
        const double n1 = -(S[4] * c(1)), n23 = S[3] * c2(2, 3);
        ShareTriangle(A, 6, 1, {n1, n23, n23, 0}, n1 + 2 * n23, f);
        A[6][11] = side(s2(2, 3));
        A[6][12] = side(-s(1));
    }
    // Row 7: S4 s8 - S5 s(6+7) (triangle A, C, D, sides A-C and C-D).
    {
        const double n67 = -(S[5] * c2(6, 7)), n8 = S[4] * c(8);
        ShareTriangle(A, 7, 5, {0, n67, n67, n8}, 2 * n67 + n8, f);
        A[7][12] = side(s(8));
        A[7][13] = side(-s2(6, 7));
    }
    // Row 8: S6 s(1+8) - S2 s2 (triangle A, B, D, sides A-D and B-D).
    {
        const double n18 = S[6] * c2(1, 8), n2 = -(S[2] * c(2));
        ShareTriangle(A, 8, 1, {n18, n2, 0, 0}, n18 + n2, f);
        ShareTriangle(A, 8, 5, {0, 0, 0, n18}, n18, f);
        A[8][10] = side(-s(2));
    }
    // Row 9: S2 s6 - S3 s(4+5) (triangle B, C, D, sides B-D and B-C).
    {
        const double n45 = -(S[3] * c2(4, 5)), n6 = S[2] * c(6);
        ShareTriangle(A, 9, 1, {0, 0, 0, n45}, n45, f);
        ShareTriangle(A, 9, 5, {n45, n6, 0, 0}, n45 + n6, f);
        A[9][10] = side(s(6));
        A[9][11] = side(-s2(4, 5));
    }
    // Side 6 is observed only when D is not known; a known D fixes it.
    if (d == PointD::NotKnown) {
        A[4][14] = side(-s(8));
        A[5][14] = side(s(7));
        A[8][14] = side(s2(1, 8));
    }
}

// Rows 10..13: the coordinates of B and C as functions of the observations,
// whose cofactors become the weight reciprocals.
void WeightFunctionRows(ConditionMatrix& A, const SurveyState& st, const SideAzimuths& az, float q0,
                        PointD d) {
    const RowScale f{false};
    const double xa = st.X[0], ya = st.Y[0];
    const double dXB = st.X[1] - xa, dYB = st.Y[1] - ya;
    const double dXC = st.X[2] - xa, dYC = st.Y[2] - ya;
    const double dXBC = st.X[2] - st.X[1], dYBC = st.Y[2] - st.Y[1];
    const double cos1 = CosOf(az[1]), sin1 = SinOf(az[1]);
    const double cos2 = CosOf(az[2]), sin2 = SinOf(az[2]);

    if (d == PointD::Known) {
        // Az(1) = Az(A->D) - angle 1 - angle 8: turning A-B turns B and C about A;
        // turning B-C (angles 2 and 3) turns C about B.
        ShareTriangle(A, 10, 1, {dYB, 0, 0, 0}, dYB, f);
        ShareTriangle(A, 10, 5, {0, 0, 0, dYB}, dYB, f);
        ShareTriangle(A, 11, 1, {-dXB, 0, 0, 0}, -dXB, f);
        ShareTriangle(A, 11, 5, {0, 0, 0, -dXB}, -dXB, f);
        ShareTriangle(A, 12, 1, {dYC, dYBC, dYBC, 0}, dYC + 2 * dYBC, f);
        ShareTriangle(A, 12, 5, {0, 0, 0, dYC}, dYC, f);
        ShareTriangle(A, 13, 1, {-dXC, -dXBC, -dXBC, 0}, -dXC - 2 * dXBC, f);
        ShareTriangle(A, 13, 5, {0, 0, 0, -dXC}, -dXC, f);
    } else {
        // Az(1) = T0 + Q1: the orientation angle turns the whole figure about A;
        // q0 (1 for a measured Q1, 0 for none) switches the term on.
        const double q = q0;
        A[10][0] = (-dYB * q) * RHO_MM;
        A[11][0] = (dXB * q) * RHO_MM;
        A[12][0] = (-dYC * q) * RHO_MM;
        A[13][0] = (dXC * q) * RHO_MM;
        ShareTriangle(A, 12, 1, {0, dYBC, dYBC, 0}, 2 * dYBC, f);
        ShareTriangle(A, 13, 1, {0, -dXBC, -dXBC, 0}, -2 * dXBC, f);
    }
    // A side correction in millimetres moves the point along the side by as much.
    A[10][9] = cos1;
    A[11][9] = sin1;
    A[12][9] = cos1;
    A[12][11] = cos2;
    A[13][9] = sin1;
    A[13][11] = sin2;
}

}  // namespace

double ReduceAzimuth(double azimuth) {
    if (azimuth < 0) azimuth = azimuth + 360;
    if (azimuth >= 360) azimuth = azimuth - 360;
    return azimuth;
}

SideAzimuths ApproximateAzimuths(const SurveyState& state, const RunValues& run, PointD d) {
    const std::vector<double>& a = state.Angle;
    SideAzimuths az{};
    if (d == PointD::NotKnown) {
        az[1] = run.StartAzimuth + run.OrientationAngle;
    } else {
        az[1] = (run.StartAzimuth - a[1]) - a[8];  // A->D turned back over angles 8 and 1
    }
    if (az[1] >= 360) az[1] = az[1] - 360;  // a negative value serves the traverse as well
    // Forward azimuth = back azimuth turned by the angles at the point.
    az[2] = ReduceAzimuth(((az[1] - a[2]) - a[3]) + 180);
    az[3] = ReduceAzimuth(((az[2] - a[4]) - a[5]) + 180);
    return az;
}

void TraverseApproximateCoordinates(SurveyState& state, const SideAzimuths& az) {
    for (int i = 1; i <= 3; ++i) {
        const double side = state.Side[2 * i - 1];  // sides 1, 3, 5: A-B, B-C, C-D
        state.X[i] = state.X[i - 1] + side * CosOf(az[i]);
        state.Y[i] = state.Y[i - 1] + side * SinOf(az[i]);
    }
}

ConditionMatrix FormConditionMatrix(const SurveyState& state, const SideAzimuths& az, float q0, PointD d) {
    ConditionMatrix A{};
    // Row 1, w(1) = a1 + a2 - a5 - a6: its shares are constant.
    const double row1[9] = {0, 0.5, 0.5, -0.5, -0.5, -0.5, -0.5, 0.5, 0.5};
    for (int j = 1; j <= 8; ++j) A[1][j] = row1[j];
    SineConditionRows(A, state.Angle, state.Side, d);
    WeightFunctionRows(A, state, az, q0, d);
    return A;
}

}  // namespace korvanet
