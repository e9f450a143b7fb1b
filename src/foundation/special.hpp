// Scalar special functions of module `math`: inverse hyperbolic functions by
// their logarithmic formulas, the Fisher transformation and its inverse, a
// decimal cut-off and a ceiling-like step.  Evaluated as written: arguments
// outside a function's domain give NaN or an infinity.
#pragma once

#include "foundation/api.hpp"

namespace tavrin::math {

// ½·log((x + 1)/(x - 1)), |x| > 1.
TAVRIN_API double dacoth(double x);
// ½·log((x + 1)/(1 - x)), |x| < 1.
TAVRIN_API double datanh(double x);
// datanh(x) when iflag is null or -1, tanh(x) (the inverse) for any other flag.
TAVRIN_API double fishertransformation(double x, const int* iflag = nullptr);
// log(x + √(x·x - 1)), x ≥ 1.
TAVRIN_API double dacosh(double x);
// log(x + √(x·x + 1)).
TAVRIN_API double dasinh(double x);
// a cut (toward zero, not rounded) after sig decimal places (8 when null):
// t = a·10^sig loses its fraction while |t| < 2⁵², the result is t/10^sig.
TAVRIN_API double droundsf(double a, const int* sig = nullptr);
// The integer part of a (toward zero) plus 1: the ceiling for positive
// non-integral a, a + 1 for integral a.
TAVRIN_API double dceil(double a);

}  // namespace tavrin::math
