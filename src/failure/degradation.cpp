#include "failure/degradation.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>

#include "failure/evocollection.hpp"
#include "failure/fracture.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/list_record.hpp"
#include "foundation/transforms.hpp"
#include "mechanics/elasticity.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_rotation.hpp"

namespace tavrin::degradation {

void viscouseregularisation(double dold, double dnew, double& dviscouse, double eta, double dt) {
  dviscouse = dt / (eta + dt) * dnew + eta / (eta + dt) * dold;
}

double getaccumulateddamage(const double* degr, double nodmg, int ndegr, int nply) {
  if (ndegr < 1 || nply < 1) return 0.0;
  double total = 0.0;
  for (int j = 0; j < nply; ++j) {
    double ply = 0.0;
    for (int i = 0; i < ndegr; ++i) {
      const double g = degr[i + std::size_t(ndegr) * j];
      const double x = nodmg <= 1e-20 ? 1.0 - g : g / nodmg;
      ply += x > 1e-20 ? std::log10(x) / -20.0 : 1.0;
    }
    total += ply / ndegr;
  }
  return total / nply;
}

}  // namespace tavrin::degradation

namespace {

constexpr double tiny = 1e-20;
using Factors = std::array<double, 9>;
constexpr double x_axis[3] = {1.0, 0.0, 0.0};

double norm3(double a, double b, double c) { return std::sqrt(a * a + b * b + c * c); }

// Opening-weighted magnitude of a plane strain vector: a closing normal
// strain does not drive the crack.
double opening_norm(const double* e) { return norm3(std::max(e[0], 0.0), e[1], e[2]); }

// Length of the element across a fracture plane at phi about the fibres.
double fracture_length(const double* charelemlength, double phi) {
  double lm = charelemlength[1] / std::abs(std::cos(phi));
  if (std::hypot(charelemlength[1], charelemlength[2]) < lm) lm = charelemlength[2] / std::abs(std::sin(phi));
  return lm;
}

// Solver-order stress rotated by phi about the fibre axis, solver order.
std::array<double, 6> rotate_about_fibres(const double* s, double phi) {
  std::array<double, 6> r{};
  const int nye = 0;
  GetRotatedStresses(r.data(), &phi, x_axis, &s[0], &s[1], &s[2], &s[3], &s[4], &s[5], &nye);
  return r;
}

}  // namespace

