#include "failure/mccollection.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "failure/angle_search.hpp"
#include "failure/fbcollection.hpp"
#include "failure/kink_band.hpp"
#include "foundation/boundary.hpp"
#include "foundation/numerics_latch.hpp"
#include "mechanics/ply_rotation.hpp"

namespace tavrin::mccollection {

namespace {

constexpr double pi = std::numbers::pi;
constexpr double default_a0_d = 53.0;
constexpr double default_step_d = 5.0;

double square(double x) { return x * x; }

// The search of f(σn, τn1, τnt) over the fracture planes θ in [low, up]
// with a table of NPoints samples.
template <int NPoints, class Effort>
failure::SearchResult plane_search(const Transverse& s, double low, double up, double step,
                                   int gsflag, Effort&& effort) {
  return failure::search_angle<NPoints>({low, up, step, gsflag == 1}, [&](double theta) {
    const double c = std::cos(theta), sn = std::sin(theta);
    const Vec3 t = lamina::xy_plane_traction(c, sn, s.s22, s.s33, s.s12, s.s13, s.s23);
    return effort(t(1), t(2), t(3), c, sn);
  });
}

double step_of(const PlaneSearch& search, double low, double up, double default_d = default_step_d) {
  return failure::search_step(search.sainc ? &*search.sainc : nullptr, default_d, low, up, search.gsflag == 1);
}

// The LaRC fracture-plane effort without its tension term.
double larc_shear(double tn1, double tnt, double sn, double st, double sl, double eta_t, double eta_l) {
  return square(tnt / (st - eta_t * sn)) + square(tn1 / (sl - eta_l * sn));
}

}  // namespace

double larc05(const Transverse& s, double xt22, double xc22, double x12, std::optional<double> a0,
              double* outtheta, const PlaneSearch& search) {
  // Without a0 the constants of 53°: cos a0, sin a0 + cos a0/tan 2a0, ηT.
  const auto [eta_t, st] =
      a0 ? failure::fracture_constants(xc22, *a0 * math::deg2rad)
         : failure::FractureConstants{0.2867453857588078, xc22 * 0.6018150231520484 * 0.6260678290781129};
  const double sl = x12, eta_l = eta_t * sl / st;
  const auto r = plane_search<200>(s, 0.0, pi, step_of(search, 0.0, pi), search.gsflag,
                                   [&](double sn, double tn1, double tnt, double, double) {
                                     return larc_shear(tn1, tnt, sn, st, sl, eta_t, eta_l) +
                                            square(std::max(sn, 0.0) / xt22);
                                   });
  return failure::report(r, outtheta);
}

double camanho(const Transverse& s, double xt22, double xc22, double x12, double x23,
               double* outtheta, std::optional<double> a0, const PlaneSearch& search) {
  (void)xc22;  // the fracture-plane strengths are x12 and x23
  const double eta_t = a0 ? -1.0 / (2.0 * std::tan(2.0 * *a0 * math::deg2rad)) : 0.1433726928794039;
  const double sl = x12, st = x23, eta_l = eta_t * x12 / x23;
  const double k = (x23 * x23 - xt22 * xt22) / (xt22 * x23);
  const auto r = plane_search<100>(s, 0.0, pi, step_of(search, 0.0, pi), search.gsflag,
                                   [&](double sn, double tn1, double tnt, double, double) {
                                     if (!(sn > 0.0))
                                       return std::sqrt(square(tn1 / (sl - eta_l * sn)) +
                                                        square(tnt / (st - eta_t * sn)));
                                     const double l = square(tn1 / sl);
                                     return std::sqrt(square(sn / st) + l + square(tnt / st) +
                                                      l * (2.0 * eta_t - k) * sn / st + k * sn / st);
                                   });
  return failure::report(r, outtheta);
}

double wiegand(const Transverse& s, double xt22, double xc22, double x12, double* outtheta,
               std::optional<double> a0, const PlaneSearch& search) {
  const double a0r = a0.value_or(0.0) * math::deg2rad;
  const double eta_t = a0 ? -1.0 / (2.0 * std::tan(2.0 * a0r)) : 0.1433726928794039;
  const double st = xc22 / (a0 ? 2.0 * std::tan(a0r) : 2.6540896432408196);
  const double eta_l = eta_t * x12 / st;
  const auto r = plane_search<100>(s, 0.0, pi, step_of(search, 0.0, pi), search.gsflag,
                                   [&](double sn, double tn1, double tnt, double, double) {
                                     const double tension = sn >= 0.0 ? square(sn / xt22) : 0.0;
                                     return std::sqrt(square(tnt / (st - eta_t * sn)) + tension +
                                                      square(tn1 / (x12 - eta_l * sn)));
                                   });
  return failure::report(r, outtheta);
}

double puck_effort(double sn, double tn1, double tnt, double xt22, double ra, double r12,
                   const std::array<double, 4>& gp) {
  const double shear = tnt * tnt + tn1 * tn1;
  const bool tension = sn >= 0.0;
  const double p = tension ? gp[2] : gp[3], pl = tension ? gp[0] : gp[1];
  const double slope = shear == 0.0 ? 0.0 : (p * tnt * tnt / ra + pl * tn1 * tn1 / r12) / shear;
  if (tension)
    return std::sqrt(square((1.0 / xt22 - slope) * sn) + square(tnt / ra) + square(tn1 / r12)) +
           slope * sn;
  return std::sqrt(square(tnt / ra) + square(tn1 / r12) + square(slope * sn)) + slope * sn;
}

double puck(const Transverse& s, double xt22, double xc22, double x12, double* outtheta,
            const std::array<double, 4>& gp, const PlaneSearch& search, int* tcflag) {
  const double ra = xc22 / (2.0 * (1.0 + gp[3]));
  const auto r = plane_search<100>(s, 0.0, pi, step_of(search, 0.0, pi), search.gsflag,
                                   [&](double sn, double tn1, double tnt, double, double) {
                                     return puck_effort(sn, tn1, tnt, xt22, ra, x12, gp);
                                   });
  if (tcflag && r.effort >= 1.0) {
    // Tension or compression on the plane the search reports.
    const Vec3 t = lamina::xy_plane_traction(std::cos(r.angle), std::sin(r.angle), s.s22, s.s33,
                                             s.s12, s.s13, s.s23);
    *tcflag = std::signbit(t(1)) ? -1 : 1;
  }
  return failure::report(r, outtheta);
}

double vdi2014(double s11, const Transverse& s, double xt11, double xc11, double xt22, double xc22,
               double x12, double* outtheta, const std::array<double, 4>& gp,
               const std::array<double, 2>& wp, const PlaneSearch& search) {
  const double ra = xc22 / (2.0 * (1.0 + gp[3]));
  auto r = plane_search<100>(s, 0.0, pi, step_of(search, 0.0, pi), search.gsflag,
                             [&](double sn, double tn1, double tnt, double, double) {
                               // The share of the transverse shear in the plane's shear.
                               double cc = 3.749399456654644e-33, ss = 1.0;
                               if (!(std::abs(tnt) <= 1e-6)) {
                                 cc = tnt * tnt / (tnt * tnt + tn1 * tn1);
                                 ss = 1.0 - cc;
                               }
                               if (sn >= 0.0) {
                                 const double p = gp[2] / ra * cc + gp[0] / x12 * ss;
                                 return std::sqrt(square((1.0 / xt22 - p) * sn) + square(tnt / ra) +
                                                  square(tn1 / x12)) +
                                        p * sn;
                               }
                               const double p = gp[3] / ra * cc + gp[1] / x12 * ss;
                               return std::sqrt(square(tn1 / x12) + square(tnt / ra) + square(p * sn)) +
                                      p * sn;
                             });
  // Weakening by the fibre-parallel stress: m the ratio of the inter-fibre
  // to the fibre effort.
  const double fff = s11 >= 0.0 ? s11 / xt11 : -s11 / xc11;
  const double m = fff > 1e-6 ? r.effort / fff : 1e6;
  if (wp[0] <= m && m <= 1.0 / wp[1]) {
    const double c = (1.0 - wp[1]) / std::sqrt(1.0 - wp[0] * wp[0]);
    r.effort = r.effort * (1.0 + square(c * m)) /
               (m * (wp[1] + c * std::sqrt(1.0 + (c * c - wp[1] * wp[1]) * m * m)));
  }
  return failure::report(r, outtheta);
}

double spc3d(const Transverse& s, double xt22, double xc22, double xt33, double xc33, double xt12,
             double xt13, double xt23, std::optional<std::array<double, 3>> xcs, double* outtheta,
             const std::array<double, 2>& gp, std::optional<double> sainc,
             std::optional<std::array<double, 2>> salims, int gsflag) {
  const std::array<double, 3> cs = xcs.value_or(std::array<double, 3>{xt12, xt13, xt23});
  const double low = salims ? (*salims)[0] * math::deg2rad : 0.03490658503988659;
  const double up = salims ? (*salims)[1] * math::deg2rad : 3.1066860685499065;
  const double step = failure::search_step(sainc ? &*sainc : nullptr, 2.0, low, up, gsflag == 1);
  const auto r = plane_search<100>(s, low, up, step, gsflag,
                                   [&](double sn, double tn1, double tnt, double c, double sn_t) {
                                     const double cc = c * c, ss = sn_t * sn_t;
                                     const double ac = std::abs(c), as = std::abs(sn_t);
                                     const double s2 = std::abs(2.0 * sn_t * c);
                                     if (sn < 0.0) {
                                       const double a = sn * gp[1] / (ss * xc22 + cc * xc33 + cs[2] * s2);
                                       return std::sqrt(square(tnt / ((xc22 + xc33) * s2 + cs[2])) + a * a +
                                                        square(tn1 / (as * cs[0] + ac * cs[1]))) +
                                              a;
                                     }
                                     const double b = sn / (ss * xt22 + cc * xt33 + xt23 * s2);
                                     return gp[0] * b +
                                            std::sqrt(square(tnt / ((xt22 + xt33) * s2 + xt23)) +
                                                      square(1.0 - gp[0]) * b * b +
                                                      square(tn1 / (as * xt12 + ac * xt13)));
                                   });
  return failure::report(r, outtheta);
}

double larc04(double s11, const Transverse& s, double xt11, double xc11, double xt22, double xc22,
              double x12, double e11, double e22, double g12, double nu12,
              std::optional<std::array<double, 2>> gc, std::optional<double> a0, double* outtheta,
              const PlaneSearch& search, int fcl) {
  (void)xt11;
  const double g = gc && (*gc)[0] != 0.0 && (*gc)[1] != 0.0 ? (*gc)[0] / (*gc)[1] : 0.3499999940395355;
  if (s.s22 >= 0.0) {
    if (fcl != 0) return 0.0;
    // Matrix tension: the closed form on the ply's own plane.
    const double lambda = 1.0 / e22 - nu12 * nu12 / e11;
    return g * square(s.s22 / xt22) + (1.0 - g) * s.s22 / xt22 + square(s.s12 / x12) +
           lambda * square(s.s23 / x12);
  }
  const auto [eta_t, st] = failure::fracture_constants(xc22, a0.value_or(default_a0_d) * math::deg2rad);
  const double eta_l = eta_t * x12 / st;
  const auto effort = [&](double sn, double tn1, double tnt, double, double) {
    return larc_shear(tn1, tnt, sn, st, x12, eta_t, eta_l);
  };
  failure::SearchResult r;
  if (s11 >= xc22) {
    r = plane_search<200>(s, -pi, pi, step_of(search, -pi, pi), search.gsflag, effort);
  } else {
    // Matrix compression with fibre compression: the fracture plane in the
    // misaligned frame of the kink band.
    const failure::Stress6 full{s11, s.s22, s.s33, s.s12, s.s13, s.s23};
    const double psi =
        s.s22 == s.s33 && s.s23 == 0.0 ? 0.0 : 0.5 * std::atan(2.0 * s.s23 / (s.s22 - s.s33));
    const failure::Stress6 sp = failure::rotated_about_fibre(std::cos(psi), std::sin(psi), full);
    if (fcl != 0) return 0.0;
    const double phi = failure::kink_angle(sp[3], full, g12, xc11,
                                           failure::misalignment_angle(x12, xc11, eta_l));
    const failure::Stress6 m = failure::rotated_about_3(std::cos(phi), std::sin(phi), sp);
    r = plane_search<200>({m[1], m[2], m[3], m[4], m[5]}, 0.0, pi, step_of(search, 0.0, pi),
                          search.gsflag, effort);
  }
  return failure::report(r, outtheta);
}

}  // namespace tavrin::mccollection

