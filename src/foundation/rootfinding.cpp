#include "foundation/rootfinding.hpp"

#include <cmath>
#include <limits>
#include <string_view>

#include "foundation/numerics_latch.hpp"
#include "foundation/scratch.hpp"

namespace tavrin::math {
namespace {

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

// Twice the spacing of doubles at 1: the relative part of Brent's tolerance.
constexpr double two_epsilon = 4.440892098500626e-16;

constexpr std::string_view not_bracketed = "Error in BISECTION: Root must be bracketed.";

// x and y non-zero with the same sign.  Unlike x·y > 0 this cannot underflow
// to zero or overflow.
bool same_sign(double x, double y) { return (x > 0.0 && y > 0.0) || (x < 0.0 && y < 0.0); }

// A tolerance that a difference can fall to: zero or more (NaN is not).
bool valid_tolerance(double xacc) { return xacc >= 0.0; }

// The refusals of a bracketing solver, in its own words.
struct BracketMessages {
  std::string_view invalid, undefined;
};
constexpr BracketMessages brent{"Error in BrentsMethod: Invalid bracket or tolerance.",
                                "Error in BrentsMethod: Function value is not a number."};
constexpr BracketMessages rtsafe{"Error in subroutine RTSAFE: Invalid bracket or tolerance.",
                                 "Error in subroutine RTSAFE: Function value is not a number."};

// A bracket with an end that is not finite, or a tolerance that cannot be
// met, is refused before the function is called; root is then NaN.
bool refused(const BracketMessages& m, double x1, double x2, double xacc, double& root) {
  if (std::isfinite(x1) && std::isfinite(x2) && valid_tolerance(xacc)) return false;
  latch_failure(status_invalid, m.invalid);
  root = not_a_number;
  return true;
}

// Values the search needs as numbers (a value and its derivative, or the
// values at the two ends): NaN ends the search with root NaN.
bool undefined(const BracketMessages& m, double& root, double u, double w = 0.0) {
  if (!std::isnan(u) && !std::isnan(w)) return false;
  latch_failure(status_error, m.undefined);
  root = not_a_number;
  return true;
}

// The values f1, f2 at the ends x1, x2 end the search when one of them is
// not a number, or is zero (that end is the root, before any sign test).
bool settled_at_ends(const BracketMessages& m, double x1, double x2, double f1, double f2,
                     double& root) {
  if (undefined(m, root, f1, f2)) return true;
  if (f1 == 0.0) root = x1;
  else if (f2 == 0.0) root = x2;
  return f1 == 0.0 || f2 == 0.0;
}

// The value (and derivative) of the caller's function at x.  Both start as
// NaN, so that a call-back that writes nothing is caught like one that
// returns NaN.
struct Evaluator {
  RootFunction dfunc;
  const double* args;
  int na, nfun;

