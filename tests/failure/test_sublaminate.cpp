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
  }
  EXPECT_EQ(take(), latch(0));
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

}  // namespace
}  // namespace tavrin
