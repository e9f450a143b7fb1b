// Degradation schemes: Matzenmiller's stiffness against the inverse of the
// damaged compliance, the tensor degradation in a turned base, the Falcom
// grids, the Nye factor matrix, the fracture-plane schemes (onset values,
// monotone damage, the repaired zero-stress and short-state cases), the
// sudden and isotropic discounts and the accumulated damage measure.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "failure/degradation.hpp"
#include "foundation/numerics_support.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/ply_stiffness.hpp"

namespace tavrin {
namespace {

class Degradation : public testing::LatchTest {};

constexpr double props[9] = {140e3, 10e3, 9e3, 3.5e3, 5e3, 5.5e3, 0.45, 0.3, 0.28};  // E, G23 G13 G12, ν23 ν13 ν12

Mat3 inverse3(const Mat3& a) {
  Mat3 r;
  const double det = a(1, 1) * (a(2, 2) * a(3, 3) - a(2, 3) * a(3, 2)) -
                     a(1, 2) * (a(2, 1) * a(3, 3) - a(2, 3) * a(3, 1)) +
                     a(1, 3) * (a(2, 1) * a(3, 2) - a(2, 2) * a(3, 1));
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      const int i1 = i % 3 + 1, i2 = (i + 1) % 3 + 1, j1 = j % 3 + 1, j2 = (j + 1) % 3 + 1;
      r(j, i) = (a(i1, j1) * a(i2, j2) - a(i1, j2) * a(i2, j1)) / det;
    }
  return r;
}

TEST_F(Degradation, MatzenmillerIsTheInverseDamagedCompliance) {
  const double e1 = props[0], e2 = props[1], e3 = props[2];
  const double nu23 = props[6], nu13 = props[7], nu12 = props[8];
  const double damages[][6] = {{0, 0, 0, 0, 0, 0}, {0.3, 0.5, 0.2, 0.1, 0.4, 0.7}};
  for (const auto& dm : damages) {
    const double w1 = 1 - dm[0], w2 = 1 - dm[1], w3 = 1 - dm[2];
    Mat3 s;
    s(1, 1) = 1 / (w1 * e1), s(2, 2) = 1 / (w2 * e2), s(3, 3) = 1 / (w3 * e3);
    s(1, 2) = s(2, 1) = -nu12 / e1;
    s(1, 3) = s(3, 1) = -nu13 / e1;
    s(2, 3) = s(3, 2) = -nu23 / e2;
    const Mat3 c3 = inverse3(s);
    Mat6 c;
    MatzenmillerDegradation(props, c.v.data(), dm, &dm[3], &dm[4], &dm[5]);
    for (int i = 1; i <= 3; ++i)
      for (int j = 1; j <= 3; ++j) EXPECT_NEAR(c(i, j), c3(i, j), 1e-14 * std::abs(c3(i, j))) << i << j;
    EXPECT_DOUBLE_EQ(c(4, 4), 2 * (1 - dm[3]) * props[3]);  // 23
    EXPECT_DOUBLE_EQ(c(5, 5), 2 * (1 - dm[4]) * props[4]);  // 13
    EXPECT_DOUBLE_EQ(c(6, 6), 2 * (1 - dm[5]) * props[5]);  // 12
    for (int i = 1; i <= 6; ++i)
      for (int j = 1; j <= 6; ++j)
        if (i != j && (i > 3 || j > 3)) EXPECT_EQ(c(i, j), 0.0);
  }
}

Mat6 orthotropic_voigt() {
  Mat6 c;
  const double zero[3] = {0, 0, 0}, z = 0;
  MatzenmillerDegradation(props, c.v.data(), zero, &z, &z, &z);
  for (int i = 4; i <= 6; ++i) c(i, i) /= 2;  // engineering-shear form
  c(1, 5) = c(5, 1) = 123.0;                  // a coupling term to follow through the rotation
  return c;
}

TEST_F(Degradation, TensorDegradationScalesTheDamagedAxis) {
  const Mat6 c = orthotropic_voigt();
  const double zero = 0.0, half = 0.5;
  const int one = 1, all = 0, keep_normal = -1;
  Mat6 cd;
  TensorDegradation(c.v.data(), cd.v.data(), &zero, &half, &one, &all);
  const auto on_axis = [](int i) { return i == 1 || i == 5 || i == 6; };
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j) {
      const double f = on_axis(i) || on_axis(j) ? 0.5 : 1.0;
      EXPECT_NEAR(cd(i, j), f * c(i, j), 1e-9 * std::abs(c(1, 1))) << i << j;
    }
  TensorDegradation(c.v.data(), cd.v.data(), &zero, &half, &one, &keep_normal);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) EXPECT_NEAR(cd(i, j), c(i, j), 1e-9 * c(1, 1)) << i << j;
  EXPECT_NEAR(cd(5, 5), 0.5 * c(5, 5), 1e-9 * c(1, 1));
  // No damage at any angle gives the stiffness back; a quarter turn moves the damage to axis 2.
  for (const double angle : {0.3, 1.0, -2.2}) {
    TensorDegradation(c.v.data(), cd.v.data(), &angle, &zero, &one, &all);
    for (int k = 0; k < 36; ++k) EXPECT_NEAR(cd.v[k], c.v[k], 1e-9 * c(1, 1));
  }
  const double quarter = std::numbers::pi / 2;
  TensorDegradation(c.v.data(), cd.v.data(), &quarter, &half, &one, &all);
  EXPECT_NEAR(cd(1, 1), c(1, 1), 1e-9 * c(1, 1));
  EXPECT_NEAR(cd(2, 2), 0.5 * c(2, 2), 1e-9 * c(1, 1));
  EXPECT_NEAR(cd(4, 4), 0.5 * c(4, 4), 1e-9 * c(1, 1));
}

