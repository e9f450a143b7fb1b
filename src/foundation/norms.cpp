#include "foundation/norms.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>

#include "foundation/array.hpp"
#include "foundation/boundary.hpp"
#include "foundation/linalg.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/products.hpp"
#include "foundation/scratch.hpp"

namespace tavrin::math {

double euclidean_norm(const double* x, std::ptrdiff_t n) {
  double s = 0.0;
  for (std::ptrdiff_t i = 0; i < n; ++i) s += x[i] * x[i];
  return std::sqrt(s);
}

std::pair<double, double> value_range(const double* x, std::ptrdiff_t n) {
  double lo = std::numeric_limits<double>::infinity(), hi = -lo;
  for (std::ptrdiff_t i = 0; i < n; ++i) {
    if (std::isnan(x[i])) continue;
    lo = std::min(lo, x[i]);
    hi = std::max(hi, x[i]);
  }
  return {lo, hi};
}

void min_max_normalize(const double* x, double* z, std::ptrdiff_t n) {
  const auto [lo, hi] = value_range(x, n);
  for (std::ptrdiff_t i = 0; i < n; ++i) z[i] = (x[i] - lo) / (hi - lo);
}

}  // namespace tavrin::math

namespace {
namespace tm = tavrin::math;
using tavrin::Scratch;
using tavrin::View;

int extent(const int* n) { return std::max(*n, 0); }
std::ptrdiff_t entries(const int* n, const int* m) { return std::ptrdiff_t(extent(n)) * extent(m); }

// Exponent and its reciprocal of the Lp and Schatten norms: p itself when
// p > tiny, otherwise tiny and 1/tiny (= 2¹⁰²²).
std::pair<double, double> exponent(double p) {
  const double q = p > tm::tiny ? p : tm::tiny;
  return {q, 1.0 / q};
}

bool minor_index_valid(int i, int k) {
  if (i >= 1 && i <= k) return true;
  tavrin::latch_failure(tavrin::status_invalid, "Minor index outside the matrix", i);
  return false;
}

// The singular values of x(m,n) on the diagonal of s(m,n), zero elsewhere.
struct SingularValues {
  Scratch<double, tavrin::small_matrix_entries> u, s, v;
  View<double, 2> sigma;
  SingularValues(const double* x, int m, int n)
      : u(std::ptrdiff_t(m) * m),
        s(std::ptrdiff_t(m) * n),
        v(std::ptrdiff_t(n) * n),
        sigma(s.data(), m, n) {
    tm::singular_value_decomposition({x, m, n}, {u.data(), m, m}, sigma, {v.data(), n, n});
  }
  int count() const { return std::min(sigma.size(1), sigma.size(2)); }
};

}  // namespace

