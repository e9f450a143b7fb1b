// Inputs that the exported routines refuse instead of reading past an array,
// and the defaults chosen where the old ones gave useless results.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

#include "foundation/calculus.hpp"
#include "foundation/norms.hpp"
#include "foundation/products.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using Refusals = testing::LatchTest;

TEST_F(Refusals, MinorIndicesOutsideTheMatrix) {
  const std::array sm{1.0, 4.0, 7.0, 2.0, 5.0, 8.0, 3.0, 6.0, 10.0};  // rows (1,2,3), (4,5,6), (7,8,10)
  const int k = 3, one = 1, zero = 0, four = 4;
  EXPECT_DOUBLE_EQ(GetFirstMinor(sm.data(), &one, &one, &k), 2.0);
  for (const auto& [i, j] : {std::pair{&zero, &one}, {&four, &one}, {&one, &four}}) {
    reset();
    EXPECT_EQ(GetFirstMinor(sm.data(), i, j, &k), 0.0);
    EXPECT_EQ(status(), -3);
    EXPECT_EQ(message(), "Minor index outside the matrix");
  }
  reset();
  EXPECT_EQ(GetPrincipleMinor(sm.data(), &four, &k), 0.0);
  EXPECT_EQ(status(), -3);
  // A singular block is the determinant's own failure.
  reset();
  const std::array flat{1.0, 2.0, 2.0, 4.0};
  const int two = 2;
  EXPECT_EQ(GetPrincipleMinor(flat.data(), &two, &two), 0.0);
  EXPECT_EQ(message(), "Singularity in LU-factorization computation");
}

TEST_F(Refusals, ExtremeIndicesDoNotOverflow) {
  const std::array a{1.0, 2.0, 3.0, 4.0};
  std::array diag{7.0, 7.0};
  const int n = 2, lowest = std::numeric_limits<int>::min(), highest = std::numeric_limits<int>::max();
  MatrixDiagonal(diag.data(), a.data(), &lowest, &n);
  MatrixDiagonal(diag.data(), a.data(), &highest, &n);
  EXPECT_EQ(diag, (std::array{7.0, 7.0}));
  const int minus_one = -1;
  MatrixDiagonal(diag.data(), a.data(), &minus_one, &n);
  EXPECT_EQ(diag[0], 2.0);
  const double mij = 5.0;
  EXPECT_EQ(GetCofactor(&mij, &highest, &highest), 5.0);
  EXPECT_EQ(GetCofactor(&mij, &highest, &n), -5.0);
  EXPECT_EQ(GetCofactor(&mij, &minus_one, &n), -5.0);
}

TEST_F(Refusals, TooFewPoints) {
  const std::array x{1.0, 2.0};
  std::array out{7.0, 7.0};
  const int one = 1, none = 0;
  PolarTransformation(x.data(), out.data(), &one, nullptr);
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Polar transformation needs at least two components");
  EXPECT_EQ(out, (std::array{7.0, 7.0}));
  reset();
  CentralStepDerivative(out.data(), x.data(), x.data(), &one);
  CentralStepDerivative(out.data(), x.data(), x.data(), &none);
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Central differences need at least two points");
  EXPECT_EQ(out, (std::array{7.0, 7.0}));
}

TEST_F(Refusals, PackedMatrixShorterThanItsOrder) {
  const std::array packed{1.0, 2.0, 3.0, 4.0, 5.0};
  const std::array b{1.0, 1.0, 1.0};
  std::array c{9.0, 9.0, 9.0};
  const int m = 5, n = 3;
  LUMatrixVectorProduct(packed.data(), b.data(), c.data(), &m, &n);
  EXPECT_EQ(c, (std::array{0.0, 0.0, 0.0}));
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Packed symmetric matrix shorter than n(n+1)/2");
}

TEST_F(Refusals, EmptySingularValueNorms) {
  const double none = 0.0;
  const int zero = 0, two = 2;
  const double p = 2.0;
  EXPECT_EQ(NuclearNorm(&none, &zero, &two), 0.0);
  EXPECT_EQ(SchattenNorm(&none, &p, &two, &zero), 0.0);
  EXPECT_EQ(SpectralNorm(&none, &zero, &zero), -1.7976931348623157e308);
  EXPECT_EQ(status(), 0);
}

TEST(Defaults, CentroidIsWrittenNotAddedToWhatCHeld) {
  const std::array x{0.0, 1.0, 1.0, 0.0}, y{0.0, 0.0, 1.0, 1.0};
  std::array c{9.0, 9.0};
  const int n = 4, two = 2;
  GetCentroid(c.data(), x.data(), y.data(), &n);
  EXPECT_EQ(c, (std::array{0.5, 0.5}));
  c = {9.0, 9.0};
  GetCentroid(c.data(), x.data(), y.data(), &two);  // no area: c stays
  EXPECT_EQ(c, (std::array{9.0, 9.0}));
}

TEST(Defaults, RunningProductStartsAtOne) {
  const std::array a{2.0, 3.0, 4.0};
  std::array<double, 3> out{};
  const int n = 3;
  CumulativeProduct(out.data(), a.data(), &n, nullptr);
  EXPECT_EQ(out, (std::array{2.0, 6.0, 24.0}));
  CumulativeSum(out.data(), a.data(), &n, nullptr);
  EXPECT_EQ(out, (std::array{2.0, 5.0, 9.0}));
}

TEST(Defaults, BinomialsInSixtyFourBits) {
  const int n = 30, k = 15;
  EXPECT_EQ(PascalTriangle(&n, &k), 155117520.0);
  EXPECT_EQ(math::binomial(34, 17), 2333606220.0);
  EXPECT_EQ(math::binomial(62, 31), 465428353255261088.0);
  EXPECT_EQ(math::binomial(5, 7), 0.0);
  EXPECT_EQ(math::binomial(-1, 7), -1.0);
  EXPECT_EQ(math::binomial(7, -1), 1.0);
}

}  // namespace
}  // namespace tavrin
