// Evaluating Hermite curves: one cubic, the whole curve in any point order,
// the easy evaluator, and their error returns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "fatal_paths.hpp"
#include "pchip/dpchip.hpp"

namespace tavrin {
namespace {

using testing_support::FatalPaths;
using testing_support::run_captured;
using Vector = std::vector<double>;

struct Curve {
  Vector x, f, d;
  int n() const { return int(x.size()); }
};

// Monotone Hermite curve through random data.
Curve random_curve(std::mt19937& gen, int n) {
  std::uniform_real_distribution<double> step(0.05, 2), value(-3, 3);
  Curve c;
  c.x.push_back(value(gen));
  c.f.push_back(value(gen));
  for (int i = 1; i < n; ++i) {
    c.x.push_back(c.x.back() + step(gen));
    c.f.push_back(value(gen));
  }
  c.d.resize(c.x.size());
  const int incfd = 1, nn = n;
  int ierr = 0;
  dpchim(&nn, c.x.data(), c.f.data(), c.d.data(), &incfd, &ierr);
  return c;
}

struct Evaluation {
  Vector fe, de;
  int ierr = -99;
};

Evaluation values(const Curve& c, const Vector& xe, int skip = 0) {
  Evaluation e;
  e.fe.assign(xe.size(), -7.0);
  const int n = c.n(), incfd = 1, ne = int(xe.size());
  dpchfe(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &ne, xe.data(), e.fe.data(), &e.ierr);
  return e;
}

Evaluation values_and_slopes(const Curve& c, const Vector& xe) {
  Evaluation e;
  e.fe.assign(xe.size(), -7.0);
  e.de.assign(xe.size(), -7.0);
  const int n = c.n(), incfd = 1, ne = int(xe.size());
  int skip = 0;
  dpchfd(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &ne, xe.data(), e.fe.data(),
         e.de.data(), &e.ierr);
  return e;
}

// The multi-interval evaluation in its reference form, step by step, over the
// one-cubic evaluator: runs of points left of x(ir), restarting from the
// interval of the first point of a run that lies left of its interval.
Evaluation stated_evaluation(const Curve& c, const Vector& xe) {
  const int n = c.n(), ne = int(xe.size());
  Evaluation e;
  e.fe.assign(xe.size(), -7.0);
  auto X = [&](int i) { return c.x[std::size_t(i - 1)]; };
  auto XE = [&](int i) { return xe[std::size_t(i - 1)]; };
  int ierr = 0, jfirst = 1, ir = 2;
  while (ir <= n) {
    if (jfirst > ne) break;
    int j = ne + 1;
    for (int k = jfirst; k <= ne; ++k)
      if (XE(k) >= X(ir)) {
        j = k;
        break;
      }
    if (ir == n) j = ne + 1;
    const int nj = j - jfirst;
    if (nj != 0) {
      int next[2], ierc = 0;
      const std::size_t a = std::size_t(ir - 2), b = std::size_t(ir - 1);
      dchfev(&c.x[a], &c.x[b], &c.f[a], &c.f[b], &c.d[a], &c.d[b], &nj, &xe[std::size_t(jfirst - 1)],
             &e.fe[std::size_t(jfirst - 1)], next, &ierc);
      if (ierc < 0 || (next[1] != 0 && ir < n)) {
        e.ierr = -5;
        return e;
      }
      ierr += next[1];
      if (next[0] != 0) {
        if (ir <= 2) {
          ierr += next[0];
        } else {
          int i = jfirst;
          while (i < j && !(XE(i) < X(ir - 1))) ++i;
          j = i;
          i = 1;
          while (i < ir && !(XE(j) < X(i))) ++i;
          ir = std::max(1, i - 1);
        }
      }
      jfirst = j;
    }
    ++ir;
  }
  e.ierr = ierr;
  return e;
}

void expect_same_values(const Vector& a, const Vector& b) {
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i)
    EXPECT_TRUE(std::memcmp(&a[i], &b[i], sizeof(double)) == 0) << "point " << i << ": " << a[i] << " vs " << b[i];
}

TEST(HermiteEvaluation, AnyPointOrderAsStated) {
  std::mt19937 gen(3);
  for (int n : {2, 3, 4, 7, 30}) {
    const Curve c = random_curve(gen, n);
    std::uniform_real_distribution<double> where(c.x.front() - 1.5, c.x.back() + 1.5);
    for (int trial = 0; trial < 40; ++trial) {
      Vector xe(std::size_t(1 + trial * 3));
      for (double& v : xe) v = where(gen);
      // Nodes themselves, repeated points and a NaN.
      if (trial % 4 == 1) xe.insert(xe.end(), c.x.begin(), c.x.end());
      if (trial % 4 == 2) xe.insert(xe.end(), {c.x.back(), c.x.back() + 1, c.x.back() + 1, c.x.front()});
      if (trial % 5 == 3) xe[xe.size() / 2] = std::numeric_limits<double>::quiet_NaN();
      std::shuffle(xe.begin(), xe.end(), gen);
      if (trial % 3 == 0) std::sort(xe.begin(), xe.end());
      if (trial % 6 == 5) std::sort(xe.rbegin(), xe.rend());
      SCOPED_TRACE("n " + std::to_string(n) + ", trial " + std::to_string(trial));
      const Evaluation got = values(c, xe), stated = stated_evaluation(c, xe);
      expect_same_values(got.fe, stated.fe);
      EXPECT_EQ(got.ierr, stated.ierr);
      // The derivative evaluator agrees bit for bit on values.
      const Evaluation both = values_and_slopes(c, xe);
      expect_same_values(both.fe, got.fe);
      EXPECT_EQ(both.ierr, got.ierr);
    }
  }
}

TEST(HermiteEvaluation, OrderedPointsCountThoseOutside) {
  const Curve line{{0, 1}, {0, 1}, {1, 1}};
  const auto e = values(line, {-1, 0, 0.5, 1, 2});
  EXPECT_EQ(e.fe, (Vector{-1, 0, 0.5, 1, 2}));
  EXPECT_EQ(e.ierr, 2);
  // Decreasing points give the same values; a point right of the data may
  // be counted once more per pass over the last interval.
  const Curve c{{0, 1, 2, 3}, {0, 1, 4, 9}, {0, 1.5, 3.75, 6}};
  const Vector up{-1, 0.5, 1.5, 2.5, 4}, down{4, 2.5, 1.5, 0.5, -1};
  const auto a = values(c, up), b = values(c, down);
  EXPECT_EQ(a.fe, (Vector{2, 0.3125, 2.21875, 6.21875, 15.5}));
  EXPECT_EQ(Vector(b.fe.rbegin(), b.fe.rend()), a.fe);
  EXPECT_EQ(a.ierr, 2);
  EXPECT_EQ(b.ierr, 2);
  // Three points right of x(n), taken by three passes over the last interval
  // (3, then 2, then 1 of them).
  EXPECT_EQ(values(c, {4, 0.5, 4.5, 0.5, 5}).ierr, 6);
}

TEST(HermiteEvaluation, NodesAndCubicData) {
  // Values and slopes of a cubic polynomial at the nodes: the curve is that
  // polynomial, inside and outside the data.
  auto p = [](double t) { return ((0.5 * t - 2) * t + 1) * t + 3; };
  auto dp = [](double t) { return (1.5 * t - 4) * t + 1; };
  Curve c;
  for (double t : {-2.0, -0.5, 0.25, 1.0, 3.5}) {
    c.x.push_back(t);
    c.f.push_back(p(t));
    c.d.push_back(dp(t));
  }
  Vector xe;
  for (int k = 0; k <= 80; ++k) xe.push_back(-4 + 0.1 * k);
  const auto e = values_and_slopes(c, xe);
  for (std::size_t k = 0; k < xe.size(); ++k) {
    EXPECT_NEAR(e.fe[k], p(xe[k]), 1e-12 * (1 + std::abs(p(xe[k]))));
    EXPECT_NEAR(e.de[k], dp(xe[k]), 1e-12 * (1 + std::abs(dp(xe[k]))));
  }
  // A node x(i), i < n, lies on the interval to its right: exactly f(i).
  const auto at_nodes = values(c, c.x);
  for (std::size_t i = 0; i + 1 < c.x.size(); ++i) EXPECT_EQ(at_nodes.fe[i], c.f[i]);
  EXPECT_NEAR(at_nodes.fe.back(), c.f.back(), 1e-13);
}

TEST(HermiteEvaluation, OneCubic) {
  // Reversed ends: the same cubic; next counts below x2 and above x1.
  const double x1 = 2, x2 = 0, f1 = 4, f2 = 0, d1 = 4, d2 = 0;
  const int ne = 5;
  const double xe[ne] = {-1, 0, 1, 2, 3};
  double fe[ne], fe2[ne], de[ne];
  int next[2], next2[2], ierr = -9;
  dchfev(&x1, &x2, &f1, &f2, &d1, &d2, &ne, xe, fe, next, &ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(Vector(fe, fe + ne), (Vector{1, 0, 1, 4, 9}));  // x^2
  EXPECT_EQ(next[0], 1);
  EXPECT_EQ(next[1], 1);
  dchfdv(&x1, &x2, &f1, &f2, &d1, &d2, &ne, xe, fe2, de, next2, &ierr);
  EXPECT_EQ(std::memcmp(fe, fe2, sizeof fe), 0);
  EXPECT_EQ(Vector(de, de + ne), (Vector{-2, 0, 2, 4, 6}));
  EXPECT_EQ(next2[0], next[0]);
  EXPECT_EQ(next2[1], next[1]);
}

TEST(HermiteEvaluation, EasyEvaluator) {
  const Curve c{{0, 1, 2, 3}, {0, 1, 4, 9}, {0, 1.5, 3.75, 6}};
  const int n = 4, nval = 3;
  const double xval[nval] = {2.5, 0.5, 1.5};
  double fval[nval], dval[nval];
  int ierr = -9;
  dpchev(&n, c.x.data(), c.f.data(), c.d.data(), &nval, xval, fval, dval, &ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_EQ(Vector(fval, fval + 3), (Vector{6.21875, 0.3125, 2.21875}));
  const auto full = values_and_slopes(c, {2.5, 0.5, 1.5});
  EXPECT_EQ(Vector(dval, dval + 3), full.de);
}

class EvaluationErrors : public FatalPaths {};

TEST_F(EvaluationErrors, ChecksAndSkipFlag) {
  errors_return_silently();
  const Curve c{{1, 2, 3, 7, 5}, {0, 1, 2, 3, 4}, {1, 1, 1, 1, 1}};
  const Vector xe{1.5};
  double fe = -7;
  const int incfd = 1, one = 1, zero = 0;
  int skip = 0, ierr = 0, n = 5;
  // Order checked without skip; skip stays false after a data error.
  dpchfe(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &one, xe.data(), &fe, &ierr);
  EXPECT_EQ(ierr, -3);
  EXPECT_EQ(skip, 0);
  // With skip the order is not checked; no points is -4, and skip is true.
  skip = 1;
  dpchfe(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &zero, xe.data(), &fe, &ierr);
  EXPECT_EQ(ierr, -4);
  skip = 0;
  n = 3;
  dpchfe(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &zero, xe.data(), &fe, &ierr);
  EXPECT_EQ(ierr, -4);
  EXPECT_EQ(skip, 1);
  // Fewer than two points and a bad increment are refused even with skip.
  for (const auto& [nn, inc, expected] : {std::tuple{1, 1, -1}, {0, 1, -1}, {-3, 1, -1}, {3, 0, -2}}) {
    skip = 1;
    dpchfe(&nn, c.x.data(), c.f.data(), c.d.data(), &inc, &skip, &one, xe.data(), &fe, &ierr);
    EXPECT_EQ(ierr, expected);
    double de = -7;
    dpchfd(&nn, c.x.data(), c.f.data(), c.d.data(), &inc, &skip, &one, xe.data(), &fe, &de, &ierr);
    EXPECT_EQ(ierr, expected);
    if (inc == 1) {  // the easy evaluator has no increment
      dpchev(&nn, c.x.data(), c.f.data(), c.d.data(), &one, xe.data(), &fe, &de, &ierr);
      EXPECT_EQ(ierr, expected);
    }
  }
  EXPECT_EQ(fe, -7.0);  // no failing call wrote a result
  // The one-cubic evaluators.
  const double a = 0, b = 1, f1 = 3, f2 = 7, d1 = 3, d2 = 6;
  int next[2];
  double de = 0;
  dchfev(&a, &b, &f1, &f2, &d1, &d2, &zero, xe.data(), &fe, next, &ierr);
  EXPECT_EQ(ierr, -1);
  dchfdv(&b, &b, &f1, &f2, &d1, &d2, &one, xe.data(), &fe, &de, next, &ierr);
  EXPECT_EQ(ierr, -2);
}

// Equal neighbouring abscissas behind a skip flag: the one-cubic evaluator
// reports first, then the driver's fatal report ends the process (level 1
// reports continue under control setting 1).
TEST_F(EvaluationErrors, EqualAbscissasBehindSkipAreFatal) {
  pchip::j4save(2, 1, true);
  const Curve c{{0, 1, 1}, {0, 1, 2}, {1, 1, 1}};
  const auto o = run_captured([&] { values(c, {0.5, 1.5}, 1); });
  EXPECT_EQ(o.status, 1);
  const std::string& out = o.out;
  const auto first = out.find(" *  INTERVAL ENDPOINTS EQUAL");
  const auto second = out.find(" *  ERROR RETURN FROM DCHFEV -- FATAL");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(second, std::string::npos);
  EXPECT_LT(first, second);
  EXPECT_NE(out.find(" ***MESSAGE FROM ROUTINE DCHFEV IN LIBRARY SLATEC."), std::string::npos);
  EXPECT_NE(out.find(" ***FATAL ERROR, PROG ABORTED, TRACEBACK REQUESTED"), std::string::npos);
  EXPECT_NE(out.find(" SLATEC     DCHFEV     INTERVAL ENDPOINTS E        -2         1         1\n"
                     " SLATEC     DPCHFE     ERROR RETURN FROM DC        -5         2         1\n"),
            std::string::npos);
}

// Abscissas out of order behind a skip flag: no crash, every point is
// evaluated on some interval and the call ends.
TEST_F(EvaluationErrors, UnorderedAbscissasBehindSkipStillEnd) {
  errors_return_silently();
  const Curve c{{0, 5, 1, 2, 9, 3}, {0, 1, 2, 3, 4, 5}, {1, 1, 1, 1, 1, 1}};
  std::mt19937 gen(9);
  std::uniform_real_distribution<double> where(-2, 11);
  for (int trial = 0; trial < 50; ++trial) {
    Vector xe(20);
    for (double& v : xe) v = where(gen);
    const auto run = run_captured([&] { values(c, xe, 1); });
    EXPECT_TRUE(run.status == -1 || run.status == 1);  // -5 is level 2: fatal
  }
}

}  // namespace
}  // namespace tavrin
