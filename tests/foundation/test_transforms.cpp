// Small matrices, rotations and tensor transforms: storage order and the
// properties every rotation must keep.
#include <gtest/gtest.h>

#include <cmath>

#include "foundation/linalg.hpp"
#include "foundation/products.hpp"
#include "foundation/transforms.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using testing::expect_all_near;

Vec3 unit(Vec3 v) { return (1.0 / norm(v)) * v; }

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

TEST(Rotation, MatricesAreOrthogonalAndFourthOrderRotationsKeepIsotropy) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    const auto r = testing::random_matrix(4, 1, seed);
    const Mat3 rot = math::rotation_matrix(unit(Vec3{{r[0], r[1], r[2]}}), 4.0 * r[3]);
    expect_all_near((transpose(rot) * rot).v, Mat3::identity().v, 4e-15);  // a few ulps
    EXPECT_NEAR(math::determinant(rot), 1.0, 4e-15);
  }
  // Fourth-order tensors: by contractions as by the full sum, and isotropy kept.
  const Tensor4 t = Tensor4::load(testing::random_matrix(81, 1, 5u).data()), c = isotropic(0.4, 1.3);
  const Mat3 r = math::rotation_matrix(unit(Vec3{{1, -2, 2}}), 1.1);
  Tensor4 full, out;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j)
      for (int k = 1; k <= 3; ++k)
        for (int l = 1; l <= 3; ++l)
          for (int m = 1; m <= 3; ++m)
            for (int n = 1; n <= 3; ++n)
              for (int o = 1; o <= 3; ++o)
                for (int p = 1; p <= 3; ++p) full(i, j, k, l) += r(m, i) * r(n, j) * r(o, k) * r(p, l) * t(m, n, o, p);
  expect_all_near(full.v, math::rotate(t, r).v, 1e-14);
  for (unsigned seed = 1; seed <= 5; ++seed) {
    const auto a = testing::random_matrix(4, 1, seed);
    const double angle = 3.0 * a[3];
    TensorRotation4th(c.data(), out.data(), &angle, unit(Vec3{{a[0], a[1], a[2]}}).data());
    expect_all_near(out.v, c.v, 1e-14);
  }
}

TEST(Transform, StorageDoubleContractionAndEulerAngles) {
  Tensor4 t;  // column-major from one
  t(2, 1, 3, 2) = 1.0;
  EXPECT_EQ(t.v[1 + 0 + 18 + 27], 1.0);
  // Isotropic stiffness : strain = λ·tr(ε)·I + 2μ·ε.
  const Mat3 eps{{1, 2, 3, 2, 4, 5, 3, 5, 6}};
  Mat3 sigma;
  math::tensormultiplication(isotropic(2.0, 3.0).data(), eps.data(), sigma.data());
  EXPECT_EQ(sigma, 2.0 * 11.0 * Mat3::identity() + 6.0 * eps);
  // r = Rz(φ)·Ry(θ)·Rx(ψ) gives back (ψ, θ, φ).
  const auto about = [](double x, double y, double z, double deg) {
    return math::rotation_matrix(Vec3{{x, y, z}}, deg * math::deg2rad);
  };
  const Mat3 r = about(0, 0, 1, 30.0) * about(0, 1, 0, -20.0) * about(1, 0, 0, 50.0);
  Vec3 eul;
  GetEulerRotation(eul.data(), r.data());
  expect_all_near(eul.v, Vec3{{50.0, -20.0, 30.0}}.v, 1e-12);
  // Gimbal lock: r(3,1) = -1.
  const Mat3 lock{{0, 0, -1, 0, 1, 0, 1, 0, 0}};
  GetEulerRotation(eul.data(), lock.data());
  EXPECT_EQ(std::pair(eul(2), eul(3)), std::pair(90.0, 0.0));
  // Gimbal lock with a first angle: rows (0, sin 30°, cos 30°), (0, cos 30°, −sin 30°), (∓1, 0, 0)
  // give ψ = atan2(±r(1,2), ±r(1,3)) = 30° with θ = ±90° (the signs flipped in row 1 for +1).
  const double s = 0.5, c = std::sqrt(0.75);
  const Mat3 lock_down{{0, 0, -1, s, c, 0, c, -s, 0}}, lock_up{{0, 0, 1, -s, c, 0, -c, -s, 0}};
  GetEulerRotation(eul.data(), lock_down.data());
  expect_all_near(eul.v, Vec3{{30.0, 90.0, 0.0}}.v, 1e-12);
  GetEulerRotation(eul.data(), lock_up.data());
  expect_all_near(eul.v, Vec3{{30.0, -90.0, 0.0}}.v, 1e-12);
}

}  // namespace
}  // namespace tavrin
