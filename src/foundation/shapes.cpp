#include "foundation/shapes.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "foundation/small_matrix.hpp"
#include "foundation/transforms.hpp"

namespace {

using tavrin::Mat3;
using tavrin::Vec3;

constexpr double default_proximity = 1e-5;

// xlow ≤ x ≤ xup, both ends included; false for a NaN x.
bool bounded(double x, double xlow, double xup) { return x >= xlow && x <= xup; }

std::array<double, 2> plane_coordinates(const double* point, const double* origin,
                                        const double* axes, double theta_d) {
  const Mat3 plane = Mat3::load(axes);
  const Vec3 nx{{plane(1, 1), plane(2, 1), plane(3, 1)}};
  const Vec3 ny{{plane(1, 2), plane(2, 2), plane(3, 2)}};
  const Vec3 nz{{plane(1, 3), plane(2, 3), plane(3, 3)}};
  const Vec3 d = Vec3::load(point) - Vec3::load(origin);
  // The foot of d on the plane through the origin, along its normal.
  const Vec3 normal = tavrin::cross(nx, ny);
  const Vec3 foot = d - (tavrin::dot(d, normal) / tavrin::dot(normal, normal)) * normal;
  const Vec3 local = tavrin::math::transformation_matrix(nx, ny, nz) * foot;
  const Mat3 turn = tavrin::math::rotation_matrix(nz, theta_d * tavrin::math::deg2rad);
  const Vec3 turned = tavrin::transpose(turn) * local;
  return {turned(1), turned(2)};
}

}  // namespace

extern "C" {

void GetPointOnXYPlane(double* xycoord, const double* point, const double* origin,
                       const double* xyplane, const double* theta) {
  const auto xy = plane_coordinates(point, origin, xyplane, *theta);
  xycoord[0] = xy[0];
  xycoord[1] = xy[1];
}

double Polygon(const double* px, const double* py, const double* xx, const double* yy,
               const int* n) {
  // A ray from the point in the positive y direction: the state changes sign
  // at every edge it crosses.
  const int size = *n;
  int state = -1;
  for (int i = 0; i < size; ++i) {
    const int j = i + 1 < size ? i + 1 : 0;
    const double xi = xx[i] - *px, yi = yy[i] - *py, xj = xx[j] - *px, yj = yy[j] - *py;
    if ((yi < 0.0 && yj < 0.0) || (xi < 0.0 && xj < 0.0) || (xi >= 0.0 && xj >= 0.0)) continue;
    if (yi >= 0.0 && yj >= 0.0) {
      state = -state;
      continue;
    }
    // The height at which the edge crosses the line through the point.
    const double t = (yi * xj - xi * yj) / (xj - xi);
    if (t > 0.0) state = -state;
    else if (t == 0.0) return 0.0;  // the point lies on the edge
  }
  return state == -1 ? -1.0 : 0.0;
}

double Ellipse(const double* x, const double* y, const double* a, const double* b,
               const double* xyorigin) {
  const double u = (*x - (xyorigin ? xyorigin[0] : 0.0)) / *a;
  const double v = (*y - (xyorigin ? xyorigin[1] : 0.0)) / *b;
  return u * u + v * v;
}

double Rectangle(const double* x, const double* y, const double* a, const double* b,
                 const double* xyorigin) {
  const double u = std::abs(*x - (xyorigin ? xyorigin[0] : 0.0)) / std::abs(*a);
  const double v = std::abs(*y - (xyorigin ? xyorigin[1] : 0.0)) / std::abs(*b);
  if (std::isnan(u)) return v;
  return v > u ? v : u;
}

double Line(const double* x, const double* y, const double* a, const double* b,
            const double* proximity) {
  const double p = proximity ? *proximity : default_proximity;
  const double abx = b[0] - a[0], aby = b[1] - a[1];
  const double wx = *x - a[0], wy = *y - a[1];
  const double length = std::hypot(abx, aby), h = std::hypot(wx, wy);
  double distance;
  if (length == 0.0) {
    distance = h;  // the segment is the point a
  } else {
    // t: the distance along the segment from a to the foot of the
    // perpendicular.  The perpendicular distance √(h² - t²) is taken as
    // |w × ab|/|ab|, which does not cancel.
    const double t = (wx * abx + wy * aby) / length;
    if (t > 0.0 && t < length) distance = std::abs(wx * aby - wy * abx) / length;
    else if (t <= 0.0) distance = h;
    else distance = std::hypot(*x - b[0], *y - b[1]);
  }
  if (distance == p) return 1.0;
  if (distance > p) return distance + 1.0;
  // Within the proximity: the distance relative to the one from a, which is
  // never smaller; 0 on a itself.
  return h == 0.0 ? 0.0 : distance / h;
}

int ProjectedPointInShape(const double* point, const double* a, const double* b,
                          const double* theta, const double* refcoords, const double* refcos,
                          const int* shapeid) {
  const double r = (*b > *a || std::isnan(*a)) ? *b : *a;
  const auto xy = plane_coordinates(point, refcoords, refcos, *theta);
  double value;
  switch (*shapeid) {
    case 0: value = Ellipse(&xy[0], &xy[1], &r, &r, nullptr); break;
    case 2: value = Rectangle(&xy[0], &xy[1], &r, &r, nullptr); break;
    case 3: value = Rectangle(&xy[0], &xy[1], a, b, nullptr); break;
    default: value = Ellipse(&xy[0], &xy[1], a, b, nullptr); break;
  }
  return bounded(value, 0.0, 1.0);
}

int ProjectedPointInPolygon(const double* point, const double* xypairs, const double* theta,
                            const double* refcoords, const double* refcos, const int* npoints) {
  const auto xy = plane_coordinates(point, refcoords, refcos, *theta);
  const int n = std::max(*npoints, 0);
  // Column 1 of the vertex table holds the x values, column 2 the y values.
  return bounded(Polygon(&xy[0], &xy[1], xypairs, xypairs + n, &n), 0.0, 1.0);
}

}  // extern "C"
