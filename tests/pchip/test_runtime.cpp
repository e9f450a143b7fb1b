// Numbered output units and the numeric stop.
#include <gtest/gtest.h>

#include <sstream>

#include "fatal_paths.hpp"
#include "pchip/runtime.hpp"
#include "pchip/xerror.hpp"

namespace tavrin {
namespace {

using testing_support::run_captured;

class OutputUnits : public testing_support::FatalPaths {
 protected:
  void TearDown() override {
    pchip::disconnect_unit(12);
    FatalPaths::TearDown();
  }
};

TEST_F(OutputUnits, ConnectedUnitsAndStandardOutput) {
  std::ostringstream buffer;
  EXPECT_FALSE(pchip::unit_connected(12));
  EXPECT_TRUE(pchip::unit_connected(6));
  EXPECT_FALSE(pchip::connect_unit(6, buffer));  // standard output stays
  EXPECT_FALSE(pchip::connect_unit(5, buffer));
  // An unconnected unit writes to standard output.
  EXPECT_EQ(run_captured([] { pchip::write_record(12, "lost?"); }).out, "lost?\n");
  ASSERT_TRUE(pchip::connect_unit(12, buffer));
  EXPECT_TRUE(pchip::unit_connected(12));
  EXPECT_EQ(run_captured([] { pchip::write_record(12, "kept"); }).out, "");
  EXPECT_EQ(buffer.str(), "kept\n");
  // The error facility writes to the channels of its control table.
  pchip::j4save(3, 12, true);
  EXPECT_EQ(run_captured([] { pchip::xermsg("SLATEC", "X", "TO UNIT 12", 1, 0); }).out, "");
  EXPECT_NE(buffer.str().find(" *  TO UNIT 12\n"), std::string::npos);
  pchip::disconnect_unit(12);
  EXPECT_FALSE(pchip::unit_connected(12));
}

TEST_F(OutputUnits, NumericStop) {
  ::testing::internal::CaptureStderr();
  int status = -1;
  try {
    pchip::numeric_stop(3);
  } catch (const testing_support::Halted& h) {
    status = h.status;
  }
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "STOP 3\n");
  EXPECT_EQ(status, 3);
  EXPECT_EQ(pchip::format_int(-42, 6), "   -42");
  EXPECT_EQ(pchip::format_int(-2147483647 - 1, 8), "********");
}

}  // namespace
}  // namespace tavrin
