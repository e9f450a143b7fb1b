#include "mechanics/ply_stiffness.hpp"

#include <algorithm>
#include <cmath>

#include "foundation/boundary.hpp"
#include "foundation/linalg.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/scratch.hpp"
#include "foundation/transforms.hpp"
#include "mechanics/nonlinear_laws.hpp"
#include "mechanics/notation.hpp"

namespace tavrin::lamina {

std::optional<PlyConstants> ply_constants(std::span<const double> e) {
  switch (e.size()) {
    case 2: {
      const double modulus = e[0], nu = e[1];
      const double g = modulus / (2.0 * (1.0 + nu));
      return PlyConstants{modulus, modulus, modulus, nu, nu, nu, g, g, g};
    }
    case 5: {
      // Transversely isotropic about axis 1: E3 = E2, ν13 = ν12, G13 = G12;
      // the third value tells a Poisson's ratio (≤ 1) from a modulus.
      const double e1 = e[0], e2 = e[1];
      double nu12, nu23, g12, g23;
      if (e[2] <= 1.0) {
        nu12 = e[2];
        nu23 = e[3];
        g12 = e[4];
        g23 = e2 / (2.0 * (1.0 + nu23));
      } else {
        g12 = e[2];
        g23 = e[3] == 0.0 ? 0.5 * e2 : e[3];
        nu12 = e[4];
        nu23 = e2 / (2.0 * g23) - 1.0;
      }
      return PlyConstants{e1, e2, e2, nu12, nu12, nu23, g12, g12, g23};
    }
    case 9:
      // Poisson's ratios last (all three ≤ 1): (E1, E2, E3, G12, G13, G23,
      // ν12, ν13, ν23) is taken to the standard order.
      if (e[6] <= 1.0 && e[7] <= 1.0 && e[8] <= 1.0)
        return PlyConstants{e[0], e[1], e[2], e[6], e[7], e[8], e[3], e[4], e[5]};
      return PlyConstants::load(e.data());
    default:
      return std::nullopt;
  }
}

Mat6 stiffness(const PlyConstants& p, const MinorPoisson& nu) {
  const double nu12 = p.nu12, nu13 = p.nu13, nu23 = p.nu23;
  const double nu21 = nu.nu21, nu31 = nu.nu31, nu32 = nu.nu32;
  const double delta =
      (1.0 - nu12 * nu21 - nu23 * nu32 - nu13 * nu31 - 2.0 * nu12 * nu23 * nu31) / (p.e1 * p.e2 * p.e3);
  const double d23 = p.e2 * p.e3 * delta, d13 = p.e1 * p.e3 * delta, d12 = p.e1 * p.e2 * delta;
  Mat6 c;
  c(1, 1) = (1.0 - nu23 * nu32) / d23;
  c(2, 2) = (1.0 - nu13 * nu31) / d13;
  c(3, 3) = (1.0 - nu12 * nu21) / d12;
  c(1, 2) = c(2, 1) = (nu21 + nu31 * nu23) / d23;
  c(1, 3) = c(3, 1) = (nu31 + nu21 * nu32) / d23;
  c(2, 3) = c(3, 2) = (nu32 + nu12 * nu31) / d13;
  c(4, 4) = p.g12;
  c(5, 5) = p.g13;
  c(6, 6) = p.g23;
  return c;
}

Mat6 compliance(const PlyConstants& p) {
  Mat6 s;
  s(1, 1) = 1.0 / p.e1;
  s(2, 2) = 1.0 / p.e2;
  s(3, 3) = 1.0 / p.e3;
  s(1, 2) = s(2, 1) = -p.nu12 / p.e1;
  s(1, 3) = s(3, 1) = -p.nu13 / p.e1;
  s(2, 3) = s(3, 2) = -p.nu23 / p.e2;
  s(4, 4) = 1.0 / p.g12;
  s(5, 5) = 1.0 / p.g13;
  s(6, 6) = 1.0 / p.g23;
  return s;
}

Mat3 reduced_stiffness(const PlyConstants& p, double nu21) {
  const double d = 1.0 - p.nu12 * nu21;
  Mat3 q;
  q(1, 1) = p.e1 / d;
  q(2, 2) = p.e2 / d;
  q(1, 2) = p.nu12 * p.e2 / d;
  q(2, 1) = nu21 * p.e1 / d;
  q(3, 3) = p.g12;
  return q;
}

Mat3 reduced_stiffness(const PlyConstants& p) {
  // With the derived ν21, ν21·E1 = ν12·E2: Q21 is Q12, exactly.
  Mat3 q = reduced_stiffness(p, minor_poisson(p).nu21);
  q(2, 1) = q(1, 2);
  return q;
}

Mat3 reduced_compliance(const PlyConstants& p) {
  Mat3 s;
  s(1, 1) = 1.0 / p.e1;
  s(2, 2) = 1.0 / p.e2;
  s(1, 2) = s(2, 1) = -p.nu12 / p.e1;
  s(3, 3) = 1.0 / p.g12;
  return s;
}

void store_layout(const Mat6& a, View<double, 2> c) {
  std::fill(c.begin(), c.end(), 0.0);
  const int n = std::min(c.size(1), 6), m = std::min(c.size(2), 6);
  for (int j = 1; j <= m; ++j)
    for (int i = 1; i <= n; ++i) c(i, j) = a(i, j);
}

void store_plane_layout(const Mat3& q, View<double, 2> c) {
  std::fill(c.begin(), c.end(), 0.0);
  if (c.size(1) < 3 || c.size(2) < 3) return;
  const auto k = plane_positions(std::min(c.size(1), c.size(2)));
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 3; ++i) c(k[std::size_t(i - 1)], k[std::size_t(j - 1)]) = q(i, j);
}

