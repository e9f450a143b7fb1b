// Setting the derivatives of Hermite data: monotone (pchim), cubic spline
// with end conditions (pchsp), the easy driver over both (pchez), and the
// k-point end-derivative formula (pchdf).
#pragma once

#include <algorithm>
#include <array>
#include <cmath>

#include "pchip/hermite.hpp"

namespace tavrin::pchip {

// Derivatives that keep the shape of the data (Fritsch-Butland), from the
// interval widths h(i) and slopes slope(i), i = 1..n-1 (n >= 2), given as
// callables: on every interval where the data rise (fall) the curve rises
// (falls); at a local extremum of the data and next to a flat interval the
// derivative is 0.  Interior points take a weighted harmonic mean of the
// neighbouring slopes; the ends a three-point formula limited to the end
// slope's sign and, when the direction switches at the next point, to three
// times that slope.  Returns the number of switches of monotonicity.
template <HermiteReal Real, class Width, class Slope>
int monotone_derivatives(int n, Width h, Slope slope, View<Real, 2> D) {
  constexpr Real zero = 0, three = 3;
  int switches = 0;
  const int nless1 = n - 1;
  Real h1 = h(1);
  Real del1 = slope(1);
  Real dsave = del1;  // the last nonzero slope seen

  if (nless1 <= 1) {  // two points: the straight line
    D(1, 1) = del1;
    D(1, n) = del1;
    return 0;
  }

  Real h2 = h(2);
  Real del2 = slope(2);
  Real hsum = h1 + h2;

  // First point: three-point formula, shape-preserving.
  Real w1 = (h1 + hsum) / hsum;
  Real w2 = -h1 / hsum;
  D(1, 1) = w1 * del1 + w2 * del2;
  if (pchst(D(1, 1), del1) <= zero) {
    D(1, 1) = zero;
  } else if (pchst(del1, del2) < zero) {
    const Real dmax = three * del1;
    if (std::abs(D(1, 1)) > std::abs(dmax)) D(1, 1) = dmax;
  }

  for (int i = 2; i <= nless1; ++i) {
    if (i > 2) {
      h1 = h2;
      h2 = h(i);
      hsum = h1 + h2;
      del1 = del2;
      del2 = slope(i);
    }
    D(1, i) = zero;
    const Real s = pchst(del1, del2);
    if (s < zero) {  // strict switch of direction
      ++switches;
      dsave = del2;
    } else if (s == zero) {  // a flat interval on one side
      if (del2 != zero) {
        if (pchst(dsave, del2) < zero) ++switches;
        dsave = del2;
      }
    } else {  // strictly monotone: weighted harmonic mean, scaled
      const Real hsumt3 = hsum + hsum + hsum;
      w1 = (hsum + h1) / hsumt3;
      w2 = (hsum + h2) / hsumt3;
      const Real dmax = std::max(std::abs(del1), std::abs(del2));
      const Real dmin = std::min(std::abs(del1), std::abs(del2));
      const Real drat1 = del1 / dmax;
      const Real drat2 = del2 / dmax;
      D(1, i) = dmin / (w1 * drat1 + w2 * drat2);
    }
  }

  // Last point: the mirror of the first.
  w1 = -h2 / hsum;
  w2 = (h2 + hsum) / hsum;
  D(1, n) = w1 * del1 + w2 * del2;
  if (pchst(D(1, n), del2) <= zero) {
    D(1, n) = zero;
  } else if (pchst(del1, del2) < zero) {
    const Real dmax = three * del2;
    if (std::abs(D(1, n)) > std::abs(dmax)) D(1, n) = dmax;
  }
  return switches;
}

// Monotone derivatives of Hermite data (see monotone_derivatives).  Returns
// the number of switches of monotonicity (a silent warning count) or a
// standard data error.
template <HermiteReal Real>
int pchim(int n, const Real* x, const Real* f, Real* d, int incfd) {
  if (const int ierr = check_hermite_data<Real>("PCHIM", n, x, incfd, true)) return ierr;
  const Vec<const Real> X(x, n);
  const auto F = strided(f, incfd, n);
  auto h = [&](int i) { return X(i + 1) - X(i); };
  auto slope = [&](int i) { return (F(1, i + 1) - F(1, i)) / (X(i + 1) - X(i)); };
  return monotone_derivatives<Real>(n, h, slope, strided(d, incfd, n));
}

// The same derivatives from widths h(1..n-1) and slopes slope(1..n-1) already
// at hand, without the switch count (n < 2 or incfd < 1 writes nothing).
template <HermiteReal Real>
void pchci(int n, const Real* h, const Real* slope, Real* d, int incfd) {
  if (n < 2 || incfd < 1) return;
  const Vec<const Real> H(h, n - 1), S(slope, n - 1);
  monotone_derivatives<Real>(n, [&](int i) { return H(i); }, [&](int i) { return S(i); },
                             strided(d, incfd, n));
}

// Derivative at x(k) of the polynomial of degree k-1 through the k points
// x(1..k) whose chord slopes are s(1..k-1); s is overwritten by divided
// differences.  k < 3 is error -1 (result 0).
template <HermiteReal Real>
Real pchdf(int k, const Real* x, Real* s, int& ierr) {
  ierr = 0;
  if (k < 3) {
    ierr = report<Real>("PCHDF", -1, "K LESS THAN THREE");
    return Real(0);
  }
  const Vec<const Real> X(x, k);
  const Vec<Real> S(s, k - 1);
  for (int j = 2; j <= k - 1; ++j)
    for (int i = 1; i <= k - j; ++i) S(i) = (S(i + 1) - S(i)) / (X(i + j) - X(i));
  Real value = S(1);
  for (int i = 2; i <= k - 1; ++i) value = S(i) + value * (X(k) - X(i));
  return value;
}

// Cubic-spline derivatives (second derivative continuous) with end
// conditions ic = (left, right), each 0 not-a-knot, 1 first derivative vc,
// 2 second derivative vc, 3 or 4 the derivative of the polynomial through
// the end's 3 or 4 points (a code above n falls back to 0).  The tridiagonal
// system is solved in the work array wk (2 x n, nwk >= 2n).
template <HermiteReal Real>
int pchsp(const int* ic, const Real* vc, int n, const Real* x, const Real* f, Real* d, int incfd,
          Real* wk, int nwk) {
  constexpr std::string_view routine = "PCHSP";
  if (const int ierr = check_hermite_data<Real>(routine, n, x, incfd, true)) return ierr;
  constexpr Real zero = 0, half = 0.5, one = 1, two = 2, three = 3;

  int ibeg = ic[0];
  int iend = ic[1];
  int ierr = 0;
  if (ibeg < 0 || ibeg > 4) ierr -= 1;
  if (iend < 0 || iend > 4) ierr -= 2;
  if (ierr < 0) return report<Real>(routine, ierr - 3, "IC OUT OF RANGE");
  if (nwk < 2 * n) return report<Real>(routine, -7, "WORK ARRAY TOO SMALL");

  const Vec<const Real> X(x, n);
  const auto F = strided(f, incfd, n);
  const auto D = strided(d, incfd, n);
  const Mat<Real> WK(wk, 2, n);  // row 1: interval widths, row 2: slopes

  for (int j = 2; j <= n; ++j) {
    WK(1, j) = X(j) - X(j - 1);
    WK(2, j) = (F(1, j) - F(1, j - 1)) / WK(1, j);
  }
  if (ibeg > n) ibeg = 0;
  if (iend > n) iend = 0;

  auto singular = [&] { return report<Real>(routine, -8, "SINGULAR LINEAR SYSTEM"); };
  auto end_polynomial_failed = [&] {
    return report<Real>(routine, -9, "ERROR RETURN FROM " + routine_name<Real>("PCHDF"));
  };
  std::array<Real, 4> xtemp{};
  std::array<Real, 3> stemp{};

  // End derivatives that are given or come from the end polynomial.
  if (ibeg == 1 || ibeg == 2) {
    D(1, 1) = vc[0];
  } else if (ibeg > 2) {
    for (int j = 1; j <= ibeg; ++j) {
      const int index = ibeg - j + 1;
      xtemp[std::size_t(j - 1)] = X(index);
      if (j < ibeg) stemp[std::size_t(j - 1)] = WK(2, index);
    }
    int ierf = 0;
    D(1, 1) = pchdf(ibeg, xtemp.data(), stemp.data(), ierf);
    if (ierf != 0) return end_polynomial_failed();
    ibeg = 1;
  }
  if (iend == 1 || iend == 2) {
    D(1, n) = vc[1];
  } else if (iend > 2) {
    for (int j = 1; j <= iend; ++j) {
      const int index = n - iend + j;
      xtemp[std::size_t(j - 1)] = X(index);
      if (j < iend) stemp[std::size_t(j - 1)] = WK(2, index + 1);
    }
    int ierf = 0;
    D(1, n) = pchdf(iend, xtemp.data(), stemp.data(), ierf);
    if (ierf != 0) return end_polynomial_failed();
    iend = 1;
  }

  // First equation: wk(2,1) s(1) + wk(1,1) s(2) = d(1).
  if (ibeg == 0) {
    if (n == 2) {
      WK(2, 1) = one;
      WK(1, 1) = one;
      D(1, 1) = two * WK(2, 2);
    } else {  // not-a-knot
      WK(2, 1) = WK(1, 3);
      WK(1, 1) = WK(1, 2) + WK(1, 3);
      D(1, 1) = ((WK(1, 2) + two * WK(1, 1)) * WK(2, 2) * WK(1, 3) + WK(1, 2) * WK(1, 2) * WK(2, 3)) /
                WK(1, 1);
    }
  } else if (ibeg == 1) {
    WK(2, 1) = one;
    WK(1, 1) = zero;
  } else {
    WK(2, 1) = two;
    WK(1, 1) = one;
    D(1, 1) = three * WK(2, 2) - half * WK(1, 2) * D(1, 1);
  }

  // Forward elimination over the interior equations.
  for (int j = 2; j <= n - 1; ++j) {
    if (WK(2, j - 1) == zero) return singular();
    const Real g = -WK(1, j + 1) / WK(2, j - 1);
    D(1, j) = g * D(1, j - 1) + three * (WK(1, j) * WK(2, j + 1) + WK(1, j + 1) * WK(2, j));
    WK(2, j) = g * WK(1, j - 1) + two * (WK(1, j) + WK(1, j + 1));
  }

  // Last equation, eliminated against the one before it.
  if (iend != 1 && !(iend == 0 && n == 2 && ibeg == 0)) {
    Real g;
    if (iend == 0) {
      if (n == 2 || (n == 3 && ibeg == 0)) {  // not-a-knot with too few points
        D(1, n) = two * WK(2, n);
        WK(2, n) = one;
        if (WK(2, n - 1) == zero) return singular();
        g = -one / WK(2, n - 1);
      } else {  // not-a-knot
        g = WK(1, n - 1) + WK(1, n);
        D(1, n) = ((WK(1, n) + two * g) * WK(2, n) * WK(1, n - 1) +
                   WK(1, n) * WK(1, n) * (F(1, n - 1) - F(1, n - 2)) / WK(1, n - 1)) /
                  g;
        if (WK(2, n - 1) == zero) return singular();
        g = -g / WK(2, n - 1);
        WK(2, n) = WK(1, n - 1);
      }
    } else {  // second derivative given
      D(1, n) = three * WK(2, n) + half * WK(1, n) * D(1, n);
      WK(2, n) = two;
      if (WK(2, n - 1) == zero) return singular();
      g = -one / WK(2, n - 1);
    }
    WK(2, n) = g * WK(1, n - 1) + WK(2, n);
    if (WK(2, n) == zero) return singular();
    D(1, n) = (g * D(1, n - 1) + D(1, n)) / WK(2, n);
  } else if (iend == 0) {  // two points, not-a-knot at both ends
    D(1, 2) = WK(2, 2);
  }

  // Back substitution.
  for (int j = n - 1; j >= 1; --j) {
    if (WK(2, j) == zero) return singular();
    D(1, j) = (D(1, j) - WK(1, j) * D(1, j + 1)) / WK(2, j);
  }
  return 0;
}

// Easy driver, increment 1: monotone derivatives (pchim), or with `spline`
// the not-a-knot cubic spline (pchsp, work array of lwk >= 2n values; wk and
// lwk are not used otherwise).
template <HermiteReal Real>
int pchez(int n, const Real* x, const Real* f, Real* d, bool spline, Real* wk, int lwk) {
  if (!spline) return pchim(n, x, f, d, 1);
  static constexpr int ic[2] = {0, 0};
  static constexpr Real vc[2] = {0, 0};  // not read with not-a-knot ends
  return pchsp(ic, vc, n, x, f, d, 1, wk, lwk);
}

}  // namespace tavrin::pchip
