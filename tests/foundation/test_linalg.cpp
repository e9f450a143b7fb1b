// Dense linear algebra: worked examples, properties and the failure paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "foundation/linalg.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using testing::random_matrix;
using testing::random_spd;
using Linalg = testing::LatchTest;

constexpr std::size_t sz(int n) { return std::size_t(n); }

// ‖a·b - I‖ entry-wise for n×n column-major a and b.
double distance_from_identity(const std::vector<double>& a, const std::vector<double>& b, int n) {
  double worst = 0.0;
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      double s = 0.0;
      for (int k = 0; k < n; ++k) s += a[std::size_t(i + k * n)] * b[std::size_t(k + j * n)];
      worst = std::max(worst, std::abs(s - (i == j ? 1.0 : 0.0)));
    }
  return worst;
}

TEST_F(Linalg, InverseTimesMatrixIsTheIdentity) {
  // Sizes on the stack path and beyond it; a·a⁻¹ = I to a few hundred ulps
  // for these well-conditioned random matrices (diagonally shifted).
  for (int n : {1, 2, 3, 6, 8, 9, 17}) {
    std::vector<double> a = random_matrix(n, n, unsigned(n));
    for (int i = 0; i < n; ++i) a[std::size_t(i * (n + 1))] += 2.0;
    const std::vector<double> original = a;
    std::vector<double> inv(a.size());
    MatrixInverse(a.data(), inv.data(), &n);
    EXPECT_EQ(a, original) << "the input must not change";
    EXPECT_LT(distance_from_identity(a, inv, n), 1e-13) << n;
    EXPECT_LT(distance_from_identity(inv, a, n), 1e-13) << n;
    // In place: the result overwrites its own input.
    MatrixInverse(a.data(), a.data(), &n);
    EXPECT_EQ(a, inv);
  }
  EXPECT_EQ(status(), 0);
  const Mat3 m{{4, 2, 0, 7, 6, 0, 0, 0, 2}};  // [[4, 7, 0], [2, 6, 0], [0, 0, 2]]
  const Mat3 inv = math::inverse(m);
  EXPECT_NEAR(inv(1, 1), 0.6, 1e-15);
  EXPECT_NEAR(inv(1, 2), -0.7, 1e-15);
  EXPECT_NEAR(inv(3, 3), 0.5, 1e-15);
}

TEST_F(Linalg, SingularInverseLatchesTheFirstMessageAndKeepsTheFactors) {
  const std::array a{1.0, 2.0, 2.0, 4.0};  // [[1, 2], [2, 4]]
  std::array<double, 4> inv{};
  const int n = 2;
  MatrixInverse(a.data(), inv.data(), &n);
  EXPECT_EQ(status(), -2);
  EXPECT_EQ(message(), "Matrix inverse becomes numerically singular!");
  // The LU factors of the pivoted matrix: L = [[1, 0], [0.5, 1]], U = [[2, 4], [0, 0]].
  EXPECT_EQ(inv, (std::array{2.0, 0.5, 4.0, 0.0}));
  EXPECT_NE(math::invert(View<const double, 2>(a.data(), 2, 2), View<double, 2>(inv.data(), 2, 2)), 0);
  int zero = 0, negative = -3;
  MatrixInverse(a.data(), inv.data(), &zero);
  MatrixInverse(a.data(), inv.data(), &negative);
}

TEST_F(Linalg, DeterminantsByCofactorsAndByLuFactors) {
  const std::array a{1.0, 3.0, 2.0, 4.0};  // [[1, 2], [3, 4]]
  const int n = 2, permanent = 1;
  double pd = 0.0;
  Determinant(&pd, a.data(), &n, nullptr);
  EXPECT_EQ(pd, -2.0);
  Determinant(&pd, a.data(), &n, &permanent);
  EXPECT_EQ(pd, 10.0);
  const int one = 1, none = 0;
  Determinant(&pd, a.data(), &one, nullptr);
  EXPECT_EQ(pd, 1.0);
  Determinant(&pd, a.data(), &none, nullptr);
  EXPECT_EQ(pd, 0.0);
  double lud = 0.0;
  LUFactDeterminant(&lud, a.data(), &n);
  EXPECT_NEAR(lud, -2.0, 1e-15);
  LUFactDeterminant(&lud, a.data(), &none);
  EXPECT_EQ(lud, 1.0);

  // Both routes agree on random matrices, on the stack path and beyond it.
  for (int k : {3, 5, 8, 9, 12}) {
    const std::vector<double> m = random_matrix(k, k, 40u + unsigned(k));
    Determinant(&pd, m.data(), &k, nullptr);
    LUFactDeterminant(&lud, m.data(), &k);
    EXPECT_NEAR(pd, lud, 1e-13 * std::max(1.0, std::abs(lud))) << k;
  }
  // Beyond the expansion's reach the determinant comes from the LU factors.
  const int big = 24;
  std::vector<double> d(sz(big * big), 0.0);
  for (int i = 0; i < big; ++i) d[std::size_t(i * (big + 1))] = i % 2 ? 2.0 : -1.0;
  Determinant(&pd, d.data(), &big, nullptr);
  EXPECT_EQ(pd, 4096.0);  // (-1)^12 · 2^12
  EXPECT_EQ(status(), 0);
}