namespace mc = tavrin::mccollection;

namespace {

using tavrin::latch_failure;
using tavrin::mccollection::square;

template <class T>
std::optional<T> given(const T* p) {
  return p ? std::optional<T>(*p) : std::nullopt;
}
template <std::size_t N>
std::array<double, N> vector_or(const double* p, const std::array<double, N>& fallback) {
  if (!p) return fallback;
  std::array<double, N> v;
  std::copy_n(p, N, v.begin());
  return v;
}
template <std::size_t N>
std::optional<std::array<double, N>> optional_vector(const double* p) {
  if (!p) return std::nullopt;
  return vector_or<N>(p, {});
}

mc::PlaneSearch search_of(const double* sainc, const int* gsflag) {
  return {given(sainc), gsflag ? *gsflag : 0};
}

constexpr std::array<double, 4> puck_defaults{0.3, 0.2, 0.15, 0.15};

void cuntze_note() {
  latch_failure(tavrin::status_invalid,
                "Note: Negative root during Cuntze failure evaluation. Please check your input "
                "parameters.");
}
void christensen_note() {
  latch_failure(tavrin::status_note,
                "Note: Negative root during Christensen failure evaluation. Please check your "
                "input parameters.");
}
void hashin_note() {
  latch_failure(tavrin::status_note,
                "Note: Negative root during Hashin failure evaluation. Please check your input "
                "parameters.");
}

// The interactive effort (E1^m + E2^m + E3^m)^(1/m).
double cuntze_sum(double e1, double e2, double e3, double m) {
  return std::pow(std::pow(e1, m) + std::pow(e2, m) + std::pow(e3, m), 1.0 / m);
}

// 2Q/(√(L² + 4Q) - L), the inverse load factor of Q·λ² + L·λ = 1 under
// transverse compression; `degenerate` where the denominator vanishes.
double quadratic_index(double q, double l, double degenerate) {
  const double den = std::sqrt(4.0 * q + l * l) - l;
  return den == 0.0 ? degenerate : 2.0 * q / den;
}

}  // namespace