extern "C" {

void GetNyeDegradationMatrix(double* d, const double* degrf, const int* ntens, const int* psflag) {
  const int n = *ntens;
  if (n > 0) std::fill_n(d, std::size_t(n) * n, 1.0);
  const auto set = [&](int i, int j, double f) {
    d[(i - 1) + std::size_t(n) * (j - 1)] = f;
    d[(j - 1) + std::size_t(n) * (i - 1)] = f;
  };
  const bool plane_stress = psflag && *psflag == 0;
  if (n != 3 && n != 4 && n != 6) {
    tavrin::xerr(-2, "Unsupported dimension in GetNyeDegradationMatrix", std::span<const int>(ntens, 1));
    return;
  }
  set(1, 1, degrf[0]);
  set(1, 2, degrf[1]);
  set(2, 2, degrf[2]);
  if (n == 3) {
    set(3, 3, degrf[3]);
    return;
  }
  set(4, 4, degrf[3]);
  if (plane_stress) return;
  set(1, 3, degrf[6]);
  set(2, 3, degrf[7]);
  set(3, 3, degrf[8]);
  if (n == 6) {
    set(5, 5, degrf[4]);
    set(6, 6, degrf[5]);
  }
}

void FalcomDegradation(double* d_out, const double* dds, const double* rdisc, const int* degrid,
                       const int* plyistape, const double* fa) {
  Factors d;
  d.fill(1.0);
  const auto finish = [&] { std::copy(d.begin(), d.end(), d_out); };
  if (std::all_of(dds, dds + 10, [](double x) { return x == 0.0; })) return finish();
  const auto flag = [&](int k) { return dds[k - 1] == 1.0; };
  const bool tape = *plyistape != 0;
  const double a1 = fa ? fa[0] : 0.3, a2 = fa ? fa[1] : 0.3, a3 = fa ? fa[2] : 0.5, a4 = fa ? fa[3] : 0.5;
  const auto at = [&](std::initializer_list<int> positions, double v) {
    for (const int k : positions) d[k - 1] = v;
  };
  const auto full_damage = [&] {
    d.fill(tiny);
    finish();
  };
  switch (*degrid) {
    case 0:
      for (int k = 1; k <= 10; ++k)
        if (flag(k)) return full_damage();
      break;
    case 1:
      if (flag(1)) d[0] = a1;
      if (!tape && flag(2)) d[2] = a1;
      if (flag(7)) return full_damage();
      break;
    case 2:
      if (flag(1)) d[0] = a2;
      if (!tape && flag(2)) d[2] = a2;
      if (flag(6)) {
        at({5, 6}, a4);
        if (flag(4)) at(tape ? std::initializer_list<int>{2, 3, 4, 8} : std::initializer_list<int>{2, 4, 7, 8}, a3);
      }
      if (flag(7)) return full_damage();
      break;
    case 3:
      if (flag(7)) {
        d.fill(tiny);
        d[8] = 0.015;
      }
      break;
    case 4:
      if (tape) {
        if (flag(1)) {
          d[0] = 0.5;
          at({2, 3, 4}, 0.1);
        }
        if (flag(4)) at({2, 3, 4}, 0.1);
      } else {
        if (flag(1)) {
          d[0] = 0.5;
          at({2, 4}, 0.1);
          if (flag(2)) d[2] = 0.5;
        } else if (flag(2)) {
          at({2, 4}, 0.1);
          d[2] = 0.5;
        }
        if (flag(4)) at({2, 4}, 0.1);
      }
      break;
    case 5:
      if (tape) {
        if (flag(1)) {
          at({1, 2, 7}, 0.5);
          at({4, 6}, tiny);
        }
        if (flag(4)) at({2, 3, 4, 5, 8}, tiny);
      } else {
        if (flag(1)) {
          at({1, 2}, 0.5);
          d[5] = tiny;
          if (flag(2)) {
            at({3, 7, 8}, 0.5);
            at({4, 5}, tiny);
          } else {
            d[6] = 0.5;
            d[3] = tiny;
          }
        } else if (flag(2)) {
          at({2, 3, 8}, 0.5);
          at({4, 5}, tiny);
        }
        if (flag(4)) at({2, 4, 5, 6, 7, 8}, tiny);
      }
      if (flag(5) || flag(6)) at({5, 6}, tiny);
      if (flag(7)) return full_damage();
      break;
    default: {
      // Residual factor vectors of the modes, 1e-20 where not given.
      const double cut = *rdisc == 2.0 ? tiny : 0.5;
      Factors vf1, vf2, v6, vc, v9, v10;
      for (Factors* v : {&vf1, &vf2, &vc, &v9, &v10}) v->fill(tiny);
      v6.fill(1.0);
      v6[4] = v6[5] = tiny;  // delamination: the transverse shears
      vf1[0] = cut;
      vf2[0] = 1.0;
      vf2[2] = cut;
      vc[8] = 0.015;
      if (!tape) vf1[2] = v9[2] = v10[0] = 1.0;
      const auto lower = [&](const Factors& v) {
        for (int k = 0; k < 9; ++k) d[k] = std::min(d[k], v[k]);
      };
      if (flag(1)) d = vf1;
      if (!tape && flag(2)) lower(vf2);
      if (flag(6)) lower(v6);
      if (flag(7)) lower(vc);
      if (flag(9)) lower(v9);
      if (flag(10)) lower(v10);
    }
  }
  if (flag(8)) {  // buckled delamination: the residual factor of the sublaminate
    if (*rdisc < tiny) d.fill(tiny);
    if (*rdisc < 1.0)
      for (double& x : d) x *= *rdisc;
  }
  finish();
}

void MatzenmillerDegradation(const double* propvec, double* c_deg, const double* dnorm, const double* d23,
                             const double* d13, const double* d12) {
  const double e1 = propvec[0], e2 = propvec[1], e3 = propvec[2];
  const double g23 = propvec[3], g13 = propvec[4], g12 = propvec[5];
  const double nu23 = propvec[6], nu13 = propvec[7], nu12 = propvec[8];
  const double nu21 = nu12 * e2 / e1, nu31 = nu13 * e3 / e1, nu32 = nu23 * e3 / e2;
  const double w1 = 1.0 - dnorm[0], w2 = 1.0 - dnorm[1], w3 = 1.0 - dnorm[2];
  const double delta = 1.0 - w1 * w2 * nu12 * nu21 - w2 * w3 * nu23 * nu32 - w1 * w3 * nu13 * nu31 -
                       2.0 * nu12 * nu23 * nu31 * w1 * w2 * w3;
  tavrin::Mat6 c{};
  c(1, 1) = (1.0 - w2 * w3 * nu23 * nu32) * e1 * w1 / delta;
  c(2, 2) = (1.0 - w1 * w3 * nu13 * nu31) * e2 * w2 / delta;
  c(3, 3) = (1.0 - w1 * w2 * nu12 * nu21) * e3 * w3 / delta;
  c(1, 2) = c(2, 1) = (nu21 + nu23 * nu31 * w3) * e1 * w1 * w2 / delta;
  c(1, 3) = c(3, 1) = (nu31 + nu21 * nu32 * w2) * e1 * w1 * w3 / delta;
  c(2, 3) = c(3, 2) = (nu32 + w1 * nu12 * nu31) * e2 * w2 * w3 / delta;
  c(4, 4) = 2.0 * (1.0 - *d23) * g23;
  c(5, 5) = 2.0 * (1.0 - *d13) * g13;
  c(6, 6) = 2.0 * (1.0 - *d12) * g12;
  c.store(c_deg);
}

void DegradationFromModes(const double* d_modes, double* w_stat, const int* accumulation, double* c_deg,
                          const double* moduli, const double* vnu, const double* effort) {
  // Coupling of the mode damages (columns) into the damages of the
  // stiffness directions (rows).
  static constexpr double h = 0.5, t = 1.0 / 3.0;
  static constexpr double k[9][9] = {
      {1, h, 0, 0, 0, 0, 0, 0, 0}, {h, 1, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 1, 1, 0, h, 1, h, h},
      {0, 0, 0, t, 0, t, 0, t, 0}, {0, 0, 0, 0, 1, 0, 0, 0, h}, {0, 0, 0, t, 0, t, 0, 0, 0},
      {1, 1, 1, h, 0, h, 1, h, 0}, {0, 0, 1, 1, 0, 1, 1, 1, 1}, {1, 1, 0, h, 0, h, 0, h, 1}};
  std::fill_n(c_deg, 36, 0.0);
  for (int i = 0; i < 9; ++i) {
    double w = 0.0;
    for (int m = 0; m < 9; ++m) {
      const double term = k[i][m] * (d_modes ? d_modes[m] : 0.0);
      w = *accumulation ? w + term : (m == 0 ? term : std::max(w, term));
    }
    w_stat[i] = w;
  }
  if (!moduli || !vnu || !effort) return;
  const double criterion[6] = {effort[0], effort[1], effort[2], effort[0], effort[1], effort[2]};
  double moduli6[6], dsix[6];
  GetComponentsTensionCompression(moduli, moduli6, criterion);
  GetComponentsTensionCompression(w_stat, dsix, criterion);
  const double propvec[9] = {moduli6[0], moduli6[1], moduli6[2], moduli6[3], moduli6[4],
                             moduli6[5], vnu[0],     vnu[1],     vnu[2]};
  MatzenmillerDegradation(propvec, c_deg, dsix, &dsix[4], &dsix[5], &dsix[3]);
}

void FalzonDegradationParameters(const double* stressela, const double* strain, const double* phirad, double* dsix,
                                 double* epsi, double* epsu, double* sigi, double* gmix, double* w_matrixmode,
                                 const double* gc, const double* charelemlength) {
  const double phi = *phirad;
  const auto rs = rotate_about_fibres(stressela, phi);
  const auto re = rotate_about_fibres(strain, phi);
  const double sfrac[3] = {rs[1], rs[3], rs[5]}, efrac[3] = {re[1], re[3], re[5]};
  double lm = 0.0;
  if (*w_matrixmode == 0.0) {  // first damage: the onset state of the plane
    *epsi = opening_norm(efrac);
    *sigi = norm3(sfrac[0], sfrac[1], sfrac[2]);
    const int four = 4;
    GetEquivalentMixedModeERR(gmix, sfrac, gc, &four);
    lm = fracture_length(charelemlength, phi);
    *epsu = std::max(1.1 * *epsi, 2.0 * *gmix / (lm * std::abs(*sigi)));
  }
  const double epseq = opening_norm(efrac), no_gc = 0.0;
  double w = 0.0;
  BiLinearEvolution(&epseq, epsi, sigi, &no_gc, &lm, &w, epsu);
  if (w <= 0.0)
    w = std::max(*w_matrixmode, 0.0);
  else
    w = std::max(w, *w_matrixmode);
  if (!(w <= 1.0)) w = 1.0;  // also a damage that is not a number
  *w_matrixmode = w;
  // Degraded plane tractions (a closing normal traction is kept), rotated back.
  auto deg = rs;
  deg[1] = sfrac[0] - w * std::max(sfrac[0], 0.0);
  deg[3] = (1.0 - w) * sfrac[1];
  deg[5] = (1.0 - w) * sfrac[2];
  const auto back = rotate_about_fibres(deg.data(), -phi);
  const double a = stressela[1] != 0.0 ? back[1] / stressela[1] : 1.0 - w;
  const double b = stressela[2] != 0.0 ? back[2] / stressela[2] : 1.0 - w;
  dsix[1] = dsix[3] = a;
  dsix[2] = dsix[4] = b;
  dsix[5] = a + b - a * b;
}

void BogenfeldDegradation(double* d, double* sdv, const double* svoigt, const double* evoigt,
                          const double* charelemlength, const double* props, const int* mode, const int* nsdv,
                          const int* nprops) {
  if (*mode == 0) {
    *d = 0.0;
    return;
  }
  if (*mode != 3) {
    tavrin::xerr(-2, "Unknown mode in BogenfeldDegradation", std::span<const int>(mode, 1));
    return;
  }
  *d = 0.0;
  if (*nsdv < 4 || *nprops < 5) {
    const int sizes[2] = {*nsdv, *nprops};
    tavrin::xerr(-2, "BogenfeldDegradation needs nsdv >= 4 and nprops >= 5", sizes);
    return;
  }
  const double phi = props[0];
  const double* gc = props + 1;
  // Voigt 11, 22, 33, 23, 13, 12 handed over as (11, 22, 33, 12, 13, 23).
  const int plane = 2;
  double sfrac[3], efrac[3];
  GetTVectorFromArbitraryRotation(sfrac, &phi, x_axis, &svoigt[0], &svoigt[1], &svoigt[2], &svoigt[5], &svoigt[4],
                                  &svoigt[3], &plane);
  GetTVectorFromArbitraryRotation(efrac, &phi, x_axis, &evoigt[0], &evoigt[1], &evoigt[2], &evoigt[5], &evoigt[4],
                                  &evoigt[3], &plane);
  double lm = 0.0;
  if (std::all_of(sdv, sdv + *nsdv, [](double x) { return x == -1.0; })) {  // onset of damage
    sdv[0] = opening_norm(efrac);
    sdv[1] = norm3(sfrac[0], sfrac[1], sfrac[2]);
    const int four = 4;
    GetEquivalentMixedModeERR(&sdv[2], sfrac, gc, &four);
    lm = fracture_length(charelemlength, phi);
  }
  const bool unset = sdv[3] == -1.0;
  double eps1 = unset ? 0.0 : sdv[3];
  const double eps = opening_norm(efrac);
  BiLinearEvolution(&eps, &sdv[0], &sdv[1], &sdv[2], &lm, d, &eps1);
  if (unset) sdv[3] = eps1;
}

void TensorDegradation(const double* csix, double* cdeg, const double* angle_r, const double* d, const int* baseid,
                       const int* nn) {
  static constexpr double z_axis[3] = {0.0, 0.0, 1.0};
  double c4[81], rotated[81];
  GetTensorFromVoigtStiffness(c4, csix);
  TensorRotation4th(c4, rotated, angle_r, z_axis);
  // An entry with n indices on the damaged axis keeps ((1 - d)^n)^(1/n).
  const double keep = 1.0 - *d;
  double factor[5] = {1.0};
  for (int n = 1; n <= 4; ++n) factor[n] = std::pow(std::pow(keep, n), 1.0 / n);
  for (int l = 1; l <= 3; ++l)
    for (int k = 1; k <= 3; ++k)
      for (int j = 1; j <= 3; ++j)
        for (int i = 1; i <= 3; ++i) {
          if (*nn == -1 && i == j && k == l) continue;
          const int n = (i == *baseid) + (j == *baseid) + (k == *baseid) + (l == *baseid);
          rotated[(i - 1) + 3 * (j - 1) + 9 * (k - 1) + 27 * (l - 1)] *= factor[n];
        }
  const double back_angle = -*angle_r;
  TensorRotation4th(rotated, c4, &back_angle, z_axis);
  GetVoigtStiffnessFromTensor(cdeg, c4);
}
}

