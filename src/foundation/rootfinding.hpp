// Safeguarded scalar root finders of module `math` on caller-supplied
// functions: Brent's method on a bracket (bdsafe), Newton-Raphson kept inside
// a bracket by bisection (nrsafe) and fixed-point iteration (fpsafe).
//
// The function is a C call-back, every argument by pointer, so that any
// exported routine of the same shape can be handed over directly:
//   RootFunction:       f, d (out), x, args(na), na, nfun (in)
//                       f = f(x), d = f'(x); bdsafe hands d a scratch
//                       variable and never reads it
//   FixedPointFunction: xnew (out), fargs(na), na, nfun (in)
//                       xnew = g(fargs(1), ...), fargs(1) the current iterate
// args and nfun are passed through unchanged (nfun lets one call-back serve
// several functions).  The solvers keep no state and no static storage: a
// call-back may call them again.  A call-back that throws abandons the
// search; nothing here holds anything but stack values, so nothing is left
// half done.
//
// istat is 1 when the iteration limit was hit, 0 otherwise.  Failures are
// latched (foundation/errorhandling.hpp), "<solver>" standing for
// "BrentsMethod", "subroutine RTSAFE" or "FixPointIteration":
//   -2 "Error in BISECTION: Root must be bracketed."   bdsafe returns root 0,
//                                                       nrsafe iterates on
//   -1 "Warning in BrentsMethod: Max iterations exceeded."
//   -1 "Warning in subroutine RTSAFE: Max iterations exceeded."
//   -1 "Warning in FixPointIteration:Max iterations exceeded."
//      (the last iterate is returned)
//   -3 "Error in <solver>: Invalid bracket or tolerance."   bracket ends not
//      finite, tolerance negative or not a number (fpsafe: "Error in
//      FixPointIteration: Invalid tolerance.")
//   -3 "Error in FixPointIteration: No argument for the iterate."   na < 1
//   -2 "Error in <solver>: Function value is not a number."
//   -2 "Error in FixPointIteration: Iterate is not a finite number."
// The last four return NaN (fpsafe: the iterate that is not finite): no
// number is passed off as a root.
#pragma once

#include "foundation/api.hpp"

namespace tavrin::math {

using RootFunction = void (*)(double* f, double* d, const double* x, const double* args,
                              const int* na, const int* nfun);
using FixedPointFunction = void (*)(double* xnew, const double* fargs, const int* na,
                                    const int* nfun);

// A root of dfunc in [x1, x2] by Brent's method (inverse quadratic
// interpolation, secant and bisection steps), to the tolerance
// 2·ε·|b| + xacc, in at most maxit function evaluations after the two at
// the ends.  f vanishing at an end returns that end at once.
TAVRIN_API void bdsafe(RootFunction dfunc, double x1, double x2, double& root, const double* args,
                       double xacc, int maxit, int na, int nfun, int& istat);

// A root of dfunc in [x1, x2] by Newton steps, replaced by bisection where a
// Newton step would leave the bracket or not halve the step; stops when the
// step falls below xacc or the iterate no longer changes.
TAVRIN_API void nrsafe(RootFunction dfunc, double x1, double x2, double& root, const double* args,
                       double xacc, int maxit, int na, int nfun, int& istat);

// A fixed point x = g(x) from the start value xs (replaced by the result):
// iterates until two successive values differ by at most xacc; success needs
// that within maxit iterations after the first evaluation.
TAVRIN_API void fpsafe(FixedPointFunction dfunc, double& xs, const double* args, double xacc,
                       int maxit, int na, int nfun, int& istat);

}  // namespace tavrin::math
