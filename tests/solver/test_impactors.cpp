// Impactor records: presets, the increment start of an impact step, and the
// time integration of the impactor's rigid-body motion.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "solver/impactors.hpp"

namespace tavrin::toplevel::impactors {
namespace {

struct Impactors {
  explicit Impactors(int n) : c(20 * std::size_t(n)), d(12 * std::size_t(n)), w(5 * std::size_t(n)), denom(n) {
    const std::vector<double> x(n, 1.0), y(n, 2.0), z(n, 12.5);
    preset(cprops(), View<double, 2>(d.data(), 12, n), View<double, 2>(w.data(), 5, n), denom, x, y, z);
  }
  View<double, 2> cprops() { return {c.data(), 20, int(denom.size())}; }
  View<double, 2> window() { return {w.data(), 5, int(denom.size())}; }
  void end(double dt) { end_increment_impact(cprops(), window(), denom, dt); }
  double& row(int r, int j = 1) { return cprops()(r, j); }
  std::vector<double> c, d, w;
  std::vector<int> denom;
};

TEST(Impactors, PresetAndIncrementStart) {
  Impactors imp(2);
  EXPECT_EQ((std::array{imp.row(6, 2), imp.row(14, 2), imp.row(15, 2)}), (std::array{gravity, 2.0, 1.0e-10}));
  EXPECT_EQ((std::array{imp.d[13], imp.d[14], imp.d[15], imp.d[12]}), (std::array{1.0, 2.0, 12.5, 0.0}));
  for (int j : {1, 2})
    for (int r : {1, 2, 3, 13}) imp.row(r, j) = 5.0;
  imp.row(7, 2) = 1.0;  // only impactor 2 has a mass
  start_increment(imp.cprops());
  EXPECT_EQ((std::array{imp.row(1, 1), imp.row(2, 1), imp.row(1, 2), imp.row(2, 2), imp.row(13, 2)}),
            (std::array{5.0, 5.0, 0.0, 0.0, 0.0}));
  // A negative force anywhere (rebound) clears rows 2, 3, 13 of all, not row 1.
  imp.row(1, 1) = -3.0;
  imp.row(1, 2) = 4.0;
  start_increment(imp.cprops());
  EXPECT_EQ((std::array{imp.row(1, 1), imp.row(2, 1), imp.row(3, 1), imp.row(13, 1), imp.row(1, 2)}),
            (std::array{-3.0, 0.0, 0.0, 0.0, 4.0}));
  end_increment_structural(imp.cprops());
  EXPECT_EQ((std::array{imp.row(14, 1), imp.row(15, 2)}), (std::array{0.0, 0.0}));
}

// A falling mass without contact: u = g t²/2, v = g t after ten increments
// of 0.1 in every scheme (the central difference exactly, the weighted and
// Newmark schemes because the acceleration stays g).
TEST(Impactors, FreeFallInEveryScheme) {
  for (const double scheme : {-1.0, -2.0, 0.5}) {
    Impactors imp(1);
    imp.row(7) = 2.0;
    imp.row(8) = scheme == 0.5 ? 0.0 : scheme;
    imp.row(9) = scheme == 0.5 ? 0.25 : scheme;
    imp.row(10) = scheme;
    if (scheme == -2.0) imp.row(20) = 0.5;  // the velocity weight w
    for (int inc = 0; inc < 10; ++inc) imp.end(0.1);
    EXPECT_NEAR(imp.row(4), 4.903325, 1e-12) << scheme;
    EXPECT_NEAR(imp.row(5), 9.80665, 1e-12) << scheme;
  }
}

TEST(Impactors, HhtAlphaAndNewmarkIncrement) {
  Impactors imp(1);
  imp.row(7) = 2.0;
  imp.row(9) = 0.25;
  imp.row(10) = 0.5;
  imp.end(0.1);  // Newmark, F = 0
  EXPECT_NEAR(imp.row(6), 9.80665, 1e-15);
  EXPECT_NEAR(imp.row(5), 0.980665, 1e-15);
  EXPECT_NEAR(imp.row(4), 0.04903325, 1e-16);

  // HHT-alpha on the second of two impactors (the first carries no force).
  Impactors hht(2);
  hht.row(1, 2) = 4.0;
  hht.row(7, 2) = 2.0;
  hht.row(8, 2) = -0.05;
  hht.row(9, 2) = 0.275625;
  hht.row(10, 2) = 0.55;
  hht.end(0.1);
  EXPECT_NEAR(hht.row(6, 2), 7.90665, 1e-14);
  EXPECT_NEAR(hht.row(5, 2), 0.876165, 1e-15);
  EXPECT_NEAR(hht.row(4, 2), 0.043796375, 1e-16);
  EXPECT_EQ((std::array{hht.row(11, 2), hht.row(14, 2)}), (std::array{4.0, 4.0}));  // force kept, peak raised

  // Central differences with a force: a = g - F/m, the half-step velocity
  // from the old acceleration.
  Impactors cd(1);
  cd.row(1) = 4.0;
  cd.row(7) = 2.0;
  cd.row(8) = cd.row(9) = cd.row(10) = -1.0;
  cd.end(0.1);
  EXPECT_NEAR(cd.row(6), 7.80665, 1e-14);
  EXPECT_NEAR(cd.row(19), 0.4903325, 1e-15);
  EXPECT_NEAR(cd.row(5), 0.880665, 1e-15);
  EXPECT_NEAR(cd.row(4), 0.04903325, 1e-16);
  EXPECT_EQ((std::array{cd.row(7), cd.row(20)}), (std::array{2.0, 0.1}));
}

TEST(Impactors, BookkeepingWithoutIntegration) {
  Impactors imp(1);
  imp.row(1) = 3.0;
  imp.row(2) = 0.7;
  imp.row(3) = 0.2;
  imp.row(7) = 1.0;
  imp.row(13) = 9.0;
  imp.end(0.1);  // (0, 0, 0): the motion rows stay
  EXPECT_EQ((std::array{imp.row(4), imp.row(5), imp.row(6)}), (std::array{0.0, 0.0, gravity}));
  EXPECT_EQ((std::array{imp.row(11), imp.row(12), imp.row(13), imp.row(14), imp.row(15)}),
            (std::array{3.0, 0.7, 0.0, 3.0, 0.2}));
  // Without a mass only rows 11 and 12 follow.
  Impactors light(1);
  light.row(1) = 3.0;
  light.row(13) = 9.0;
  light.end(0.1);
  EXPECT_EQ((std::array{light.row(11), light.row(13), light.row(14)}), (std::array{3.0, 9.0, 1.0}));
  // A record at rest (rows 1-6 zero) is left alone.
  Impactors rest(1);
  rest.row(6) = 0.0;
  rest.row(7) = 1.0;
  rest.row(11) = 5.0;
  rest.end(0.1);
  EXPECT_EQ(rest.row(11), 5.0);
}

TEST(Impactors, UnloadingFlagAfterThePeak) {
  Impactors imp(1);
  imp.row(7) = 1.0;
  const double forces[] = {1.0, 2.0, 3.0, 4.0, 5.0, 1.0};
  for (int i = 0; i < 6; ++i) {
    imp.row(1) = forces[i];
    imp.end(0.01);
    // The average of the last five stays below the force while it rises.
    EXPECT_EQ(imp.row(16), i == 5 ? 1.0 : 0.0) << i;
  }
  EXPECT_EQ(imp.denom[0], 5);
}

}  // namespace
}  // namespace tavrin::toplevel::impactors