TEST_F(Linalg, CofactorWeightsBeyondTheDeterminant) {
  // Permanent of the all-ones matrix: n!.
  const std::vector<double> ones(36, 1.0);
  const int n = 6, permanent = 1;
  double pd = 0.0;
  Determinant(&pd, ones.data(), &n, &permanent);
  EXPECT_EQ(pd, 720.0);
  // Large weight factors stay exact where 32-bit integer weights would wrap.
  const std::array rows{0.0, 1.0, 0.0, 1.0, 0.0, 1.0, 1.0, 0.0, 0.0};  // [[0,1,1],[1,0,0],[0,1,0]]
  const int three = 3, f = 100000;
  Determinant(&pd, rows.data(), &three, &f);
  // Column 2: w = f, minor [[1, 0], [0, 0]] = 1·0 + f·0·0 = 0; column 3: w = f²,
  // minor [[1, 0], [0, 1]] = 1.
  EXPECT_EQ(pd, 1e10);
  // Other weights on a matrix beyond the expansion's reach are refused.
  const int big = 21;
  const std::vector<double> m(sz(big * big), 1.0);
  Determinant(&pd, m.data(), &big, &permanent);
  EXPECT_EQ(pd, 0.0);
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Matrix too large for the cofactor expansion");
}

TEST_F(Linalg, SingularLuDeterminantLatches) {
  const std::array a{1.0, 2.0, 2.0, 4.0};
  const int n = 2;
  double lud = 5.0;
  LUFactDeterminant(&lud, a.data(), &n);
  EXPECT_EQ(lud, 0.0);
  EXPECT_EQ(status(), -2);
  EXPECT_EQ(message(), "Singularity in LU-factorization computation");
}

TEST_F(Linalg, SymmetricEigenproblem) {
  for (int n : {1, 3, 6, 10}) {
    const std::vector<double> a = random_spd(n, 7u + unsigned(n));
    std::vector<double> d(sz(n)), z(a.size()), w(sz(n), -1.0);
    const std::vector<double> original = a;
    MatrixEigenvalues(a.data(), d.data(), &n);
    MatrixEigenVectors(a.data(), z.data(), &n, w.data());
    EXPECT_EQ(a, original) << "LAPACK works on a copy";
    EXPECT_TRUE(std::is_sorted(d.begin(), d.end()));
    for (int i = 0; i < n; ++i) EXPECT_NEAR(w[std::size_t(i)], d[std::size_t(i)], 1e-12 * n);
    // A·z = z·Λ and zᵀ·z = I.
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i) {
        double az = 0.0, ztz = 0.0;
        for (int k = 0; k < n; ++k) {
          az += a[std::size_t(i + k * n)] * z[std::size_t(k + j * n)];
          ztz += z[std::size_t(k + i * n)] * z[std::size_t(k + j * n)];
        }
        EXPECT_NEAR(az, z[std::size_t(i + j * n)] * w[std::size_t(j)], 1e-12 * n * n);
        EXPECT_NEAR(ztz, i == j ? 1.0 : 0.0, 1e-13 * n);
      }
  }
  // Eigenvalues are returned only into a vector of negative entries.
  const std::array a{2.0, 1.0, 0.0, 1.0, 2.0, 0.0, 0.0, 0.0, 5.0};
  std::array<double, 9> z{};
  std::array w{0.0, -1.0, -1.0};
  const int n = 3;
  MatrixEigenVectors(a.data(), z.data(), &n, w.data());
  EXPECT_EQ(w, (std::array{0.0, -1.0, -1.0}));
  MatrixEigenVectors(a.data(), z.data(), &n, nullptr);
  const Vec3 values = math::eigenvalues(Mat3::load(a.data()));
  EXPECT_NEAR(values(1), 1.0, 1e-14);
  EXPECT_NEAR(values(3), 5.0, 1e-14);
}

