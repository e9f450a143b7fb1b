#include "mechanics/ply_rotation.hpp"

#include <algorithm>
#include <cmath>

#include "foundation/boundary.hpp"
#include "foundation/linalg.hpp"
#include "foundation/norms.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/transforms.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_stiffness.hpp"

namespace tavrin::lamina {
namespace {

// Tensor indices (i, j) of the Nye positions 1..6: 11, 22, 33, 12, 13, 23.
constexpr int nye_i[6] = {1, 2, 3, 1, 1, 2};
constexpr int nye_j[6] = {1, 2, 3, 2, 3, 3};

// The Nye positions that a rotation about axis 3 mixes among themselves:
// the in-plane components 11, 22, 12; 33 alone; the transverse shears 13, 23.
constexpr int in_plane[3] = {1, 2, 4}, normal[1] = {3}, transverse[2] = {5, 6};

// The loops below run at every integration point and have fixed trip
// counts: unrolled in full, their sums run side by side (-O2 does not unroll
// them by itself).

// out(:, j) = A·T(:, j) for the columns j of one block, whose non-zero
// rows are the block's positions.
template <int N>
void times_block(const Mat6& a, const Mat6& t, const int (&block)[N], Mat6& out) {
#pragma GCC unroll 3
  for (const int j : block)
#pragma GCC unroll 6
    for (int k = 1; k <= 6; ++k) {
      double sum = 0.0;
#pragma GCC unroll 3
      for (const int m : block) sum += a(k, m) * t(m, j);
      out(k, j) = sum;
    }
}

// out(i, :) = T(:, i)ᵀ·B for the rows i of one block.
template <int N>
void transposed_times_block(const Mat6& b, const Mat6& t, const int (&block)[N], Mat6& out) {
#pragma GCC unroll 6
  for (int j = 1; j <= 6; ++j)
#pragma GCC unroll 3
    for (const int i : block) {
      double sum = 0.0;
#pragma GCC unroll 3
      for (const int m : block) sum += t(m, i) * b(m, j);
      out(i, j) = sum;
    }
}

}  // namespace

Mat6 congruence_about_3(const Mat6& a, const Mat6& t) {
  Mat6 at, r;
  times_block(a, t, in_plane, at);
  times_block(a, t, normal, at);
  times_block(a, t, transverse, at);
  transposed_times_block(at, t, in_plane, r);
  transposed_times_block(at, t, normal, r);
  transposed_times_block(at, t, transverse, r);
  return r;
}

Mat3 plane_transformation(double c, double s, Form form) {
  const double cc = c * c, ss = s * s, cs = c * s;
  // The two forms differ only by where the factor 2 of the shear sits.
  const double upper = form == Form::stress ? 2.0 * cs : cs;
  const double lower = form == Form::stress ? cs : 2.0 * cs;
  return Mat3{{cc, ss, -lower, ss, cc, lower, upper, -upper, cc - ss}};
}

Mat6 nye_transformation(double c, double s, Form form) {
  const Mat3 plane = plane_transformation(c, s, form);
  Mat6 t;
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) t(in_plane[i], in_plane[j]) = plane(i + 1, j + 1);
  t(3, 3) = 1.0;
  t(5, 5) = c;
  t(5, 6) = s;
  t(6, 5) = -s;
  t(6, 6) = c;
  return t;
}

Mat6 base_transformation(const Mat3& base) {
  const Mat3 a = transpose(base);
  Mat6 t;
  for (int q = 0; q < 6; ++q) {
    const int k = nye_i[q], l = nye_j[q];
    for (int p = 0; p < 6; ++p) {
      const int i = nye_i[p], j = nye_j[p];
      if (q < 3) t(p + 1, q + 1) = a(i, k) * a(j, k);
      else if (p < 3) t(p + 1, q + 1) = 2.0 * a(i, k) * a(i, l);
      else t(p + 1, q + 1) = a(i, k) * a(j, l) + a(i, l) * a(j, k);
    }
  }
  return t;
}

Mat3 rotate_orthotropic_stiffness(const Mat3& q, double c, double s) {
  const double c2 = c * c, s2 = s * s, cs = c * s;
  const double c4 = c2 * c2, s4 = s2 * s2, c2s2 = c2 * s2, c3s = c2 * cs, cs3 = cs * s2;
  const double q11 = q(1, 1), q22 = q(2, 2), q12 = q(1, 2), q66 = q(3, 3);
  const double a = q11 - q12 - 2.0 * q66, b = q22 - q12 - 2.0 * q66;
  Mat3 r;
  r(1, 1) = q11 * c4 + 2.0 * (q12 + 2.0 * q66) * c2s2 + q22 * s4;
  r(2, 2) = q11 * s4 + 2.0 * (q12 + 2.0 * q66) * c2s2 + q22 * c4;
  r(1, 2) = r(2, 1) = (q11 + q22 - 4.0 * q66) * c2s2 + q12 * (c4 + s4);
  r(3, 3) = (q11 + q22 - 2.0 * q12 - 2.0 * q66) * c2s2 + q66 * (c4 + s4);
  r(1, 3) = r(3, 1) = a * c3s - b * cs3;
  r(2, 3) = r(3, 2) = a * cs3 - b * c3s;
  return r;
}

