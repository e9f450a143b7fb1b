// Shared-state tables: creation rules, release, and views that outlive a free.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "foundation/datahandling.hpp"
#include "foundation/shared_state.hpp"

namespace tavrin {
namespace {

class SharedState : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset() {
    int istat = -1;
    datahandling::deallocall(istat);
    damagedata::ndmg = 0;
    damagedata::userdds.deallocate();
  }
};

std::vector<int> extents(const AllocatableBase& a) {
  return {a.extents().begin(), a.extents().end()};
}

bool all_zero(const AllocatableBase& a) {
  const auto* p = static_cast<const unsigned char*>(a.raw_data());
  return std::all_of(p, p + a.size() * a.element_size(), [](unsigned char b) { return b == 0; });
}

TEST_F(SharedState, DamageTablesOfASinglePlySection) {
  int istat = -1;
  datahandling::allocatedamagedata(istat, 1, 1, 0);
  EXPECT_EQ(istat, 0);
  EXPECT_EQ(damagedata::ndmg, 1);
  for (auto* a : {&damagedata::generaldds, &damagedata::fiberdds, &damagedata::matrixdds,
                  &damagedata::coredds, &damagedata::userdds, &damagedata::delamdds}) {
    EXPECT_EQ(extents(*a), (std::vector<int>{3, 1, 1}));
    EXPECT_TRUE(all_zero(*a));
  }
  EXPECT_EQ(extents(damagedata::dmgplane), (std::vector<int>{10, 1}));
  EXPECT_TRUE(all_zero(damagedata::dmgplane));
  EXPECT_EQ(extents(bukdata::bukintdatalist), (std::vector<int>{4, 1, 1, 1}));
  EXPECT_EQ(extents(bukdata::bukrealdatalist), (std::vector<int>{12, 1, 1, 1}));
  EXPECT_TRUE(all_zero(bukdata::bukintdatalist));
  EXPECT_TRUE(all_zero(bukdata::bukrealdatalist));
  EXPECT_EQ(damagedata::damagedds(1), 0);
}

TEST_F(SharedState, DamageExtentsFollowCountsAndFirstCallWins) {
  int istat;
  damagedata::ndmg = 3;
  datahandling::allocatedamagedata(istat, 4, 2, 2);  // kdmg below ndmg keeps ndmg
  EXPECT_EQ(damagedata::ndmg, 3);
  EXPECT_EQ(extents(damagedata::generaldds), (std::vector<int>{3, 4, 3}));
  EXPECT_EQ(extents(damagedata::delamdds), (std::vector<int>{3, 3, 3}));
  EXPECT_EQ(extents(bukdata::bukrealdatalist), (std::vector<int>{12, 3, 3, 2}));

  datahandling::allocatedamagedata(istat, 7, 5, 9);  // existing arrays keep their extents
  EXPECT_EQ(damagedata::ndmg, 9);
  EXPECT_EQ(extents(damagedata::generaldds), (std::vector<int>{3, 4, 3}));
  EXPECT_EQ(extents(bukdata::bukrealdatalist), (std::vector<int>{12, 3, 3, 2}));
}

TEST_F(SharedState, DescriptorsAreClearedOnFirstUseOnly) {
  int istat;
  // The damage card created and filled a descriptor before the first update.
  damagedata::generaldds.allocate(3, 2, 1);
  damagedata::generaldds.fill(5.0);
  datahandling::allocatedamagedata(istat, 2, 1, 1);
  EXPECT_TRUE(all_zero(damagedata::generaldds));

  damagedata::generaldds.fill(7.0);
  datahandling::allocatedamagedata(istat, 2, 1, 1);
  EXPECT_EQ(damagedata::generaldds(3, 2, 1), 7.0);

  // After the release the next first use clears again.
  datahandling::deallocall(istat);
  damagedata::generaldds.allocate(3, 2, 1);
  damagedata::generaldds.fill(7.0);
  datahandling::allocatedamagedata(istat, 2, 1, 1);
  EXPECT_TRUE(all_zero(damagedata::generaldds));
}

TEST_F(SharedState, CreatorsKeepExistingExtents) {
  int istat;
  datahandling::allocatenodaldata(istat, 6, 4, 10);
  datahandling::allocatenodaldata(istat, 3, 8, 2);
  EXPECT_EQ(extents(nodaldata::nodesmotion), (std::vector<int>{6, 4, 10}));
  EXPECT_EQ(extents(nodaldata::nodalcoords), (std::vector<int>{3, 4, 10}));
  EXPECT_EQ(extents(nodaldata::tnodalmatrices), (std::vector<int>{3, 3, 8, 10}));
  EXPECT_EQ(extents(nodaldata::tcurvmatrices), (std::vector<int>{3, 3, 10}));

  datahandling::allocateelementdata(istat, 4, 10);
  EXPECT_EQ(extents(elementdata::elemnodes), (std::vector<int>{4, 10}));
  EXPECT_EQ(extents(elementdata::elemreforientation), (std::vector<int>{7, 10}));
  EXPECT_EQ(extents(sectiondata::nsectionpoints), (std::vector<int>{10}));
  EXPECT_TRUE(all_zero(elementdata::elemkind));

  datahandling::allocateelementdata(istat, 0, -3);  // extents below 1 give empty arrays
  EXPECT_EQ(elementdata::elemlist.size(), 10);
}

TEST_F(SharedState, DeallocallFreesTheAnalysisTablesOnly) {
  int istat;
  // Every registered allocatable exists before the release.
  std::vector<AllocatableBase*> all;
  for (const ModuleInfo& m : data_modules())
    for (const VariableInfo& v : m.variables)
      if (v.kind == VarKind::Allocatable) all.push_back(static_cast<AllocatableBase*>(v.address));
  ASSERT_EQ(all.size(), 70u);
  for (AllocatableBase* a : all) {
    const std::vector<int> ones(std::size_t(a->rank()), 1);
    a->allocate_raw(ones);
  }
  sectiondata::nplies = 4;

  datahandling::deallocall(istat);
  EXPECT_EQ(istat, 0);
  const std::vector<AllocatableBase*> kept = {
      &materialdata::regularization, &materialdata::temperatures, &materialdata::r_crit,
      &materialdata::i10, &materialdata::equivalentstress, &materialdata::flowprops,
      &materialdata::secantprops, &materialdata::normalprops, &materialdata::shearprops,
      &materialdata::alpha1props, &materialdata::alpha2props, &materialdata::alpha3props,
      &jobdata::processid, &impactdata::csvars, &damagedata::userdds,
      &errorhandling::errintv, &errorhandling::errrealv, &errorhandling::errasciim};
  int freed = 0;
  for (AllocatableBase* a : all) {
    const bool keep = std::find(kept.begin(), kept.end(), a) != kept.end();
    EXPECT_EQ(a->allocated(), keep);
    freed += !a->allocated();
    if (keep) a->deallocate();
  }
  EXPECT_EQ(freed, 52);
  EXPECT_EQ(sectiondata::nplies, 4);  // scalars keep their values

  datahandling::deallocall(istat);  // on an empty state nothing changes
  EXPECT_EQ(istat, 0);
}

TEST_F(SharedState, SharedViewStaysReadableAfterFreeAndReallocation) {
  materialdata::peprops.allocate(9, 2, 1);
  materialdata::peprops(9, 2, 1) = 4.5;
  const auto held = materialdata::peprops.share();
  const auto* values = static_cast<const double*>(held.get());

  int istat;
  datahandling::deallocall(istat);
  EXPECT_FALSE(materialdata::peprops.allocated());
  EXPECT_EQ(values[17], 4.5);

  materialdata::peprops.allocate(3, 1, 1);
  EXPECT_EQ(values[17], 4.5);
  EXPECT_EQ(materialdata::peprops(3, 1, 1), 0.0);
}

TEST(Allocatable, SizeBeyondAddressSpaceIsBadAlloc) {
  Allocatable<double, 3> a;
  EXPECT_THROW(a.allocate(1 << 30, 1 << 30, 1 << 30), std::bad_alloc);
  EXPECT_FALSE(a.allocated());
}

TEST(SharedStateAtLoad, PresetsAndRegistry) {
  EXPECT_EQ(jobdata::jobname.chars[0], '\0');
  EXPECT_EQ(jobdata::joboutdir.chars[255], '\0');
  int variables = 0;
  for (const ModuleInfo& m : data_modules()) variables += int(m.variables.size());
  EXPECT_EQ(data_modules().size(), 13u);
  EXPECT_EQ(variables, 110);
}

}  // namespace
}  // namespace tavrin
