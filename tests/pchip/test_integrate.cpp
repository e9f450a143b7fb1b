// Integrals of Hermite curves: one cubic between any limits, whole
// intervals, arbitrary limits with their warnings, and the error returns.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

#include "fatal_paths.hpp"

namespace tavrin {
namespace {

using namespace testing_support;

double integral(const Curve& c, double a, double b, int& ierr, int skip = 0) {
  const int n = c.n(), incfd = 1;
  return dpchia(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &a, &b, &ierr);
}
double whole_intervals(const Curve& c, int ia, int ib, int& ierr, int& skip) {
  const int n = c.n(), incfd = 1;
  return dpchid(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &ia, &ib, &ierr);
}
double easy_integral(const Curve& c, double a, double b, int& ierr) {
  const int n = c.n();
  return dpchqa(&n, c.x.data(), c.f.data(), c.d.data(), &a, &b, &ierr);
}

// Simpson's rule over the curve's own values on each stretch of [a, b]
// between the nodes: an independent route to the integral, exact up to
// rounding within one cubic piece.
double simpson(const Curve& c, double a, double b) {
  Vector cuts{std::min(a, b)};
  for (double x : c.x)
    if (x > std::min(a, b) && x < std::max(a, b)) cuts.push_back(x);
  cuts.push_back(std::max(a, b));
  double sum = 0;
  for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
    const double l = cuts[k], r = cuts[k + 1];
    const Vector fe = evaluate(c, {l, l + (r - l) / 2, r}).fe;
    sum += (fe[0] + 4 * fe[1] + fe[2]) * (r - l) / 6;
  }
  return a <= b ? sum : -sum;
}

// The cubic 3x^2(x - 2) with its exact derivatives at seven nodes: every
// integral is the cubic's, with the warnings that say which limits lie
// outside [-4, 4].
TEST(HermiteIntegration, CubicDataOverSeventeenIntervals) {
  Curve c;
  for (double x : {-4.0, -2.0, -0.9, 0.0, 0.9, 2.0, 4.0}) {
    c.x.push_back(x);
    c.f.push_back((x - 2) * (3 * x * x));
    c.d.push_back((x + 2 * (x - 2)) * (3 * x));
  }
  const std::tuple<double, double, int> cases[] = {  // a, b, warnings
      {-3, 3, 0},  {3, -3, 0},  {-0.5, 1, 0}, {-0.5, 2, 0},   {-0.5, 5, 2},  {-4, -0.5, 0},
      {-4, 4, 0},  {3, 5, 2},   {-5, -3, 1},  {-5, 5, 3},     {-6, -5, 3},   {6, 5, 3},
      {-1.5, -0.5, 0}, {-1.5, -1, 0}, {-3, -2.5, 0}, {3, 3.5, 0}, {0.5, 0.5, 0}};
  const double tol = 100 * std::ldexp(1.0, -52);
  int skip = 0;
  for (const auto& [a, b, warnings] : cases) {
    int ierr = -9;
    const double calc = integral(c, a, b, ierr, skip);
    skip = 1;
    const double exact = b * b * b * (0.75 * b - 2) - a * a * a * (0.75 * a - 2);
    EXPECT_EQ(ierr, warnings) << a << " " << b;
    EXPECT_LE(std::abs(calc - exact) / std::max(1.0, std::abs(exact)), tol) << a << " " << b;
  }
}

// Any limits: the reversed integral exactly, with the warnings swapped, and
// the pieces' integrals; from x(1) to x(n) the sum over the whole intervals,
// either way round; the easy driver the same integral.
TEST(HermiteIntegration, OrientationWholeIntervalsAndDrivers) {
  const Curve c{{0, 1, 2.5, 3, 4}, {1, -1, 2, 2, 0}, {0, 0.5, 1, -2, 0}};
  for (const auto& [a, b] : {std::pair{-2.0, 0.5}, {1.25, 2.25}, {0.5, 3.5}, {3.2, 7.0}, {-1.0, 9.0}}) {
    int e1 = 0, e2 = 0;
    const double forward = integral(c, a, b, e1), backward = integral(c, b, a, e2);
    EXPECT_EQ(forward, -backward);
    EXPECT_EQ(e1 % 3 == 0 ? e1 : 3 - e1, e2);
    EXPECT_NEAR(forward, simpson(c, a, b), 1e-12 * (1 + std::abs(forward)));
  }
  int ierr = 0, skip = 0;
  EXPECT_EQ(integral(c, 9, 9, ierr), 0.0);  // a = b anywhere: 0, with the warnings
  EXPECT_EQ(ierr, 3);
  const double whole = whole_intervals(c, 1, c.n(), ierr, skip);
  EXPECT_EQ((std::pair{ierr, skip}), (std::pair{0, 1}));
  EXPECT_DOUBLE_EQ(integral(c, 0, 4, ierr), whole);
  EXPECT_EQ(whole_intervals(c, c.n(), 1, ierr, skip), -whole);
  EXPECT_EQ(easy_integral(c, -1, 2.75, ierr), integral(c, -1, 2.75, ierr));
  const double x = 2, a = 0, b = 5, f1 = 1, f2 = 3;
  EXPECT_EQ(dchfie(&x, &x, &f1, &f2, &f1, &f1, &a, &b), 0.0);  // one cubic without an interval
}

class IntegrationErrors : public FatalPaths {};

// Indices out of range; fewer than two points, refused even when the checks
// are skipped.
TEST_F(IntegrationErrors, RangesAndShortTables) {
  errors_return_silently();
  const Curve c{{0, 1, 2}, {0, 1, 4}, {0, 2, 4}};
  int skip = 0, ierr = 0;
  for (const auto& [ia, ib] : {std::pair{0, 2}, {1, 4}, {-1, -1}}) {
    skip = 0;
    EXPECT_EQ(whole_intervals(c, ia, ib, ierr, skip), 0.0);
    EXPECT_EQ((std::pair{ierr, skip}), (std::pair{-4, 1}));
  }
  for (const Curve& s : {Curve{{0}, {0}, {0}}, Curve{}}) {
    std::array<int, 3> e{};
    skip = 1;
    EXPECT_EQ((std::array{integral(s, 0, 1, e[0], 1), whole_intervals(s, 1, 1, e[1], skip),
                          easy_integral(s, 0, 1, e[2])}),
              (std::array{0.0, 0.0, 0.0}));
    EXPECT_EQ(e, (std::array{-1, -1, -1}));
  }
}

}  // namespace
}  // namespace tavrin
