// Transformation matrices, off-axis stiffness and compliance, arbitrary
// bases and rotated stress states, checked against the fourth-order tensor
// rotation of the foundation.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "foundation/transforms.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_rotation.hpp"
#include "mechanics/ply_stiffness.hpp"
#include "ply_support.hpp"

namespace tavrin {
namespace {

using testing::carbon;
using testing::carbon_ply;
using testing::Guarded;
using testing::identity_error;
using testing::max_difference;
namespace la = lamina;

constexpr double pi = std::numbers::pi;
const Vec3 z_axis{{0.0, 0.0, 1.0}};

class PlyRotation : public testing::LatchTest {};

// The Nye matrix of a stiffness turned by rotating its fourth-order tensor:
// components in reference axes of a ply whose axes are R·eᵢ.
Mat6 tensor_rotated(const Mat6& nye, const Mat3& r) {
  const Tensor4 t = la::tensor_stiffness(la::permute(nye, la::voigt_nye));
  // math::rotate contracts with Rᵀ: out = Σ R(m,i)... ; reference
  // components of material ones need R itself, so pass Rᵀ.
  return la::permute(la::voigt_stiffness(math::rotate(t, transpose(r))), la::voigt_nye);
}

Mat6 transformation(double angle, int tdim, int ttype, int tflag) {
  Mat6 t;
  GetNyeTransformationMatrix(t.data(), &angle, &tdim, &ttype, &tflag);
  if (tdim == 3) {
    // Spread the 3×3 result into the leading block for comparisons.
    const Mat3 m = Mat3::load(t.data());
    t = Mat6{};
    for (int i = 1; i <= 3; ++i)
      for (int j = 1; j <= 3; ++j) t(i, j) = m(i, j);
  }
  return t;
}

TEST_F(PlyRotation, TransformationMatrices) {
  for (const int tdim : {3, 6}) {
    for (const int form : {0, 1}) {
      Mat6 identity;
      for (int i = 1; i <= tdim; ++i) identity(i, i) = 1.0;
      EXPECT_EQ(transformation(0.0, tdim, 0, form), identity);
      // The inverse rotation is the rotation by -θ.
      EXPECT_EQ(transformation(0.7, tdim, 1, form), transformation(-0.7, tdim, 0, form));
    }
    // Stress and strain forms are mutually inverse-transposed.
    for (const double angle : {0.3, -1.1, 2.5}) {
      const Mat6 ts = transformation(angle, tdim, 0, 0), te = transformation(angle, tdim, 0, 1);
      Mat6 product = ts * transpose(te);
      for (int i = tdim + 1; i <= 6; ++i) product(i, i) = 1.0;
      EXPECT_LT(identity_error(product), 1e-15) << tdim << " " << angle;
    }
  }
  EXPECT_EQ(status(), 0);
}

TEST_F(PlyRotation, TransformationRefusals) {
  // Extents that are no layout: reported, zero, nothing outside the array.
  for (const int tdim : {-2, 0, 1, 2, 4}) {
    testing::LatchTest::reset();
    Guarded t(tdim);
    const double angle = 0.3;
    const int ttype = 0, tflag = 0;
    GetNyeTransformationMatrix(t.data(), &angle, &tdim, &ttype, &tflag);
    EXPECT_EQ(message(), "False input for TType in GetNyeTransformationMatrix");
    EXPECT_TRUE(t.zero() && t.guards_intact()) << tdim;
  }
  // An unknown sign type goes on as the inverse rotation.
  testing::LatchTest::reset();
  EXPECT_EQ(transformation(0.3, 6, 5, 0), transformation(-0.3, 6, 0, 0));
  EXPECT_EQ(message(), "False input for TType in GetNyeTransformationMatrix");
  // An unknown form: the 12 row and column stay zero.
  testing::LatchTest::reset();
  const Mat6 t = transformation(0.3, 6, 0, 2), stress = transformation(0.3, 6, 0, 0);
  EXPECT_EQ(message(), "False input for TFlag in GetNyeTransformationMatrix");
  for (int i = 1; i <= 6; ++i) {
    EXPECT_EQ(t(i, 4), 0.0);
    EXPECT_EQ(t(4, i), 0.0);
    for (int j = 1; j <= 6; ++j)
      if (i != 4 && j != 4) {
        EXPECT_EQ(t(i, j), stress(i, j));
      }
  }
}

TEST_F(PlyRotation, OffAxisStiffnessAgreesWithTheTensorRotation) {
  const Mat6 c = la::stiffness(carbon_ply()), s = la::compliance(carbon_ply());
  for (const double angle : {0.0, 0.3, pi / 4, 1.2, -2.0}) {
    const Mat3 r = math::rotation_matrix(z_axis, angle);
    const Mat6 cbar = la::rotate_stiffness(c, angle);
    EXPECT_LT(max_difference(cbar, tensor_rotated(c, r)), 1e-10 * c(1, 1)) << angle;
    // The turned compliance stays the inverse of the turned stiffness.
    EXPECT_LT(identity_error(cbar * la::rotate_compliance(s, angle)), 1e-13) << angle;
    // θ and then -θ returns the input.
    EXPECT_LT(max_difference(la::rotate_stiffness(cbar, -angle), c), 1e-10 * c(1, 1)) << angle;
  }
  const Mat3 q = la::reduced_stiffness(carbon_ply());
  EXPECT_LT(max_difference(la::rotate_stiffness(la::rotate_stiffness(q, 0.9), -0.9), q), 1e-10 * q(1, 1));
  // The closed form of an orthotropic ply is the product.
  for (const double angle : {0.0, 0.3, pi / 4, 1.2, -2.0, pi / 2})
    EXPECT_LT(max_difference(la::rotate_orthotropic_stiffness(q, std::cos(angle), std::sin(angle)),
                             la::rotate_stiffness(q, angle)), 1e-11 * q(1, 1)) << angle;
  EXPECT_LT(identity_error(la::rotate_stiffness(q, 0.9) * la::rotate_compliance(la::reduced_compliance(carbon_ply()), 0.9)),
            1e-13);
}

// The rotation reads only the blocks a rotation about axis 3 mixes; any
// matrix, unsymmetric and full, turns as with the full product.
TEST_F(PlyRotation, BlockCongruenceIsTheFullProduct) {
  const auto r = testing::random_matrix(6, 6, 8);
  const Mat6 a = Mat6::load(r.data());
  for (const la::Form form : {la::Form::stress, la::Form::strain}) {
    const Mat6 t = la::nye_transformation(0.7, form);
    EXPECT_LT(max_difference(la::congruence_about_3(a, t), la::congruence(a, t)), 1e-15);
  }
}

TEST_F(PlyRotation, OffAxisRoutine) {
  for (const int ntens : {3, 6}) {
    for (const int scflag : {0, 1}) {
      Guarded on(ntens), turned(ntens), exact(ntens);
      const double zero = 0.0, ninety = 90.0;
      GetNyeOffAxisSC(on.data(), &zero, carbon, &ntens, &scflag);
      GetNyeOffAxisSC(turned.data(), &ninety, carbon, &ntens, &scflag);
      // At 0 the on-axis matrix, exactly.
      const int absent_plane = 1;
      if (scflag) GetNyeStiffnessMatrix(exact.data(), carbon, &ntens, &absent_plane);
      else GetNyeComplianceMatrix(exact.data(), carbon, &ntens, &absent_plane);
      for (int i = 1; i <= ntens; ++i)
        for (int j = 1; j <= ntens; ++j) EXPECT_EQ(on(i, j), exact(i, j)) << i << j;
      // At 90 degrees 11 and 22 change places.
      EXPECT_NEAR(turned(1, 1), on(2, 2), 1e-12 * on(1, 1));
      EXPECT_NEAR(turned(2, 2), on(1, 1), 1e-12 * on(1, 1));
      EXPECT_TRUE(on.guards_intact() && turned.guards_intact());
    }
  }
  EXPECT_EQ(status(), 0);
  // Four components are not served; an scflag other than 0 and 1 turns the
  // stiffness with a transformation that lacks its 12 row and column.
  const int four = 4, six = 6, two = 2;
  const double angle = 30.0;
  Guarded bad(4);
  GetNyeOffAxisSC(bad.data(), &angle, carbon, &four, &two);
  EXPECT_EQ(message(), "Unsupported dimension in GetNyeStiffnessMatrixOff");
  EXPECT_TRUE(bad.zero() && bad.guards_intact());
  testing::LatchTest::reset();
  Guarded odd(6);
  GetNyeOffAxisSC(odd.data(), &angle, carbon, &six, &two);
  EXPECT_EQ(message(), "False input for TFlag in GetNyeTransformationMatrix");
  EXPECT_EQ(odd(4, 4), 0.0);
}

Mat6 in_base(const Mat6& sc, const Mat3& base, int scflag, int ntflag) {
  Mat6 out;
  GetArbitraryBaseSC(out.data(), sc.data(), base.data(), &scflag, &ntflag);
  return out;
}

TEST_F(PlyRotation, ArbitraryBase) {
  const Mat6 c = la::stiffness(carbon_ply()), s = la::compliance(carbon_ply());
  const Mat3 identity = Mat3::identity();
  for (const int ntflag : {0, 1, 2, 3}) EXPECT_EQ(in_base(c, identity, 1, ntflag), c) << ntflag;
  // A base of three turned axes (its columns).
  const Vec3 axis = (1.0 / 3.0) * Vec3{{1.0, 2.0, 2.0}};
  const Mat3 base = math::rotation_matrix(axis, 0.8);
  const Mat6 cb = in_base(c, base, 1, 0);
  // The stiffness in the new base is the tensor's components along the
  // base vectors: C'(ijkl) = bₘᵢ bₙⱼ bₒₖ bₚₗ C(mnop).
  EXPECT_LT(max_difference(cb, tensor_rotated(c, transpose(base))), 1e-10 * c(1, 1));
  // The compliance flag returns the inverse of that stiffness.
  EXPECT_LT(identity_error(cb * in_base(s, base, 0, 0)), 1e-13);
  // The same operation in Voigt and cyclic input order.
  const Mat6 cv = la::permute(c, la::voigt_nye), cc = la::permute(c, la::cyclic_nye);
  EXPECT_LT(max_difference(la::permute(in_base(cv, base, 1, 1), la::voigt_nye), cb), 1e-9);
  EXPECT_LT(max_difference(la::permute(in_base(cc, base, 1, 2), la::cyclic_nye), cb), 1e-9);
  // About axis 3 it is the off-axis stiffness of a ply at the opposite angle.
  const Mat3 turn = math::rotation_matrix(z_axis, 0.5);
  EXPECT_LT(max_difference(in_base(c, turn, 1, 0), la::rotate_stiffness(c, -0.5)), 1e-10 * c(1, 1));
  EXPECT_EQ(status(), 0);
}

Mat3 rotated(const Vec6& nye, const Vec3& axis, double angle, int order, Vec6* out = nullptr) {
  Vec6 sv;
  GetRotatedStresses(sv.data(), &angle, axis.data(), &nye.v[0], &nye.v[1], &nye.v[2], &nye.v[3],
                     &nye.v[4], &nye.v[5], &order);
  if (out) *out = sv;
  if (order == 1) return la::cauchy(sv);
  if (order == 2) return la::cauchy(la::permute(sv, la::cyclic_to_voigt));
  return la::tensor_from_nye(sv);
}

TEST_F(PlyRotation, RotatedStressesAndTractions) {
  const Vec6 sigma{{10.0, -4.0, 3.0, 2.5, -1.5, 0.75}};  // Nye order
  const Vec3 axis = (1.0 / 3.0) * Vec3{{2.0, -1.0, 2.0}};
  Vec6 out;
  // At zero angle the input in the requested order.
  for (const int order : {0, 1, 2}) {
    rotated(sigma, axis, 0.0, order, &out);
    const Mat3 t = la::tensor_from_nye(sigma);
    EXPECT_EQ(out, order == 1 ? la::voigt(t) : order == 2 ? la::cyclic(t) : sigma) << order;
  }
  // Every order carries the same tensor.
  const Mat3 a = rotated(sigma, axis, 1.3, 0), b = rotated(sigma, axis, 1.3, 1), c = rotated(sigma, axis, 1.3, 2);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a, c);
  // Tractions on the rotated planes: normal stress first, then the shears.
  const double angle = 1.3;
  Vec3 tv;
  for (const int plane : {1, 2, 3}) {
    GetTVectorFromArbitraryRotation(tv.data(), &angle, axis.data(), &sigma.v[0], &sigma.v[1],
                                    &sigma.v[2], &sigma.v[3], &sigma.v[4], &sigma.v[5], &plane);
    const Vec3 expected = plane == 1   ? Vec3{{a(1, 1), a(1, 2), a(1, 3)}}
                          : plane == 2 ? Vec3{{a(2, 2), a(1, 2), a(2, 3)}}
                                       : Vec3{{a(3, 3), a(1, 3), a(2, 3)}};
    EXPECT_EQ(tv, expected) << plane;
  }
  Vec3 absent;
  GetTVectorFromArbitraryRotation(absent.data(), &angle, axis.data(), &sigma.v[0], &sigma.v[1],
                                  &sigma.v[2], &sigma.v[3], &sigma.v[4], &sigma.v[5], nullptr);
  EXPECT_EQ(absent, tv);
  EXPECT_EQ(status(), 0);
  // An unknown plane leaves the traction alone.
  const int unknown = 0;
  Vec3 kept{{5.0, 5.0, 5.0}};
  GetTVectorFromArbitraryRotation(kept.data(), &angle, axis.data(), &sigma.v[0], &sigma.v[1],
                                  &sigma.v[2], &sigma.v[3], &sigma.v[4], &sigma.v[5], &unknown);
  EXPECT_EQ(message(), "Unknown PFlag in GetTVectorFromArbitraryRotation");
  EXPECT_EQ(kept, (Vec3{{5.0, 5.0, 5.0}}));
}

// The plane through axis 1 with normal (0, -sin θ, cos θ) is the 3-plane of
// the axes turned by θ about x.
TEST_F(PlyRotation, TractionOnTheRotatedXYPlane) {
  const Vec6 sigma{{10.0, -4.0, 3.0, 2.5, -1.5, 0.75}};
  const double s22 = sigma(2), s33 = sigma(3), s12 = sigma(4), s13 = sigma(5), s23 = sigma(6);
  const Vec3 x{{1.0, 0.0, 0.0}};
  const int three = 3;
  for (const double theta : {0.0, 0.4, -1.0, 2.2}) {
    Vec3 tv, expected;
    GetTVectorOnRotatedXYPlane(tv.data(), &theta, &s22, &s33, &s12, &s13, &s23);
    GetTVectorFromArbitraryRotation(expected.data(), &theta, x.data(), &sigma.v[0], &s22, &s33, &s12,
                                    &s13, &s23, &three);
    EXPECT_LT(max_difference(tv, expected), 1e-13) << theta;
    if (theta == 0.0) {
      EXPECT_EQ(tv, (Vec3{{s33, s13, s23}}));
    }
  }
}

TEST_F(PlyRotation, AngleMeasuredFromTheXZPlane) {
  double phixz;
  const double zero = 0.0, angle = 0.3;
  const int clockwise = 1, counter = 0;
  GetPhiMeasuredFromXZPlane(&phixz, &zero, &counter);
  EXPECT_DOUBLE_EQ(phixz, pi / 2);
  for (const int dir : {clockwise, counter}) {
    GetPhiMeasuredFromXZPlane(&phixz, &angle, &dir);
    EXPECT_NEAR(phixz, pi / 2 + angle, 1e-15) << dir;
  }
}

}  // namespace
}  // namespace tavrin
