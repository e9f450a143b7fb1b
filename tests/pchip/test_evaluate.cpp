// Evaluating Hermite curves: one cubic, the whole curve in any point order,
// the easy evaluator, and their error returns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "fatal_paths.hpp"

namespace tavrin {
namespace {

using namespace testing_support;

// The multi-interval evaluation in its reference form, step by step, over the
// one-cubic evaluator (0-based): runs of points left of x[ir], restarting from
// the interval of the first point of a run that lies left of its interval.
Evaluation stated_evaluation(const Curve& c, const Vector& xe) {
  const int n = c.n(), ne = int(xe.size());
  Evaluation e{Vector(xe.size(), -7.0), {}, 0};
  for (int jfirst = 0, ir = 1; ir < n && jfirst < ne; ++ir) {
    int j = jfirst;
    while (j < ne && (ir == n - 1 || !(xe[std::size_t(j)] >= c.x[std::size_t(ir)]))) ++j;
    const int nj = j - jfirst;
    if (nj == 0) continue;
    int next[2], ierc = 0;
    const std::size_t l = std::size_t(ir - 1), r = std::size_t(ir), k = std::size_t(jfirst);
    dchfev(&c.x[l], &c.x[r], &c.f[l], &c.f[r], &c.d[l], &c.d[r], &nj, &xe[k], &e.fe[k], next, &ierc);
    if (ierc < 0 || (next[1] != 0 && ir < n - 1)) return {e.fe, {}, -5};
    e.ierr += next[1];
    if (next[0] != 0 && ir == 1) {
      e.ierr += next[0];
    } else if (next[0] != 0) {
      j = jfirst;
      while (j < jfirst + nj && !(xe[std::size_t(j)] < c.x[l])) ++j;
      int i = 0;
      while (i < ir && !(xe[std::size_t(j)] < c.x[std::size_t(i)])) ++i;
      ir = std::max(0, i - 1);
    }
    jfirst = j;
  }
  return e;
}

bool same_bits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Points in any order, with nodes, repeats and NaN among them: values and
// status as stated, bit for bit, from all three evaluators (the easy one's
// slopes those of pchfd).  A point right of the data may be counted once more
// per pass over the last interval.
TEST(HermiteEvaluation, AnyPointOrderAsStated) {
  std::mt19937 gen(3);
  std::uniform_real_distribution<double> step(0.05, 2), value(-3, 3);
  for (int n : {2, 3, 4, 7, 30}) {
    Vector x{value(gen)}, f{value(gen)};
    for (int i = 1; i < n; ++i) {
      x.push_back(x.back() + step(gen));
      f.push_back(value(gen));
    }
    const Curve c = monotone(x, f);
    std::uniform_real_distribution<double> where(c.x.front() - 1.5, c.x.back() + 1.5);
    for (int trial = 0; trial < 40; ++trial) {
      Vector xe(std::size_t(1 + trial * 3));
      for (double& v : xe) v = where(gen);
      if (trial % 4 == 1) xe.insert(xe.end(), c.x.begin(), c.x.end());
      if (trial % 4 == 2) xe.insert(xe.end(), {c.x.back(), c.x.back() + 1, c.x.back() + 1, c.x.front()});
      std::shuffle(xe.begin(), xe.end(), gen);
      if (trial % 3 == 0) std::sort(xe.begin(), xe.end());
      if (trial % 6 == 5) std::sort(xe.rbegin(), xe.rend());
      if (trial % 5 == 3) xe[xe.size() / 2] = std::numeric_limits<double>::quiet_NaN();
      SCOPED_TRACE("n " + std::to_string(n) + ", trial " + std::to_string(trial));
      const Evaluation stated = stated_evaluation(c, xe), slopes = evaluate(c, xe, Slopes);
      for (Evaluator how : {Values, Slopes, Easy}) {
        const Evaluation got = evaluate(c, xe, how);
        EXPECT_EQ(got.ierr, stated.ierr) << "evaluator " << how;
        for (std::size_t k = 0; k < xe.size(); ++k)
          EXPECT_TRUE(same_bits(got.fe[k], stated.fe[k]) && (how != Easy || same_bits(got.de[k], slopes.de[k])))
              << "evaluator " << how << ", point " << k;
      }
    }
  }
  // Three points right of x(n), taken by three passes (3, then 2, then 1).
  EXPECT_EQ(evaluate({{0, 1, 2, 3}, {0, 1, 4, 9}, {0, 1.5, 3.75, 6}}, {4, 0.5, 4.5, 0.5, 5}).ierr, 6);
}

// From the values and slopes of a cubic at the nodes, the curve is that cubic,
// inside and outside the data; so is one of its pieces taken with reversed
// ends, which counts the points below and above it.
TEST(HermiteEvaluation, CubicDataReproduced) {
  auto p = [](double t) { return ((0.5 * t - 2) * t + 1) * t + 3; };
  auto dp = [](double t) { return (1.5 * t - 4) * t + 1; };
  Curve c;
  for (double t : {-2.0, -0.5, 0.25, 1.0, 3.5}) {
    c.x.push_back(t);
    c.f.push_back(p(t));
    c.d.push_back(dp(t));
  }
  Vector xe;
  for (int k = 0; k <= 64; ++k) xe.push_back(k / 8.0 - 4);
  const int ne = int(xe.size());
  Evaluation one{Vector(xe.size()), Vector(xe.size())};
  int next[2];
  dchfdv(&c.x[3], &c.x[1], &c.f[3], &c.f[1], &c.d[3], &c.d[1], &ne, xe.data(), one.fe.data(), one.de.data(),
         next, &one.ierr);
  EXPECT_EQ((std::tuple{one.ierr, next[0], next[1]}), (std::tuple{0, 28, 24}));  // below -0.5, above 1
  for (const Evaluation& e : {evaluate(c, xe, Slopes), one})
    for (std::size_t k = 0; k < xe.size(); ++k) {
      EXPECT_NEAR(e.fe[k], p(xe[k]), 1e-12 * (1 + std::abs(p(xe[k]))));
      EXPECT_NEAR(e.de[k], dp(xe[k]), 1e-12 * (1 + std::abs(dp(xe[k]))));
    }
}

class EvaluationErrors : public FatalPaths {};

TEST_F(EvaluationErrors, ChecksAndSkipFlag) {
  errors_return_silently();
  const Curve c{{1, 2, 3, 7, 5}, {0, 1, 2, 3, 4}, {1, 1, 1, 1, 1}};
  const double xe = 1.5;
  double fe = -7;
  // n, increment, skip, points; status, skip after: the order is checked only
  // without skip, which a data error leaves false; fewer than two points and a
  // bad increment are refused even with skip, n checked first.  No failing
  // call writes a value.
  const int cases[][6] = {{5, 1, 0, 1, -3, 0}, {5, 1, 1, 0, -4, 1}, {3, 1, 0, 0, -4, 1}, {1, 1, 1, 1, -1, 1},
                          {0, 1, 1, 1, -1, 1}, {-3, 0, 1, 1, -1, 1}, {3, 0, 1, 1, -2, 1}};
  for (const auto& [n, incfd, skip_in, ne, status, skip_out] : cases) {
    int skip = skip_in, ierr = 0;
    dpchfe(&n, c.x.data(), c.f.data(), c.d.data(), &incfd, &skip, &ne, &xe, &fe, &ierr);
    EXPECT_EQ((std::pair{ierr, skip}), (std::pair{status, skip_out})) << n << " " << incfd;
  }
  EXPECT_EQ(fe, -7.0);
}

// Behind a skip flag, equal neighbouring abscissas: the one-cubic evaluator
// reports first, then the driver's fatal report ends the process (level 1
// reports continue under control setting 1).  Abscissas out of order: no
// crash, every point is evaluated on some interval and the call ends.
TEST_F(EvaluationErrors, BadAbscissasBehindSkip) {
  pchip::j4save(2, 1, true);
  const auto o = run_captured([] { evaluate({{0, 1, 1}, {0, 1, 2}, {1, 1, 1}}, {0.5, 1.5}, Values, 1); });
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.out.find(" SLATEC     DCHFEV     INTERVAL ENDPOINTS E        -2         1         1\n"
                       " SLATEC     DPCHFE     ERROR RETURN FROM DC        -5         2         1\n"),
            std::string::npos);
  pchip::reset_error_facility();
  errors_return_silently();
  const Curve c{{0, 5, 1, 2, 9, 3}, {0, 1, 2, 3, 4, 5}, {1, 1, 1, 1, 1, 1}};
  std::mt19937 gen(9);
  std::uniform_real_distribution<double> where(-2, 11);
  for (int trial = 0; trial < 50; ++trial) {
    Vector xe(20);
    for (double& v : xe) v = where(gen);
    EXPECT_EQ(std::abs(run_captured([&] { evaluate(c, xe, Values, 1); }).status), 1);  // returned, or -5: fatal
  }
}

}  // namespace
}  // namespace tavrin
