#include "elements/layouts.hpp"

#include <algorithm>

#include "foundation/boundary.hpp"
#include "foundation/linalg.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/ply_rotation.hpp"

namespace tavrin::elements {
namespace {

bool is_set(const int* flag) { return flag != nullptr && *flag != 0; }

// The axisymmetric basis: axes x, z, y of the global system.
constexpr Mat3 axisymmetric_basis{{1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 1.0, 0.0}};

// A solver-order vector in the axisymmetric basis (the stress form of the
// base transformation; shear strains move with it unchanged, as the basis
// only exchanges axes).
Vec6 to_axisymmetric(const Vec6& v) {
  return lamina::base_transformation(axisymmetric_basis) * v;
}

// The element's in-plane positions 11, 22, 12 of a 3-D vector or tangent.
constexpr int plane_stress_positions[3] = {1, 2, 4};

}  // namespace
}  // namespace tavrin::elements

using namespace tavrin;
using namespace tavrin::elements;

extern "C" {

void GetElemOutputFrom3D(double* stresselem, double* tangentelem, const double* stress3d,
                         const double* tangent3d, const int* n, const int* isaxial) {
  tavrin::c_boundary(__func__, [&] {
    switch (*n) {
      case 3: GetPlaneStressOutputFrom3D(stresselem, tangentelem, stress3d, tangent3d); break;
      case 4: GetPlaneStrainOutputFrom3D(stresselem, tangentelem, stress3d, tangent3d, isaxial); break;
      case 6: GetHexOutputFrom3D(stresselem, tangentelem, stress3d, tangent3d); break;
      default: break;
    }
  });
}

void GetHexOutputFrom3D(double* stresshex, double* tangenthex, const double* stress3d,
                        const double* tangent3d) {
  std::copy_n(stress3d, 6, stresshex);
  std::copy_n(tangent3d, 36, tangenthex);
}

void GetPlaneStrainOutputFrom3D(double* stresspl, double* tangentpl, const double* stress3d,
                                const double* tangent3d, const int* isaxial) {
  Vec6 s = Vec6::load(stress3d);
  Mat6 c = Mat6::load(tangent3d);
  if (is_set(isaxial)) {
    s = to_axisymmetric(s);
    c = lamina::stiffness_in_base(c, axisymmetric_basis);
  }
  for (int i = 1; i <= 4; ++i) {
    stresspl[i - 1] = s(i);
    for (int j = 1; j <= 4; ++j) tangentpl[(i - 1) + 4 * (j - 1)] = c(i, j);
  }
}

void GetPlaneStressOutputFrom3D(double* stressps, double* tangentps, const double* stress3d,
                                const double* tangent3d) {
  tavrin::c_boundary(__func__, [&] {
    const Vec6 s = Vec6::load(stress3d);
    const Mat6 c = Mat6::load(tangent3d);
    const auto& k = plane_stress_positions;
    if (c(3, 3) == 0.0) {
      // No normal stiffness to condense: the in-plane rows and columns.
      for (int i = 0; i < 3; ++i) {
        stressps[i] = s(k[i]);
        for (int j = 0; j < 3; ++j) tangentps[i + 3 * j] = c(k[i], k[j]);
      }
      return;
    }
    // The strain of the 3-D state, seen through the condensed stiffness: the
    // out-of-plane stress is condensed out rather than dropped.
    const Vec6 e = math::inverse(c) * s;
    const Mat3 q = lamina::condensed_stiffness(c, 1);
    const Vec3 sp = q * Vec3{{e(1), e(2), e(4)}};
    sp.store(stressps);
    q.store(tangentps);
  });
}

void Get3DInputFromElem(double* stress3d, double* strain3d, double* dstrain3d,
                        const double* stress_nye, const double* strain_nye, const double* dstrain_nye,
                        const int* ncomp, const double* transverse, const int* itnsflag,
                        const int* itshrflag, const int* isaxial) {
  switch (*ncomp) {
    case 3: {
      const double none[6] = {};
      const int off = 0;
      Get3DStressFromPlaneStress(stress_nye, strain_nye, dstrain_nye, transverse ? transverse : none,
                                 stress3d, strain3d, dstrain3d, itnsflag ? itnsflag : &off,
                                 itshrflag ? itshrflag : &off);
      break;
    }
    case 4:
      Get3DStressFromPlaneStrain(stress_nye, strain_nye, dstrain_nye, stress3d, strain3d, dstrain3d,
                                 isaxial);
      break;
    case 6:
      Get3DStressFromHex(stress_nye, strain_nye, dstrain_nye, stress3d, strain3d, dstrain3d);
      break;
    default: break;
  }
}

void Get3DStressFromHex(const double* stress, const double* stran, const double* dstran,
                        double* stress3d, double* stran3d, double* dstran3d) {
  std::copy_n(stress, 6, stress3d);
  std::copy_n(stran, 6, stran3d);
  std::copy_n(dstran, 6, dstran3d);
}

void Get3DStressFromPlaneStrain(const double* stress, const double* stran, const double* dstran,
                                double* stress3d, double* stran3d, double* dstran3d,
                                const int* isaxial) {
  const bool axial = is_set(isaxial);
  const auto expand = [axial](const double* a, double* out) {
    Vec6 v{{a[0], a[1], a[2], a[3], 0.0, 0.0}};
    if (axial) v = to_axisymmetric(v);
    v.store(out);
  };
  expand(stress, stress3d);
  expand(stran, stran3d);
  expand(dstran, dstran3d);
}

void Get3DStressFromPlaneStress(const double* stress, const double* stran, const double* dstran,
                                const double* transverse, double* stress3d, double* stran3d,
                                double* dstran3d, const int* itnsflag, const int* itshrflag) {
  const auto expand = [](const double* a, double* out) {
    std::fill_n(out, 6, 0.0);
    out[0] = a[0], out[1] = a[1], out[3] = a[2];
  };
  expand(stress, stress3d);
  expand(stran, stran3d);
  expand(dstran, dstran3d);
  if (is_set(itnsflag)) {
    stress3d[2] = transverse[5];
    stran3d[2] = transverse[2];
  }
  if (is_set(itshrflag)) {
    stress3d[4] = transverse[3], stress3d[5] = transverse[4];
    stran3d[4] = transverse[0], stran3d[5] = transverse[1];
  }
}

double GetPlaneStressEpsZZ(const double* e33, const double* nu31, const double* nu32,
                           const double* s11, const double* s22) {
  return -(*nu31 / *e33) * *s11 - (*nu32 / *e33) * *s22;
}
}
