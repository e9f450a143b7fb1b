// Table interpolation of module `math`: values of a tabulated curve y(x) at
// arbitrary points by nearest neighbour, by straight lines and by a monotone
// piecewise cubic Hermite curve; the integral and the arc length of that
// Hermite curve.  The library's only way into the interpolation packages.
//
// A table is x(1..n), y(1..n); points p(1..np); results r(1..np) in the order
// of p.  Nothing is latched: the packages beneath either return or, on bad
// input, print their message and end the process (the Hermite routines on
// tables of fewer than two points, abscissas that do not strictly increase,
// and an empty p for the interpolation; linear interpolation on abscissas
// that do not strictly increase; nearest and linear on an empty table).
//
// Beyond the table the curves are continued: nearest takes the end ordinate,
// linear the first or last interval's line, Hermite the first or last
// interval's cubic (no clamping).
#pragma once

#include "foundation/api.hpp"

namespace tavrin::math {

// Ordinate of the nearest table entry (x sorted; a tie takes the larger x);
// NaN for a NaN point.  n >= 1.
TAVRIN_API void nearestinterpolation(const double* x, const double* y, int n, const double* p, int np,
                                     double* r);
// Linear interpolation; n = 1 gives y(1) everywhere.  x strictly increasing.
TAVRIN_API void linearinterpolation(const double* x, const double* y, int n, const double* p, int np,
                                    double* r);
// The monotone cubic Hermite curve (derivatives that keep the data's
// monotonicity on every interval and are 0 at local extrema).  n >= 2, x
// strictly increasing, np >= 1.
TAVRIN_API void cubichermitianinterpolation(const double* x, const double* y, int n, const double* p,
                                            int np, double* r);
// Integral of that curve from a to b (b < a changes the sign).
TAVRIN_API double cubichermitianintegration(const double* x, const double* y, int n, double a,
                                            double b);
// Approximate arc length of that curve between a and b: the integral of the
// Hermite curve through the integrand's node values sqrt(1 + d(i)^2), with
// d the curve's node derivatives.  Exact for straight lines only.
TAVRIN_API double cubichermitianarclength(const double* x, const double* y, int n, double a,
                                          double b);
// One value of a table at p without touching the heap for tables of up to 64
// points: the monotone cubic Hermite curve (cubic) or the straight lines.
// n = 1 gives y(1); the caller guarantees n >= 1 and strictly increasing x.
TAVRIN_API double table_value(const double* x, const double* y, int n, double p, bool cubic);
// The arc-length integrand sqrt(1 + dy^2).
TAVRIN_API double partialcurvelength(double dy);

}  // namespace tavrin::math
