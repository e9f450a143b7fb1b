// The guarded LAPACK/BLAS door: nothing that reaches it ends the process.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>

#include "foundation/lapack.hpp"
#include "numerics_support.hpp"

extern "C" {
void dgetrf_(const int* m, const int* n, double* a, const int* lda, int* ipiv, int* info);
void dgemm_(const char* transa, const char* transb, const int* m, const int* n, const int* k,
            const double* alpha, const double* a, const int* lda, const double* b, const int* ldb,
            const double* beta, double* c, const int* ldc, std::size_t, std::size_t);
}

namespace tavrin {
namespace {

using LapackGuard = testing::LatchTest;

TEST_F(LapackGuard, EmptyMatricesReturnAtOnce) {
  double none = 7.0;
  int pivot = 5;
  EXPECT_EQ(lapack::getrf(View<double, 2>(&none, 0, 0), &pivot), 0);
  EXPECT_EQ(lapack::getrf(View<double, 2>(&none, 3, 0), &pivot), 0);
  EXPECT_EQ(lapack::getri(View<double, 2>(&none, 0, 0), &pivot), 0);
  EXPECT_EQ(lapack::potrf_upper(View<double, 2>(&none, 0, 0)), 0);
  EXPECT_EQ(lapack::syev(View<double, 2>(&none, 0, 0), &none), 0);
  EXPECT_EQ(lapack::sterf(0, &none, &none), 0);
  EXPECT_EQ(lapack::gesvd_all(View<double, 2>(&none, 0, 4), &none, View<double, 2>(&none, 0, 0),
                              View<double, 2>(&none, 4, 4)),
            0);
  EXPECT_TRUE(lapack::gemm('N', 'N', 0, 3, 2, 1.0, &none, &none, 0.0, &none));
  EXPECT_TRUE(lapack::gemm('N', 'N', -1, -1, -1, 1.0, &none, &none, 0.0, &none));
  EXPECT_EQ(none, 7.0);
  EXPECT_EQ(pivot, 5);
  EXPECT_EQ(status(), 0);
}

TEST_F(LapackGuard, UnknownTransposeFlagLatchesAndComputesNothing) {
  const std::array a{1.0, 2.0, 3.0, 4.0};
  std::array c{9.0, 9.0, 9.0, 9.0};
  for (const char bad : {'X', ' ', 'V', '\0'}) {
    reset();
    EXPECT_FALSE(lapack::gemm(bad, 'N', 2, 2, 2, 1.0, a.data(), a.data(), 0.0, c.data()));
    EXPECT_FALSE(lapack::gemm('n', bad, 2, 2, 2, 1.0, a.data(), a.data(), 0.0, c.data()));
    EXPECT_EQ(status(), -3);
    EXPECT_EQ(message(), "Unknown matrix transpose flag");
    EXPECT_EQ(c, (std::array{9.0, 9.0, 9.0, 9.0}));
  }
}

TEST_F(LapackGuard, FlagsInEitherCaseAndTheEmptySum) {
  // a = [[1, 3], [2, 4]] (column-major 1, 2, 3, 4): aᵀ·a = [[5, 11], [11, 25]].
  const std::array a{1.0, 2.0, 3.0, 4.0};
  for (const char t : {'T', 't', 'C', 'c'}) {
    std::array<double, 4> c{};
    ASSERT_TRUE(lapack::gemm(t, 'n', 2, 2, 2, 1.0, a.data(), a.data(), 0.0, c.data()));
    EXPECT_EQ(c, (std::array{5.0, 11.0, 11.0, 25.0}));
  }
  // k = 0: op(a)·op(b) is the empty sum, so c = beta·c.
  std::array c{1.0, 2.0, 3.0, 4.0};
  ASSERT_TRUE(lapack::gemm('T', 'N', 2, 2, 0, 1.0, a.data(), a.data(), 2.0, c.data()));
  EXPECT_EQ(c, (std::array{2.0, 4.0, 6.0, 8.0}));
  EXPECT_EQ(status(), 0);
}

// Should an illegal argument ever reach LAPACK or BLAS directly, the
// library's own error handler latches it and the call returns.
TEST_F(LapackGuard, IllegalArgumentsReachingLapackDoNotStopTheProcess) {
  std::array a{1.0, 2.0, 3.0, 4.0};
  std::array<int, 2> ipiv{};
  const int n = 2, lda = 0;
  int info = 0;
  dgetrf_(&n, &n, a.data(), &lda, ipiv.data(), &info);
  EXPECT_EQ(info, -4);
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Illegal argument in a LAPACK call");
  EXPECT_EQ(errorhandling::errintv(1), 4);  // LAPACK's argument number

  reset();
  const double one = 1.0;
  dgemm_("Q", "N", &n, &n, &n, &one, a.data(), &n, a.data(), &n, &one, a.data(), &n, 1, 1);
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(errorhandling::errintv(1), 1);
}

}  // namespace
}  // namespace tavrin
