// Dense linear algebra: properties over random matrices and the failure paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "foundation/linalg.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using namespace testing;
using Linalg = testing::LatchTest;
using Matrix = std::vector<double>;  // column-major

double det(const double* a, int n, const int* weight = nullptr) {
  double d = 0.0;
  Determinant(&d, a, &n, weight);
  return d;
}

double lu_det(const double* a, int n) {
  double d = 5.0;
  LUFactDeterminant(&d, a, &n);
  return d;
}

TEST_F(Linalg, InverseTimesMatrixIsTheIdentity) {
  // Sizes on the stack path and beyond it; a·a⁻¹ = I to a few hundred ulps
  // for these well-conditioned random matrices (diagonally shifted).
  for (int n : {1, 2, 3, 6, 8, 9, 17}) {
    Matrix a = random_matrix(n, n, unsigned(n)), inv(std::size_t(n * n));
    for (int i = 0; i < n; ++i) a[std::size_t(i * (n + 1))] += 2.0;
    const Matrix original = a;
    MatrixInverse(a.data(), inv.data(), &n);
    EXPECT_EQ(a, original) << "the input must not change";
    expect_all_near(matmul(a, inv, n, n, n), identity_matrix(n), 1e-13);
    MatrixInverse(a.data(), a.data(), &n);  // in place: the result overwrites its own input
    EXPECT_EQ(a, inv);
  }
  EXPECT_EQ(take(), latch(0));
  // A singular matrix latches and leaves the LU factors of the pivoted
  // matrix: L = [[1, 0], [0.5, 1]], U = [[2, 4], [0, 0]].
  const std::array singular{1.0, 2.0, 2.0, 4.0};  // [[1, 2], [2, 4]]
  std::array<double, 4> inv{};
  for (const int n : {2, 0, -3}) MatrixInverse(singular.data(), inv.data(), &n);
  EXPECT_EQ(take(), latch(-2, "Matrix inverse becomes numerically singular!"));
  EXPECT_EQ(inv, (std::array{2.0, 0.5, 4.0, 0.0}));
}

TEST_F(Linalg, DeterminantsByCofactorsAndByLuFactors) {
  const std::array a{1.0, 3.0, 2.0, 4.0}, singular{1.0, 2.0, 2.0, 4.0};  // [[1, 2], [3, 4]], [[1, 2], [2, 4]]
  const int permanent = 1, f = 100000;
  // The determinant, the permanent, the 1×1 block and the empty matrices.
  EXPECT_EQ((std::array{det(a.data(), 2), det(a.data(), 2, &permanent), det(a.data(), 1), det(a.data(), 0),
                        lu_det(a.data(), 0)}),
            (std::array{-2.0, 10.0, 1.0, 0.0, 1.0}));
  // Large weight factors stay exact where 32-bit integer weights would wrap:
  // [[0,1,1],[1,0,0],[0,1,0]] has w = f on a zero minor and w = f² on a unit one.
  EXPECT_EQ(det(std::array{0.0, 1.0, 0.0, 1.0, 0.0, 1.0, 1.0, 0.0, 0.0}.data(), 3, &f), 1e10);
  // Both routes agree on random matrices, on the stack path and beyond it.
  for (int k : {3, 5, 8, 9, 12}) {
    const Matrix m = random_matrix(k, k, 40u + unsigned(k));
    EXPECT_NEAR(det(m.data(), k), lu_det(m.data(), k), 1e-13 * std::max(1.0, std::abs(lu_det(m.data(), k)))) << k;
  }
  // Beyond the expansion's reach the determinant comes from the LU factors,
  // and other weights are refused.
  Matrix d(24 * 24, 0.0);
  for (int i = 0; i < 24; ++i) d[std::size_t(i * 25)] = i % 2 ? 2.0 : -1.0;
  EXPECT_EQ(det(d.data(), 24), 4096.0);  // (-1)^12 · 2^12
  EXPECT_EQ(take(), latch(0));
  EXPECT_EQ(det(d.data(), 21, &permanent), 0.0);
  EXPECT_EQ(take(), latch(-3, "Matrix too large for the cofactor expansion"));
  EXPECT_EQ(lu_det(singular.data(), 2), 0.0);
  EXPECT_EQ(take(), latch(-2, "Singularity in LU-factorization computation"));
}

