// Transverse stresses through the thickness of one section from its small-f
// table.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "laminate_support.hpp"
#include "mechanics/ply_strains.hpp"
#include "mechanics/shear_stiffness.hpp"
#include "mechanics/stress_recovery.hpp"

namespace tavrin {
namespace {

using testing::aluminium;
using testing::Layup;
namespace lm = laminate;
using Mat2 = lm::Mat2;

class StressRecovery : public testing::LatchTest {};

// The section z table and small-f table of a stack.
struct Section {
  int n;
  std::vector<double> z, f;
  explicit Section(const Layup& l) : n(l.n()), z(std::size_t(2 * n + 1)), f(std::size_t(4 * (2 * n + 1))) {
    lm::section_z(l.stack(), z.data());
    lm::section_shear_functions(l.stack(), z.data(), f.data(), 2 * n + 1);
  }
};

TEST_F(StressRecovery, NormalStressBalancesTheShearForceDerivatives) {
  // Homogeneous plate of thickness 2 in 1 or 4 plies: f = ¾(1 - z²) I, so
  // σ33 rises from 0 at the bottom to -(∂R1/∂y + ∂R2/∂x) at the top, with
  // the cubic ¾(z - z³/3) + ½ in between.
  const double rdx[2] = {0.3, -2.0}, rdy[2] = {5.0, 0.7};
  for (const int n : {1, 4}) {
    const Section s(Layup::homogeneous(n, 2.0, aluminium));
    std::vector<double> up(std::size_t(2 * n + 1)), down(up.size());
    GetNormalStressFromBottom(up.data(), rdx, rdy, s.z.data(), s.f.data(), &n);
    for (std::size_t i = 0; i < up.size(); ++i) {
      const double z = s.z[i];
      EXPECT_NEAR(up[i], -(rdy[0] + rdx[1]) * (0.75 * (z - z * z * z / 3.0) + 0.5), 1e-14) << i;
    }
    // From the top with the bottom's top value: the same stresses.
    GetNormalStressFromTop(down.data(), rdx, rdy, &up.back(), s.z.data(), s.f.data(), &n);
    for (std::size_t i = 0; i < up.size(); ++i) EXPECT_NEAR(down[i], up[i], 1e-14);
  }
  // No shear-force derivatives: zero from the bottom, the boundary value
  // from the top.
  const Section s(Layup({0.0, 90.0}, 0.2));
  const double zero[2] = {0.0, 0.0}, bc = 3.5;
  const int n = 2;
  std::vector<double> s33(5, 7.0);
  GetNormalStressFromBottom(s33.data(), zero, zero, s.z.data(), s.f.data(), &n);
  EXPECT_EQ(s33, std::vector<double>(5, 0.0));
  GetNormalStressFromTop(s33.data(), zero, zero, &bc, s.z.data(), s.f.data(), &n);
  EXPECT_EQ(s33, std::vector<double>(5, bc));
}

TEST_F(StressRecovery, CurvedMembraneIntegral) {
  // Two plies with three points each (5 entries); constant stress s.
  const std::vector<double> z{-0.2, -0.1, 0.0, 0.1, 0.2};
  const std::vector<double> sbt{4.0, 4.0, 4.0, 4.0};
  const std::vector<int> three{3, 3};
  const int nz = 5, n = 2;
  std::vector<double> sint(5);
  const double ki = 0.5, kj = 0.0, none = 0.0;
  GetIntegralOfMembraneNormalStress(sint.data(), sbt.data(), z.data(), three.data(), &none, &kj, &nz, &n);
  EXPECT_EQ(sint, std::vector<double>(5, 0.0));
  GetIntegralOfMembraneNormalStress(sint.data(), sbt.data(), z.data(), three.data(), &ki, &kj, &nz, &n);
  for (int i = 0; i < nz; ++i)
    EXPECT_NEAR(sint[std::size_t(i)], -ki * 4.0 * (z[std::size_t(i)] + 0.2) / (1.0 - ki * z[std::size_t(i)]), 1e-15);
  // Linear in each ply, with both curvatures: the exact integral of
  // -ki s(ζ)(1 - kj ζ) divided by the metric.
  const std::vector<double> linear{1.0, 3.0, -2.0, 5.0};
  const double kj2 = -0.8;
  GetIntegralOfMembraneNormalStress(sint.data(), linear.data(), z.data(), three.data(), &ki, &kj2, &nz, &n);
  const auto integral = [&](double a, double b, double sa, double slope, double x) {
    // ∫ from a to x of (sa + slope(ζ - a))(1 - kj ζ) dζ by Simpson's rule (exact for cubics).
    const auto g = [&](double t) { return (sa + slope * (t - a)) * (1.0 - kj2 * t); };
    return (x - a) / 6.0 * (g(a) + 4.0 * g(0.5 * (a + x)) + g(x));
  };
  const double ply1 = integral(-0.2, 0.0, 1.0, 10.0, 0.0);
  const double at_top = -ki * (ply1 + integral(0.0, 0.2, -2.0, 35.0, 0.2));
  EXPECT_NEAR(sint[4], at_top / ((1.0 - ki * 0.2) * (1.0 - kj2 * 0.2)), 1e-14);
  EXPECT_EQ(status(), 0);
  // Other point counts are refused.
  const std::vector<int> counts{3, 2};
  GetIntegralOfMembraneNormalStress(sint.data(), linear.data(), z.data(), counts.data(), &ki, &kj2, &nz, &n);
  EXPECT_EQ(sint, std::vector<double>(5, 0.0));
  EXPECT_EQ(message(), "Three section points per ply needed in GetIntegralOfMembraneNormalStress");
}

TEST_F(StressRecovery, ShearStressesAtTheSectionPoints) {
  // Two plies; row r of the table holds (r, 0, 0, 10 r): f = diag(r, 10 r).
  const int n = 2, rows = 5;
  std::vector<double> f(4 * rows, 0.0);
  for (int r = 1; r <= rows; ++r) {
    f[std::size_t(r - 1)] = r;
    f[std::size_t(r - 1 + 3 * rows)] = 10.0 * r;
  }
  const double r[2] = {1.0, 1.0};
  const std::vector<double> angle{0.0, 90.0};
  const auto stresses = [&](int nspt) {
    std::vector<double> x(std::size_t(2 * n * nspt));
    GetExt2DShearStress(x.data(), r, angle.data(), f.data(), &nspt, &n);
    return x;
  };
  // Three points: rows bottom, middle, top.  Ply 2 (90°) turns (a, b) into
  // (-b, a).
  const std::vector<double> three = stresses(3);
  EXPECT_EQ(std::vector<double>(three.begin(), three.begin() + 3), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(std::vector<double>(three.begin() + 6, three.begin() + 9), (std::vector<double>{10, 20, 30}));
  for (int i = 3; i < 6; ++i) {
    EXPECT_NEAR(three[std::size_t(i)], -10.0 * (i), 1e-12);
    EXPECT_NEAR(three[std::size_t(i + 6)], i, 1e-14);
  }
  // Five points: 2 to 4 on the middle row; one point: the top row.
  const std::vector<double> five = stresses(5);
  EXPECT_EQ(std::vector<double>(five.begin(), five.begin() + 5), (std::vector<double>{1, 2, 2, 2, 3}));
  EXPECT_EQ(stresses(1)[0], 3.0);
}

TEST_F(StressRecovery, SmallFAtAnyHeight) {
  const Layup l({0.0, 45.0, 90.0}, 0.3);
  const Section s(l);
  const int n = 3, ply = 2;
  Mat2 f;
  // At the middle of the ply: the middle row itself.
  GetArbitrarySmallF(f.data(), &ply, &s.z[3], s.z.data(), s.f.data(), &n);
  for (int c = 0; c < 4; ++c) EXPECT_EQ(f.v[std::size_t(c)], s.f[std::size_t(3 + 7 * c)]);
  // Inside the ply: f is quadratic there, so the interpolation is exact.
  const lm::ShearStressFunction exact(l.stack());
  const double z = -0.1;
  GetArbitrarySmallF(f.data(), &ply, &z, s.z.data(), s.f.data(), &n);
  EXPECT_LT(testing::max_difference(f, exact.at(lm::partial_stiffness(l.stack(), z, ply))), 1e-13);
  EXPECT_EQ(status(), 0);
  // Outside the ply: reported, and still the parabola's value.
  const double below = s.z[2] - 1.0;
  GetArbitrarySmallF(f.data(), &ply, &below, s.z.data(), s.f.data(), &n);
  EXPECT_EQ(status(), -2);
  EXPECT_EQ(message(), "Error during the calculation of f(z)");
  EXPECT_LT(testing::max_difference(f, exact.at(lm::partial_stiffness(l.stack(), below, ply))), 1e-11);
  reset();
  const int outside = 4;
  GetArbitrarySmallF(f.data(), &outside, &z, s.z.data(), s.f.data(), &n);
  EXPECT_EQ(message(), "Ply outside the stack in GetArbitrarySmallF");
}

}  // namespace
}  // namespace tavrin
