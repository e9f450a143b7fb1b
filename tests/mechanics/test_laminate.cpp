// Module laminate in C++: the blocks A, B, D of known stacks, the reference
// plane, lamination parameters, sublaminates and the Chai factors; section
// z tables, ply strains and bottom and top stresses, angle measures;
// partial stiffness integrals, transverse shear stiffness and stress
// functions of stacks and sections, and the transverse stresses through the
// thickness of a section.
#include "foundation/linalg.hpp"
#include "mechanics/partial_integrals.hpp"
#include "mechanics/ply_strains.hpp"
#include "mechanics/shear_stiffness.hpp"
#include "mechanics/stress_recovery.hpp"
#include "mechanics_support.hpp"

namespace tavrin {
namespace {

class Laminate : public LatchTest {};

TEST_F(Laminate, KnownStacks) {
  // Five isotropic plies at any angles: D11 = E h³/(12(1 - ν²)), D66 =
  // (1 - ν) D11/2, and the effective plate stiffness is D11 itself.
  const Layup plate({0.0, 17.0, -40.0, 90.0, 3.0}, 0.4, aluminium);
  const Mat3 d = lm::abd(plate.stack()).d;
  const double d11 = 70.0e3 * 8.0 / (12.0 * (1.0 - 0.09));
  EXPECT_NEAR(d(1, 1), d11, 1e-12 * d11);
  EXPECT_NEAR(d(3, 3), 0.35 * d11, 1e-12 * d11);
  EXPECT_NEAR(GetEffectivePlateStiffness(plate.elastic.data(), plate.angle.data(), plate.thickness.data(),
                                         plate.np()),
              d11, 1e-12 * d11);
  // [0/90], 0° at the bottom: B11 = t²(Q22 - Q11)/2 = -B22.
  const Mat3 b = lm::abd(Layup({0.0, 90.0}, 0.125).stack()).b, q = la::reduced_stiffness(carbon_ply());
  EXPECT_NEAR(b(1, 1), 0.5 * 0.125 * 0.125 * (q(2, 2) - q(1, 1)), 1e-9);
  EXPECT_EQ(b(2, 2), -b(1, 1));
  // The lamination parameters give A through the lamination invariants:
  // A11 = h(U1 + U2 V1 + U3 V2).
  const Layup l({0.0, 30.0, -70.0, 90.0}, 0.25);
  std::vector<double> radians;
  for (double a : l.angle) radians.push_back(a * math::deg2rad);
  SmallMatrix<4, 3> v;
  GetVMatrix(v.data(), radians.data(), l.thickness.data(), l.np());
  const auto u = la::lamination_invariants(la::reduced_stiffness(carbon_ply()));
  const lm::Abd m = lm::abd(l.stack());
  EXPECT_NEAR(m.a(1, 1), u[0] + u[1] * v(1, 1) + u[2] * v(2, 1), 1e-10 * m.a(1, 1));
  // and B and D (h = 1): B11 = h²/4 (U2 V1B + U3 V2B), D11 = h³/12 (U1 + U2 V1D + U3 V2D).
  EXPECT_NEAR(m.b(1, 1), 0.25 * (u[1] * v(1, 2) + u[2] * v(2, 2)), 1e-10 * m.a(1, 1));
  EXPECT_NEAR(m.d(1, 1), (u[0] + u[1] * v(1, 3) + u[2] * v(2, 3)) / 12.0, 1e-10 * m.d(1, 1));
}

// The blocks about a moved reference plane follow the parallel axis
// theorem; a ply outside the stack has no z coordinate.
TEST_F(Laminate, ReferencePlane) {
  const Layup l({0.0, 45.0, 90.0}, 0.3);
  const double e = 0.7;
  const lm::Abd mid = lm::abd(l.stack()), moved = lm::abd(l.stack(), e);
  const double scale = max_entry(mid.a);
  EXPECT_LT(max_difference(moved.a, mid.a), 1e-13 * scale);
  EXPECT_LT(max_difference(moved.b, mid.b - e * mid.a), 1e-13 * scale);
  EXPECT_LT(max_difference(moved.d, mid.d - 2.0 * e * mid.b + e * e * mid.a), 1e-13 * scale);
  const int four = 4, top = 2;
  EXPECT_EQ(GetPlyZCoord(l.thickness.data(), &four, l.np(), &top, nullptr), 0.0);
  EXPECT_EQ(message(), "Ply outside the stack in GetPlyZCoord");
}

TEST_F(Laminate, SublaminatesAndDelamination) {
  const Layup l({0.0, 45.0, -45.0, 90.0}, 0.2);
  // Interface → the thinner part; equal halves give the upper one; an
  // interface outside the stack takes the nearest face.
  const std::array<int, 3> cases[] = {{0, 1, 0}, {1, 1, 1}, {2, 3, 4}, {2147483647, 5, 4}};
  for (const auto& [interface, first, last] : cases) {
    int range[2];
    GetSubLaminateStack(range, l.thickness.data(), &interface, l.np());
    EXPECT_EQ((std::array{range[0], range[1]}), (std::array{first, last})) << interface;
  }
  // The D of plies 2..3 is that of a stack of those two plies; plies
  // outside the stack are refused.
  Mat3 x;
  const int plies[2] = {2, 3}, outside[2] = {3, 5};
  GetSubLaminateXMatrix(x.data(), "D", l.elastic.data(), l.angle.data(), l.thickness.data(), plies, l.np());
  EXPECT_LT(max_difference(x, lm::abd(Layup({45.0, -45.0}, 0.2).stack()).d), 1e-12);
  EXPECT_EQ(status(), 0);
  GetSubLaminateXMatrix(x.data(), "A", l.elastic.data(), l.angle.data(), l.thickness.data(), outside, l.np());
  EXPECT_EQ(max_entry(x), 0.0);
  EXPECT_EQ(message(), "Sublaminate plies outside the stack in GetSubLaminateXMatrix");
  // Chai's factors for plies of one material at 90° to each other: Q11u(90°)
  // = Q22u, so the first factor is the thickness ratio; Q11l = Q22u exactly
  // gives 0 instead of 0/0.
  const Mat3 q = la::reduced_stiffness(carbon_ply());
  const double tl = 0.2, tu = 0.1, g23 = carbon[8], g13 = carbon[7], ninety = 90.0, zero = 0.0;
  double f[3];
  GetChaiDelamFactors(f, q.data(), q.data(), &ninety, &tl, &tu, &g23, &g23, &g13, &g13);
  EXPECT_NEAR(f[0], tl / tu, 1e-12);
  // At 45° the upper Q11 is that of the ply turned by 45°.
  const double fortyfive = 45.0, q45 = Layup({45.0}, 0.1).stack().reduced_stiffness(1)(1, 1);
  GetChaiDelamFactors(f, q.data(), q.data(), &fortyfive, &tl, &tu, &g23, &g23, &g13, &g13);
  EXPECT_NEAR(f[0], tl / tu * (q(1, 1) - q45) / (q(1, 1) - q(2, 2)), 1e-12);
  Mat3 lower = q;
  lower(1, 1) = q(2, 2);
  GetChaiDelamFactors(f, lower.data(), q.data(), &zero, &tl, &tu, &g23, &g23, &g13, &g13);
  EXPECT_EQ(f[0], 0.0);
}

TEST_F(Laminate, SectionZTableAndPlyStrains) {
  // Three sections of up to four plies: two plies of thickness 1, three
  // plies and a missing fourth, and an undefined one.
  const int nplies = 4, nsec = 3, rows = 9, marker = 2147483647;
  const std::vector<int> list{1, 1, marker, marker, 2, 2, 2, marker, marker, marker, marker, marker};
  const std::vector<double> t{1.0, 1.0, 9.0, 9.0, 0.5, 0.25, 0.25, 9.0, 1.0, 1.0, 1.0, 1.0};
  std::vector<double> z(rows * nsec + 4, 7.0), expected{-1.0, -0.5, 0.0, 0.5, 1.0, 0.0, 0.0, 0.0, 0.0,
                                                        -0.5, -0.25, 0.0, 0.125, 0.25, 0.375, 0.5, 0.0, 0.0};
  expected.resize(expected.size() + rows, 0.0);
  expected.resize(expected.size() + 4, 7.0);  // nothing written past the table
  GetSectionZCoord(z.data(), list.data(), t.data(), &nplies, &nsec, nullptr);
  EXPECT_EQ(z, expected);
  // A moment alone on [0/45/-45/90]s: ply-axis strains at the bottom, middle
  // and top of every ply about a reference r are those at z - r, the 90°
  // plies seeing ε11 = ε22 of the laminate.
  const Layup qi({0.0, 45.0, -45.0, 90.0, 90.0, -45.0, 45.0, 0.0}, 0.125);
  const Vec6 bending = math::inverse(lm::abd(qi.stack()).matrix()) * Vec6{{0.0, 0.0, 0.0, 10.0, 0.0, 0.0}};
  const double r = 0.1;
  std::vector<double> e(std::size_t(9 * qi.n()));
  GetSectionStrain(e.data(), bending.data(), qi.angle.data(), qi.thickness.data(), qi.np(), &r);
  EXPECT_NEAR(e[0], (-0.5 - r) * bending(4), 1e-18);  // ply 1 (0°), bottom
  EXPECT_NEAR(e[33], (0.0 - r) * bending(5), 1e-18);  // ply 4 (90°), top
}

// Three plies, stress component 1 = point number: the bottom and top points
// by cumulative counts.  Counts summing to other than the points: the walk
// stops at the last ply, whose top is the last point.  A ply without points
// is refused.
TEST_F(Laminate, BottomAndTopStresses) {
  const int n = 3;
  const std::tuple<std::vector<int>, int, std::vector<double>> cases[] = {
      {{3, 3, 3}, 9, {1, 3, 4, 6, 7, 9}},
      {{1, 2, 2}, 5, {1, 1, 2, 3, 4, 5}},
      {{2, 2, 2}, 9, {1, 2, 3, 4, 5, 9}},
      {{3, 3, 3}, 2, {1, 0, 0, 0, 0, 2}},
      {{3, 0, 3}, 9, {0, 0, 0, 0, 0, 0}},
  };
  for (const auto& [counts, points, expected] : cases) {
    std::vector<double> s(std::size_t(6 * points), 0.0), sbt(6 * 2 * n + 12, 7.0), first;
    // Component i of point j is (j + 1)(i + 1): every column is a whole point.
    for (int j = 0; j < points; ++j)
      for (int i = 0; i < 6; ++i) s[std::size_t(6 * j + i)] = (j + 1) * (i + 1);
    GetPlyBottomTopStress(sbt.data(), s.data(), counts.data(), &points, &n);
    for (int c = 0; c < 2 * n; ++c) {
      first.push_back(sbt[std::size_t(6 * c)]);
      for (int i = 1; i < 6; ++i) EXPECT_EQ(sbt[std::size_t(6 * c + i)], first.back() * (i + 1)) << c << ' ' << i;
    }
    EXPECT_EQ(first, expected);
    EXPECT_EQ(std::vector<double>(sbt.begin() + 6 * 2 * n, sbt.end()), std::vector<double>(12, 7.0));
  }
  EXPECT_EQ(message(), "Section point count below 1 in GetPlyBottomTopStress");
}

TEST_F(Laminate, DecouplingAngleAndAngleDifferences) {
  // One group; -45 and 135 group; a tie: the first group; one ply; none.
  const std::pair<Layup, double> stacks[] = {{Layup({0.0, 90.0}, 0.2), 0.0},
                                             {Layup({0.0, 45.0, 45.0}, 0.2), 45.0},
                                             {Layup({-45.0, 30.0, 135.0}, 0.2), -45.0},
                                             {Layup({30.0, -60.0, 10.0, 10.0}, 0.2), 30.0},
                                             {Layup({30.0}, 0.2), 30.0},  // a single ply: its angle
                                             {Layup({}, 0.2), 0.0}};      // no plies
  for (const auto& [l, angle] : stacks)
    EXPECT_EQ(GetDecoupAngle(l.elastic.data(), l.angle.data(), l.thickness.data(), l.np()), angle);
  // A thin 30° ply, then a tie of 45° and 0°: the group that opened first.
  Layup tie({30.0, 45.0, 0.0}, 0.2);
  tie.thickness[0] = 0.1;
  EXPECT_EQ(GetDecoupAngle(tie.elastic.data(), tie.angle.data(), tie.thickness.data(), tie.np()), 45.0);
  const std::vector<double> a{0.0, 45.0, -45.0};
  const int n = 3;
  const auto dangle = [&](int luflag, int iply) { return GetdAngle(a.data(), &luflag, &iply, &n); };
  EXPECT_EQ(dangle(0, 3), -90.0);
  EXPECT_EQ(dangle(1, 1), -45.0);
  EXPECT_EQ(dangle(1, 2), 90.0);  // against the ply above: 45 - (-45)
  EXPECT_EQ(status(), 0);
  EXPECT_EQ(dangle(1, 4), 0.0);
  EXPECT_EQ(take(), latch(-3, "Error: Default case in GetdAngle. Please check your input parameters."));
}

const Layup unsymmetric({0.0, 30.0, -60.0, 90.0}, 0.2);

// The partial A up to the top face is A.  A point table with counts (1, 3,
// 0, 2): ply 3 has no points, so plies 3 and 4 are integrated as ply 4 from
// the top of ply 2, the same laminate as they are equal.  The last entry
// gives A, B and D for the exponents 1, 2, 3.  Counts that do not fit the
// table and exponents below 1 are refused, nothing written past the table.
TEST_F(Laminate, PartialIntegralsEndInTheLaminateBlocks) {
  const Layup l2({0.0, 30.0, 90.0, 90.0}, 0.2);
  const lm::Abd m2 = lm::abd(l2.stack());
  const double scale = max_entry(m2.a), top = 0.4;
  Mat3 a;
  GetPartialAMatrix(a.data(), l2.elastic.data(), l2.angle.data(), l2.thickness.data(), &top, l2.np(), l2.np());
  EXPECT_LT(max_difference(a, m2.a), 1e-13 * scale);
  const std::vector<int> counts{1, 3, 0, 2}, too_many{3, 3, 0, 2};
  const std::vector<double> z{-0.4, -0.2, -0.15, -0.05, 0.0, 0.2, 0.4};
  const int nz = 7, nprops = 9;
  const Mat3* expected[3] = {&m2.a, &m2.b, &m2.d};
  std::vector<double> x(9 * nz + 9, 7.0);
  const auto integral = [&](const int e, const std::vector<int>& n) {
    GetArbitraryLaminateIntegral(x.data(), &e, l2.elastic.data(), l2.angle.data(), z.data(), n.data(), &nz,
                                 l2.np(), &nprops, nullptr);
  };
  for (int e = 1; e <= 3; ++e) {
    integral(e, counts);
    EXPECT_LT(max_difference(Mat3::load(x.data() + 9 * (nz - 1)), *expected[e - 1]), 1e-13 * scale);
  }
  EXPECT_EQ(status(), 0);
  integral(1, too_many);
  EXPECT_EQ(max_entry(Mat3::load(x.data() + 9 * (nz - 1))), 0.0);
  EXPECT_EQ(x.back(), 7.0);
  EXPECT_EQ(take(), latch(-3, "Ply data do not fit in GetArbitraryLaminateIntegral"));
  integral(0, counts);
  EXPECT_EQ(message(), "Exponent below 1 in GetArbitraryLaminateIntegral");
}

// Two plies of counts 1 and 2 (four entries), flat: the C form adds
// ½(z - zb)² Q̄ + (z - zb)·p(bottom) per ply, from the ply's bottom entry by
// the cumulative counts.  A pdim of neither the thermal (1) nor the
// stiffness form (3) is refused.
TEST_F(Laminate, CurvedCForm) {
  const Layup l({0.0, 90.0}, 0.2);
  const std::vector<double> z{-0.2, 0.0, 0.1, 0.2};
  const std::vector<int> counts{1, 2};
  const int nz = 4, nprops = 9, cform = 0;
  const double flat = 0.0;
  std::vector<double> p(9 * nz), x(9 * nz);
  for (std::size_t i = 0; i < p.size(); ++i) p[i] = 0.01 * double(i + 1);
  const auto c_form = [&](const int pdim) {
    GetPartialCDwithCurvature(x.data(), p.data(), l.elastic.data(), l.angle.data(), z.data(), counts.data(), &flat,
                              &flat, &pdim, &nz, l.np(), &nprops, &cform);
  };
  c_form(3);
  const Mat3 x4 = 0.5 * 0.04 * (l.stack().reduced_stiffness(1) + l.stack().reduced_stiffness(2)) +
                  0.2 * (Mat3::load(p.data()) + Mat3::load(p.data() + 9));
  EXPECT_LT(max_difference(Mat3::load(x.data() + 27), x4), 1e-12);
  EXPECT_EQ(status(), 0);
  c_form(2);
  EXPECT_EQ(message(), "Ply data do not fit in GetPartialCDwithCurvature");
}

// H of a stack by each method.
Mat2 shear(const Layup& l, int method) {
  Mat2 h;
  using Fn = void (*)(double*, const double*, const double*, const double*, const int*);
  const Fn fn = method == 0 ? GetHMatrixShearCorrect : method == 2 ? GetHMatrixQuadrature : GetHMatrixImprovedShear;
  fn(h.data(), l.elastic.data(), l.angle.data(), l.thickness.data(), l.np());
  return h;
}

// A ply's (τ23, τ13) stiffness turns as a vector with the in-plane axes; a
// homogeneous plate gives 5/6·h·C(θ) by every method (the shear correction
// one at 0° only).
TEST_F(Laminate, HomogeneousPlateGivesFiveSixthsGh) {
  Mat2 c;
  const double g13 = 4.8e3, g23 = 3.4e3, thirty = 30.0, cs = std::cos(pi / 6), sn = std::sin(pi / 6), h = 2.0;
  GetOffAxisShearRigidMatrix(c.data(), &g13, &g23, &thirty);
  EXPECT_DOUBLE_EQ(c(1, 1), g23 * cs * cs + g13 * sn * sn);
  EXPECT_DOUBLE_EQ(c(1, 2), (g13 - g23) * sn * cs);
  const std::tuple<const double*, int, double> plates[] = {{aluminium, 1, 0.0}, {carbon, 5, 0.0}, {carbon, 3, 30.0}};
  for (const auto& [props, n, angle] : plates) {
    const Mat2 expected =
        (5.0 / 6.0 * h) * lamina::off_axis_shear_stiffness(props[7], props[8], angle * math::deg2rad);
    for (const int method : {0, 1, 2}) {
      if (angle != 0.0 && method == 0) continue;
      EXPECT_LT(max_difference(shear(Layup::homogeneous(n, h, props, angle), method), expected),
                (angle != 0.0 && method == 1 ? 1e-12 : 2e-9) * max_entry(expected))
          << n << " plies at " << angle << ", method " << method;
    }
  }
  // Shear corrected [0/30]: H(i,j) = √(kᵢkⱼ)·Hlam(i,j), Hlam = Σ t·C(θ) over every ply.
  const Layup l({0.0, 30.0}, 0.2);
  Mat2 hlam;
  for (const double a : l.angle) hlam += 0.2 * lamina::off_axis_shear_stiffness(g13, g23, a * math::deg2rad);
  double sk[2];
  GetShearCorrectFactors(sk, hlam.data(), l.elastic.data(), l.angle.data(), l.thickness.data(), l.np());
  const Mat2 corrected = shear(l, 0);
  EXPECT_NEAR(corrected(1, 2), std::sqrt(sk[0] * sk[1]) * hlam(1, 2), 1e-12 * corrected(1, 1));
  EXPECT_NE(hlam(1, 2), 0.0);
  EXPECT_EQ(status(), 0);
}

// Section 1: a homogeneous plate of three plies and a missing fourth;
// section 2: the unsymmetric stack.  Each section's H is that of its stack.
// Flat plate, curved-shell combinations with B* and D*: the F/G rows of the
// homogeneous plate are f(z)·(1, 0, 0, 1), f = 3/(2h)(1 - 4z²/h²).
TEST_F(Laminate, SectionTablesOfShearStiffnessAndFG) {
  const int nplies = 4, nsec = 2, rows = 9, marker = 2147483647, cs = 1, flag = 1;
  const std::vector<int> list{1, 1, 1, marker, 1, 1, 1, 1};
  Layup both({0.0, 0.0, 0.0, 0.0, 0.0, 30.0, -60.0, 90.0}, 0.5, aluminium);
  std::copy(unsymmetric.elastic.begin(), unsymmetric.elastic.end(), both.elastic.begin() + 36);
  std::fill(both.thickness.begin() + 3, both.thickness.end(), 0.2);
  both.thickness[3] = 9.0;
  std::vector<double> h(4 * nsec), z(rows * nsec), fg(rows * 4 * nsec);
  for (const int method : {0, 1, 2, 3}) {
    GetSectionHMatrix(h.data(), list.data(), both.angle.data(), both.thickness.data(), both.elastic.data(), &nplies,
                      &nsec, &method, nullptr);
    EXPECT_EQ(Mat2::load(h.data()), shear(Layup::homogeneous(3, 1.5, aluminium), method));
    EXPECT_EQ(Mat2::load(h.data() + 4), shear(unsymmetric, method));
  }
  GetSectionZCoord(z.data(), list.data(), both.thickness.data(), &nplies, &nsec, nullptr);
  GetArbitrarySectionFG(fg.data(), list.data(), both.angle.data(), both.thickness.data(), z.data(),
                        both.elastic.data(), &nplies, &nsec, &cs, &flag, nullptr, nullptr);
  for (int r = 0; r < 7; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_NEAR(fg[std::size_t(r + c * rows)], c % 3 ? 0.0 : 1.0 - 4.0 * std::pow(z[std::size_t(r)], 2) / 2.25, 1e-14)
          << "row " << r << " column " << c;
  EXPECT_EQ(fg[7] + fg[8], 0.0);  // rows beyond the section's plies
  EXPECT_EQ(status(), 0);
}

// The section z table and small-f table of a stack.
struct Section {
  int n;
  std::vector<double> z, f;
  explicit Section(const Layup& l) : n(l.n()), z(std::size_t(2 * n + 1)), f(std::size_t(4 * (2 * n + 1))) {
    lm::section_z(l.stack(), z.data());
    lm::section_shear_functions(l.stack(), z.data(), f.data(), 2 * n + 1);
  }
};

// No shear stress on the free faces; the dominant direction of this stack
// is 0°, so f is diagonal.  Inside a ply f is quadratic, so the
// interpolation from the section table is exact; outside the ply it is
// reported, and still the parabola's value; a ply outside the stack is
// refused.
TEST_F(Laminate, SmallF) {
  const Layup& l = unsymmetric;
  const lm::ShearFactors sf = lm::shear_factors(lm::abd(l.stack()));
  const auto small_f = [&](double z, int iply) {
    Mat2 s;
    GetSmallFMatrix(s.data(), l.elastic.data(), l.angle.data(), l.thickness.data(), &z, sf.fa.data(), sf.fb.data(),
                    &iply, l.np());
    return s;
  };
  EXPECT_LT(max_entry(small_f(-0.4, 1)), 1e-14);
  EXPECT_LT(max_entry(small_f(0.4, 4)), 1e-12);
  EXPECT_EQ(small_f(0.05, 3)(1, 2), 0.0);
  const Section s(l);
  const int ply = 2, outside = 5;
  const double z = -0.1, below = s.z[2] - 1.0;
  Mat2 f;
  GetArbitrarySmallF(f.data(), &ply, &z, s.z.data(), s.f.data(), &s.n);
  EXPECT_LT(max_difference(f, small_f(z, ply)), 1e-13);
  EXPECT_EQ(status(), 0);
  GetArbitrarySmallF(f.data(), &ply, &below, s.z.data(), s.f.data(), &s.n);
  EXPECT_EQ(take(), latch(-2, "Error during the calculation of f(z)"));
  EXPECT_LT(max_difference(f, small_f(below, ply)), 1e-11);
  GetArbitrarySmallF(f.data(), &outside, &z, s.z.data(), s.f.data(), &s.n);
  EXPECT_EQ(take(), latch(-3, "Ply outside the stack in GetArbitrarySmallF"));
  // Two equal z of ply 2 (a ply of no thickness): no parabola through its
  // rows, so the middle row (row 4, read as f11, f12, f21, f22) stands for
  // the ply.
  Section flat = s;
  flat.z[2] = flat.z[3];
  for (int c = 0; c < 4; ++c) flat.f[std::size_t(3 + c * (2 * s.n + 1))] = double(c + 1);
  GetArbitrarySmallF(f.data(), &ply, &z, flat.z.data(), flat.f.data(), &flat.n);
  EXPECT_EQ(take(), latch(-2, "Error during the calculation of f(z)"));
  EXPECT_EQ(f.v, (Mat2{{1.0, 3.0, 2.0, 4.0}}.v));
}

// pij = p0 - (ki + kj) p1 + ki kj p2 entry by entry over 3·pdim·nzcrd
// entries, nothing written after them; the section f table of a stack of
// no plies has one row per section (nplies 0) or none (nplies < 0).
TEST_F(Laminate, CurvatureCombinationAndEmptySectionTables) {
  const std::vector<double> p0{10.0, 20.0, 30.0, 40.0, 50.0, 60.0}, p1{1.0, 2.0, 3.0, 4.0, 5.0, 6.0},
      p2{0.5, 0.25, -1.0, 0.0, 2.0, 1.0};
  std::vector<double> pij(7, 7.0);
  lm::getpartialabwithcurvature(pij.data(), p0.data(), p1.data(), p2.data(), 2.0, 3.0, 1, 2);
  EXPECT_EQ(pij, (std::vector<double>{8.0, 11.5, 9.0, 20.0, 37.0, 36.0, 7.0}));
  std::fill(pij.begin(), pij.end(), 7.0);
  lm::getpartialabwithcurvature(pij.data(), p0.data(), p1.data(), p2.data(), 2.0, 3.0, -1, 2);  // no entries
  lm::getpartialabwithcurvature(pij.data(), p0.data(), p1.data(), p2.data(), 2.0, 3.0, 1, -2);
  EXPECT_EQ(pij, std::vector<double>(7, 7.0));
  const int nsec = 2;
  const std::vector<int> list(4, 1);
  const std::vector<double> plies(4, 0.2), z(4, 0.0), elastic(36, 1.0);
  for (const int nplies : {0, -1, -5}) {
    const std::size_t table = std::size_t(4 * nsec * std::max(2 * nplies + 1, 0));
    std::vector<double> f(table + 8, 7.0);
    GetSectionFMatrix(f.data(), list.data(), plies.data(), plies.data(), z.data(), elastic.data(), &nplies,
                      &nsec, nullptr);
    EXPECT_EQ(std::count(f.begin(), f.end(), 0.0), std::ptrdiff_t(table)) << nplies;
    EXPECT_EQ(std::count(f.begin(), f.end(), 7.0), 8) << nplies;
  }
}

// Homogeneous plate of thickness 2 in 1 or 4 plies: f = ¾(1 - z²) I, so σ33
// rises from 0 at the bottom to -(∂R1/∂y + ∂R2/∂x) at the top, with the
// cubic ¾(z - z³/3) + ½ in between; from the top with the bottom's top
// value the same stresses.
TEST_F(Laminate, TransverseNormalStress) {
  const double rdx[2] = {0.3, -2.0}, rdy[2] = {5.0, 0.7};
  for (const int n : {1, 4}) {
    const Section s(Layup::homogeneous(n, 2.0, aluminium));
    std::vector<double> up(std::size_t(2 * n + 1)), down(up.size());
    GetNormalStressFromBottom(up.data(), rdx, rdy, s.z.data(), s.f.data(), &n);
    GetNormalStressFromTop(down.data(), rdx, rdy, &up.back(), s.z.data(), s.f.data(), &n);
    for (std::size_t i = 0; i < up.size(); ++i) {
      const double z = s.z[i];
      EXPECT_NEAR(up[i], -(rdy[0] + rdx[1]) * (0.75 * (z - z * z * z / 3.0) + 0.5), 1e-14) << i;
      EXPECT_NEAR(down[i], up[i], 1e-14);
    }
  }
  // Two plies with three points each (5 entries), stress linear in each ply,
  // both curvatures: the exact integral of -ki s(ζ)(1 - kj ζ) divided by the
  // metric.  Other point counts are refused.
  const std::vector<double> z{-0.2, -0.1, 0.0, 0.1, 0.2}, sbt{1.0, 3.0, -2.0, 5.0};
  const std::vector<int> three{3, 3}, counts{3, 2};
  const int nz = 5, n = 2;
  const double ki = 0.5, kj = -0.8;
  std::vector<double> sint(5);
  GetIntegralOfMembraneNormalStress(sint.data(), sbt.data(), z.data(), three.data(), &ki, &kj, &nz, &n);
  const auto integral = [&](double a, double sa, double slope, double x) {
    // ∫ from a to x of (sa + slope(ζ - a))(1 - kj ζ) dζ by Simpson's rule (exact for cubics).
    const auto g = [&](double t) { return (sa + slope * (t - a)) * (1.0 - kj * t); };
    return (x - a) / 6.0 * (g(a) + 4.0 * g(0.5 * (a + x)) + g(x));
  };
  const double at_top = -ki * (integral(-0.2, 1.0, 10.0, 0.0) + integral(0.0, -2.0, 35.0, 0.2));
  EXPECT_NEAR(sint[4], at_top / ((1.0 - ki * 0.2) * (1.0 - kj * 0.2)), 1e-14);
  EXPECT_EQ(status(), 0);
  GetIntegralOfMembraneNormalStress(sint.data(), sbt.data(), z.data(), counts.data(), &ki, &kj, &nz, &n);
  EXPECT_EQ(sint, std::vector<double>(5, 0.0));
  EXPECT_EQ(message(), "Three section points per ply needed in GetIntegralOfMembraneNormalStress");
}

}  // namespace
}  // namespace tavrin
