// Evaluating Hermite data: one cubic at many points (chfev, with derivatives
// chfdv), the whole curve at many points (pchfe, with derivatives pchfd) and
// the easy evaluator (pchev).  Points outside the data lie on the first or
// last cubic continued; their number is returned as a warning.
#pragma once

#include <algorithm>

#include "pchip/hermite.hpp"

namespace tavrin::pchip {

// The cubic through (x1, f1) and (x2, f2) with slopes d1, d2, at the ne
// points xe, into fe (and, WithDerivative, its derivative into de).  next(1)
// counts the points below min(x1, x2), next(2) those above max(x1, x2).
// Values and derivatives of the two evaluators come from this one loop, so
// they agree bit for bit.
template <HermiteReal Real, bool WithDerivative>
int chfev_kernel(Real x1, Real x2, Real f1, Real f2, Real d1, Real d2, int ne, const Real* xe,
                 Real* fe, Real* de, int* next) {
  constexpr std::string_view routine = WithDerivative ? "CHFDV" : "CHFEV";
  if (ne < 1) return report<Real>(routine, -1, "NUMBER OF EVALUATION POINTS LESS THAN ONE");
  const Real h = x2 - x1;
  if (h == Real(0)) return report<Real>(routine, -2, "INTERVAL ENDPOINTS EQUAL");

  next[0] = 0;
  next[1] = 0;
  const Real xmi = std::min(Real(0), h);
  const Real xma = std::max(Real(0), h);

  // Cubic coefficients about x1.
  const Real delta = (f2 - f1) / h;
  const Real del1 = (d1 - delta) / h;
  const Real del2 = (d2 - delta) / h;
  const Real c2 = -(del1 + del1 + del2);
  const Real c3 = (del1 + del2) / h;
  const Real c2t2 = c2 + c2;
  const Real c3t3 = c3 + c3 + c3;

  int below = 0, above = 0;
  for (int i = 0; i < ne; ++i) {
    const Real x = xe[i] - x1;
    fe[i] = f1 + x * (d1 + x * (c2 + x * c3));
    if constexpr (WithDerivative) de[i] = d1 + x * (c2t2 + x * c3t3);
    below += x < xmi;
    above += x > xma;
  }
  next[0] = below;
  next[1] = above;
  return 0;
}

// The whole curve at the ne points xe (any order; increasing order is one
// pass over the data), into fe and, WithDerivative, de.  Runs of consecutive
// points are evaluated on their interval; a point left of the interval of its
// run restarts the search from the interval that holds it.  Returns the count
// of points evaluated outside [x(1), x(n)] (each time an end interval
// evaluates them), or an error: the data checks (the order scan only when
// skip is false), -4 no points, -5 failure of the one-cubic evaluator (level
// 2).  skip is true on return once the data checks have passed.
template <HermiteReal Real, bool WithDerivative>
int pchfe_driver(int n, const Real* x, const Real* f, const Real* d, int incfd, int& skip, int ne,
                 const Real* xe, Real* fe, Real* de) {
  constexpr std::string_view routine = WithDerivative ? "PCHFD" : "PCHFE";
  if (const int ierr = check_hermite_data<Real>(routine, n, x, incfd, !skip)) return ierr;
  skip = 1;
  if (ne < 1) return report<Real>(routine, -4, "NUMBER OF EVALUATION POINTS LESS THAN ONE");

  const Vec<const Real> X(x, n);
  const auto F = strided(f, incfd, n);
  const auto D = strided(d, incfd, n);
  const Vec<const Real> XE(xe, ne);
  auto fatal = [] {
    return report<Real>(routine, -5,
                        "ERROR RETURN FROM " + routine_name<Real>(WithDerivative ? "CHFDV" : "CHFEV") +
                            " -- FATAL",
                        2);
  };

  int ierr = 0;
  int jfirst = 1;  // first point not yet placed
  int ir = 2;      // current interval x(ir-1)..x(ir)
  while (ir <= n) {
    if (jfirst > ne) return ierr;
    // The run: points from jfirst on that lie left of x(ir); on the last
    // interval every remaining point.
    int j = ne + 1;
    if (ir < n) {
      for (int k = jfirst; k <= ne; ++k) {
        if (XE(k) >= X(ir)) {
          j = k;
          break;
        }
      }
    }
    const int nj = j - jfirst;
    if (nj != 0) {
      int next[2];
      const int offset = jfirst - 1;
      const int ierc = chfev_kernel<Real, WithDerivative>(
          X(ir - 1), X(ir), F(1, ir - 1), F(1, ir), D(1, ir - 1), D(1, ir), nj, xe + offset,
          fe + offset, WithDerivative ? de + offset : nullptr, next);
      if (ierc < 0) return fatal();
      if (next[1] != 0) {
        if (ir < n) return fatal();  // cannot happen for ordered data
        ierr += next[1];             // points right of x(n)
      }
      if (next[0] != 0) {
        if (ir <= 2) {
          ierr += next[0];  // points left of x(1)
        } else {
          // Points of the run lie left of x(ir-1): the points are not in
          // increasing order.  Evaluate from the first of them again, from
          // the interval that holds it.
          int i = jfirst;
          while (i < j && !(XE(i) < X(ir - 1))) ++i;
          if (i == j) return fatal();
          j = i;
          i = 1;
          while (i < ir && !(XE(j) < X(i))) ++i;
          ir = std::max(1, i - 1);
        }
      }
      jfirst = j;
    }
    ++ir;
  }
  return ierr;
}

// Easy evaluator (increment 1, no data checks beyond n >= 2): values and
// derivatives; its reports carry the name of pchfd.
template <HermiteReal Real>
int pchev(int n, const Real* x, const Real* f, const Real* d, int nval, const Real* xval, Real* fval,
          Real* dval) {
  int skip = 1;
  return pchfe_driver<Real, true>(n, x, f, d, 1, skip, nval, xval, fval, dval);
}

}  // namespace tavrin::pchip
