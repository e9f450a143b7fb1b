// Inputs that the exported routines refuse instead of reading past an array,
// and the defaults chosen where the old ones gave useless results.
#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "foundation/calculus.hpp"
#include "foundation/norms.hpp"
#include "foundation/products.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using Refusals = testing::LatchTest;

TEST_F(Refusals, IndicesOutsideTheMatrixOrBeyondAnInteger) {
  const std::array sm{1.0, 4.0, 7.0, 2.0, 5.0, 8.0, 3.0, 6.0, 10.0};  // rows (1,2,3), (4,5,6), (7,8,10)
  const int k = 3, one = 1, zero = 0, four = 4;
  EXPECT_DOUBLE_EQ(GetFirstMinor(sm.data(), &one, &one, &k), 2.0);
  // (i, j) of a first minor, (i, null) of a principal one.
  for (const auto& [i, j] : {std::pair{&zero, &one}, {&four, &one}, {&one, &four}, {&four, nullptr}}) {
    EXPECT_EQ(j ? GetFirstMinor(sm.data(), i, j, &k) : GetPrincipleMinor(sm.data(), i, &k), 0.0);
    EXPECT_EQ(take(), latch(-3, "Minor index outside the matrix"));
  }
  // Extreme diagonal and cofactor indices do not overflow.
  const std::array a{1.0, 2.0, 3.0, 4.0};
  std::array diag{7.0, 7.0};
  const int n = 2, minus_one = -1, lowest = std::numeric_limits<int>::min(),
            highest = std::numeric_limits<int>::max();
  MatrixDiagonal(diag.data(), a.data(), &lowest, &n);
  MatrixDiagonal(diag.data(), a.data(), &highest, &n);
  EXPECT_EQ(diag, (std::array{7.0, 7.0}));
  MatrixDiagonal(diag.data(), a.data(), &minus_one, &n);
  EXPECT_EQ(diag[0], 2.0);
  const double mij = 5.0;
  EXPECT_EQ((std::array{GetCofactor(&mij, &highest, &highest), GetCofactor(&mij, &highest, &n),
                        GetCofactor(&mij, &minus_one, &n)}),
            (std::array{5.0, -5.0, -5.0}));
}

TEST_F(Refusals, TooFewPointsOrAShortPackedMatrix) {
  const std::array x{1.0, 2.0}, b{1.0, 1.0};
  std::array out{7.0, 7.0};
  const int one = 1, none = 0, m = 2, n = 2;
  PolarTransformation(x.data(), out.data(), &one, nullptr);
  EXPECT_EQ(take(), latch(-3, "Polar transformation needs at least two components"));
  CentralStepDerivative(out.data(), x.data(), x.data(), &one);
  CentralStepDerivative(out.data(), x.data(), x.data(), &none);
  EXPECT_EQ(take(), latch(-3, "Central differences need at least two points"));
  EXPECT_EQ(out, (std::array{7.0, 7.0}));
  LUMatrixVectorProduct(x.data(), b.data(), out.data(), &m, &n);  // n(n+1)/2 = 3 entries needed
  EXPECT_EQ(out, (std::array{0.0, 0.0}));
  EXPECT_EQ(take(), latch(-3, "Packed symmetric matrix shorter than n(n+1)/2"));
  // The centroid of the first n square corners is written, not added to; a
  // polygon of no area leaves it.
  const auto centroid = [](int n) {
    std::array c{9.0, 9.0};
    const std::array x{0.0, 1.0, 1.0, 0.0}, y{0.0, 0.0, 1.0, 1.0};
    GetCentroid(c.data(), x.data(), y.data(), &n);
    return c;
  };
  EXPECT_EQ(std::pair(centroid(4), centroid(2)), std::pair(std::array{0.5, 0.5}, std::array{9.0, 9.0}));
}

}  // namespace
}  // namespace tavrin