bool on_axis_stiffness(std::span<const double> props, bool plane_stress, bool unsymmetric,
                       View<double, 2> sc) {
  std::fill(sc.begin(), sc.end(), 0.0);
  const int ntens = sc.size(1);
  if (sc.size(2) != ntens || (ntens != 3 && ntens != 4 && ntens != 6)) return false;
  const bool plane = ntens == 3 || plane_stress;
  bool symmetrise = false;
  switch (props.size()) {
    case 2:
    case 5:
    case 9:
    case 12: {
      // Engineering constants; with 12 values the minor Poisson's ratios
      // ν21, ν31, ν32 follow the nine constants instead of being derived.
      const bool explicit_minor = props.size() == 12;
      const PlyConstants p = *ply_constants(props.first(explicit_minor ? 9 : props.size()));
      const MinorPoisson nu = explicit_minor ? MinorPoisson{props[9], props[10], props[11]}
                                             : minor_poisson(p);
      if (plane) {
        store_plane_layout(explicit_minor ? reduced_stiffness(p, nu.nu21) : reduced_stiffness(p), sc);
      } else {
        store_layout(stiffness(p, nu), sc);
      }
      symmetrise = explicit_minor;
      break;
    }
    case 21:
    case 36: {
      Mat6 c;
      if (props.size() == 36) {
        c = Mat6::load(props.data());
        symmetrise = true;
      } else {
        // The upper triangle column by column: C11; C12, C22; C13, C23, C33; ...
        std::size_t k = 0;
        for (int j = 1; j <= 6; ++j)
          for (int i = 1; i <= j; ++i) c(i, j) = c(j, i) = props[k++];
      }
      if (plane) store_plane_layout(plane_block(c), sc);
      else store_layout(c, sc);
      break;
    }
    default:
      return false;
  }
  if (symmetrise && !unsymmetric) {
    for (int j = 1; j <= ntens; ++j)
      for (int i = 1; i < j; ++i) sc(i, j) = sc(j, i) = 0.5 * (sc(i, j) + sc(j, i));
  }
  return true;
}

