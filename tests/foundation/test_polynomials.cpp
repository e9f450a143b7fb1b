// Cubic roots in closed form and least-squares polynomial fitting.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "foundation/polynomials.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using Polynomials = testing::LatchTest;

std::array<double, 3> roots(double a, double b, double c, double d) {
  std::array<double, 3> r{};
  Solution3PE(&a, &b, &c, &d, &r[0], &r[1], &r[2]);
  return r;
}

std::array<double, 3> depressed(double p, double q) {
  std::array<double, 3> r{};
  SpecialCase(&p, &q, &r[0], &r[1], &r[2]);
  return r;
}

void expect_near(const std::array<double, 3>& got, const std::array<double, 3>& want, double tol) {
  for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], tol) << "root " << i + 1;
}

TEST_F(Polynomials, CubeRoot) {
  EXPECT_NEAR(math::cuberoot(-8.0), -2.0, 1e-15);
  EXPECT_NEAR(math::cuberoot(27.0), 3.0, 1e-15);
  EXPECT_EQ(math::cuberoot(0.0), 0.0);
}

TEST_F(Polynomials, DepressedCubicCases) {
  EXPECT_EQ(depressed(0.0, 0.0), (std::array{0.0, 0.0, 0.0}));
  expect_near(depressed(-3.0, 2.0), {-2.0, 1.0, 1.0}, 1e-15);  // D = 0: simple and double root
  expect_near(depressed(-3.0, -2.0), {-1.0, -1.0, 2.0}, 1e-15);
  expect_near(depressed(1.0, -2.0), {1.0, 1.0, 1.0}, 1e-15);   // D > 0: one real root
  expect_near(depressed(-7.0, 6.0), {-3.0, 1.0, 2.0}, 1e-14);  // D < 0: three, ascending
}

TEST_F(Polynomials, CubicRoots) {
  expect_near(roots(1.0, -6.0, 11.0, -6.0), {1.0, 2.0, 3.0}, 1e-14);
  expect_near(roots(1.0, 0.0, 0.0, -1.0), {1.0, 1.0, 1.0}, 1e-15);
  // (x - 1)(x² + 1): the one real root in all three outputs.
  expect_near(roots(2.0, -2.0, 2.0, -2.0), {1.0, 1.0, 1.0}, 1e-14);
  // A double root is found to about the square root of the rounding.
  expect_near(roots(1.0, -5.0, 8.0, -4.0), {1.0, 2.0, 2.0}, 1e-7);
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> u(-10.0, 10.0);
  for (int k = 0; k < 50; ++k) {
    std::array<double, 3> r{u(gen), u(gen), u(gen)};
    std::sort(r.begin(), r.end());
    if (r[1] - r[0] < 0.1 || r[2] - r[1] < 0.1) continue;
    const double a = u(gen) + 20.0;
    expect_near(roots(a, -a * (r[0] + r[1] + r[2]), a * (r[0] * r[1] + r[0] * r[2] + r[1] * r[2]),
                      -a * r[0] * r[1] * r[2]),
                r, 1e-9);
  }
  EXPECT_EQ(status(), 0);
}

TEST_F(Polynomials, ZeroLeadingCoefficientIsRefused) {
  const auto r = roots(0.0, 1.0, 2.0, 3.0);
  EXPECT_TRUE(std::isnan(r[0]) && std::isnan(r[1]) && std::isnan(r[2]));
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Cubic equation with a zero leading coefficient");
}

std::vector<double> fit(const std::vector<double>& x, const std::vector<double>& y, int d) {
  std::vector<double> c(std::size_t(std::max(d + 1, 0)), 7.0);
  math::polynomialfitting(x.data(), int(x.size()), y.data(), int(y.size()), d, c.data());
  return c;
}

TEST_F(Polynomials, FittingReproducesPolynomials) {
  const std::vector<double> x{0.0, 1.0, 2.0}, y{1.0, 3.0, 5.0};
  const auto line = fit(x, y, 1);
  EXPECT_NEAR(line[0], 1.0, 1e-12);
  EXPECT_NEAR(line[1], 2.0, 1e-12);
  const auto quadratic = fit(x, y, 2);
  EXPECT_NEAR(quadratic[2], 0.0, 1e-12);
  std::vector<double> xs, ys;
  for (int i = 0; i < 12; ++i) {
    const double t = -1.0 + 0.25 * i;
    xs.push_back(t);
    ys.push_back(1.0 - 2.0 * t + 0.5 * t * t + 0.25 * t * t * t);
  }
  const auto cubic = fit(xs, ys, 3);
  const std::array want{1.0, -2.0, 0.5, 0.25};
  for (std::size_t j = 0; j < 4; ++j) EXPECT_NEAR(cubic[j], want[j], 1e-11);
  EXPECT_EQ(status(), 0);
}

TEST_F(Polynomials, FittingFailuresAndRefusals) {
  // Fewer distinct abscissas than coefficients: singular normal equations
  // (0.1 repeated, whose LU factors need not show an exact zero pivot).
  const auto c = fit({0.1, 0.1, 0.1, 0.1}, {1.0, 2.0, 3.0, 4.0}, 1);
  EXPECT_TRUE(std::isnan(c[0]) && std::isnan(c[1]));
  EXPECT_EQ(status(), -2);
  EXPECT_EQ(message(), "Problem in polynom fitting function");
  reset();
  const auto more = fit({0.0, 1.0}, {1.0, 2.0}, 5);
  EXPECT_EQ(status(), -2);
  reset();
  fit({0.0, 1.0, 2.0}, {1.0, 2.0}, 1);
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Abscissas and ordinates differ in length");
  reset();
  std::vector<double> none;
  math::polynomialfitting(none.data(), 0, none.data(), 0, -1, none.data());
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Negative degree in polynom fitting function");
}

}  // namespace
}  // namespace tavrin
