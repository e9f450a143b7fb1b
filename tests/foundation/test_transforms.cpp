// Small matrices, rotations and tensor transforms: storage order and the
// properties every rotation must keep.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "foundation/products.hpp"
#include "foundation/transforms.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

constexpr double pi = std::numbers::pi;

Vec3 unit(Vec3 v) { return (1.0 / norm(v)) * v; }

template <class M>
double max_difference(const M& a, const M& b) {
  double d = 0.0;
  for (std::size_t i = 0; i < a.v.size(); ++i) d = std::max(d, std::abs(a.v[i] - b.v[i]));
  return d;
}

Tensor4 random_tensor(unsigned seed) {
  const auto r = testing::random_matrix(81, 1, seed);
  return Tensor4::load(r.data());
}

// λ·δij·δkl + μ·(δik·δjl + δil·δjk)
Tensor4 isotropic(double lambda, double mu) {
  Tensor4 c;
  const auto d = [](int i, int j) { return i == j ? 1.0 : 0.0; };
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j)
      for (int k = 1; k <= 3; ++k)
        for (int l = 1; l <= 3; ++l)
          c(i, j, k, l) = lambda * d(i, j) * d(k, l) + mu * (d(i, k) * d(j, l) + d(i, l) * d(j, k));
  return c;
}

TEST(SmallMatrix, ColumnMajorFromOne) {
  Mat3 m;
  m(2, 1) = 5.0;
  m(1, 3) = 7.0;
  EXPECT_EQ(m.v[1], 5.0);
  EXPECT_EQ(m.v[6], 7.0);
  Tensor4 t;
  t(2, 1, 3, 2) = 1.0;
  EXPECT_EQ(t.v[1 + 0 + 18 + 27], 1.0);
  const Mat6 i6 = Mat6::identity();
  EXPECT_EQ(trace(i6), 6.0);
  // [[1, 2], [3, 4]]·[[5, 6], [7, 8]] = [[19, 22], [43, 50]]
  const SmallMatrix<2, 2> a{{1, 3, 2, 4}}, b{{5, 7, 6, 8}};
  EXPECT_EQ(a * b, (SmallMatrix<2, 2>{{19, 43, 22, 50}}));
  EXPECT_EQ(transpose(a), (SmallMatrix<2, 2>{{1, 2, 3, 4}}));
  EXPECT_EQ(cross(Vec3{{1, 0, 0}}, Vec3{{0, 1, 0}}), (Vec3{{0, 0, 1}}));
}

TEST(SmallMatrix, ProductSkipsZeroEntriesOfTheRightFactor) {
  // A zero column of b gives a zero column whatever a holds.
  const double inf = std::numeric_limits<double>::infinity();
  const SmallMatrix<2, 2> a{{inf, 1, 2, 3}}, b{{0, 0, 1, 1}};
  const SmallMatrix<2, 2> c = a * b;
  EXPECT_EQ(c(1, 1), 0.0);
  EXPECT_EQ(c(2, 1), 0.0);
  EXPECT_EQ(c(2, 2), 4.0);
}

TEST(Rotation, MatricesAreOrthogonalWithDeterminantOne) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    const auto r = testing::random_matrix(4, 1, seed);
    const Mat3 rot = math::rotation_matrix(unit(Vec3{{r[0], r[1], r[2]}}), 4.0 * r[3]);
    EXPECT_LT(max_difference(transpose(rot) * rot, Mat3::identity()), 4e-15);  // a few ulps
    const double det = dot(Vec3{{rot(1, 1), rot(2, 1), rot(3, 1)}},
                           cross(Vec3{{rot(1, 2), rot(2, 2), rot(3, 2)}}, Vec3{{rot(1, 3), rot(2, 3), rot(3, 3)}}));
    EXPECT_NEAR(det, 1.0, 4e-15);
  }
  EXPECT_EQ(math::rotation_matrix(Vec3{{0.3, 0.4, 0.5}}, 0.0), Mat3::identity());
  // The right-hand rule: x rotated about z by 90 degrees is y.
  const double x[3] = {1, 0, 0}, z[3] = {0, 0, 1}, deg = 90.0;
  double p[3];
  CoordinateRotation(z, x, p, &deg);
  EXPECT_NEAR(p[0], 0.0, 1e-16);
  EXPECT_NEAR(p[1], 1.0, 1e-16);
}

TEST(Rotation, SecondOrderTensorsAboutTheDefaultAxis) {
  // Part of every ply rotation: diag(1, 2, 3) turned a quarter about x.
  const Mat3 d{{1, 0, 0, 0, 2, 0, 0, 0, 3}};
  const double quarter = pi / 2;
  Mat3 out;
  TensorRotation2nd(d.data(), out.data(), &quarter, nullptr);
  EXPECT_LT(max_difference(out, Mat3{{1, 0, 0, 0, 3, 0, 0, 0, 2}}), 1e-15);
  // Rotating by θ and back returns the input, about any axis.
  const auto r = testing::random_matrix(9, 1, 99u);
  const Mat3 t = Mat3::load(r.data());
  const double axis[3] = {0.0, 0.6, 0.8}, angle = 0.7, back = -0.7;
  Mat3 there, again;
  TensorRotation2nd(t.data(), there.data(), &angle, axis);
  TensorRotation2nd(there.data(), again.data(), &back, axis);
  EXPECT_LT(max_difference(again, t), 1e-15);
  EXPECT_GT(max_difference(there, t), 0.1);
}

