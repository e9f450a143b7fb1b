// Shared pieces of the numerics tests: a fixture that keeps the first-error
// latch open around each test, reproducible random matrices and column-major
// products and comparisons.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/errorhandling.hpp"

namespace tavrin::testing {

class LatchTest : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset() { int done = 0; errorhandling::rsxerr(done, 1); }
  static int status() { return errorhandling::errstat; }
  static std::string_view message() { return errorhandling::errstring.trimmed(); }
  // The latch as (status, message), read and cleared: compare with latch(...).
  // A clear latch keeps its last message, so status 0 reads as (0, "").
  static std::pair<int, std::string> take() {
    std::pair<int, std::string> seen{status(), status() ? std::string(message()) : ""};
    reset();
    return seen;
  }
  static std::pair<int, std::string> latch(int status, std::string message = "") { return {status, message}; }
};

// n×m column-major entries uniform in [-1, 1), the same on every run.
inline std::vector<double> random_matrix(int n, int m, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<double> a(std::size_t(n) * std::size_t(m));
  for (double& x : a) x = u(gen);
  return a;
}

// a·b for column-major a (m×k) and b (k×n).
inline std::vector<double> matmul(const std::vector<double>& a, const std::vector<double>& b, int m, int k,
                                  int n) {
  std::vector<double> c(std::size_t(m) * std::size_t(n), 0.0);
  for (int j = 0; j < n; ++j)
    for (int l = 0; l < k; ++l)
      for (int i = 0; i < m; ++i) c[std::size_t(i + j * m)] += a[std::size_t(i + l * m)] * b[std::size_t(l + j * k)];
  return c;
}

// The transpose of a column-major m×n matrix.
inline std::vector<double> transposed(const std::vector<double>& a, int m, int n) {
  std::vector<double> t(a.size());
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < m; ++i) t[std::size_t(j + i * n)] = a[std::size_t(i + j * m)];
  return t;
}

inline std::vector<double> identity_matrix(int n) {
  std::vector<double> e(std::size_t(n) * std::size_t(n), 0.0);
  for (int i = 0; i < n; ++i) e[std::size_t(i * (n + 1))] = 1.0;
  return e;
}

// A random symmetric positive-definite n×n matrix: Bᵀ·B + n·I.
inline std::vector<double> random_spd(int n, unsigned seed) {
  const std::vector<double> b = random_matrix(n, n, seed);
  std::vector<double> a = matmul(transposed(b, n, n), b, n, n, n);
  for (int i = 0; i < n; ++i) a[std::size_t(i * (n + 1))] += n;
  return a;
}

template <class A, class B>
void expect_all_near(const A& got, const B& want, double tol) {
  ASSERT_EQ(std::size(got), std::size(want));
  for (std::size_t i = 0; i < std::size(got); ++i) EXPECT_NEAR(got[i], want[i], tol) << "entry " << i;
}

}  // namespace tavrin::testing
