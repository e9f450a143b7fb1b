// Cubic roots in closed form and least-squares polynomial fitting, module
// `math`.
//
// Latched failures (foundation/errorhandling.hpp):
//   -3 "Cubic equation with a zero leading coefficient"   Solution3PE, a = 0:
//                                                          the roots are NaN
//   -2 "Problem in polynom fitting function"               singular normal
//      equations (fewer distinct abscissas than coefficients); NaN result
//   -3 "Abscissas and ordinates differ in length"          polynomialfitting
//   -3 "Negative degree in polynom fitting function"       polynomialfitting
#pragma once

#include "foundation/api.hpp"

namespace tavrin::math {

// The real cube root: 0 for 0, exp(log(a)/3) for a > 0, its negative for the
// negative a.
TAVRIN_API double cuberoot(double a);

// coefficients(d+1) of the polynomial of degree d fitted to the points
// (vx(i), vy(i)) by least squares through the normal equations
// (Xᵀ·X)·c = Xᵀ·vy, X(i,j) = vx(i)^(j-1), lowest power first.  vx has nx
// entries, vy ny; they must agree.
TAVRIN_API void polynomialfitting(const double* vx, int nx, const double* vy, int ny, int d,
                                  double* coefficients);

}  // namespace tavrin::math

extern "C" {

// The roots of the depressed cubic t³ + p·t + q = 0 by Cardano's formula:
// three real roots ascending when there are three, else the one real root in
// all three outputs.
TAVRIN_API void SpecialCase(const double* p, const double* q, double* xx1, double* xx2, double* xx3);

// The roots of a·x³ + b·x² + c·x + d = 0, in the order of SpecialCase.
TAVRIN_API void Solution3PE(const double* a, const double* b, const double* c, const double* d,
                            double* x1, double* x2, double* x3);
}
