// The golden-section search driven as its callers drive it, in both modes,
// and the states it refuses instead of indexing outside its tables.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "foundation/goldensection.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using GoldenSection = testing::LatchTest;
constexpr double phi = std::numbers::phi;

// The caller's state and loop.
struct Search {
  std::vector<double> x, y;
  std::array<double, 4> xmove{}, ymove{};
  std::array<double, 2> lplimits{};
  int xdir = 0, increment = 0, proc = 0, npoints;
  bool isgolden = false, update = false, finish = false;
  double xi = 0.0, yi = 0.0, dx, defaultvalue;
  std::vector<double> requested;

  Search(double xlow, double xup, double step, int gsflag, int n, double fallback = -1.0)
      : x(std::size_t(std::max(n, 0))), y(x.size()), npoints(n), dx(step), defaultvalue(fallback) {
    IniGoldenSearch(x.data(), y.data(), xmove.data(), lplimits.data(), &increment, &proc,
                    &isgolden, &finish, &xlow, &xup, &dx, &gsflag, &npoints);
  }
  void step() {
    GSSAFE(&xi, &yi, &dx, x.data(), y.data(), xmove.data(), ymove.data(), lplimits.data(), &xdir,
           &increment, &proc, &isgolden, &update, &finish, &defaultvalue, &npoints);
  }
  template <class F>
  void run(F f) {
    for (int guard = 0; !finish && guard < 10000; ++guard) {
      step();
      if (update) {
        requested.push_back(xi);
        yi = f(xi);
      }
    }
  }
};

TEST_F(GoldenSection, GoldenModeNarrowsByPhiAndFitsAParabola) {
  Search s(0.0, 1.0, 1e-2, 1, 200);
  s.run([](double x) { return 1.0 - (x - 0.3) * (x - 0.3); });
  ASSERT_TRUE(s.finish);
  EXPECT_NEAR(s.xi, 0.3, 1e-14);  // the final parabola is the function itself
  ASSERT_GE(s.requested.size(), 6u);
  EXPECT_EQ(s.requested[0], 0.0);
  EXPECT_EQ(s.requested[1], 1.0);
  EXPECT_NEAR(s.requested[2], 1.0 / (phi * phi), 1e-15);
  EXPECT_NEAR(s.requested[3], 1.0 / phi, 1e-15);
  // Each golden step shrinks the bracket by φ: below 1e-2 after
  // ceil(log(100)/log φ) = 10 of them, then one request for the vertex.
  EXPECT_EQ(s.requested.size(), 4u + 10u + 1u);
  EXPECT_EQ(status(), 0);
}

TEST_F(GoldenSection, GoldenModeFindsTheMaximumOfASmoothFunction) {
  const double tol = 1e-5;
  Search s(0.0, 3.0, tol, 1, 200);
  s.run([](double x) { return std::sin(x); });
  EXPECT_NEAR(s.xi, std::numbers::pi / 2, tol);
}

TEST_F(GoldenSection, TooFewSampleSlotsEndTheSearch) {
  Search s(0.0, 1.0, 1e-9, 1, 6);
  s.run([](double x) { return x * (1.0 - x); });
  EXPECT_TRUE(s.finish);
  EXPECT_EQ(s.requested.size(), 6u);
  EXPECT_EQ(s.increment, 6);
  EXPECT_EQ(s.proc, -1);
  EXPECT_EQ(s.yi, s.y[5]);
  s.step();  // further calls keep finishing
  EXPECT_TRUE(s.finish);
  EXPECT_EQ(status(), 0);
}

TEST_F(GoldenSection, ScanModeKeepsTheBestSampleAboveZero) {
  Search s(0.0, 1.0, 0.25, 0, 100);
  s.run([](double x) { return x * (1.0 - x); });
  EXPECT_EQ(s.requested, (std::vector{0.0, 0.25, 0.5, 0.75, 1.0}));
  EXPECT_EQ(s.xi, 0.5);
  EXPECT_EQ(s.yi, 0.25);
  // Asked again after the end it answers from the best slot.
  s.yi = 7.0;
  s.step();
  EXPECT_TRUE(s.finish);
  EXPECT_EQ(s.yi, 0.25);
  Search negative(0.0, 1.0, 0.25, 0, 100);
  negative.run([](double x) { return -x; });
  EXPECT_EQ(negative.xi, 0.0);
  EXPECT_EQ(negative.yi, 0.0);
  EXPECT_EQ(status(), 0);
}

TEST_F(GoldenSection, DegenerateFinalParabolaGivesTheDefault) {
  const std::array y{0.0, 0.0, 0.0, 0.0};
  const std::array xmove{0.0, 4.0, 1.0, 2.0}, line{0.0, 4.0, 1.0, 2.0}, same{1.0, 1.0, 1.0, 1.0};
  const double fallback = -5.0;
  const int xdir = 0, increment = 4, n = 4;
  double xmax = 0.0;
  GetMaximumFromGoldenSearch(&xmax, y.data(), xmove.data(), line.data(), &fallback, &xdir,
                             &increment, &n);
  EXPECT_EQ(xmax, fallback);  // collinear points
  GetMaximumFromGoldenSearch(&xmax, y.data(), same.data(), line.data(), &fallback, &xdir,
                             &increment, &n);
  EXPECT_EQ(xmax, fallback);  // coincident points
}

TEST_F(GoldenSection, StatesOutsideTheTablesAreRefused) {
  Search few(0.0, 1.0, 1e-3, 1, 3);
  EXPECT_TRUE(few.finish);
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Golden-section search needs at least four points");

  for (const int increment : {7, -1}) {
    reset();
    Search s(0.0, 1.0, 1e-3, 1, 6);
    s.increment = increment;
    s.step();
    EXPECT_TRUE(s.finish);
    EXPECT_FALSE(s.update);
    EXPECT_EQ(message(), "Golden-section search index outside the sample points");
  }
  // An answer asked for before any sample was taken.
  reset();
  Search early(0.0, 1.0, 1e-3, 1, 6);
  early.proc = 4;
  early.step();
  EXPECT_TRUE(early.finish);
  EXPECT_EQ(status(), -3);

  reset();
  double xnext = 0.0, width = 0.0;
  Search full(0.0, 1.0, 1e-3, 1, 6);
  full.increment = 6;
  GetNextFromGoldenSearch(&xnext, &width, full.x.data(), full.y.data(), full.xmove.data(),
                          full.ymove.data(), &full.xdir, &full.increment, &full.npoints);
  EXPECT_TRUE(std::isnan(xnext));
  EXPECT_EQ(full.increment, 6);
  EXPECT_EQ(status(), -3);
}

TEST_F(GoldenSection, AScanThatCannotAdvanceEnds) {
  for (const double dx : {0.0, -0.25, std::nan("")}) {
    reset();
    Search s(0.0, 1.0, dx, 0, 10);
    s.run([](double) { return 1.0; });
    EXPECT_TRUE(s.finish);
    EXPECT_EQ(message(), "Golden-section scan needs finite ends and a positive step");
  }
  // A step lost to rounding at the scan point.
  reset();
  Search s(1e17, 2e17, 1.0, 0, 10);
  s.run([](double) { return 1.0; });
  EXPECT_TRUE(s.finish);
  EXPECT_EQ(s.requested.size(), 1u);
  EXPECT_EQ(s.xi, 1e17);
  EXPECT_EQ(status(), -3);
}

}  // namespace
}  // namespace tavrin
