// Clamps and one-dimensional signal routines of module `signalprocessing`,
// and the percentile of a sampled distribution of module `math`.
//
// Nothing keeps state between calls; the moving average's window belongs to
// the caller.  Only the percentile latches a failure:
//   -3 "Class size of a percentile must be positive"
#pragma once

#include "foundation/api.hpp"

namespace tavrin::signalprocessing {

// y = a + (k - a)/(c + q·e^(-b·x))^(1/v).
TAVRIN_API double generallogistic(double x, double a, double k, double b, double q, double v,
                                  double c = 1.0);
// y = l/(1 + e^(-k·(x - x0))).
TAVRIN_API double logistic(double x, double k, double x0, double l = 1.0);

}  // namespace tavrin::signalprocessing

namespace tavrin::math {

// The first whole value (k-1)·classsize + 1 of the first class k (class c
// covers the values up to c·classsize) whose cumulative share of the sorted
// sample reaches percentile/100; 1 - classsize when no class does.  The
// share divides by the position of the largest given value (entries equal to
// the largest double are not given).  A single value is its own answer.
TAVRIN_API void getpercentile(const double* array, int ndim, double percentile, double& event,
                              int classsize);

}  // namespace tavrin::math

extern "C" {

// x clamped to [xlow, xup]: xup when x > xup, else max(x, xlow).  A NaN x
// comes back; a NaN bound is no bound.
TAVRIN_API double fLimit(const double* x, const double* xlow, const double* xup);
TAVRIN_API int iLimit(const int* x, const int* xlow, const int* xup);
// x wrapped cyclically onto 1 … xmod (xmod > 0) or xmod … -1 (xmod < 0); 0
// for xmod = 0.
TAVRIN_API int mLimit(const int* x, const int* xmod);

// Peaks of v(n) that stand out by |delta| from the neighbouring opposite
// extreme: rows (abscissa, value) of maxtab(n,2) and mintab(n,2), counted in
// nmaxpeaks and nminpeaks; unused rows hold 2.2250738585072014e-308.  The
// abscissas are x(n) when given with an entry other than 0, else 1 … n.
TAVRIN_API void GetPeaks(double* maxtab, double* mintab, int* nmaxpeaks, int* nminpeaks,
                         const double* v, const double* delta, const int* n, const double* x);

// Adds rval to the caller's window a(wb) holding denom values (shifting the
// oldest out when full) and returns in sma the weighted sum over the values
// held divided by their count.  denom is kept within 0 … wb; with no window
// (wb < 1) nothing is stored and sma is NaN.
TAVRIN_API void WeightedMovingAverage(double* sma, const double* rval, double* a, int* denom,
                                      const int* wb, const double* wi);
// cma = (cma·n + x)/(n + 1).
TAVRIN_API void CumulativeMovingAverage(double* cma, const double* x, const int* n);
// (x - x·k)/(k - 2k·|x| + 1).
TAVRIN_API double GeneralSigmoidal(const double* x, const double* k);
// Weighted power mean of x(n), weights wi(n) or 1/n: p = 0 the geometric
// mean, p = ∓1.7976931348623157e308 the minimum or maximum.
TAVRIN_API double GeneralizedMean(const double* x, const double* p, const int* n, const double* wi);
// -ln(b - x), or 36.04365338911715 = -ln ε when b - x ≤ ε.
TAVRIN_API double LogarithmicBarrier(const double* x, const double* b);
// The smoothstep polynomial of order n (degree 2n + 1) at x clamped to
// [0, 1]: 0 at 0, 1 at 1, ½ at ½, with n continuous derivatives; 0 for n < 0.
TAVRIN_API double GeneralSmoothStep(const double* x, const int* n);
}