std::array<double, 5> lamination_invariants(const Mat3& q) {
  const double q11 = q(1, 1), q22 = q(2, 2), q12 = q(1, 2), q66 = q(3, 3);
  return {(3.0 * q11 + 3.0 * q22 + 2.0 * q12 + 4.0 * q66) / 8.0, (q11 - q22) / 2.0,
          (q11 + q22 - 2.0 * q12 - 4.0 * q66) / 8.0, (q11 + q22 + 6.0 * q12 - 4.0 * q66) / 8.0,
          (q11 + q22 - 2.0 * q12 + 4.0 * q66) / 8.0};
}

SmallMatrix<2, 2> off_axis_shear_stiffness(double g13, double g23, double angle_r) {
  const double c = std::cos(angle_r), s = std::sin(angle_r);
  SmallMatrix<2, 2> h;
  h(1, 1) = g23 * c * c + g13 * s * s;
  h(2, 2) = g23 * s * s + g13 * c * c;
  h(1, 2) = h(2, 1) = (g13 - g23) * s * c;
  return h;
}

}  // namespace tavrin::lamina

namespace {
namespace la = tavrin::lamina;
using tavrin::Mat3;
using tavrin::Mat6;
using tavrin::View;

bool plane_stress_requested(const int* psflag) { return psflag && *psflag == 0; }

// The stiffness (or compliance) of a solver layout: ntens 3 the reduced
// matrix, 4 or 6 the full one or, on request, the plane-stress entries.
void store_nye(double* out, const double* props, const int* ntens, const int* psflag, bool compliance,
               const char* message) {
  const int n = std::max(*ntens, 0);
  const View<double, 2> c(out, n, n);
  if (n != 3 && n != 4 && n != 6) {
    std::fill(c.begin(), c.end(), 0.0);
    tavrin::latch_failure(tavrin::status_error, message);
    return;
  }
  const la::PlyConstants p = la::PlyConstants::load(props);
  if (n == 3 || plane_stress_requested(psflag))
    la::store_plane_layout(compliance ? la::reduced_compliance(p) : la::reduced_stiffness(p), c);
  else
    la::store_layout(compliance ? la::compliance(p) : la::stiffness(p), c);
}

// Factor of strain entry j (0-based) of a material point: 2 for the shear
// components after the first ndi when they hold tensor shears (turning them
// into engineering shears), else 1.
struct StrainScaling {
  int first_shear;
  bool tensor;
  double operator()(int j) const { return tensor && j >= first_shear ? 2.0 : 1.0; }
};

StrainScaling scaling(const int* ndi, int n, const int* istensor) {
  return {std::clamp(*ndi, 0, n), *istensor != 0};
}

}  // namespace