namespace {

// The sudden discount with separate factors for fibre and matrix failure.
void sudden(double* degpe, double* degps, const double* pe, const double* ps, double* de, double* df, double* g_f,
            double* g_m, const double* ttol, double fibre_fac, double matrix_fac, const double* nm) {
  double fm[6] = {};
  if (nm && !std::all_of(nm, nm + 6, [](double x) { return x == -1.0; })) std::copy(nm, nm + 6, fm);
  const auto discount = [&](double f, int first_e, int first_s) {
    for (int k = first_e; k < 6; ++k) degpe[k] = std::min(degpe[k], f * pe[k]);
    for (int k = first_s; k < 9; ++k) {  // the smaller magnitude, with the strength's sign
      const double m = std::min(std::abs(degps[k]), std::abs(f * ps[k]));
      degps[k] = std::copysign(m, ps[k]);
    }
  };
  if (ttol[0] <= *g_f || fm[0] > ttol[1]) {
    *g_f = 1.0;
    discount(fibre_fac, 0, 0);
  }
  if (std::any_of(fm + 1, fm + 6, [&](double x) { return x > ttol[1]; }) || ttol[0] <= *g_m) {
    *g_m = 1.0;
    discount(matrix_fac, 1, 2);
  }
  for (int k = 0; k < 6; ++k) de[k] = std::min(de[k], degpe[k] / pe[k]);
  for (int k = 0; k < 9; ++k) df[k] = std::min(df[k], degps[k] / ps[k]);
  degpe[6] = std::min(degpe[6], de[0] * pe[6]);
  degpe[7] = std::min(degpe[7], de[0] * pe[7]);
  degpe[8] = std::min(degpe[8], de[1] * pe[8]);
}

// 1 - the viscous regularisation of the damages 1 - old and 1 - target.
double regularised_factor(double old_factor, double target, double eta, double dt) {
  double d = 0.0;
  tavrin::degradation::viscouseregularisation(1.0 - old_factor, 1.0 - target, d, eta, dt);
  return 1.0 - d;
}

void isotropic(const double* pe, double d, double life, double degr, double e_factor, double* degpe) {
  const double k = std::floor(std::max(d, life));
  degpe[0] = (1.0 - k * (1.0 - e_factor)) * pe[0];
  degpe[1] = degr >= 1.0 ? pe[1] : (1.0 - k) * pe[1];
}

}  // namespace

