// The quick checks of the Hermite package: its acceptance test on built-in
// data, in both precisions, with a report to a caller's numbered unit.
//
// Drivers (lun: output unit; kprint: 0 nothing, 1 the failure line only,
// 2 summaries, 3 and more details; ipass: 1 when every test passed):
//   dpchq1 / pchqk1  evaluators (pchip/evaluator_checks.hpp)
//   dpchq2 / pchqk2  integrators       dpchq4 / pchqk4  monotonicity check
//   dpchq3 / pchqk3  derivative setters dpchq5 / pchqk5  B-spline form
// and the helpers they share: comp (compare a status with its expected
// value), dfdtru / fdtrue (the reference cubic x(x+1)(x-2)), pchip_rand (a
// portable uniform generator with a process-wide 22-bit state), get_unit
// (a free unit number) and pchip_timestamp (the time-stamp line).
//
// The library's own code calls the namespaced functions; the exported C
// names are thin wrappers.
#pragma once

#include "foundation/api.hpp"

namespace tavrin::pchip {

// True when ieract equals ierexp; at kprint >= 3 says "     OK." or
// "  COMPARE FAILED -- IERR = " with ieract on unit lout.
TAVRIN_API bool comp(int ieract, int ierexp, int lout, int kprint);
// f = x(x+1)(x-2), d = 3x^2 - 2x - 2 (fdtrue: computed in double, each rounded
// once to binary32).
TAVRIN_API void dfdtru(double x, double& f, double& d);
TAVRIN_API void fdtrue(float x, float& f, float& d);
// r < 0: the last value again; r > 0: restart at about frac(r) and return it;
// r = 0: the next value of state' = (3146757 state + 1731) mod 2^22.  The
// value is state / 2^22.
TAVRIN_API float pchip_rand(float r);
// Test support: the generator's state back to 0, as at process start.
TAVRIN_API void reset_pchip_rand();
// The first unit of 1..99, skipping 5, 6 and 9, that is not connected; 0
// when there is none.
TAVRIN_API int get_unit();

// The monotone derivative setter that the derivative-setter check calls
// (pchim of the precision), replaceable so that the check can be shown to
// catch a faulty setter.
template <class Real>
struct DerivativeSetters {
  void (*pchim)(const int*, const Real*, const Real*, Real*, const int*, int*);
};
template <class Real>
TAVRIN_API DerivativeSetters<Real>& derivative_setters();

// The drivers: ipass.
TAVRIN_API int quick_check_evaluators(int lun, int kprint, bool single);
TAVRIN_API int quick_check_integrators(int lun, int kprint, bool single);
TAVRIN_API int quick_check_derivatives(int lun, int kprint, bool single);
TAVRIN_API int quick_check_monotonicity(int lun, int kprint, bool single);
TAVRIN_API int quick_check_bspline(int lun, int kprint, bool single);

}  // namespace tavrin::pchip

extern "C" {

TAVRIN_API int comp(const int* ieract, const int* ierexp, const int* lout, const int* kprint);
TAVRIN_API void dfdtru(const double* x, double* f, double* d);
TAVRIN_API void fdtrue(const float* x, float* f, float* d);
TAVRIN_API float pchip_rand(const float* r);
TAVRIN_API void get_unit(int* iunit);
TAVRIN_API void pchip_timestamp();

TAVRIN_API void dpchq1(const int* lun, const int* kprint, int* ipass);
TAVRIN_API void pchqk1(const int* lun, const int* kprint, int* ipass);
TAVRIN_API void dpchq2(const int* lun, const int* kprint, int* ipass);
TAVRIN_API void dpchq3(const int* lun, const int* kprint, int* ipass);
TAVRIN_API void dpchq4(const int* lun, const int* kprint, int* ipass);
TAVRIN_API void dpchq5(const int* lun, const int* kprint, int* ipass);
TAVRIN_API void pchqk2(const int* lun, const int* kprint, int* ipass);
TAVRIN_API void pchqk3(const int* lun, const int* kprint, int* ipass);
TAVRIN_API void pchqk4(const int* lun, const int* kprint, int* ipass);
TAVRIN_API void pchqk5(const int* lun, const int* kprint, int* ipass);

}
