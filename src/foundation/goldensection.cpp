#include "foundation/goldensection.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <limits>

#include "foundation/array.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/transforms.hpp"

namespace {

using tavrin::View;
using Vec = View<double, 1>;
using ConstVec = View<const double, 1>;

// φ and φ²: a bracket of width h has its inner points h/φ² from either end.
constexpr double phi = 1.618033988749895;
constexpr double phi_squared = 2.618033988749895;

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

bool enough_points(int npoints) {
  if (npoints >= 4) return true;
  tavrin::latch_failure(tavrin::status_invalid, "Golden-section search needs at least four points",
                        npoints);
  return false;
}

// index lies in first..npoints.
bool index_within(int index, int first, int npoints) {
  if (index >= first && index <= npoints) return true;
  tavrin::latch_failure(tavrin::status_invalid,
                        "Golden-section search index outside the sample points", index);
  return false;
}

void refuse_scan() {
  tavrin::latch_failure(tavrin::status_invalid,
                        "Golden-section scan needs finite ends and a positive step");
}

// The next golden-mode point, for 0 ≤ increment < size of x.  The bracket
// keeps the larger inner value inside: when the right inner value is at
// least the left one the bracket loses its left part, else its right part,
// and the one new inner point is the only new sample.
double next_point(double& dx, Vec x, ConstVec y, Vec xm, Vec ym, int& xdir, int& increment) {
  const int k = increment + 1;
  double xnext = x(k);
  if (k <= 4) {
    // The start points: lower end, upper end, left and right inner point.
    if (k >= 2) ym(k - 1) = y(k - 1);
    xdir = 0;
  } else {
    if (k == 5) ym(4) = y(4);
    if (xdir == 1) ym(4) = y(increment);
    else if (xdir == -1) ym(3) = y(increment);
    const double rise = ym(4) - ym(3);
    if (rise >= 0.0) {
      xdir = 1;
      dx = xm(2) - xm(3);
      xm(1) = xm(3);
      ym(1) = ym(3);
      xm(3) = xm(4);
      ym(3) = ym(4);
      xm(4) = xm(4) + (xm(2) - xm(1)) / phi_squared / phi;
      xnext = x(k) = xm(4);
    } else if (rise < 0.0) {
      xdir = -1;
      dx = xm(4) - xm(1);
      xm(2) = xm(4);
      ym(2) = ym(4);
      xm(4) = xm(3);
      ym(4) = ym(3);
      xm(3) = xm(1) + (xm(2) - xm(1)) / phi_squared;
      xnext = x(k) = xm(3);
    } else {
      // Values that do not compare: nothing moves.
      dx = xm(2) - xm(1);
    }
  }
  increment = k;
  return xnext;
}

// The vertex of the final parabola; y(increment) is read only after a
// golden step (xdir ±1), with 1 ≤ increment ≤ size of y.
double vertex(ConstVec y, ConstVec xm, ConstVec ym, double defaultvalue, int xdir, int increment) {
  double fr = ym(4), fl = ym(3);
  if (xdir == 1) fr = y(increment);
  else if (xdir == -1) fl = y(increment);
  // Three points, abscissas then ordinates (a 3×2 column-major table).
  std::array<double, 6> points{};
  if (fr - fl >= 0.0) points = {xm(3), xm(4), xm(2), fl, fr, ym(2)};
  else if (fr - fl < 0.0) points = {xm(1), xm(3), xm(4), ym(1), fl, fr};
  std::array<double, 3> abc{};
  GetParabolaCoefficients(points.data(), abc.data());
  // A straight line (a = 0) or coincident points (a not a number) have no
  // vertex.
  const double a = abc[0], b = abc[1];
  if (a == 0.0 || std::isnan(a)) return defaultvalue;
  return -b / (2.0 * a);
}

}  // namespace

