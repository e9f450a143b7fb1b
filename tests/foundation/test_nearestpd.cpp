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

using NearestPD = testing::LatchTest;
using Matrix = std::vector<double>;  // column-major, square

int order(const Matrix& a) { return int(std::lround(std::sqrt(double(a.size())))); }

bool passes_cholesky(const Matrix& a) {
  Matrix c(a.size());
  const int n = order(a);
  return math::cholesky({a.data(), n, n}, {c.data(), n, n});
}

Matrix nearest_spd(const Matrix& a) {
  Matrix pd(a.size());
  const int n = order(a);
  GetNearestSPD(pd.data(), a.data(), &n);
  return pd;
}

Matrix correlation(const Matrix& a, const double* weights = nullptr, const int* maxiter = nullptr,
                   const int* cflag = nullptr) {
  Matrix corr(a.size(), 7.0);
  const int n = order(a);
  GetNearestCorrelationMatrix(corr.data(), a.data(), &n, weights, nullptr, maxiter, cflag);
  return corr;
}

void expect_near(const Matrix& got, const Matrix& want, double tol) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], want[i], tol) << "entry " << i;
}

void expect_correlation(const Matrix& c) {
  const int n = order(c);
  for (int i = 0; i < n; ++i) EXPECT_NEAR(c[std::size_t(i * (n + 1))], 1.0, 1e-12);
  EXPECT_TRUE(passes_cholesky(c));
}

TEST_F(NearestPD, Projection) {
  const Matrix spd{2.0, 1.0, 1.0, 2.0}, indefinite{1.0, 0.0, 0.0, -2.0};
  Matrix out(4);
  const int n = 2;
  GetProjectedSPD(out.data(), spd.data(), &n);
  expect_near(out, spd, 1e-15);
  GetProjectedSPD(out.data(), indefinite.data(), &n);
  expect_near(out, {1.0, 0.0, 0.0, 0.0}, 1e-15);
}

TEST_F(NearestPD, NearestSymmetricPositiveDefinite) {
  const Matrix spd = testing::random_spd(5, 3);
  EXPECT_EQ(nearest_spd(spd).size(), spd.size());
  expect_near(nearest_spd(spd), spd, 1e-12);
  const Matrix pd = nearest_spd({1.0, 2.0, 2.0, 1.0});
  expect_near(pd, {1.5, 1.5, 1.5, 1.5}, 1e-15);
  EXPECT_TRUE(passes_cholesky(pd));
  // A singular matrix whose entries dwarf the ε shift: the shift is raised
  // to what the diagonal can take, so the search ends.
  const Matrix big = nearest_spd({1e6, 1e6, 1e6, 1e6});
  EXPECT_TRUE(passes_cholesky(big));
  expect_near(big, {1e6, 1e6, 1e6, 1e6}, 1e-6);
  EXPECT_EQ(status(), 0);
}

TEST_F(NearestPD, NonFiniteInputIsRefused) {
  const double inf = std::numeric_limits<double>::infinity();
  const Matrix bad{1.0, std::nan(""), 0.0, 1.0}, huge{1e308, 1e308, 1e308, 1e308};
  for (const Matrix& a : {bad, huge}) {
    reset();
    const Matrix pd = nearest_spd(a);
    EXPECT_TRUE(std::isnan(pd[0]));
    EXPECT_EQ(status(), -3);
    EXPECT_EQ(message(), "Matrix entries must be finite numbers");
  }
  reset();
  EXPECT_EQ(correlation({1.0, inf, inf, 1.0}), Matrix(4, 0.0));
  EXPECT_EQ(status(), -3);
}

TEST_F(NearestPD, NearestCorrelation) {
  const Matrix c = correlation({1.0, 1.0, 0.0, 1.0, 1.0, 1.0, 0.0, 1.0, 1.0});
  expect_correlation(c);
  // A valid correlation matrix comes back (up to the final shrinking).
  const Matrix valid{1.0, 0.5, 0.2, 0.5, 1.0, 0.3, 0.2, 0.3, 1.0};
  expect_near(correlation(valid), valid, 1e-8);
  // Weights -1 throughout are no weights; equal weights do not matter.
  const std::vector<double> minus_one(3, -1.0), twos(3, 2.0);
  EXPECT_EQ(correlation(c, minus_one.data()), correlation(c));
  expect_near(correlation(c, twos.data()), correlation(c), 1e-12);
  for (const int flag : {1, 2}) expect_correlation(correlation(valid, nullptr, nullptr, &flag));
  EXPECT_EQ(status(), 0);
}

TEST_F(NearestPD, NonConvergenceReturnsZeroAndWarns) {
  const int one = 1;
  EXPECT_EQ(correlation({1.0, 1.0, 0.0, 1.0, 1.0, 1.0, 0.0, 1.0, 1.0}, nullptr, &one),
            Matrix(9, 0.0));
  EXPECT_EQ(status(), -1);
  EXPECT_EQ(message(), "Warning: Nearest correlation matrix did not converge");
}

TEST_F(NearestPD, DistanceAndDefiniteness) {
  const Matrix spd = testing::random_spd(4, 9);
  const int n4 = 4, n2 = 2;
  EXPECT_EQ(GetNearestPDNorm(spd.data(), &n4), 0.0);
  const Matrix indefinite{1.0, 2.0, 2.0, 1.0};
  EXPECT_NEAR(GetNearestPDNorm(indefinite.data(), &n2), 1.0, 1e-14);  // ‖a - 1.5·ones‖
  const Matrix quarter{1.0, 0.0, 0.0, 0.25}, eye{1.0, 0.0, 0.0, 1.0};
  const double half = 0.5;
  EXPECT_EQ(IsPositiveDefinite(quarter.data(), &n2, &half), 0);
  EXPECT_EQ(IsPositiveDefinite(eye.data(), &n2, &half), 1);
  EXPECT_EQ(IsPositiveDefinite(eye.data(), &n2, nullptr), 1);
  EXPECT_EQ(status(), 0);
  const Matrix singular{1.0, 1.0, 1.0, 1.0};
  EXPECT_EQ(IsPositiveDefinite(singular.data(), &n2, nullptr), 0);
  EXPECT_EQ(status(), -2);
  EXPECT_EQ(message(), "Singularity in LU-factorization computation");
}

}  // namespace
}  // namespace tavrin
