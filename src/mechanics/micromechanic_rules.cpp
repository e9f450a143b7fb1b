// Closed-form micromechanics: the four-constant rules, Chamis, Foye's matrix
// Poisson ratio, Krimmer's in-situ matrix and the semi-empirical LTH model.
#include <cmath>
#include <numbers>

#include "foundation/signals.hpp"
#include "mechanics/micromechanic.hpp"

namespace tavrin::micromechanic {

double clamp_fraction(double x) {
  const double lo = 0.0, hi = 1.0;
  return fLimit(&x, &lo, &hi);
}

namespace {

// A fibre-dominated modulus of the square-root rules: m / (1 − (1 − m/f)·√vf).
double chamis_modulus(double m, double f, double root_vf) { return m / (1.0 - (1.0 - m / f) * root_vf); }

// Halpin-Tsai: m·(1 + ξ·η·vf)/(1 − η·vf), η = (f/m − 1)/(f/m + ξ).
double halpin_tsai_modulus(double m, double f, double xi, double vf) {
  const double eta = (f / m - 1.0) / (f / m + xi);
  return m * (1.0 + xi * eta * vf) / (1.0 - eta * vf);
}

// Hopkins-Chamis: m·(√vf/(1 − (1 − m/f)·√vf) + 1 − √vf).
double hopkins_chamis_modulus(double m, double f, double root_vf) {
  return m * (root_vf / (1.0 - (1.0 - m / f) * root_vf) + 1.0 - root_vf);
}

}  // namespace

Ply4 four_constants(Rule rule, const double* fibre, const double* matrix, double vf, const double* zeta) {
  vf = clamp_fraction(vf);
  const double vm = 1.0 - vf;
  const double efa = fibre[0], eft = fibre[1], gfa = fibre[2], nufa = fibre[3];
  const double em = matrix[0], num = matrix[1];
  const double gm = em / (2.0 * (1.0 + num));
  double e2 = 0.0, g12 = 0.0;
  switch (rule) {
    case Rule::mixture:
      e2 = eft * em / (em * vf + eft * vm);
      g12 = gfa * gm / (gm * vf + gfa * vm);
      break;
    case Rule::abolinsh: {
      const double e = eft / em, g = gfa / gm, coupling = num * e - nufa;
      e2 = em * e * ((e - 1.0) * vf + 1.0) /
           ((e * vm + vf) * ((e - 1.0) * vf + 1.0) - coupling * coupling * vf * vm);
      g12 = gm * ((1.0 + vf) * g + vm) / (1.0 + vf + g * vm);
      break;
    }
    case Rule::puck: {
      const double em_plane = em / (1.0 - num * num);
      e2 = (1.0 + 0.85 * vf * vf) * em_plane / (em_plane * vf / eft + std::pow(vm, 1.25));
      g12 = (1.0 + 0.4 * std::sqrt(vf)) * gm / (gm * vf / gfa + std::pow(vm, 1.45));
      break;
    }
    case Rule::hopkins_chamis:
      e2 = hopkins_chamis_modulus(em, eft, std::sqrt(vf));
      g12 = hopkins_chamis_modulus(gm, gfa, std::sqrt(vf));
      break;
    case Rule::halpin_tsai: {
      const bool built_in = !zeta || (zeta[0] == -1.0 && zeta[1] == -1.0);
      const double packing = 40.0 * std::pow(vf, 10);
      e2 = halpin_tsai_modulus(em, eft, built_in ? 2.0 + packing : zeta[0], vf);
      g12 = halpin_tsai_modulus(gm, gfa, built_in ? 1.0 + packing : zeta[1], vf);
      break;
    }
    case Rule::chamis:
      e2 = chamis_modulus(em, eft, std::sqrt(vf));
      g12 = chamis_modulus(gm, gfa, std::sqrt(vf));
      break;
  }
  return {efa * vf + em * vm, e2, g12, nufa * vf + num * vm};
}

void chamis(double* cs, const double* fibre, const double* matrix, double vf, int csdim) {
  for (int i = 0; i < csdim; ++i) cs[i] = 0.0;
  if (csdim < 4 || csdim > 6) return;
  const Ply4 p = four_constants(Rule::chamis, fibre, matrix, vf, nullptr);
  for (int i = 0; i < 3; ++i) cs[i] = p[std::size_t(i)];
  if (csdim == 4) {
    cs[3] = p[3];
    return;
  }
  vf = clamp_fraction(vf);
  const double em = matrix[0], num = matrix[1];
  const double gm = em / (2.0 * (1.0 + num));
  cs[3] = chamis_modulus(gm, fibre[3], std::sqrt(vf));
  cs[4] = fibre[4] * vf + num * (1.0 - vf);
  if (csdim == 6) cs[5] = cs[1] / (2.0 * cs[3]) - 1.0;
}

double foye(const double* ply, const double* matrix) {
  const double num = matrix[1], nult = ply[1], r = matrix[0] / ply[0];
  return num * (1.0 + num - nult * r) / (1.0 - num * num + nult * num * r);
}

Ply5 krimmer(const double* ply, const double* fibre, const double* matrix, double vf) {
  vf = clamp_fraction(vf);
  const double vm = 1.0 - vf;
  const double el = ply[0], et = ply[1], nult = ply[2];
  const double efa = fibre[0], eft = fibre[1], gft = fibre[3], nufa = fibre[4];
  const double em = matrix[0], num = matrix[1];
  const double nu_par = (1.0 - nufa * em / (eft * num)) * num;
  const double nuft = eft / (2.0 * gft) - 1.0;
  const double nu_perp = (1.0 - (nuft + nufa) * em / ((eft + efa) * num)) * num;
  const double ply_nu[2] = {el, nult};
  const double nueff = foye(ply_nu, matrix);
  const double r = et / em;
  const double x = (1.0 - nu_perp * nu_perp) * r + nu_perp * nu_perp;
  const double nu2 = nu_perp * nu_perp, nu3 = nu2 * nu_perp;
  Ply5 km{};
  km[4] = nu_par;
  km[0] = (em * nu_par + et * (1.0 - nu_par)) /
          (2.0 * nu_par * nu_par * (1.0 - r) + (1.0 - nu_par) * r + nu_par);
  km[1] = (vf * efa * x + et * vm) /
          (((1.0 - 3.0 * nu2 - 2.0 * nu3) * r + 2.0 * (nu2 + nu3)) * (efa / em) * vf + x * vm);
  km[3] = km[1] / (2.0 * (nueff + 1.0));
  km[2] = ((km[0] + km[1]) / 2.0) / (2.0 * (num + 1.0));
  return km;
}

namespace {

// The transverse modulus of the fibre-in-cell model for a matrix modulus m and
// fibre modulus f: ρ the fibre diameter over the cell width, b the packing
// factor (2 square, √3 hexagonal).
double cell_modulus(double m, double f, double rho, double b) {
  constexpr double pi = std::numbers::pi;
  const double ratio = m / f, q = 1.0 - ratio;
  const double angle = std::atan(rho * q / std::sqrt(1.0 - (1.0 - ratio * ratio) * rho * rho));
  return (2.0 * m / b) *
         (b / 2.0 - rho - pi / (2.0 * q) + (angle + pi / 2.0) / (q * std::sqrt(1.0 - q * q * rho * rho)));
}

}  // namespace

Ply5 lth(const double* fibre, const double* matrix, double vf, int mdim, int fmflag, int tcflag) {
  Ply5 lh{};
  if (mdim < 2) return lh;
  constexpr double pi = std::numbers::pi;
  const bool square = fmflag == 0;
  const double lo = 0.0, hi = square ? 0.75 : 0.9;
  vf = fLimit(&vf, &lo, &hi);
  const double vm = 1.0 - vf;
  const double b = square ? 2.0 : 1.7320508075688772;
  const double rho = square ? 2.0 * std::sqrt(vf / pi) : std::sqrt(vf * 3.4641016151377544 / pi);
  Ply5 m;  // Em∥, Em⊥, Gm∥, Gm⊥, νm∥
  if (mdim == 5) {
    m = {matrix[0], matrix[1], matrix[2], matrix[3], matrix[4]};
  } else if (tcflag == 1) {
    const Ply5 free = lth(fibre, matrix, vf, 2, fmflag, 0);
    const double ply[3] = {free[0], free[1], free[4]};
    m = krimmer(ply, fibre, matrix, vf);
  } else {
    const double em = matrix[0], num = matrix[mdim - 1];
    const double gm = em / (2.0 * (1.0 + num));
    m = {em, em, gm, gm, num};
  }
  const double efa = fibre[0], eft = fibre[1], gfa = fibre[2], gft = fibre[3], nufa = fibre[4];
  lh[0] = efa * vf + m[0] * vm;
  lh[1] = cell_modulus(m[1], eft, rho, b);
  lh[2] = cell_modulus(m[2], gfa, rho, b);
  lh[3] = cell_modulus(m[3], gft, rho, b);
  lh[4] = nufa * vf + m[4] * vm;
  return lh;
}

}  // namespace tavrin::micromechanic

