#include "mechanics/stress_measures.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/boundary.hpp"
#include "foundation/calculus.hpp"
#include "foundation/linalg.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/scratch.hpp"
#include "interp/tables.hpp"
#include "mechanics/notation.hpp"

namespace tavrin::lamina {

std::optional<Mat3> stress_tensor(const double* v, int n, double shear_factor) {
  const double sf = shear_factor;
  switch (n) {
    case 3: return cauchy(Vec6{{v[0], v[1], 0.0, 0.0, 0.0, sf * v[2]}});
    case 4: return cauchy(Vec6{{v[0], v[1], v[2], 0.0, 0.0, sf * v[3]}});
    case 6: return cauchy(Vec6{{v[0], v[1], v[2], sf * v[3], sf * v[4], sf * v[5]}});
    default: return std::nullopt;
  }
}

double mises(const Mat3& s) {
  const double d12 = s(1, 1) - s(2, 2), d23 = s(2, 2) - s(3, 3), d31 = s(3, 3) - s(1, 1);
  const double shear = s(1, 2) * s(1, 2) + s(1, 3) * s(1, 3) + s(2, 3) * s(2, 3);
  return std::sqrt(0.5 * (d12 * d12 + d23 * d23 + d31 * d31) + 3.0 * shear);
}

Vec3 principal_stresses(const Mat3& s) {
  const Vec3 ascending = math::eigenvalues(s);
  return Vec3{{ascending(3), ascending(2), ascending(1)}};
}

double tresca(const Vec3& p) {
  return std::max({std::abs(p(1) - p(2)), std::abs(p(2) - p(3)), std::abs(p(3) - p(1))});
}

double rankine(const Vec3& p) {
  const double p1 = p(1), p3 = p(3);
  if (p1 >= 0.0 && p1 >= std::abs(p3)) return p1;
  if (p3 < 0.0) return std::abs(p3);
  return p1;
}

double stassi(const Mat3& s, double xt, double xc) {
  const double i1 = trace(s), kappa = xc / xt, m = mises(s);
  const double root = std::sqrt(i1 * i1 * (kappa - 1.0) * (kappa - 1.0) + 4.0 * kappa * m * m);
  return (i1 * (kappa - 1.0) + (i1 >= 0.0 ? root : -root)) / (2.0 * kappa);
}

Mat3 small_strain(const Mat3& f) { return 0.5 * (f + transpose(f)) - Mat3::identity(); }

Mat3 green_strain(const Mat3& f) { return 0.5 * (transpose(f) * f - Mat3::identity()); }

Mat3 almansi_strain(const Mat3& f) {
  return 0.5 * (Mat3::identity() - math::inverse(f * transpose(f)));
}

}  // namespace tavrin::lamina

namespace {
namespace la = tavrin::lamina;
using tavrin::Mat3;
using tavrin::Vec3;

// The tensor of a stress vector; a length other than 3, 4 or 6 is refused
// (latched) and reads as the zero tensor.
Mat3 tensor_or_zero(const double* v, int n, double shear_factor = 1.0) {
  if (const auto t = la::stress_tensor(v, n, shear_factor)) return *t;
  tavrin::latch_failure(tavrin::status_invalid, "Unsupported number of stress components", n);
  return Mat3{};
}

bool strictly_increasing(const double* x, int n) {
  for (int i = 1; i < n; ++i)
    if (!(x[i] > x[i - 1])) return false;
  return true;
}

}  // namespace

extern "C" {

void GetTensorComponents(double* t11, double* t22, double* t33, double* t12, double* t13, double* t23,
                         const double* tvoigt, const int* nvoigt, const double* shearfactor) {
  const Mat3 t = tensor_or_zero(tvoigt, *nvoigt, shearfactor ? *shearfactor : 1.0);
  *t11 = t(1, 1);
  *t22 = t(2, 2);
  *t33 = t(3, 3);
  *t12 = t(1, 2);
  *t13 = t(1, 3);
  *t23 = t(2, 3);
}

double GetTrace(const double* stress, const int* nstress) {
  return trace(tensor_or_zero(stress, *nstress));
}

double GetHydrostaticPressure(const double* stress, const int* nstress) {
  return la::hydrostatic(tensor_or_zero(stress, *nstress));
}

void GetMeanStress(double* cm, const double* stress, const int* nstress) {
  (GetHydrostaticPressure(stress, nstress) * Mat3::identity()).store(cm);
}

void GetDeviatoricStress(double* cd, const double* svoigt) {
  const Mat3 s = tensor_or_zero(svoigt, 6);
  (s - la::hydrostatic(s) * Mat3::identity()).store(cd);
}

void GetPrincipals(double* ps, const double* svoigt, const int* nvoigt) {
  tavrin::c_boundary(__func__, [&] {
    la::principal_stresses(tensor_or_zero(svoigt, *nvoigt)).store(ps);
  });
}

double GetMisesStress(const double* stress, const int* nstress) {
  return la::mises(tensor_or_zero(stress, *nstress));
}

double GetTrescaStress(const double* principals) { return la::tresca(Vec3::load(principals)); }

double GetRankineStress(const double* principals) { return la::rankine(Vec3::load(principals)); }

void GetStassiStress(const double* stress, const double* xt, const double* xc, double* eq_stress) {
  *eq_stress = la::stassi(tensor_or_zero(stress, 6), *xt, *xc);
}

void GetMisesFlow(double* flow, const double* stress, const int* nstress) {
  const int n = std::max(*nstress, 0);
  std::fill_n(flow, n, 0.0);
  const Mat3 s = tensor_or_zero(stress, n);
  if (n != 3 && n != 4 && n != 6) return;
  const double m = la::mises(s), p = la::hydrostatic(s);
  // Normal entries first (two of a plane-stress vector, three otherwise),
  // then the shears.
  const int normals = n == 3 ? 2 : 3;
  for (int i = 0; i < n; ++i) flow[i] = (i < normals ? stress[i] - p : stress[i]) / m;
}

void GetSmallStrain(double* small, const double* dfgrd) {
  la::small_strain(Mat3::load(dfgrd)).store(small);
}

void GetGreenStrain(double* green, const double* dfgrd) {
  la::green_strain(Mat3::load(dfgrd)).store(green);
}

void GetAlmansiStrain(double* almansi, const double* dfgrd) {
  tavrin::c_boundary(__func__, [&] {
    la::almansi_strain(Mat3::load(dfgrd)).store(almansi);
  });
}

void GetHardeningFromTable(double* yield, double* gradient, const double* strain, const double* table,
                           const int* ntable) {
  tavrin::c_boundary(__func__, [&] {
    *gradient = 0.0;
    const int n = *ntable;
    if (n < 1) {
      *yield = -std::numeric_limits<double>::max();
      return;
    }
    const double* stress = table;     // column 1: yield stress
    const double* plastic = table + n;  // column 2: equivalent plastic strain
    // Beyond the table: the largest yield stress, ideal plasticity.
    *yield = *std::max_element(stress, stress + n);
    if (!(*std::max_element(plastic, plastic + n) > *strain) || n == 1) return;
    if (!strictly_increasing(plastic, n)) {
      tavrin::latch_failure(tavrin::status_error, "Plastic strains of the hardening table do not increase");
      return;
    }
    tavrin::Scratch<double, tavrin::small_matrix_entries> slope(n);
    CentralStepDerivative(slope.data(), stress, plastic, &n);
    tavrin::math::linearinterpolation(plastic, stress, n, strain, 1, yield);
    tavrin::math::linearinterpolation(plastic, slope.data(), n, strain, 1, gradient);
  });
}

}  // extern "C"
