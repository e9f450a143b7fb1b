// Checks of the Hermite evaluators, with a report on a numbered unit (lout,
// kprint as for the quick checks; the result is FAIL):
//   devchk / evchck  one cubic (chfdv, chfev) on three intervals of very
//                    different length against x(x+1)(x-2), and their
//                    bit-for-bit agreement; npts >= 11 points per interval
//   devpck / evpcck  the many-interval evaluators (pchfd, pchfe) along the
//                    grid lines of x(1+x^2)y^2 in both directions (strides
//                    1 and 10)
//   deverk / everck  ten calls that must fail with given statuses
// which the first quick-check driver (dpchq1 / pchqk1) runs in turn.
#pragma once

#include "foundation/api.hpp"

namespace tavrin::pchip {

// The evaluators the checks call, replaceable so that the checks can be
// shown to catch a faulty evaluator.  Signatures of the exported routines.
template <class Real>
struct Evaluators {
  void (*chfev)(const Real*, const Real*, const Real*, const Real*, const Real*, const Real*, const int*,
                const Real*, Real*, int*, int*);
  void (*chfdv)(const Real*, const Real*, const Real*, const Real*, const Real*, const Real*, const int*,
                const Real*, Real*, Real*, int*, int*);
  void (*pchfe)(const int*, const Real*, const Real*, const Real*, const int*, int*, const int*, const Real*,
                Real*, int*);
  void (*pchfd)(const int*, const Real*, const Real*, const Real*, const int*, int*, const int*, const Real*,
                Real*, Real*, int*);
};
// The set in use (the package's own evaluators unless replaced).
template <class Real>
TAVRIN_API Evaluators<Real>& evaluators();
// Test support: the package's own evaluators again.
TAVRIN_API void restore_evaluators();

// The checks (FAIL), at Real = double or float.
template <class Real>
TAVRIN_API bool check_one_cubic(int lout, int kprint, int npts, Real* xev, Real* fev, Real* dev, Real* fev2);
template <class Real>
TAVRIN_API bool check_grid_lines(int lout, int kprint, Real* x, Real* y, Real* f, Real* fx, Real* fy, Real* xe,
                                 Real* ye, Real* fe, Real* de, Real* fe2);
template <class Real>
TAVRIN_API bool check_error_returns(int lout, int kprint);

}  // namespace tavrin::pchip

extern "C" {

TAVRIN_API void devchk(const int* lout, const int* kprint, const int* npts, double* xev, double* fev, double* dev,
                       double* fev2, int* fail);
TAVRIN_API void devpck(const int* lout, const int* kprint, double* x, double* y, double* f, double* fx,
                       double* fy, double* xe, double* ye, double* fe, double* de, double* fe2, int* fail);
TAVRIN_API void deverk(const int* lout, const int* kprint, int* fail);
TAVRIN_API void evchck(const int* lout, const int* kprint, const int* npts, float* xev, float* fev, float* dev,
                       float* fev2, int* fail);
TAVRIN_API void evpcck(const int* lout, const int* kprint, float* x, float* y, float* f, float* fx, float* fy,
                       float* xe, float* ye, float* fe, float* de, float* fe2, int* fail);
TAVRIN_API void everck(const int* lout, const int* kprint, int* fail);

}