TEST_F(Linalg, SingularValueDecompositionReassembles) {
  for (auto [m, n] : {std::pair{3, 2}, std::pair{2, 5}, std::pair{6, 6}}) {
    const std::vector<double> a = random_matrix(m, n, unsigned(10 * m + n));
    std::vector<double> u(sz(m * m)), s(sz(m * n)), v(sz(n * n));
    const std::vector<double> original = a;
    SingularValueDecomposition(a.data(), u.data(), s.data(), v.data(), &m, &n);
    EXPECT_EQ(a, original);
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < m; ++i) {
        if (i != j) {
          EXPECT_EQ(s[std::size_t(i + j * m)], 0.0);
        } else if (i > 0) {
          EXPECT_LE(s[std::size_t(i + j * m)], s[std::size_t(i - 1 + (j - 1) * m)]);
        }
        double usv = 0.0;  // (u·s·v)(i, j), s diagonal
        for (int k = 0; k < std::min(m, n); ++k)
          usv += u[std::size_t(i + k * m)] * s[std::size_t(k + k * m)] * v[std::size_t(k + j * n)];
        EXPECT_NEAR(usv, a[std::size_t(i + j * m)], 1e-14 * m * n);
      }
  }
}

TEST_F(Linalg, CholeskyFactorIsUpperAndReassembles) {
  const int n = 5;
  const std::vector<double> a = random_spd(n, 3u);
  std::vector<double> c(a.size());
  const std::vector<double> original = a;
  CholeskyFactorization(a.data(), c.data(), &n);
  EXPECT_EQ(a, original);
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) {
      if (i > j) {
        EXPECT_EQ(c[std::size_t(i + j * n)], 0.0);
      }
      double rtr = 0.0;
      for (int k = 0; k < n; ++k) rtr += c[std::size_t(k + i * n)] * c[std::size_t(k + j * n)];
      EXPECT_NEAR(rtr, a[std::size_t(i + j * n)], 1e-13 * n);
    }
  // Not positive definite: every entry the fill value, nothing latched.
  const std::array b{1.0, 2.0, 2.0, 1.0};
  std::array<double, 4> r{};
  const int two = 2;
  CholeskyFactorization(b.data(), r.data(), &two);
  for (double x : r) EXPECT_EQ(x, -1.7976931348623157e308);
  EXPECT_EQ(status(), 0);
}

TEST_F(Linalg, GeneralProductInEveryOrientation) {
  const int m = 3, n = 2, k = 4;
  const std::vector<double> a = random_matrix(m, k, 1u), b = random_matrix(k, n, 2u),
                            c = random_matrix(m, n, 3u);
  // The transposed operands, stored k×m and n×k.
  std::vector<double> at(a.size()), bt(b.size());
  for (int i = 0; i < m; ++i)
    for (int l = 0; l < k; ++l) at[std::size_t(l + i * k)] = a[std::size_t(i + l * m)];
  for (int l = 0; l < k; ++l)
    for (int j = 0; j < n; ++j) bt[std::size_t(j + l * n)] = b[std::size_t(l + j * k)];
  const double alpha = 2.0, beta = -0.5;
  std::vector<double> expected(c.size());
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < m; ++i) {
      double s = 0.0;
      for (int l = 0; l < k; ++l) s += a[std::size_t(i + l * m)] * b[std::size_t(l + j * k)];
      expected[std::size_t(i + j * m)] = alpha * s + beta * c[std::size_t(i + j * m)];
    }
  for (const char* sa : {"N", "t", "C"})
    for (const char* sb : {"n", "T", "c"}) {
      const bool ta = *sa != 'N', tb = *sb != 'n';
      std::vector<double> d(c.size());
      GeneralMatrixProduct(d.data(), &alpha, (ta ? at : a).data(), (tb ? bt : b).data(), &beta, c.data(),
                           &m, &n, &k, sa, sb);
      for (std::size_t i = 0; i < d.size(); ++i) EXPECT_NEAR(d[i], expected[i], 1e-15) << sa << sb;
    }
  // An unknown flag: d is the copy of c, status -3.
  std::vector<double> d(c.size());
  GeneralMatrixProduct(d.data(), &alpha, a.data(), b.data(), &beta, c.data(), &m, &n, &k, "X", "N");
  EXPECT_EQ(d, c);
  EXPECT_EQ(status(), -3);
}

