// Tensor and coordinate transforms of module `math`: rotation and basis
// matrices, rotation and transformation of second- and fourth-order tensors,
// Euler angles, and a few closed-form plane-geometry routines.
//
// Tensors are 3×3 (Mat3) and 3×3×3×3 (Tensor4), column-major.  Angles are in
// radians where a name ends in _r and in degrees where it ends in _d.
#pragma once

#include <cmath>

#include "foundation/api.hpp"
#include "foundation/small_matrix.hpp"

namespace tavrin::math {

inline constexpr double deg2rad = 0.017453292519943295;
inline constexpr double rad2deg = 57.29577951308232;

// Rotation by angle_r about the axis n through the origin (right-hand rule),
// with c = cos, s = sin and n = (x, y, z):
//   | (1-x²)c + x²      xy(1-c) - zs     xz(1-c) + ys |
//   | xy(1-c) + zs      (1-y²)c + y²     yz(1-c) - xs |
//   | xz(1-c) - ys      yz(1-c) + xs     (1-z²)c + z² |
// n is used as given: only a unit axis gives a rotation.
inline Mat3 rotation_matrix(const Vec3& n, double angle_r) {
  const double c = std::cos(angle_r), s = std::sin(angle_r);
  const double x = n(1), y = n(2), z = n(3);
  Mat3 r;
  r(1, 1) = (1.0 - x * x) * c + x * x;
  r(2, 2) = (1.0 - y * y) * c + y * y;
  r(3, 3) = (1.0 - z * z) * c + z * z;
  r(2, 1) = x * y * (1.0 - c) + z * s;
  r(1, 2) = x * y * (1.0 - c) - z * s;
  r(3, 1) = x * z * (1.0 - c) - y * s;
  r(1, 3) = x * z * (1.0 - c) + y * s;
  r(3, 2) = y * z * (1.0 - c) + x * s;
  r(2, 3) = y * z * (1.0 - c) - x * s;
  return r;
}

// The matrix whose rows are nx, ny, nz: it maps global components to
// components in that basis.
constexpr Mat3 transformation_matrix(const Vec3& nx, const Vec3& ny, const Vec3& nz) {
  Mat3 t;
  for (int j = 1; j <= 3; ++j) {
    t(1, j) = nx(j);
    t(2, j) = ny(j);
    t(3, j) = nz(j);
  }
  return t;
}

// T·t·Tᵀ: the components of t in the basis whose rows T holds.
constexpr Mat3 transform(const Mat3& t, const Mat3& basis) {
  return basis * (t * transpose(basis));
}

// Rᵀ·t·R: out(i,j) = Σₘ Σₙ R(m,i)·R(n,j)·t(m,n).
constexpr Mat3 rotate(const Mat3& t, const Mat3& r) { return transpose(r) * (t * r); }

// out(i,j,k,l) = Σ R(m,i)·R(n,j)·R(o,k)·R(p,l)·t(m,n,o,p), as four
// contractions over one index each (4·243 products instead of 6561).
TAVRIN_API Tensor4 rotate(const Tensor4& t, const Mat3& r);

// The double contraction out(i,j) = Σₖ Σₗ t(i,j,k,l)·e(k,l).
constexpr Mat3 double_contraction(const Tensor4& t, const Mat3& e) {
  Mat3 out;
  for (int l = 1; l <= 3; ++l)
    for (int k = 1; k <= 3; ++k)
      for (int j = 1; j <= 3; ++j)
        for (int i = 1; i <= 3; ++i) out(i, j) += t(i, j, k, l) * e(k, l);
  return out;
}

// Angles (ψ, θ, φ) about x, y and z, in degrees, of the rotation matrix r;
// in gimbal lock (r(3,1) = ∓1) φ = 0 and θ = ±90.
TAVRIN_API Vec3 euler_angles(const Mat3& r);

// out_2nd(3,3) = t_4th(3,3,3,3) : t_2nd(3,3).
TAVRIN_API void tensormultiplication(const double* t_4th, const double* t_2nd, double* out_2nd);
// Signed area of the triangle, positive for counter-clockwise vertices.
TAVRIN_API double gettrianglearea(double x1, double y1, double x2, double y2, double x3, double y3);

}  // namespace tavrin::math

extern "C" {

TAVRIN_API void TensorTransformation2nd(const double* tensin, double* tensout, const double* tbase);
// n0 optional: the axis (1, 0, 0) when null.
TAVRIN_API void TensorRotation2nd(const double* input_2nd, double* output_2nd, const double* angle_r,
                                  const double* n0);
TAVRIN_API void TensorRotation4th(const double* input_4th, double* output_4th, const double* angle_r,
                                  const double* n0);
TAVRIN_API void GetRotationMatrix(double* trot, const double* n, const double* alpha_r);
TAVRIN_API void GetTransformationMatrix(double* tbase, const double* nx, const double* ny,
                                        const double* nz);
TAVRIN_API void GetEulerRotation(double* eul, const double* r);
// pnorm(np,ndim): p mapped linearly from its overall range onto interval(2).
TAVRIN_API void CoordinateNormalization(const double* p, double* pnorm, const double* interval,
                                        const int* np, const int* ndim);
// oud = (a, b, c) of the parabola y = a·x² + b·x + c through the three points
// ind(3,2) (abscissas in column 1, ordinates in column 2).
TAVRIN_API void GetParabolaCoefficients(const double* ind, double* oud);
TAVRIN_API void GetRadiusOfEllipse(double* r, const double* a, const double* b, const double* phi_d);
TAVRIN_API void GetBoundingBoxFromEllipse(double* xybound, const double* a, const double* b,
                                          const double* phi_d);
}
