// Table interpolation of module math: nearest, linear and monotone cubic
// Hermite values, the Hermite integral and arc length.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "interp/tables.hpp"
#include "pchip/fatal_paths.hpp"

namespace tavrin {
namespace {

using testing_support::FatalPaths;
using testing_support::run_captured;
using Vector = std::vector<double>;

using Interpolation = void (*)(const double*, const double*, int, const double*, int, double*);

Vector at(Interpolation fn, const Vector& x, const Vector& y, const Vector& p) {
  Vector r(p.size(), -7.0);
  fn(x.data(), y.data(), int(x.size()), p.data(), int(p.size()), r.data());
  return r;
}
Vector hermite(const Vector& x, const Vector& y, const Vector& p) {
  return at(math::cubichermitianinterpolation, x, y, p);
}
double integral(const Vector& x, const Vector& y, double a, double b) {
  return math::cubichermitianintegration(x.data(), y.data(), int(x.size()), a, b);
}
double arclength(const Vector& x, const Vector& y, double a, double b) {
  return math::cubichermitianarclength(x.data(), y.data(), int(x.size()), a, b);
}

TEST(TableInterpolation, WorkedValues) {
  // y = x^2 at four points: d = (0, 1.5, 3.75, 6); the end cubics continue
  // beyond the table.
  EXPECT_EQ(hermite({0, 1, 2, 3}, {0, 1, 4, 9}, {0.5, 1.5, 2.5, -1, 4}),
            (Vector{0.3125, 2.21875, 6.21875, 2, 15.5}));
  EXPECT_DOUBLE_EQ(integral({0, 1, 2, 3}, {0, 1, 4, 9}, 0, 3), 9.0);
  EXPECT_DOUBLE_EQ(arclength({0, 4}, {0, 3}, 0, 4), 5.0);
  EXPECT_EQ(math::partialcurvelength(0), 1.0);
  EXPECT_EQ(math::partialcurvelength(-0.75), 1.25);
}

TEST(TableInterpolation, NodesTwoPointTablesAndExtrema) {
  const Vector x{-1, 0.5, 2, 2.5, 4}, y{3, -1, 2, 2, 7};
  // A point on a node gives its ordinate in all three.
  for (Interpolation fn : {math::nearestinterpolation, math::linearinterpolation})
    EXPECT_EQ(at(fn, x, y, x), y);
  const Vector h = hermite(x, y, x);
  for (std::size_t i = 0; i < x.size(); ++i) EXPECT_NEAR(h[i], y[i], 1e-14);
  // Two points: the Hermite curve is the straight line, inside and outside.
  const Vector p{-3, 0, 0.3, 1, 5};
  const Vector lin = at(math::linearinterpolation, {0, 1}, {2, 5}, p), her = hermite({0, 1}, {2, 5}, p);
  for (std::size_t k = 0; k < p.size(); ++k) EXPECT_NEAR(her[k], lin[k], 1e-14);
  // No overshoot at a local maximum or on a flat stretch.
  Vector dense;
  for (int k = 0; k <= 1000; ++k) dense.push_back(-1 + 5.0 * k / 1000);
  const Vector curve = hermite(x, y, dense);
  for (std::size_t k = 0; k < dense.size(); ++k) {
    if (dense[k] >= 2 && dense[k] <= 2.5) {
      EXPECT_NEAR(curve[k], 2.0, 1e-14);
    }
    EXPECT_LE(curve[k], 7 + 1e-14);
    EXPECT_GE(curve[k], -1 - 1e-14);
  }
}

TEST(TableInterpolation, IntegralsAndArcLengths) {
  const Vector x{0, 0.7, 1.5, 3, 3.2, 5}, y{1, 3, 2, 2.5, 0, 4};
  EXPECT_EQ(integral(x, y, 2.2, 2.2), 0.0);
  EXPECT_DOUBLE_EQ(integral(x, Vector(6, 1.5), -1, 7), 12.0);  // constant y: y (b - a)
  // The integral agrees with a fine trapezoid sum over interpolated values.
  Vector p;
  const int m = 200000;
  for (int k = 0; k <= m; ++k) p.push_back(-0.5 + 6.0 * k / m);
  const Vector v = hermite(x, y, p);
  double trapezoid = 0;
  for (int k = 0; k < m; ++k) trapezoid += 0.5 * (v[std::size_t(k)] + v[std::size_t(k + 1)]) * (6.0 / m);
  EXPECT_NEAR(integral(x, y, -0.5, 5.5), trapezoid, 1e-8);
  EXPECT_EQ(integral(x, y, 5.5, -0.5), -integral(x, y, -0.5, 5.5));
  // Straight lines y = c x: sqrt(1 + c^2) (b - a), inside and beyond.
  const Vector xs{-2, -1, 0.5, 3};
  for (double c : {0.0, 0.75, -2.0}) {
    Vector ys;
    for (double xi : xs) ys.push_back(c * xi);
    EXPECT_NEAR(arclength(xs, ys, -3, 4), std::sqrt(1 + c * c) * 7, 1e-13);
  }
}

class TableStops : public FatalPaths {};

// Hermite errors reached from the table routines end the process after the
// package's framed message; so does linear interpolation on a table whose
// abscissas do not increase.
TEST_F(TableStops, ShortTablesEmptyPointsAndUnorderedAbscissas) {
  auto o = run_captured([] { hermite({1}, {2}, {0.5}); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines()[0], " ***MESSAGE FROM ROUTINE DPCHIM IN LIBRARY SLATEC.");
  EXPECT_EQ(o.lines()[2], " *  NUMBER OF DATA POINTS LESS THAN TWO");

  pchip::reset_error_facility();
  o = run_captured([] { integral({}, {}, 0, 1); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines()[2], " *  NUMBER OF DATA POINTS LESS THAN TWO");

  pchip::reset_error_facility();
  o = run_captured([] { hermite({0, 1}, {2, 3}, {}); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines()[0], " ***MESSAGE FROM ROUTINE DPCHFE IN LIBRARY SLATEC.");
  EXPECT_EQ(o.lines()[2], " *  NUMBER OF EVALUATION POINTS LESS THAN ONE");

  pchip::reset_error_facility();
  o = run_captured([] { arclength({0, 2, 1}, {0, 1, 2}, 0, 1); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines()[2], " *  X-ARRAY NOT STRICTLY INCREASING");

  o = run_captured([] { at(math::linearinterpolation, {0, 0}, {1, 2}, {0}); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines()[1], "INTERP_LINEAR - Fatal error!");
}

}  // namespace
}  // namespace tavrin
