// Growable lists: the indexed lists against a plain model that scans its
// entries the way the list semantics are stated, over random sequences of
// operations with colliding values and markers.  The three value types share
// one template; real lists have the hardest equality (-0.0, NaN).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "foundation/lists.hpp"

namespace {

// The list semantics by linear scans.
struct Model {
  bool exists = false;
  std::vector<double> data;

  std::size_t first(double m) const { return std::size_t(std::find(data.begin(), data.end(), m) - data.begin()); }
  int allocate(int le, double marker) {
    if (exists) std::fill(data.begin(), data.end(), marker);
    else data.assign(std::size_t(std::max(le, 0)), marker);
    return std::exchange(exists, true) ? 5014 : 0;
  }
  int size(double marker) const { return exists ? int(first(marker)) : -1; }
  int append(double v, int uniflag, int inc, double marker) {
    if (!exists) allocate(inc, marker);
    if (uniflag == 1 && std::find(data.begin(), data.end(), v) != data.end()) return 0;
    std::size_t pos = first(marker);
    if (pos == data.size()) data.resize(pos + std::size_t(inc), marker);
    data[pos] = v;
    return 1;
  }
  int append_array(const std::vector<double>& values, int uniflag, int inc, double marker) {
    if (!exists) allocate(inc, marker);
    const auto used = data.begin() + std::ptrdiff_t(first(marker));
    if (uniflag == 1 &&
        (values.empty() || std::search(data.begin(), used, values.begin(), values.end()) != used))
      return 0;
    int r = 0;
    for (double v : values) r = append(v, 0, inc, marker);
    return r;
  }
};

// Real list 2 against the model over random operations; copies are asked for
// two entries beyond the list (only its entries are copied).
TEST(GrowableLists, RealListsFollowTheModel) {
  const int id = 2, flag = 1;
  const std::vector<double> pool{0.0, -0.0, 1.0, 2.5, -1.0, std::numeric_limits<double>::max(), NAN};
  // Bitwise, so that NaN entries compare.
  const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
  for (unsigned seed = 1; seed <= 5; ++seed) {
    int r = 0;
    DeallocateList(&id, &flag, &r);
    Model model;
    std::mt19937 rng(seed);
    const auto pick = [&] { return pool[rng() % pool.size()]; };
    for (int step = 0; step < 3000; ++step) {
      // Markers: mostly the standard one (null), sometimes a value of the pool.
      double held = pool[5];
      const double* m = nullptr;
      if (rng() % 3 == 0) held = pick(), m = &held;
      const int inc = 1 + int(rng() % 4), u = int(rng() % 2);
      const unsigned op = rng() % 40;
      if (op < 4) {
        const int le = int(rng() % 5) - 1;
        AllocateList(&id, &flag, &le, &r, nullptr, m, nullptr);
        ASSERT_EQ(r, model.allocate(le, held)) << step;
      } else if (op == 4) {
        DeallocateList(&id, &flag, &r);
        ASSERT_EQ(r, model.exists ? 0 : 1);
        model = {};
      } else if (op < 9) {
        std::vector<double> values(rng() % 3);
        for (double& v : values) v = pick();
        const int nv = int(values.size());
        fAppendArray2List(&id, values.data(), &nv, &u, &r, &inc, m);
        ASSERT_EQ(r, model.append_array(values, u, inc, held)) << step;
      } else {
        const double v = pick();
        fAppendScalar2List(&id, &v, &u, &r, &inc, m);
        ASSERT_EQ(r, model.append(v, u, inc, held)) << step;
      }
      ASSERT_EQ(GetSizeOfList(&id, &flag, nullptr, m, nullptr), model.size(held)) << step;
      std::vector<double> copy(model.data.size() + 2, -7.0);
      const int ncopy = int(copy.size());
      fGetCopyOfList(&id, copy.data(), &ncopy, &r);
      ASSERT_EQ(r, model.exists ? 0 : -1);
      ASSERT_TRUE(std::equal(model.data.begin(), model.data.end(), copy.begin(), same)) << step;
      ASSERT_EQ(copy[model.data.size()], -7.0);
    }
    DeallocateList(&id, &flag, &r);
  }
}

}  // namespace
