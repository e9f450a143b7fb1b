// Array construction: every routine stays inside the extents it is given
// (buffers are exact-size heap blocks, so the sanitizer build sees any stray
// access).
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <tuple>
#include <vector>

#include "foundation/arrays.hpp"

namespace {

using V = std::vector<double>;

TEST(Arrays, FillsAndSplitsWriteTheWholeTargetOrNothing) {
  V a(6, 0.0), b(6, 0.0), c(4, 0.0);
  tavrin::utility::real_fillmatrixwithscalar(a.data(), 5.0, 2, 3);
  tavrin::utility::real_fill3darraywithscalar(a.data(), 1.0, 2, 0, 3);  // an empty array
  EXPECT_EQ(a, V(6, 5.0));
  const int n = 6, none = 0, four = 4;
  VectorSplit(a.data(), b.data(), &none, &n);  // nothing to size the result by
  EXPECT_EQ(b, V(6, 0.0));
  VectorSplit(a.data(), c.data(), &four, &n);  // 6 is no multiple of 4: a 1x4 result of -1.0
  EXPECT_EQ(c, V(4, -1.0));
}

// Every rank of the fill and zero families over the first 3 of 6 values
// (extents 3, 1, 1, ...): the rest keeps its values.
TEST(Arrays, FillsOfAPrefixLeaveTheRest) {
  namespace u = tavrin::utility;
  const int three = 3, one = 1;
  const V prefix_zero{0, 0, 0, 9, 9, 9}, prefix_five{5, 5, 5, 9, 9, 9};
  const std::function<void(double*)> zeros[] = {
      [&](double* a) { IniVectorwithZeros(a, &three); },
      [&](double* a) { IniMatrixwithZeros(a, &three, &one); },
      [&](double* a) { Ini3DArraywithZeros(a, &one, &three, &one); },
      [&](double* a) { Ini4DArraywithZeros(a, &one, &one, &three, &one); },
      [&](double* a) { Ini5DArraywithZeros(a, &one, &one, &one, &three, &one); },
      [&](double* a) { Ini6DArraywithZeros(a, &one, &one, &one, &one, &three, &one); },
      [&](double* a) { IniMaxDArraywithZeros(a, &one, &one, &one, &one, &one, &three, &one); }};
  for (std::size_t r = 0; r < std::size(zeros); ++r) {
    V a(6, 9.0);
    zeros[r](a.data());
    EXPECT_EQ(a, prefix_zero) << "rank " << r + 1;
  }
  const std::function<void(double*)> fills[] = {
      [](double* a) { u::real_fillvectorwithscalar(a, 5.0, 3); },
      [](double* a) { u::real_fillmatrixwithscalar(a, 5.0, 3, 1); },
      [](double* a) { u::real_fill3darraywithscalar(a, 5.0, 1, 3, 1); },
      [](double* a) { u::real_fill4darraywithscalar(a, 5.0, 1, 1, 3, 1); },
      [](double* a) { u::real_fill5darraywithscalar(a, 5.0, 1, 1, 1, 3, 1); },
      [](double* a) { u::real_fill6darraywithscalar(a, 5.0, 1, 1, 1, 1, 3, 1); },
      [](double* a) { u::real_fill7darraywithscalar(a, 5.0, 1, 1, 1, 1, 1, 1, 3); }};
  for (std::size_t r = 0; r < std::size(fills); ++r) {
    V a(6, 9.0);
    fills[r](a.data());
    EXPECT_EQ(a, prefix_five) << "rank " << r + 1;
  }
  std::vector<int> i(6, 9);
  u::int_fill3darraywithscalar(i.data(), 5, 3, 1, 1);
  EXPECT_EQ(i, (std::vector<int>{5, 5, 5, 9, 9, 9}));
}

TEST(Arrays, ReadsStayInsideTheGivenCounts) {
  // Sorts skip mask entries outside either array.
  V a{1, 2, 3}, b{7, 8};
  const std::vector<int> mask{0, 2, 3, -4, 9};
  const int n = 5, na = 3, nb = 2;
  VectorSort(a.data(), b.data(), mask.data(), &n, &na, &nb);
  EXPECT_EQ(a, (V{1, 8, 3}));
  V ma(6, 0.0), mb{1, 2, 3, 4};  // a 2x3, b 2x2
  const int m = 2, nma = 3, nmb = 2;
  MatrixSort(ma.data(), mb.data(), mask.data(), &m, &n, &nma, &nmb);
  EXPECT_EQ(ma, (V{0, 0, 3, 4, 0, 0}));
  // The unpacked triangle reads only its packed length, the off-diagonals only their count.
  const V packed{1, 2, 3, 4};
  V lu(9, -1.0), od(9, 0.0);
  const int three = 3, four = 4, upper = 1;
  GetUnpackedTriangle(lu.data(), packed.data(), &three, &four, "F", &upper);
  EXPECT_EQ(lu, (V{1, 0, 0, 2, 3, 0, 4, 0, 0}));
  FillMatrixOffDiagonals(od.data(), packed.data(), &three, &four);
  EXPECT_EQ(od, (V{0, 1, 2, 4, 0, 3, 0, 0, 0}));
}

TEST(Arrays, ConcatenationWritesOnlyInsideTheTarget) {
  const V a{1, 1, 1, 1}, b{2, 2, 2, 2, 2, 2};  // a 2x2, b 3x2
  const int k = 2, l = 2, n = 2;
  const std::tuple<int, int, V> cases[] = {  // ctype, rows of b, the target
      {0, 3, {1, 1, 1, 1, 2, 2, 2, 2}},        // side by side: 2 rows, so the third row of b is dropped
      {1, 3, {1, 1, 2, 2, 2, 1, 1, 2, 2, 2}},  // stacked
      {3, 3, V(4, -1.0)},  // k + 3m = 11 rows, l - 2n < 0 columns: nothing
      {1, -1, {1, 1}}};    // a negative b extent in a stacked target of k + m = 1 rows
  for (const auto& [ctype, m, expected] : cases) {
    V ab(expected.size(), -1.0);
    MatrixConcatenation(ab.data(), a.data(), b.data(), &ctype, &k, &l, &m, &n);
    EXPECT_EQ(ab, expected) << ctype << ' ' << m;
  }
}

}  // namespace
