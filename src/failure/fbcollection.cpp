#include "failure/fbcollection.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "failure/angle_search.hpp"
#include "foundation/boundary.hpp"
#include "foundation/numerics_latch.hpp"

namespace tavrin::fbcollection {

namespace {

using failure::kink_angle;
using failure::rotated_about_3;
using failure::rotated_about_fibre;

constexpr double default_a0_d = 53.0;
constexpr double default_step_d = 5.0;
constexpr int kink_points = 200;

double a0_r(const std::optional<double>& a0) { return a0.value_or(default_a0_d) * math::deg2rad; }

// The kink-plane search over ψ in [0, π]; effort(c, s, σm) at the kink
// frame σm of the plane ψ whose misalignment φ has cos c and sin s.
template <class Effort>
double kink_search(const Stress6& s, double g12, double xc, double phic, const KinkSearch& ks,
                   Effort&& effort) {
  const double pi = std::numbers::pi;
  const failure::AngleSearch search{0.0, pi, failure::search_step(ks.sainc ? &*ks.sainc : nullptr,
                                                                  default_step_d, 0.0, pi, ks.gsflag == 1),
                                    ks.gsflag == 1};
  return failure::search_angle<kink_points>(search, [&](double psi) {
           const Stress6 sp = rotated_about_fibre(std::cos(psi), std::sin(psi), s);
           const double phi = kink_angle(sp[3], s, g12, xc, phic);
           const double c = std::cos(phi), sn = std::sin(phi);
           return effort(c, sn, rotated_about_3(c, sn, sp));
         }).effort;
}

double square(double x) { return x * x; }

}  // namespace

double larc05(const Stress6& s, double xt11, double xc11, double xt22, double xc22, double x12,
              double g12, const KinkSearch& search) {
  if (s[0] >= 0.0) return s[0] / xt11;
  if (search.fcl != 0) return 0.0;
  const auto [eta_t, st] = failure::fracture_constants(xc22, a0_r(search.a0));
  const double eta_l = x12 * eta_t / st;
  const double phic = failure::misalignment_angle(x12, xc11, eta_l);
  return kink_search(s, g12, xc11, phic, search, [&](double, double, const Stress6& m) {
    const double sn = m[1];
    return square(m[3] / (x12 - eta_l * sn)) + square(m[5] / (st - eta_t * sn)) +
           square(std::max(sn, 0.0) / xt22);
  });
}

double larc05_is(const Stress6& s, double xt11, double xc11, double xt22, double x23, double x12,
                 double g12, const KinkSearch& search, const std::array<double, 9>& x_is) {
  const auto given = [&](int k, double standard) { return x_is[k - 1] != 0.0 ? x_is[k - 1] : standard; };
  if (s[0] >= 0.0) return s[0] / given(1, xt11);
  if (search.fcl != 0) return 0.0;
  const double ytb = given(2, xt22), yta = given(3, ytb), xck = given(4, xc11);
  const double slb = given(7, x12), sla = given(8, slb), st = given(9, x23);
  const double eta_t = -1.0 / std::tan(2.0 * a0_r(search.a0));
  const double eta_l = x12 * eta_t / x23;
  const double phic = failure::misalignment_angle(x12, xc11, eta_l);
  // Strengths of the misaligned fibres: the longitudinal and transverse
  // values blended by the misalignment.
  const double r = kink_search(s, g12, xck, phic, search, [&](double c, double sn_phi, const Stress6& m) {
    const double cc = c * c, ss = sn_phi * sn_phi, sn = m[1];
    return square(m[3] / (sla * cc + slb * ss - eta_l * sn)) + square(m[5] / (st - eta_t * sn)) +
           square(std::max(sn, 0.0) / (yta * cc + ytb * ss));
  });
  // Below half the kinking strength the fibres do not kink.
  return std::abs(s[0]) > std::abs(0.5 * xck) || std::isnan(s[0]) ? r : 0.0;
}

double larc04(const Stress6& s, double xt11, double xc11, double xt22, double xc22, double x12,
              double e11, double e22, double g12, double nu12, std::optional<std::array<double, 2>> gc,
              std::optional<double> a0, int fcl) {
  const double g = gc && (*gc)[0] != 0.0 && (*gc)[1] != 0.0 ? (*gc)[0] / (*gc)[1] : 0.3499999940395355;
  if (s[0] >= 0.0) return s[0] / xt11;
  // The kink plane: where the transverse shear vanishes (none where the
  // transverse stress is hydrostatic).
  const double psi = s[1] == s[2] && s[5] == 0.0 ? 0.0 : 0.5 * std::atan(2.0 * s[5] / (s[1] - s[2]));
  const Stress6 sp = rotated_about_fibre(std::cos(psi), std::sin(psi), s);
  if (fcl != 0) return 0.0;
  const auto [eta_t, st] = failure::fracture_constants(xc22, a0_r(a0));
  const double eta_l = eta_t * x12 / st;
  const double phi = kink_angle(sp[3], s, g12, xc11, failure::misalignment_angle(x12, xc11, eta_l));
  const Stress6 m = rotated_about_3(std::cos(phi), std::sin(phi), sp);
  if (m[1] < 0.0) return square(m[3] / (x12 - eta_l * m[1]));
  const double lambda = 1.0 / e22 - nu12 * nu12 / e11;
  return g * square(m[1] / xt22) + (1.0 - g) * m[1] / xt22 + square(m[3] / x12) +
         lambda * square(m[4] / x12);
}

std::optional<Stress6> bahei_stress(const double* v, int nstress, const char* routine) {
  if (nstress == 3) return Stress6{v[0], v[1], 0.0, v[2], 0.0, 0.0};
  if (nstress == 4) return Stress6{v[0], v[1], v[2], v[3], 0.0, 0.0};
  if (nstress >= 6) return Stress6{v[0], v[1], v[2], v[3], v[4], v[5]};
  latch_failure(status_invalid, std::string("Stress vector of ") + routine + " needs 3, 4 or 6 components",
                nstress);
  return std::nullopt;
}

}  // namespace tavrin::fbcollection

