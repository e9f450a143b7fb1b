// The golden-section search driven as its callers drive it, in both modes,
// and the states it refuses instead of indexing outside its tables.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "foundation/goldensection.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using GoldenSection = testing::LatchTest;

// The caller's state and loop; the sample tables hold exactly npoints entries.
struct Search {
  std::vector<double> x, y, requested;
  std::array<double, 4> xmove{}, ymove{};
  std::array<double, 2> lplimits{};
  int xdir = 0, increment = 0, proc = 0, npoints;
  bool isgolden = false, update = false, finish = false;
  double xi = 0.0, yi = 0.0, dx, defaultvalue = -1.0;

  Search(double xlow, double xup, double step, int gsflag, int n)
      : x(std::size_t(std::max(n, 0))), y(x.size()), npoints(n), dx(step) {
    IniGoldenSearch(x.data(), y.data(), xmove.data(), lplimits.data(), &increment, &proc,
                    &isgolden, &finish, &xlow, &xup, &dx, &gsflag, &npoints);
  }
  void step() {
    GSSAFE(&xi, &yi, &dx, x.data(), y.data(), xmove.data(), ymove.data(), lplimits.data(), &xdir,
           &increment, &proc, &isgolden, &update, &finish, &defaultvalue, &npoints);
  }
  // Steps until finished, recording every requested point and answering f there.
  template <class F>
  void run(F f) {
    for (int guard = 0; !finish && guard < 10000; ++guard)
      if (step(); update) yi = f(requested.emplace_back(xi));
  }
};

TEST_F(GoldenSection, GoldenModeNarrowsByPhiAndScanModeKeepsTheBestSample) {
  Search s(0.0, 1.0, 1e-2, 1, 200);
  s.run([](double x) { return 1.0 - (x - 0.3) * (x - 0.3); });
  ASSERT_TRUE(s.finish);
  EXPECT_NEAR(s.xi, 0.3, 1e-14);  // the final parabola is the function itself
  // Each golden step shrinks the bracket by φ: below 1e-2 after
  // ceil(log(100)/log φ) = 10 of them, then one request for the vertex.
  ASSERT_EQ(s.requested.size(), 4u + 10u + 1u);
  // The start points: the ends and the inner points 1/φ² = 2 - φ and 1/φ = φ - 1.
  testing::expect_all_near(std::vector(s.requested.begin(), s.requested.begin() + 4),
                           std::array{0.0, 1.0, 2.0 - std::numbers::phi, std::numbers::phi - 1.0}, 1e-15);
  // Too few sample slots end the search, and further calls keep finishing.
  Search few(0.0, 1.0, 1e-9, 1, 6);
  few.run([](double x) { return x * (1.0 - x); });
  EXPECT_EQ(std::tuple(few.requested.size(), few.increment, few.proc, few.yi), std::tuple(6u, 6, -1, few.y[5]));
  few.step();
  EXPECT_TRUE(few.finish);
  // Scan mode keeps the best sample above zero; asked again after the end it
  // answers from the best slot.
  Search scan(0.0, 1.0, 0.25, 0, 100);
  scan.run([](double x) { return x * (1.0 - x); });
  EXPECT_EQ(std::pair(scan.requested, scan.xi), std::pair(std::vector{0.0, 0.25, 0.5, 0.75, 1.0}, 0.5));
  scan.yi = 7.0;
  scan.step();
  EXPECT_EQ(std::pair(scan.finish, scan.yi), std::pair(true, 0.25));
  Search negative(0.0, 1.0, 0.25, 0, 100);
  negative.run([](double x) { return -x; });
  EXPECT_EQ(std::pair(negative.xi, negative.yi), std::pair(0.0, 0.0));
  EXPECT_EQ(take(), latch(0));
}

// The four start points of f(x) = x(1 - x) on [0, 1], called directly:
// each start call takes the previous value into ymove and leaves xdir 0,
// whatever it held.  The vertex asked for then is that of the parabola
// through the lower end, the left inner point and the right inner point
// with ymove(4) still 0: the midpoint of its roots 0 and φ - 1.
TEST_F(GoldenSection, StartPointsResetTheDirection) {
  Search s(0.0, 1.0, 1e-3, 1, 10);
  s.xdir = 5;
  for (int k = 1; k <= 4; ++k) {
    double xnext = 0.0;
    GetNextFromGoldenSearch(&xnext, &s.dx, s.x.data(), s.y.data(), s.xmove.data(), s.ymove.data(), &s.xdir,
                            &s.increment, &s.npoints);
    s.y[std::size_t(k - 1)] = xnext * (1.0 - xnext);
    EXPECT_EQ(std::pair(s.xdir, s.increment), std::pair(0, k));
  }
  double xmax = 0.0;
  GetMaximumFromGoldenSearch(&xmax, s.y.data(), s.xmove.data(), s.ymove.data(), &s.defaultvalue, &s.xdir,
                             &s.increment, &s.npoints);
  EXPECT_NEAR(xmax, 0.5 * (std::numbers::phi - 1.0), 1e-15);
  EXPECT_EQ(take(), latch(0));
}

TEST_F(GoldenSection, DegenerateStatesEndTheSearch) {
  const std::string few = "Golden-section search needs at least four points",
                    outside = "Golden-section search index outside the sample points";
  // (npoints, increment, proc): too few points, an index beyond the samples
  // either way, an answer asked for before any sample was taken.
  for (const auto& [n, increment, proc, message] :
       {std::tuple{3, 0, 0, few}, {6, 7, 0, outside}, {6, -1, 0, outside}, {6, 0, 4, outside}}) {
    Search s(0.0, 1.0, 1e-3, 1, n);
    s.increment = increment;
    s.proc = proc;
    s.step();
    EXPECT_EQ(std::pair(s.finish, s.update), std::pair(true, false));
    EXPECT_EQ(take(), latch(-3, message));
  }
  Search full(0.0, 1.0, 1e-3, 1, 6);
  full.increment = 6;
  double xnext = 0.0, width = 0.0;
  GetNextFromGoldenSearch(&xnext, &width, full.x.data(), full.y.data(), full.xmove.data(), full.ymove.data(),
                          &full.xdir, &full.increment, &full.npoints);
  EXPECT_TRUE(std::isnan(xnext) && full.increment == 6);
  EXPECT_EQ(take(), latch(-3, outside));
  // A scan that cannot advance, also for a step lost to rounding at the scan point.
  for (const auto& [lo, dx] : {std::pair{0.0, 0.0}, {0.0, -0.25}, {0.0, std::nan("")}, {1e17, 1.0}}) {
    Search s(lo, 2.0 * lo + 1.0, dx, 0, 10);
    s.run([](double) { return 1.0; });
    EXPECT_TRUE(s.finish);
    EXPECT_EQ(take(), latch(-3, "Golden-section scan needs finite ends and a positive step"));
  }
  // A degenerate final parabola (collinear, coincident points) gives the default.
  const std::array zeros{0.0, 0.0, 0.0, 0.0}, line{0.0, 4.0, 1.0, 2.0}, same{1.0, 1.0, 1.0, 1.0};
  const double fallback = -5.0;
  const int xdir = 0, four = 4;
  for (const auto& xmove : {line, same}) {
    double xmax = 0.0;
    GetMaximumFromGoldenSearch(&xmax, zeros.data(), xmove.data(), line.data(), &fallback, &xdir, &four, &four);
    EXPECT_EQ(xmax, fallback);
  }
}

}  // namespace
}  // namespace tavrin
