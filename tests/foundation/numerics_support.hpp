// Shared pieces of the numerics tests: a fixture that keeps the first-error
// latch open around each test, and reproducible random matrices.
#pragma once

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/errorhandling.hpp"

namespace tavrin::testing {

class LatchTest : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset() {
    int done = 0;
    errorhandling::rsxerr(done, 1);
  }
  static int status() { return errorhandling::errstat; }
  static std::string_view message() { return errorhandling::errstring.trimmed(); }
};

// n×m column-major entries uniform in [-1, 1), the same on every run.
inline std::vector<double> random_matrix(int n, int m, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<double> a(std::size_t(n) * std::size_t(m));
  for (double& x : a) x = u(gen);
  return a;
}

// A random symmetric positive-definite n×n matrix: Bᵀ·B + n·I.
inline std::vector<double> random_spd(int n, unsigned seed) {
  const std::vector<double> b = random_matrix(n, n, seed);
  std::vector<double> a(std::size_t(n) * std::size_t(n));
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      double s = i == j ? n : 0.0;
      for (int k = 0; k < n; ++k) s += b[std::size_t(k + i * n)] * b[std::size_t(k + j * n)];
      a[std::size_t(i + j * n)] = s;
    }
  return a;
}

}  // namespace tavrin::testing
