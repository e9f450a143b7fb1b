// Search and selection: the merge and the ordering permutation against
// literal step-by-step versions of their definitions, over random small
// lists with many repeated values and zeros.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "foundation/search.hpp"

namespace {

// The merge as its steps read: slots holding 0 are empty.
std::vector<int> merged_by_steps(const std::vector<int>& x, const std::vector<int>& y, int defval) {
  std::vector<int> m(x.size() + y.size(), 0);
  const auto has = [](const std::vector<int>& v, int a) {
    return std::find(v.begin(), v.end(), a) != v.end();
  };
  std::size_t w = 0;
  for (int v : x)
    if (!has(y, v)) m[w++] = v;
  for (int v : y)
    if (!has(x, v)) m[w++] = v;
  for (int v : x) {
    if (has(m, v)) continue;
    const auto slot = std::find(m.begin(), m.end(), 0);
    if (slot != m.end()) *slot = v;
  }
  std::replace(m.begin(), m.end(), 0, defval);
  if (has(x, 0) || has(y, 0)) {
    const auto slot = std::find(m.begin(), m.end(), defval);
    if (slot != m.end()) *slot = 0;
  }
  return m;
}

// The ordering permutation by repeated selection.
std::vector<int> order_by_selection(const std::vector<double>& x, int sflag) {
  std::vector<bool> chosen(x.size(), false);
  std::vector<int> order;
  for (std::size_t p = 0; p < x.size(); ++p) {
    int best = -1;
    for (std::size_t i = 0; i < x.size(); ++i) {
      if (chosen[i]) continue;
      if (best < 0) { best = int(i); continue; }
      const double b = x[std::size_t(best)], v = x[i];
      const bool better = std::isnan(b) ? !std::isnan(v) : (sflag == -1 ? v > b : v < b);
      if (better) best = int(i);
    }
    chosen[std::size_t(best)] = true;
    order.push_back(best + 1);
  }
  return order;
}

TEST(Search, MergeFollowsItsSteps) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 2000; ++trial) {
    std::vector<int> x(rng() % 6), y(rng() % 6);
    for (int& v : x) v = int(rng() % 4);
    for (int& v : y) v = int(rng() % 4);
    const int defval = trial % 5 == 0 ? 0 : 2147483647;
    std::vector<int> merged(x.size() + y.size() + 1, -5);  // one guard entry
    const int nx = int(x.size()), ny = int(y.size());
    iGetMerged(merged.data(), x.data(), y.data(), &nx, &ny, &defval);
    EXPECT_EQ(merged.back(), -5);
    merged.pop_back();
    ASSERT_EQ(merged, merged_by_steps(x, y, defval)) << trial;
  }
}

TEST(Search, MergeWithNaNsWritesInsideTheResult) {
  const std::vector<double> x{NAN, 1.0, NAN}, y{1.0, NAN};
  std::vector<double> merged(5, -5.0);
  const int nx = 3, ny = 2;
  fGetMerged(merged.data(), x.data(), y.data(), &nx, &ny, nullptr);
  EXPECT_TRUE(std::isnan(merged[0]) && std::isnan(merged[1]) && std::isnan(merged[2]));
  EXPECT_EQ(merged[3], 1.0);
  EXPECT_EQ(merged[4], 1.7976931348623157e308);
}

TEST(Search, OrderingPermutationFollowsRepeatedSelection) {
  std::mt19937 rng(11);
  const double values[] = {0.0, -0.0, 1.0, -2.0, 3.5, NAN};
  for (int trial = 0; trial < 2000; ++trial) {
    std::vector<double> x(rng() % 8);
    for (double& v : x) v = values[rng() % 6];
    const int n = int(x.size());
    for (const int sflag : {1, -1, 0}) {
      std::vector<int> iloc(x.size(), 0);
      fGetContinuous(x.data(), &n, iloc.data(), &sflag);
      ASSERT_EQ(iloc, order_by_selection(x, sflag)) << trial;
    }
  }
}

TEST(Search, RunsAndEmptyRuns) {
  const std::vector<int> a{1, 2, 3, 2, 3};
  const int two = 2, five = 5, zero = 0, minus = -1, nf = 0;
  const std::vector<int> sub{3, 2};
  EXPECT_EQ(iFindSubArray(sub.data(), a.data(), &two, &five, nullptr), 3);
  EXPECT_EQ(iFindSubArray(sub.data(), a.data(), &zero, &five, nullptr), 1);
  EXPECT_EQ(iFindSubArray(sub.data(), a.data(), &zero, &minus, &nf), 0);
  EXPECT_EQ(iFindSubArray(sub.data(), a.data(), &two, &minus, nullptr), -1);
}

}  // namespace
