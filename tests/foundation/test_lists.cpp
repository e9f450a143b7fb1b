// Growable lists: the indexed lists against a plain model that scans its
// entries the way the list semantics are stated, over random sequences of
// operations with colliding values and markers.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "foundation/lists.hpp"

namespace {

constexpr double big = std::numeric_limits<double>::max();

// The list semantics by linear scans.
template <class T>
struct Model {
  bool exists = false;
  std::vector<T> data;

  std::size_t first(const T& marker) const {
    return std::size_t(std::find(data.begin(), data.end(), marker) - data.begin());
  }
  int allocate(int le, const T& marker) {
    if (exists) {
      std::fill(data.begin(), data.end(), marker);
      return 5014;
    }
    data.assign(std::size_t(std::max(le, 0)), marker);
    exists = true;
    return 0;
  }
  int size(const T& marker) const { return exists ? int(first(marker)) : -1; }
  int append(const T& v, int uniflag, int inc, const T& marker) {
    if (!exists) allocate(inc, marker);
    if (uniflag == 1 && std::find(data.begin(), data.end(), v) != data.end()) return 0;
    std::size_t pos = first(marker);
    if (pos == data.size()) data.resize(pos + std::size_t(inc), marker);
    data[pos] = v;
    return 1;
  }
  int append_array(const std::vector<T>& values, int uniflag, int inc, const T& marker) {
    if (!exists) allocate(inc, marker);
    const auto used = data.begin() + std::ptrdiff_t(first(marker));
    if (uniflag == 1 &&
        (values.empty() || std::search(data.begin(), used, values.begin(), values.end()) != used))
      return 0;
    int r = 0;
    for (const T& v : values) r = append(v, 0, inc, marker);
    return r;
  }
};

bool same(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}
bool same(int a, int b) { return a == b; }

// The C entry points of one value type, on list 2.
template <class T>
struct Api;
template <>
struct Api<int> {
  static constexpr int flag = 0;
  static constexpr auto append = iAppendScalar2List;
  static constexpr auto append_array = iAppendArray2List;
  static constexpr auto copy = iGetCopyOfList;
  static std::vector<int> pool() { return {0, 1, 2, 3, 7, -1, 2147483647}; }
};
template <>
struct Api<double> {
  static constexpr int flag = 1;
  static constexpr auto append = fAppendScalar2List;
  static constexpr auto append_array = fAppendArray2List;
  static constexpr auto copy = fGetCopyOfList;
  static std::vector<double> pool() { return {0.0, -0.0, 1.0, 2.5, -1.0, big, NAN}; }
};

template <class T>
struct Ops : Api<T> {
  static constexpr int id = 2;
  static void allocate(int le, int* e, const T* m) {
    const int f = Api<T>::flag;
    if constexpr (std::is_same_v<T, int>) AllocateList(&id, &f, &le, e, nullptr, nullptr, m);
    else AllocateList(&id, &f, &le, e, nullptr, m, nullptr);
  }
  static int size(const T* m) {
    const int f = Api<T>::flag;
    if constexpr (std::is_same_v<T, int>) return GetSizeOfList(&id, &f, nullptr, nullptr, m);
    else return GetSizeOfList(&id, &f, nullptr, m, nullptr);
  }
};

template <class T>
void compare_with_model(unsigned seed) {
  using O = Ops<T>;
  const int id = O::id, flag = O::flag;
  int ierror = 0;
  DeallocateList(&id, &flag, &ierror);
  Model<T> model;
  std::mt19937 rng(seed);
  const std::vector<T> pool = O::pool();
  const auto pick = [&] { return pool[rng() % pool.size()]; };
  // Markers: mostly the standard one (null), sometimes a value of the pool.
  const auto marker = [&]() -> std::pair<const T*, T> {
    static thread_local T held;
    if (rng() % 3) return {nullptr, T{}};
    held = pick();
    return {&held, held};
  };
  for (int step = 0; step < 3000; ++step) {
    const auto [m, mv] = marker();
    const T standard = flag == 0 ? T(2147483647) : T(big);
    const T effective = m ? mv : standard;
    const int inc = 1 + int(rng() % 4);
    int r = -99;
    switch (rng() % 10) {
      case 0: {
        const int le = int(rng() % 5) - 1;
        O::allocate(le, &r, m);
        ASSERT_EQ(r, model.allocate(le, effective)) << step;
        break;
      }
      case 1:
        if (rng() % 4 == 0) {
          DeallocateList(&id, &flag, &r);
          ASSERT_EQ(r, model.exists ? 0 : 1);
          model = {};
        }
        break;
      case 2: {
        std::vector<T> values(rng() % 3);
        for (T& v : values) v = pick();
        const int u = int(rng() % 2);
        const int nv = int(values.size());
        O::append_array(&id, values.data(), &nv, &u, &r, &inc, m);
        ASSERT_EQ(r, model.append_array(values, u, inc, effective)) << step;
        break;
      }
      default: {
        const T v = pick();
        const int u = int(rng() % 2);
        O::append(&id, &v, &u, &r, &inc, m);
        ASSERT_EQ(r, model.append(v, u, inc, effective)) << step;
      }
    }
    ASSERT_EQ(O::size(m), model.size(effective)) << step;
    std::vector<T> copy(model.data.size() + 2, T(-7));
    const int ncopy = int(copy.size());
    O::copy(&id, copy.data(), &ncopy, &r);
    ASSERT_EQ(r, model.exists ? 0 : -1);
    for (std::size_t i = 0; i < model.data.size(); ++i)
      ASSERT_TRUE(same(copy[i], model.data[i])) << step;
    ASSERT_TRUE(same(copy[model.data.size()], T(-7)));
  }
  DeallocateList(&id, &flag, &ierror);
}

TEST(GrowableLists, IntegerListsFollowTheModel) {
  for (unsigned seed = 1; seed <= 5; ++seed) compare_with_model<int>(seed);
}

TEST(GrowableLists, RealListsFollowTheModel) {
  for (unsigned seed = 1; seed <= 5; ++seed) compare_with_model<double>(seed);
}

TEST(GrowableLists, ComplexValuesCompareBothParts) {
  const int id = 1, flag = 2, uni = 1;
  int r = 0;
  const std::complex<double> a{1.0, 2.0}, b{1.0, -2.0}, minus_zero{-0.0, 0.0}, zero{0.0, -0.0},
      nan{NAN, 0.0};
  for (const auto& v : {a, b, a, minus_zero, zero, nan, nan})
    cAppendScalar2List(&id, &v, &uni, &r, nullptr, nullptr);
  EXPECT_EQ(GetSizeOfList(&id, &flag, nullptr, nullptr, nullptr), 5);
  DeallocateList(&id, &flag, &r);
  EXPECT_EQ(r, 0);
}

TEST(GrowableLists, LargeCountsStayWithinTheList) {
  const int id = 3, flag = 0, v = 4, u = 0, inc = 2;
  int r = 0;
  iAppendScalar2List(&id, &v, &u, &r, &inc, nullptr);
  std::vector<int> copy(2);  // ncopy far beyond the list: only its 2 entries are copied
  const int ncopy = 2;
  iGetCopyOfList(&id, copy.data(), &ncopy, &r);
  EXPECT_EQ(copy, (std::vector<int>{4, 2147483647}));
  std::vector<int> more(5, -1);
  const int five = 5;
  iGetCopyOfList(&id, more.data(), &five, &r);
  EXPECT_EQ(more, (std::vector<int>{4, 2147483647, -1, -1, -1}));
  const int zero = 0;
  iAppendScalar2List(&id, &v, &u, &r, &zero, nullptr);
  EXPECT_EQ(r, -1);  // no increment to grow by
  DeallocateList(&id, &flag, &r);
}

}  // namespace
