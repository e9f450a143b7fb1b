// B-spline form of Hermite data (pchbs, pchkt), its evaluation (bvalu) and
// the knot search (intrv).
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "fatal_paths.hpp"

namespace tavrin {
namespace {

using namespace testing_support;

struct Form {
  Vector t, bcoef;
  int nknots = -1, ndim = -1, kord = -1, ierr = -99;
};

Form convert(const Curve& c, int knotyp, Vector t = {}, int nknots = 0) {
  const int n = c.n(), incfd = 1;
  Form b{t.empty() ? Vector(std::size_t(2 * n + 4), -7.0) : t, Vector(std::size_t(2 * n), -7.0), nknots};
  dpchbs(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &knotyp, &b.nknots, b.t.data(), b.bcoef.data(),
         &b.ndim, &b.kord, &b.ierr);
  return b;
}

double value(const Form& b, double x, int ideriv, int& inbv) {
  Vector work(12);
  const int k = 4;
  return dbvalu(b.t.data(), b.bcoef.data(), &b.ndim, &k, &ideriv, &x, &inbv, work.data());
}

// The B-spline reproduces value and slope at every node (the last by its left
// limit) for every knot type and for the caller's knots.
TEST(BSplineForm, ReproducesTheHermiteData) {
  std::mt19937 gen(3);
  std::uniform_real_distribution<double> step(0.1, 2), val(-3, 3);
  for (int trial = 0; trial < 5; ++trial) {
    Curve c;
    double x = val(gen);
    for (int i = 0; i < 6 + trial; ++i) {
      c.x.push_back(x += step(gen));
      c.f.push_back(val(gen));
      c.d.push_back(val(gen));
    }
    for (int knotyp : {0, 1, 2, -1}) {
      Vector t;
      if (knotyp < 0) {  // the caller's knots: the extrapolating ones
        t.assign(std::size_t(2 * c.n() + 4), 0.0);
        const int n = c.n(), one = 1;
        dpchkt(&n, c.x.data(), &one, t.data());
      }
      const Form b = convert(c, knotyp, t, 2 * c.n() + 4);
      ASSERT_EQ(b.ierr, 0);
      EXPECT_EQ(b.nknots, 2 * c.n() + 4);
      int inbv = 1;
      for (int i = 0; i < c.n(); ++i) {
        EXPECT_NEAR(value(b, c.x[i], 0, inbv), c.f[i], 1e-13) << knotyp << " " << i;
        EXPECT_NEAR(value(b, c.x[i], 1, inbv), c.d[i], 1e-12) << knotyp << " " << i;
      }
    }
  }
}

// x^3 on (0, 1, 2): exact everywhere, second derivative included.
TEST(BSplineForm, CubicValues) {
  const Curve c{{0, 1, 2}, {0, 1, 8}, {0, 3, 12}};
  const Form b = convert(c, 0);
  EXPECT_EQ(b.t, (Vector{0, 0, 0, 0, 1, 1, 2, 2, 2, 2}));
  int inbv = 1;
  const std::tuple<double, int, double> cases[] = {{0.5, 0, 0.125}, {0.5, 1, 0.75}, {1.5, 2, 9}, {2, 0, 8}, {2, 1, 12}, {0, 3, 6}};
  for (const auto& [x, ideriv, expected] : cases) EXPECT_NEAR(value(b, x, ideriv, inbv), expected, 1e-14) << x;
  // The end knots of the other types.
  EXPECT_EQ(convert(c, 1).t, (Vector{-1, -1, 0, 0, 1, 1, 2, 2, 3, 3}));
  const Curve uneven{{0, 1, 3}, {0, 0, 0}, {0, 0, 0}};
  EXPECT_EQ(convert(uneven, 2).t, (Vector{-2, -2, 0, 0, 1, 1, 3, 3, 4, 4}));
}

class BSplineChecks : public FatalPaths {};

// Knot types above 2, a caller's knot count that does not fit, a single
// point (end widths 0), no points (only ndim and kord written), a stride
// below one.
TEST_F(BSplineChecks, ConversionChecks) {
  errors_return_silently();
  const Curve c{{0, 1}, {0, 1}, {1, 1}};
  const Form three = convert(c, 3), count = convert(c, -1, {}, 7);
  for (const Form& b : {three, count}) {
    EXPECT_EQ(b.t, Vector(8, -7.0));
    EXPECT_EQ(b.bcoef, Vector(4, -7.0));
    EXPECT_EQ(b.ndim, 4);
    EXPECT_EQ(b.kord, 4);
  }
  EXPECT_EQ(three.ierr, -1);
  EXPECT_EQ(count.ierr, -2);
  const Form one = convert(Curve{{2}, {5}, {3}}, 1);
  EXPECT_EQ(one.ierr, 0);
  EXPECT_EQ(one.t, Vector(6, 2.0));
  EXPECT_EQ(one.bcoef, (Vector{5, 5}));

  int n = 0, incfd = 1, knotyp = 0, nknots = -5, ndim = -5, kord = -5, ierr = -5;
  double t = -7, bcoef = -7, x = 1, f = 1, d = 1;
  dpchbs(&n, &x, &f, &d, &incfd, &knotyp, &nknots, &t, &bcoef, &ndim, &kord, &ierr);
  EXPECT_EQ(std::tuple(nknots, ndim, kord, ierr, t, bcoef), std::tuple(-5, 0, 4, 0, -7.0, -7.0));
  n = 2;
  incfd = 0;
  dpchbs(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &knotyp, &nknots, &t, &bcoef, &ndim, &kord, &ierr);
  EXPECT_EQ(ierr, -3);
}

// Evaluation checks, each giving 0: order, size, derivative order, x left of
// t(k), right of t(n+1), and a left limit where every knot is equal.
TEST_F(BSplineChecks, EvaluationChecks) {
  pchip::j4save(2, 1, true);  // print and continue
  const Vector t{0, 0, 0, 0, 1, 1, 1, 1}, a{1, 2, 3, 4}, flat(8, 1.0);
  const std::tuple<Vector, int, int, int, double, std::string> cases[] = {
      {t, 4, 0, 0, 0.5, "K DOES NOT SATISFY K.GE.1"},
      {t, 3, 4, 0, 0.5, "N DOES NOT SATISFY N.GE.K"},
      {t, 4, 4, 4, 0.5, "IDERIV DOES NOT SATISFY 0.LE.IDERIV.LT.K"},
      {t, 4, 4, -1, 0.5, "IDERIV DOES NOT SATISFY 0.LE.IDERIV.LT.K"},
      {t, 4, 4, 0, -0.5, "X IS N0T GREATER THAN OR EQUAL TO T(K)"},
      {t, 4, 4, 0, 1.5, "X IS NOT LESS THAN OR EQUAL TO T(N+1)"},
      {flat, 4, 4, 0, 1, "A LEFT LIMITING VALUE CANNOT BE OBTAINED AT T(K)"},
  };
  int index = 0;
  for (const auto& [knots, n, k, ideriv, x, message] : cases) {
    const int kk = index++ == 0 ? 0 : k;
    int inbv = 1;
    Vector work(12);
    double result = -1;
    const auto o = run_captured(
        [&] { result = dbvalu(knots.data(), a.data(), &n, &kk, &ideriv, &x, &inbv, work.data()); });
    EXPECT_EQ(result, 0.0) << message;
    const Lines lines = o.lines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], " ***MESSAGE FROM ROUTINE DBVALU IN LIBRARY SLATEC.");
    EXPECT_EQ(lines[2], " *  " + message);
    EXPECT_EQ(lines[3], " *  ERROR NUMBER = 2");
  }
}

