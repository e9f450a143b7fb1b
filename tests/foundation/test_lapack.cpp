// The guarded LAPACK/BLAS door: nothing that reaches it ends the process.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

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

// A non-finite entry where the eigenvalue and singular value routines read
// (the upper triangle for the symmetric ones) is refused with NaN results;
// the lower triangle of a symmetric matrix is not read.
TEST_F(LapackGuard, NonFiniteEntriesAreRefusedBeforeTheIterations) {
  const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
  std::array<double, 4> a{1.0, nan, 0.5, 2.0}, w{}, u{}, vt{}, d{}, e{}, tau{};
  EXPECT_EQ(lapack::syev(View<double, 2>(a.data(), 2, 2), w.data()), 0);  // NaN below the diagonal
  EXPECT_EQ(take(), latch(0));
  a = {1.0, 0.0, inf, 2.0};
  EXPECT_EQ(lapack::sytrd_upper(View<double, 2>(a.data(), 2, 2), d.data(), e.data(), tau.data()), -2);
  EXPECT_EQ(lapack::syev(View<double, 2>(a.data(), 2, 2), w.data()), -4);
  a = {1.0, 0.0, inf, 2.0};
  EXPECT_EQ(lapack::gesvd_all(View<double, 2>(a.data(), 2, 2), w.data(), View<double, 2>(u.data(), 2, 2),
                              View<double, 2>(vt.data(), 2, 2)),
            -5);
  e[0] = nan;
  EXPECT_EQ(lapack::sterf(2, d.data(), e.data()), -2);
  for (const auto* r : {&w, &u, &vt, &d}) EXPECT_TRUE(std::isnan((*r)[0]) && std::isnan((*r)[1]));
  EXPECT_EQ(take(), latch(-3, "Matrix entries must be finite numbers"));
}

}  // namespace
}  // namespace tavrin
