// The first-error latch under concurrent failures: a threaded host may refuse
// at several integration points at once, and the latch must keep one whole
// record, the first.  CI runs these under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "foundation/errorhandling.hpp"
#include "foundation/shared_state.hpp"

namespace tavrin {
namespace {

void clear() {
  int reset = 0;
  errorhandling::rsxerr(reset, 1);
}

TEST(Latch, ConcurrentFailuresLeaveOneWholeRecord) {
  constexpr int threads = 8;
  for (int round = 0; round < 50; ++round) {
    clear();
    std::atomic<int> ready{0};
    std::vector<std::thread> pool;
    for (int t = 1; t <= threads; ++t)
      pool.emplace_back([t, &ready] {
        // Thread t's record: status -t, its own message, t integers and t reals of value t.
        const std::vector<int> ints(std::size_t(t), 0 + t);
        const std::vector<double> reals(std::size_t(t), 1.0 * t);
        const std::string message = "failure of thread " + std::to_string(t);
        ++ready;
        while (ready < threads) std::this_thread::yield();
        xerr(-t, message, ints, reals);
      });
    for (auto& th : pool) th.join();
    const int t = -errorhandling::errstat;
    ASSERT_TRUE(t >= 1 && t <= threads);
    EXPECT_EQ(errorhandling::errstring.trimmed(), "failure of thread " + std::to_string(t));
    ASSERT_EQ(errorhandling::errintv.size(), t);
    ASSERT_EQ(errorhandling::errrealv.size(), t);
    for (int i = 1; i <= t; ++i) {
      EXPECT_EQ(errorhandling::errintv(i), t);
      EXPECT_EQ(errorhandling::errrealv(i), double(t));
    }
  }
  clear();
}

TEST(Latch, ALaterFailureDoesNotReplaceTheFirst) {
  clear();
  const int first[] = {1, 2};
  xerr(-2, "first", first);
  xerr(-3, "second", std::vector<int>{9, 9, 9});
  EXPECT_EQ(errorhandling::errstat, -2);
  EXPECT_EQ(errorhandling::errstring.trimmed(), "first");
  EXPECT_EQ(errorhandling::errintv.size(), 2);
  clear();
  EXPECT_EQ(errorhandling::errstat, 0);
}

}  // namespace
}  // namespace tavrin
