// Eshelby tensors, strain concentration tensors, the Mori-Tanaka combination
// of inclusion phases and the phase reduction of fibre, interphase, matrix
// and voids.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/linalg.hpp"
#include "foundation/boundary.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/special.hpp"
#include "mechanics/micromechanic.hpp"

namespace tavrin::micromechanic {

Mat6 inverse(const Mat6& m) {
  Mat6 a = m, r = Mat6::identity();
  for (int k = 1; k <= 6; ++k) {
    int p = k;
    for (int i = k + 1; i <= 6; ++i)
      if (std::abs(a(i, k)) > std::abs(a(p, k))) p = i;
    if (a(p, k) == 0.0) return math::inverse(m);  // singular: latched there
    if (p != k)
      for (int j = 1; j <= 6; ++j) {
        std::swap(a(p, j), a(k, j));
        std::swap(r(p, j), r(k, j));
      }
    const double pivot = 1.0 / a(k, k);
    for (int j = 1; j <= 6; ++j) {
      a(k, j) *= pivot;
      r(k, j) *= pivot;
    }
    for (int i = 1; i <= 6; ++i) {
      const double f = a(i, k);
      if (i == k || f == 0.0) continue;
      for (int j = 1; j <= 6; ++j) {
        a(i, j) -= f * a(k, j);
        r(i, j) -= f * r(k, j);
      }
    }
  }
  return r;
}

namespace {

constexpr Mat6 identity = Mat6::identity();

void unknown_kind() { latch_failure(status_invalid, "Unknown kind of Eshelby tensor request."); }

Mat6 sphere(double nu) {
  Mat6 et;
  const double den = 15.0 * (1.0 - nu);
  for (int j = 1; j <= 3; ++j)
    for (int i = 1; i <= 3; ++i) et(i, j) = (i == j ? 7.0 - 5.0 * nu : 5.0 * nu - 1.0) / den;
  for (int i = 4; i <= 6; ++i) et(i, i) = 2.0 * (4.0 - 5.0 * nu) / den;
  return et;
}

// Cylinder along axis 1 with the semi-axis ratio r = a2/a3 of its section.
Mat6 cylinder(double r, double nu) {
  Mat6 et;
  const double t = r + 1.0, t2 = t * t, k = 1.0 - 2.0 * nu, d = 1.0 / (2.0 * (1.0 - nu));
  et(2, 2) = ((2.0 * r + 1.0) / t2 + k / t) * d;
  et(3, 3) = ((2.0 * r + r * r) / t2 + r * k / t) * d;
  et(2, 3) = (1.0 / t2 - k / t) * d;
  et(3, 2) = (r * r / t2 - r * k / t) * d;
  et(2, 1) = (2.0 * nu / t) * d;
  et(3, 1) = (2.0 * nu * r / t) * d;
  et(4, 4) = 2.0 * ((r * r + 1.0) / (2.0 * t2) + k / 2.0) * d;
  et(5, 5) = r / t;
  et(6, 6) = 1.0 / t;
  return et;
}

// The shape functions of a prolate spheroid with B = a² − 1:
//   g = a·(a·√B − arcosh a)/B^1.5   (2/3 for the sphere)
//   m = (3g − 2)/B                  (2/5 for the sphere)
// Every entry of the tensor is a regular expression in g and m.  Near the
// sphere both come from their series in B, free of the cancellation of the
// closed forms: with √(1+B)·h(B) = g,
//   h(B) = Σₙ≥₁ (C(½, n) − cₙ)·Bⁿ⁻¹,  cₙ = (−1)ⁿ(2n)!/(4ⁿ(n!)²(2n + 1))
// (the binomial series of √(1+B) less the arsinh series of √B over √B), and
//   m = 3·(h/(√(1+B) + 1) + Σⱼ≥₁ hⱼ·Bʲ⁻¹).
struct SpheroidShape {
  double g, m;
};

constexpr double series_limit = 0.1;  // B below this: the series (a < 1.049)
constexpr int series_terms = 30;      // 0.1^30: far below rounding

SpheroidShape spheroid_shape(double a) {
  const double b = a * a - 1.0;
  if (b >= series_limit) {
    const double g = a / (b * std::sqrt(b)) * (a * std::sqrt(b) - math::dacosh(a));
    return {g, (3.0 * g - 2.0) / b};
  }
  // h_j for j = 0 .. series_terms-1, summed backwards (Horner).
  double binom = 1.0, central = 1.0;  // C(½, n) and (2n)!/(4ⁿ(n!)²)
  double coef[series_terms];
  for (int n = 1; n <= series_terms; ++n) {
    binom *= (1.5 - n) / n;
    central *= (2.0 * n - 1.0) / (2.0 * n);
    const double c = (n % 2 ? -central : central) / (2.0 * n + 1.0);
    coef[n - 1] = binom - c;
  }
  double h = 0.0, tail = 0.0;  // h(B) and Σⱼ≥₁ hⱼ·Bʲ⁻¹
  for (int j = series_terms - 1; j >= 1; --j) tail = tail * b + coef[j];
  h = coef[0] + b * tail;
  const double root = std::sqrt(1.0 + b);
  return {root * h, 3.0 * (h / (root + 1.0) + tail)};
}

// Prolate spheroid along axis 1, aspect ratio a = a1/a2 ≥ 1.
Mat6 prolate_spheroid(double a, double nu) {
  const auto [g, m] = spheroid_shape(a);
  const double aa = a * a, k = 1.0 - 2.0 * nu, d = 1.0 / (2.0 * (1.0 - nu)), q = 1.0 / (4.0 * (1.0 - nu));
  Mat6 et;
  et(1, 1) = (3.0 * (1.0 - g) - m + k * (1.0 - g)) * d;
  et(2, 2) = et(3, 3) = (k * g + 1.5 - 0.75 * m) * q;
  et(2, 3) = et(3, 2) = (0.5 - 0.25 * m - k * g) * q;
  et(2, 1) = et(3, 1) = (aa * m - k * g) * q;
  et(1, 2) = et(1, 3) = (0.5 * m - k * (1.0 - g)) * d;
  et(4, 4) = 2.0 * (0.5 - 0.25 * m + k * g) * q;
  et(5, 5) = et(6, 6) = 2.0 * (k * (1.0 - 0.5 * g) + (aa + 1.0) * 0.5 * m) * q;
  return et;
}

// Penny-shaped inclusion with normal along axis 3, thickness ratio c = a3/a1.
Mat6 penny(double c, double nu) {
  const double p = std::numbers::pi * c, one = 1.0 - nu;
  Mat6 et;
  et(1, 1) = et(2, 2) = (13.0 - 8.0 * nu) * p / (32.0 * one);
  et(1, 2) = et(2, 1) = (8.0 * nu - 1.0) * p / (32.0 * one);
  et(1, 3) = et(2, 3) = (2.0 * nu - 1.0) * p / (8.0 * one);
  et(3, 1) = et(3, 2) = (1.0 - (4.0 * nu + 1.0) * p / (8.0 * nu)) * nu / one;
  et(3, 3) = 1.0 - (1.0 - 2.0 * nu) * p / (4.0 * one);
  et(4, 4) = et(5, 5) = 1.0 + (nu - 2.0) * p / (4.0 * one);
  et(6, 6) = 2.0 * (7.0 - 8.0 * nu) * p / (32.0 * one);
  return et;
}

// Circular cylinder along axis 1 in a transversely isotropic host c.
Mat6 cylinder_in_host(double r, const Mat6& c) {
  Mat6 et;
  if (std::all_of(c.v.begin(), c.v.end(), [](double x) { return x == 0.0; })) {
    latch_failure(status_invalid, "Illegal host stiffness matrix in GetEshelbyTensor.");
    return et;
  }
  const double c12 = c(1, 2), c22 = c(2, 2), c23 = c(2, 3);
  et(2, 1) = et(3, 1) = c12 / (2.0 * c22);
  et(2, 2) = et(3, 3) = (5.0 * c22 + c23) / (8.0 * c22);
  et(2, 3) = et(3, 2) = (3.0 * c23 - c22) / (8.0 * c22);
  et(4, 4) = 2.0 * (3.0 * c22 - c23) / (8.0 * c22);
  et(5, 5) = r / (r + 1.0);
  et(6, 6) = 1.0 / (r + 1.0);
  return et;
}

bool all_zero(const Mat6& a) {
  return std::all_of(a.v.begin(), a.v.end(), [](double x) { return x == 0.0; });
}

// The Mori-Tanaka stiffness of a matrix c0 holding phases 1..n:
//   T_k = (I + E_k·S0·(C_k − C0))⁻¹          dilute concentration
//   A0  = (v0·I + Σ v_k·T_k)⁻¹,  v0 = 1 − Σ v_k
//   C   = (v0·C0 + Σ v_k·C_k·T_k)·A0
// phase(k) gives the stiffness, Eshelby tensor and fraction of phase k.
struct Phase {
  Mat6 c, e;
  double v;
};

template <class PhaseOf>
Mat6 mori_tanaka_mixture(const Mat6& c0, int n, PhaseOf phase) {
  const Mat6 s0 = inverse(c0);
  Mat6 sum_t, sum_ct;
  double v0 = 1.0;
  for (int k = 1; k <= n; ++k) {
    const Phase p = phase(k);
    const Mat6 t = inverse(identity + p.e * (s0 * (p.c - c0)));
    sum_t += p.v * t;
    sum_ct += p.v * (p.c * t);
    v0 -= p.v;
  }
  const Mat6 a0 = inverse(v0 * identity + sum_t);
  return (v0 * c0 + sum_ct) * a0;
}

// The void classes of a porous resin: inclusion kind, aspect ratio, share of
// the void volume (the shares sum to 1).
struct VoidClass {
  int kind;
  double ratio, share;
};
constexpr VoidClass void_classes[8] = {{1, 1.5, 0.07},  {1, 2.5, 0.12}, {2, 3.73, 0.15},
                                       {2, 3.69, 0.27}, {2, 4.05, 0.15}, {3, 0.245, 0.10},
                                       {3, 0.13, 0.09}, {3, 0.07, 0.05}};

}  // namespace

Mat6 eshelby_tensor(int kind, double ratio, double nu, const Mat6& host) {
  switch (kind) {
    case 0: return sphere(nu);
    case 1: return cylinder(ratio, nu);
    case 2:
      if (ratio < 1.0) break;  // not a prolate shape
      return prolate_spheroid(ratio, nu);
    case 3: return penny(ratio, nu);
    case 11: return cylinder_in_host(ratio, host);
    default: break;
  }
  unknown_kind();
  return {};
}

Mat6 strain_concentration(const Mat6& e, const Mat6& ci, const Mat6& cm, double v, int atype) {
  return strain_concentration(e, ci, cm, inverse(cm), v, atype);
}

Mat6 strain_concentration(const Mat6& e, const Mat6& ci, const Mat6& cm, const Mat6& sm, double v,
                          int atype) {
  if (atype < 0 || atype > 5) {
    latch_failure(status_error, "Unknown AType. Please check your input");
    return {};
  }
  v = clamp_fraction(v);
  // The Mori-Tanaka form T·((1 − v)·I + v·T)⁻¹ of a tensor T, which is
  // ((1 − v)·T⁻¹ + v·I)⁻¹ when T⁻¹ is at hand.
  auto mori_tanaka = [v](const Mat6& t) { return t * inverse((1.0 - v) * identity + v * t); };
  auto mori_tanaka_of_inverse = [v](const Mat6& tinv) { return inverse((1.0 - v) * tinv + v * identity); };
  const Mat6 lower = identity + e * (sm * (ci - cm));  // the inverse of the dilute tensor
  switch (atype) {
    case 0: return inverse(lower);
    case 1:
    case 3: return mori_tanaka_of_inverse(lower);
    case 4: return inverse(identity + (1.0 - v) * (lower - identity));
    default: break;
  }
  const Mat6 upper = identity + e * (inverse(ci) * (cm - ci));  // the matrix as the inclusion
  if (atype == 2) return mori_tanaka(upper);
  const double w = (v * v + v) / 2.0;
  return mori_tanaka_of_inverse((1.0 - w) * lower + w * inverse(upper));
}

Mat6 dual_average(const Mat6& a, const Mat6& scinc, const Mat6& scm, double v) {
  return scm + clamp_fraction(v) * ((scinc - scm) * a);
}

Mat6 voigt_compliance(const double* p) {
  const double e1 = p[0], e2 = p[1], g12 = p[2], g23 = p[3], nu12 = p[4];
  Mat6 s;
  s(1, 1) = 1.0 / e1;
  s(2, 2) = s(3, 3) = 1.0 / e2;
  s(1, 2) = s(2, 1) = s(1, 3) = s(3, 1) = -nu12 / e1;
  s(2, 3) = s(3, 2) = -(e2 / (2.0 * g23) - 1.0) / e2;
  s(4, 4) = 1.0 / g23;
  s(5, 5) = s(6, 6) = 1.0 / g12;
  return s;
}

EngConstants engineering_constants(const Mat6& s) {
  EngConstants eng;
  for (int i = 1; i <= 6; ++i) eng[std::size_t(i - 1)] = 1.0 / s(i, i);
  eng[6] = -s(2, 3) * eng[1];
  eng[7] = -s(1, 3) * eng[0];
  eng[8] = -s(1, 2) * eng[0];
  return eng;
}

Mat6 fibre_bundle_compliance(const Mat6& sf, const Mat6& sinter, double vf, double vinter) {
  const double nu_inter = engineering_constants(sinter)[8];
  const double v = vf / (vf + vinter);
  const Mat6 cf = inverse(sf), cinter = inverse(sinter);
  const Mat6 a = strain_concentration(eshelby_tensor(1, 1.0, nu_inter), cf, cinter, v, 3);
  return inverse(dual_average(a, cf, cinter, v));
}

Mat6 porous_resin_compliance(const Mat6& sm, double vv, int voidtype) {
  const Mat6 cm = inverse(sm);
  const double nu = engineering_constants(sm)[8];
  if (voidtype != 1) {  // spherical voids
    const Mat6 e = eshelby_tensor(0, 1.0, nu);
    const Mat6 c = cm * inverse(cm - (1.0 - vv) * (cm * e)) *
                   (cm - cm * ((1.0 - vv) * e + vv * identity));
    return inverse(c);
  }
  // Eight classes of empty inclusions, then the isotropic averages.
  const Mat6 cpm = mori_tanaka_mixture(cm, 8, [&](int k) {
    const VoidClass& vc = void_classes[k - 1];
    return Phase{Mat6{}, eshelby_tensor(vc.kind, vc.ratio, nu), vv * vc.share};
  });
  const Mat6 scp = inverse(cpm);
  const double e = 3.0 / (scp(1, 1) + scp(2, 2) + scp(3, 3));
  const double g = 3.0 / (scp(4, 4) + scp(5, 5) + scp(6, 6));
  const double nu_avg = -e * (scp(1, 2) + scp(1, 3) + scp(2, 1) + scp(2, 3) + scp(3, 1) + scp(3, 2)) / 6.0;
  const double props[5] = {e, e, g, g, nu_avg};
  return voigt_compliance(props);
}

Mat6 generalized_mori_tanaka(const double* cinc, const double* eshinc, const double* vinc, const Mat6& c0,
                             int ninc) {
  return mori_tanaka_mixture(c0, ninc, [&](int k) {
    const std::ptrdiff_t at = std::ptrdiff_t(k - 1) * 36;
    return Phase{Mat6::load(cinc + at), Mat6::load(eshinc + at), vinc[k - 1]};
  });
}

Phases phase_reduction(const Constituents& k) {
  const double em = k.matrix[0], num = k.matrix[1];
  const bool interphase = k.interprops && k.interprops[0] + k.interprops[1] > 0.0;
  const double ei = interphase ? k.interprops[0] : em, nui = interphase ? k.interprops[1] : num;
  const double vf = clamp_fraction(k.vf), vint = clamp_fraction(k.vint), vvoid = clamp_fraction(k.vvoid);
  Phases p;
  if (vf + vint + vvoid > 1.0) return p;
  const double gm = em / (2.0 * (1.0 + num)), gi = ei / (2.0 * (1.0 + nui));
  const double matrix[5] = {em, em, gm, gm, num}, inter[5] = {ei, ei, gi, gi, nui};
  p.sf = voigt_compliance(k.fibre);
  if (vint != 0.0) p.sf = fibre_bundle_compliance(p.sf, voigt_compliance(inter), vf, vint);
  p.sm = voigt_compliance(matrix);
  if (vvoid != 0.0) p.sm = porous_resin_compliance(p.sm, vvoid, std::min(k.voidtype, 1));
  return p;
}

bool Phases::empty() const { return all_zero(sf) && all_zero(sm); }

std::array<double, 3> ud_strengths(const Mat6& bridging, const double* fibre, const double* matrix,
                                   double vf) {
  vf = clamp_fraction(vf);
  const double vm = 1.0 - vf;
  const double efa = fibre[0], eft = fibre[1], gfa3 = 3.0 * fibre[2], suf = fibre[3];
  const double emt = matrix[2], sym = matrix[3], sum = matrix[4];
  const double a[3] = {bridging(1, 1), bridging(2, 2), bridging(6, 6)};
  // Stress shares of fibre and matrix after the matrix yields.
  const double d[3] = {vf * efa + vm * emt, vf * eft + vm * (eft + emt) / 2.0,
                       vf * gfa3 + vm * (emt + gfa3) / 2.0};
  const double ff[3] = {efa / d[0], eft / d[1], gfa3 / d[2]};
  const double fm[3] = {emt / d[0], (eft + emt) / (2.0 * d[1]), (emt + gfa3) / (2.0 * d[2])};
  const double yield[3] = {sym, sym, sym * 0.5773502691896258};
  std::array<double, 3> ud;
  for (int i = 0; i < 3; ++i) {
    const double bf = 1.0 / (vf + vm * a[i]), bm = a[i] * bf;
    const double s1 = std::min(suf / bf, yield[i] / bm);
    ud[std::size_t(i)] = std::min((suf - (bf - ff[i]) * s1) / ff[i], (sum - (bm - fm[i]) * s1) / fm[i]);
  }
  return ud;
}

}  // namespace tavrin::micromechanic