Mat6 stiffness_in_base(const Mat6& c, const Mat3& base) {
  const Mat6 t = base_transformation(base);
  return t * (c * transpose(t));
}

Mat6 compliance_in_base(const Mat6& s, const Mat3& base) {
  // T⁻ᵀ·S·T⁻¹ = congruence of S with T⁻¹: the inverse of T·C·Tᵀ for any
  // invertible T, orthonormal base or not.
  return congruence(s, math::inverse(base_transformation(base)));
}

Mat3 condensed_stiffness(const Mat6& c, int plane) {
  const Mat6 v = permute(c, voigt_nye);
  int keep[3] = {1, 2, 6}, d = 3;
  if (plane == 2) {
    keep[0] = 2, keep[1] = 3, keep[2] = 4, d = 1;
  } else if (plane == 3) {
    keep[0] = 1, keep[1] = 3, keep[2] = 5, d = 2;
  }
  Mat3 qs;
  for (int n = 0; n < 3; ++n)
    for (int m = 0; m < 3; ++m)
      qs(m + 1, n + 1) = v(keep[m], keep[n]) - v(keep[m], d) * v(d, keep[n]) / v(d, d);
  return qs;
}

Mat3 rotated_stress(const Mat3& sigma, const Vec3& axis, double angle_r) {
  return math::rotate(sigma, math::rotation_matrix(axis, angle_r));
}

double phi_from_xz_plane(double phixy, bool clockwise) {
  const Vec3 x{{1.0, 0.0, 0.0}}, y{{0.0, 1.0, 0.0}}, z{{0.0, 0.0, 1.0}};
  const Mat3 r = math::rotation_matrix(x, phixy);
  const Vec3 a = clockwise ? transpose(r) * y : r * y;
  const Vec3 b = cross(x, a);
  // b in the base (z, y, x).
  const Vec3 f{{b(3), b(2), b(1)}};
  // The sign bit of f1·f2 decides (+0 gives -z).
  const Vec3 w = -std::copysign(1.0, f(1) * f(2)) * z;
  const Vec3 d = cross(f, w);
  const int three = 3;
  return EuclideanAngle(x.data(), d.data(), &three);
}

}  // namespace tavrin::lamina

namespace {
namespace la = tavrin::lamina;
using tavrin::Mat3;
using tavrin::Mat6;
using tavrin::Vec3;
using tavrin::Vec6;
using tavrin::View;

// Stress tensor of the six components s11, s22, s33, s12, s13, s23.
Mat3 stress_tensor(const double* s11, const double* s22, const double* s33, const double* s12,
                   const double* s13, const double* s23) {
  return la::cauchy(Vec6{{*s11, *s22, *s33, *s23, *s13, *s12}});
}

}  // namespace

