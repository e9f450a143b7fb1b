// Setting Hermite derivatives: the monotone setter, the cubic spline, the
// easy driver and the end-point polynomial formula.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "fatal_paths.hpp"
#include "pchip/dpchip.hpp"

namespace tavrin {
namespace {

using testing_support::FatalPaths;
using Vector = std::vector<double>;

struct Derivatives {
  Vector d;
  int ierr;
};

Derivatives monotone(const Vector& x, const Vector& f) {
  const int n = int(x.size()), incfd = 1;
  Derivatives r{Vector(x.size(), -99.0), -99};
  dpchim(&n, x.data(), f.data(), r.d.data(), &incfd, &r.ierr);
  return r;
}

Derivatives spline(const Vector& x, const Vector& f, int ibeg, int iend, Vector vc = {0, 0}) {
  const int n = int(x.size()), incfd = 1, ic[2] = {ibeg, iend}, nwk = 2 * n;
  Derivatives r{Vector(x.size(), -99.0), -99};
  Vector wk(static_cast<std::size_t>(nwk));
  dpchsp(ic, vc.data(), &n, x.data(), f.data(), r.d.data(), &incfd, wk.data(), &nwk, &r.ierr);
  return r;
}

TEST(MonotoneDerivatives, WorkedCases) {
  // Two points: the chord slope.
  auto r = monotone({1, 3}, {2, 7});
  EXPECT_EQ(r.d, (Vector{2.5, 2.5}));
  EXPECT_EQ(r.ierr, 0);
  // A peak: flat node, three-point ends kept, one switch.
  r = monotone({0, 1, 2}, {0, 1, 0});
  EXPECT_EQ(r.d, (Vector{2, 0, -2}));
  EXPECT_EQ(r.ierr, 1);
  // A change of direction across a flat interval counts once.
  r = monotone({0, 1, 2, 3}, {0, 1, 1, 0});
  EXPECT_EQ(r.d, (Vector{1.5, 0, 0, -1.5}));
  EXPECT_EQ(r.ierr, 1);
  // A flat interval between rising slopes counts nothing.
  EXPECT_EQ(monotone({0, 1, 2, 3}, {0, 1, 1, 2}).ierr, 0);
  // Slopes 1 and 3 on equal intervals: their harmonic mean.
  r = monotone({0, 1, 2}, {0, 1, 4});
  EXPECT_DOUBLE_EQ(r.d[1], 1.5);
  // Oscillating data: every switch counted; flat start passed over.
  EXPECT_EQ(monotone({0, 1, 2, 3, 4}, {0, 1, 0, 1, 0}).ierr, 3);
  EXPECT_EQ(monotone({0, 1, 2, 3, 4}, {5, 5, 6, 5, 5}).ierr, 1);
  // An end limited to three times its slope where the direction switches.
  r = monotone({0, 1, 1.125}, {0, 1, 0});
  EXPECT_EQ(r.d[0], 3.0);
  EXPECT_EQ(r.ierr, 1);
}

TEST(MonotoneDerivatives, LinearDataScalingAndMirror) {
  // Equally spaced linear data: every derivative is the slope, exactly.
  Vector x, f;
  for (int i = 0; i < 9; ++i) {
    x.push_back(0.25 * i - 1);
    f.push_back(3 * x.back() - 1);
  }
  EXPECT_EQ(monotone(x, f).d, Vector(9, 3.0));
  // Uneven spacing: the slope up to rounding.
  const Vector xu{0, 0.3, 1.7, 2.0, 5.5};
  Vector fu;
  for (double xi : xu) fu.push_back(-2 * xi + 4);
  for (double di : monotone(xu, fu).d) EXPECT_NEAR(di, -2.0, 1e-14);

  std::mt19937 gen(11);
  std::uniform_real_distribution<double> u(-1, 1), step(0.1, 2);
  Vector xr{0}, fr{u(gen)};
  for (int i = 1; i < 12; ++i) {
    xr.push_back(xr.back() + step(gen));
    fr.push_back(u(gen));
  }
  const auto base = monotone(xr, fr);
  // Scaling the values by a power of two scales the derivatives exactly.
  Vector scaled = fr;
  for (double& v : scaled) v *= -8.0;
  const auto s = monotone(xr, scaled);
  for (std::size_t i = 0; i < xr.size(); ++i) EXPECT_EQ(s.d[i], -8.0 * base.d[i]);
  EXPECT_EQ(s.ierr, base.ierr);
  // x -> -x mirrors the data: reversed derivatives of opposite sign.
  Vector xm(xr.rbegin(), xr.rend()), fm(fr.rbegin(), fr.rend());
  for (double& v : xm) v = -v;
  const auto m = monotone(xm, fm);
  for (std::size_t i = 0; i < xr.size(); ++i) EXPECT_EQ(m.d[xr.size() - 1 - i], -base.d[i]);
}

// On monotone data the derivatives have the slopes' sign, lie within three
// times the smaller neighbouring slope, and the curve between the nodes is
// monotone too.
TEST(MonotoneDerivatives, MonotoneDataGiveMonotoneCurves) {
  std::mt19937 gen(5);
  std::uniform_real_distribution<double> step(0.01, 3), rise(0, 4);
  for (int trial = 0; trial < 20; ++trial) {
    Vector x{0}, f{0};
    for (int i = 1; i < 15; ++i) {
      x.push_back(x.back() + step(gen));
      f.push_back(f.back() + (i % 5 == 0 ? 0.0 : rise(gen) * rise(gen)));
    }
    const auto r = monotone(x, f);
    ASSERT_EQ(r.ierr, 0);
    for (std::size_t i = 1; i + 1 < x.size(); ++i) {
      const double s1 = (f[i] - f[i - 1]) / (x[i] - x[i - 1]), s2 = (f[i + 1] - f[i]) / (x[i + 1] - x[i]);
      EXPECT_GE(r.d[i], 0.0);
      EXPECT_LE(r.d[i], 3 * std::min(s1, s2) * (1 + 1e-14));
    }
    // Dense evaluation on every interval never decreases.
    const int n = int(x.size()), incfd = 1, ne = 2000;
    Vector xe(ne), fe(ne);
    for (int k = 0; k < ne; ++k) xe[std::size_t(k)] = x.back() * k / (ne - 1.0);
    int skip = 0, ierr = 0;
    dpchfe(&n, x.data(), f.data(), r.d.data(), &incfd, &skip, &ne, xe.data(), fe.data(), &ierr);
    for (int k = 1; k < ne; ++k) EXPECT_GE(fe[std::size_t(k)], fe[std::size_t(k - 1)] - 1e-12);
  }
}

TEST(MonotoneDerivatives, SignTest) {
  const double cases[][3] = {{0, -5, 0}, {-2, -5, 1}, {2, -5, -1}, {-0.0, 3, 0}, {7, 0.5, 1}};
  for (const auto& c : cases) EXPECT_EQ(dpchst(&c[0], &c[1]), c[2]);
}

class DerivativeErrors : public FatalPaths {};

TEST_F(DerivativeErrors, StandardDataChecks) {
  errors_return_silently();
  EXPECT_EQ(monotone({1}, {2}).ierr, -1);
  EXPECT_EQ(monotone({}, {}).ierr, -1);
  const auto r = monotone({0, 1, 1, 2}, {0, 1, 2, 3});
  EXPECT_EQ(r.ierr, -3);
  EXPECT_EQ(r.d, Vector(4, -99.0));  // untouched
  // incfd is checked only after n.
  const Vector x{0, 1, 2}, f{0, 1, 2};
  Vector d(3);
  int ierr = 0;
  for (const auto& [n, incfd, expected] : {std::tuple{3, 0, -2}, {1, 0, -1}, {3, -4, -2}}) {
    dpchim(&n, x.data(), f.data(), d.data(), &incfd, &ierr);
    EXPECT_EQ(ierr, expected);
  }
  // The reports name the routine.
  pchip::reset_error_facility();
  const auto o = testing_support::run_captured([&] { monotone({0, 0}, {1, 2}); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines()[2], " *  X-ARRAY NOT STRICTLY INCREASING");
}

TEST(StridedData, OnlyTheFirstRowIsReadAndWritten) {
  // f and d as 3 x 4 arrays; rows 2 and 3 are left alone.
  const Vector x{0, 1, 2, 3};
  const Vector f{0, 50, 50, 1, 50, 50, 4, 50, 50, 9, 50, 50};
  Vector d(12, -7.0);
  const int n = 4, incfd = 3;
  int ierr = 0;
  dpchim(&n, x.data(), f.data(), d.data(), &incfd, &ierr);
  const auto plain = monotone(x, {0, 1, 4, 9});
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(d[std::size_t(3 * i)], plain.d[std::size_t(i)]);
    EXPECT_EQ(d[std::size_t(3 * i + 1)], -7.0);
    EXPECT_EQ(d[std::size_t(3 * i + 2)], -7.0);
  }
}

// The cubic 2x^3 - x^2 + 3x - 5 and its derivative.
double cubic(double x) { return ((2 * x - 1) * x + 3) * x - 5; }
double cubic_slope(double x) { return (6 * x - 2) * x + 3; }
double cubic_curvature(double x) { return 12 * x - 2; }

TEST(SplineDerivatives, ReproduceACubic) {
  const Vector x{-1, -0.25, 0.5, 2, 2.5, 4};
  Vector f;
  for (double xi : x) f.push_back(cubic(xi));
  const double first[2] = {cubic_slope(x.front()), cubic_slope(x.back())};
  const double second[2] = {cubic_curvature(x.front()), cubic_curvature(x.back())};
  struct Ends {
    int ibeg, iend;
    Vector vc;
  };
  for (const Ends& e : {Ends{0, 0, {0, 0}}, {1, 1, {first[0], first[1]}}, {2, 2, {second[0], second[1]}},
                        {4, 4, {0, 0}}, {1, 2, {first[0], second[1]}}, {4, 0, {0, 0}}}) {
    SCOPED_TRACE("ends " + std::to_string(e.ibeg) + ", " + std::to_string(e.iend));
    const auto r = spline(x, f, e.ibeg, e.iend, e.vc);
    EXPECT_EQ(r.ierr, 0);
    for (std::size_t i = 0; i < x.size(); ++i) EXPECT_NEAR(r.d[i], cubic_slope(x[i]), 1e-12);
  }
  // Code 3: the quadratic through the end's three points, exact for a
  // quadratic.
  Vector q;
  for (double xi : x) q.push_back((xi - 1) * xi);
  const auto r = spline(x, q, 3, 3);
  EXPECT_NEAR(r.d.front(), -3.0, 1e-13);
  EXPECT_NEAR(r.d.back(), 7.0, 1e-13);
}

TEST(SplineDerivatives, FewPointsAndFallbacks) {
  // Two points, not-a-knot: the chord slope; codes 3 and 4 fall back to 0.
  for (int code : {0, 3, 4}) EXPECT_EQ(spline({0, 2}, {1, 5}, code, code).d, (Vector{2, 2}));
  // Three points with not-a-knot ends: the parabola through them.
  const auto r = spline({0, 1, 3}, {0, 1, 9}, 0, 0);
  EXPECT_EQ(r.ierr, 0);
  const Vector expected{0, 2, 6};
  for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(r.d[i], expected[i], 1e-14);
}

TEST_F(DerivativeErrors, SplineArgumentErrors) {
  errors_return_silently();
  const Vector x{0, 1, 2, 3}, f{0, 1, 0, 1};
  EXPECT_EQ(spline(x, f, 5, 0).ierr, -4);
  EXPECT_EQ(spline(x, f, 0, -1).ierr, -5);
  EXPECT_EQ(spline(x, f, -1, 7).ierr, -6);
  const int n = 4, incfd = 1, ic[2] = {0, 0}, nwk = 7;
  const double vc[2] = {0, 0};
  Vector d(4), wk(8);
  int ierr = 0;
  dpchsp(ic, vc, &n, x.data(), f.data(), d.data(), &incfd, wk.data(), &nwk, &ierr);
  EXPECT_EQ(ierr, -7);
  // pchdf needs three points at least.
  const int two = 2;
  double s[2] = {1, 2};
  EXPECT_EQ(dpchdf(&two, x.data(), s, &ierr), 0.0);
  EXPECT_EQ(ierr, -1);
}

TEST(EndDerivative, PolynomialThroughKPoints) {
  // Reversed points, as the left end passes them: the derivative at the
  // last one (x = 0) of the cubic through all four.
  const double x[4] = {3, 2, 0.5, 0};
  double s[3];
  for (int i = 0; i < 3; ++i) s[i] = (cubic(x[i + 1]) - cubic(x[i])) / (x[i + 1] - x[i]);
  const int k = 4;
  int ierr = -1;
  EXPECT_NEAR(dpchdf(&k, x, s, &ierr), cubic_slope(0), 1e-13);
  EXPECT_EQ(ierr, 0);
}

TEST_F(DerivativeErrors, EasyDriver) {
  const Vector x{0, 1, 2, 3, 4}, f{0, 1, 8, 27, 64};
  const int n = 5, no = 0, yes = 1, zero = 0;
  Vector d(5), wk(10);
  int ierr = -9;
  // Monotone: the work array is not used at all.
  dpchez(&n, x.data(), f.data(), d.data(), &no, nullptr, &zero, &ierr);
  EXPECT_EQ(d, monotone(x, f).d);
  EXPECT_EQ(ierr, 0);
  // Spline: not-a-knot ends, x^3 reproduced.
  const int lwk = 10;
  dpchez(&n, x.data(), f.data(), d.data(), &yes, wk.data(), &lwk, &ierr);
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(d[std::size_t(i)], 3.0 * i * i, 1e-12);
  errors_return_silently();
  const int small = 9;
  dpchez(&n, x.data(), f.data(), d.data(), &yes, wk.data(), &small, &ierr);
  EXPECT_EQ(ierr, -7);
}

}  // namespace
}  // namespace tavrin
