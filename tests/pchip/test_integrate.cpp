// Integrals of Hermite curves: one cubic between any limits, whole
// intervals, arbitrary limits with their warnings, and the error returns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "fatal_paths.hpp"
#include "pchip/dpchip.hpp"

namespace tavrin {
namespace {

using testing_support::FatalPaths;
using Vector = std::vector<double>;

struct Curve {
  Vector x, f, d;
  int n() const { return int(x.size()); }
};

double integral(const Curve& c, double a, double b, int& ierr, int skip = 0) {
  const int n = c.n(), incfd = 1;
  return dpchia(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &a, &b, &ierr);
}

// Composite Simpson rule over the curve's own values (an independent route
// to the integral of a cubic: exact up to rounding on each sub-interval
// that lies within one cubic piece).
double simpson(const Curve& c, double a, double b, int pieces) {
  Vector xe;
  for (int k = 0; k <= 2 * pieces; ++k) xe.push_back(a + (b - a) * k / (2.0 * pieces));
  Vector fe(xe.size());
  const int n = c.n(), incfd = 1, ne = int(xe.size());
  int skip = 0, ierr = 0;
  dpchfe(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &ne, xe.data(), fe.data(), &ierr);
  double sum = fe.front() + fe.back();
  for (int k = 1; k < 2 * pieces; ++k) sum += (k % 2 ? 4 : 2) * fe[std::size_t(k)];
  return sum * (b - a) / (6.0 * pieces);
}

// Simpson's rule on each stretch of [a, b] between the nodes: exact up to
// rounding for a piecewise cubic.
double simpson_by_pieces(const Curve& c, double a, double b) {
  Vector cuts{std::min(a, b)};
  for (double x : c.x)
    if (x > std::min(a, b) && x < std::max(a, b)) cuts.push_back(x);
  cuts.push_back(std::max(a, b));
  double sum = 0;
  for (std::size_t k = 0; k + 1 < cuts.size(); ++k) sum += simpson(c, cuts[k], cuts[k + 1], 1);
  return a <= b ? sum : -sum;
}

TEST(HermiteIntegration, OneCubicMatchesQuadrature) {
  const Curve c{{1.5, 4}, {2, -1}, {3, 0.5}};
  for (const auto& [a, b] : {std::pair{1.5, 4.0}, {2.0, 3.0}, {-1.0, 6.0}, {5.0, 0.5}, {3.25, 3.25}}) {
    const double exact = dchfie(&c.x[0], &c.x[1], &c.f[0], &c.f[1], &c.d[0], &c.d[1], &a, &b);
    EXPECT_NEAR(exact, simpson(c, a, b, 1), 1e-12 * (1 + std::abs(exact))) << a << " " << b;
  }
  const double x = 2, a = 0, b = 5, f1 = 1, f2 = 3, d1 = 1, d2 = 1;
  EXPECT_EQ(dchfie(&x, &x, &f1, &f2, &d1, &d2, &a, &b), 0.0);  // no interval
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
  struct Case {
    double a, b;
    int ierr;
  };
  const Case cases[] = {{-3, 3, 0},      {3, -3, 0},   {-0.5, 1, 0},  {-0.5, 2, 0},   {-0.5, 5, 2},
                        {-4, -0.5, 0},   {-4, 4, 0},   {3, 5, 2},     {-5, -3, 1},    {-5, 5, 3},
                        {-6, -5, 3},     {6, 5, 3},    {-1.5, -0.5, 0}, {-1.5, -1, 0}, {-3, -2.5, 0},
                        {3, 3.5, 0},     {0.5, 0.5, 0}};
  const double tol = 100 * std::ldexp(1.0, -52);
  int skip = 0;
  for (const Case& k : cases) {
    int ierr = -9;
    const double calc = integral(c, k.a, k.b, ierr, skip);
    skip = 1;
    const double exact = k.b * k.b * k.b * (0.75 * k.b - 2) - k.a * k.a * k.a * (0.75 * k.a - 2);
    EXPECT_EQ(ierr, k.ierr) << k.a << " " << k.b;
    EXPECT_LE(std::abs(calc - exact) / std::max(1.0, std::abs(exact)), tol) << k.a << " " << k.b;
  }
}

TEST(HermiteIntegration, OrientationLinesAndWholeIntervals) {
  const Curve line{{0, 0.5, 2, 3}, {1, 2, 5, 7}, {2, 2, 2, 2}};
  int ierr = 0;
  // A straight line is integrated exactly, inside and outside.
  EXPECT_DOUBLE_EQ(integral(line, -1, 5, ierr), 30.0);  // x^2 + x from -1 to 5
  EXPECT_EQ(ierr, 3);
  EXPECT_DOUBLE_EQ(integral(line, 0.25, 0.75, ierr), 0.75 * 0.75 + 0.75 - 0.25 * 0.25 - 0.25);
  EXPECT_EQ(ierr, 0);

  const Curve c{{0, 1, 2.5, 3, 4}, {1, -1, 2, 2, 0}, {0, 0.5, 1, -2, 0}};
  for (const auto& [a, b] : {std::pair{-2.0, 0.5}, {0.25, 0.75}, {0.5, 3.5}, {3.2, 7.0}, {-1.0, 9.0}}) {
    int e1 = 0, e2 = 0;
    const double forward = integral(c, a, b, e1), backward = integral(c, b, a, e2);
    EXPECT_EQ(forward, -backward);  // exactly
    EXPECT_EQ(e1 % 3 == 0 ? e1 : 3 - e1, e2);  // the warnings swap too
    EXPECT_NEAR(forward, simpson_by_pieces(c, a, b), 1e-12 * (1 + std::abs(forward)));
  }
  // a = b anywhere: 0, with the warnings.
  EXPECT_EQ(integral(c, 9, 9, ierr), 0.0);
  EXPECT_EQ(ierr, 3);
  // From x(1) to x(n): the sum over the whole intervals.
  int skip = 0;
  const int n = c.n(), incfd = 1, one = 1, last = c.n();
  const double whole = dpchid(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &one, &last, &ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(skip, 1);
  EXPECT_DOUBLE_EQ(integral(c, 0, 4, ierr), whole);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(dpchid(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &last, &one, &ierr), -whole);
  // The easy driver is the same integral.
  const double a = -1, b = 2.75;
  EXPECT_EQ(dpchqa(&n, c.x.data(), c.f.data(), c.d.data(), &a, &b, &ierr), integral(c, a, b, ierr));
  // Two points, both limits outside: the whole interval plus both ends.
  const Curve two{{0, 1}, {0, 1}, {1, 1}};
  EXPECT_DOUBLE_EQ(integral(two, -1, 3, ierr), 4.0);
  EXPECT_EQ(ierr, 3);
}

class IntegrationErrors : public FatalPaths {};

TEST_F(IntegrationErrors, RangesAndShortTables) {
  errors_return_silently();
  const Curve c{{0, 1, 2}, {0, 1, 4}, {0, 2, 4}};
  const int n = 3, incfd = 1;
  int skip = 0, ierr = 0;
  for (const auto& [ia, ib] : {std::pair{0, 2}, {1, 4}, {-1, -1}}) {
    skip = 0;
    EXPECT_EQ(dpchid(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &ia, &ib, &ierr), 0.0);
    EXPECT_EQ(ierr, -4);
    EXPECT_EQ(skip, 1);
  }
  // Fewer than two points are refused even when the checks are skipped.
  const double a = 0, b = 1;
  for (int nn : {1, 0}) {
    skip = 1;
    const int one = 1;
    EXPECT_EQ(dpchia(&nn, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &a, &b, &ierr), 0.0);
    EXPECT_EQ(ierr, -1);
    EXPECT_EQ(dpchid(&nn, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &one, &one, &ierr), 0.0);
    EXPECT_EQ(ierr, -1);
    EXPECT_EQ(dpchqa(&nn, c.x.data(), c.f.data(), c.d.data(), &a, &b, &ierr), 0.0);
    EXPECT_EQ(ierr, -1);
  }
  skip = 0;
  const Curve bad{{0, 2, 1}, {0, 1, 4}, {0, 2, 4}};
  EXPECT_EQ(integral(bad, 0, 1, ierr, 0), 0.0);
  EXPECT_EQ(ierr, -3);
}

}  // namespace
}  // namespace tavrin
