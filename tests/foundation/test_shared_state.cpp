// Shared-state tables: creation rules, release, and requests beyond the
// address space (views that outlive a free are tested from Python).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "foundation/boundary.hpp"
#include "foundation/datahandling.hpp"
#include "foundation/shared_state.hpp"

namespace tavrin {
namespace {

class SharedState : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  void reset() {
    datahandling::deallocall(istat);
    damagedata::ndmg = 0;
    damagedata::userdds.deallocate();
  }
  int istat = 0;
};

std::vector<int> extents(const AllocatableBase& a) { return {a.extents().begin(), a.extents().end()}; }

bool all_zero(const AllocatableBase& a) {
  const auto* p = static_cast<const unsigned char*>(a.raw_data());
  return std::all_of(p, p + a.size() * a.element_size(), [](unsigned char b) { return b == 0; });
}

TEST_F(SharedState, CreatorsSizeZeroFilledTablesOnTheFirstCallOnly) {
  damagedata::ndmg = 3;
  for (const int k : {1, 2}) {  // the second call finds every table there
    istat = 5;  // a caller's stale status is cleared by the success
    datahandling::allocatedamagedata(istat, 4 * k, 2 * k, 2 * k);  // kdmg below ndmg keeps ndmg
    EXPECT_EQ(istat, 0);
    istat = 5;
    datahandling::allocatenodaldata(istat, 6 * k, 4 * k, 10 * k);
    EXPECT_EQ(istat, 0);
    istat = 5;
    datahandling::allocateelementdata(istat, 4 * k, 10 * k);
    EXPECT_EQ(istat, 0);
  }
  EXPECT_EQ(damagedata::ndmg, 4);  // the count itself follows the largest request
  const std::pair<const AllocatableBase*, std::vector<int>> tables[] = {
      {&damagedata::generaldds, {3, 4, 3}},       {&damagedata::delamdds, {3, 3, 3}},
      {&bukdata::bukrealdatalist, {12, 3, 3, 2}}, {&nodaldata::nodesmotion, {6, 4, 10}},
      {&elementdata::elemnodes, {4, 10}},         {&sectiondata::nsectionpoints, {10}}};
  for (const auto& [table, expected] : tables) {
    EXPECT_EQ(extents(*table), expected);
    EXPECT_TRUE(all_zero(*table));
  }
}

TEST_F(SharedState, DescriptorsAreClearedOnFirstUseOnly) {
  // The damage card created and filled a descriptor before the first update;
  // after the release the next first use clears again.
  for (int pass = 0; pass < 2; ++pass) {
    damagedata::generaldds.allocate(3, 2, 1);
    damagedata::generaldds.fill(5.0);
    datahandling::allocatedamagedata(istat, 1, 1, 0);
    EXPECT_TRUE(all_zero(damagedata::generaldds));
    EXPECT_EQ(extents(damagedata::delamdds), (std::vector<int>{3, 1, 1}));  // a single ply has one interface
    damagedata::generaldds.fill(7.0);
    datahandling::allocatedamagedata(istat, 2, 1, 1);
    EXPECT_EQ(damagedata::generaldds(3, 2, 1), 7.0);
    datahandling::deallocall(istat);
  }
}

TEST_F(SharedState, DeallocallFreesTheAnalysisTablesOnly) {
  // Every registered allocatable exists before the release.
  std::vector<AllocatableBase*> all;
  for (const ModuleInfo& m : data_modules())
    for (const VariableInfo& v : m.variables)
      if (v.kind == VarKind::Allocatable) all.push_back(static_cast<AllocatableBase*>(v.address));
  ASSERT_EQ(all.size(), 70u);
  for (AllocatableBase* a : all) a->allocate_raw(std::vector<int>(std::size_t(a->rank()), 1));

  datahandling::deallocall(istat);
  const std::vector<AllocatableBase*> kept = {
      &materialdata::regularization, &materialdata::temperatures, &materialdata::r_crit,
      &materialdata::i10, &materialdata::equivalentstress, &materialdata::flowprops,
      &materialdata::secantprops, &materialdata::normalprops, &materialdata::shearprops,
      &materialdata::alpha1props, &materialdata::alpha2props, &materialdata::alpha3props,
      &jobdata::processid, &impactdata::csvars, &damagedata::userdds,
      &errorhandling::errintv, &errorhandling::errrealv, &errorhandling::errasciim};
  for (AllocatableBase* a : all) {
    const bool keep = std::find(kept.begin(), kept.end(), a) != kept.end();
    EXPECT_EQ(a->allocated(), keep);
    if (keep) a->deallocate();
  }
}

TEST(Allocatable, LargeBlocksAreZeroFilledAndOutliveTheirArray) {
  Allocatable<double, 2> a;
  for (const int rows : {1 << 17, (1 << 17) - 1}) {  // 1 MiB, and just below
    a.allocate(rows, 1);
    EXPECT_EQ(std::count(a.begin(), a.end(), 0.0), rows);
    a.fill(7.0);
    const std::shared_ptr<void> view = a.share();
    a.allocate(rows, 2);
    EXPECT_EQ(std::count(a.begin(), a.end(), 0.0), 2 * rows);
    a.deallocate();
    EXPECT_EQ(static_cast<const double*>(view.get())[rows - 1], 7.0);  // the old block stays readable
  }
}

TEST(Allocatable, EachTableHeldHasItsOwnIdentity) {
  Allocatable<double, 1> a;
  a.renew();
  EXPECT_EQ(a.identity(), 0u);  // none while absent
  a.allocate(1 << 17);
  const std::uint64_t first = a.identity();
  a.allocate(1 << 17);  // another table, wherever its storage lies
  const std::uint64_t second = a.identity();
  const void* const storage = a.raw_data();
  a.renew();  // refilled in place: the same storage, a new table
  EXPECT_EQ(a.raw_data(), storage);
  EXPECT_NE(first, 0u);
  EXPECT_NE(second, first);
  EXPECT_NE(a.identity(), second);
  EXPECT_NE(a.identity(), first);
  a.deallocate();
  EXPECT_EQ(a.identity(), 0u);
}

TEST(Allocatable, SizeBeyondAddressSpaceIsBadAlloc) {
  Allocatable<double, 3> a;
  EXPECT_THROW(a.allocate(1 << 30, 1 << 30, 1 << 30), std::bad_alloc);
  EXPECT_FALSE(a.allocated());
  // A table that held storage is absent after a failed request, and the
  // failure names what was asked for.
  a.allocate(2, 2, 2);
  try {
    a.allocate(1 << 30, 3, 1 << 30);
    FAIL() << "no failure";
  } catch (const AllocationFailure& e) {
    EXPECT_EQ(e.table(), &a);
    EXPECT_EQ(std::vector<int>(e.extents().begin(), e.extents().end()), (std::vector<int>{1 << 30, 3, 1 << 30}));
    EXPECT_EQ(e.bytes(), 8.0 * 3 * std::ldexp(1.0, 60));
  }
  EXPECT_FALSE(a.allocated());
  EXPECT_EQ(a.size(1), 0);
  EXPECT_EQ(a.identity(), 0u);
}

}  // namespace
}  // namespace tavrin
