// Setting Hermite derivatives: the monotone setter, the cubic spline, the
// easy driver and the end-point polynomial formula.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "fatal_paths.hpp"

namespace tavrin {
namespace {

using namespace testing_support;

// Spline derivatives; a work array of nwk entries (0: the 2n needed).
Curve spline(const Vector& x, const Vector& f, int ibeg, int iend, Vector vc = {0, 0}, int nwk = 0) {
  const int n = int(x.size()), incfd = 1, ic[2] = {ibeg, iend};
  if (nwk == 0) nwk = 2 * n;
  Curve c{x, f, Vector(x.size(), -99.0), -99};
  Vector wk(static_cast<std::size_t>(nwk));
  dpchsp(ic, vc.data(), &n, x.data(), f.data(), c.d.data(), &incfd, wk.data(), &nwk, &c.ierr);
  return c;
}

class Derivatives : public FatalPaths {};

// The sign test: the product of the signs, 0 when either value is zero.
TEST(SignTest, ProductOfSigns) {
  const std::tuple<double, double, double> cases[] = {{-2.0, 3.0, -1.0}, {2.0, 0.5, 1.0}, {-1e-300, -4.0, 1.0},
                                                      {0.0, 3.0, 0.0},   {5.0, -0.0, 0.0}};
  for (const auto& [a, b, sign] : cases) EXPECT_EQ(dpchst(&a, &b), sign) << a << ' ' << b;
}

// Data errors leave d untouched.
TEST_F(Derivatives, MonotoneWorkedCases) {
  errors_return_silently();
  const std::tuple<Vector, Vector, Vector, int> cases[] = {  // x, f, d (empty: not checked), switches
      {{1}, {2}, {-99}, -1}, {{}, {}, {}, -1},                // data errors
      {{0, 1, 1, 2}, {0, 1, 2, 3}, {-99, -99, -99, -99}, -3},
      {{1, 3}, {2, 7}, {2.5, 2.5}, 0},                     // two points: the chord slope
      {{0, 1, 2}, {0, 1, 0}, {2, 0, -2}, 1},               // a peak: flat node, three-point ends
      {{0, 1, 2}, {0, 1, 4}, {0, 1.5, 4}, 0},              // slopes 1 and 3: their harmonic mean
      {{0, 1, 1.125}, {0, 1, 0}, {3, 0, -9}, 1},           // an end limited to three times its slope
      {{0, 1, 2, 3}, {0, 1, 1, 0}, {1.5, 0, 0, -1.5}, 1},  // a switch across a flat interval counts once
      {{0, 1, 2, 3}, {0, 1, 1, 2}, {}, 0},                 // a flat interval between rising slopes: none
      {{0, 1, 2, 3, 4}, {0, 1, 0, 1, 0}, {}, 3},           // every switch counted
      {{0, 1, 2, 3, 4}, {5, 5, 6, 5, 5}, {}, 1},           // a flat start passed over
      {{0, 1, 2, 3, 4}, {0, 1, 0, 0, 1}, {}, 2},           // a switch, a flat interval, a switch back
  };
  for (const auto& [x, f, d, switches] : cases) {
    const auto r = monotone(x, f);
    if (!d.empty()) { EXPECT_EQ(r.d, d); }
    EXPECT_EQ(r.ierr, switches);
  }
}

// On monotone data the derivatives have the slopes' sign, lie within three
// times the smaller neighbouring slope, and the curve between the nodes is
// monotone too; x -> -x mirrors them: reversed, of opposite sign.
TEST(MonotoneDerivatives, MonotoneCurvesAndMirror) {
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
    Vector xe(2000), xm(x.rbegin(), x.rend()), fm(f.rbegin(), f.rend());
    for (std::size_t k = 0; k < xe.size(); ++k) xe[k] = x.back() * double(k) / (xe.size() - 1.0);
    const Vector fe = evaluate(r, xe).fe;
    for (std::size_t k = 1; k < fe.size(); ++k) EXPECT_GE(fe[k], fe[k - 1] - 1e-12);
    for (double& v : xm) v = -v;
    const auto m = monotone(xm, fm);
    for (std::size_t i = 0; i < x.size(); ++i) EXPECT_EQ(m.d[x.size() - 1 - i], -r.d[i]);
  }
  // f and d as 3 x 4 arrays: only the first row is read and written.
  const Vector x{0, 1, 2, 3}, f{0, 50, 50, 1, 50, 50, 4, 50, 50, 9, 50, 50};
  Vector d(12, -7.0);
  const int n = 4, incfd = 3;
  int ierr = 0;
  dpchim(&n, x.data(), f.data(), d.data(), &incfd, &ierr);
  const Vector plain = monotone(x, {0, 1, 4, 9}).d;
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(Vector(&d[3 * i], &d[3 * i + 3]), (Vector{plain[i], -7, -7}));
}

// The cubic 2x^3 - x^2 + 3x - 5 and its derivative.
double cubic(double x) { return ((2 * x - 1) * x + 3) * x - 5; }
double cubic_slope(double x) { return (6 * x - 2) * x + 3; }

// Exact for a cubic under every end condition (code 4 through the end-point
// formula); code 3 exact for a quadratic; two points: the chord (codes 3 and
// 4 fall back to not-a-knot); three, not-a-knot: the parabola.
TEST(SplineDerivatives, ExactForPolynomials) {
  const Vector x{-1, -0.25, 0.5, 2, 2.5, 4};
  Vector f, df, q;
  for (double xi : x) {
    f.push_back(cubic(xi));
    df.push_back(cubic_slope(xi));
    q.push_back((xi - 1) * xi);
  }
  const double s0 = df.front(), s1 = df.back(), c0 = -14, c1 = 46;  // c: second derivatives
  const std::tuple<Vector, Vector, int, int, Vector, Vector, double> cases[] = {
      {x, f, 0, 0, {0, 0}, df, 1e-12}, {x, f, 1, 1, {s0, s1}, df, 1e-12}, {x, f, 2, 2, {c0, c1}, df, 1e-12},
      {x, f, 4, 4, {0, 0}, df, 1e-12}, {x, f, 1, 2, {s0, c1}, df, 1e-12}, {x, f, 4, 0, {0, 0}, df, 1e-12},
      {x, q, 3, 3, {0, 0}, {-3, -1.5, 0, 3, 4, 7}, 1e-13},  // x, f, end codes, end values, d, tolerance
      {{0, 2}, {1, 5}, 0, 0, {0, 0}, {2, 2}, 0}, {{0, 2}, {1, 5}, 3, 3, {0, 0}, {2, 2}, 0},
      {{0, 2}, {1, 5}, 4, 4, {0, 0}, {2, 2}, 0}, {{0, 1, 3}, {0, 1, 9}, 0, 0, {0, 0}, {0, 2, 6}, 1e-14}};
  for (const auto& [xs, fs, ibeg, iend, vc, ds, tol] : cases) {
    const auto r = spline(xs, fs, ibeg, iend, vc);
    EXPECT_EQ(r.ierr, 0);
    for (std::size_t i = 0; i < xs.size(); ++i) EXPECT_NEAR(r.d[i], ds[i], tol) << ibeg << iend << " " << i;
  }
}

// Spline end codes and work array lengths.
TEST_F(Derivatives, SplineArgumentChecks) {
  errors_return_silently();
  for (const auto& [ibeg, iend, nwk, expected] :
       {std::tuple{5, 0, 0, -4}, {0, -1, 0, -5}, {-1, 7, 0, -6}, {0, 0, 9, -7}})
    EXPECT_EQ(spline({0, 1, 2, 3, 4}, {0, 1, 0, 1, 0}, ibeg, iend, {0, 0}, nwk).ierr, expected);
  // Flat intervals are no singular system.
  EXPECT_EQ(spline({0, 1, 2, 3, 4, 5}, {0, 1, 1, 1, 2, 2}, 0, 0).ierr, 0);
}

}  // namespace
}  // namespace tavrin