extern "C" {

void SuddenDegradation(double* degpeprops, double* degpsprops, const double* peprops, const double* psprops,
                       double* de, double* df, double* g_f, double* g_m, const double* ttol, const double* degrfac,
                       const double* nm) {
  sudden(degpeprops, degpsprops, peprops, psprops, de, df, g_f, g_m, ttol, *degrfac, *degrfac, nm);
}

void SuddenDegradation_viscouse(double* degpeprops, double* degpsprops, const double* peprops,
                                const double* psprops, double* de, double* df, double* g_f, double* g_m,
                                const double* ttol, const double* degrfac, const double* nm, double* degr_old,
                                const double* eta, const double* dt) {
  tavrin::c_boundary(__func__, [&] {
    tavrin::io::ListRecord rec;
    rec << "Get regularised degradation factor";
    rec.write(6);
    const double rf = regularised_factor(*degr_old, *degrfac, *eta, *dt);
    *degr_old = rf;
    rec << "Viskose degradation for FF" << rf;
    rec.write(6);
    const double ri = regularised_factor(*std::min_element(de + 1, de + 6), *degrfac, *eta, *dt);
    std::fill(de + 1, de + 6, ri);
    rec << "Viskose degradation for IFF" << ri;
    rec.write(6);
    sudden(degpeprops, degpsprops, peprops, psprops, de, df, g_f, g_m, ttol, rf, ri, nm);
  });
}

void IsotropicDegradation(const double* peprops, const double* d, const double* life, const double* degr,
                          double* degpeprops) {
  isotropic(peprops, *d, *life, *degr, *degr, degpeprops);
}

void IsotropicDegradation_viscouse(const double* peprops, const double* d, const double* life, const double* degr,
                                   double* degpeprops, double* degr_old, const double* eta, const double* dt) {
  const double rv = regularised_factor(*degr_old, *degr, *eta, *dt);
  *degr_old = rv;
  isotropic(peprops, *d, *life, *degr, rv, degpeprops);
}
}