namespace fb = tavrin::fbcollection;

namespace {

template <class T>
std::optional<T> given(const T* p) {
  return p ? std::optional<T>(*p) : std::nullopt;
}

fb::KinkSearch kink_search_of(const double* a0, const double* sainc, const int* gsflag, const int* fcl) {
  return {given(a0), given(sainc), gsflag ? *gsflag : 0, fcl ? *fcl : 0};
}

double x1(double s11, double xt11, double xc11) { return s11 >= 0.0 ? xt11 : xc11; }

}  // namespace

extern "C" {

void FBLaRC05(double* rfb, const double* s11, const double* s22, const double* s33, const double* s12,
              const double* s13, const double* s23, const double* xt11, const double* xc11,
              const double* xt22, const double* xc22, const double* x12, const double* g12,
              const double* a0, const double* sainc, const int* gsflag, const int* fcl) {
  *rfb = fb::larc05({*s11, *s22, *s33, *s12, *s13, *s23}, *xt11, *xc11, *xt22, *xc22, *x12, *g12,
                    kink_search_of(a0, sainc, gsflag, fcl));
}

void FBLaRC05_is(double* rfb, const double* s11, const double* s22, const double* s33,
                 const double* s12, const double* s13, const double* s23, const double* xt11_std,
                 const double* xc11_std, const double* xt22_std, const double* x23_std,
                 const double* x12_std, const double* g12, const double* a0, const double* sainc,
                 const int* gsflag, const int* fcl, const double* x_is) {
  std::array<double, 9> in_situ{};
  if (x_is) std::copy_n(x_is, 9, in_situ.begin());
  *rfb = fb::larc05_is({*s11, *s22, *s33, *s12, *s13, *s23}, *xt11_std, *xc11_std, *xt22_std,
                       *x23_std, *x12_std, *g12, kink_search_of(a0, sainc, gsflag, fcl), in_situ);
}

void FBLaRC04(double* rfb, const double* s11, const double* s22, const double* s33, const double* s12,
              const double* s13, const double* s23, const double* xt11, const double* xc11,
              const double* xt22, const double* xc22, const double* x12, const double* e11,
              const double* e22, const double* g12, const double* nu12, const double* gc,
              const double* a0, const int* fcl) {
  const auto toughness = gc ? std::optional<std::array<double, 2>>({gc[0], gc[1]}) : std::nullopt;
  *rfb = fb::larc04({*s11, *s22, *s33, *s12, *s13, *s23}, *xt11, *xc11, *xt22, *xc22, *x12, *e11,
                    *e22, *g12, *nu12, toughness, given(a0), fcl ? *fcl : 0);
}

void FBChangChang(double* rfb, const double* s11, const double* s12, const double* xt11,
                  const double* xc11, const double* x12) {
  const double x = x1(*s11, *xt11, *xc11);
  *rfb = std::sqrt(*s11 * *s11 / (x * x) + *s12 * *s12 / (*x12 * *x12));
}

void FBHashin(double* rfb, const double* s11, const double* s12, const double* s13,
              const double* xt11, const double* xc11, const double* x12, const double* x13,
              const double* alpha) {
  const double a = alpha ? *alpha : 1.0, x = x1(*s11, *xt11, *xc11);
  const double t12 = *s12 / *x12, t13 = *s13 / *x13, t11 = *s11 / x;
  *rfb = std::sqrt(a * (t12 * t12 + t13 * t13) + t11 * t11);
}

void FBChristensen(double* rfb, const double* s11, const double* s22, const double* s33,
                   const double* xt11, const double* xc11) {
  const double f = 1.0 / *xt11 + 1.0 / *xc11;
  const double q = *s11 * *s11 / (*xt11 * *xc11) - 0.25 * f * f * *s11 * (*s22 + *s33);
  const double l = (1.0 / *xt11 - 1.0 / *xc11) * *s11;
  const double d = l * l + 4.0 * q;
  *rfb = 0.0;
  if (d < 0.0) {
    tavrin::latch_failure(tavrin::status_note,
                          "Note: Negative root during Christensen failure evaluation. Please check "
                          "your input parameters.");
    return;
  }
  const double den = std::sqrt(d) - l;
  if (den == 0.0) {
    tavrin::latch_failure(tavrin::status_note,
                          "Note: Division by Zero during Christensen failure evaluation. Please check "
                          "your input parameters.");
    return;
  }
  *rfb = 2.0 * q / den;
}

void FBBahei(double* rfb, const double* stressvector, const double* xlnorm, const double* xtnorm,
             const double* xlshear, const double* xtshear, const double* mu, const int* nstress,
             int* failmode) {
  tavrin::c_boundary(__func__, [&] {
    *rfb = 0.0;
    const auto v = fb::bahei_stress(stressvector, *nstress, "FBBahei");
    if (!v) return;
    const auto [s11, s22, s33, s12, s13, s23] = *v;
    std::array<double, 4> modes{};
    if (s11 > *xlnorm) {
      modes[0] = std::abs(s11 / *xlnorm);
    } else {
      const double shear = s12 * s12 + s13 * s13;
      const double tau_l = std::sqrt(shear);
      const double sn_l = shear == 0.0 ? 0.0 : (s12 * s12 * s22 + s13 * s13 * s33 + 2.0 * s12 * s13 * s23) / shear;
      const double sm = (s22 + s33) / 2.0;
      const double tau_t = std::sqrt((s22 - s33) * (s22 - s33) / 4.0 + s23 * s23);
      modes[1] = std::abs((tau_l + *mu * std::min(sn_l, 0.0)) / *xlshear);
      modes[2] = std::abs((tau_t + *mu * std::min(sm, 0.0)) / *xtshear);
      modes[3] = std::max(sm + tau_t, 0.0) / *xtnorm;
    }
    *rfb = fb::largest_mode(modes, failmode);
  });
}

}  // extern "C"
