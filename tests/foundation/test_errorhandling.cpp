// The first-error latch and the one halt path.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "foundation/errorhandling.hpp"
#include "foundation/halt.hpp"

namespace tavrin {
namespace {

namespace eh = errorhandling;

struct Halted {
  int status;
};

class Latch : public ::testing::Test {
 protected:
  void SetUp() override { clear(); }
  void TearDown() override { clear(); }
  static void clear() {
    int reset;
    eh::rsxerr(reset, 1);
  }
  static std::string message(std::string_view s) {
    std::string m(s);
    m.resize(80, ' ');
    return m;
  }
  // The library-order call, as the host makes it.
  static void host_xerr(int lop, std::string_view msg, std::vector<int> ints,
                        std::vector<double> reals, int rows, int cols, int pyerr_value) {
    int pyerr = pyerr_value;
    const std::string m = message(msg);
    std::vector<int> codes(std::size_t(rows * cols));
    for (int k = 0; k < rows * cols; ++k) codes[std::size_t(k)] = k;
    eh::xerr(lop, m.data(), ints.data(), int(ints.size()), reals.data(), int(reals.size()),
             codes.data(), rows, cols, &pyerr);
  }
};

TEST_F(Latch, FirstFailureWins) {
  const std::array ints{3, 4};
  const std::array reals{1.5};
  xerr(-2, "Matrix inversion failed!", ints, reals);
  xerr(-3, "Unknown contact law flag", std::array{9});
  EXPECT_EQ(eh::errstat, -2);
  EXPECT_EQ(eh::errstring.view(), message("Matrix inversion failed!"));
  ASSERT_EQ(eh::errintv.size(), 2);
  EXPECT_EQ(eh::errintv(2), 4);
  ASSERT_EQ(eh::errrealv.size(), 1);
  EXPECT_EQ(eh::errrealv(1), 1.5);
  EXPECT_TRUE(eh::errasciim.allocated());
  EXPECT_EQ(eh::errasciim.size(), 0);
}

TEST_F(Latch, StatusZeroRecordsWithoutLatching) {
  host_xerr(0, "note", {1, 2, 3}, {}, 1, 1, 1);
  EXPECT_EQ(eh::errstat, 0);
  EXPECT_EQ(eh::errstring.trimmed(), "note");
  EXPECT_EQ(eh::errintv.size(), 3);
  // The next failure is recorded at its own extents.
  host_xerr(-2, "second", {7}, {2.0, 3.0}, 2, 2, 1);
  EXPECT_EQ(eh::errstat, -2);
  EXPECT_EQ(eh::errstring.trimmed(), "second");
  EXPECT_EQ(eh::errintv.size(), 1);
  EXPECT_EQ(eh::errrealv.size(), 2);
  EXPECT_EQ(eh::errasciim.size(1), 2);
}

TEST_F(Latch, CodeMatrixKeepsAtMostEightRows) {
  host_xerr(-1, "codes", {}, {}, 10, 3, 1);
  ASSERT_EQ(eh::errasciim.size(1), 8);
  ASSERT_EQ(eh::errasciim.size(2), 3);
  // Column-major source with 10 rows: entry (i, j) held (i-1) + 10 (j-1).
  EXPECT_EQ(eh::errasciim(8, 3), 7 + 20);
  EXPECT_EQ(eh::errasciim(1, 2), 10);
  EXPECT_EQ(eh::errintv.size(), 0);  // empty details give empty vectors
  EXPECT_TRUE(eh::errintv.allocated());
}

TEST_F(Latch, ResetRequest) {
  xerr(-1, "Iteration limit reached");
  int reset = -7;
  eh::rsxerr(reset, 0);
  EXPECT_EQ(reset, 0);
  EXPECT_EQ(eh::errstat, -1);
  EXPECT_TRUE(eh::errintv.allocated());

  eh::rsxerr(reset, 1);
  EXPECT_EQ(reset, 1);
  EXPECT_EQ(eh::errstat, 0);
  EXPECT_FALSE(eh::errintv.allocated());
  EXPECT_FALSE(eh::errrealv.allocated());
  EXPECT_FALSE(eh::errasciim.allocated());
  EXPECT_EQ(eh::errstring.trimmed(), "Iteration limit reached");  // the text stays
}

TEST_F(Latch, StopFlagZeroPrintsAndEndsWithStatusOne) {
  set_halt_handler([](int status) { throw Halted{status}; });
  testing::internal::CaptureStdout();
  int status = -1;
  try {
    host_xerr(-2, "fatal text", {}, {}, 0, 0, 0);
  } catch (const Halted& h) {
    status = h.status;
  }
  const std::string out = testing::internal::GetCapturedStdout();
  set_halt_handler(nullptr);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(out, " " + message("fatal text") + "\n");
  EXPECT_EQ(eh::errstat, 0);  // a stop records nothing
}

TEST(LatchDeathTest, StopEndsTheProcess) {
  std::string m(80, ' ');
  int zero = 0;
  const int lop = -2, n = 0;
  EXPECT_EXIT(eh::xerr(lop, m.data(), nullptr, n, nullptr, n, nullptr, n, n, &zero),
              testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace tavrin
