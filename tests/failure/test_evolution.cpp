// Damage evolution and mixed-mode fracture: the regularisation weights
// (defined at a zero time step), the plane tractions, the softening law
// with and without the element-length regularisation, the delamination
// growth strain, the mixed-mode rate and the crack status through a
// rotated frame.
#include <cmath>
#include <numbers>

#include "failure/evocollection.hpp"
#include "failure/fracture.hpp"
#include "foundation/numerics_support.hpp"

namespace tavrin {
namespace {

class Evolution : public testing::LatchTest {};

TEST_F(Evolution, TimeRegularizationWeighsOldAndNew) {
  const double d_old[3] = {0.2, 0.4, 0.0}, d_new[3] = {0.6, 0.4, 1.0};
  struct Case { double dt, r, expect[3]; };
  const Case cases[] = {
      {0.1, 0.0, {0.6, 0.4, 1.0}},            // no viscosity: the new damage
      {0.1, 1.0, {0.4, 0.4, 0.5}},            // equal weights
      {0.0, 1.0, {0.4, 0.4, 0.5}},            // defined at a zero step
      {2.0, 3.0, {0.3, 0.4, 0.25}},           // r/(1+r) = 3/4 on the old value
  };
  for (const auto& c : cases) {
    double d_reg[3] = {-9, -9, -9};
    const int num = 3;
    TimeRegularization(d_old, d_new, d_reg, &c.dt, &c.r, &num);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(d_reg[i], c.expect[i], 1e-15) << c.dt << " " << c.r;
  }
  double d_reg[3] = {-9, -9, -9};
  const int none = 0;
  const double dt = 0.1, r = 1.0;
  TimeRegularization(d_old, d_new, d_reg, &dt, &r, &none);
  EXPECT_EQ(d_reg[0], -9.0);
}

TEST_F(Evolution, EquivalentQuadStressIsThePlaneTraction) {
  const double tens[6] = {1, 2, 3, 4, 5, 6};  // 11 22 33 23 13 12
  const double expect[3] = {std::sqrt(1.0 + 36 + 25), std::sqrt(36.0 + 4 + 16), std::sqrt(25.0 + 16 + 9)};
  for (int nn = 1; nn <= 3; ++nn) {
    double q = -1;
    EquivalentQuadStressStrain(tens, &nn, &q);
    EXPECT_NEAR(q, expect[nn - 1], 1e-14) << nn;
  }
  EXPECT_EQ(take().first, 0);
  for (const int nn : {0, 4}) {
    double q = -1;
    EquivalentQuadStressStrain(tens, &nn, &q);
    EXPECT_EQ(q, 0.0);
    EXPECT_EQ(take().first, -3);
  }
}

TEST_F(Evolution, BiLinearSoftening) {
  struct Case { double eps, eps0, sig_f, gc, lc, eps1_in, d, eps1; };
  const Case cases[] = {
      {0.02, 0.01, 50.0, 1.0, 1.0, -1.0, 2.0 / 3.0, 0.04},             // εf = 2gc/(lc σf)
      {0.011, 0.01, 100.0, 1.0, 1000.0, -1.0, 6.0 / 11.0, 0.012},      // floored at 1.2·eps0
      {0.011, 0.01, 0.0, 0.0, 1.0, -1.0, 6.0 / 11.0, 0.012},           // 0/0 floored too
      {0.015, 0.01, 50.0, 1.0, 0.0005, 0.02, 2.0 / 3.0, 0.02},         // short element: eps1 kept
  };
  for (const auto& c : cases) {
    double d = -1, eps1 = c.eps1_in;
    BiLinearEvolution(&c.eps, &c.eps0, &c.sig_f, &c.gc, &c.lc, &d, &eps1);
    EXPECT_NEAR(eps1, c.eps1, 1e-15) << c.lc;
    if (c.lc > 0) EXPECT_NEAR(d, c.d, 1e-13) << c.lc;
  }
  const double eps = 0.02, eps0 = 0.01, sig_f = 50.0, gc = 1.0, lc = -1.0;  // εf = -0.04
  double d = -1, eps1 = 0;
  BiLinearEvolution(&eps, &eps0, &sig_f, &gc, &lc, &d, &eps1);
  EXPECT_NEAR(eps1, 0.012, 1e-15);  // negative εf is below 1.2·eps0
  EXPECT_NEAR(d, 0.012 / 0.002 * 0.5, 1e-13);
}

TEST_F(Evolution, DelaminationGrowthStrain) {
  const double gic = 0.5, a11 = 1e5, e = 0.01, zero = 0.0, half = 0.5;
  EXPECT_EQ(DGStrainRhead(&zero, &gic, &a11, nullptr), 0.0);
  EXPECT_NEAR(DGStrainRhead(&e, &gic, &a11, nullptr), 0.010248456731316584, 1e-17);
  EXPECT_NEAR(DGStrainRhead(&e, &gic, &a11, &zero), 0.010248456731316584, 1e-17);
  EXPECT_NEAR(DGStrainRhead(&e, &gic, &a11, &half), 0.010249223594996212, 1e-17);
}

TEST_F(Evolution, MixedModeRate) {
  const double gc[4] = {0.3, 1.1, 0.9, 0.7};
  struct Case { double t[3]; int n; double geq; };
  const Case cases[] = {
      {{1, 0, 0}, 3, 0.3},
      {{1, 1, 0}, 3, (0.3 + 1.1) / 2},
      {{0, 1, 1}, 3, (1.1 + 0.9) / 2},
      {{2, 0, 0}, 4, 0.3},             // opening
      {{-2, 0, 0}, 4, 1.1},            // closing
      {{-1, 1, 1}, 4, (1.1 + 0.9 + 0.7) / 3},
      {{0, 0, 3}, 4, 0.7},
      {{0, 0, 0}, 3, 0.3},             // zero traction: gc(1)
      {{0, 0, 0}, 4, 0.3},
  };
  for (const auto& c : cases) {
    double geq = -1;
    GetEquivalentMixedModeERR(&geq, c.t, gc, &c.n);
    EXPECT_NEAR(geq, c.geq, 1e-15) << c.t[0] << " " << c.t[1] << " " << c.t[2] << " n " << c.n;
  }
  EXPECT_EQ(take().first, 0);
  const int two = 2;
  const double t[3] = {1, 0, 0};
  double geq = -1;
  GetEquivalentMixedModeERR(&geq, t, gc, &two);
  EXPECT_EQ(geq, 0.0);
  EXPECT_EQ(take().first, -2);
}

TEST_F(Evolution, CrackStatusFollowsTheRotatedNormalTraction) {
  const double x[3] = {1, 0, 0};
  const double quarter = std::numbers::pi / 2, none = 0.0;
  struct Case { double s[6]; double phi; int baseid, status; };
  const Case cases[] = {
      {{0, -10, 0, 0, 0, 0}, none, 2, -1},
      {{0, 10, 0, 0, 0, 0}, none, 2, 1},
      {{0, 0, 0, 0, 0, 0}, none, 2, 1},          // zero normal traction: open
      {{-5, 10, 10, 0, 0, 0}, none, 1, -1},
      {{0, 10, -10, 0, 0, 0}, none, 3, -1},
      {{0, 10, -10, 0, 0, 0}, quarter, 2, -1},  // plane 2 turned onto axis 3
      {{0, -10, 10, 0, 0, 0}, quarter, 2, 1},
      {{0, -10, 10, 0, 0, 0}, quarter, 3, -1},
      {{0, -10, -10, 0, 0, 0}, none, 4, 1},     // unknown plane
      {{0, -10, -10, 0, 0, 0}, none, 0, 1},
  };
  for (const auto& c : cases) {
    int status = 0;
    GetCrackStatus(&status, c.s, x, &c.phi, &c.baseid);
    EXPECT_EQ(status, c.status) << c.phi << " " << c.baseid << " " << c.s[1] << " " << c.s[2];
  }
  // A shear in the Voigt 23 position turns into a normal traction at 45°.
  const double s23[6] = {0, 0, 0, -10, 0, 0}, eighth = std::numbers::pi / 4;
  int plus = 0, minus = 0;
  const int two = 2;
  const double neg = -eighth;
  GetCrackStatus(&plus, s23, x, &eighth, &two);
  GetCrackStatus(&minus, s23, x, &neg, &two);
  EXPECT_EQ(plus * minus, -1);
}

}  // namespace
}  // namespace tavrin
