// Classical lamination theory: the blocks A, B, D of known stacks, their
// inverses, engineering constants, lamination parameters, sublaminates and
// the Chai factors.
#include <gtest/gtest.h>

#include <cmath>

#include "foundation/linalg.hpp"
#include "laminate_support.hpp"
#include "mechanics/laminate_stiffness.hpp"
#include "mechanics/ply_rotation.hpp"

namespace tavrin {
namespace {

using testing::aluminium;
using testing::carbon;
using testing::Layup;
using testing::max_difference;
using testing::max_entry;
namespace lm = laminate;

class LaminateStiffness : public testing::LatchTest {};

struct Blocks {
  Mat3 a, b, d;
};

Blocks blocks(const Layup& l) {
  Blocks m;
  GetAMatrix(m.a.data(), l.elastic.data(), l.angle.data(), l.thickness.data(), l.np());
  GetBMatrix(m.b.data(), l.elastic.data(), l.angle.data(), l.thickness.data(), l.np());
  GetDMatrix(m.d.data(), l.elastic.data(), l.angle.data(), l.thickness.data(), l.np());
  return m;
}

Mat3 off_axis_q(double dangle, const double* props = carbon) {
  Mat3 q;
  const int three = 3, stiffness = 1;
  GetNyeOffAxisSC(q.data(), &dangle, props, &three, &stiffness);
  return q;
}

TEST_F(LaminateStiffness, SinglePlyAndIsotropicPlate) {
  const double t = 0.25;
  const Blocks one = blocks(Layup({30.0}, t));
  const Mat3 q = off_axis_q(30.0);
  EXPECT_LT(max_difference(one.a, t * q), 1e-10 * max_entry(q));
  EXPECT_EQ(max_entry(one.b), 0.0);
  EXPECT_LT(max_difference(one.d, (t * t * t / 12.0) * q), 1e-12 * max_entry(q));
  // Five isotropic plies at any angles: D11 = E h³/(12(1 - ν²)), D12 = ν D11,
  // D66 = (1 - ν) D11/2, and the effective plate stiffness is D11 itself.
  const Layup plate({0.0, 17.0, -40.0, 90.0, 3.0}, 0.4, aluminium);
  const Blocks p = blocks(plate);
  const double d11 = 70.0e3 * 8.0 / (12.0 * (1.0 - 0.09));
  EXPECT_NEAR(p.d(1, 1), d11, 1e-12 * d11);
  EXPECT_NEAR(p.d(1, 2), 0.3 * d11, 1e-12 * d11);
  EXPECT_NEAR(p.d(3, 3), 0.35 * d11, 1e-12 * d11);
  EXPECT_NEAR(GetEffectivePlateStiffness(plate.elastic.data(), plate.angle.data(), plate.thickness.data(),
                                         plate.np()),
              d11, 1e-12 * d11);
}

TEST_F(LaminateStiffness, SymmetryBalanceAndCrossPlyCoupling) {
  // Quasi-isotropic [0/45/-45/90]s: symmetric (B = 0), balanced (A16 = A26
  // = 0) and isotropic in the plane (A11 = A22, A66 = (A11 - A12)/2).
  const Blocks qi = blocks(Layup({0.0, 45.0, -45.0, 90.0, 90.0, -45.0, 45.0, 0.0}, 0.125));
  const double scale = max_entry(qi.a);
  EXPECT_LT(max_entry(qi.b), 1e-13 * scale);
  EXPECT_LT(std::abs(qi.a(1, 3)) + std::abs(qi.a(2, 3)), 1e-13 * scale);
  EXPECT_NEAR(qi.a(1, 1), qi.a(2, 2), 1e-13 * scale);
  EXPECT_NEAR(qi.a(3, 3), 0.5 * (qi.a(1, 1) - qi.a(1, 2)), 1e-12 * scale);
  // An unsymmetric balanced [45/-45]: no shear-extension, but bending-twist
  // coupling B16 = B26 ≠ 0.
  const Blocks angle_ply = blocks(Layup({45.0, -45.0}, 0.125));
  EXPECT_LT(std::abs(angle_ply.a(1, 3)) + std::abs(angle_ply.a(2, 3)), 1e-13 * max_entry(angle_ply.a));
  EXPECT_GT(std::abs(angle_ply.b(1, 3)), 1.0);
  // [0/90], ply 1 (0°) at the bottom: B11 = t²(Q22 - Q11)/2 = -B22 < 0.
  const double t = 0.125;
  const Blocks cross = blocks(Layup({0.0, 90.0}, t));
  const Mat3 q = off_axis_q(0.0);
  EXPECT_NEAR(cross.b(1, 1), 0.5 * t * t * (q(2, 2) - q(1, 1)), 1e-9);
  EXPECT_EQ(cross.b(2, 2), -cross.b(1, 1));
  EXPECT_LT(cross.b(1, 1), 0.0);
}

TEST_F(LaminateStiffness, InvertedBlocksAssembleTheInverse) {
  const Blocks m = blocks(Layup({0.0, 30.0, -60.0, 90.0, 15.0}, 0.2));
  Mat6 abd;
  GetABDMatrix(abd.data(), m.a.data(), m.b.data(), m.d.data());
  Mat3 at, bt, dt, dred;
  GetABDTilde(m.a.data(), m.b.data(), m.d.data(), at.data(), bt.data(), dt.data());
  Mat6 inv;
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 3; ++i) {
      inv(i, j) = at(i, j);
      inv(i, j + 3) = -bt(j, i);
      inv(i + 3, j) = -bt(i, j);
      inv(i + 3, j + 3) = dt(i, j);
    }
  EXPECT_LT(testing::identity_error(inv * abd), 1e-12);
  // D* is the inverse of the reduced bending stiffness.
  GetReducedBendingStiffness(dred.data(), m.a.data(), m.b.data(), m.d.data());
  EXPECT_LT(testing::identity_error(dt * dred), 1e-12);
  EXPECT_EQ(status(), 0);
}

TEST_F(LaminateStiffness, ReferencePlaneFollowsTheParallelAxisTheorem) {
  const Layup l({0.0, 45.0, 90.0}, 0.3);
  const lm::Abd mid = lm::abd(l.stack()), moved = lm::abd(l.stack(), 0.7);
  const double e = 0.7, scale = max_entry(mid.a);
  EXPECT_LT(max_difference(moved.a, mid.a), 1e-13 * scale);
  EXPECT_LT(max_difference(moved.b, mid.b - e * mid.a), 1e-13 * scale);
  EXPECT_LT(max_difference(moved.d, mid.d - 2.0 * e * mid.b + e * e * mid.a), 1e-13 * scale);
  // The faces about the moved plane: -h/2 - r at the bottom, h/2 - r at the
  // top; any zpos but 1 and 2 means the bottom.
  const double* t = l.thickness.data();
  const int one = 1, three = 3, zero = 0, top = 2;
  EXPECT_DOUBLE_EQ(GetPlyZCoord(t, &one, l.np(), &zero, &e), -0.45 - e);
  EXPECT_DOUBLE_EQ(GetPlyZCoord(t, &three, l.np(), &top, &e), 0.45 - e);
  EXPECT_DOUBLE_EQ(GetPlyZCoord(t, &three, l.np(), &three, nullptr), 0.15);
  EXPECT_DOUBLE_EQ(GetPlyZCoord(t, &three, l.np(), &one, nullptr), 0.3);
  const int four = 4;
  EXPECT_EQ(GetPlyZCoord(t, &four, l.np(), &top, nullptr), 0.0);
  EXPECT_EQ(message(), "Ply outside the stack in GetPlyZCoord");
}

TEST_F(LaminateStiffness, EngineeringConstants) {
  // One isotropic ply with ν = 0: every modulus is E in both branches; the
  // stiffness branch leaves the Poisson's ratios 0.
  const double iso[9] = {70.0e3, 70.0e3, 70.0e3, 0.0, 0.0, 0.0, 35.0e3, 35.0e3, 35.0e3};
  const Layup ply({0.0}, 2.0, iso);
  const Blocks m = blocks(ply);
  Mat6 abd;
  GetABDMatrix(abd.data(), m.a.data(), m.b.data(), m.d.data());
  const double h = 2.0;
  double compliance[8], stiffness[8];
  const int yes = 1;
  GetEngConstsFromABDMatrix(compliance, abd.data(), &h, nullptr);
  GetEngConstsFromABDMatrix(stiffness, abd.data(), &h, &yes);
  for (const int i : {0, 1, 4, 5}) {
    EXPECT_NEAR(compliance[i], 70.0e3, 1e-9);
    EXPECT_NEAR(stiffness[i], 70.0e3, 1e-9);
  }
  EXPECT_EQ(stiffness[3], 0.0);
  EXPECT_EQ(stiffness[7], 0.0);
  // A quasi-isotropic laminate is isotropic in membrane: G12 = E/(2(1 + ν)).
  const Layup qi({0.0, 45.0, -45.0, 90.0, 90.0, -45.0, 45.0, 0.0}, 0.125);
  const lm::EngineeringConstants e = lm::engineering_constants(lm::abd(qi.stack()).matrix(), 1.0);
  EXPECT_NEAR(e.membrane.e11, e.membrane.e22, 1e-9 * e.membrane.e11);
  EXPECT_NEAR(e.membrane.g12, e.membrane.e11 / (2.0 * (1.0 + e.membrane.nu12)), 1e-9 * e.membrane.g12);
}

TEST_F(LaminateStiffness, LaminationParameters) {
  SmallMatrix<4, 3> v;
  const Layup zero({0.0, 0.0, 0.0}, 0.2);
  GetVMatrix(v.data(), zero.angle.data(), zero.thickness.data(), zero.np());
  EXPECT_NEAR(v(1, 1), 1.0, 1e-15);
  EXPECT_NEAR(v(2, 1), 1.0, 1e-15);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(v(3, i) + v(4, i), 0.0);
  // Equal angles, unequal plies: no coupling parameters.
  const Layup equal({0.6, 0.6, 0.6}, 0.0);
  const std::vector<double> t{0.1, 0.5, 0.2};
  GetVMatrix(v.data(), equal.angle.data(), t.data(), equal.np());
  for (int j = 1; j <= 4; ++j) EXPECT_NEAR(v(j, 2), 0.0, 1e-15);
  // They give A through the lamination invariants: A11 = h(U1 + U2 V1 + U3 V2).
  const Layup l({0.0, 30.0, -70.0, 90.0}, 0.25);
  std::vector<double> radians;
  for (double a : l.angle) radians.push_back(a * math::deg2rad);
  GetVMatrix(v.data(), radians.data(), l.thickness.data(), l.np());
  const auto u = lamina::lamination_invariants(lamina::reduced_stiffness(lamina::PlyConstants::load(carbon)));
  const Mat3 a = lm::abd(l.stack()).a;
  EXPECT_NEAR(a(1, 1), u[0] + u[1] * v(1, 1) + u[2] * v(2, 1), 1e-10 * a(1, 1));
  EXPECT_NEAR(a(2, 2), u[0] - u[1] * v(1, 1) + u[2] * v(2, 1), 1e-10 * a(1, 1));
}

TEST_F(LaminateStiffness, Sublaminates) {
  int range[2];
  const std::vector<double> t{0.2, 0.2, 0.2, 0.2};
  const int n = 4;
  const auto split = [&](int interface) {
    GetSubLaminateStack(range, t.data(), &interface, &n);
    return std::array<int, 2>{range[0], range[1]};
  };
  EXPECT_EQ(split(0), (std::array<int, 2>{1, 0}));
  EXPECT_EQ(split(2), (std::array<int, 2>{3, 4}));  // equal halves: the upper one
  EXPECT_EQ(split(1), (std::array<int, 2>{1, 1}));
  EXPECT_EQ(split(2147483647), (std::array<int, 2>{5, 4}));  // above the top: nothing
  // The D of plies 2..3 is that of a stack of those two plies.
  const Layup l({0.0, 45.0, -45.0, 90.0}, 0.2);
  Mat3 x;
  const int plies[2] = {2, 3};
  GetSubLaminateXMatrix(x.data(), "D", l.elastic.data(), l.angle.data(), l.thickness.data(), plies, l.np());
  const Layup inner({45.0, -45.0}, 0.2);
  EXPECT_LT(max_difference(x, blocks(inner).d), 1e-12);
  GetSubLaminateXMatrix(x.data(), "d", l.elastic.data(), l.angle.data(), l.thickness.data(), plies, l.np());
  EXPECT_EQ(max_entry(x), 0.0);
  EXPECT_EQ(status(), 0);
  const int outside[2] = {3, 5};
  GetSubLaminateXMatrix(x.data(), "A", l.elastic.data(), l.angle.data(), l.thickness.data(), outside, l.np());
  EXPECT_EQ(max_entry(x), 0.0);
  EXPECT_EQ(message(), "Sublaminate plies outside the stack in GetSubLaminateXMatrix");
}

TEST_F(LaminateStiffness, ChaiFactors) {
  const Mat3 q = off_axis_q(0.0);
  const double tl = 0.2, tu = 0.1, g23 = carbon[8], g13 = carbon[7];
  double f[3];
  // Plies of one material at 90° to each other: Q11u(90°) = Q22u, so the
  // first factor is the thickness ratio; c = 0, s = 1 in the others.
  double angle = 90.0;
  GetChaiDelamFactors(f, q.data(), q.data(), &angle, &tl, &tu, &g23, &g23, &g13, &g13);
  EXPECT_NEAR(f[0], tl / tu, 1e-12);
  EXPECT_NEAR(f[1], 0.5 * (1.0 + g23 / g13), 1e-15);
  EXPECT_NEAR(f[2], 0.5 * (1.0 + g13 / g23), 1e-15);
  // Aligned plies: no mismatch, factors 0, 1, 1.
  angle = 0.0;
  GetChaiDelamFactors(f, q.data(), q.data(), &angle, &tl, &tu, &g23, &g23, &g13, &g13);
  EXPECT_EQ(f[0], 0.0);
  EXPECT_DOUBLE_EQ(f[1], 1.0);
  EXPECT_DOUBLE_EQ(f[2], 1.0);
  // Q11l = Q22u exactly: the first factor is 0 instead of 0/0.
  Mat3 lower = q;
  lower(1, 1) = q(2, 2);
  GetChaiDelamFactors(f, lower.data(), q.data(), &angle, &tl, &tu, &g23, &g23, &g13, &g13);
  EXPECT_EQ(f[0], 0.0);
}

}  // namespace
}  // namespace tavrin
