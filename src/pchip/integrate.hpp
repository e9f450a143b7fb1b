// Exact integrals of Hermite data: of one cubic between any limits (chfie),
// between two data points (pchid), between any limits (pchia) and the easy
// driver (pchqa).  Limits outside the data integrate the end cubics
// continued; pchia says so in a warning (1: a, 2: b, 3: both outside).
#pragma once

#include <algorithm>

#include "pchip/hermite.hpp"

namespace tavrin::pchip {

// Integral from a to b of the cubic through (x1, f1), (x2, f2) with slopes
// d1, d2, for any a, b (outside [x1, x2] too; b < a changes the sign); 0 when
// x1 = x2.
template <HermiteReal Real>
Real chfie(Real x1, Real x2, Real f1, Real f2, Real d1, Real d2, Real a, Real b) {
  constexpr Real half = 0.5, two = 2, three = 3, four = 4, six = 6;
  if (x1 == x2) return Real(0);
  const Real h = x2 - x1;
  const Real ta1 = (a - x1) / h;
  const Real ta2 = (x2 - a) / h;
  const Real tb1 = (b - x1) / h;
  const Real tb2 = (x2 - b) / h;

  const Real ua1 = ta1 * ta1 * ta1;
  const Real ua2 = ta2 * ta2 * ta2;
  const Real ub1 = tb1 * tb1 * tb1;
  const Real ub2 = tb2 * tb2 * tb2;

  // Antiderivatives of the Hermite basis functions at both limits.
  const Real phia1 = ua1 * (two - ta1);
  const Real psia1 = ua1 * (three * ta1 - four);
  const Real phia2 = ua2 * (two - ta2);
  const Real psia2 = -ua2 * (three * ta2 - four);
  const Real phib1 = ub1 * (two - tb1);
  const Real psib1 = ub1 * (three * tb1 - four);
  const Real phib2 = ub2 * (two - tb2);
  const Real psib2 = -ub2 * (three * tb2 - four);

  const Real fterm = f1 * (phia2 - phib2) + f2 * (phib1 - phia1);
  const Real dterm = (d1 * (psia2 - psib2) + d2 * (psib1 - psia1)) * (h / six);
  return (half * h) * (fterm + dterm);
}

// Integral from x(ia) to x(ib) (data indices 1..n; ib < ia changes the sign).
// Errors: the data checks (order scan only when skip is false), -4 an index
// out of range; skip is true on return once the data checks have passed.
template <HermiteReal Real>
Real pchid(int n, const Real* x, const Real* f, const Real* d, int incfd, int& skip, int ia, int ib,
           int& ierr) {
  constexpr std::string_view routine = "PCHID";
  constexpr Real zero = 0, half = 0.5, six = 6;
  ierr = check_hermite_data<Real>(routine, n, x, incfd, !skip);
  if (ierr != 0) return zero;
  skip = 1;
  if (ia < 1 || ia > n || ib < 1 || ib > n) {
    ierr = report<Real>(routine, -4, "IA OR IB OUT OF RANGE");
    return zero;
  }
  if (ia == ib) return zero;

  const Vec<const Real> X(x, n);
  const auto F = strided(f, incfd, n);
  const auto D = strided(d, incfd, n);
  const int low = std::min(ia, ib);
  const int iup = std::max(ia, ib) - 1;
  Real sum = zero;
  for (int i = low; i <= iup; ++i) {
    const Real h = X(i + 1) - X(i);
    sum = sum + h * ((F(1, i) + F(1, i + 1)) + (D(1, i) - D(1, i + 1)) * (h / six));
  }
  const Real value = half * sum;
  return ia > ib ? -value : value;
}

// Integral from a to b of the whole curve.  A range inside one interval uses
// that interval's cubic; otherwise the whole intervals in between (pchid)
// plus the partial intervals at both ends.  Warnings 1, 2, 3 as above;
// errors as pchid's (-4 when pchid fails, which cannot happen).
template <HermiteReal Real>
Real pchia(int n, const Real* x, const Real* f, const Real* d, int incfd, int& skip, Real a, Real b,
           int& ierr) {
  constexpr std::string_view routine = "PCHIA";
  constexpr Real zero = 0;
  ierr = check_hermite_data<Real>(routine, n, x, incfd, !skip);
  if (ierr != 0) return zero;
  skip = 1;

  const Vec<const Real> X(x, n);
  const auto F = strided(f, incfd, n);
  const auto D = strided(d, incfd, n);
  if (a < X(1) || a > X(n)) ierr += 1;
  if (b < X(1) || b > X(n)) ierr += 2;
  if (a == b) return zero;

  // The cubic of interval il..ir from lo to hi.
  auto piece = [&](int il, int ir, Real lo, Real hi) {
    return chfie(X(il), X(ir), F(1, il), F(1, ir), D(1, il), D(1, ir), lo, hi);
  };
  const Real xa = std::min(a, b);
  const Real xb = std::max(a, b);
  if (xb <= X(2)) return piece(1, 2, a, b);          // within the first interval
  if (xa >= X(n - 1)) return piece(n - 1, n, a, b);  // within the last interval

  // xa < x(n-1) and xb > x(2): ia is the first index with x(ia) >= xa (1 when
  // xa < x(1)), ib the last with x(ib) <= xb (n when xb > x(n)).
  int ia = 1;
  for (int i = 1; i <= n - 1; ++i)
    if (xa > X(i)) ia = i + 1;
  int ib = n;
  for (int i = n; i >= ia; --i)
    if (xb < X(i)) ib = i - 1;

  if (ib < ia) return piece(ib, ia, a, b);  // both limits in one interval

  Real value = zero;
  if (ib > ia) {
    int ierd = 0;
    value = pchid(n, x, f, d, incfd, skip, ia, ib, ierd);
    if (ierd < 0) {
      ierr = report<Real>(routine, -4, "TROUBLE IN " + routine_name<Real>("PCHID"));
      return zero;
    }
  }
  if (X(ia) > xa) {
    const int il = std::max(1, ia - 1);
    value = value + piece(il, il + 1, xa, X(ia));
  }
  if (xb > X(ib)) {
    const int ir = std::min(ib + 1, n);
    value = value + piece(ir - 1, ir, X(ib), xb);
  }
  return a > b ? -value : value;
}

// Easy integrator (increment 1, no data checks beyond n >= 2): pchia's
// integral from a to b, with its warnings and its routine name.
template <HermiteReal Real>
Real pchqa(int n, const Real* x, const Real* f, const Real* d, Real a, Real b, int& ierr) {
  int skip = 1;
  return pchia(n, x, f, d, 1, skip, a, b, ierr);
}

}  // namespace tavrin::pchip