extern "C" {

void IniGoldenSearch(double* x, double* y, double* xmove, double* lplimits, int* incr, int* subcall,
                     bool* golden, bool* finish, const double* xlow, const double* xup,
                     const double* dx, const int* gsflag, const int* npoints) {
  const int n = std::max(*npoints, 0);
  *incr = 0;
  *subcall = 0;
  *golden = *gsflag == 1;
  *finish = false;
  std::fill_n(x, n, 0.0);
  std::fill_n(y, n, 0.0);
  const double h = *xup - *xlow;
  lplimits[0] = *golden ? *dx : *xlow;
  lplimits[1] = *golden ? h : *xup;
  if (!enough_points(*npoints)) {
    std::fill_n(xmove, 4, 0.0);
    *finish = true;
    return;
  }
  if (*golden) {
    x[0] = *xlow;
    x[1] = *xup;
    x[2] = *xlow + h / phi_squared;
    x[3] = x[2] + (h / phi_squared) / phi;
  }
  std::copy_n(x, 4, xmove);
}

void GSSAFE(double* xi, double* yi, const double* dx, double* x, double* y, double* xmove,
            double* ymove, double* lplimits, int* xdir, int* increment, int* proc, bool* isgolden,
            bool* update, bool* finish, const double* defaultvalue, const int* npoints) {
  const int n = *npoints;
  const auto stop = [&] {
    *update = false;
    *finish = true;
  };
  if (!enough_points(n) || !index_within(*increment, 0, n)) return stop();
  const Vec xs(x, n), ys(y, n), xm(xmove, 4), ym(ymove, 4), limits(lplimits, 2);
  // A scan ends with its best sample, kept in slot n.
  const auto scan_result = [&] {
    *finish = true;
    *xi = xs(n);
    *yi = ys(n);
  };
  for (;;) {
    if (*proc != INT_MAX) ++*proc;
    *update = false;
    *finish = false;
    if (*proc == 1) {  // request a value
      if (*increment == n) {  // the sample slots are used up
        *proc = -1;
        *yi = ys(n);
        *finish = true;
        return;
      }
      if (*isgolden) {
        *xi = next_point(limits(2), xs, ys, xm, ym, *xdir, *increment);
      } else {
        if (!(*dx > 0.0) || !std::isfinite(limits(1)) || !std::isfinite(limits(2))) {
          refuse_scan();
          return scan_result();
        }
        *xi = limits(1);
      }
      *update = true;
      return;
    }
    if (*proc != 2) {  // the search is over: its answer again
      const int k = *isgolden ? *increment : n;
      if (!index_within(k, 1, n)) return stop();
      *yi = ys(k);
      *finish = true;
      return;
    }
    // Receive: yi holds the value at xi.
    if (*isgolden) {
      if (!index_within(*increment, 1, n)) return stop();
      ys(*increment) = *yi;
      if (limits(1) > limits(2)) {  // narrower than the tolerance: the vertex
        *xi = vertex(ys, xm, ym, *defaultvalue, *xdir, *increment);
        *update = true;
      }
    } else {
      if (*yi > ys(n)) {
        ys(n) = *yi;
        xs(n) = *xi;
      }
      const double next = *xi + *dx;
      if (!(next > *xi)) {  // a step lost to rounding (or not positive)
        refuse_scan();
        return scan_result();
      }
      *xi = limits(1) = next;
      if (next > limits(2)) scan_result();
    }
    if (*update || *finish) return;
    *proc = 0;
  }
}

void GetNextFromGoldenSearch(double* xnext, double* dx, double* x, const double* y, double* xmove,
                             double* ymove, int* xdir, int* increment, const int* npoints) {
  const int n = *npoints;
  if (!enough_points(n) || !index_within(*increment, 0, n - 1)) {
    *xnext = not_a_number;
    return;
  }
  *xnext = next_point(*dx, Vec(x, n), ConstVec(y, n), Vec(xmove, 4), Vec(ymove, 4), *xdir,
                      *increment);
}

void GetMaximumFromGoldenSearch(double* xmax, const double* y, const double* xmove,
                                const double* ymove, const double* defaultvalue, const int* xdir,
                                const int* increment, const int* npoints) {
  const int n = *npoints;
  const bool reads_sample = *xdir == 1 || *xdir == -1;
  if (!enough_points(n) || (reads_sample && !index_within(*increment, 1, n))) {
    *xmax = not_a_number;
    return;
  }
  *xmax = vertex(ConstVec(y, n), ConstVec(xmove, 4), ConstVec(ymove, 4), *defaultvalue, *xdir,
                 *increment);
}

}  // extern "C"
