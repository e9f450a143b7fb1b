// Point-in-shape tests of module `imageprocessing`: whether a point of the
// structure, projected onto a local plane, lies inside a circle, ellipse,
// square, rectangle, polygon or near a line segment drawn in that plane.
//
// A plane is its origin (3) and a 3×3 matrix whose columns are its axes nx,
// ny, nz (used as given, not normalised); the shape is drawn in the plane's
// axes turned by theta degrees about nz.  Each shape routine returns a shape
// value that is at most 1 inside and on the boundary (the polygon: 0.0
// inside or on the boundary, -1.0 outside); the projected tests turn it into
// a flag.  Sizes a, b are half extents.  Nothing reports or keeps state.
#pragma once

#include "foundation/api.hpp"

extern "C" {

// xycoord(2): the point projected onto the plane along its normal nx × ny,
// in the plane's axes turned by theta degrees about nz.
TAVRIN_API void GetPointOnXYPlane(double* xycoord, const double* point, const double* origin,
                                  const double* xyplane, const double* theta);

// 0.0 when (px, py) lies inside the polygon of the n vertices (xx, yy) (the
// last joining the first) or on the edges the crossing test counts as
// inside, -1.0 outside; -1.0 for n < 1.
TAVRIN_API double Polygon(const double* px, const double* py, const double* xx, const double* yy,
                          const int* n);

// ((x - x0)/a)² + ((y - y0)/b)², xyorigin (x0, y0) (the origin when null).
TAVRIN_API double Ellipse(const double* x, const double* y, const double* a, const double* b,
                          const double* xyorigin);

// max(|x - x0|/|a|, |y - y0|/|b|) (the second ratio when the first is NaN).
TAVRIN_API double Rectangle(const double* x, const double* y, const double* a, const double* b,
                            const double* xyorigin);

// Nearness of (x, y) to the segment from a(2) to b(2) with the distance δ to
// it: 1.0 for δ = p, δ + 1 beyond p, δ/|(x, y) - a| (at most 1) within p,
// where p is the proximity (1e-5 when null).  A point on a gives 0; a
// segment of no length is the point a.
TAVRIN_API double Line(const double* x, const double* y, const double* a, const double* b,
                       const double* proximity);

// Whether point(3) projected onto the plane (refcoords, refcos, theta) lies
// in the shape centred on the plane's origin: shapeid 0 the circle of radius
// max(a, b), 2 the square of half side max(a, b), 3 the rectangle a × b, 1
// and any other id the ellipse of semi-axes a, b.
TAVRIN_API int ProjectedPointInShape(const double* point, const double* a, const double* b,
                                     const double* theta, const double* refcoords,
                                     const double* refcos, const int* shapeid);

// Whether point(3) projected onto the plane lies in the polygon whose
// vertices are the rows of xypairs(npoints, 2), or on its boundary.
TAVRIN_API int ProjectedPointInPolygon(const double* point, const double* xypairs,
                                       const double* theta, const double* refcoords,
                                       const double* refcos, const int* npoints);
}