std::array<double, 9> falcom(std::array<double, 10> dds, int grid, bool tape, double rdisc = 1.0) {
  std::array<double, 9> d;
  d.fill(-1);
  const int t = tape;
  FalcomDegradation(d.data(), dds.data(), &rdisc, &grid, &t, nullptr);
  return d;
}

TEST_F(Degradation, FalcomGrids) {
  constexpr double e = 1e-20;
  using F = std::array<double, 9>;
  const F ones = {1, 1, 1, 1, 1, 1, 1, 1, 1};
  for (const int grid : {0, 1, 2, 3, 4, 5, 6, -1})
    for (const bool tape : {true, false}) EXPECT_EQ(falcom({}, grid, tape), ones) << grid;
  const std::array<double, 10> core = {0, 0, 0, 0, 0, 0, 1, 0, 0, 0}, matrix = {0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
  struct Case { std::array<double, 10> dds; int grid; bool tape; F d; };
  const Case cases[] = {
      {core, 5, true, {e, e, e, e, e, e, e, e, e}},
      {core, 0, false, {e, e, e, e, e, e, e, e, e}},
      {{0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 0, true, {e, e, e, e, e, e, e, e, e}},  // any of the ten flags
      {core, 3, true, {e, e, e, e, e, e, e, e, 0.015}},
      {matrix, 5, true, {1, e, e, e, e, 1, 1, e, 1}},  // matrix cracking degrades grid 5
      {matrix, 5, false, {1, e, 1, e, e, e, e, e, 1}},
      {matrix, 4, true, {1, 0.1, 0.1, 0.1, 1, 1, 1, 1, 1}},
      {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 4, true, {0.5, 0.1, 0.1, 0.1, 1, 1, 1, 1, 1}},
      {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 4, false, {0.5, 0.1, 1, 0.1, 1, 1, 1, 1, 1}},
      {{1, 1, 0, 0, 0, 0, 0, 0, 0, 0}, 4, false, {0.5, 0.1, 0.5, 0.1, 1, 1, 1, 1, 1}},
      {{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}, 4, false, {1, 0.1, 0.5, 0.1, 1, 1, 1, 1, 1}},
      {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1, false, {0.3, 1, 1, 1, 1, 1, 1, 1, 1}},
      {{1, 1, 0, 0, 0, 0, 0, 0, 0, 0}, 1, false, {0.3, 1, 0.3, 1, 1, 1, 1, 1, 1}},
      {{0, 0, 0, 1, 0, 1, 0, 0, 0, 0}, 2, true, {1, 0.5, 0.5, 0.5, 0.5, 0.5, 1, 0.5, 1}},
      {{0, 0, 0, 1, 0, 1, 0, 0, 0, 0}, 2, false, {1, 0.5, 1, 0.5, 0.5, 0.5, 0.5, 0.5, 1}},
      {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 5, true, {0.5, 0.5, 1, e, 1, e, 0.5, 1, 1}},
      {{1, 1, 0, 0, 0, 0, 0, 0, 0, 0}, 5, false, {0.5, 0.5, 0.5, e, e, e, 0.5, 0.5, 1}},
      {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 5, false, {0.5, 0.5, 1, e, 1, e, 0.5, 1, 1}},
      {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 7, true, {0.5, e, e, e, e, e, e, e, e}},
      {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 7, false, {0.5, e, 1, e, e, e, e, e, e}},
      {{0, 1, 0, 0, 0, 0, 0, 0, 0, 0}, 7, false, {1, e, 0.5, e, e, e, e, e, e}},
      {{0, 0, 0, 0, 0, 1, 0, 0, 0, 0}, 7, false, {1, 1, 1, 1, e, e, 1, 1, 1}},  // delamination: transverse shears
      {{0, 0, 1, 0, 0, 0, 0, 0, 0, 0}, 7, false, ones},                            // position 3 alone: no factor
  };
  for (const auto& c : cases) EXPECT_EQ(falcom(c.dds, c.grid, c.tape), c.d) << c.grid << " " << c.tape;
  // A buckled delamination scales every factor by rdisc below 1.
  const std::array<double, 10> buckled = {1, 0, 0, 0, 0, 0, 0, 1, 0, 0};
  for (const int grid : {1, 4, 7}) {
    const F full = falcom(buckled, grid, true, 1.0), half = falcom(buckled, grid, true, 0.5);
    for (int k = 0; k < 9; ++k) EXPECT_EQ(half[k], 0.5 * full[k]) << grid;
  }
  EXPECT_EQ(falcom(buckled, 1, true, 0.0), (F{0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(falcom({1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 7, true, 2.0)[0], e);
  const double fa[4] = {0.7, 0.6, 0.4, 0.2}, rdisc = 1.0;
  const double dds[10] = {1, 0, 0, 1, 0, 1, 0, 0, 0, 0};
  const int grid = 2, tape = 1;
  F d;
  FalcomDegradation(d.data(), dds, &rdisc, &grid, &tape, fa);
  EXPECT_EQ(d, (F{0.6, 0.4, 0.4, 0.4, 0.2, 0.2, 1, 0.4, 1}));
}

TEST_F(Degradation, NyeDegradationMatrix) {
  const double degrf[9] = {2, 3, 4, 5, 6, 7, 8, 9, 10};
  double d[36];
  const int six = 6, four = 4, three = 3, five = 5, plane = 0;
  GetNyeDegradationMatrix(d, degrf, &six, nullptr);
  const double expect6[6][6] = {{2, 3, 8, 1, 1, 1}, {3, 4, 9, 1, 1, 1}, {8, 9, 10, 1, 1, 1},
                                {1, 1, 1, 5, 1, 1}, {1, 1, 1, 1, 6, 1}, {1, 1, 1, 1, 1, 7}};
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) EXPECT_EQ(d[i + 6 * j], expect6[i][j]) << i << j;
  GetNyeDegradationMatrix(d, degrf, &six, &plane);
  EXPECT_EQ(d[2 + 6 * 2], 1.0);
  EXPECT_EQ(d[3 + 6 * 3], 5.0);
  EXPECT_EQ(d[4 + 6 * 4], 1.0);
  GetNyeDegradationMatrix(d, degrf, &four, nullptr);
  EXPECT_EQ(d[2 + 4 * 2], 10.0);
  EXPECT_EQ(d[0 + 4 * 2], 8.0);
  EXPECT_EQ(d[3 + 4 * 3], 5.0);
  GetNyeDegradationMatrix(d, degrf, &three, nullptr);
  EXPECT_EQ(d[2 + 3 * 2], 5.0);
  EXPECT_EQ(d[1 + 3 * 0], 3.0);
  EXPECT_EQ(take().first, 0);
  GetNyeDegradationMatrix(d, degrf, &five, nullptr);
  EXPECT_TRUE(std::all_of(d, d + 25, [](double x) { return x == 1.0; }));
  EXPECT_EQ(take(), latch(-2, "Unsupported dimension in GetNyeDegradationMatrix"));
}

TEST_F(Degradation, DegradationFromModes) {
  const double d_modes[9] = {0.2, 0.4, 0.1, 0.3, 0.5, 0.6, 0.2, 0.1, 0.3};
  double w[9], c[36];
  const int sum = 1, max = 0;
  DegradationFromModes(d_modes, w, &sum, c, nullptr, nullptr, nullptr);
  const double wsum[9] = {0.4, 0.5, 0.1 + 0.3 + 0.3 + 0.2 + 0.05 + 0.15, 0.1 + 0.2 + 1.0 / 30, 0.65, 0.3,
                          0.2 + 0.4 + 0.1 + 0.15 + 0.3 + 0.2 + 0.05, 0.1 + 0.3 + 0.6 + 0.2 + 0.1 + 0.3,
                          0.2 + 0.4 + 0.15 + 0.3 + 0.05 + 0.3};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(w[i], wsum[i], 1e-15) << i;
  EXPECT_TRUE(std::all_of(c, c + 36, [](double x) { return x == 0.0; }));
  DegradationFromModes(d_modes, w, &max, c, nullptr, nullptr, nullptr);
  const double wmax[9] = {0.2, 0.4, 0.3, 0.2, 0.5, 0.2, 0.4, 0.6, 0.4};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(w[i], wmax[i], 1e-15) << i;
  // The stiffness of the loaded sides: compression in 1, tension in 2 and 3.
  const double moduli[9] = {140e3, 120e3, 10e3, 11e3, 9e3, 9.5e3, 3.5e3, 5e3, 5.5e3};
  const double vnu[3] = {0.45, 0.3, 0.28}, effort[3] = {-1, 1, 1};
  DegradationFromModes(d_modes, w, &max, c, moduli, vnu, effort);
  const double propvec[9] = {120e3, 10e3, 9e3, 3.5e3, 5e3, 5.5e3, 0.45, 0.3, 0.28};
  const double dnorm[3] = {0.4, 0.3, 0.5};
  double expect[36];
  MatzenmillerDegradation(propvec, expect, dnorm, &wmax[7], &wmax[8], &wmax[6]);
  for (int k = 0; k < 36; ++k) EXPECT_EQ(c[k], expect[k]) << k;
  DegradationFromModes(nullptr, w, &sum, c, nullptr, nullptr, nullptr);
  EXPECT_TRUE(std::all_of(w, w + 9, [](double x) { return x == 0.0; }));
}

TEST_F(Degradation, FalzonPlaneDamage) {
  const double gc[4] = {0.2, 0.8, 0.6, 0.6}, lengths[3] = {1.0, 1.0, 1.0}, phi = 0.0;
  const double stress[6] = {10.0, 60.0, 0.0, 20.0, 0.0, 0.0};  // 33 zero: factor 1 - w
  const double onset_strain[6] = {0.001, 0.006, 0.0, 0.004, 0.0, 0.0};
  double dsix[6] = {0.9, 1, 1, 1, 1, 1}, epsi = 0, epsu = 0, sigi = 0, gmix = 0, w = 0;
  FalzonDegradationParameters(stress, onset_strain, &phi, dsix, &epsi, &epsu, &sigi, &gmix, &w, gc, lengths);
  EXPECT_NEAR(epsi, std::hypot(0.006, 0.004), 1e-17);
  EXPECT_NEAR(sigi, std::hypot(60.0, 20.0), 1e-13);
  EXPECT_NEAR(gmix, (0.2 * 3600 + 0.6 * 400) / 4000, 1e-15);
  EXPECT_NEAR(epsu, 1.2 * epsi, 1e-17);  // the element length replaces the step-2 value
  EXPECT_EQ(w, 0.0);                     // at onset nothing is lost
  EXPECT_EQ(dsix[0], 0.9);
  for (int k = 1; k < 6; ++k) EXPECT_NEAR(dsix[k], 1.0, 1e-15) << k;
  // While w is 0 every call takes the onset again; once damaged, further
  // strain softens along the stored onset values.
  w = 1e-12;
  const double later_strain[6] = {0.001, 0.0066, 0.0, 0.0044, 0.0, 0.0};
  FalzonDegradationParameters(stress, later_strain, &phi, dsix, &epsi, &epsu, &sigi, &gmix, &w, gc, lengths);
  const double expect_w = 1.2 / 0.2 * (1 - 1 / 1.1);
  EXPECT_NEAR(w, expect_w, 1e-12);
  EXPECT_NEAR(dsix[1], 1 - expect_w, 1e-12);
  EXPECT_NEAR(dsix[3], 1 - expect_w, 1e-12);
  EXPECT_NEAR(dsix[2], 1 - expect_w, 1e-12);  // zero undegraded stress: 1 - w, not 0/0
  EXPECT_NEAR(dsix[5], 1 - expect_w * expect_w, 1e-12);
  for (const double x : dsix) EXPECT_FALSE(std::isnan(x));
  // Unloading keeps the damage.
  FalzonDegradationParameters(stress, onset_strain, &phi, dsix, &epsi, &epsu, &sigi, &gmix, &w, gc, lengths);
  EXPECT_NEAR(w, expect_w, 1e-12);
  // Once damaged the stored failure strain epsu is used as it stands.
  double epsu2 = 2 * epsi, w2 = 1e-12, epsi2 = epsi, sigi2 = sigi, gmix2 = gmix;
  FalzonDegradationParameters(stress, later_strain, &phi, dsix, &epsi2, &epsu2, &sigi2, &gmix2, &w2, gc, lengths);
  EXPECT_NEAR(w2, 2.0 * (1 - 1 / 1.1), 1e-12);
  EXPECT_EQ(epsu2, 2 * epsi);
  // A thickness stress is not on the fracture plane at 0: its factor stays 1.
  const double with33[6] = {10.0, 60.0, 30.0, 20.0, 0.0, 0.0};
  FalzonDegradationParameters(with33, onset_strain, &phi, dsix, &epsi2, &epsu2, &sigi2, &gmix2, &w2, gc, lengths);
  EXPECT_NEAR(dsix[2], 1.0, 1e-15);
  EXPECT_NEAR(dsix[1], 1 - w2, 1e-12);
  // A closing normal traction is not degraded.
  const double closing[6] = {0, -60.0, 0, 0, 0, 0};
  FalzonDegradationParameters(closing, onset_strain, &phi, dsix, &epsi, &epsu, &sigi, &gmix, &w, gc, lengths);
  EXPECT_NEAR(dsix[1], 1.0, 1e-15);
}

TEST_F(Degradation, BogenfeldKeepsTheOnsetState) {
  const double lengths[3] = {1.0, 1.0, 1.0}, props5[5] = {0.0, 0.2, 0.8, 0.6, 0.6};
  const double s[6] = {0, 60, 0, 0, 0, 20}, e0[6] = {0, 0.006, 0, 0, 0, 0.004}, e1[6] = {0, 0.0066, 0, 0, 0, 0.0044};
  double sdv[4] = {-1, -1, -1, -1}, d = -1;
  const int three = 3, zero = 0, four = 4, five = 5, seven = 7;
  BogenfeldDegradation(&d, sdv, s, e0, lengths, props5, &three, &four, &five);
  EXPECT_NEAR(sdv[0], std::hypot(0.006, 0.004), 1e-17);
  EXPECT_NEAR(sdv[1], std::hypot(60.0, 20.0), 1e-13);
  EXPECT_NEAR(sdv[2], (0.2 * 3600 + 0.6 * 400) / 4000, 1e-15);
  const double onset[4] = {sdv[0], sdv[1], sdv[2], sdv[3]};
  EXPECT_NEAR(d, 0.0, 1e-14);
  BogenfeldDegradation(&d, sdv, s, e1, lengths, props5, &three, &four, &five);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(sdv[k], onset[k]);
  const double epsf = onset[3];  // 2·gmix/(lm·sigi) or 1.2·eps0
  EXPECT_NEAR(epsf, std::max(2 * onset[2] / onset[1], 1.2 * onset[0]), 1e-17);
  EXPECT_NEAR(d, epsf / (epsf - onset[0]) * (1 - 1 / 1.1), 1e-12);
  EXPECT_EQ(take().first, 0);
  // A plane at 60°: the element length across it is lc3/sin φ when that is shorter.
  const double short3[3] = {1.0, 1.0, 0.5}, props60[5] = {std::numbers::pi / 3, 0.2, 0.8, 0.6, 0.6};
  double sdv60[4] = {-1, -1, -1, -1};
  BogenfeldDegradation(&d, sdv60, s, e0, short3, props60, &three, &four, &five);
  const double lm = 0.5 / std::sin(std::numbers::pi / 3);
  EXPECT_NEAR(sdv60[3], std::max(2 * sdv60[2] / (lm * sdv60[1]), 1.2 * sdv60[0]), 1e-15);
  EXPECT_GT(2 * sdv60[2] / (lm * sdv60[1]), 1.2 * sdv60[0]);  // the length decides
  BogenfeldDegradation(&d, sdv, s, e1, lengths, props5, &zero, &four, &five);
  EXPECT_EQ(d, 0.0);
  d = 0.5;
  BogenfeldDegradation(&d, sdv, s, e1, lengths, props5, &seven, &four, &five);
  EXPECT_EQ(d, 0.5);
  EXPECT_EQ(take(), latch(-2, "Unknown mode in BogenfeldDegradation"));
  // Too short a state or property vector: nothing is written.
  double small[4] = {-1, -1, -1, -1};
  const int none = 0;
  for (const auto& [ns, np] : {std::pair{none, five}, std::pair{three, five}, std::pair{four, four}}) {
    d = 0.5;
    BogenfeldDegradation(&d, small, s, e1, lengths, props5, &three, &ns, &np);
    EXPECT_EQ(d, 0.0);
    for (const double x : small) EXPECT_EQ(x, -1.0);
    EXPECT_EQ(take().first, -2);
  }
}

TEST_F(Degradation, SuddenAndIsotropicDiscounts) {
  const double pe[9] = {140e3, 10e3, 9e3, 3.5e3, 5e3, 5.5e3, 0.45, 0.3, 0.28};
  const double ps[9] = {1500, -1200, 50, -200, 50, -200, 70, 70, 40};
  const double ttol[2] = {1.0, 1.0}, fac = 0.1;
  std::array<double, 9> dpe, dps;
  std::array<double, 6> de;
  std::array<double, 9> df;
  const auto reset = [&] {
    std::copy(pe, pe + 9, dpe.begin());
    std::copy(ps, ps + 9, dps.begin());
    de.fill(1.0);
    df.fill(1.0);
  };
  reset();
  double gf = 0, gm = 0;
  const double matrix_only[6] = {0.5, 0, 1.5, 0, 0, 0};
  SuddenDegradation(dpe.data(), dps.data(), pe, ps, de.data(), df.data(), &gf, &gm, ttol, &fac, matrix_only);
  EXPECT_EQ(gf, 0.0);
  EXPECT_EQ(gm, 1.0);
  EXPECT_EQ(dpe[0], pe[0]);
  EXPECT_NEAR(dpe[1], 1e3, 1e-9);
  EXPECT_EQ(dps[1], -1200.0);
  EXPECT_NEAR(dps[3], -20.0, 1e-12);  // compressive strength keeps its sign
  EXPECT_NEAR(de[1], 0.1, 1e-15);
  EXPECT_NEAR(df[3], 0.1, 1e-15);
  EXPECT_EQ(dpe[6], pe[6]);
  EXPECT_NEAR(dpe[8], 0.1 * pe[8], 1e-15);  // ν12 follows E2
  // Fibre failure from the indicator; nm all -1.0 means not given.
  const double not_given[6] = {-1, -1, -1, -1, -1, -1};
  gf = 1.0;
  gm = 0.0;
  reset();
  SuddenDegradation(dpe.data(), dps.data(), pe, ps, de.data(), df.data(), &gf, &gm, ttol, &fac, not_given);
  EXPECT_NEAR(dpe[0], 14e3, 1e-9);
  EXPECT_NEAR(dpe[1], 1e3, 1e-9);
  EXPECT_NEAR(dpe[6], 0.1 * pe[6], 1e-15);
  EXPECT_EQ(gm, 0.0);
  // The viscous variant regularises both factors from the last state.
  reset();
  gf = 1.0;
  gm = 1.0;
  double old = 1.0;
  const double eta = 1.0, dt = 1.0;
  SuddenDegradation_viscouse(dpe.data(), dps.data(), pe, ps, de.data(), df.data(), &gf, &gm, ttol, &fac, nullptr,
                             &old, &eta, &dt);
  EXPECT_NEAR(old, 0.55, 1e-15);
  EXPECT_NEAR(dpe[0], 0.55 * pe[0], 1e-9);
  EXPECT_NEAR(dpe[2], 0.55 * pe[2], 1e-9);
  // Isotropic: nothing until max(d, life) reaches 1.
  const double iso[3] = {3000, 0.35, 99}, half = 0.5, one = 1.0, degr = 0.2;
  double out[3] = {0, 0, -7};
  IsotropicDegradation(iso, &half, &half, &degr, out);
  EXPECT_EQ(out[0], 3000.0);
  EXPECT_EQ(out[1], 0.35);
  EXPECT_EQ(out[2], -7.0);
  IsotropicDegradation(iso, &one, &half, &degr, out);
  EXPECT_NEAR(out[0], 600.0, 1e-12);
  EXPECT_EQ(out[1], 0.0);
  old = 1.0;
  IsotropicDegradation_viscouse(iso, &half, &one, &degr, out, &old, &eta, &dt);
  EXPECT_NEAR(old, 0.6, 1e-15);
  EXPECT_NEAR(out[0], 1800.0, 1e-12);
}

TEST_F(Degradation, AccumulatedDamageAndViscousRegularisation) {
  const double ones[6] = {1, 1, 1, 1, 1, 1};
  EXPECT_EQ(degradation::getaccumulateddamage(ones, 0.0, 3, 2), 1.0);
  EXPECT_EQ(degradation::getaccumulateddamage(ones, 1.0, 3, 2), 0.0);
  const double mixed[4] = {1e-10, 1.0, 1e-20, 1.0};  // plies: (0.5 + 0)/2 and (1 + 0)/2
  EXPECT_NEAR(degradation::getaccumulateddamage(mixed, 1.0, 2, 2), 0.375, 1e-15);
  EXPECT_EQ(degradation::getaccumulateddamage(mixed, 1.0, 0, 2), 0.0);
  double d = 0;
  degradation::viscouseregularisation(0.2, 0.8, d, 3.0, 1.0);
  EXPECT_NEAR(d, 0.35, 1e-15);
}

}  // namespace
}  // namespace tavrin
