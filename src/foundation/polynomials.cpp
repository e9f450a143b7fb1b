#include "foundation/polynomials.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "foundation/lapack.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/scratch.hpp"

namespace {

using tavrin::Scratch;

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();
constexpr double pi_over_6 = 0.5235987755982988;
constexpr double two_pi_over_3 = 2.0943951023931953;
constexpr double four_pi_over_3 = 4.1887902047863905;

constexpr std::string_view fitting_failed = "Problem in polynom fitting function";

// Three values in ascending order (a NaN stays where it is).
std::array<double, 3> ascending(double a, double b, double c) {
  if (b < a) std::swap(a, b);
  if (c < b) std::swap(b, c);
  if (b < a) std::swap(a, b);
  return {a, b, c};
}

// The number of distinct values among n (NaN entries count each).
int distinct_values(const double* v, int n) {
  Scratch<double, 64> sorted(n);
  std::copy_n(v, n, sorted.data());
  double* end = sorted.data() + n;
  // NaN values go last and are counted one by one.
  double* numbers = std::partition(sorted.data(), end, [](double x) { return !std::isnan(x); });
  std::sort(sorted.data(), numbers);
  return int(std::unique(sorted.data(), numbers) - sorted.data()) + int(end - numbers);
}

}  // namespace

namespace tavrin::math {

double cuberoot(double a) {
  if (a == 0.0) return 0.0;
  if (a > 0.0) return std::exp(std::log(a) / 3.0);
  if (a < 0.0) return -std::exp(std::log(-a) / 3.0);
  return a;  // not a number
}

void polynomialfitting(const double* vx, int nx, const double* vy, int ny, int d,
                       double* coefficients) {
  if (d < 0) {
    latch_failure(status_invalid, "Negative degree in polynom fitting function", d);
    return;
  }
  const long long m = d + 1LL;
  std::fill_n(coefficients, m, not_a_number);
  if (nx != ny) {
    latch_failure(status_invalid, "Abscissas and ordinates differ in length", ny);
    return;
  }
  const int n = std::max(nx, 0);
  // Fewer distinct abscissas than coefficients make XᵀX singular whatever
  // rounding does to its LU factors.
  if (m > n || distinct_values(vx, n) < m) {
    latch_failure(status_error, fitting_failed);
    return;
  }
  const int k = int(m);
  // The Vandermonde matrix X(n, k) by successive integer powers.
  Scratch<double, 64> vandermonde(std::ptrdiff_t(n) * k);
  const View<double, 2> X(vandermonde.data(), n, k);
  for (int i = 1; i <= n; ++i) {
    X(i, 1) = 1.0;
    for (int j = 2; j <= k; ++j) X(i, j) = X(i, j - 1) * vx[i - 1];
  }
  // M = XᵀX, inverted in place.
  Scratch<double, 64> normal(std::ptrdiff_t(k) * k);
  const View<double, 2> M(normal.data(), k, k);
  lapack::gemm('T', 'N', k, k, n, 1.0, X.data(), X.data(), 0.0, M.data());
  Scratch<int, 8> pivots(k);
  if (lapack::getrf(M, pivots.data()) != 0 || lapack::getri(M, pivots.data()) != 0) {
    latch_failure(status_error, fitting_failed);
    return;
  }
  // c = (M⁻¹·Xᵀ)·vy.
  Scratch<double, 64> projector(std::ptrdiff_t(k) * n);
  lapack::gemm('N', 'T', k, n, k, 1.0, M.data(), X.data(), 0.0, projector.data());
  const View<const double, 2> P(projector.data(), k, n);
  for (int j = 1; j <= k; ++j) {
    double s = 0.0;
    for (int i = 1; i <= n; ++i) s += P(j, i) * vy[i - 1];
    coefficients[j - 1] = s;
  }
}

}  // namespace tavrin::math

extern "C" {

void SpecialCase(const double* p, const double* q, double* xx1, double* xx2, double* xx3) {
  const double P = *p, Q = *q;
  const double D = 0.25 * Q * Q + P * P * P / 27.0;
  std::array<double, 3> roots{};
  if (D > 0.0) {
    // One real root.
    const double s = std::sqrt(D);
    const double t = tavrin::math::cuberoot(s - Q / 2.0) + tavrin::math::cuberoot(-Q / 2.0 - s);
    roots = {t, t, t};
  } else if (D == 0.0) {
    // A simple root 2u and a double root -u (all zero for p = q = 0).
    const double u = P == 0.0 && Q == 0.0 ? 0.0 : tavrin::math::cuberoot(-Q / 2.0);
    roots = ascending(2.0 * u, -u, -u);
  } else {
    // Three real roots 2m·cos(θ + 2πk/3).  Rounding can leave 4r² - q² just
    // below zero for a nearly double root: the angle is then ±π/2 / 3.
    const double r = std::sqrt(-P * P * P / 27.0);
    const double m = tavrin::math::cuberoot(r);
    const double w = std::sqrt(std::max(4.0 * r * r - Q * Q, 0.0));
    const double theta = std::atan(Q / w) / 3.0 + pi_over_6;
    roots = ascending(2.0 * m * std::cos(theta), 2.0 * m * std::cos(theta + two_pi_over_3),
                      2.0 * m * std::cos(theta + four_pi_over_3));
  }
  *xx1 = roots[0];
  *xx2 = roots[1];
  *xx3 = roots[2];
}

void Solution3PE(const double* a, const double* b, const double* c, const double* d, double* x1,
                 double* x2, double* x3) {
  if (*a == 0.0) {
    tavrin::latch_failure(tavrin::status_invalid, "Cubic equation with a zero leading coefficient");
    *x1 = *x2 = *x3 = std::numeric_limits<double>::quiet_NaN();
    return;
  }
  // x = t - s turns the cubic into t³ + p·t + q = 0.
  const double s = *b / (3.0 * *a);
  const double ca = *c / *a;
  const double p = ca - 3.0 * s * s;
  const double q = *d / *a - ca * s + 2.0 * s * s * s;
  SpecialCase(&p, &q, x1, x2, x3);
  *x1 -= s;
  *x2 -= s;
  *x3 -= s;
}

}  // extern "C"
