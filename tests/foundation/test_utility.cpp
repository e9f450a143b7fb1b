// Process check-in list.
#include <gtest/gtest.h>

#include "foundation/shared_state.hpp"
#include "foundation/utility.hpp"

namespace {

int lock(int procid, int maxid) {
  const int wflag = 0;
  return ProcessLock(&procid, &maxid, &wflag);
}

class CheckIn : public ::testing::Test {
 protected:
  void SetUp() override { tavrin::jobdata::processid.deallocate(); }
  void TearDown() override { tavrin::jobdata::processid.deallocate(); }
};

TEST_F(CheckIn, LastOfThreeIsTold) {
  EXPECT_EQ(lock(2, 3), 0);
  EXPECT_EQ(lock(3, 3), 0);
  EXPECT_EQ(lock(2, 3), 0);  // repeated check-in changes nothing
  EXPECT_EQ(tavrin::jobdata::processid(1), 1);
  EXPECT_EQ(lock(1, 3), 1);
}

TEST_F(CheckIn, SingleProcess) { EXPECT_EQ(lock(1, 1), 1); }

TEST_F(CheckIn, AnotherCountStartsANewList) {
  EXPECT_EQ(lock(1, 3), 0);
  EXPECT_EQ(lock(2, 4), 0);
  ASSERT_EQ(tavrin::jobdata::processid.size(), 4);
  EXPECT_EQ(tavrin::jobdata::processid(1), 1);
  EXPECT_EQ(tavrin::jobdata::processid(2), -1);
}

TEST_F(CheckIn, NumbersOutsideTheListChangeNothing) {
  EXPECT_EQ(lock(1, 2), 0);
  EXPECT_EQ(lock(-1, 2), 0);  // the check-in marker is not a process number
  EXPECT_EQ(lock(0, 2), 0);
  EXPECT_EQ(lock(3, 2), 0);
  EXPECT_EQ(tavrin::jobdata::processid(2), 2);
  EXPECT_EQ(lock(2, 2), 1);
}

TEST_F(CheckIn, UnlockReopensTheList) {
  EXPECT_EQ(ProcessUnLock(), 0);  // no list yet: nothing to refill
  EXPECT_FALSE(tavrin::jobdata::processid.allocated());
  EXPECT_EQ(lock(1, 2), 0);
  EXPECT_EQ(lock(2, 2), 1);
  EXPECT_EQ(ProcessUnLock(), 0);
  EXPECT_EQ(lock(2, 2), 0);
  EXPECT_EQ(lock(1, 2), 1);
}

}  // namespace
