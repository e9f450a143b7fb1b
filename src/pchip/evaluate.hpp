// Evaluating Hermite data: one cubic at many points (chfev, with derivatives
// chfdv), the whole curve at many points (pchfe, with derivatives pchfd) and
// the easy evaluator (pchev).  Points outside the data lie on the first or
// last cubic continued; their number is returned as a warning.
#pragma once

#include <algorithm>
#include <vector>

#include "pchip/hermite.hpp"

namespace tavrin::pchip {

// The cubic through (x1, f1) and (x2, f2) with slopes d1, d2 (x1 != x2), in
// nested form about x1.  Every evaluator of the package goes through
// evaluate(), so values and derivatives agree bit for bit between them.
template <HermiteReal Real>
class HermiteCubic {
 public:
  HermiteCubic(Real x1, Real x2, Real f1, Real f2, Real d1, Real d2) : x1_(x1), f1_(f1), d1_(d1) {
    const Real h = x2 - x1;
    xmi_ = std::min(Real(0), h);
    xma_ = std::max(Real(0), h);
    const Real delta = (f2 - f1) / h;
    const Real del1 = (d1 - delta) / h;
    const Real del2 = (d2 - delta) / h;
    c2_ = -(del1 + del1 + del2);
    c3_ = (del1 + del2) / h;
    c2t2_ = c2_ + c2_;
    c3t3_ = c3_ + c3_ + c3_;
  }

  // Value (and, WithDerivative, derivative) at xe.
  template <bool WithDerivative>
  void evaluate(Real xe, Real& fe, Real* de) const {
    const Real x = xe - x1_;
    fe = f1_ + x * (d1_ + x * (c2_ + x * c3_));
    if constexpr (WithDerivative) *de = d1_ + x * (c2t2_ + x * c3t3_);
  }
  // 1 when xe lies below min(x1, x2), or above max(x1, x2).
  int below(Real xe) const { return xe - x1_ < xmi_; }
  int beyond(Real xe) const { return xe - x1_ > xma_; }
  // Increasing interval (x1 < x2).
  bool increasing() const { return xma_ > Real(0); }

