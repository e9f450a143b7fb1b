// Partial stiffness integrals, transverse shear stress functions and the
// transverse shear stiffness of stacks and sections.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "laminate_support.hpp"
#include "mechanics/partial_integrals.hpp"
#include "mechanics/ply_strains.hpp"
#include "mechanics/shear_stiffness.hpp"

namespace tavrin {
namespace {

using testing::aluminium;
using testing::carbon;
using testing::Layup;
using testing::max_difference;
using testing::max_entry;
namespace lm = laminate;
using Mat2 = lm::Mat2;

class ShearStiffness : public testing::LatchTest {};

const Layup unsymmetric({0.0, 30.0, -60.0, 90.0}, 0.2);

TEST_F(ShearStiffness, PartialIntegralsEndInTheLaminateBlocks) {
  const Layup& l = unsymmetric;
  const lm::Abd m = lm::abd(l.stack());
  Mat3 a, b;
  const double top = 0.4;
  GetPartialAMatrix(a.data(), l.elastic.data(), l.angle.data(), l.thickness.data(), &top, l.np(), l.np());
  GetPartialBMatrix(b.data(), l.elastic.data(), l.angle.data(), l.thickness.data(), &top, l.np(), l.np());
  const double scale = max_entry(m.a);
  EXPECT_LT(max_difference(a, m.a), 1e-13 * scale);
  EXPECT_LT(max_difference(b, m.b), 1e-13 * scale);
  // A point table with unequal counts (1, 3, 0, 2): its last entry gives A,
  // B and D for the exponents 1, 2, 3; its first entry stays zero.
  const std::vector<int> counts{1, 3, 0, 2};
  // Ply 3 has no points: its top is not in the table, so plies 3 and 4 are
  // integrated as ply 4 from the top of ply 2.  With equal plies 3 and 4
  // (a [0/30/90/90] stack) that is the same laminate.
  const Layup l2({0.0, 30.0, 90.0, 90.0}, 0.2);
  const std::vector<double> z{-0.4, -0.2, -0.15, -0.05, 0.0, 0.2, 0.4};
  const int nz = 7, nprops = 9;
  const lm::Abd m2 = lm::abd(l2.stack());
  const Mat3* expected[3] = {&m2.a, &m2.b, &m2.d};
  std::vector<double> x(9 * nz);
  for (int e = 1; e <= 3; ++e) {
    GetArbitraryLaminateIntegral(x.data(), &e, l2.elastic.data(), l2.angle.data(), z.data(), counts.data(),
                                 &nz, l2.np(), &nprops, nullptr);
    EXPECT_EQ(max_entry(Mat3::load(x.data())), 0.0);
    EXPECT_LT(max_difference(Mat3::load(x.data() + 9 * (nz - 1)), *expected[e - 1]), 1e-13 * scale);
  }
  EXPECT_EQ(status(), 0);
  // Counts that do not fit the table are refused without a write past it.
  const std::vector<int> too_many{3, 3, 0, 2};
  x.assign(9 * nz + 9, 7.0);
  const int one = 1;
  GetArbitraryLaminateIntegral(x.data(), &one, l2.elastic.data(), l2.angle.data(), z.data(), too_many.data(),
                               &nz, l2.np(), &nprops, nullptr);
  EXPECT_EQ(max_entry(Mat3::load(x.data() + 9 * (nz - 1))), 0.0);
  EXPECT_EQ(x.back(), 7.0);
  EXPECT_EQ(message(), "Ply data do not fit in GetArbitraryLaminateIntegral");
  reset();
  const int zero = 0;
  GetArbitraryLaminateIntegral(x.data(), &zero, l2.elastic.data(), l2.angle.data(), z.data(), counts.data(),
                               &nz, l2.np(), &nprops, nullptr);
  EXPECT_EQ(message(), "Exponent below 1 in GetArbitraryLaminateIntegral");
}

TEST_F(ShearStiffness, ThermalIntegralIsTheThermalForce) {
  // Two plies with expansion coefficients: the last entry of the thermal
  // variant is Σ Q̄k·αk·tk, αk turned to laminate axes (engineering shear).
  std::vector<double> props;
  for (int k = 0; k < 2; ++k) {
    props.insert(props.end(), carbon, carbon + 9);
    props.insert(props.end(), {-0.5e-6, 30.0e-6});
  }
  const std::vector<double> angle{0.0, 45.0}, z{-0.2, 0.0, 0.2};
  const std::vector<int> counts{1, 1};
  const int nz = 3, n = 2, nprops = 11, one = 1;
  std::vector<double> x(3 * nz);
  GetArbitraryLaminateIntegral(x.data(), &one, props.data(), angle.data(), z.data(), counts.data(), &nz, &n,
                               &nprops, &one);
  const Vec3 a0{{-0.5e-6, 30.0e-6, 0.0}};
  const double c = std::sqrt(0.5);  // cos 45° = sin 45°
  const Vec3 a45{{0.5 * (-0.5e-6 + 30.0e-6), 0.5 * (-0.5e-6 + 30.0e-6), 2.0 * c * c * (-0.5e-6 - 30.0e-6)}};
  const Vec3 expected = 0.2 * (lm::Stack(props.data(), angle.data(), nullptr, 2, 11).reduced_stiffness(1) * a0) +
                        0.2 * (lm::Stack(props.data(), angle.data(), nullptr, 2, 11).reduced_stiffness(2) * a45);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(x[std::size_t(6 + i)], expected.v[std::size_t(i)], 1e-12 * norm(expected));
}

TEST_F(ShearStiffness, CurvatureCombinationsAndFG) {
  // Two plies of counts 1 and 2 (four entries).
  const Layup l({0.0, 90.0}, 0.2);
  const std::vector<double> z{-0.2, 0.0, 0.1, 0.2};
  const std::vector<int> counts{1, 2};
  const int nz = 4, nprops = 9, three = 3, cform = 0;
  std::vector<double> p(9 * nz), x(9 * nz), pij(9 * nz);
  for (std::size_t i = 0; i < p.size(); ++i) p[i] = 0.01 * double(i + 1);
  // Without curvature the combination is p0.
  lm::getpartialabwithcurvature(pij.data(), p.data(), x.data(), x.data(), 0.0, 0.0, 3, nz);
  EXPECT_EQ(pij, p);
  // ... and the C form adds ½(z - zb)² Q̄ + (z - zb)·p(bottom) per ply, from
  // the ply's bottom entry by the cumulative counts.
  const double flat = 0.0;
  GetPartialCDwithCurvature(x.data(), p.data(), l.elastic.data(), l.angle.data(), z.data(), counts.data(), &flat,
                            &flat, &three, &nz, l.np(), &nprops, &cform);
  const Mat3 q1 = l.stack().reduced_stiffness(1), q2 = l.stack().reduced_stiffness(2);
  const Mat3 x2 = 0.5 * 0.04 * q1 + 0.2 * Mat3::load(p.data());
  const Mat3 x4 = x2 + 0.5 * 0.04 * q2 + 0.2 * Mat3::load(p.data() + 9);
  EXPECT_LT(max_difference(Mat3::load(x.data() + 9), x2), 1e-12);
  EXPECT_LT(max_difference(Mat3::load(x.data() + 27), x4), 1e-12);
  EXPECT_EQ(status(), 0);
  const int two = 2;  // neither the thermal (1) nor the stiffness form (3)
  GetPartialCDwithCurvature(x.data(), p.data(), l.elastic.data(), l.angle.data(), z.data(), counts.data(), &flat,
                            &flat, &two, &nz, l.np(), &nprops, &cform);
  EXPECT_EQ(message(), "Ply data do not fit in GetPartialCDwithCurvature");
  // FG with flag 0 is the negative of flag 1.
  const Mat3 t1 = Mat3::load(p.data() + 3), t2 = Mat3::load(p.data() + 20);
  std::vector<double> f0(9 * nz), f1(9 * nz);
  const int zero = 0, one = 1;
  GetPartialFG(f0.data(), p.data(), x.data(), t1.data(), t2.data(), &nz, &zero);
  GetPartialFG(f1.data(), p.data(), x.data(), t1.data(), t2.data(), &nz, &one);
  for (std::size_t i = 0; i < f0.size(); ++i) EXPECT_EQ(f0[i], -f1[i]);
}

// H of a stack by each method.
Mat2 shear(const Layup& l, int method) {
  Mat2 h;
  using Fn = void (*)(double*, const double*, const double*, const double*, const int*);
  const Fn fn = method == 0 ? GetHMatrixShearCorrect : method == 2 ? GetHMatrixQuadrature : GetHMatrixImprovedShear;
  fn(h.data(), l.elastic.data(), l.angle.data(), l.thickness.data(), l.np());
  return h;
}

TEST_F(ShearStiffness, HomogeneousPlateGivesFiveSixthsGhByEveryMethod) {
  const double h = 2.0;
  for (const double* props : {aluminium, carbon})
    for (const int n : {1, 2, 5}) {
      const Layup plate = Layup::homogeneous(n, h, props);
      const Mat2 expected = (5.0 / 6.0 * h) * lamina::off_axis_shear_stiffness(props[7], props[8], 0.0);
      for (const int method : {0, 1, 2})
        EXPECT_LT(max_difference(shear(plate, method), expected), 2e-9 * max_entry(expected))
            << n << " plies, method " << method;
    }
  // Plies at 30°: the improved and quadrature methods give 5/6·h·C(30°).
  const Layup turned = Layup::homogeneous(3, h, carbon, 30.0);
  const Mat2 expected = (5.0 / 6.0 * h) * lamina::off_axis_shear_stiffness(carbon[7], carbon[8], 30.0 * math::deg2rad);
  EXPECT_LT(max_difference(shear(turned, 1), expected), 1e-12 * max_entry(expected));
  EXPECT_LT(max_difference(shear(turned, 2), expected), 2e-9 * max_entry(expected));
  EXPECT_EQ(status(), 0);
}

TEST_F(ShearStiffness, SmallFVanishesAtTheFacesAndFillsTheSectionTable) {
  const Layup& l = unsymmetric;
  const lm::ShearFactors f = lm::shear_factors(lm::abd(l.stack()));
  const auto small_f = [&](double z, int iply) {
    Mat2 s;
    GetSmallFMatrix(s.data(), l.elastic.data(), l.angle.data(), l.thickness.data(), &z, f.fa.data(), f.fb.data(),
                    &iply, l.np());
    return s;
  };
  // No shear stress on the free faces.
  EXPECT_LT(max_entry(small_f(-0.4, 1)), 1e-14);
  EXPECT_LT(max_entry(small_f(0.4, 4)), 1e-12);
  // The dominant direction of this stack is 0°: f is diagonal.
  const Mat2 mid = small_f(0.05, 3);
  EXPECT_EQ(mid(1, 2), 0.0);
  EXPECT_GT(mid(1, 1), 0.0);
  // Two sections of four plies: this stack, and one without elastic
  // constants (zero rows).
  const int nplies = 4, nsec = 2, rows = 9;
  const std::vector<int> list{1, 1, 1, 1, 2, 2, 2, 2};
  std::vector<double> elastic = l.elastic, angle = l.angle, t = l.thickness;
  elastic.resize(72, 0.0);
  angle.insert(angle.end(), 4, 0.0);
  t.insert(t.end(), 4, 0.1);
  std::vector<double> z(rows * nsec);
  GetSectionZCoord(z.data(), list.data(), t.data(), &nplies, &nsec, nullptr);
  std::vector<double> table(rows * 4 * nsec, 7.0);
  GetSectionFMatrix(table.data(), list.data(), angle.data(), t.data(), z.data(), elastic.data(), &nplies, &nsec,
                    nullptr);
  for (int r = 1; r <= rows; ++r) {
    const Mat2 expected = small_f(z[std::size_t(r - 1)], std::min((r + 1) / 2, 4));
    for (int c = 0; c < 4; ++c)
      EXPECT_NEAR(table[std::size_t(r - 1 + rows * c)], expected.v[std::size_t(c)], 1e-14) << "row " << r;
  }
  for (std::size_t i = rows * 4; i < table.size(); ++i) EXPECT_EQ(table[i], 0.0);
}

TEST_F(ShearStiffness, SectionTablesOfShearStiffnessAndFG) {
  // One section of two plates: a homogeneous plate of three plies, and
  // missing plies after them.
  const int nplies = 4, nsec = 2, rows = 9, marker = 2147483647;
  const std::vector<int> list{1, 1, 1, marker, 1, 1, 1, 1};
  const Layup plate = Layup::homogeneous(3, 1.5, aluminium);
  const Layup& second = unsymmetric;
  std::vector<double> elastic = plate.elastic, angle = plate.angle, t = plate.thickness;
  elastic.resize(36, 0.0);
  angle.push_back(0.0);
  t.push_back(9.0);
  elastic.insert(elastic.end(), second.elastic.begin(), second.elastic.end());
  angle.insert(angle.end(), second.angle.begin(), second.angle.end());
  t.insert(t.end(), second.thickness.begin(), second.thickness.end());
  std::vector<double> h(4 * nsec);
  for (const int method : {0, 1, 2, 3}) {
    GetSectionHMatrix(h.data(), list.data(), angle.data(), t.data(), elastic.data(), &nplies, &nsec, &method,
                      nullptr);
    EXPECT_EQ(Mat2::load(h.data()), shear(plate, method));
    EXPECT_EQ(Mat2::load(h.data() + 4), shear(second, method));
  }
  GetSectionHMatrix(h.data(), list.data(), angle.data(), t.data(), elastic.data(), &nplies, &nsec, nullptr, nullptr);
  EXPECT_EQ(Mat2::load(h.data()), shear(plate, 1));
  // Flat plate, curved-shell combinations with B* and D*: the F/G rows of
  // the homogeneous plate are f(z)·(1, 0, 0, 1), f = 3/(2h)(1 - 4z²/h²).
  std::vector<double> z(rows * nsec);
  GetSectionZCoord(z.data(), list.data(), t.data(), &nplies, &nsec, nullptr);
  std::vector<double> fg(rows * 4 * nsec);
  const int cs = 1, flag = 1;
  GetArbitrarySectionFG(fg.data(), list.data(), angle.data(), t.data(), z.data(), elastic.data(), &nplies, &nsec,
                        &cs, &flag, nullptr, nullptr);
  for (int r = 1; r <= 7; ++r) {
    const double zr = z[std::size_t(r - 1)], f = 1.5 / 1.5 * (1.0 - 4.0 * zr * zr / 2.25);
    EXPECT_NEAR(fg[std::size_t(r - 1)], f, 1e-14) << "row " << r;
    EXPECT_NEAR(fg[std::size_t(r - 1 + 3 * rows)], f, 1e-14);
    EXPECT_NEAR(fg[std::size_t(r - 1 + rows)], 0.0, 1e-14);
    EXPECT_NEAR(fg[std::size_t(r - 1 + 2 * rows)], 0.0, 1e-14);
  }
  EXPECT_EQ(fg[7] + fg[8], 0.0);  // rows beyond the section's plies
  const double no_curvature[2] = {0.0, 0.0};
  std::vector<double> again(fg.size());
  GetArbitrarySectionFG(again.data(), list.data(), angle.data(), t.data(), z.data(), elastic.data(), &nplies, &nsec,
                        &cs, &flag, no_curvature, nullptr);
  EXPECT_EQ(again, fg);
  EXPECT_EQ(status(), 0);
}

}  // namespace
}  // namespace tavrin
