// Monotonicity of Hermite data, interval by interval and for the whole curve,
// by the exact region of monotone cubics (Fritsch-Carlson): with the slope
// delta of an interval and a = d1/delta, b = d2/delta, the cubic is monotone
// exactly when (a, b) lies in the first quadrant inside the union of the
// square [0, 3]^2 and the ellipse (a-2)^2 + (a-2)(b-2) + (b-2)^2 <= 3.
//
// Codes: 0 constant, 1 increasing, -1 decreasing, 3 / -3 increasing /
// decreasing but within rounding of the region's boundary, 2 not monotone.
#pragma once

#include "pchip/hermite.hpp"
#include "pchip/machine.hpp"

namespace tavrin::pchip {

// The code of one cubic with end derivatives d1, d2 and slope delta.
template <HermiteReal Real>
int chfcm(Real d1, Real d2, Real delta) {
  constexpr Real zero = 0, two = 2, three = 3, four = 4, ten = 10;
  const Real eps = ten * machine_epsilon<Real>();
  if (delta == zero) return d1 == zero && d2 == zero ? 0 : 2;
  const int itrue = delta > zero ? 1 : -1;
  Real a = d1 / delta;
  Real b = d2 / delta;
  if (a < zero || b < zero) return 2;
  if (a <= three - eps && b <= three - eps) return itrue;  // inside the square
  if (a > four + eps && b > four + eps) return 2;          // beyond [0, 4]^2, so beyond the ellipse
  a = a - two;
  b = b - two;
  const Real phi = ((a * a + b * b) + a * b) - three;
  if (phi < -eps) return itrue;
  if (phi > eps) return 2;
  return 3 * itrue;
}

// The curve's code after one more interval: a change of sense or a
// non-monotone interval makes it 2, a borderline interval makes it
// borderline, constant intervals change nothing.
inline int combine_monotonicity(int so_far, int next) {
  if (next == so_far || next == 0 || so_far == 2) return so_far;
  if (next == 2 || so_far == 0) return next;
  if (next * so_far < 0) return 2;
  return so_far > 0 ? 3 : -3;
}

// ismon(i), i = 1..n-1: the code of interval i; ismon(n): the whole curve.
// The standard data checks (n >= 2 and incfd >= 1 always, the order of the
// abscissas unless skip) come first; skip is true on a normal return.
template <HermiteReal Real>
int pchcm(int n, const Real* x, const Real* f, const Real* d, int incfd, int& skip, int* ismon) {
  if (const int ierr = check_hermite_data<Real>("PCHCM", n, x, incfd, !skip)) return ierr;
  skip = 1;
  const Vec<const Real> X(x, n);
  const auto F = strided(f, incfd, n);
  const auto D = strided(d, incfd, n);
  const Vec<int> M(ismon, n);
  for (int i = 1; i <= n - 1; ++i) {
    const Real delta = (F(1, i + 1) - F(1, i)) / (X(i + 1) - X(i));
    M(i) = chfcm(D(1, i), D(1, i + 1), delta);
    M(n) = i == 1 ? M(1) : combine_monotonicity(M(n), M(i));
  }
  return 0;
}

}  // namespace tavrin::pchip
