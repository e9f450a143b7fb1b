// Machine constants: the fixed tables, bit for bit, and the fatal path of an
// index outside them.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "fatal_paths.hpp"
#include "pchip/machine.hpp"

namespace tavrin {
namespace {

using testing_support::run_captured;

TEST(MachineConstants, IntegerTable) {
  const int expected[16] = {5, 6, 7, 6, 32, 4, 2, 31, 2147483647, 2, 24, -125, 128, 53, -1021, 1024};
  for (int i = 1; i <= 16; ++i) EXPECT_EQ(i1mach(&i), expected[i - 1]) << "entry " << i;
}

TEST(MachineConstants, RealTablesBitForBit) {
  const std::uint32_t single[5] = {0x00800000, 0x7f7fffff, 0x33800000, 0x34000000, 0x3e9a209b};
  const std::uint64_t dbl[5] = {0x0020000000000000, 0x7fdfffffffffffff, 0x3ca0000000000002,
                                0x3cb0000000000000, 0x3fd34413509f79fb};
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(r1mach(&i)), single[i - 1]) << "r1mach " << i;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(d1mach(&i)), dbl[i - 1]) << "d1mach " << i;
  }
  // What the entries mean.
  int i = 4;
  EXPECT_EQ(d1mach(&i), std::ldexp(1.0, -52));
  EXPECT_EQ(r1mach(&i), std::numeric_limits<float>::epsilon());
  i = 1;
  EXPECT_EQ(d1mach(&i), 2.0 * std::numeric_limits<double>::min());
  EXPECT_EQ(r1mach(&i), std::numeric_limits<float>::min());
  i = 2;
  EXPECT_EQ(d1mach(&i), std::numeric_limits<double>::max() / 2.0);
  EXPECT_EQ(r1mach(&i), std::numeric_limits<float>::max());
  EXPECT_EQ(pchip::machine_epsilon<double>(), std::ldexp(1.0, -52));
  EXPECT_EQ(pchip::machine_epsilon<float>(), std::ldexp(1.0f, -23));
}

class MachineConstantsOutOfRange : public testing_support::FatalPaths {};

// A bad index is a fatal error: five lines and exit status 1.
TEST_F(MachineConstantsOutOfRange, FiveLinesAndStatusOne) {
  struct Case {
    int index;
    const char* routine;
    int last;
  };
  for (const Case c : {Case{0, "I1MACH", 16}, {17, "I1MACH", 16}, {6, "R1MACH", 5},
                       {-2147483647 - 1, "D1MACH", 5}}) {
    const auto o = run_captured([&] {
      const std::string_view r = c.routine;
      if (r == "I1MACH") i1mach(&c.index);
      else if (r == "R1MACH") r1mach(&c.index);
      else d1mach(&c.index);
    });
    EXPECT_EQ(o.status, 1);
    char index[16];
    std::snprintf(index, sizeof index, "%12d", c.index);
    EXPECT_EQ(o.lines(), (std::vector<std::string>{
                             " ", std::string(c.routine) + " - Fatal error!",
                             "  The input argument I is out of bounds.",
                             "  Legal values satisfy 1 <= I <= " + std::to_string(c.last) + ".",
                             std::string("  I = ") + index}));
  }
}

TEST(MachineConstantsDeathTest, BadIndexExitsWithStatusOne) {
  const int bad = 6;
  EXPECT_EXIT(d1mach(&bad), ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace tavrin
