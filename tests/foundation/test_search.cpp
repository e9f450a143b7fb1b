// The merge against a literal step-by-step version of its definition, over
// random small lists with many repeated values and zeros.
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
  const auto has = [](const std::vector<int>& v, int a) { return std::find(v.begin(), v.end(), a) != v.end(); };
  std::size_t w = 0;
  for (int v : x)
    if (!has(y, v)) m[w++] = v;
  for (int v : y)
    if (!has(x, v)) m[w++] = v;
  for (int v : x) {
    const auto slot = std::find(m.begin(), m.end(), 0);
    if (!has(m, v) && slot != m.end()) *slot = v;
  }
  std::replace(m.begin(), m.end(), 0, defval);
  const auto slot = std::find(m.begin(), m.end(), defval);
  if ((has(x, 0) || has(y, 0)) && slot != m.end()) *slot = 0;
  return m;
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
  // NaNs equal nothing: each is placed once, all inside the result.
  const std::vector<double> x{NAN, 1.0, NAN}, y{1.0, NAN};
  std::vector<double> merged(5, -5.0);
  const int nx = 3, ny = 2;
  fGetMerged(merged.data(), x.data(), y.data(), &nx, &ny, nullptr);
  EXPECT_TRUE(std::isnan(merged[0]) && std::isnan(merged[1]) && std::isnan(merged[2]));
  EXPECT_EQ(merged[3], 1.0);
  EXPECT_EQ(merged[4], 1.7976931348623157e308);
}

}  // namespace
