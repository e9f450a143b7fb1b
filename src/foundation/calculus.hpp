// Numerical differentiation and integration of module `math`: trapezoidal
// integration of samples, difference quotients (central and complex-step),
// the shoelace area of a polygon and binomial coefficients.
#pragma once

#include <complex>

#include "foundation/api.hpp"

namespace tavrin::math {

// ½·Σ (y(i) + y(i+1))·(x(i+1) - x(i)) over n samples; 0 for fewer than two.
// A decreasing x gives the negated integral.
TAVRIN_API double trapezoidintegration(const double* x, const double* y, int n);

// ½·Σ (xᵢyᵢ₊₁ - xᵢ₊₁yᵢ) over the polygon closed from vertex n back to 1:
// positive for counter-clockwise vertices; 0 for fewer than three.
TAVRIN_API double signed_polygon_area(const double* x, const double* y, int n);

// The binomial coefficient C(n, k) = Πᵢ₌₁ᵏ (n - i + 1)/i, 1 for k < 1; any
// integer n (C(-1, k) = (-1)ᵏ).  Exact in 64-bit integers while the running
// product fits, so every value up to 2⁵³ is exact; beyond 2⁶³ it continues
// in floating point (infinite once it overflows).
TAVRIN_API double binomial(int n, int k);

}  // namespace tavrin::math

extern "C" {

// jac(a,b): each column of differences dy(a,b) divided by its step dx(b).
TAVRIN_API void Gradient(double* jac, const double* dy, const double* dx, const int* a, const int* b);
// derivative(i) = Im y(i) / Im x(i) for y = f(x) evaluated at x = x₀ + i·h.
TAVRIN_API void ComplexStepDerivative(double* derivative, const std::complex<double>* y,
                                      const std::complex<double>* x, const int* n);
// Central differences inside, one-sided differences at both ends; n ≥ 2,
// fewer points are refused with -3 "Central differences need at least two
// points" (derivative untouched).
TAVRIN_API void CentralStepDerivative(double* derivative, const double* y, const double* x,
                                      const int* n);
// Unsigned area of the polygon x(n), y(n).
TAVRIN_API double ShoelaceMethod(const double* x, const double* y, const int* n);
TAVRIN_API double PascalTriangle(const int* n, const int* k);
}
