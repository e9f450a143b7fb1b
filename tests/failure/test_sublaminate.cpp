// Peeling analysis in C++: records stay inside the lists they are given
// (guard values after them), and a stack whose every interface bounds a
// buckled sublaminate drops the remaining-stack record.
#include <vector>

#include "failure/sublaminate.hpp"
#include "foundation/numerics_support.hpp"

namespace tavrin {
namespace {

class Sublaminate : public testing::LatchTest {};

constexpr double guard = -12345.0;

TEST_F(Sublaminate, PeelingWritesOnlyItsColumns) {
  const double iso[9] = {70000, 70000, 70000, 0.3, 0.3, 0.3, 26923.0, 26923.0, 26923.0};
  const double compr = 500.0;
  for (const int n : {1, 2, 3}) {
    std::vector<double> elastic, angle(n, 0.0), thick(n, 1.0);
    for (int k = 0; k < n; ++k) elastic.insert(elastic.end(), iso, iso + 9);
    thick[n - 1] = 0.2;  // a thin top ply over a delaminated interface
    const int ncols = n - 1;
    std::vector<double> delam(3 * std::size_t(ncols) + 1, 0.0);
    std::vector<int> shapes(std::size_t(ncols) + 1, 1);
    for (int j = 0; j < ncols; ++j) delam[3 * j] = delam[3 * j + 1] = 10.0;
    std::vector<double> real(12 * std::size_t(ncols) + 4, guard);
    std::vector<int> ints(4 * std::size_t(ncols) + 4, -7);
    double epsbuck = guard;
    DelaminatedBucklingAnalysis(&epsbuck, real.data(), ints.data(), &compr,
                                elastic.data(), angle.data(), thick.data(), delam.data(), shapes.data(), &n);
    for (std::size_t i = 12 * std::size_t(ncols); i < real.size(); ++i) EXPECT_EQ(real[i], guard) << n;
    for (std::size_t i = 4 * std::size_t(ncols); i < ints.size(); ++i) EXPECT_EQ(ints[i], -7) << n;
    if (n == 1) {
      EXPECT_EQ(epsbuck, 0.0);
      continue;
    }
    EXPECT_GT(epsbuck, 0.0);
    // The thin top ply comes off first: plies n..n on side 1 of interface n-1.
    EXPECT_EQ(ints[0], n - 1);
    EXPECT_EQ(ints[1], n);
    EXPECT_EQ(ints[2], n);
    EXPECT_EQ(ints[3], 1);
    EXPECT_EQ(real[0], epsbuck);
    if (n == 3) {  // a second pass: plies 1 and 2 alike, the one above comes first
      EXPECT_EQ(ints[4], 1);
      EXPECT_EQ(ints[5], 1);
      EXPECT_EQ(ints[6], 1);
      EXPECT_EQ(ints[7], 0);
    }
  }
  EXPECT_EQ(take(), latch(0));
}

// Without a delaminated interface the whole stack is the record of column
// 1 (every other entry zeroed), column 2 zero.
TEST_F(Sublaminate, UndelaminatedStackRecord) {
  const double iso[27] = {70000, 70000, 70000, 0.3, 0.3, 0.3, 26923.0, 26923.0, 26923.0,
                          70000, 70000, 70000, 0.3, 0.3, 0.3, 26923.0, 26923.0, 26923.0,
                          70000, 70000, 70000, 0.3, 0.3, 0.3, 26923.0, 26923.0, 26923.0};
  const double angle[3] = {}, thick[3] = {1.0, 1.0, 1.0}, delam[6] = {}, compr = 500.0;
  const int shapes[2] = {1, 1}, n = 3;
  std::vector<double> real(24, guard);
  std::vector<int> ints(8, -7);
  double eps = guard;
  DelaminatedBucklingAnalysis(&eps, real.data(), ints.data(), &compr, iso, angle, thick, delam, shapes, &n);
  std::vector<double> want(24, 0.0);
  want[1] = 1.0;
  want[2] = 500.0;
  EXPECT_EQ(real, want);
  EXPECT_EQ(ints, (std::vector<int>{1, 1, 3, 0, 0, 0, 0, 0}));
  EXPECT_EQ(eps, 0.0);
}

// A section of one ply has no interface: the lists of every damage and
// section are empty, nothing is written.
TEST_F(Sublaminate, OnePlyListsAreEmpty) {
  const double iso[9] = {70000, 70000, 70000, 0.3, 0.3, 0.3, 26923.0, 26923.0, 26923.0};
  const double angle = 0.0, thick = 1.0, compr = 500.0, delam = 0.0;
  const int shape = 1, id = 1, ndmg = 2, nplies = 1, nsec = 1;
  double real[4] = {guard, guard, guard, guard};
  int ints[4] = {-7, -7, -7, -7};
  GetBukDataFromDDS(real, ints, &delam, &shape, &compr, iso, &angle, &thick, &id, &ndmg, &nplies, &nsec, nullptr);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(real[i], guard);
    EXPECT_EQ(ints[i], -7);
  }
}

// A section whose first ply is undefined has no stack: its lists are
// cleared for every damage definition (zero reals, -1 integers).
TEST_F(Sublaminate, SectionWithoutPliesClearsEveryDamagesLists) {
  const double iso[18] = {70000, 70000, 70000, 0.3, 0.3, 0.3, 26923.0, 26923.0, 26923.0,
                          70000, 70000, 70000, 0.3, 0.3, 0.3, 26923.0, 26923.0, 26923.0};
  const double angle[2] = {}, thick[2] = {1.0, 1.0}, delam[6] = {}, compr = 500.0;
  const int shapes[2] = {1, 1}, undefined[2] = {2147483647, 2147483647}, ndmg = 2, nplies = 2, nsec = 1;
  std::vector<double> real(24, guard);  // 12 reals per interface and damage
  std::vector<int> ints(8, -7);
  GetBukDataFromDDS(real.data(), ints.data(), delam, shapes, &compr, iso, angle, thick, undefined, &ndmg, &nplies,
                    &nsec, nullptr);
  EXPECT_EQ(real, std::vector<double>(24, 0.0));
  EXPECT_EQ(ints, std::vector<int>(8, -1));
}

}  // namespace
}  // namespace tavrin
