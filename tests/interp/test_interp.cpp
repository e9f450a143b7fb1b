// The linear and nearest-neighbour interpolation package and its vector
// helpers; the table routines of module math over the Hermite package.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <tuple>

#include "interp/interp.hpp"
#include "interp/tables.hpp"
#include "pchip/fatal_paths.hpp"

namespace tavrin {
namespace {

using namespace testing_support;
using Package = decltype(&interp_linear);
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

Vector interpolate(Package fn, const Vector& t, const Vector& p, const Vector& at, int m = 1) {
  const int n = int(t.size()), ni = int(at.size());
  const std::size_t size = std::size_t(std::max(m, 0) * ni);
  Vector out(size + 4, -7.0);  // four guard entries after the result
  fn(&m, &n, t.data(), p.data(), &ni, at.data(), out.data());
  EXPECT_EQ(Vector(out.begin() + std::ptrdiff_t(size), out.end()), Vector(4, -7.0));
  out.resize(size);
  return out;
}

// Equal entries, NaN equal to NaN.
bool same(const Vector& a, const Vector& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](double u, double v) { return u == v || (std::isnan(u) && std::isnan(v)); });
}

// Package, dimensions, abscissas, data (column-major), points, result: two
// dimensions per point; a one-point table gives its column everywhere; NaN
// points give NaN; nothing to evaluate writes nothing; nearest takes
// descending tables too.
TEST(Interpolation, LinearAndNearest) {
  const std::tuple<Package, int, Vector, Vector, Vector, Vector> cases[] = {
      {interp_linear, 2, {0, 2, 4}, {0, 1, 4, 3, 8, 5}, {1, 5, nan}, {2, 2, 10, 6, nan, nan}},
      {interp_linear, 1, {3}, {8}, {-1e300, 0, 3, 7, nan}, {8, 8, 8, 8, nan}},
      {interp_linear, 2, {3}, {8, 9}, {1}, {8, 9}},
      {interp_linear, 1, {0, 1}, {0, 1}, {}, {}},
      {interp_nearest, 1, {4, 3, 2, 1, 0}, {10, 11, 12, 13, 14}, {2.2, 2.5, 9, -1}, {12, 11, 10, 14}},
      {interp_nearest, 1, {5}, {1}, {-3, 5, 100, nan}, {1, 1, 1, nan}},
      {interp_nearest, 2, {0, 1, 2}, {10, 11, 12, 20, 21, 22}, {nan, 1.2}, {nan, nan, 12, 20}},
      {interp_linear, 0, {0, 1}, {}, {0.5}, {}},  // no dimensions: nothing written
      {interp_nearest, -1, {0, 1}, {}, {0.5}, {}},
  };
  for (const auto& [fn, m, t, p, at, expected] : cases)
    EXPECT_TRUE(same(interpolate(fn, t, p, at, m), expected)) << (fn == interp_linear) << " " << at.size();
}

TEST(VectorHelpers, SortedNearestAndBracket) {
  // A tie takes the larger entry; an exact hit found by the bisection
  // returns at once, also among equal neighbours.
  const std::tuple<Vector, double, int> nearest[] = {
      {{}, 1, -1}, {{3}, -10, 1}, {{0, 1, 2, 3, 4}, 2.5, 4}, {{4, 3, 2, 1, 0}, 2.5, 2},
      {{0, 1, 2}, nan, -1}, {{0, 1, 1, 1, 1, 1, 9}, 1, 4},
      {{5, 5, 5}, 4, 3}};  // equal ends read as descending: the smaller entries at the end
  for (const auto& [a, v, expected] : nearest) {
    const int n = int(a.size());
    EXPECT_EQ(r8vec_sorted_nearest(&n, a.data(), &v), expected) << v;
  }
  // An interior node starts its interval.
  const std::tuple<Vector, double, int, int> brackets[] = {
      {{0, 1, 2, 3}, -5, 1, 2}, {{0, 1, 2, 3}, 1, 2, 3}, {{0, 1, 2, 3}, 99, 3, 4}, {{0, 1, 2, 3}, nan, 3, 4},
      {{0, 1, 1, 2}, 1, 3, 4},  {{0, 1}, 7, 1, 2},       {{4}, 7, 1, 1},           {{}, 7, -1, -1}};
  for (const auto& [x, v, left, right] : brackets) {
    const int n = int(x.size());
    int l = 0, r = 0;
    r8vec_bracket(&n, x.data(), &v, &l, &r);
    EXPECT_EQ((std::pair{l, r}), (std::pair{left, right})) << v;
  }
}

class Stops : public FatalPaths {};

// Abscissas that do not increase (equal, or NaN) and empty tables (never
// read) end the package's process; Hermite errors reached from the table
// routines end it after the Hermite package's framed message (a one-point
// table: from Python).
TEST_F(Stops, PackageAndTableErrors) {
  const std::string unordered = "Independent variable array T_DATA is not strictly increasing.",
                    empty = "Data array T_DATA holds no points.";
  const std::tuple<Package, Vector, std::string, std::string> cases[] = {
      {interp_linear, {0, 1, 1, 2}, "INTERP_LINEAR", unordered},
      {interp_linear, {2, nan}, "INTERP_LINEAR", unordered},
      {interp_linear, {}, "INTERP_LINEAR", empty},
      {interp_nearest, {}, "INTERP_NEAREST", empty}};
  for (const auto& [fn, t, name, reason] : cases) {
    const auto o = run_captured([&] { interpolate(fn, t, {0, 1, 2, 3}, {0.5}); });
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.lines(), (Lines{" ", name + " - Fatal error!", "  " + reason}));
  }
  static const double x[3] = {0, 2, 1}, y[3] = {2, 3, 0};
  const std::tuple<std::function<void()>, std::string, std::string> hermite_cases[] = {
      {[] { math::cubichermitianintegration(nullptr, nullptr, 0, 0, 1); }, "DPCHIM",
       "NUMBER OF DATA POINTS LESS THAN TWO"},
      {[] { math::cubichermitianinterpolation(x, y, 2, nullptr, 0, nullptr); }, "DPCHFE",
       "NUMBER OF EVALUATION POINTS LESS THAN ONE"},
      {[] { math::cubichermitianarclength(x, y, 3, 0, 1); }, "DPCHIM", "X-ARRAY NOT STRICTLY INCREASING"}};
  for (const auto& [call, routine, text] : hermite_cases) {
    pchip::reset_error_facility();
    const auto o = run_captured(call);
    EXPECT_EQ(o.status, 1);
    const Lines lines = o.lines();
    EXPECT_EQ(lines.at(0), " ***MESSAGE FROM ROUTINE " + routine + " IN LIBRARY SLATEC.");
    EXPECT_EQ(lines.at(2), " *  " + text);
  }
}

}  // namespace
}  // namespace tavrin
