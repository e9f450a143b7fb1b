#include "foundation/transforms.hpp"

#include <algorithm>
#include <cmath>

#include "foundation/norms.hpp"

namespace tavrin::math {

Tensor4 rotate(const Tensor4& t, const Mat3& r) {
  // One contraction replaces the index whose stride in the column-major
  // storage is `stride` (1, 3, 9, 27): out(.., a, ..) = Σ_b R(b, a)·in(.., b, ..).
  const auto contract = [&r](const Tensor4& in, int stride) {
    Tensor4 out;
    for (int outer = 0; outer < 81; outer += 3 * stride)
      for (int a = 0; a < 3; ++a) {
        const double r1 = r(1, a + 1), r2 = r(2, a + 1), r3 = r(3, a + 1);
        for (int inner = 0; inner < stride; ++inner) {
          const std::size_t base = std::size_t(outer + inner);
          out.v[base + std::size_t(a * stride)] = r1 * in.v[base] + r2 * in.v[base + std::size_t(stride)] +
                                                  r3 * in.v[base + std::size_t(2 * stride)];
        }
      }
    return out;
  };
  return contract(contract(contract(contract(t, 1), 3), 9), 27);
}

Vec3 euler_angles(const Mat3& r) {
  const double r31 = r(3, 1);
  if (r31 == -1.0) return Vec3{{std::atan2(r(1, 2), r(1, 3)) * rad2deg, 90.0, 0.0}};
  if (r31 == 1.0) return Vec3{{std::atan2(-r(1, 2), -r(1, 3)) * rad2deg, -90.0, 0.0}};
  const double theta = -std::asin(r31);
  const double c = std::cos(theta);
  const double psi = std::atan2(r(3, 2) / c, r(3, 3) / c);
  const double phi = std::atan2(r(2, 1) / c, r(1, 1) / c);
  return Vec3{{psi * rad2deg, theta * rad2deg, phi * rad2deg}};
}

void tensormultiplication(const double* t_4th, const double* t_2nd, double* out_2nd) {
  double_contraction(Tensor4::load(t_4th), Mat3::load(t_2nd)).store(out_2nd);
}

double gettrianglearea(double x1, double y1, double x2, double y2, double x3, double y3) {
  return 0.5 * (x1 * y2 + x2 * y3 + x3 * y1 - x2 * y1 - x3 * y2 - x1 * y3);
}

}  // namespace tavrin::math

namespace {
namespace tm = tavrin::math;
using tavrin::Mat3;
using tavrin::Vec3;

Vec3 axis_or_x(const double* n0) { return n0 ? Vec3::load(n0) : Vec3{{1.0, 0.0, 0.0}}; }
}  // namespace

extern "C" {

void TensorTransformation2nd(const double* tensin, double* tensout, const double* tbase) {
  tm::transform(Mat3::load(tensin), Mat3::load(tbase)).store(tensout);
}

void TensorRotation2nd(const double* input_2nd, double* output_2nd, const double* angle_r,
                       const double* n0) {
  const Mat3 r = tm::rotation_matrix(axis_or_x(n0), *angle_r);
  tm::rotate(Mat3::load(input_2nd), r).store(output_2nd);
}

void TensorRotation4th(const double* input_4th, double* output_4th, const double* angle_r,
                       const double* n0) {
  const Mat3 r = tm::rotation_matrix(axis_or_x(n0), *angle_r);
  tm::rotate(tavrin::Tensor4::load(input_4th), r).store(output_4th);
}

void GetRotationMatrix(double* trot, const double* n, const double* alpha_r) {
  tm::rotation_matrix(Vec3::load(n), *alpha_r).store(trot);
}

void GetTransformationMatrix(double* tbase, const double* nx, const double* ny, const double* nz) {
  tm::transformation_matrix(Vec3::load(nx), Vec3::load(ny), Vec3::load(nz)).store(tbase);
}

void GetEulerRotation(double* eul, const double* r) { tm::euler_angles(Mat3::load(r)).store(eul); }

void CoordinateNormalization(const double* p, double* pnorm, const double* interval, const int* np,
                             const int* ndim) {
  if (*ndim < 1 || *np < 1) return;
  const std::ptrdiff_t size = std::ptrdiff_t(*np) * *ndim;
  // One range over all coordinates together; NaN entries take no part.
  const auto [tmin, tmax] = tm::value_range(p, size);
  const double width = interval[1] - interval[0];
  for (std::ptrdiff_t i = 0; i < size; ++i)
    pnorm[i] = (p[i] - tmin) / (tmax - tmin) * width + interval[0];
}

void GetParabolaCoefficients(const double* ind, double* oud) {
  const double x1 = ind[0], x2 = ind[1], x3 = ind[2];
  const double y1 = ind[3], y2 = ind[4], y3 = ind[5];
  const double b = ((y2 - y3) * (x1 * x1 - x2 * x2) - (x2 * x2 - x3 * x3) * (y1 - y2)) /
                   ((x2 - x3) * (x1 - x3) * (x1 - x2));
  const double a = ((y1 - y2) - (x1 - x2) * b) / (x1 * x1 - x2 * x2);
  oud[0] = a;
  oud[1] = b;
  oud[2] = y1 - a * x1 * x1 - b * x1;
}

void GetRadiusOfEllipse(double* r, const double* a, const double* b, const double* phi_d) {
  const double c = std::cos(*phi_d * tm::deg2rad), s = std::sin(*phi_d * tm::deg2rad);
  *r = *a * *b / std::sqrt(*b * *b * c * c + *a * *a * s * s);
}

void GetBoundingBoxFromEllipse(double* xybound, const double* a, const double* b,
                               const double* phi_d) {
  const double c = std::cos(*phi_d * tm::deg2rad), s = std::sin(*phi_d * tm::deg2rad);
  const double aa = *a * *a, bb = *b * *b;
  xybound[0] = std::sqrt(aa * c * c + bb * s * s);
  xybound[1] = std::sqrt(aa * s * s + bb * c * c);
}

}  // extern "C"
