// Stress and strain measures: worked states, invariance under rotation,
// the von Mises flow direction against finite differences, strain measures
// of simple deformations and the hardening table.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "foundation/linalg.hpp"
#include "foundation/transforms.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_rotation.hpp"
#include "mechanics/stress_measures.hpp"
#include "ply_support.hpp"

namespace tavrin {
namespace {

namespace la = lamina;
using testing::max_difference;

class StressMeasures : public testing::LatchTest {};

double mises(const Vec6& v) {
  const int six = 6;
  return GetMisesStress(v.data(), &six);
}

Vec3 principals(const Vec6& v) {
  Vec3 p;
  const int six = 6;
  GetPrincipals(p.data(), v.data(), &six);
  return p;
}

TEST_F(StressMeasures, UniaxialAndPureShear) {
  const double s = 250.0;
  const Vec6 uniaxial{{s, 0, 0, 0, 0, 0}};
  const int six = 6;
  EXPECT_EQ(mises(uniaxial), s);
  EXPECT_EQ(GetTrace(uniaxial.data(), &six), s);
  EXPECT_DOUBLE_EQ(GetHydrostaticPressure(uniaxial.data(), &six), s / 3);
  Mat3 cm;
  GetMeanStress(cm.data(), uniaxial.data(), &six);
  EXPECT_EQ(cm, GetHydrostaticPressure(uniaxial.data(), &six) * Mat3::identity());
  const Vec3 p = principals(uniaxial);
  EXPECT_EQ(p, (Vec3{{s, 0.0, 0.0}}));
  EXPECT_EQ(GetTrescaStress(p.data()), s);
  // Pure shear τ in each slot: von Mises √3·|τ|, principals (|τ|, 0, -|τ|).
  for (int k = 4; k <= 6; ++k) {
    Vec6 shear;
    shear(k) = -80.0;
    EXPECT_DOUBLE_EQ(mises(shear), std::sqrt(3.0) * 80.0) << k;
    const Vec3 ps = principals(shear);
    EXPECT_NEAR(ps(1), 80.0, 1e-12);
    EXPECT_NEAR(ps(2), 0.0, 1e-12);
    EXPECT_NEAR(ps(3), -80.0, 1e-12);
  }
  // Plane layouts: three (11, 22, 12) and four (11, 22, 33, 12) components.
  const double three[3] = {s, 0.0, 40.0}, four[4] = {s, 0.0, 0.0, 40.0};
  const int n3 = 3, n4 = 4;
  EXPECT_EQ(GetMisesStress(three, &n3), GetMisesStress(four, &n4));
  EXPECT_EQ(GetMisesStress(three, &n3), std::sqrt(s * s + 3 * 40.0 * 40.0));
  EXPECT_EQ(status(), 0);
}

TEST_F(StressMeasures, TensorComponents) {
  const double v[6] = {1, 2, 3, 4, 5, 6};
  double c[6];
  const int four = 4, six = 6;
  const double half = 0.5;
  GetTensorComponents(&c[0], &c[1], &c[2], &c[3], &c[4], &c[5], v, &four, nullptr);
  EXPECT_EQ((std::array<double, 6>{c[0], c[1], c[2], c[3], c[4], c[5]}),
            (std::array<double, 6>{1, 2, 3, 4, 0, 0}));
  // Voigt input: t23, t13, t12 from positions 4, 5, 6; halved shears.
  GetTensorComponents(&c[0], &c[1], &c[2], &c[3], &c[4], &c[5], v, &six, &half);
  EXPECT_EQ((std::array<double, 6>{c[0], c[1], c[2], c[3], c[4], c[5]}),
            (std::array<double, 6>{1, 2, 3, 3, 2.5, 2}));
  EXPECT_EQ(status(), 0);
  // Other lengths are refused: zero components, nothing read beyond them.
  for (const int n : {0, 1, 2, 5, 7}) {
    testing::LatchTest::reset();
    GetTensorComponents(&c[0], &c[1], &c[2], &c[3], &c[4], &c[5], v, &n, nullptr);
    EXPECT_EQ(message(), "Unsupported number of stress components");
    EXPECT_EQ(c[0], 0.0);
    EXPECT_EQ(GetMisesStress(v, &n), 0.0);
  }
}

TEST_F(StressMeasures, EquivalentStressesOfPrincipals) {
  const double compressive[3] = {-1, -2, -5}, mixed[3] = {3, 1, -2};
  EXPECT_EQ(GetRankineStress(compressive), 5.0);
  EXPECT_EQ(GetRankineStress(mixed), 3.0);
  EXPECT_EQ(GetTrescaStress(mixed), 5.0);
  // Stassi with equal strengths is von Mises, signed by the first invariant.
  Vec6 s{{120.0, -30.0, 10.0, 15.0, -25.0, 40.0}};
  double eq;
  const double x = 500.0;
  GetStassiStress(s.data(), &x, &x, &eq);
  EXPECT_NEAR(eq, mises(s), 1e-12 * eq);
  s(1) = -300.0;
  GetStassiStress(s.data(), &x, &x, &eq);
  EXPECT_NEAR(eq, -mises(s), 1e-12 * mises(s));
  // Under uniaxial tension it is the stress itself, whatever the ratio.
  const Vec6 tension{{200.0, 0, 0, 0, 0, 0}};
  const double xt = 50.0, xc = 200.0;
  GetStassiStress(tension.data(), &xt, &xc, &eq);
  EXPECT_NEAR(eq, 200.0, 1e-12);
}

// Von Mises stress and principal stresses do not change when the axes turn.
TEST_F(StressMeasures, InvariantUnderRotation) {
  const Vec6 nye{{120.0, -30.0, 10.0, 40.0, -25.0, 15.0}};
  const Mat3 sigma = la::tensor_from_nye(nye);
  const Vec6 voigt = la::voigt(sigma);
  const Vec3 p0 = principals(voigt);
  for (const double angle : {0.3, 1.7, -2.9}) {
    const Vec3 axis = (1.0 / 7.0) * Vec3{{2.0, 3.0, 6.0}};
    Vec6 turned;
    const int to_voigt = 1;
    GetRotatedStresses(turned.data(), &angle, axis.data(), &nye.v[0], &nye.v[1], &nye.v[2], &nye.v[3],
                       &nye.v[4], &nye.v[5], &to_voigt);
    EXPECT_NEAR(mises(turned), mises(voigt), 1e-12 * mises(voigt)) << angle;
    EXPECT_LT(max_difference(principals(turned), p0), 1e-12 * p0(1)) << angle;
  }
  EXPECT_GE(p0(1), p0(2));
  EXPECT_GE(p0(2), p0(3));
  // The deviator has no trace and the same von Mises stress.
  Mat3 cd;
  GetDeviatoricStress(cd.data(), voigt.data());
  EXPECT_NEAR(trace(cd), 0.0, 1e-12);
  EXPECT_NEAR(la::mises(cd), mises(voigt), 1e-12 * mises(voigt));
}

// The flow direction n = s/σvM: the gradient of σvM is 3/2·n for the normal
// entries and 3·n for each shear stored once.
TEST_F(StressMeasures, MisesFlowIsTheScaledGradient) {
  Vec6 s{{2, 1, 0, 0, 0, 0}};
  Vec6 flow;
  const int six = 6;
  GetMisesFlow(flow.data(), s.data(), &six);
  const double r3 = std::sqrt(3.0);
  EXPECT_NEAR(flow(1), 1 / r3, 1e-15);
  EXPECT_NEAR(flow(2), 0.0, 1e-15);
  EXPECT_NEAR(flow(3), -1 / r3, 1e-15);
  for (const int n : {3, 4, 6}) {
    const double v[6] = {120.0, -30.0, 10.0, 40.0, -25.0, 15.0};
    double f[6];
    GetMisesFlow(f, v, &n);
    const int normals = n == 3 ? 2 : 3;
    for (int i = 0; i < n; ++i) {
      double up[6], down[6];
      std::copy_n(v, 6, up);
      std::copy_n(v, 6, down);
      const double h = 1e-4;
      up[i] += h;
      down[i] -= h;
      const double derivative = (GetMisesStress(up, &n) - GetMisesStress(down, &n)) / (2 * h);
      EXPECT_NEAR(derivative, (i < normals ? 1.5 : 3.0) * f[i], 1e-8) << n << " " << i;
    }
  }
}

TEST_F(StressMeasures, StrainMeasures) {
  Mat3 e;
  const Mat3 identity = Mat3::identity();
  for (auto* measure : {&GetSmallStrain, &GetGreenStrain, &GetAlmansiStrain}) {
    measure(e.data(), identity.data());
    EXPECT_EQ(e, Mat3{});
  }
  const double lambda = 1.25;
  Mat3 f = identity;
  f(1, 1) = lambda;
  GetSmallStrain(e.data(), f.data());
  EXPECT_EQ(e(1, 1), lambda - 1);
  GetGreenStrain(e.data(), f.data());
  EXPECT_DOUBLE_EQ(e(1, 1), (lambda * lambda - 1) / 2);
  GetAlmansiStrain(e.data(), f.data());
  EXPECT_DOUBLE_EQ(e(1, 1), (1 - 1 / (lambda * lambda)) / 2);
  // A rigid rotation strains nothing in the Green and Almansi measures; a
  // general F relates them by e = F⁻ᵀ·E·F⁻¹.
  const Mat3 r = math::rotation_matrix((1.0 / 3.0) * Vec3{{1, 2, 2}}, 0.7);
  GetGreenStrain(e.data(), r.data());
  EXPECT_LT(testing::max_entry(e), 1e-15);
  const Mat3 g{{1.1, 0.2, -0.1, 0.05, 0.9, 0.3, 0.0, -0.2, 1.2}};
  Mat3 green, almansi;
  GetGreenStrain(green.data(), g.data());
  GetAlmansiStrain(almansi.data(), g.data());
  const Mat3 finv = math::inverse(g);
  EXPECT_LT(max_difference(almansi, transpose(finv) * green * finv), 1e-14);
  EXPECT_EQ(status(), 0);
  // A singular F·Fᵀ reports through the inversion.
  GetAlmansiStrain(e.data(), Mat3{}.data());
  EXPECT_EQ(status(), -2);
}

void hardening(double strain, const double* table, int n, double& yield, double& gradient) {
  GetHardeningFromTable(&yield, &gradient, &strain, table, &n);
}

TEST_F(StressMeasures, HardeningTable) {
  // Yield stress (column 1) over plastic strain (column 2).
  const double table[8] = {300, 340, 360, 365, 0.0, 0.01, 0.03, 0.05};
  double yield, gradient;
  hardening(0.02, table, 4, yield, gradient);
  EXPECT_DOUBLE_EQ(yield, 350.0);
  // Central slopes at 0.01 (60/0.03) and 0.03 (25/0.04), interpolated.
  EXPECT_DOUBLE_EQ(gradient, 0.5 * (2000.0 + 625.0));
  hardening(0.0, table, 4, yield, gradient);
  EXPECT_EQ(yield, 300.0);
  EXPECT_DOUBLE_EQ(gradient, 4000.0);
  // Beyond the table: the largest yield stress, no hardening.
  hardening(0.2, table, 4, yield, gradient);
  EXPECT_EQ(yield, 365.0);
  EXPECT_EQ(gradient, 0.0);
  hardening(0.0, table, 0, yield, gradient);
  EXPECT_EQ(yield, -std::numeric_limits<double>::max());
  EXPECT_EQ(status(), 0);
  // Plastic strains that do not increase are refused instead of ending the
  // analysis in the interpolation.
  const double bad[6] = {300, 340, 360, 0.0, 0.03, 0.01};
  hardening(0.005, bad, 3, yield, gradient);
  EXPECT_EQ(message(), "Plastic strains of the hardening table do not increase");
  EXPECT_EQ(yield, 360.0);
  EXPECT_EQ(gradient, 0.0);
}

}  // namespace
}  // namespace tavrin