extern "C" {

void GetNyeTransformationMatrix(double* t, const double* rangle, const int* tdim, const int* ttype,
                                const int* tflag) {
  const int n = std::max(*tdim, 0);
  const View<double, 2> out(t, n, n);
  std::fill(out.begin(), out.end(), 0.0);
  if (n != 3 && n != 6) {
    // No layout of this extent: t stays zero.
    tavrin::latch_failure(tavrin::status_error, "False input for TType in GetNyeTransformationMatrix");
    return;
  }
  if (*ttype != 0 && *ttype != 1)
    tavrin::latch_failure(tavrin::status_error, "False input for TType in GetNyeTransformationMatrix");
  // ttype 1 is the inverse rotation: sin θ changes its sign.
  const double c = std::cos(*rangle), s = (*ttype == 0 ? 1.0 : -1.0) * std::sin(*rangle);
  const bool known_form = *tflag == 0 || *tflag == 1;
  if (!known_form)
    tavrin::latch_failure(tavrin::status_error, "False input for TFlag in GetNyeTransformationMatrix");
  const la::Form form = *tflag == 1 ? la::Form::strain : la::Form::stress;
  if (n == 3) la::plane_transformation(c, s, form).store(t);
  else la::nye_transformation(c, s, form).store(t);
  if (!known_form) {
    // Neither form: the row and column of the 12 shear stay zero.
    const int k = n == 3 ? 3 : 4;
    for (int i = 1; i <= n; ++i) out(i, k) = out(k, i) = 0.0;
  }
}

void GetNyeOffAxisSC(double* scoff, const double* dangle, const double* props, const int* ntens,
                     const int* scflag) {
  const int n = std::max(*ntens, 0);
  const View<double, 2> out(scoff, n, n);
  if (n != 3 && n != 6) {
    std::fill(out.begin(), out.end(), 0.0);
    tavrin::latch_failure(tavrin::status_error, "Unsupported dimension in GetNyeStiffnessMatrixOff");
    return;
  }
  const double theta = *dangle * tavrin::math::deg2rad;
  const int ttype = 0;
  const la::PlyConstants p = la::PlyConstants::load(props);
  const bool stiffness = *scflag != 0;
  // The strain form turns a stiffness, the stress form a compliance.
  if (n == 6) {
    Mat6 t;
    GetNyeTransformationMatrix(t.data(), &theta, &n, &ttype, scflag);
    la::congruence_about_3(stiffness ? la::stiffness(p) : la::compliance(p), t).store(scoff);
  } else {
    Mat3 t;
    GetNyeTransformationMatrix(t.data(), &theta, &n, &ttype, scflag);
    la::congruence(stiffness ? la::reduced_stiffness(p) : la::reduced_compliance(p), t).store(scoff);
  }
}

void GetTVectorOnRotatedXYPlane(double* tv, const double* theta_r, const double* s22, const double* s33,
                                const double* s12, const double* s13, const double* s23) {
  la::xy_plane_traction(std::cos(*theta_r), std::sin(*theta_r), *s22, *s33, *s12, *s13, *s23)
      .store(tv);
}

void GetTVectorFromArbitraryRotation(double* tv, const double* theta_r, const double* nrot,
                                     const double* s11, const double* s22, const double* s33,
                                     const double* s12, const double* s13, const double* s23,
                                     const int* tflag) {
  const int plane = tflag ? *tflag : 3;
  if (plane < 1 || plane > 3) {
    tavrin::latch_failure(tavrin::status_error, "Unknown PFlag in GetTVectorFromArbitraryRotation");
    return;
  }
  const Mat3 r = la::rotated_stress(stress_tensor(s11, s22, s33, s12, s13, s23), Vec3::load(nrot),
                                    *theta_r);
  // The normal stress on the plane normal to the chosen axis, then its two
  // shears in the order of the other axes.
  const Vec3 t = plane == 1   ? Vec3{{r(1, 1), r(1, 2), r(1, 3)}}
                 : plane == 2 ? Vec3{{r(2, 2), r(1, 2), r(2, 3)}}
                              : Vec3{{r(3, 3), r(1, 3), r(2, 3)}};
  t.store(tv);
}

void GetRotatedStresses(double* sv, const double* theta_r, const double* nrot, const double* s11,
                        const double* s22, const double* s33, const double* s12, const double* s13,
                        const double* s23, const int* soutflag) {
  const Mat3 r = la::rotated_stress(stress_tensor(s11, s22, s33, s12, s13, s23), Vec3::load(nrot),
                                    *theta_r);
  const int order = soutflag ? *soutflag : 0;
  const Vec6 v = order == 1 ? la::voigt(r) : order == 2 ? la::cyclic(r) : la::nye(r);
  v.store(sv);
}

void GetPhiMeasuredFromXZPlane(double* phixz, const double* phixy, const int* clockwise) {
  *phixz = la::phi_from_xz_plane(*phixy, *clockwise != 0);
}

void GetArbitraryBaseSC(double* scbase, const double* sc, const double* base, const int* scflag,
                        const int* ntflag) {
  tavrin::c_boundary(__func__, [&] {
    // The rotation works in Nye order; Voigt (1) and cyclic (2) input is
    // brought there and the result taken back.
    const la::Order order = *ntflag == 1 ? la::voigt_nye : *ntflag == 2 ? la::cyclic_nye
                                                                        : la::Order{1, 2, 3, 4, 5, 6};
    const Mat6 x = la::permute(Mat6::load(sc), order);
    const Mat3 b = Mat3::load(base);
    const Mat6 y = *scflag != 0 ? la::stiffness_in_base(x, b) : la::compliance_in_base(x, b);
    la::permute(y, order).store(scbase);
  });
}

void GetReducedNyeStiffnessMatrix(double* qs, const double* c, const int* plflag) {
  la::condensed_stiffness(Mat6::load(c), plflag ? *plflag : 1).store(qs);
}

}  // extern "C"