extern "C" {

void GetNyeProperties(double* nyeprops, const double* elastic, const int* nelastic) {
  const auto p = la::ply_constants({elastic, std::size_t(std::max(*nelastic, 0))});
  if (!p) {
    tavrin::latch_failure(tavrin::status_error, "Unsupported input in GetNyeProperties");
    return;
  }
  p->store(nyeprops);
}

void GetNyeStiffnessMatrix(double* c, const double* props, const int* ntens, const int* psflag) {
  store_nye(c, props, ntens, psflag, false, "Unsupported dimension in GetNyeStiffnessMatrix");
}

void GetNyeComplianceMatrix(double* s, const double* props, const int* ntens, const int* psflag) {
  store_nye(s, props, ntens, psflag, true, "Unsupported dimension in GetNyeComplianceMatrix");
}

void GetGeneralizedNyeOnAxisSC(double* sc, const double* props, const int* ntens, const int* nprops,
                               const int* scflag, const int* psflag, const int* /*ldflag*/,
                               const int* unsymm) {
  tavrin::c_boundary(__func__, [&] {
    static constexpr char message[] =
        "Unsupported number of properties or dimensions in GetGeneralizedNyeOnAxisSC.";
    const int n = std::max(*ntens, 0);
    const View<double, 2> m(sc, n, n);
    if (n != 3 && n != 4 && n != 6) {
      // Nothing of a solver layout fits: the array stays zero in its extent.
      std::fill(m.begin(), m.end(), 0.0);
      tavrin::latch_failure(tavrin::status_error, message);
      return;
    }
    la::on_axis_stiffness({props, std::size_t(std::max(*nprops, 0))}, plane_stress_requested(psflag),
                          unsymm && *unsymm != 0, m);
    if (std::all_of(m.begin(), m.end(), [](double v) { return v == 0.0; }))
      tavrin::latch_failure(tavrin::status_error, message);
    // The compliance by inversion (a zero matrix latches the inversion's own
    // failure behind the first one).
    if (*scflag == 0) tavrin::math::invert(m, m);
  });
}

void GetInvariantsFromReducedStiffness(double* u, const double* props, const int* nprops) {
  tavrin::c_boundary(__func__, [&] {
    Mat3 q;
    const int three = 3, one = 1;
    GetGeneralizedNyeOnAxisSC(q.data(), props, &three, nprops, &one, nullptr, nullptr, nullptr);
    const auto inv = la::lamination_invariants(q);
    std::copy(inv.begin(), inv.end(), u);
  });
}

void GetOffAxisShearRigidMatrix(double* hoff, const double* g13, const double* g23,
                                const double* dangle) {
  la::off_axis_shear_stiffness(*g13, *g23, *dangle * tavrin::math::deg2rad).store(hoff);
}

void GetStressVector(double* stress, const double* ddsdde, const double* strain0, const double* dstrain,
                     const int* ndi, const int* ntens, const int* issekant, const int* istensor) {
  tavrin::c_boundary(__func__, [&] {
    const int n = std::max(*ntens, 0);
    const View<const double, 2> c(ddsdde, n, n);
    const StrainScaling f = scaling(ndi, n, istensor);
    const bool secant = *issekant != 0;
    // Formed aside first: the caller's strains may share storage with stress.
    tavrin::Scratch<double, 6> s(n);
    for (int i = 0; i < n; ++i) {
      double sum = 0.0;
      for (int j = 0; j < n; ++j) {
        const double e = secant ? f(j) * strain0[j] + f(j) * dstrain[j] : f(j) * dstrain[j];
        sum += c(i + 1, j + 1) * e;
      }
      s[std::size_t(i)] = secant ? sum : stress[i] + sum;
    }
    std::copy_n(s.data(), n, stress);
  });
}

void GetSpecificStrainEnergy(double* sse, const double* stress, const double* stress0,
                             const double* strain0, const double* dstrain, const int* ndi,
                             const int* ntens, const int* issekant, const int* istensor) {
  const int n = std::max(*ntens, 0);
  const StrainScaling f = scaling(ndi, n, istensor);
  double sum = 0.0;
  if (*issekant != 0) {
    for (int i = 0; i < n; ++i) sum += stress[i] * (f(i) * strain0[i] + f(i) * dstrain[i]);
    *sse = 0.5 * sum;
  } else {
    for (int i = 0; i < n; ++i) sum += (stress[i] + stress0[i]) * (f(i) * dstrain[i]);
    *sse += 0.5 * sum;
  }
}

double GetMatParamByCurveFitting(const double* l, const double* eta, const double* stress0,
                                 const double* strain0, const double* dstrain, const int* nlflag) {
  return tavrin::c_boundary_value(__func__, [&]() -> double {
    namespace nl = tavrin::nlcollection;
    switch (*nlflag) {
      case 1: return *l * (1.0 - nl::kaestner(*eta, *strain0 + *dstrain));
      case 2: return *l * (1.0 - nl::krause(*eta, *strain0 + *dstrain));
      case 3: return *l * (1.0 - nl::hahn_tsai_solved(*stress0, *strain0, *l, *eta));
      default: return *l;
    }
  });
}

}  // extern "C"