  struct Value {
    double f, d;
  };
  Value operator()(double x) const {
    Value v{not_a_number, not_a_number};
    dfunc(&v.f, &v.d, &x, args, &na, &nfun);
    return v;
  }
};

}  // namespace

void bdsafe(RootFunction dfunc, double x1, double x2, double& root, const double* args, double xacc,
            int maxit, int na, int nfun, int& istat) {
  istat = 0;
  if (refused(brent, x1, x2, xacc, root)) return;
  const Evaluator f{dfunc, args, na, nfun};
  double a = x1, b = x2;
  double fa = f(a).f, fb = f(b).f;
  if (settled_at_ends(brent, a, b, fa, fb, root)) return;
  if (same_sign(fa, fb)) {
    latch_failure(status_error, not_bracketed);
    root = 0.0;
    return;
  }
  // b is the best estimate, a the previous one, c the point that brackets
  // the root with b; d is the latest step and e the one before.
  double c = a, fc = fa, d = b - a, e = d;
  bool converged = false;
  for (int iter = 0; iter < maxit; ++iter) {
    if (same_sign(fb, fc)) {
      c = a;
      fc = fa;
      d = e = b - a;
    }
    if (std::abs(fc) < std::abs(fb)) {
      a = b;
      b = c;
      c = a;
      fa = fb;
      fb = fc;
      fc = fa;
    }
    const double tol1 = two_epsilon * std::abs(b) + xacc;
    const double xm = 0.5 * (c - b);
    if (std::abs(xm) <= tol1 || fb == 0.0) {
      converged = true;
      break;
    }
    if (std::abs(e) >= tol1 && std::abs(fa) > std::abs(fb)) {
      // Inverse quadratic interpolation through a, b, c (the secant when
      // a = c).  A quotient that is not a number fails both tests below and
      // falls back to bisection.
      const double s = fb / fa;
      double p, q;
      if (a == c) {
        p = 2.0 * xm * s;
        q = 1.0 - s;
      } else {
        const double q0 = fa / fc, r = fb / fc;
        p = s * (2.0 * xm * q0 * (q0 - r) - (b - a) * (r - 1.0));
        q = (q0 - 1.0) * (r - 1.0) * (s - 1.0);
      }
      if (p > 0.0) q = -q;
      else p = -p;
      // Accept the step when it stays well inside the bracket and shrinks
      // faster than the step before last.
      if (2.0 * p < 3.0 * xm * q - std::abs(tol1 * q) && 2.0 * p < std::abs(e * q)) {
        e = d;
        d = p / q;
      } else {
        d = xm;
        e = d;
      }
    } else {
      d = xm;
      e = d;
    }
    a = b;
    fa = fb;
    b += std::abs(d) > tol1 ? d : (xm > 0.0 ? tol1 : -tol1);
    fb = f(b).f;
    if (undefined(brent, root, fb)) return;
  }
  root = b;
  // A root found in the last allowed pass is a root: only a search that ran
  // out of passes (any maxit below 1 included) is reported.
  if (!converged) {
    latch_failure(status_note, "Warning in BrentsMethod: Max iterations exceeded.");
    istat = 1;
  }
}

void nrsafe(RootFunction dfunc, double x1, double x2, double& root, const double* args, double xacc,
            int maxit, int na, int nfun, int& istat) {
  istat = 0;
  if (refused(rtsafe, x1, x2, xacc, root)) return;
  const Evaluator f{dfunc, args, na, nfun};
  // Only the values at the ends matter; their derivatives are not used.
  const double fl = f(x1).f, fh = f(x2).f;
  if (settled_at_ends(rtsafe, x1, x2, fl, fh, root)) return;
  if (same_sign(fl, fh)) latch_failure(status_error, not_bracketed);
  // f(xl) < 0 < f(xh).
  double xl = x1, xh = x2;
  if (fl >= 0.0) {
    xl = x2;
    xh = x1;
  }
  root = 0.5 * (x1 + x2);
  double dxold = x2 - x1, dx = dxold;
  Evaluator::Value v = f(root);
  if (undefined(rtsafe, root, v.f, v.d)) return;
  for (int j = 0; j < maxit; ++j) {
    // Bisect when the Newton step would leave the bracket or would not halve
    // the step before last; with a zero derivative both tests pick bisection.
    if (((root - xh) * v.d - v.f) * ((root - xl) * v.d - v.f) >= 0.0 ||
        std::abs(2.0 * v.f) > std::abs(dxold * v.d)) {
      dxold = dx;
      dx = 0.5 * (xh - xl);
      root = xl + dx;
      if (xl == root) return;
    } else {
      dxold = dx;
      dx = v.f / v.d;
      const double previous = root;
      root -= dx;
      if (previous == root) return;
    }
    if (std::abs(dx) < xacc) return;
    v = f(root);
    if (undefined(rtsafe, root, v.f, v.d)) return;
    if (v.f < 0.0) xl = root;
    else xh = root;
  }
  latch_failure(status_note, "Warning in subroutine RTSAFE: Max iterations exceeded.");
  istat = 1;
}

void fpsafe(FixedPointFunction dfunc, double& xs, const double* args, double xacc, int maxit, int na,
            int nfun, int& istat) {
  istat = 0;
  if (na < 1 || !valid_tolerance(xacc)) {
    latch_failure(status_invalid, na < 1 ? "Error in FixPointIteration: No argument for the iterate."
                                         : "Error in FixPointIteration: Invalid tolerance.");
    xs = not_a_number;
    return;
  }
  // The call-back sees a copy of args whose first entry is the iterate.
  Scratch<double, 8> fargs(na);
  for (int i = 0; i < na; ++i) fargs[std::size_t(i)] = args[i];
  const auto g = [&](double x) {
    fargs[0] = x;
    double xnew = not_a_number;
    dfunc(&xnew, fargs.data(), &na, &nfun);
    return xnew;
  };
  double xold = xs, xnew = g(xs);
  const auto undefined = [&] {
    if (std::isfinite(xnew)) return false;
    latch_failure(status_error, "Error in FixPointIteration: Iterate is not a finite number.");
    xs = xnew;
    return true;
  };
  if (undefined()) return;
  // A NaN start value compares as unmet and is iterated away.
  bool met = std::abs(xold - xnew) <= xacc;
  // k counts the iterations after the first evaluation; a search that does
  // not meet xacc gives up in iteration maxit + 1 (64 bits: maxit may be the
  // largest int).
  long long k = 0;
  while (!met) {
    ++k;
    xold = xnew;
    xnew = g(xnew);
    if (undefined()) return;
    met = std::abs(xold - xnew) <= xacc;
    if (k > maxit) break;
  }
  xs = xnew;
  if (met && k <= maxit) return;
  latch_failure(status_note, "Warning in FixPointIteration:Max iterations exceeded.");
  istat = 1;
}

}  // namespace tavrin::math