extern "C" {

void VectorSum(double* a, const double* b, const int* n) {
  const int one = 1;
  MatrixSum(a, b, n, &one);
}

void MatrixSymmetrize(const double* a, double* sym, const int* n) {
  const int k = extent(n);
  const View<const double, 2> x(a, k, k);
  const View<double, 2> s(sym, k, k);
  for (int j = 1; j <= k; ++j)
    for (int i = 1; i <= k; ++i) s(i, j) = std::midpoint(x(i, j), x(j, i));  // (a + aᵀ)/2 without overflow
}

void MatrixDiagonal(double* diag, const double* a, const int* k, const int* n) {
  const int size = extent(n);
  const View<const double, 2> x(a, size, size);
  const int shift = *k;
  if (shift >= size || shift <= -size) return;  // no entry (and no overflow in |k|)
  for (int i = 1; i <= size - std::abs(shift); ++i)
    diag[i - 1] = shift >= 0 ? x(i, i + shift) : x(i - shift, i);
}

void MatrixTranspose(const double* a, double* b, const int* n, const int* m) {
  const View<const double, 2> x(a, extent(n), extent(m));
  const View<double, 2> t(b, extent(m), extent(n));
  for (int j = 1; j <= x.size(2); ++j)
    for (int i = 1; i <= x.size(1); ++i) t(j, i) = x(i, j);
}

void MatrixNormalize(const double* x, double* z, const int* n, const int* m) {
  tm::min_max_normalize(x, z, entries(n, m));
}

void VectorNormalize(const double* x, double* z, const int* n) {
  tm::min_max_normalize(x, z, extent(n));
}

void CumulativeSum(double* csum, const double* a, const int* n, const double* seed) {
  double s = seed ? *seed : 0.0;
  for (int i = 0; i < *n; ++i) csum[i] = s = s + a[i];
}

void CumulativeProduct(double* cprod, const double* a, const int* n, const double* seed) {
  double s = seed ? *seed : 1.0;
  for (int i = 0; i < *n; ++i) cprod[i] = s = s * a[i];
}

double GetPrincipleMinor(const double* sm, const int* i, const int* k) {
  return tavrin::c_boundary_value(__func__, [&]() -> double {
    const int size = extent(k), order = *i;
    if (!minor_index_valid(order, size)) return 0.0;
    if (order == 1) return sm[0];
    Scratch<double, tavrin::small_matrix_entries> block(std::ptrdiff_t(order) * order);
    const View<const double, 2> x(sm, size, size);
    const View<double, 2> b(block.data(), order, order);
    for (int c = 1; c <= order; ++c)
      for (int r = 1; r <= order; ++r) b(r, c) = x(r, c);
    return tm::lu_determinant(b);
  });
}

double GetFirstMinor(const double* sm, const int* i, const int* j, const int* k) {
  return tavrin::c_boundary_value(__func__, [&]() -> double {
    const int size = extent(k), row = *i, col = *j;
    if (!minor_index_valid(row, size) || !minor_index_valid(col, size)) return 0.0;
    const int order = size - 1;
    Scratch<double, tavrin::small_matrix_entries> block(std::ptrdiff_t(order) * order);
    // The remaining entries in their column-major order.
    double* out = block.data();
    const View<const double, 2> x(sm, size, size);
    for (int c = 1; c <= size; ++c)
      for (int r = 1; r <= size; ++r)
        if (r != row && c != col) *out++ = x(r, c);
    return tm::lu_determinant({block.data(), order, order});
  });
}

double GetCofactor(const double* mij, const int* i, const int* j) {
  // i + j is even when i and j have the same parity (no overflow for large indices).
  return (*i & 1) == (*j & 1) ? *mij : -*mij;
}

int Monoticity(const double* x, const int* n) {
  // Each class holds when its comparison holds for every neighbour pair (a
  // comparison with NaN fails); the later, stricter classes win.
  bool rising = true, falling = true, strictly_rising = true, strictly_falling = true;
  for (int i = 0; i + 1 < *n; ++i) {
    rising = rising && x[i + 1] >= x[i];
    falling = falling && x[i] >= x[i + 1];
    strictly_rising = strictly_rising && x[i + 1] > x[i];
    strictly_falling = strictly_falling && x[i] > x[i + 1];
  }
  int result = 0;
  if (rising) result = 1;
  if (falling) result = -1;
  if (strictly_rising) result = 2;
  if (strictly_falling) result = -2;
  return result;
}

double Trace(const double* x, const int* n) {
  const int size = extent(n);
  double s = 0.0;
  for (int i = 0; i < size; ++i) s += x[std::ptrdiff_t(i) * (size + 1)];
  return s;
}

double EuclideanDistance(const double* x, const double* y, const int* n) {
  double s = 0.0;
  for (int i = 0; i < *n; ++i) s += (x[i] - y[i]) * (x[i] - y[i]);
  return std::sqrt(s);
}

double VectorNorm(const double* x, const int* n) { return tm::euclidean_norm(x, extent(n)); }

double MatrixNorm(const double* x, const int* n, const int* m) {
  return tm::euclidean_norm(x, entries(n, m));
}

double LpVectorNorm(const double* x, const double* p, const int* n) {
  const auto [q, inverse] = exponent(*p);
  double s = 0.0;
  for (int i = 0; i < *n; ++i) s += std::pow(std::abs(x[i]), q);
  return std::pow(s, inverse);
}

double LpMatrixNorm(const double* x, const double* p, const int* n, const int* m) {
  const auto [q, inverse] = exponent(*p);
  const View<const double, 2> a(x, extent(n), extent(m));
  double s = 0.0;
  for (int i = 1; i <= a.size(1); ++i)  // row by row
    for (int j = 1; j <= a.size(2); ++j) s += std::pow(std::abs(a(i, j)), q);
  return std::pow(s, inverse);
}

double SpectralNorm(const double* x, const int* m, const int* n) {
  return tavrin::c_boundary_value(__func__, [&]() -> double {
    const SingularValues sv(x, extent(m), extent(n));
    // The largest singular value; NaN when they are not numbers (a matrix
    // with a non-finite entry), the lowest number when there are none.
    double largest = -std::numeric_limits<double>::max();
    for (int i = 1; i <= sv.count(); ++i) {
      if (std::isnan(sv.sigma(i, i))) return sv.sigma(i, i);
      largest = std::max(largest, sv.sigma(i, i));
    }
    return largest;
  });
}

double NuclearNorm(const double* x, const int* m, const int* n) {
  return tavrin::c_boundary_value(__func__, [&]() -> double {
    const SingularValues sv(x, extent(m), extent(n));
    double s = 0.0;
    for (int i = 1; i <= sv.count(); ++i) s += sv.sigma(i, i);
    return s;
  });
}

double SchattenNorm(const double* x, const double* p, const int* m, const int* n) {
  return tavrin::c_boundary_value(__func__, [&]() -> double {
    const auto [q, inverse] = exponent(*p);
    const SingularValues sv(x, extent(m), extent(n));
    double s = 0.0;
    for (int i = 1; i <= sv.count(); ++i) s += std::pow(sv.sigma(i, i), q);
    return std::pow(s, inverse);
  });
}

double EffectiveArcLength(const double* oa, const double* ob, const double* curvature, const int* n) {
  return tavrin::c_boundary_value(__func__, [&]() -> double {
    const int size = extent(n);
    Scratch<double, 8> chord(size);
    for (int i = 0; i < size; ++i) chord[std::size_t(i)] = oa[i] - ob[i];
    const double c = tm::euclidean_norm(chord.data(), size);
    if (*curvature == 0.0) return c;
    const double r = 1.0 / *curvature;
    return 2.0 * r * std::asin(c / (2.0 * r));
  });
}

void PolarTransformation(const double* cartesian, double* polar, const int* n, const double* phi0) {
  if (*n < 2) {
    tavrin::latch_failure(tavrin::status_invalid, "Polar transformation needs at least two components",
                          *n);
    return;
  }
  const double x = cartesian[0], y = cartesian[1];
  polar[0] = std::sqrt(x * x + y * y);
  polar[1] = (x == 0.0 && y == 0.0) ? (phi0 ? *phi0 : 0.0) : std::atan2(y, x);
  std::copy(cartesian + 2, cartesian + *n, polar + 2);
}

void GetUnitVector(double* xu, const double* x, const int* n) {
  const double norm = VectorNorm(x, n);
  for (int i = 0; i < *n; ++i) xu[i] = x[i] / norm;
}

double ScalarProjection(const double* a, const double* b, const int* n) {
  const double norm = VectorNorm(b, n);
  double s = 0.0;
  for (int i = 0; i < *n; ++i) s += a[i] * (b[i] / norm);
  return s;
}

double EuclideanAngle(const double* x, const double* y, const int* n) {
  const double c = tm::dot_product(x, y, *n) / (VectorNorm(y, n) * VectorNorm(x, n));
  // Rounding can carry |c| just past 1 for (anti)parallel vectors.
  if (c < -1.0 || std::isnan(c)) return std::numbers::pi;
  if (c > 1.0) return 0.0;
  return std::acos(c);
}

double RootMeanSquareError(const double* x, const double* y, const int* n) {
  return EuclideanDistance(x, y, n) * std::sqrt(1.0 / *n);
}

double MeanAbsoluteError(const double* x, const double* y, const int* n) {
  double s = 0.0;
  for (int i = 0; i < *n; ++i) s += std::abs(x[i] - y[i]);
  return s * (1.0 / *n);
}

}  // extern "C"
