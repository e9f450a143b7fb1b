#include "foundation/calculus.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "foundation/numerics_latch.hpp"

namespace tavrin::math {

double trapezoidintegration(const double* x, const double* y, int n) {
  double s = 0.0;
  for (int i = 0; i + 1 < n; ++i) s += (y[i] + y[i + 1]) * (x[i + 1] - x[i]);
  return 0.5 * s;
}

double signed_polygon_area(const double* x, const double* y, int n) {
  if (n <= 2) return 0.0;
  double s = 0.0;
  for (int i = 0; i < n; ++i) {
    const int j = i + 1 < n ? i + 1 : 0;
    s += x[i] * y[j] - x[j] * y[i];
  }
  return 0.5 * s;
}

double binomial(int n, int k) {
  if (k < 1) return 1.0;
  std::int64_t top = n, count = k;
  // 0 ≤ n < k: the factor n - i + 1 reaches 0.
  if (top >= 0 && count > top) return 0.0;
  // C(n, k) = (-1)ᵏ·C(k - n - 1, k) for negative n.
  const bool negative = top < 0 && count % 2 == 1;
  if (top < 0) top = count - top - 1;
  count = std::min(count, top - count);  // C(n, k) = C(n, n - k)
  // r·(top - i + 1) is i·C(top, i): the division is exact.
  std::int64_t exact = 1;
  std::int64_t i = 1;
  for (; i <= count; ++i) {
    std::int64_t product;
    if (__builtin_mul_overflow(exact, top - i + 1, &product)) break;
    exact = product / i;
  }
  double r = double(exact);
  for (; i <= count && std::isfinite(r); ++i) r = r * double(top - i + 1) / double(i);
  return negative ? -r : r;
}

}  // namespace tavrin::math

extern "C" {

void Gradient(double* jac, const double* dy, const double* dx, const int* a, const int* b) {
  const std::ptrdiff_t rows = std::max(*a, 0);
  for (std::ptrdiff_t j = 0; j < std::max(*b, 0); ++j)
    for (std::ptrdiff_t i = 0; i < rows; ++i) jac[i + j * rows] = dy[i + j * rows] / dx[j];
}

void ComplexStepDerivative(double* derivative, const std::complex<double>* y,
                           const std::complex<double>* x, const int* n) {
  for (int i = 0; i < *n; ++i) derivative[i] = y[i].imag() / x[i].imag();
}

void CentralStepDerivative(double* derivative, const double* y, const double* x, const int* n) {
  const int k = *n;
  if (k < 2) {
    tavrin::latch_failure(tavrin::status_invalid, "Central differences need at least two points", k);
    return;
  }
  derivative[0] = (y[1] - y[0]) / (x[1] - x[0]);
  for (int i = 1; i + 1 < k; ++i) derivative[i] = (y[i + 1] - y[i - 1]) / (x[i + 1] - x[i - 1]);
  derivative[k - 1] = (y[k - 1] - y[k - 2]) / (x[k - 1] - x[k - 2]);
}

double ShoelaceMethod(const double* x, const double* y, const int* n) {
  return std::abs(tavrin::math::signed_polygon_area(x, y, *n));
}

double PascalTriangle(const int* n, const int* k) { return tavrin::math::binomial(*n, *k); }

}  // extern "C"
