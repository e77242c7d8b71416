// Notation: B rows 0 and 1 are the triangle closures (angles 1..4 and 5..8,
// coefficient 1), rows 2..8 the kept condition rows 1..6 and 8 of A;
// M = B Q B^T, 9 x 9, symmetric positive definite for a sound figure.
// Cofactors in arc seconds^2 or mm^2 per unit weight.

#include "quality_cofactors.h"

#include <cmath>
#include <utility>

namespace korvanet {
namespace {

// Gauss-Jordan inversion with partial pivoting.  The engine has already
// refused a degenerate figure, so a zero pivot cannot come; if it did, the
// cofactors would come out as not-a-number rather than as wrong numbers.
template <std::size_t n>
std::array<std::array<double, n>, n> Inverse(std::array<std::array<double, n>, n> m) {
    std::array<std::array<double, n>, n> inv{};
    for (std::size_t i = 0; i < n; ++i) inv[i][i] = 1;
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < n; ++r)
            if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) pivot = r;
        std::swap(m[c], m[pivot]);
        std::swap(inv[c], inv[pivot]);
        const double d = m[c][c];
        for (std::size_t j = 0; j < n; ++j) {
            m[c][j] /= d;
            inv[c][j] /= d;
        }
        for (std::size_t r = 0; r < n; ++r) {
            if (r == c) continue;
            const double f = m[r][c];
            if (f == 0) continue;
            for (std::size_t j = 0; j < n; ++j) {
                m[r][j] -= f * m[c][j];
                inv[r][j] -= f * inv[c][j];
            }
        }
    }
    return inv;
}

}  // namespace

ConditionCofactors::ConditionCofactors(const ConditionMatrix& A, const ReciprocalWeightList& q,
                                       ObservationRange range)
    : A_(A), q_(q), range_(range) {
    for (int j = 1; j <= 4; ++j) B_[0][j] = 1;  // triangle 1: angles 1..4 sum to 180
    for (int j = 5; j <= 8; ++j) B_[1][j] = 1;  // triangle 2: angles 5..8
    int row = 2;
    for (int r = 1; r <= kLastCondition; ++r) {
        if (IsDependentCondition(r)) continue;
        B_[row++] = A[r];
    }
    std::array<ConditionRow, kConditions> M{};
    for (int i = 0; i < kConditions; ++i) M[i] = Weighted(B_[i]);
    inverse_ = Inverse(M);
}

double ConditionCofactors::WeightOf(int o) const {
    return o >= range_.first && o <= range_.last ? static_cast<double>(q_[o]) : 0.0;
}

ConditionCofactors::ConditionRow ConditionCofactors::Weighted(const ObservationRow& f) const {
    ConditionRow bqf{};
    for (int i = 0; i < kConditions; ++i) {
        double s = 0;
        for (int o = 0; o <= kLastObservation; ++o) s += B_[i][o] * WeightOf(o) * f[o];
        bqf[i] = s;
    }
    return bqf;
}

double ConditionCofactors::Quadratic(const ConditionRow& a, const ConditionRow& b) const {
    double s = 0;
    for (int i = 0; i < kConditions; ++i)
        for (int j = 0; j < kConditions; ++j) s += a[i] * inverse_[i][j] * b[j];
    return s;
}

double ConditionCofactors::ResidualCofactor(int o) const {
    ObservationRow unit{};
    unit[o] = 1;
    const ConditionRow bq = Weighted(unit);  // q_o times column o of B
    return Quadratic(bq, bq);
}

double ConditionCofactors::FunctionCofactor(const ObservationRow& f, const ObservationRow& g) const {
    double fqg = 0;
    for (int o = 0; o <= kLastObservation; ++o) fqg += f[o] * WeightOf(o) * g[o];
    return fqg - Quadratic(Weighted(f), Weighted(g));
}

double ConditionCofactors::MisclosureCofactor(int r) const {
    double s = 0;
    for (int o = 0; o <= kLastObservation; ++o) s += A_[r][o] * WeightOf(o) * A_[r][o];
    return s;
}

}  // namespace korvanet