TEST(Rotation, FourthOrderByContractionsEqualsTheFullSum) {
  const Tensor4 t = random_tensor(5u);
  const Mat3 r = math::rotation_matrix(unit(Vec3{{1, -2, 2}}), 1.1);
  const Tensor4 fast = math::rotate(t, r);
  double worst = 0.0;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j)
      for (int k = 1; k <= 3; ++k)
        for (int l = 1; l <= 3; ++l) {
          double s = 0.0;
          for (int m = 1; m <= 3; ++m)
            for (int n = 1; n <= 3; ++n)
              for (int o = 1; o <= 3; ++o)
                for (int p = 1; p <= 3; ++p) s += r(m, i) * r(n, j) * r(o, k) * r(p, l) * t(m, n, o, p);
          worst = std::max(worst, std::abs(s - fast(i, j, k, l)));
        }
  EXPECT_LT(worst, 1e-14);
}

TEST(Rotation, IsotropicTensorIsInvariantAndRotationReverses) {
  const Tensor4 c = isotropic(0.4, 1.3);
  for (unsigned seed = 1; seed <= 5; ++seed) {
    const auto r = testing::random_matrix(4, 1, seed);
    const Vec3 axis = unit(Vec3{{r[0], r[1], r[2]}});
    const double angle = 3.0 * r[3], back = -angle;
    Tensor4 out, again;
    TensorRotation4th(c.data(), out.data(), &angle, axis.data());
    EXPECT_LT(max_difference(out, c), 1e-14);
    const Tensor4 t = random_tensor(seed + 10);
    TensorRotation4th(t.data(), out.data(), &angle, axis.data());
    TensorRotation4th(out.data(), again.data(), &back, axis.data());
    EXPECT_LT(max_difference(again, t), 1e-14);
  }
}

TEST(Transform, BasisChangeAndDoubleContraction) {
  // The rows of a rotated basis: T·t·Tᵀ equals the rotation by Tᵀ.
  const Mat3 r = math::rotation_matrix(unit(Vec3{{2, 1, -1}}), 0.4);
  const Vec3 nx{{r(1, 1), r(2, 1), r(3, 1)}}, ny{{r(1, 2), r(2, 2), r(3, 2)}}, nz{{r(1, 3), r(2, 3), r(3, 3)}};
  Mat3 tbase;
  GetTransformationMatrix(tbase.data(), nx.data(), ny.data(), nz.data());
  EXPECT_EQ(tbase, transpose(r));
  const auto v = testing::random_matrix(9, 1, 3u);
  const Mat3 t = Mat3::load(v.data());
  Mat3 out;
  TensorTransformation2nd(t.data(), out.data(), tbase.data());
  EXPECT_LT(max_difference(out, math::rotate(t, r)), 1e-15);
  // Isotropic stiffness : strain = λ·tr(ε)·I + 2μ·ε.
  const Mat3 eps{{1, 2, 3, 2, 4, 5, 3, 5, 6}};
  Mat3 sigma;
  math::tensormultiplication(isotropic(2.0, 3.0).data(), eps.data(), sigma.data());
  EXPECT_EQ(sigma, 2.0 * 11.0 * Mat3::identity() + 6.0 * eps);
}

TEST(Transform, EulerAnglesRecoverTheirRotation) {
  const auto about = [](double x, double y, double z, double deg) {
    return math::rotation_matrix(Vec3{{x, y, z}}, deg * math::deg2rad);
  };
  // r = Rz(φ)·Ry(θ)·Rx(ψ) gives back (ψ, θ, φ).
  const Mat3 r = about(0, 0, 1, 30.0) * about(0, 1, 0, -20.0) * about(1, 0, 0, 50.0);
  Vec3 eul;
  GetEulerRotation(eul.data(), r.data());
  EXPECT_NEAR(eul(1), 50.0, 1e-12);
  EXPECT_NEAR(eul(2), -20.0, 1e-12);
  EXPECT_NEAR(eul(3), 30.0, 1e-12);
  GetEulerRotation(eul.data(), Mat3::identity().data());
  EXPECT_EQ(eul, Vec3{});
  // Gimbal lock: r(3,1) = -1.
  const Mat3 lock{{0, 0, -1, 0, 1, 0, 1, 0, 0}};
  GetEulerRotation(eul.data(), lock.data());
  EXPECT_EQ(eul(2), 90.0);
  EXPECT_EQ(eul(3), 0.0);
}

}  // namespace
}  // namespace tavrin
