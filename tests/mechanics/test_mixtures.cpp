// Effective stiffness of layer mixtures: a single layer comes back, layers
// turned about the thickness axis give the exact layered-medium stiffness by
// the three thick-laminate rules, which lie between the Reuss and Voigt
// averages; isotropic layers give the harmonic and arithmetic shear means.
#include "foundation/linalg.hpp"
#include "mechanics/mixtures.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_rotation.hpp"
#include "mechanics_support.hpp"

namespace tavrin {
namespace {

using Rule = void (*)(double*, const double*, const double*, const int*);

struct Named {
  const char* name;
  Rule rule;
};
constexpr Named thick_rules[] = {{"Sun", GetSunEffectiveStiffness},
                                 {"Chou", GetChouEffectiveStiffness},
                                 {"Henry", GetHenryEffectiveStiffness}};

// Layers in the library's layout: fractions and 6×6 stiffnesses (Voigt order).
struct Layers {
  std::vector<double> v, c;
  void add(double fraction, const Mat6& stiffness) {
    v.push_back(fraction);
    c.insert(c.end(), stiffness.v.begin(), stiffness.v.end());
  }
  Mat6 apply(Rule rule) const {
    Mat6 r;
    const int n = int(v.size());
    rule(r.data(), v.data(), c.data(), &n);
    return r;
  }
};

// The carbon ply turned by angle_d about the thickness axis, Voigt order.
Mat6 carbon_at(double angle_d) {
  return la::permute(la::rotate_stiffness(la::stiffness(carbon_ply()), angle_d * math::deg2rad), la::voigt_nye);
}

Mat6 isotropic(double e, double nu) {
  const double g = e / (2.0 * (1.0 + nu)), lambda = e * nu / ((1.0 + nu) * (1.0 - 2.0 * nu));
  Mat6 c;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) c(i, j) = lambda + (i == j ? 2.0 * g : 0.0);
  for (int i = 4; i <= 6; ++i) c(i, i) = g;
  return c;
}

double smallest_eigenvalue(const Mat6& a) { return math::eigenvalues(a)(1); }

TEST(Mixtures, OneLayerComesBack) {
  // A layer with every coupling: Voigt, Reuss and Henry return it; Sun and
  // Chou return it with the couplings of the shears 4, 5 to 1, 2, 3, 6 set to 0.
  Mat6 c = Mat6::load(random_spd(6, 17).data());
  Layers one;
  one.add(1.0, c);
  const double scale = max_entry(c);
  for (Rule rule : {GetVoigtEffectiveStiffness, GetReussEffectiveStiffness, GetHenryEffectiveStiffness})
    EXPECT_LT(max_difference(one.apply(rule), c), 1e-13 * scale);
  for (int i : {4, 5})
    for (int j : {1, 2, 3, 6}) c(i, j) = c(j, i) = 0.0;
  for (Rule rule : {GetSunEffectiveStiffness, GetChouEffectiveStiffness})
    EXPECT_LT(max_difference(one.apply(rule), c), 1e-13 * scale);
  // Not symmetric (C13 = 2, C31 = 1): Chou's rule keeps the row-column order
  // of every product, so the layer's first row comes back.
  Mat6 skew;
  const double diagonal[6] = {10, 9, 8, 3, 3, 4};
  for (int i = 1; i <= 6; ++i) skew(i, i) = diagonal[i - 1];
  skew(1, 3) = 2.0;
  skew(3, 1) = 1.0;
  Layers lone;
  lone.add(1.0, skew);
  const Mat6 chou = lone.apply(GetChouEffectiveStiffness);
  EXPECT_EQ(chou(1, 1), 10.0);
  EXPECT_EQ(chou(1, 3), 2.0);
}

TEST(Mixtures, LayersTurnedAboutTheThickness) {
  struct Case {
    std::vector<double> angles, fractions;
  };
  const Case cases[] = {{{30.0, -30.0}, {0.5, 0.5}}, {{0.0, 90.0}, {0.3, 0.7}}, {{0.0, 45.0, 90.0}, {0.2, 0.5, 0.3}}};
  for (const Case& k : cases) {
    Layers l;
    for (std::size_t i = 0; i < k.angles.size(); ++i) l.add(k.fractions[i], carbon_at(k.angles[i]));
    const Mat6 voigt = l.apply(GetVoigtEffectiveStiffness), reuss = l.apply(GetReussEffectiveStiffness);
    const Mat6 exact = l.apply(GetHenryEffectiveStiffness);
    const double scale = max_entry(voigt);
    for (const Named& r : thick_rules) {
      const Mat6 c = l.apply(r.rule);
      EXPECT_LT(max_difference(c, exact), 1e-12 * scale) << r.name << " " << k.angles.size();
      EXPECT_LT(max_difference(c, transpose(c)), 1e-12 * scale) << r.name;
      for (int i : {4, 5})
        for (int j : {1, 2, 3, 6}) EXPECT_LT(std::abs(c(i, j)), 1e-12 * scale) << r.name;
      // Reuss ≤ C ≤ Voigt: both differences positive semi-definite.
      EXPECT_GT(smallest_eigenvalue(voigt - c), -1e-11 * scale) << r.name;
      EXPECT_GT(smallest_eigenvalue(c - reuss), -1e-11 * scale) << r.name;
    }
    // The in-plane stiffness is stiffer than the equal-stress bound somewhere.
    EXPECT_GT(exact(1, 1) - reuss(1, 1), 1e-3 * scale);
  }
}

TEST(Mixtures, IsotropicLayers) {
  // Shear through the thickness at equal stress: the harmonic mean; shear in
  // the plane at equal strain: the arithmetic mean.
  const double e1 = 70.0e3, nu1 = 0.3, e2 = 3.0e3, nu2 = 0.35, v1 = 0.4, v2 = 0.6;
  const double g1 = e1 / (2.0 * (1.0 + nu1)), g2 = e2 / (2.0 * (1.0 + nu2));
  Layers l;
  l.add(v1, isotropic(e1, nu1));
  l.add(v2, isotropic(e2, nu2));
  const double harmonic = 1.0 / (v1 / g1 + v2 / g2), arithmetic = v1 * g1 + v2 * g2;
  for (const Named& r : thick_rules) {
    const Mat6 c = l.apply(r.rule);
    EXPECT_NEAR(c(4, 4), harmonic, 1e-12 * harmonic) << r.name;
    EXPECT_NEAR(c(5, 5), harmonic, 1e-12 * harmonic) << r.name;
    EXPECT_NEAR(c(6, 6), arithmetic, 1e-12 * arithmetic) << r.name;
    // Equal stress through the thickness: C33 = 1/⟨1/C33⟩.
    const double c33 = 1.0 / (v1 / isotropic(e1, nu1)(3, 3) + v2 / isotropic(e2, nu2)(3, 3));
    EXPECT_NEAR(c(3, 3), c33, 1e-12 * c33) << r.name;
  }
}

TEST(Mixtures, SunUsesLayerOneAsReference) {
  // Fractions that do not sum to 1 make the reference layer visible: the rule
  // is exact only for a full stack, yet it stays symmetric.
  Layers l;
  l.add(0.3, carbon_at(0.0));
  l.add(0.3, carbon_at(90.0));
  Layers swapped;
  swapped.add(0.3, carbon_at(90.0));
  swapped.add(0.3, carbon_at(0.0));
  const Mat6 a = l.apply(GetSunEffectiveStiffness), b = swapped.apply(GetSunEffectiveStiffness);
  EXPECT_GT(max_difference(a, b), 1.0);
  EXPECT_EQ(a, transpose(a));
  // No layers: nothing is read; the equal-stress C33 of nothing is infinite.
  const int none = 0;
  Mat6 c;
  GetSunEffectiveStiffness(c.data(), nullptr, nullptr, &none);
  EXPECT_TRUE(std::isinf(c(3, 3)));
}

}  // namespace
}  // namespace tavrin
