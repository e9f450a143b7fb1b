// Monotonicity of Hermite data: one cubic (chfcm), the combination over a
// curve and the curve check (pchcm).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "fatal_paths.hpp"
#include "pchip/monotonicity.hpp"

namespace tavrin {
namespace {

using namespace testing_support;
using Codes = std::vector<int>;

Codes check(const Vector& x, const Vector& f, const Vector& d, int& ierr, int skip = 0, int incfd = 1) {
  const int n = int(x.size());
  Codes ismon(std::max<std::size_t>(x.size(), 1), -99);
  dpchcm(&n, x.data(), f.data(), d.data(), &incfd, &skip, ismon.data(), &ierr);
  return ismon;
}

// d1, d2, delta, code: inside the square, on the ellipse (borderline), beyond
// it, outside [0, 4]^2, negative scaled slopes, constant and flat intervals.
TEST(Monotonicity, OneCubic) {
  const std::tuple<double, double, double, int> cases[] = {
      {0, 0, 1, 1},   {3, 3, 1, 3},    {0, 4.5, 1, 2},  {5, 5, 1, 2},    {-1, 1, 1, 2},  {1, -1e-300, 1, 2},
      {0, 0, 0, 0},   {1, 0, 0, 2},    {0, -1, 0, 2},   {-1, -1, -1, -1}, {-3, -3, -1, -3}, {2, 2, 2, 1},
      {3.5, 3.5, 1, 2}, {3.2, 1, 1, 1}, {4, 1, 1, 3},    {2, 0, -1, 2},
  };
  for (const auto& [d1, d2, delta, code] : cases) EXPECT_EQ(dchfcm(&d1, &d2, &delta), code) << d1 << " " << d2;
}

// Away from the boundary the code agrees with the sign of the cubic's
// derivative sampled densely: a + (6 - 4a - 2b) t + (3a + 3b - 6) t^2 on [0, 1].
TEST(Monotonicity, AgreesWithTheSampledDerivative) {
  std::mt19937 gen(11);
  std::uniform_real_distribution<double> u(-0.5, 5);
  int tested = 0;
  for (int trial = 0; trial < 4000; ++trial) {
    const double a = u(gen), b = u(gen);
    double lowest = 1e300;
    for (int k = 0; k <= 4000; ++k) {
      const double t = k / 4000.0;
      lowest = std::min(lowest, a + (6 - 4 * a - 2 * b) * t + (3 * a + 3 * b - 6) * t * t);
    }
    if (std::abs(lowest) < 1e-4) continue;  // too near the boundary for sampling
    ++tested;
    const double delta = -2.0, d1 = a * delta, d2 = b * delta;  // a decreasing interval
    EXPECT_EQ(dchfcm(&d1, &d2, &delta), lowest > 0 ? -1 : 2) << a << " " << b;
  }
  EXPECT_GT(tested, 3000);
}

// The combination table: row the curve's code so far, column the next
// interval's code.
TEST(Monotonicity, CombinationTable) {
  const int codes[] = {-3, -1, 0, 1, 3, 2};
  const int table[6][6] = {{-3, -3, -3, 2, 2, 2}, {-3, -1, -1, 2, 2, 2}, {-3, -1, 0, 1, 3, 2},
                           {2, 2, 1, 1, 3, 2},    {2, 2, 3, 3, 3, 2},    {2, 2, 2, 2, 2, 2}};
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 6; ++c) EXPECT_EQ(pchip::combine_monotonicity(codes[r], codes[c]), table[r][c]) << r << c;
}

class MonotonicityChecks : public FatalPaths {};

// Curves: the seven-point test data, x^3 on the ellipse's edge, constant
// data, a rise then a fall, and strided data.
TEST_F(MonotonicityChecks, Curves) {
  const Vector x7{1, 2, 3, 4, 5, 6, 7};
  const std::tuple<Vector, Vector, Vector, Codes> cases[] = {
      {x7, {0, 2, 3, 5, 3, 2, 0}, {1, 3, 3, 0, -3, -3, -1}, {1, 3, 1, -1, -3, -1, 2}},
      {{-1, 0, 1}, {-1, 0, 1}, {3, 0, 3}, {3, 3, 3}},
      {{0, 1, 2}, {4, 4, 4}, {0, 0, 0}, {0, 0, 0}},
      {{0, 1, 2}, {0, 1, 0}, {1, 0, -1}, {1, -1, 2}},
      {{0, 1, 2, 3}, {0, 0, 1, 1}, {0, 0, 0, 0}, {0, 1, 0, 1}},
  };
  for (const auto& [x, f, d, expected] : cases) {
    int ierr = -7;
    EXPECT_EQ(check(x, f, d, ierr), expected);
    EXPECT_EQ(ierr, 0);
  }
  // Stride 2: only the first row is read.
  int ierr = -7;
  EXPECT_EQ(check({0, 1, 2}, {0, 9, 1, 9, 0, 9}, {1, 9, 0, 9, -1, 9}, ierr, 0, 2), (Codes{1, -1, 2}));
}

// Data checks: n >= 2 even with skip set (it used to return 0 with ismon
// unset), increments, the order scan only without skip; ismon untouched.
TEST_F(MonotonicityChecks, DataChecks) {
  errors_return_silently();
  const std::tuple<Vector, int, int, int> cases[] = {  // x, skip, incfd, status
      {{1}, 1, 1, -1}, {{1}, 0, 1, -1}, {{0, 1}, 1, 0, -2}, {{1, 0}, 0, 1, -3}, {{1, 0}, 1, 1, 0}};
  for (const auto& [x, skip, incfd, status] : cases) {
    int ierr = -7, sk = skip;
    const int n = int(x.size());
    const Vector f(4, 0.0), d(4, 0.0);
    Codes ismon(2, -99);
    dpchcm(&n, x.data(), f.data(), d.data(), &incfd, &sk, ismon.data(), &ierr);
    EXPECT_EQ(ierr, status);
    EXPECT_EQ(sk, status == 0 ? 1 : skip);
    if (status < 0) EXPECT_EQ(ismon, (Codes{-99, -99}));
  }
}

}  // namespace
}  // namespace tavrin
