// The linear and nearest-neighbour interpolation package and its vector
// helpers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "interp/interp.hpp"
#include "pchip/fatal_paths.hpp"

namespace tavrin {
namespace {

using testing_support::FatalPaths;
using testing_support::run_captured;
using Vector = std::vector<double>;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

Vector linear(const Vector& t, const Vector& p, const Vector& at, int m = 1) {
  const int n = int(t.size()), ni = int(at.size());
  Vector out(std::size_t(m * ni), -7.0);
  interp_linear(&m, &n, t.data(), p.data(), &ni, at.data(), out.data());
  return out;
}

Vector nearest(const Vector& t, const Vector& p, const Vector& at, int m = 1) {
  const int n = int(t.size()), ni = int(at.size());
  Vector out(std::size_t(m * ni), -7.0);
  interp_nearest(&m, &n, t.data(), p.data(), &ni, at.data(), out.data());
  return out;
}

TEST(LinearInterpolation, LinesInsideAndBeyondTheData) {
  EXPECT_EQ(linear({0, 1, 2}, {0, 10, 30}, {-1, 1, 1.5, 3}), (Vector{-10, 10, 20, 50}));
  // Two dimensions per point, column-major.
  EXPECT_EQ(linear({0, 2, 4}, {0, 1, 4, 3, 8, 5}, {1, 5}, 2), (Vector{2, 2, 10, 6}));
  // Nothing to evaluate: nothing written.
  const int m = 1, n = 2, ni = 0;
  const double t[2] = {0, 1}, p[2] = {0, 1}, at = 0.5;
  double out = -7;
  interp_linear(&m, &n, t, p, &ni, &at, &out);
  EXPECT_EQ(out, -7.0);
  // NaN points give NaN.
  EXPECT_TRUE(std::isnan(linear({0, 1, 2}, {0, 1, 2}, {nan})[0]));
}

TEST(LinearInterpolation, OnePointTableGivesItsValue) {
  const Vector r = linear({3}, {8}, {-1e300, 0, 3, 7});
  EXPECT_EQ(r, Vector(4, 8.0));
  EXPECT_TRUE(std::isnan(linear({3}, {8}, {nan})[0]));
  EXPECT_EQ(linear({3}, {8, 9}, {1}, 2), (Vector{8, 9}));
}

class PackageStops : public FatalPaths {};

TEST_F(PackageStops, AbscissasNotIncreasingOrNoData) {
  auto o = run_captured([] { linear({0, 1, 1, 2}, {0, 1, 2, 3}, {0.5}); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines(), (std::vector<std::string>{
                           " ", "INTERP_LINEAR - Fatal error!",
                           "  Independent variable array T_DATA is not strictly increasing."}));
  EXPECT_EQ(run_captured([] { linear({2, 1}, {0, 1}, {0.5}); }).status, 1);
  // An empty table is refused, never read.
  o = run_captured([] { linear({}, {}, {0.5}); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines()[1], "INTERP_LINEAR - Fatal error!");
  o = run_captured([] { nearest({}, {}, {0.5}); });
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.lines()[1], "INTERP_NEAREST - Fatal error!");
}

TEST(NearestInterpolation, AscendingAndDescendingTables) {
  const Vector values{10, 11, 12, 13, 14};
  EXPECT_EQ(nearest({0, 1, 2}, {10, 11, 12}, {0.5, 0.49, 7, -3}), (Vector{11, 10, 12, 10}));
  // Descending parameters 4, 3, 2, 1, 0.
  EXPECT_EQ(nearest({4, 3, 2, 1, 0}, values, {2.2, 2.5, 9, -1}), (Vector{12, 11, 10, 14}));
  // One entry: its value for every point; NaN points give NaN.
  EXPECT_EQ(nearest({5}, {1}, {-3, 5, 100}), (Vector{1, 1, 1}));
  const Vector r = nearest({0, 1, 2}, {10, 11, 12, 20, 21, 22}, {nan, 1.2}, 2);
  EXPECT_TRUE(std::isnan(r[0]) && std::isnan(r[1]));
  EXPECT_EQ(r[2], 12);  // the second column of the 2 x 3 data
  EXPECT_EQ(r[3], 20);
  EXPECT_TRUE(std::isnan(nearest({5}, {1}, {nan})[0]));
}

TEST(VectorHelpers, SortedNearest) {
  auto index = [](const Vector& a, double v) {
    const int n = int(a.size());
    return r8vec_sorted_nearest(&n, a.data(), &v);
  };
  EXPECT_EQ(index({}, 1), -1);
  EXPECT_EQ(index({3}, -10), 1);
  EXPECT_EQ(index({0, 1, 2, 3, 4}, 2.5), 4);   // a tie takes the larger entry
  EXPECT_EQ(index({4, 3, 2, 1, 0}, 2.5), 2);
  // An exact hit found by the bisection returns at once, also among equal
  // neighbours.
  EXPECT_EQ(index({0, 1, 1, 1, 1, 1, 9}, 1), 4);
  EXPECT_EQ(index({0, 1, 2}, nan), -1);
}

TEST(VectorHelpers, BracketAndAscent) {
  auto bracket = [](const Vector& x, double v) {
    const int n = int(x.size());
    int left = 0, right = 0;
    r8vec_bracket(&n, x.data(), &v, &left, &right);
    return std::pair{left, right};
  };
  const Vector x{0, 1, 2, 3};
  EXPECT_EQ(bracket(x, -5), (std::pair{1, 2}));
  EXPECT_EQ(bracket(x, 0.5), (std::pair{1, 2}));
  EXPECT_EQ(bracket(x, 1), (std::pair{2, 3}));   // an interior node starts its interval
  EXPECT_EQ(bracket(x, 2), (std::pair{3, 4}));
  EXPECT_EQ(bracket(x, 99), (std::pair{3, 4}));
  EXPECT_EQ(bracket(x, nan), (std::pair{3, 4}));
  EXPECT_EQ(bracket({0, 1, 1, 2}, 1), (std::pair{3, 4}));
  EXPECT_EQ(bracket({0, 1}, 7), (std::pair{1, 2}));
  EXPECT_EQ(bracket({4}, 7), (std::pair{1, 1}));
  EXPECT_EQ(bracket({}, 7), (std::pair{-1, -1}));

  auto ascends = [](const Vector& v) {
    const int n = int(v.size());
    return r8vec_ascends_strictly(&n, v.data());
  };
  EXPECT_EQ(ascends({}), 1);
  EXPECT_EQ(ascends({1}), 1);
  EXPECT_EQ(ascends({1, 2, 3}), 1);
  EXPECT_EQ(ascends({1, 2, 2}), 0);
  EXPECT_EQ(ascends({1, nan, 3}), 0);
}

}  // namespace
}  // namespace tavrin