TEST_F(Linalg, SymmetricPositiveDefiniteEigenproblemFactorAndSolution) {
  for (int n : {1, 3, 6, 10}) {
    const Matrix a = random_spd(n, 7u + unsigned(n)), original = a, b = random_matrix(n, 1, 12u), zero(b.size(), 0.0);
    Matrix d(b.size()), z(a.size()), w(b.size(), -1.0), c(a.size()), x(b.size());
    MatrixEigenvalues(a.data(), d.data(), &n);
    MatrixEigenVectors(a.data(), z.data(), &n, w.data());
    EXPECT_EQ(a, original) << "LAPACK works on a copy";
    EXPECT_TRUE(std::is_sorted(d.begin(), d.end()));
    expect_all_near(w, d, 1e-12 * n);
    Matrix zw = z;  // A·z = z·Λ and zᵀ·z = I
    for (std::size_t i = 0; i < z.size(); ++i) zw[i] *= w[i / std::size_t(n)];
    expect_all_near(matmul(a, z, n, n, n), zw, 1e-12 * n * n);
    expect_all_near(matmul(transposed(z, n, n), z, n, n, n), identity_matrix(n), 1e-13 * n);
    MatrixEigenVectors(a.data(), z.data(), &n, nullptr);
    // Rᵀ·R over every entry of c: a non-zero strict lower triangle shows.
    CholeskyFactorization(a.data(), c.data(), &n);
    expect_all_near(matmul(transposed(c, n, n), c, n, n, n), a, 1e-13 * n);
    ConjugateGradient(x.data(), a.data(), b.data(), zero.data(), &n, &n);
    expect_all_near(matmul(a, x, n, n, 1), b, 1e-12);
  }
  EXPECT_EQ(take(), latch(0));
  // Not positive definite: every Cholesky entry the fill value, nothing latched.
  const Matrix indefinite{1.0, 2.0, 2.0, 1.0}, a{4.0, 1.0, 1.0, 3.0}, b{1.0, 2.0}, x0{1.0 / 11.0, 7.0 / 11.0};
  Matrix c(4), x{5.0, 5.0};
  const int two = 2, three = 3;
  CholeskyFactorization(indefinite.data(), c.data(), &two);
  EXPECT_EQ(c, Matrix(4, -1.7976931348623157e308));
  // Conjugate gradients starting at the solution take no step: a zero correction, not 0/0.
  ConjugateGradient(x.data(), a.data(), b.data(), x0.data(), &two, &two);
  EXPECT_EQ(x, (Matrix{0.0, 0.0}));
  EXPECT_EQ(take(), latch(0));
  // Not square: refused with a zero correction, a (3×2) not read.
  x.assign({9.0, 9.0, 9.0});
  ConjugateGradient(x.data(), a.data(), b.data(), x0.data(), &three, &two);
  EXPECT_EQ(x, (Matrix{0.0, 0.0, 9.0}));
  EXPECT_EQ(take(), latch(-3, "Conjugate gradient needs a square matrix"));
}

TEST_F(Linalg, SingularValueDecompositionReassembles) {
  for (auto [m, n] : {std::pair{3, 2}, std::pair{2, 5}, std::pair{6, 6}}) {
    const Matrix a = random_matrix(m, n, unsigned(10 * m + n));
    Matrix u(std::size_t(m * m)), s(a.size()), v(std::size_t(n * n));
    SingularValueDecomposition(a.data(), u.data(), s.data(), v.data(), &m, &n);
    Matrix diagonal(s.size(), 0.0), values;  // s is diagonal, descending
    for (int i = 0; i < std::min(m, n); ++i) values.push_back(diagonal[std::size_t(i * (m + 1))] = s[std::size_t(i * (m + 1))]);
    EXPECT_EQ(s, diagonal);
    EXPECT_TRUE(std::is_sorted(values.rbegin(), values.rend()));
    expect_all_near(matmul(matmul(u, s, m, m, n), v, m, n, n), a, 1e-14 * m * n);
  }
}

}  // namespace
}  // namespace tavrin
