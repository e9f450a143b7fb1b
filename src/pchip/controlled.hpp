// Monotone derivatives with control at the switches of direction and with end
// conditions (pchic), and its parts: the adjustment where the data switch
// direction (pchcs), the limit on the excursion past the data on one
// interval (pchsw) and the end conditions (pchce).
//
// Work layout of pchic: wk(1..n-1) interval widths h, wk(n..2n-2) slopes.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "pchip/derivatives.hpp"
#include "pchip/machine.hpp"

namespace tavrin::pchip {

// The constant of the switch region, a little below 1/3 (the binary32 twin
// uses the same literal rounded to binary32).
template <HermiteReal Real>
inline constexpr Real switch_third = 0.33333;
template <>
inline constexpr float switch_third<float> = 0.33333f;

// Limits the derivatives d1, d2 at the ends of one interval (width h, slope
// `slope`) whose cubic has an interior extremum, so that the extremum stands
// at most dfmax above (below) the data value at the left end (iextrm = 1) or
// the right end (otherwise).  An extremum outside the interval (rho =
// slope/d >= 0.33333) leaves them as they are.
template <HermiteReal Real>
int pchsw(Real dfmax, int iextrm, Real& d1, Real& d2, Real h, Real slope) {
  constexpr std::string_view routine = "PCHSW";
  constexpr Real zero = 0, one = 1, two = 2, three = 3, fact = 100;
  constexpr Real third = switch_third<Real>;
  const Real small = fact * machine_epsilon<Real>();

  if (d1 == zero) {
    // d1 = 0: the extremum's height scales with d2.
    if (d2 == zero) return report<Real>(routine, -1, "D1 AND/OR D2 INVALID");
    const Real rho = slope / d2;
    if (rho >= third) return 0;
    const Real that = (two * (three * rho - one)) / (three * (two * rho - one));
    Real phi = that * that * ((three * rho - one) / three);
    if (iextrm != 1) phi = phi - rho;
    const Real hphi = h * std::abs(phi);
    if (hphi * std::abs(d2) > dfmax) d2 = std::copysign(std::abs(dfmax / hphi), d2);
    return 0;
  }

  const Real rho = slope / d1;
  const Real lambda = -d2 / d1;
  Real nu, cp, that;
  if (d2 == zero) {
    if (rho >= third) return 0;
    cp = two - three * rho;
    nu = one - two * rho;
    that = one / (three * nu);
  } else {
    if (lambda <= zero) return report<Real>(routine, -1, "D1 AND/OR D2 INVALID");
    nu = one - lambda - two * rho;
    const Real sigma = one - rho;
    cp = nu + sigma;
    if (std::abs(nu) > small) {
      const Real radcal = (nu - (two * rho + one)) * nu + sigma * sigma;
      if (radcal < zero) return report<Real>(routine, -2, "NEGATIVE RADICAL");
      that = (cp - std::sqrt(radcal)) / (three * nu);
    } else {
      that = one / (two * sigma);
    }
  }
  // phi * h * d1: the extremum's height above the chosen end value.
  Real phi = that * ((nu * that - cp) * that + one);
  if (iextrm != 1) phi = phi - rho;
  const Real hphi = h * std::abs(phi);
  if (hphi * std::abs(d1) > dfmax) {
    d1 = std::copysign(std::abs(dfmax / hphi), d1);
    d2 = -lambda * d1;
  }
  return 0;
}

// Weighted average of two neighbouring slopes, each weighted by the other
// interval's width: the three-point derivative at their common point.
template <HermiteReal Real>
Real weighted_slope(Real s1, Real s2, Real h1, Real h2) {
  return (h2 / (h1 + h2)) * s1 + (h1 / (h1 + h2)) * s2;
}

// Adjusts the derivatives of pchci where the data switch direction: at a
// strict extremum of the data (or a flat-topped one) the derivatives at the
// ends of the interval that holds the curve's extremum move toward the
// three-point estimates, and with `sw` > 0 the excursion past the data is
// limited to sw times the local data scale (pchsw).
template <HermiteReal Real>
int pchcs(Real sw, int n, const Real* h, const Real* slope, Real* d, int incfd) {
  constexpr Real zero = 0, one = 1, fudge = 4;
  const int nless1 = n - 1;
  if (nless1 < 2 || incfd < 1) return 0;  // no interior point
  const Vec<const Real> H(h, nless1), S(slope, nless1);
  const auto D = strided(d, incfd, n);

  for (int i = 2; i <= nless1; ++i) {
    const Real s = pchst(S(i - 1), S(i));
    int k = 0;
    std::array<Real, 2> wtave{};
    if (s > zero) continue;
    if (s < zero) {  // the slopes switch at point i
      if (i > 2 && pchst(S(i - 2), S(i)) > zero) continue;        // up-down-up
      if (i < nless1 && pchst(S(i + 1), S(i - 1)) > zero) continue;  // down-up-down
      const Real dext = weighted_slope(S(i - 1), S(i), H(i - 1), H(i));
      const Real t = pchst(dext, S(i - 1));
      if (t == zero) continue;
      if (t < zero) {  // the extremum lies in x(i-1)..x(i)
        k = i - 1;
        wtave[1] = dext;
        if (k > 1) wtave[0] = weighted_slope(S(k - 1), S(k), H(k - 1), H(k));
      } else {  // in x(i)..x(i+1)
        k = i;
        wtave[0] = dext;
        if (k < nless1) wtave[1] = weighted_slope(S(k), S(k + 1), H(k), H(k + 1));
      }
    } else {  // one slope zero
      if (i == nless1) continue;
      if (pchst(S(i - 1), S(i + 1)) >= zero) continue;
      k = i;  // a flat-topped extremum on x(i)..x(i+1)
      wtave[0] = weighted_slope(S(k - 1), S(k), H(k - 1), H(k));
      wtave[1] = weighted_slope(S(k), S(k + 1), H(k), H(k + 1));
    }

    Real slmax = std::abs(S(k));
    if (k > 1) slmax = std::max(slmax, std::abs(S(k - 1)));
    if (k < nless1) slmax = std::max(slmax, std::abs(S(k + 1)));
    std::array<Real, 3> del{};
    if (k > 1) del[0] = S(k - 1) / slmax;
    del[1] = S(k) / slmax;
    if (k < nless1) del[2] = S(k + 1) / slmax;

    if (k > 1 && k < nless1) {
      Real fact = fudge * std::abs(del[2] * (del[0] - del[1]) * (wtave[1] / slmax));
      D(1, k) = D(1, k) + std::min(fact, one) * (wtave[0] - D(1, k));
      fact = fudge * std::abs(del[0] * (del[2] - del[1]) * (wtave[0] / slmax));
      D(1, k + 1) = D(1, k + 1) + std::min(fact, one) * (wtave[1] - D(1, k + 1));
    } else {
      const Real fact = fudge * std::abs(del[1]);
      D(1, i) = std::min(fact, one) * wtave[std::size_t(i - k)];
    }

    if (sw <= zero) continue;
    Real dfloc = H(k) * std::abs(S(k));
    if (k > 1) dfloc = std::max(dfloc, H(k - 1) * std::abs(S(k - 1)));
    if (k < nless1) dfloc = std::max(dfloc, H(k + 1) * std::abs(S(k + 1)));
    const Real dfmx = sw * dfloc;
    const int indx = i - k + 1;  // 1: extremum right of point i, 2: left
    if (const int ierr = pchsw(dfmx, indx, D(1, k), D(1, k + 1), H(k), S(k))) return ierr;
  }
  return 0;
}

// End derivatives by the codes ic = (left, right), magnitude 1 first
// derivative vc, 2 second derivative vc, 3 or 4 the end polynomial through 3
// or 4 points, 5 not-a-knot from the neighbouring derivatives; a code whose
// magnitude exceeds n is 0 (keep).  A negative code then makes the end
// derivative monotone (zero against the slope's sign, at most three times the
// slope).  Returns 1 (left adjusted) + 2 (right adjusted), or -1.
template <HermiteReal Real>
int pchce(const int* ic, const Real* vc, int n, const Real* x, const Real* h, const Real* slope,
          Real* d, int incfd) {
  constexpr Real zero = 0, half = 0.5, two = 2, three = 3;
  auto magnitude = [](int code) { return std::abs(static_cast<long long>(code)); };
  int ibeg = ic[0], iend = ic[1];
  if (magnitude(ibeg) > n) ibeg = 0;
  if (magnitude(iend) > n) iend = 0;
  if ((ibeg == 0 && iend == 0) || incfd < 1) return 0;
  const Vec<const Real> X(x, n), H(h, n - 1), S(slope, n - 1);
  const auto D = strided(d, incfd, n);
  std::array<Real, 4> xtemp{};
  std::array<Real, 3> stemp{};
  int ierr = 0;

  // Monotone end: 0 against the slope's sign, at most 3 slope.
  auto limit = [&](Real& dend, Real send) {
    if (send == zero) {
      if (dend == zero) return false;
      dend = zero;
    } else if (pchst(dend, send) < zero) {
      dend = zero;
    } else if (std::abs(dend) > three * std::abs(send)) {
      dend = three * send;
    } else {
      return false;
    }
    return true;
  };

  if (ibeg != 0) {
    const int k = int(magnitude(ibeg));
    if (k == 1) {
      D(1, 1) = vc[0];
    } else if (k == 2) {
      D(1, 1) = half * ((three * S(1) - D(1, 2)) - half * vc[0] * H(1));
    } else if (k < 5) {
      for (int j = 1; j <= k; ++j) {
        xtemp[std::size_t(j - 1)] = X(k - j + 1);
        if (j < k) stemp[std::size_t(j - 1)] = S(k - j);
      }
      int ierf = 0;
      D(1, 1) = pchdf(k, xtemp.data(), stemp.data(), ierf);
      if (ierf != 0) return report<Real>("PCHCE", -1, "ERROR RETURN FROM " + routine_name<Real>("PCHDF"));
    } else {
      D(1, 1) = (three * (H(1) * S(2) + H(2) * S(1)) - two * (H(1) + H(2)) * D(1, 2) - H(1) * D(1, 3)) / H(2);
    }
    if (ibeg < 0 && limit(D(1, 1), S(1))) ierr += 1;
  }

  if (iend != 0) {
    const int k = int(magnitude(iend));
    if (k == 1) {
      D(1, n) = vc[1];
    } else if (k == 2) {
      D(1, n) = half * ((three * S(n - 1) - D(1, n - 1)) + half * vc[1] * H(n - 1));
    } else if (k < 5) {
      for (int j = 1; j <= k; ++j) {
        xtemp[std::size_t(j - 1)] = X(n - k + j);
        if (j < k) stemp[std::size_t(j - 1)] = S(n - k + j);
      }
      int ierf = 0;
      D(1, n) = pchdf(k, xtemp.data(), stemp.data(), ierf);
      if (ierf != 0) return report<Real>("PCHCE", -1, "ERROR RETURN FROM " + routine_name<Real>("PCHDF"));
    } else {
      D(1, n) = (three * (H(n - 1) * S(n - 2) + H(n - 2) * S(n - 1)) -
                 two * (H(n - 1) + H(n - 2)) * D(1, n - 1) - H(n - 1) * D(1, n - 2)) /
                H(n - 2);
    }
    if (iend < 0 && limit(D(1, n), S(n - 1))) ierr += 2;
  }
  return ierr;
}

// Monotone derivatives (pchci) with control where the data switch direction
// (`sw` 0: none; nonzero: pchcs; positive: also the excursion limit) and end
// conditions ic/vc (pchce; |code| 0..5).  Work array: nwk >= 2(n-1).
// Returns 0, the end-adjustment warning 1..3, or an error.
template <HermiteReal Real>
int pchic(const int* ic, const Real* vc, Real sw, int n, const Real* x, const Real* f, Real* d,
          int incfd, Real* wk, int nwk) {
  constexpr std::string_view routine = "PCHIC";
  if (const int ierr = check_hermite_data<Real>(routine, n, x, incfd, true)) return ierr;
  const int ibeg = ic[0], iend = ic[1];
  int ierr = 0;
  if (ibeg < -5 || ibeg > 5) ierr -= 1;
  if (iend < -5 || iend > 5) ierr -= 2;
  if (ierr < 0) return report<Real>(routine, ierr - 3, "IC OUT OF RANGE");
  const int nless1 = n - 1;
  if (nwk < 2 * nless1) return report<Real>(routine, -7, "WORK ARRAY TOO SMALL");

  const Vec<const Real> X(x, n);
  const auto F = strided(f, incfd, n);
  const auto D = strided(d, incfd, n);
  Real* const h = wk;
  Real* const slope = wk + nless1;
  for (int i = 1; i <= nless1; ++i) {
    h[i - 1] = X(i + 1) - X(i);
    slope[i - 1] = (F(1, i + 1) - F(1, i)) / h[i - 1];
  }

  if (nless1 <= 1) {
    D(1, 1) = slope[0];
    D(1, n) = slope[0];
  } else {
    pchci(n, h, slope, d, incfd);
    if (sw != Real(0) && pchcs(sw, n, h, slope, d, incfd) != 0)
      return report<Real>(routine, -8, "ERROR RETURN FROM " + routine_name<Real>("PCHCS"));
  }

  if (ibeg == 0 && iend == 0) return 0;
  ierr = pchce(ic, vc, n, x, h, slope, d, incfd);
  if (ierr < 0) return report<Real>(routine, -9, "ERROR RETURN FROM " + routine_name<Real>("PCHCE"));
  return ierr;
}

}  // namespace tavrin::pchip
