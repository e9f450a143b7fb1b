// The guarded LAPACK/BLAS door: nothing that reaches it ends the process.
#include <gtest/gtest.h>

#include <array>

#include "foundation/lapack.hpp"
#include "numerics_support.hpp"

extern "C" void dgetrf_(const int* m, const int* n, double* a, const int* lda, int* ipiv, int* info);

namespace tavrin {
namespace {

using LapackGuard = testing::LatchTest;

TEST_F(LapackGuard, EmptyMatricesReturnAtOnceAndIllegalArgumentsDoNotStopTheProcess) {
  double none = 7.0;
  int pivot = 5;
  const View<double, 2> empty(&none, 0, 0);
  EXPECT_EQ((std::array{lapack::getrf(View<double, 2>(&none, 3, 0), &pivot), lapack::getri(empty, &pivot),
                        lapack::potrf_upper(empty), lapack::syev(empty, &none), lapack::sterf(0, &none, &none),
                        lapack::gesvd_all(View<double, 2>(&none, 0, 4), &none, empty, View<double, 2>(&none, 4, 4))}),
            (std::array{0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(lapack::gemm('N', 'N', 0, 3, 2, 1.0, &none, &none, 0.0, &none));
  EXPECT_TRUE(lapack::gemm('N', 'N', -1, -1, -1, 1.0, &none, &none, 0.0, &none));
  EXPECT_EQ(std::pair(none, pivot), std::pair(7.0, 5));
  EXPECT_EQ(take(), latch(0));
  // Should an illegal argument ever reach LAPACK directly, the library's own
  // error handler latches it and the call returns.
  std::array a{1.0, 2.0, 3.0, 4.0};
  std::array<int, 2> ipiv{};
  const int n = 2, lda = 0;
  int info = 0;
  dgetrf_(&n, &n, a.data(), &lda, ipiv.data(), &info);
  EXPECT_EQ(std::pair(info, errorhandling::errintv(1)), std::pair(-4, 4));  // LAPACK's argument number
  EXPECT_EQ(take(), latch(-3, "Illegal argument in a LAPACK call"));
}

}  // namespace
}  // namespace tavrin
