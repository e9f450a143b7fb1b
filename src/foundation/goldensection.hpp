// Golden-section maximum search of module `math`, in reverse communication:
// the caller owns the whole search state, calls GSSAFE, evaluates its
// function wherever GSSAFE sets `update` (at xi, value into yi) and stops
// when GSSAFE sets `finish` (the answer is then xi, yi).
//
//   IniGoldenSearch(x, y, xmove, lplimits, increment, proc, isgolden, finish,
//                   xlow, xup, dx, 1, npoints);
//   while (!finish) {
//     GSSAFE(&xi, &yi, &dx, x, y, xmove, ymove, lplimits, &xdir, &increment,
//            &proc, &isgolden, &update, &finish, &defaultvalue, &npoints);
//     if (update) yi = f(xi);
//   }
//
// Two modes share the protocol.  Golden mode narrows the bracket
// [xmove(1), xmove(2)] around its inner points xmove(3) < xmove(4) by the
// factor φ = 1.618… per sample until it is narrower than the tolerance
// lplimits(1), then asks for the vertex of a parabola through three of the
// points; it ends when the npoints sample slots are used up at the latest.
// Scan mode samples lplimits(1), lplimits(1) + dx, … up to lplimits(2) and
// keeps the best sample above zero in slot npoints.
//
// State: x, y (npoints) the samples in the order requested, xmove, ymove (4)
// the bracket, lplimits (2) the tolerance and width (golden) or the current
// point and upper end (scan), xdir the side of the latest golden step (1
// right, -1 left, 0 start points), increment the number of samples, proc the
// protocol phase (0 before a request, 1 after it, 2 on receiving a value, -1
// after the samples ran out), isgolden, update and finish 1-byte logicals.
//
// A state that would index outside the tables is refused: the failure is
// latched with status -3 and finish is set, so a caller's loop ends:
//   "Golden-section search needs at least four points"      npoints < 4
//   "Golden-section search index outside the sample points"  increment
//   "Golden-section scan needs finite ends and a positive step"
// (the last also when the step no longer moves the scan point).
#pragma once

#include "foundation/api.hpp"

extern "C" {

// Starts a search over [xlow, xup]: golden mode when gsflag is 1 (dx the
// tolerance on the bracket width), else scan mode (dx the grid step, handed
// to GSSAFE by the caller).  x, y are zeroed; incr and subcall (the
// protocol phase) start at 0, finish false.
TAVRIN_API void IniGoldenSearch(double* x, double* y, double* xmove, double* lplimits, int* incr,
                                int* subcall, bool* golden, bool* finish, const double* xlow,
                                const double* xup, const double* dx, const int* gsflag,
                                const int* npoints);

// One step of the protocol (see above).
TAVRIN_API void GSSAFE(double* xi, double* yi, const double* dx, double* x, double* y, double* xmove,
                       double* ymove, double* lplimits, int* xdir, int* increment, int* proc,
                       bool* isgolden, bool* update, bool* finish, const double* defaultvalue,
                       const int* npoints);

// The next golden-mode sample point: the four start points first, then one
// new inner point per step on the side of the larger inner value; dx gets
// the new bracket width (left as it is for the start points).
TAVRIN_API void GetNextFromGoldenSearch(double* xnext, double* dx, double* x, const double* y,
                                        double* xmove, double* ymove, int* xdir, int* increment,
                                        const int* npoints);

// The vertex of the parabola through the larger inner point and its two
// neighbours of the final bracket; defaultvalue when the parabola is
// degenerate (the points collinear, coincident or not comparable).
TAVRIN_API void GetMaximumFromGoldenSearch(double* xmax, const double* y, const double* xmove,
                                           const double* ymove, const double* defaultvalue,
                                           const int* xdir, const int* increment,
                                           const int* npoints);
}