 private:
  Real x1_, f1_, d1_;
  Real xmi_, xma_;
  Real c2_, c3_, c2t2_, c3t3_;
};

template <bool WithDerivative>
constexpr std::string_view cubic_routine = WithDerivative ? "CHFDV" : "CHFEV";

// What a run of points on one cubic does, fixed at compile time so that each
// kind of run is a tight loop.
struct RunRule {
  bool to_right;      // ends at the first point at or right of `right`
  bool restart;       // ends at the first point below the interval (counted)
  bool count_below;   // counts the points below the interval
  bool count_above;   // counts the points above the interval
};

// Evaluates the points j, j+1, ..., ne of xe on `cubic` (fe, and de
// WithDerivative) as the rule says; returns the point where the run ended
// (ne + 1 when it took them all).
template <RunRule Rule, bool WithDerivative, HermiteReal Real>
int evaluate_run(const HermiteCubic<Real>& cubic, Real right, int j, int ne, const Real* xe, Real* fe,
                 Real* de, int& below, int& above) {
  for (; j <= ne; ++j) {
    const Real v = xe[j - 1];
    if constexpr (Rule.to_right) {
      if (v >= right) break;
    }
    if constexpr (Rule.restart) {
      if (cubic.below(v)) {
        ++below;
        break;
      }
    }
    if constexpr (WithDerivative) cubic.template evaluate<true>(v, fe[j - 1], de + (j - 1));
    else cubic.template evaluate<false>(v, fe[j - 1], nullptr);
    if constexpr (Rule.count_below) below += cubic.below(v);
    if constexpr (Rule.count_above) above += cubic.beyond(v);
  }
  return j;
}

inline constexpr RunRule every_point{false, false, true, true};

// One cubic (chfev; chfdv WithDerivative) at the ne points xe, into fe (and
// de).  next(1) counts the points below min(x1, x2), next(2) those above
// max(x1, x2).  Errors: -1 ne < 1, -2 x1 = x2.
template <HermiteReal Real, bool WithDerivative>
int chfev_kernel(Real x1, Real x2, Real f1, Real f2, Real d1, Real d2, int ne, const Real* xe,
                 Real* fe, Real* de, int* next) {
  constexpr std::string_view routine = cubic_routine<WithDerivative>;
  if (ne < 1) return report<Real>(routine, -1, "NUMBER OF EVALUATION POINTS LESS THAN ONE");
  if (x2 - x1 == Real(0)) return report<Real>(routine, -2, "INTERVAL ENDPOINTS EQUAL");
  const HermiteCubic<Real> cubic(x1, x2, f1, f2, d1, d2);
  int below = 0, above = 0;
  evaluate_run<every_point, WithDerivative>(cubic, x2, 1, ne, xe, fe, de, below, above);
  next[0] = below;
  next[1] = above;
  return 0;
}

// The first index i in lo..hi-1 with v < x(i), or hi when there is none,
// found by a galloping search from lo.  On non-decreasing abscissas (which
// the data checks ensure) this is the index that a scan upward from lo finds,
// at a cost of O(log(i - lo)).
template <HermiteReal Real>
int first_abscissa_above(const Real* x, int lo, int hi, Real v) {
  int begin = lo;  // x(i) <= v for every i < begin
  int probe = lo;
  int step = 1;
  while (probe < hi && !(v < x[probe - 1])) {
    begin = probe + 1;
    probe = begin + std::min(step, hi - begin);
    step *= 2;
  }
  const int end = std::min(probe, hi);
  return int(std::upper_bound(x + (begin - 1), x + (end - 1), v) - x) + 1;
}

// The right end i of the interval x(i-1)..x(i) that holds v, among the
// intervals left of x(ir): the first i in 1..ir-1 with v < x(i), ir when
// there is none.  Abscissas out of order (a caller's skip flag waived their
// check) make the search scan upward, so that the interval found is the
// scan's and the evaluation still ends.
template <HermiteReal Real>
int interval_holding(const Real* x, int ir, Real v) {
  int i = first_abscissa_above(x, 1, ir, v);
  if ((i < ir && !(v < x[i - 1])) || (i > 1 && v < x[i - 2])) {
    i = 1;
    while (i < ir && !(v < x[i - 1])) ++i;
  }
  return i;
}

// The whole curve at the ne points xe (any order), into fe and,
// WithDerivative, de (pchfe; pchfd WithDerivative).
//
// Runs of consecutive points are evaluated on one interval: starting with the
// interval x(1)..x(2), the run is the points from the first unplaced one on
// that lie left of the interval's right end (on the last interval, all the
// remaining ones); then the next interval.  A point of a run that lies left
// of its interval (the points are not in increasing order) starts the next
// run from the interval that holds it.  Increasing points are thus one pass,
// each interval found incrementally; every point ends up evaluated on its
// own interval (the first or last one beyond the data).
//
// Returns the count of points evaluated outside [x(1), x(n)], counted each
// time a run on an end interval takes them (so a point right of x(n) can
// count more than once when the order is mixed), or an error: the data
// checks (the order scan only when skip is false), -4 no points, -5 a failed
// interval (level 2; the one-cubic evaluator reports first).  skip is true on
// return once the data checks have passed.
//
// Work: one pass for increasing points; O(log n) more per point out of
// order.  A run past the first interval stops at its first point left of
// the interval (what follows is placed again from there); on the last
// interval the points after that one that the run would also have counted
// right of x(n) are added from a count of such points per suffix.
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
                        "ERROR RETURN FROM " + routine_name<Real>(cubic_routine<WithDerivative>) +
                            " -- FATAL",
                        2);
  };

  // beyond[k-1]: how many of the points k..ne lie right of the last
  // interval; made the first time a last-interval run stops early.
  std::vector<int> beyond;
  auto beyond_from = [&](const HermiteCubic<Real>& last_cubic, int k) {
    if (beyond.empty()) {
      beyond.assign(std::size_t(ne) + 1, 0);
      for (int i = ne; i >= 1; --i)
        beyond[std::size_t(i - 1)] = beyond[std::size_t(i)] + last_cubic.beyond(XE(i));
    }
    return beyond[std::size_t(k - 1)];
  };

  int ierr = 0;
  int jfirst = 1;  // first point not yet placed
  int ir = 2;      // current interval x(ir-1)..x(ir)
  while (ir <= n) {
    if (jfirst > ne) return ierr;
    const bool last = ir == n;
    const Real right = X(ir);
    if (!last && XE(jfirst) >= right) {
      // No point for this interval: on to the first interval whose right end
      // lies beyond the next point (the last interval at most).
      ir = first_abscissa_above(x, ir + 1, n, XE(jfirst));
      continue;
    }
    if (right - X(ir - 1) == Real(0)) {
      report<Real>(cubic_routine<WithDerivative>, -2, "INTERVAL ENDPOINTS EQUAL");
      return fatal();
    }
    const HermiteCubic<Real> cubic(X(ir - 1), right, F(1, ir - 1), F(1, ir), D(1, ir - 1), D(1, ir));
    // The run.  On an increasing interval no point of a run that ends left
    // of x(ir) lies above the interval, so only the last interval counts
    // such points; past the first interval a run stops at its first point
    // below the interval, which is placed again.
    const bool restartable = ir > 2;
    int below = 0, above = 0;
    auto run = [&]<RunRule Rule>() {
      return evaluate_run<Rule, WithDerivative>(cubic, right, jfirst, ne, xe, fe, de, below, above);
    };
    int j;
    if (cubic.increasing()) {
      if (!last) {
        j = restartable ? run.template operator()<RunRule{true, true, false, false}>()
                        : run.template operator()<RunRule{true, false, true, false}>();
      } else if (restartable) {
        j = run.template operator()<RunRule{false, true, false, true}>();
        if (below != 0) above += beyond_from(cubic, j);
      } else {
        j = run.template operator()<every_point>();
      }
    } else {  // abscissas out of order (a skipped check): every run point counted
      j = last ? run.template operator()<every_point>()
               : run.template operator()<RunRule{true, false, true, true}>();
      if (above != 0 && !last) return fatal();
      if (restartable && below != 0) {
        int i = jfirst;
        while (i < j && !(XE(i) < X(ir - 1))) ++i;
        if (i == j) return fatal();
        j = i;
      }
    }
    if (last) ierr += above;  // points right of x(n)
    if (below != 0) {
      if (restartable) ir = std::max(1, interval_holding(x, ir, XE(j)) - 1);  // place j again
      else ierr += below;  // points left of x(1)
    }
    jfirst = j;
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