extern "C" {

void MCrckLaRC05(double* rmc, const double* s22, const double* s33, const double* s12,
                 const double* s13, const double* s23, const double* xt22, const double* xc22,
                 const double* x12, const double* a0, double* outtheta, const double* sainc,
                 const int* gsflag) {
  *rmc = mc::larc05({*s22, *s33, *s12, *s13, *s23}, *xt22, *xc22, *x12, given(a0), outtheta,
                    search_of(sainc, gsflag));
}

void MCrckLaRC04(double* rmc, const double* s11, const double* s22, const double* s33,
                 const double* s12, const double* s13, const double* s23, const double* xt11,
                 const double* xc11, const double* xt22, const double* xc22, const double* x12,
                 const double* e11, const double* e22, const double* g12, const double* nu12,
                 const double* gc, const double* a0, double* outtheta, const double* sainc,
                 const int* fcl, const int* gsflag) {
  *rmc = mc::larc04(*s11, {*s22, *s33, *s12, *s13, *s23}, *xt11, *xc11, *xt22, *xc22, *x12, *e11,
                    *e22, *g12, *nu12, optional_vector<2>(gc), given(a0), outtheta,
                    search_of(sainc, gsflag), fcl ? *fcl : 0);
}

void MCrckVDI2014(double* rmc, const double* s11, const double* s22, const double* s33,
                  const double* s12, const double* s13, const double* s23, const double* xt11,
                  const double* xc11, const double* xt22, const double* xc22, const double* x12,
                  double* outtheta, const double* gp, const double* wp, const double* sainc,
                  const int* gsflag) {
  *rmc = mc::vdi2014(*s11, {*s22, *s33, *s12, *s13, *s23}, *xt11, *xc11, *xt22, *xc22, *x12,
                     outtheta, vector_or<4>(gp, {0.3, 0.3, 0.25, 0.25}), vector_or<2>(wp, {0.5, 0.5}),
                     search_of(sainc, gsflag));
}

void MCrckSPC3D(double* rmc, const double* s22, const double* s33, const double* s12,
                const double* s13, const double* s23, const double* xt11, const double* xc11,
                const double* xt22, const double* xc22, const double* xt33, const double* xc33,
                const double* xt12, const double* xt13, const double* xt23, const double* xcs,
                double* outtheta, const double* gp, const double* sainc, const double* salims,
                const int* gsflag) {
  (void)xt11, (void)xc11;  // fibre strengths: not read by the inter-fibre criterion
  *rmc = mc::spc3d({*s22, *s33, *s12, *s13, *s23}, *xt22, *xc22, *xt33, *xc33, *xt12, *xt13, *xt23,
                   optional_vector<3>(xcs), outtheta, vector_or<2>(gp, {0.3, -0.3}), given(sainc),
                   optional_vector<2>(salims), gsflag ? *gsflag : 0);
}

void MCrckCamanho(double* rmc, const double* s22, const double* s33, const double* s12,
                  const double* s13, const double* s23, const double* xt22, const double* xc22,
                  const double* x12, const double* x23, double* outtheta, const double* a0,
                  const double* sainc, const int* gsflag) {
  *rmc = mc::camanho({*s22, *s33, *s12, *s13, *s23}, *xt22, *xc22, *x12, *x23, outtheta, given(a0),
                     search_of(sainc, gsflag));
}

void MCrckWiegand(double* rmc, const double* s22, const double* s33, const double* s12,
                  const double* s13, const double* s23, const double* xt22, const double* xc22,
                  const double* x12, double* outtheta, const double* a0, const double* sainc,
                  const int* gsflag) {
  *rmc = mc::wiegand({*s22, *s33, *s12, *s13, *s23}, *xt22, *xc22, *x12, outtheta, given(a0),
                     search_of(sainc, gsflag));
}

void MCrckPuck(double* rmc, const double* s22, const double* s33, const double* s12,
               const double* s13, const double* s23, const double* xt22, const double* xc22,
               const double* x12, double* outtheta, const double* gp, const double* sainc,
               const int* gsflag, int* tcflag) {
  *rmc = mc::puck({*s22, *s33, *s12, *s13, *s23}, *xt22, *xc22, *x12, outtheta,
                  vector_or<4>(gp, puck_defaults), search_of(sainc, gsflag), tcflag);
}

void MCrckCuntze2012(double* rmc, const double* s22, const double* s33, const double* s12,
                     const double* s13, const double* s23, const double* xt22, const double* xc22,
                     const double* x12, const double* gp, const double* mint) {
  *rmc = 0.0;
  if (*s22 == 0.0 && *s33 == 0.0 && *s12 == 0.0 && *s13 == 0.0 && *s23 == 0.0) return;
  const auto [b_tl, b_t] = vector_or<2>(gp, {0.16, 1.16});
  const double i1 = *s22 + *s33;
  const double r = std::sqrt(square(*s22 - *s33) + 4.0 * *s23 * *s23);
  const double e1 = std::max((i1 + r) / (2.0 * *xt22), 0.0);
  const double e2 = std::max((b_t * r + (b_t - 1.0) * i1) / *xc22, 0.0);
  const double i23 = 2.0 * *s22 * *s12 * *s12 + 2.0 * *s33 * *s13 * *s13 + 4.0 * *s23 * *s13 * *s12;
  const double w = std::sqrt(4.0 * *x12 * *x12 * square(*s12 * *s12 + *s13 * *s13) + square(b_tl * i23)) +
                   b_tl * i23;
  double e3 = 0.0;
  if (w < 0.0) cuntze_note();
  else e3 = std::max(std::sqrt(w / (2.0 * *x12 * *x12 * *x12)), 0.0);
  *rmc = cuntze_sum(e1, e2, e3, mint ? *mint : 2.4);
}

void MCrckCuntze2004(double* rmc, const double* s22, const double* s33, const double* s12,
                     const double* s13, const double* s23, const double* xt22, const double* xc22,
                     const double* x12, const double* x13, const double* gp, const double* mint) {
  *rmc = 0.0;
  if (*s22 == 0.0 && *s33 == 0.0 && *s12 == 0.0 && *s13 == 0.0 && *s23 == 0.0) return;
  const auto [b_tl, b_t, b_tt] = vector_or<3>(gp, {0.13, 1.5, 0.4});
  // A mode effort below zero counts as a small positive one.
  const auto floor = [](double e) { return e < 0.0 ? 0.01 : e; };
  const double i1 = *s22 + *s33;
  const double r2 = square(*s22 - *s33) + 4.0 * *s23 * *s23;
  const double e1 = floor((i1 + std::sqrt(r2)) / (2.0 * *xt22));
  const double shear = *s12 * *s12 + *s13 * *s13;
  const double e3_cubed = (std::pow(shear, 1.5) + 2.0 * b_tl * (*s22 * *s12 * *s12 + *s33 * *s13 * *s13 +
                                                                2.0 * *s12 * *s13 * *s23)) /
                          std::pow((*x12 + *x13) / 2.0, 3.0);
  const double e3 = e3_cubed < 0.0 ? 0.01 : std::cbrt(e3_cubed);
  const double k = b_tt * shear + b_t * r2;
  double e2;
  if (k == 0.0) {
    // Hydrostatic transverse stress: the quadratic in 1/E2 is linear.
    e2 = (b_t - 1.0) * i1 / *xc22;
  } else {
    const double h = (b_t - 1.0) * i1 * *xc22 / k;
    const double q = *xc22 * *xc22 / k + h * h / 4.0;
    double root = 0.0;
    if (q < 0.0) cuntze_note();
    else root = std::sqrt(q);
    e2 = std::max(1.0 / (-h / 2.0 - root), 1.0 / (root - h / 2.0));
  }
  *rmc = cuntze_sum(e1, floor(e2), e3, mint ? *mint : 2.5);
}

void MCrckChangChang(double* rmc, const double* s22, const double* s12, const double* xt22,
                     const double* xc22, const double* x12) {
  const double y = *s22 > 0.0 ? *xt22 : *xc22;
  *rmc = std::sqrt(*s22 * *s22 / (y * y)) + square(*s12 / *x12);
}

void MCrckChai(double* rmc, const double* s22, const double* s12, const double* s23,
               const double* xt22, const double* xc22, const double* x12, const double* x23,
               const double* dang) {
  (void)dang;  // the ply angle does not enter Chai's criterion
  const double y = *s22 >= 0.0 ? *xt22 : *xc22;
  *rmc = std::sqrt(square(*s22 / y) + square(*s12 / *x12) + square(*s23 / *x23));
}

void MCrckChristensen(double* rmc, const double* s22, const double* s33, const double* s12,
                      const double* s13, const double* s23, const double* xt22, const double* xc22,
                      const double* xt33, const double* xc33, const double* x12, const double* x13,
                      const double* x23) {
  const double l = (1.0 / *xt22 - 1.0 / *xc22) * *s22 + (1.0 / *xt33 - 1.0 / *xc33) * *s33;
  const double q = square(*s12 / *x12) + (*s23 * *s23 - *s22 * *s33) / (*x23 * *x23) +
                   square(*s13 / *x13) +
                   square(*s22 + *s33) / std::sqrt(*xc22 * *xt22 * *xt33 * *xc33);
  *rmc = 0.0;
  if (l * l + 4.0 * q < 0.0) return christensen_note();
  *rmc = quadratic_index(q, l, 0.0);
}

void MCrckHashin1989(double* rmc, const double* s22, const double* s33, const double* s12,
                     const double* s13, const double* s23, const double* xt22, const double* xc22,
                     const double* xt33, const double* xc33, const double* x12, const double* x13,
                     const double* x23) {
  const double i = *s22 + *s33;
  const double a = square(*s12 / *x12) + square(*s13 / *x13) + (*s23 * *s23 - *s22 * *s33) / (*x23 * *x23);
  *rmc = 0.0;
  if (i >= 0.0) {
    const double v = a + i * i / (*xt22 * *xt33);
    if (v > 0.0) *rmc = std::sqrt(v);
    else hashin_note();
    return;
  }
  const double q = a + i * i / (4.0 * *x23 * *x23);
  const double l = (*s22 / *xc22 + *s33 / *xc33) * (*xc22 * *xc33 / (4.0 * *x23 * *x23) - 1.0);
  if (4.0 * q + l * l < 0.0) return hashin_note();
  *rmc = quadratic_index(q, l, 0.0);
}

void MCrckHashinComplete(double* rmc, const double* s22, const double* s33, const double* s12,
                         const double* s13, const double* s23, const double* xt22,
                         const double* xc22, const double* x12, const double* x23) {
  const double i = *s22 + *s33;
  const double a = (*s12 * *s12 + *s13 * *s13) / (*x12 * *x12) + (*s23 * *s23 - *s22 * *s33) / (*x23 * *x23);
  if (i >= 0.0) {
    const double v = a + i * i / (*xt22 * *xt22);
    *rmc = v > 0.0 ? std::sqrt(v) : 0.0;
    return;
  }
  const double q = a + i * i / (4.0 * *x23 * *x23);
  const double l = (*xc22 * *xc22 / (4.0 * *x23 * *x23) - 1.0) * i / *xc22;
  *rmc = quadratic_index(q, l, l);
}

void MCrckHashin3D(double* rmc, const double* s22, const double* s12, const double* s13,
                   const double* s23, const double* xt22, const double* xc22, const double* x12,
                   const double* x23) {
  const double a = (*s12 * *s12 + *s13 * *s13) / (*x12 * *x12) + square(*s23 / *x23);
  if (*s22 >= 0.0) {
    *rmc = std::sqrt(a + square(*s22 / *xt22));
    return;
  }
  const double q = a + square(*s22 / (2.0 * *x23));
  const double l = (square(*xc22 / (2.0 * *x23)) - 1.0) * *s22 / *xc22;
  *rmc = quadratic_index(q, l, l);
}

void MCrckHashinPS(double* rmc, const double* s22, const double* s12, const double* xt22,
                   const double* xc22, const double* x12, const double* x23) {
  const double a = square(*s12 / *x12);
  if (*s22 >= 0.0) {
    *rmc = std::sqrt(square(*s22 / *xt22) + a);
    return;
  }
  const double q = square(*s22 / (2.0 * *x23)) + a;
  const double l = (square(*xc22 / (2.0 * *x23)) - 1.0) * *s22 / *xc22;
  *rmc = quadratic_index(q, l, l);
}

void MCrckBahei(double* rmc, const double* stressvector, const double* xnorm, const double* xshear,
                const int* nstress, const double* interphase, int* failmode) {
  tavrin::c_boundary(__func__, [&] {
    *rmc = 0.0;
    const auto v = tavrin::fbcollection::bahei_stress(stressvector, *nstress, "MCrckBahei");
    if (!v) return;
    const auto [s11, s22, s33, s12, s13, s23] = *v;
    std::array<double, 3> modes{};
    if (!interphase || interphase[0] == -1.0 || interphase[1] == -1.0) {
      modes[0] = (s11 * s11 + s22 * s22 + s33 * s33 - s11 * s22 - s22 * s33 - s11 * s33) / (*xnorm * *xnorm) +
                 3.0 * (s12 * s12 + s13 * s13 + s23 * s23) / (*xshear * *xshear);
    } else {
      // Debonding of the fibre-matrix interphase: its shear with friction,
      // and its normal opening.
      modes[1] = std::abs(std::sqrt(s13 * s13 + s23 * s23) + interphase[1] * std::min(s33, 0.0)) /
                 interphase[0];
      modes[2] = std::max(s33, 0.0) / *xnorm;
    }
    *rmc = tavrin::fbcollection::largest_mode(modes, failmode);
  });
}

}  // extern "C"
