// Array construction: every routine stays inside the extents it is given
// (buffers are exact-size heap blocks, so the sanitizer build sees any stray
// access), strided sections are filled in place.
#include <gtest/gtest.h>

#include <vector>

#include "foundation/arrays.hpp"

namespace {

using V = std::vector<double>;

TEST(Arrays, FillSectionOfALargerArray) {
  // Rows 2..3 and every other column of a 4x6 column-major array.
  V a(24, 0.0);
  tavrin::utility::fill_section(a.data() + 1, std::array<int, 2>{2, 3},
                                std::array<std::ptrdiff_t, 2>{1, 8}, 5.0);
  for (int j = 0; j < 6; ++j)
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(a[std::size_t(i + 4 * j)], (i >= 1 && i <= 2 && j % 2 == 0) ? 5.0 : 0.0) << i << j;
  tavrin::utility::real_fill3darraywithscalar(a.data(), 1.0, 2, 0, 3);  // an empty array
  EXPECT_EQ(a[0], 0.0);
  std::vector<int> b(2 * 3 * 1 * 2, 0);
  tavrin::utility::int_fill4darraywithscalar(b.data(), 9, 2, 3, 1, 2);
  EXPECT_EQ(b, std::vector<int>(12, 9));
}

TEST(Arrays, SortsSkipMaskEntriesOutsideEitherArray) {
  V a{1, 2, 3}, b{7, 8};
  const std::vector<int> mask{0, 2, 3, -4, 9};
  const int n = 5, na = 3, nb = 2;
  VectorSort(a.data(), b.data(), mask.data(), &n, &na, &nb);
  EXPECT_EQ(a, (V{1, 8, 3}));
  V ma{0, 0, 0, 0, 0, 0}, mb{1, 2, 3, 4};  // a 2x3, b 2x2
  const int m = 2, nma = 3, nmb = 2;
  MatrixSort(ma.data(), mb.data(), mask.data(), &m, &n, &nma, &nmb);
  EXPECT_EQ(ma, (V{0, 0, 3, 4, 0, 0}));
}

TEST(Arrays, UnpackedTriangleReadsOnlyItsPackedLength) {
  const V packed{1, 2, 3, 4};
  V lu(9, -1.0);
  const int nlu = 3, np = 4, upper = 1;
  GetUnpackedTriangle(lu.data(), packed.data(), &nlu, &np, "F", &upper);
  EXPECT_EQ(lu, (V{1, 0, 0, 2, 3, 0, 4, 0, 0}));
  GetUnpackedTriangle(lu.data(), packed.data(), &nlu, &np, "C", &upper);
  EXPECT_EQ(lu, (V{1, 2, 4, 0, 3, 0, 0, 0, 0}));
}

TEST(Arrays, OffDiagonalsReadOnlyTheirCount) {
  V a(9, 0.0);
  const V x{1, 2, 3, 4};
  const int n = 3, k = 4;
  FillMatrixOffDiagonals(a.data(), x.data(), &n, &k);
  EXPECT_EQ(a, (V{0, 1, 2, 4, 0, 3, 0, 0, 0}));
  const int two = 2;
  V b(9, 0.0);
  FillMatrixOffDiagonals(b.data(), x.data(), &n, &two);
  EXPECT_EQ(b, (V{0, 1, 2, 0, 0, 0, 0, 0, 0}));
}

TEST(Arrays, ConcatenationWritesOnlyInsideTheTarget) {
  const V a{1, 1, 1, 1}, b{2, 2, 2, 2, 2, 2};  // a 2x2, b 3x2
  const int k = 2, l = 2, m = 3, n = 2, side = 0, below = 1, other = 3;
  V ab(2 * 4, -1.0);  // side by side: 2 rows, so the third row of b is dropped
  MatrixConcatenation(ab.data(), a.data(), b.data(), &side, &k, &l, &m, &n);
  EXPECT_EQ(ab, (V{1, 1, 1, 1, 2, 2, 2, 2}));
  V stacked(5 * 2, -1.0);
  MatrixConcatenation(stacked.data(), a.data(), b.data(), &below, &k, &l, &m, &n);
  EXPECT_EQ(stacked, (V{1, 1, 2, 2, 2, 1, 1, 2, 2, 2}));
  V zeros(2 * 2 * 1, -1.0);  // ctype 3: k + 3m = 11 rows, l - 2n < 0 columns: nothing
  MatrixConcatenation(zeros.data(), a.data(), b.data(), &other, &k, &l, &m, &n);
  EXPECT_EQ(zeros, V(4, -1.0));
  const int minus = -1;  // a negative b extent in a stacked target of k + m = 1 rows
  V one_row(2, -1.0);
  MatrixConcatenation(one_row.data(), a.data(), b.data(), &below, &k, &l, &minus, &n);
  EXPECT_EQ(one_row, (V{1, 1}));
}

TEST(Arrays, SplitWithoutPiecesWritesNothing) {
  const V a{1, 2, 3, 4, 5, 6};
  V b(6, 0.0);
  const int n = 6, bad = 0, four = 4;
  VectorSplit(a.data(), b.data(), &bad, &n);  // nothing to size the result by
  EXPECT_EQ(b, V(6, 0.0));
  V c(4, 0.0);  // 6 is no multiple of 4: a 1x4 result of -1.0
  VectorSplit(a.data(), c.data(), &four, &n);
  EXPECT_EQ(c, V(4, -1.0));
}

}  // namespace
