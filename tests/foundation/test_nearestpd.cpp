// Nearest positive-definite and correlation matrices, and the tests of
// positive definiteness.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "foundation/linalg.hpp"
#include "foundation/nearestpd.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using testing::expect_all_near;
using NearestPD = testing::LatchTest;
using Matrix = std::vector<double>;  // column-major, square

int order(const Matrix& a) { return int(std::lround(std::sqrt(double(a.size())))); }

bool passes_cholesky(const Matrix& a) {
  Matrix c(a.size());
  const int n = order(a);
  return math::cholesky({a.data(), n, n}, {c.data(), n, n});
}

void correlation(double* corr, const double* a, const int* n) {
  GetNearestCorrelationMatrix(corr, a, n, nullptr, nullptr, nullptr, nullptr);
}

// out = f(out, a, n) for GetNearestSPD, GetProjectedSPD and the correlation; out starts at 7.
Matrix nearest(void (*f)(double*, const double*, const int*), const Matrix& a) {
  Matrix out(a.size(), 7.0);
  const int n = order(a);
  f(out.data(), a.data(), &n);
  return out;
}

TEST_F(NearestPD, NearestSymmetricPositiveDefinite) {
  expect_all_near(nearest(GetProjectedSPD, {1.0, 0.0, 0.0, -2.0}), Matrix{1.0, 0.0, 0.0, 0.0}, 1e-15);
  const Matrix pd = nearest(GetNearestSPD, {1.0, 2.0, 2.0, 1.0});
  expect_all_near(pd, Matrix{1.5, 1.5, 1.5, 1.5}, 1e-15);
  EXPECT_TRUE(passes_cholesky(pd));
  // A singular matrix whose entries dwarf the ε shift: the shift is raised
  // to what the diagonal can take, so the search ends.
  const Matrix big = nearest(GetNearestSPD, {1e6, 1e6, 1e6, 1e6});
  EXPECT_TRUE(passes_cholesky(big));
  expect_all_near(big, Matrix{1e6, 1e6, 1e6, 1e6}, 1e-6);
  EXPECT_EQ(take(), latch(0));
  // Entries that are not finite numbers, or whose products overflow, are refused.
  const double inf = std::numeric_limits<double>::infinity();
  for (const Matrix& a : {Matrix{1.0, std::nan(""), 0.0, 1.0}, Matrix{1e308, 1e308, 1e308, 1e308}}) {
    EXPECT_TRUE(std::isnan(nearest(GetNearestSPD, a)[0]));
    EXPECT_EQ(take(), latch(-3, "Matrix entries must be finite numbers"));
  }
  EXPECT_EQ(nearest(correlation, {1.0, inf, inf, 1.0}), Matrix(4, 0.0));
  EXPECT_EQ(take().first, -3);
}

TEST_F(NearestPD, NearestCorrelationDistanceAndDefiniteness) {
  const Matrix c = nearest(correlation, {1.0, 1.0, 0.0, 1.0, 1.0, 1.0, 0.0, 1.0, 1.0});
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(c[std::size_t(i * 4)], 1.0, 1e-12);
  EXPECT_TRUE(passes_cholesky(c));
  // A valid correlation matrix comes back (up to the final shrinking).
  const Matrix valid{1.0, 0.5, 0.2, 0.5, 1.0, 0.3, 0.2, 0.3, 1.0};
  expect_all_near(nearest(correlation, valid), valid, 1e-8);
  EXPECT_EQ(take(), latch(0));
  // The distance to the nearest positive-definite matrix; a singular one is not positive definite.
  const Matrix spd = testing::random_spd(4, 9), indefinite{1.0, 2.0, 2.0, 1.0}, singular{1.0, 1.0, 1.0, 1.0};
  const int n4 = 4, n2 = 2;
  EXPECT_EQ(GetNearestPDNorm(spd.data(), &n4), 0.0);
  EXPECT_NEAR(GetNearestPDNorm(indefinite.data(), &n2), 1.0, 1e-14);  // ‖a - 1.5·ones‖
  EXPECT_EQ(IsPositiveDefinite(singular.data(), &n2, nullptr), 0);
  EXPECT_EQ(take(), latch(-2, "Singularity in LU-factorization computation"));
}

}  // namespace
}  // namespace tavrin