namespace mm = tavrin::micromechanic;

namespace {
void store4(double* out, const mm::Ply4& p) {
  for (int i = 0; i < 4; ++i) out[i] = p[std::size_t(i)];
}
}  // namespace

extern "C" {

void RuleOfMixture(double* rm, const double* fiberprops, const double* matrixprops, const double* vf) {
  store4(rm, mm::four_constants(mm::Rule::mixture, fiberprops, matrixprops, *vf));
}
void Abolinsh(double* ah, const double* fiberprops, const double* matrixprops, const double* vf) {
  store4(ah, mm::four_constants(mm::Rule::abolinsh, fiberprops, matrixprops, *vf));
}
void Puck(double* pu, const double* fiberprops, const double* matrixprops, const double* vf) {
  store4(pu, mm::four_constants(mm::Rule::puck, fiberprops, matrixprops, *vf));
}
void HopkinsChamis(double* hc, const double* fiberprops, const double* matrixprops, const double* vf) {
  store4(hc, mm::four_constants(mm::Rule::hopkins_chamis, fiberprops, matrixprops, *vf));
}
void HalpinTsai(double* ht, const double* fiberprops, const double* matrixprops, const double* vf,
                const double* zeta) {
  store4(ht, mm::four_constants(mm::Rule::halpin_tsai, fiberprops, matrixprops, *vf, zeta));
}
void Chamis(double* cs, const double* fiberprops, const double* matrixprops, const double* vf,
            const int* csdim) {
  mm::chamis(cs, fiberprops, matrixprops, *vf, *csdim);
}
void Foye(double* nfoye, const double* laminaprops, const double* matrixprops) {
  *nfoye = mm::foye(laminaprops, matrixprops);
}
void Krimmer(double* km, const double* laminaprops, const double* fiberprops, const double* matrixprops,
             const double* vf) {
  const mm::Ply5 r = mm::krimmer(laminaprops, fiberprops, matrixprops, *vf);
  for (int i = 0; i < 5; ++i) km[i] = r[std::size_t(i)];
}
void LTH(double* lh, const double* fiberprops, const double* matrixprops, const double* vf, const int* mdim,
         const int* fmflag, const int* tcflag) {
  const mm::Ply5 r = mm::lth(fiberprops, matrixprops, *vf, *mdim, *fmflag, *tcflag);
  for (int i = 0; i < 5; ++i) lh[i] = r[std::size_t(i)];
}

}
