// Cubic roots in closed form.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "foundation/polynomials.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using testing::expect_all_near;
using Polynomials = testing::LatchTest;
using Roots = std::array<double, 3>;

Roots roots(double a, double b, double c, double d) {
  Roots r{};
  Solution3PE(&a, &b, &c, &d, &r[0], &r[1], &r[2]);
  return r;
}

TEST_F(Polynomials, CubicRoots) {
  EXPECT_EQ(roots(1.0, 0.0, 0.0, 0.0), (Roots{0.0, 0.0, 0.0}));  // p = q = 0
  // One real root (x - 1)(x² + 1): in all three outputs.  A double root
  // (x - 1)(x - 2)²: found to about the square root of the rounding.
  expect_all_near(roots(2.0, -2.0, 2.0, -2.0), Roots{1.0, 1.0, 1.0}, 1e-14);
  expect_all_near(roots(1.0, -5.0, 8.0, -4.0), Roots{1.0, 2.0, 2.0}, 1e-7);
  // x³ - 3x + 2 = (x + 2)(x - 1)²: the discriminant is exactly 0.
  expect_all_near(roots(1.0, 0.0, -3.0, 2.0), Roots{-2.0, 1.0, 1.0}, 1e-15);
  // Three distinct real roots come back ascending.
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> u(-10.0, 10.0);
  for (int k = 0; k < 50; ++k) {
    Roots r{u(gen), u(gen), u(gen)};
    std::sort(r.begin(), r.end());
    if (r[1] - r[0] < 0.1 || r[2] - r[1] < 0.1) continue;
    const double a = u(gen) + 20.0;
    expect_all_near(roots(a, -a * (r[0] + r[1] + r[2]), a * (r[0] * r[1] + r[0] * r[2] + r[1] * r[2]),
                          -a * r[0] * r[1] * r[2]),
                    r, 1e-9);
  }
  EXPECT_EQ(take(), latch(0));
  const Roots r = roots(0.0, 1.0, 2.0, 3.0);
  EXPECT_TRUE(std::isnan(r[0]) && std::isnan(r[1]) && std::isnan(r[2]));
  EXPECT_EQ(take(), latch(-3, "Cubic equation with a zero leading coefficient"));
}

}  // namespace
}  // namespace tavrin