// Knot search on repeated knots: the last interval that starts at or before
// x; every hint (clamped into 1..lxt) gives the same answer.
TEST(KnotSearch, RepeatedKnots) {
  const Vector xt{0, 0, 1, 1, 1, 2, 3};
  const std::tuple<double, int, int> cases[] = {  // x, ileft, mflag
      {0, 2, 0}, {0.5, 2, 0}, {1, 5, 0}, {1.5, 5, 0}, {2, 6, 0}, {2.5, 6, 0}, {-1, 1, -1}, {3, 7, 1}, {9, 7, 1}};
  for (const auto& [x, ileft, mflag] : cases)
    for (int hint : {-5, 1, 2, 4, 6, 7, 100}) {
      const int lxt = 7;
      int ilo = hint, left = -9, flag = -9;
      dintrv(xt.data(), &lxt, &x, &ilo, &left, &flag);
      EXPECT_EQ(std::pair(left, flag), std::pair(ileft, mflag)) << x << " hint " << hint;
    }
  // A long table searched from far away, both ways.
  Vector many(1000);
  for (int i = 0; i < 1000; ++i) many[std::size_t(i)] = i;
  for (const auto& [x, hint, ileft] : {std::tuple{3.5, 990, 4}, {996.5, 2, 997}, {500.0, 499, 501}}) {
    const int lxt = 1000;
    int ilo = hint, left = -9, flag = -9;
    dintrv(many.data(), &lxt, &x, &ilo, &left, &flag);
    EXPECT_EQ(std::pair(left, flag), std::pair(ileft, 0)) << x;
  }
  // One knot, and none (nothing read; a hint of 0 used to read xt(0)).
  for (const auto& [lxt, x, ileft, mflag] : {std::tuple{1, -1.0, 1, -1}, {1, 0.0, 1, 1}, {0, 5.0, 1, -1}}) {
    int ilo = 0, left = -9, flag = -9;
    dintrv(xt.data(), &lxt, &x, &ilo, &left, &flag);
    EXPECT_EQ(std::pair(left, flag), std::pair(ileft, mflag)) << lxt << " " << x;
  }
}

}  // namespace
}  // namespace tavrin