namespace mm = tavrin::micromechanic;
using tavrin::Mat6;

extern "C" {

void GeneralizedMoriTanaka(double* cmt, const double* cinc, const double* eshinc, const double* vinc,
                           const double* c0, const int* ninc) {
  tavrin::c_boundary(__func__, [&] {
    mm::generalized_mori_tanaka(cinc, eshinc, vinc, Mat6::load(c0), *ninc).store(cmt);
  });
}

void GetEshelbyTensor(double* et, const int* incltype, const double* inclratio, const double* nu_m,
                      const double* c_m) {
  mm::eshelby_tensor(*incltype, *inclratio, *nu_m, c_m ? Mat6::load(c_m) : Mat6{}).store(et);
}

void GetStrainConcentrationTensor(double* a, const double* et, const double* cinc, const double* cm,
                                  const double* vinc, const int* atype) {
  tavrin::c_boundary(__func__, [&] {
    mm::strain_concentration(Mat6::load(et), Mat6::load(cinc), Mat6::load(cm), *vinc, atype ? *atype : 0)
        .store(a);
  });
}

void GetAverageSCFromDualEquation(double* sc, const double* bainc, const double* scinc, const double* scm,
                                  const double* vinc) {
  mm::dual_average(Mat6::load(bainc), Mat6::load(scinc), Mat6::load(scm), *vinc).store(sc);
}

void GetVoigtComplianceMatrix(double* s, const double* props) { mm::voigt_compliance(props).store(s); }

void GetEngConstsFromComplianceMatrix(double* eng, const double* s) {
  const mm::EngConstants e = mm::engineering_constants(Mat6::load(s));
  std::copy(e.begin(), e.end(), eng);
}

void GetFiberBundleComplianceMatrix(double* sfb, const double* sf, const double* sinter, const double* vf,
                                    const double* vinter) {
  tavrin::c_boundary(__func__, [&] {
    mm::fibre_bundle_compliance(Mat6::load(sf), Mat6::load(sinter), *vf, *vinter).store(sfb);
  });
}

void GetPorousResinComplianceMatrix(double* spm, const double* sm, const double* vv, const int* voidtype) {
  tavrin::c_boundary(__func__, [&] {
    mm::porous_resin_compliance(Mat6::load(sm), *vv, *voidtype).store(spm);
  });
}

void GetPhaseReduction(double* sf, double* sm, const double* fiberprops, const double* matrixprops,
                       const double* vf, const double* vvoid, const double* vint, const double* interprops,
                       const int* voidtype) {
  tavrin::c_boundary(__func__, [&] {
    const mm::Constituents k =
        mm::constituents(fiberprops, matrixprops, vf, vvoid, vint, interprops, nullptr, voidtype);
    const mm::Phases p = mm::phase_reduction(k);
    p.sf.store(sf);
    p.sm.store(sm);
  });
}

void GetUDStrengthFromBridgingMatrix(double* ud, const double* bridging, const double* fiberprops,
                                     const double* matrixprops, const double* vf) {
  const auto r = mm::ud_strengths(Mat6::load(bridging), fiberprops, matrixprops, *vf);
  std::copy(r.begin(), r.end(), ud);
}

}