TEST_F(Linalg, PowerIterationFindsTheDominantPair) {
  // A negative dominant eigenvalue makes the iterate alternate in sign.
  const std::array a{-3.0, 0.0, 0.0, 1.0};
  const int n = 2;
  double value = 0.0;
  std::array<double, 2> vec{};
  PowerIteration(&value, vec.data(), a.data(), &n, nullptr, nullptr, nullptr);
  EXPECT_NEAR(value, -3.0, 1e-12);
  EXPECT_NEAR(std::abs(vec[0]), 1.0, 1e-12);
  EXPECT_EQ(status(), 0);
  // Too few iterations: latched; no iteration at all: the start vector.
  const int one = 1, none = 0;
  PowerIteration(&value, vec.data(), a.data(), &n, &one, nullptr, nullptr);
  EXPECT_EQ(status(), -2);
  EXPECT_EQ(message(), "No convergence in von Mises eigenvalue computation");
  const std::array start{0.5, 2.0};
  PowerIteration(&value, vec.data(), a.data(), &n, &none, start.data(), nullptr);
  EXPECT_EQ(vec, start);
}

TEST_F(Linalg, ConjugateGradientSolvesAndStopsAtTheSolution) {
  const int n = 6;
  const std::vector<double> a = random_spd(n, 11u), b = random_matrix(n, 1, 12u);
  const std::vector<double> zero(sz(n), 0.0);
  std::vector<double> x(sz(n)), again(sz(n), 9.0);
  ConjugateGradient(x.data(), a.data(), b.data(), zero.data(), &n, &n);
  for (int i = 0; i < n; ++i) {
    double ax = 0.0;
    for (int k = 0; k < n; ++k) ax += a[std::size_t(i + k * n)] * x[std::size_t(k)];
    EXPECT_NEAR(ax, b[std::size_t(i)], 1e-12);
  }
  // Starting at the solution takes no step: a zero correction, not 0/0.
  const std::array a2{4.0, 1.0, 1.0, 3.0};
  const std::array b2{1.0, 2.0}, x0{1.0 / 11.0, 7.0 / 11.0};
  const int two = 2;
  std::array y{5.0, 5.0};
  ConjugateGradient(y.data(), a2.data(), b2.data(), x0.data(), &two, &two);
  EXPECT_EQ(y, (std::array{0.0, 0.0}));
  EXPECT_EQ(status(), 0);
  // Not square: refused with a zero correction.
  const int three = 3;
  ConjugateGradient(again.data(), a.data(), b.data(), zero.data(), &three, &two);
  EXPECT_EQ(again[0], 0.0);
  EXPECT_EQ(again[2], 9.0);
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Conjugate gradient needs a square matrix");
}

TEST_F(Linalg, ModalAssuranceAndHouseholder) {
  const std::array a{1.0, 2.0, 3.0}, b{2.0, 4.0, 6.0}, c{-2.0, 1.0, 0.0};
  const int n = 3, none = 0;
  EXPECT_DOUBLE_EQ(VectorModalAssuranceCriterion(a.data(), b.data(), &n), 1.0);
  EXPECT_EQ(VectorModalAssuranceCriterion(a.data(), c.data(), &n), 0.0);
  EXPECT_TRUE(std::isnan(VectorModalAssuranceCriterion(a.data(), b.data(), &none)));
  // One matrix against itself: the diagonal of the MAC matrix is 1.
  const std::vector<double> s = random_spd(4, 5u);
  std::vector<double> mac(16);
  const int four = 4;
  MatrixModalAssuranceCriterion(s.data(), s.data(), mac.data(), &four);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(mac[std::size_t(i * 5)], 1.0, 1e-12);
  // I - 2vvᵀ with a unit v: orthogonal, symmetric, maps v to -v.
  const std::array v{0.6, 0.0, 0.8};
  std::array<double, 9> h{};
  GetHouseHolderTransformationMatrix(h.data(), v.data(), &n);
  const Mat3 hm = Mat3::load(h.data());
  const Mat3 hh = hm * hm;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) EXPECT_NEAR(hh(i, j), i == j ? 1.0 : 0.0, 1e-15);
  const Vec3 hv = hm * Vec3::load(v.data());
  EXPECT_NEAR(hv(1), -0.6, 1e-15);
  EXPECT_NEAR(hv(3), -0.8, 1e-15);
}

}  // namespace
}  // namespace tavrin
