// The B-spline form of a Hermite curve and the evaluation of a B-spline.
//
// A curve of n points is a B-spline of order 4 with 2n coefficients on 2n+4
// knots: every abscissa a double knot, t(2k+1) = t(2k+2) = x(k), and two end
// knots on each side set by the knot type (0 quadruple ends x(1), x(n);
// 1 extrapolating, the first and last interval continued; 2 periodic, each
// end continued by the other end's interval; negative: the caller's knots).
#pragma once

#include <algorithm>
#include <string>

#include "pchip/hermite.hpp"

namespace tavrin::pchip {

// Knots of the B-spline form (t of 2n+4 entries).  n = 1 gives end widths
// 0; n < 1 writes nothing.
template <HermiteReal Real>
void pchkt(int n, const Real* x, int knotyp, Real* t) {
  if (n < 1) return;
  const int ndim = 2 * n;
  const Vec<const Real> X(x, n);
  const Vec<Real> T(t, ndim + 4);
  for (int k = 1; k <= n; ++k) {
    T(2 * k + 1) = X(k);
    T(2 * k + 2) = X(k);
  }
  const Real hbeg = n > 1 ? X(2) - X(1) : Real(0);
  const Real hend = n > 1 ? X(n) - X(n - 1) : Real(0);
  if (knotyp == 1) {  // extrapolating
    T(2) = X(1) - hbeg;
    T(ndim + 3) = X(n) + hend;
  } else if (knotyp == 2) {  // periodic
    T(2) = X(1) - hend;
    T(ndim + 3) = X(n) + hbeg;
  } else {  // quadruple end knots
    T(2) = X(1);
    T(ndim + 3) = X(n);
  }
  T(1) = T(2);
  T(ndim + 4) = T(ndim + 3);
}

// B-spline form of Hermite data: knots t (set here for knotyp 0..2, the
// caller's for knotyp < 0, then nknots must be 2n+4) and coefficients
// bcoef(1..2n).  ndim = 2n and kord = 4 are always set; errors leave t and
// bcoef untouched.
template <HermiteReal Real>
int pchbs(int n, const Real* x, const Real* f, const Real* d, int incfd, int knotyp, int& nknots,
          Real* t, Real* bcoef, int& ndim, int& kord) {
  // The report names travel as 8-character fields.
  auto fail = [](int ierr, std::string_view message) {
    std::string name = routine_name<Real>("PCHBS");
    name.resize(8, ' ');
    xermsg("SLATEC  ", name, message, ierr, 1);
    return ierr;
  };
  ndim = 2 * n;
  kord = 4;
  if (knotyp > 2) return fail(-1, "KNOTYP GREATER THAN 2");
  if (knotyp < 0 && nknots != ndim + 4) return fail(-2, "KNOTYP.LT.0 AND NKNOTS.NE.(2*N+4)");
  if (n < 1) return 0;
  if (incfd < 1) return fail(-3, "INCREMENT LESS THAN ONE");
  if (knotyp >= 0) {
    nknots = ndim + 4;
    pchkt(n, x, knotyp, t);
  }

  // Each value and derivative gives the two coefficients of its double knot.
  const auto F = strided(f, incfd, n);
  const auto D = strided(d, incfd, n);
  const Vec<const Real> T(t, ndim + 4);
  const Vec<Real> B(bcoef, ndim);
  constexpr Real three = 3;
  Real hnew = T(3) - T(1);
  for (int k = 1; k <= n; ++k) {
    const int kk = 2 * k;
    const Real hold = hnew;
    const Real dov3 = D(1, k) / three;
    B(kk - 1) = F(1, k) - hold * dov3;
    hnew = T(kk + 3) - T(kk + 1);
    B(kk) = F(1, k) + hnew * dov3;
  }
  return 0;
}

// The knot interval of x in xt(1..lxt): ileft with xt(ileft) <= x <
// xt(ileft+1) (with repeated knots the last such interval), mflag 0; x below
// xt(1): ileft 1, mflag -1; x >= xt(lxt): ileft lxt, mflag 1.  The search
// starts from the hint ilo (clamped into 1..lxt), widens in doubling steps
// and bisects; ilo keeps the bracket for the next call.  lxt < 1 gives
// ileft 1, mflag -1 without reading.
template <HermiteReal Real>
int intrv(const Real* xt, int lxt, Real x, int& ilo, int& mflag) {
  if (lxt < 1) {
    mflag = -1;
    return 1;
  }
  const Vec<const Real> XT(xt, lxt);
  ilo = std::clamp(ilo, 1, lxt);
  int ihi;
  auto bisect = [&] {
    for (;;) {
      const int middle = ilo + (ihi - ilo) / 2;
      if (middle == ilo) {
        mflag = 0;
        return ilo;
      }
      if (x < XT(middle)) ihi = middle;
      else ilo = middle;
    }
  };

  if (ilo >= lxt - 1) {  // the hint at the last interval or beyond
    if (x >= XT(lxt)) {
      mflag = 1;
      return lxt;
    }
    if (lxt <= 1) {
      mflag = -1;
      return 1;
    }
    ilo = lxt - 1;
  }
  ihi = ilo + 1;

  if (x >= XT(ihi)) {  // search upward
    for (long long istep = 1;; istep *= 2) {
      ilo = ihi;
      if (istep >= lxt - ilo) break;
      ihi = ilo + int(istep);
      if (x < XT(ihi)) return bisect();
    }
    if (x >= XT(lxt)) {
      mflag = 1;
      return lxt;
    }
    ihi = lxt;
    return bisect();
  }
  if (x >= XT(ilo)) {
    mflag = 0;
    return ilo;
  }
  for (long long istep = 1;; istep *= 2) {  // search downward
    ihi = ilo;
    if (istep >= ihi - 1) break;
    ilo = ihi - int(istep);
    if (x >= XT(ilo)) return bisect();
  }
  ilo = 1;
  if (x < XT(1)) {
    mflag = -1;
    return 1;
  }
  return bisect();
}

// Value (ideriv = 0) or derivative ideriv < k at x of the B-spline of order
// k with coefficients a(1..n) on the knots t(1..n+k), for t(k) <= x <=
// t(n+1); at x = t(n+1) the left limit.  inbv is the knot search's hint (1 at
// first, kept between calls on the same knots); work holds 3k values.
// Errors report number 2 and give 0.
template <HermiteReal Real>
Real bvalu(const Real* t, const Real* a, int n, int k, int ideriv, Real x, int& inbv, Real* work) {
  constexpr std::string_view routine = "BVALU";
  auto fail = [](std::string_view message) {
    report<Real>(routine, 2, message);
    return Real(0);
  };
  if (k < 1) return fail("K DOES NOT SATISFY K.GE.1");
  if (n < k) return fail("N DOES NOT SATISFY N.GE.K");
  if (ideriv < 0 || ideriv >= k) return fail("IDERIV DOES NOT SATISFY 0.LE.IDERIV.LT.K");
  const int kmider = k - ideriv;
  const int km1 = k - 1;
  const Vec<const Real> T(t, n + k);
  const Vec<const Real> A(a, n);
  const Vec<Real> W(work, 3 * k);

  int mflag = 0;
  int i = intrv(t, n + 1, x, inbv, mflag);
  if (x < T(k)) return fail("X IS N0T GREATER THAN OR EQUAL TO T(K)");
  if (mflag != 0) {
    if (x > T(i)) return fail("X IS NOT LESS THAN OR EQUAL TO T(N+1)");
    do {  // x = t(n+1): the left limit, on the last interval of positive width
      if (i <= k) return fail("A LEFT LIMITING VALUE CANNOT BE OBTAINED AT T(K)");
      --i;
    } while (x == T(i));
  }
  // Knots out of order can leave x left of t(k)'s interval.
  if (i < k) return fail("X IS N0T GREATER THAN OR EQUAL TO T(K)");

  // The k coefficients that act on t(i)..t(i+1), differenced ideriv times.
  const int imk = i - k;
  for (int j = 1; j <= k; ++j) W(j) = A(imk + j);
  for (int j = 1; j <= ideriv; ++j) {
    const int kmj = k - j;
    const Real fkmj = Real(kmj);
    for (int jj = 1; jj <= kmj; ++jj) {
      const int ihi = i + jj;
      const int ihmkmj = ihi - kmj;
      W(jj) = (W(jj + 1) - W(jj)) / (T(ihi) - T(ihmkmj)) * fkmj;
    }
  }
  if (ideriv == km1) return W(1);

  // De Boor's recurrence on the remaining order.
  const int kpk = 2 * k;
  for (int j = 1; j <= kmider; ++j) {
    W(k + j) = T(i + j) - x;
    W(kpk + j) = x - T(i + 1 - j);
  }
  for (int j = ideriv + 1; j <= km1; ++j) {
    const int kmj = k - j;
    int ilo = kmj;
    for (int jj = 1; jj <= kmj; ++jj) {
      W(jj) = (W(jj + 1) * W(kpk + ilo) + W(jj) * W(k + jj)) / (W(kpk + ilo) + W(k + jj));
      --ilo;
    }
  }
  return W(1);
}

}  // namespace tavrin::pchip
