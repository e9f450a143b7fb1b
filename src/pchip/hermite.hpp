// Conventions shared by the piecewise cubic Hermite package.
//
// A curve is given as Hermite data: n points with strictly increasing
// abscissas x(1..n), values f and first derivatives d; f and d are read with
// a stride incfd (point i at element (i-1)*incfd + 1), that is as the first
// row of column-major incfd x n arrays.  On each interval the curve is the
// cubic that matches value and slope at both ends.
//
// Status ierr: 0 normal, positive a silent warning count, negative an error
// that the routine has reported through xermsg (library "SLATEC", its own
// name, the error number ierr, level 1 unless said otherwise) before
// returning with its outputs as they were at that moment.
//
// The routines are templates on the real type: the double-precision package
// (names with a leading "D") and its single-precision twin are the same code.
#pragma once

#include <cmath>
#include <string>
#include <string_view>
#include <type_traits>

#include "foundation/array.hpp"
#include "pchip/xerror.hpp"

namespace tavrin::pchip {

template <class Real>
concept HermiteReal = std::is_same_v<Real, double> || std::is_same_v<Real, float>;

// The name of a routine in the real type's precision: "PCHIM" is "DPCHIM" in
// double precision.
template <HermiteReal Real>
std::string routine_name(std::string_view base) {
  std::string name = std::is_same_v<Real, double> ? "D" : "";
  name += base;
  return name;
}

// Reports an error of routine `base` (in Real's precision) and returns ierr.
template <HermiteReal Real>
int report(std::string_view base, int ierr, std::string_view message, int level = 1) {
  xermsg("SLATEC", routine_name<Real>(base), message, ierr, level);
  return ierr;
}

// Values or derivatives of Hermite data: the first row of an incfd x n array.
template <class T>
View<T, 2> strided(T* p, int incfd, int n) {
  return View<T, 2>(p, incfd, n);
}

// The standard data checks, in this order: n >= 2 (-1), incfd >= 1 (-2) and,
// when `scan`, strictly increasing abscissas (-3).  The first two cost
// nothing and are always made (a caller's skip flag waives only the scan), so
// no routine ever reads outside its data.
template <HermiteReal Real>
int check_hermite_data(std::string_view base, int n, const Real* x, int incfd, bool scan) {
  if (n < 2) return report<Real>(base, -1, "NUMBER OF DATA POINTS LESS THAN TWO");
  if (incfd < 1) return report<Real>(base, -2, "INCREMENT LESS THAN ONE");
  if (scan) {
    for (int i = 1; i < n; ++i)
      if (x[i] <= x[i - 1]) return report<Real>(base, -3, "X-ARRAY NOT STRICTLY INCREASING");
  }
  return 0;
}

// Sign test of two values: 0 when either is zero (-0 included), else the
// product of their signs.  Every sign comparison of two slopes, or of a
// derivative and a slope, in the derivative setters goes through it.
template <HermiteReal Real>
Real pchst(Real arg1, Real arg2) {
  if (arg1 == Real(0) || arg2 == Real(0)) return Real(0);
  return std::copysign(Real(1), arg1) * std::copysign(Real(1), arg2);
}

}  // namespace tavrin::pchip
