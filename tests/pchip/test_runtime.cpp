// The package's runtime: machine constants (the fixed tables, bit for bit,
// and the fatal path of an index outside them), numbered output units and the
// numeric stop.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <sstream>
#include <tuple>

#include "fatal_paths.hpp"
#include "pchip/machine.hpp"
#include "pchip/runtime.hpp"

namespace tavrin {
namespace {

using namespace testing_support;

TEST(MachineConstants, TablesBitForBit) {
  const int integers[16] = {5, 6, 7, 6, 32, 4, 2, 31, 2147483647, 2, 24, -125, 128, 53, -1021, 1024};
  for (int i = 1; i <= 16; ++i) EXPECT_EQ(i1mach(&i), integers[i - 1]) << "entry " << i;
  const std::uint32_t single[5] = {0x00800000, 0x7f7fffff, 0x33800000, 0x34000000, 0x3e9a209b};
  const std::uint64_t dbl[5] = {0x0020000000000000, 0x7fdfffffffffffff, 0x3ca0000000000002,
                                0x3cb0000000000000, 0x3fd34413509f79fb};
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(r1mach(&i)), single[i - 1]) << "r1mach " << i;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(d1mach(&i)), dbl[i - 1]) << "d1mach " << i;
  }
}

class Runtime : public FatalPaths {
 protected:
  void TearDown() override {
    pchip::disconnect_unit(12);
    FatalPaths::TearDown();
  }
};

// A bad index is a fatal error: five lines and exit status 1.
TEST_F(Runtime, MachineConstantOutOfRange) {
  const std::tuple<int, std::function<void(const int*)>, std::string, int, std::string> cases[] = {
      {0, i1mach, "I1MACH", 16, "           0"}, {17, i1mach, "I1MACH", 16, "          17"},
      {6, r1mach, "R1MACH", 5, "           6"}, {-2147483647 - 1, d1mach, "D1MACH", 5, " -2147483648"}};
  for (const auto& [index, call, routine, last, shown] : cases) {
    const auto o = run_captured([&] { call(&index); });
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.lines(), (Lines{" ", routine + " - Fatal error!", "  The input argument I is out of bounds.",
                                "  Legal values satisfy 1 <= I <= " + std::to_string(last) + ".",
                                "  I = " + shown}));
  }
}

TEST_F(Runtime, OutputUnitsAndNumericStop) {
  std::ostringstream buffer;
  EXPECT_FALSE(pchip::connect_unit(6, buffer) || pchip::connect_unit(5, buffer));  // standard output, input
  // An unconnected unit writes to standard output.
  EXPECT_EQ(run_captured([] { pchip::write_record(12, "lost?"); }).out, "lost?\n");
  ASSERT_TRUE(pchip::connect_unit(12, buffer));
  // The error facility writes to the channels of its control table.
  pchip::j4save(3, 12, true);
  EXPECT_EQ(run_captured([] {
              pchip::write_record(12, "kept");
              pchip::xermsg("SLATEC", "X", "TO UNIT 12", 1, 0);
            }).out,
            "");
  EXPECT_EQ(buffer.str().substr(0, 5), "kept\n");
  EXPECT_NE(buffer.str().find(" *  TO UNIT 12\n"), std::string::npos);
  const auto o = run_captured([] { pchip::numeric_stop(3); });
  EXPECT_EQ((std::pair{o.err, o.status}), (std::pair{std::string("STOP 3\n"), 3}));
  EXPECT_EQ(pchip::format_int(-2147483647 - 1, 8), "********");
}

}  // namespace
}  // namespace tavrin
