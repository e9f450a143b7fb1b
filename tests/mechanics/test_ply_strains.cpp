// Section z tables, ply strains under load, ply bottom and top stresses and
// the angle measures of a stack.
#include <gtest/gtest.h>

#include <vector>

#include "foundation/linalg.hpp"
#include "laminate_support.hpp"
#include "mechanics/ply_strains.hpp"

namespace tavrin {
namespace {

using testing::Layup;
namespace lm = laminate;

class PlyStrains : public testing::LatchTest {};

constexpr int marker = 2147483647;

TEST_F(PlyStrains, SectionZTable) {
  // Three sections of up to four plies: two plies of thickness 1, three
  // plies and a missing fourth, and an undefined one.
  const int nplies = 4, nsec = 3, rows = 9;
  const std::vector<int> list{1, 1, marker, marker, 2, 2, 2, marker, marker, marker, marker, marker};
  const std::vector<double> t{1.0, 1.0, 9.0, 9.0, 0.5, 0.25, 0.25, 9.0, 1.0, 1.0, 1.0, 1.0};
  std::vector<double> z(rows * nsec + 4, 7.0);
  GetSectionZCoord(z.data(), list.data(), t.data(), &nplies, &nsec, nullptr);
  EXPECT_EQ(std::vector<double>(z.begin(), z.begin() + rows),
            (std::vector<double>{-1.0, -0.5, 0.0, 0.5, 1.0, 0.0, 0.0, 0.0, 0.0}));
  EXPECT_EQ(std::vector<double>(z.begin() + rows, z.begin() + 2 * rows),
            (std::vector<double>{-0.5, -0.25, 0.0, 0.125, 0.25, 0.375, 0.5, 0.0, 0.0}));
  for (int i = 2 * rows; i < 3 * rows; ++i) EXPECT_EQ(z[std::size_t(i)], 0.0);
  for (int i = 3 * rows; i < 3 * rows + 4; ++i) EXPECT_EQ(z[std::size_t(i)], 7.0);
  // Another marker: the first section then has all four plies.
  const int defint = 2;
  GetSectionZCoord(z.data(), list.data(), t.data(), &nplies, &nsec, &defint);
  EXPECT_EQ(z[8], 10.0);
  EXPECT_EQ(z[rows], 0.0);  // section 2 is all markers now
}

// The laminate strains (ε0, κ) of a load (N, M): ABD⁻¹·(N, M).
Vec6 strains_under(const Layup& l, const Vec6& load) {
  return math::inverse(lm::abd(l.stack()).matrix()) * load;
}

// Ply-axis strains at the bottom, middle and top of every ply.
std::vector<double> section_strain(const Layup& l, const Vec6& se, const double* reference = nullptr) {
  std::vector<double> e(std::size_t(9 * l.n()));
  GetSectionStrain(e.data(), se.data(), l.angle.data(), l.thickness.data(), l.np(), reference);
  return e;
}

TEST_F(PlyStrains, MembraneLoadAndPureMomentOnASymmetricStack) {
  const Layup qi({0.0, 45.0, -45.0, 90.0, 90.0, -45.0, 45.0, 0.0}, 0.125);
  // In-plane load: no curvature, so every ply strains alike at its bottom
  // and top.
  const Vec6 membrane = strains_under(qi, Vec6{{100.0, -30.0, 20.0, 0.0, 0.0, 0.0}});
  EXPECT_LT(std::abs(membrane(4)) + std::abs(membrane(5)) + std::abs(membrane(6)), 1e-18);
  const std::vector<double> e = section_strain(qi, membrane);
  for (int k = 0; k < qi.n(); ++k)
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(e[std::size_t(9 * k + i)], e[std::size_t(9 * k + 6 + i)], 1e-18);
  // The 90° plies see ε11 = ε22 of the laminate.
  EXPECT_NEAR(e[27], membrane(2), 1e-18);
  // A moment alone: no mid-plane strain, strains linear in z, zero at z = 0.
  const Vec6 bending = strains_under(qi, Vec6{{0.0, 0.0, 0.0, 10.0, 0.0, 0.0}});
  EXPECT_LT(std::abs(bending(1)) + std::abs(bending(2)) + std::abs(bending(3)), 1e-18);
  const std::vector<double> z{-0.5, -0.2, 0.0, 0.3, 0.5};
  std::vector<double> ez(3 * z.size());
  const int nz = int(z.size());
  GetPlyStrain(ez.data(), bending.data(), z.data(), &nz);
  for (int i = 0; i < nz; ++i)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(ez[std::size_t(3 * i + c)], z[std::size_t(i)] * bending(4 + c));
  // With a reference r the strains are those at z - r.
  const double r = 0.1;
  const std::vector<double> shifted = section_strain(qi, bending, &r);
  EXPECT_NEAR(shifted[0], (-0.5 - r) * bending(4), 1e-18);  // ply 1 (0°), bottom
  EXPECT_NEAR(shifted[33], (0.0 - r) * bending(5), 1e-18);  // ply 4 (90°) top: ε11 = ε22 of the laminate
}

TEST_F(PlyStrains, BottomAndTopStresses) {
  // Three plies of three points (9 points), stress component 1 = point
  // number.
  const auto stresses = [](int points) {
    std::vector<double> s(std::size_t(6 * points), 0.0);
    for (int j = 0; j < points; ++j) s[std::size_t(6 * j)] = j + 1;
    return s;
  };
  const int n = 3;
  const auto pick = [&](const std::vector<int>& counts, int points) {
    const std::vector<double> s = stresses(points);
    std::vector<double> sbt(6 * 2 * n + 12, 7.0);
    GetPlyBottomTopStress(sbt.data(), s.data(), counts.data(), &points, &n);
    for (int i = 6 * 2 * n; i < int(sbt.size()); ++i) EXPECT_EQ(sbt[std::size_t(i)], 7.0) << "wrote past sbt";
    std::vector<double> first;
    for (int c = 0; c < 2 * n; ++c) first.push_back(sbt[std::size_t(6 * c)]);
    return first;
  };
  EXPECT_EQ(pick({3, 3, 3}, 9), (std::vector<double>{1, 3, 4, 6, 7, 9}));
  EXPECT_EQ(pick({1, 2, 2}, 5), (std::vector<double>{1, 1, 2, 3, 4, 5}));
  // Counts summing to less than the points: the walk stops at the last
  // ply, whose top is the last point.
  EXPECT_EQ(pick({2, 2, 2}, 9), (std::vector<double>{1, 2, 3, 4, 5, 9}));
  EXPECT_EQ(pick({3, 3, 3}, 2), (std::vector<double>{1, 0, 0, 0, 0, 2}));
  EXPECT_EQ(status(), 0);
  // A ply without points is refused.
  EXPECT_EQ(pick({3, 0, 3}, 9), (std::vector<double>(6, 0.0)));
  EXPECT_EQ(message(), "Section point count below 1 in GetPlyBottomTopStress");
}

TEST_F(PlyStrains, DecouplingAngleAndAngleDifferences) {
  const auto decoup = [](const Layup& l) {
    return GetDecoupAngle(l.elastic.data(), l.angle.data(), l.thickness.data(), l.np());
  };
  EXPECT_EQ(decoup(Layup({0.0, 90.0}, 0.2)), 0.0);  // one group
  EXPECT_EQ(decoup(Layup({0.0, 45.0, 45.0}, 0.2)), 45.0);
  EXPECT_EQ(decoup(Layup({-45.0, 30.0, 135.0}, 0.2)), -45.0);  // -45 and 135 group
  EXPECT_EQ(decoup(Layup({30.0, -60.0, 10.0, 10.0}, 0.2)), 30.0);  // a tie: the first group
  EXPECT_EQ(decoup(Layup({17.0}, 0.2)), 17.0);
  const std::vector<double> a{0.0, 45.0, -45.0};
  const int n = 3;
  const auto dangle = [&](int luflag, int iply) { return GetdAngle(a.data(), &luflag, &iply, &n); };
  EXPECT_EQ(dangle(0, 1), 0.0);
  EXPECT_EQ(dangle(0, 3), -90.0);
  EXPECT_EQ(dangle(1, 1), -45.0);
  EXPECT_EQ(dangle(1, 3), 0.0);
  EXPECT_EQ(status(), 0);
  EXPECT_EQ(dangle(1, 4), 0.0);
  EXPECT_EQ(dangle(2, 2), 0.0);
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Error: Default case in GetdAngle. Please check your input parameters.");
}

}  // namespace
}  // namespace tavrin
