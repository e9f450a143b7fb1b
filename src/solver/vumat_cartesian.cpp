// Nine-mode progressive damage of a unidirectional ply for explicit impact
// analyses.
//
// Modes, 0-based in the code (the index of every nine-entry vector):
//   0 fibre tension        1 fibre compression
//   2 transverse tension   3 transverse compression     (direction 22)
//   4 thickness tension    5 thickness compression      (direction 33)
//   6 shear 12             7 shear 23                   8 shear 31
// A point runs: tension/compression moduli by the sign of the total strain,
// nonlinear shear, a trial stress from the stored stiffness damage, failure
// measures (strains or stresses), damage onset by one of six criterion
// sets, bilinear softening of each initiated mode regularised by the
// element length, stiffness damage from the mode damages, crushing and
// permanent-strain corrections, the final stress with strain-rate damping,
// element deletion on fibre failure, and the energies.
//
// State slots (1-based): 1-9 stiffness damage per mode, 10-18 mode damage,
// 19 element status, 21-26 total strain, 27-32 inelastic strain, 33-35
// zero, 36-38 largest shear stresses 12, 23, 31, 39-44 strains at the
// largest stress (39 the most compressive crushed fibre strain, 42-44 the
// shear strains), 45-53 onset strains, 54-62 full-damage strains, 63-71
// onset stresses, 72-80 failure efforts, 81-82 fracture-plane angles of
// the transverse modes (degrees).
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>

#include "failure/degradation.hpp"
#include "failure/evocollection.hpp"
#include "failure/fbcollection.hpp"
#include "failure/gpcollection.hpp"
#include "failure/mccollection.hpp"
#include "foundation/signals.hpp"
#include "solver/explicit_block.hpp"
#include "solver/layout.hpp"
#include "solver/explicit_ply.hpp"

namespace {

namespace ep = tavrin::toplevel::explicit_ply;
using tavrin::Mat6;
using tavrin::Vec6;
using Nine = std::array<double, 9>;
using Six = std::array<double, 6>;

constexpr int nstate = 82;   // state variables needed
constexpr int nfull = 39;    // entries of the full property vector

enum Slot : int {
  s_wstat = 1, s_rs = 10, s_status = 19, s_strain = 21, s_inelastic = 27, s_zero = 33, s_taumax = 36,
  s_maxtau = 39, s_onset_strain = 45, s_full_strain = 54, s_onset_stress = 63, s_effort = 72, s_angle = 81
};

// Fracture-plane and kink-band searches: from 53° in 4° steps, refined by
// golden section.
constexpr double angle0 = 53.0, angleinc = 4.0;
constexpr int golden = 1;
// Weight of the shear partners in the criterion and onset of each normal mode.
constexpr Six a_shear{0.0, 0.25, 1.0, 0.0, 1.0, 0.0};

// The normal component (1-based, cyclic order) and the two shear modes that
// partner a normal mode.
struct Partners {
  int nnc, sh1, sh2;
};
constexpr std::array<Partners, 6> partners{{{1, 6, 8}, {1, 6, 8}, {2, 7, 6}, {2, 7, 6}, {3, 8, 7}, {3, 8, 7}}};
// Characteristic-length column of each mode's full-damage strain.
constexpr std::array<int, 9> length_column{1, 1, 2, 2, 3, 3, 2, 3, 2};

// a, or `floor` when a is below it or not a finite number.
double at_least(double a, double floor) { return std::isfinite(a) && a > floor ? a : floor; }

struct Material {
  double e11t, e22t, e33, g12, g13, g23, nu12, nu13, nu23, e11c, e22c;
  double alpha_sh, g_ini;
  int nls, es, criterion, perm, comp, dmgacc, stiff_deg;
  Nine strength;  // x11t, x11c, x22t, x22c, x33t, x33c, x12, x23, x13
  Nine gc, wmax, strainx0, xi;
  std::array<double, 3> damp;
  std::array<double, 3> sigc_end;     // residual crushing stress of 11, 22, 33 (compressive)
  std::array<double, 3> shearfactor;  // 12, 23, 31

  // Orthotropic stiffness (cyclic order, tensor shears) with the fibre and
  // transverse moduli e1, e2 and damages d (cyclic order) by Matzenmiller's
  // law; d = 0 gives the closed-form inverse of the compliance.  The law
  // fills its shear diagonal (Voigt positions 4, 5, 6) from the moduli and
  // damages handed to those positions, and its normal block does not
  // depend on them: handed the 12, 23, 31 pairs, it returns the cyclic
  // order directly.
  Mat6 stiffness(double e1, double e2, const Six& d) const {
    const double propvec[9] = {e1,       e2,   e33,  g12 * shearfactor[0], g23 * shearfactor[1],
                               g13 * shearfactor[2], nu23, nu13, nu12};
    Mat6 c;
    MatzenmillerDegradation(propvec, c.v.data(), d.data(), &d[3], &d[4], &d[5]);
    return c;
  }
};

std::optional<Material> material(const ep::Block& b, const double* p) {
  Material m;
  m.e11t = p[0], m.e22t = p[1], m.e33 = p[2], m.g12 = p[3], m.g13 = p[4], m.g23 = p[5];
  m.nu12 = p[6], m.nu13 = p[7], m.nu23 = p[8];
  m.strength = {p[9], std::abs(p[12]), p[10], std::abs(p[13]), p[11], std::abs(p[14]), p[15], p[17], p[16]};
  m.e11c = p[18], m.e22c = p[19];
  m.alpha_sh = p[20], m.g_ini = p[21];
  m.nls = ep::switch_of(p[22]);
  // The shear modes' toughnesses are not among the properties: their
  // partners add nothing to a mixed toughness.
  m.gc = {p[24], p[25], p[26], p[27], p[28], p[28], 0.0, 0.0, 0.0};
  m.damp = {p[29], p[30], p[31]};
  m.es = ep::switch_of(p[32]);
  m.criterion = ep::switch_of(p[33]);
  m.perm = ep::switch_of(p[34]);
  m.comp = ep::switch_of(p[35]);
  m.dmgacc = ep::switch_of(p[36]);
  m.stiff_deg = ep::switch_of(p[37]);
  // p[38], the strength degradation switch, scales the allowables by
  // interaction coefficients that are all zero: the allowables stay.

  // Every pair of moduli the sign of the strain can select, and their mean.
  for (const double e1 : {m.e11t, m.e11c, 0.5 * (m.e11t + m.e11c)})
    for (const double e2 : {m.e22t, m.e22c, 0.5 * (m.e22t + m.e22c)})
      if (!ep::admissible({e1, e2, m.e33, m.nu12, m.nu13, m.nu23, m.g12, m.g13, m.g23})) {
        b.refuse("elastic constants not positive definite");
        return std::nullopt;
      }
  if (!std::all_of(m.strength.begin(), m.strength.end(), [](double x) { return x > 0.0 && std::isfinite(x); })) {
    b.refuse("strengths must be positive", {}, m.strength);
    return std::nullopt;
  }
  const bool nonlinear_shear = m.nls == 1 || m.nls == 2 || m.nls == 6 || m.nls == 11;
  if (nonlinear_shear && !(m.g_ini > 0.0 && std::isfinite(m.g_ini))) {
    b.refuse("the initial shear modulus must be positive");
    return std::nullopt;
  }

  const Nine& x = m.strength;
  m.strainx0 = {x[0] / m.e11t, x[1] / m.e11c,       x[2] / m.e22t,       x[3] / m.e22c,      x[4] / m.e33,
                x[5] / m.e33,  x[6] / (2.0 * m.g12), x[7] / (2.0 * m.g23), x[8] / (2.0 * m.g13)};
  m.xi = m.es == 1 ? m.strainx0 : m.strength;
  m.wmax = {0.999, 0.99, 0.9999, 0.9, 0.0, 0.7, 0.99, 0.999, 0.99};
  if (m.comp == 1) m.wmax[3] = 0.99, m.wmax[5] = 0.8;
  m.sigc_end = {-0.25 * x[1], -0.25 * x[3], -0.25 * x[5]};
  m.shearfactor = {1.0, 1.0, 1.0};
  if (m.nls == 2 || m.nls == 11) m.shearfactor = {m.g_ini / m.g12, m.g_ini / m.g23, m.g_ini / m.g13};
  if (m.nls == 1 || m.nls == 6) m.shearfactor.fill(m.g_ini / m.g12);
  return m;
}

// The solver's first call: the stress of the strain increment, whose
// history starts here (the total strain and the strains at the largest
// stress are the increment; damage, inelastic strain and shear records 0).
void first_response(const ep::Block& b, int k, const Vec6& stress) {
  const Vec6 eps = b.row(b.straininc, k);
  b.put_row(k, stress);
  b.put_state6(k, s_strain, eps);
  b.put_state6(k, s_maxtau, eps);
  for (int s = 1; s <= 18; ++s) b.statenew(k, s) = 0.0;
  for (int s = s_inelastic; s < s_maxtau; ++s) b.statenew(k, s) = 0.0;
  b.energies(k, stress, eps, eps, b.statenew(k, s_status));
}

// Stiffness damages of the loaded side of each direction (cyclic order).
Six working_damage(const Nine& w, const Vec6& total) {
  return {total(1) > 0.0 ? w[0] : w[1], total(2) > 0.0 ? w[2] : w[3], total(3) > 0.0 ? w[4] : w[5],
          w[6],                         w[7],                         w[8]};
}

// Damage never falls and never exceeds 1; a law value that is not positive
// (or not a number) keeps the old damage.
double irreversible(double d, double old) {
  if (d > 0.0) return std::min(std::max(old, d), 1.0);
  return old > 0.0 ? std::min(old, 1.0) : 0.0;
}

// The largest damage of a compression mode before its residual stress
// falls to the crushing stress sigc on the softening line from (e0, C·e0)
// to ef; 1.0 where no such damage exists.
double crushing_limit(double e0, double ef, double c, double sigc) {
  const double t = e0 * ef * c / (std::abs(sigc) * (ef - e0));
  const double dlim = (ef / (ef - e0) - t) / (1.0 - t);
  return std::isfinite(dlim) ? dlim : 1.0;
}

// Onset forms of the criterion sets.
enum class Onset { weighted, unweighted, scaling };

class Point {
 public:
  Point(const ep::Block& b, const Material& m, int k) : b_(b), m_(m), k_(k) {}

  // The elastic answer with the mean of the tension and compression moduli.
  void first_call() const {
    const Six none{};
    const Mat6 c = m_.stiffness(0.5 * (m_.e11t + m_.e11c), 0.5 * (m_.e22t + m_.e22c), none);
    first_response(b_, k_, c * b_.row(b_.straininc, k_));
  }

  void increment(double dt) {
    load();
    nonlinear_shear();
    const Vec6 trial = m_.stiffness(e1_, e2_, working_damage(w_stat_, total_)) * elastic_;
    failure_measures(trial);
    damage_modes();
    stiffness_damage();
    corrections();
    const Vec6 stress = damped_stress(dt);
    b_.put_row(k_, stress);
    // Fibre failure deletes the element; transverse damage alone never does.
    if (b_.stateold(k_, s_status) != 0.0 && w_stat_[0] + w_stat_[1] >= 0.9 * (m_.wmax[0] + m_.wmax[1]))
      b_.statenew(k_, s_status) = 0.0;
    store();
    b_.energies(k_, stress, deps_, elastic_, b_.statenew(k_, s_status));
  }

 private:
  double state(int slot) const { return b_.stateold(k_, slot); }

  void load() {
    deps_ = b_.row(b_.straininc, k_);
    total_ = b_.state6(k_, s_strain) + deps_;
    inelastic_ = b_.state6(k_, s_inelastic);
    elastic_ = total_ - inelastic_;
    maxtau_ = b_.state6(k_, s_maxtau);
    for (int i = 0; i < 9; ++i) {
      w_stat_[i] = state(s_wstat + i);
      rs_old_[i] = state(s_rs + i);
      fail_[i] = state(s_effort + i);
    }
    reach_ = fail_;
    rs_ = rs_old_;
    taumax_ = {state(s_taumax), state(s_taumax + 1), state(s_taumax + 2)};
    dlim_.fill(1.0);
    e1_ = total_(1) > 0.0 ? m_.e11t : m_.e11c;
    e2_ = total_(2) > 0.0 ? m_.e22t : m_.e22c;
    c_ = m_.stiffness(e1_, e2_, Six{});
    for (int i = 0; i < 9; ++i) {
      const double l = b_.charlength(k_, length_column[i]);
      strainx1_[i] = at_least(2.0 * m_.gc[i] / (m_.strength[i] * l), 1.1 * m_.strainx0[i]);
    }
  }

  // The shear components 12, 23, 31 past their linear range: the stress
  // follows the law while it rises, and unloads elastically from the
  // largest stress reached, the rest of the strain becoming inelastic.
  void nonlinear_shear() {
    for (int j = 4; j <= 6; ++j) {
      const int n = j - 4;
      const double g = m_.g_ini, alpha = m_.alpha_sh, tmax = taumax_[n];
      const double s = elastic_(j) >= 0.0 ? 1.0 : -1.0;
      double tau = 0.0, c = 2.0 * g;
      if (m_.nls == 1 || m_.nls == 11) {  // exponential
        const double gamma = total_(j) - (tmax / c * s + inelastic_(j) - s * maxtau_(j));
        const double trial = c * gamma * std::exp(-2.0 * alpha * std::abs(gamma));
        if (std::abs(trial) >= std::abs(tmax)) maxtau_(j) = std::abs(gamma);
        taumax_[n] = std::max(std::abs(tmax), std::abs(trial));
        tau = std::min(std::abs(trial), std::abs(c * elastic_(j))) * s;
      } else if (m_.nls == 2 && w_stat_[n + 6] <= 0.0) {  // bilinear, until shear damage starts
        c = c_(j, j);  // 2·G·(g_ini/G): the law's 2G up to rounding
        const double sf = m_.shearfactor[n];
        const double trial = (total_(j) - (std::abs(tmax) / c * s + inelastic_(j) - tmax * sf / c * s)) * c / sf;
        taumax_[n] = std::max(std::abs(tmax), std::abs(trial));
        tau = std::min(std::abs(trial), std::abs(elastic_(j) * c)) * s;
      } else {
        continue;
      }
      elastic_(j) = tau / c;
      inelastic_(j) = total_(j) - elastic_(j);
    }
  }

  // What each mode's criterion measures (effort, effort6), and the strain
  // and stress of each mode for its onset values (deg_ctrl, s_ctrl).
  void failure_measures(const Vec6& trial) {
    const Vec6& e = elastic_;
    const auto split = [](const Vec6& v, Nine& out) {
      for (int d = 0; d < 3; ++d) out[2 * d] = std::max(v(d + 1), 0.0), out[2 * d + 1] = std::min(v(d + 1), 0.0);
    };
    if (m_.es == 1) {
      split(e, effort_);
      for (int n = 0; n < 3; ++n) effort_[6 + n] = std::min(std::abs(m_.xi[6 + n]), std::abs(e(4 + n)));
      effort6_ = e;
      deg_ctrl_ = effort_;
      split(trial, s_ctrl_);
    } else if (m_.es == 2) {
      split(trial, effort_);
      for (int n = 0; n < 3; ++n) effort_[6 + n] = trial(4 + n);
      effort6_ = trial;
      split(e, deg_ctrl_);
      s_ctrl_ = effort_;
    }
    for (int n = 0; n < 3; ++n) {
      deg_ctrl_[6 + n] = m_.es == 1 || m_.es == 2 ? e(4 + n) : 0.0;
      if (m_.es == 1) s_ctrl_[6 + n] = trial(4 + n);
    }
  }

  Onset onset_form() const {
    switch (m_.criterion) {
      case 1: case 5: return Onset::weighted;
      case 2: return Onset::scaling;
      default: return Onset::unweighted;
    }
  }

  // Partner weight of mode i in its criterion, onset and equivalent strain.
  double partner_weight(int i) const { return onset_form() == Onset::weighted ? std::sqrt(a_shear[i]) : 1.0; }

  // √(deg_ctrl(i)² + (w·deg_ctrl(sh1))² + (w·deg_ctrl(sh2))²), |deg_ctrl(i)|
  // for the shear modes and strain scaling.
  double equivalent_strain(int i) const {
    if (i >= 6 || onset_form() == Onset::scaling) return std::abs(deg_ctrl_[i]);
    const auto [nnc, sh1, sh2] = partners[i];
    const double w = partner_weight(i);
    return std::sqrt(deg_ctrl_[i] * deg_ctrl_[i] + std::pow(w * deg_ctrl_[sh1], 2) + std::pow(w * deg_ctrl_[sh2], 2));
  }

  // LaRC05 fibre effort with the allowables as in-situ strengths (order
  // xt11, xt22, xt33, xc11, xc22, xc33, x12, x13, x23).
  double fibre_criterion(int i) const {
    const Nine& xi = m_.xi;
    const double x_is[9] = {xi[0], xi[2], xi[4], xi[1], xi[3], xi[5], xi[6], xi[8], xi[7]};
    const double x_std = 70.0;
    const int fcl = 0;
    const Vec6& s = effort6_;
    const double s22 = s(2), s33 = s(3), s12 = s(4), s13 = s(6), s23 = s(5);
    double r = fail_[i];
    FBLaRC05_is(&r, &effort_[i], &s22, &s33, &s12, &s13, &s23, &xi[0], &xi[1], &xi[2], &x_std, &x_std, &m_.g12,
                &angle0, &angleinc, &golden, &fcl, x_is);
    return r;
  }

  // The fracture-plane effort of a transverse mode; the angle (degrees)
  // goes to slot 81 (tension) or 82 (compression) when the plane fails.
  double matrix_criterion(int i) {
    double r = fail_[i], phi = -1.0;
    const double* xi = m_.xi.data();
    const Vec6& s = effort6_;
    const double s22 = s(2), s33 = s(3), s12 = s(4), s13 = s(6), s23 = s(5);
    switch (m_.criterion) {
      case 3:
        MCrckLaRC05(&r, &s22, &s33, &s12, &s13, &s23, &xi[2], &xi[3], &xi[6], &angle0, &phi, &angleinc, &golden);
        break;
      case 4:
        MCrckCamanho(&r, &effort_[i], &s33, &s12, &s13, &s23, &xi[2], &xi[3], &xi[6], &xi[7], &phi, &angle0,
                     &angleinc, &golden);
        break;
      default:
        MCrckPuck(&r, &effort_[i], &s33, &s12, &s13, &s23, &xi[2], &xi[3], &xi[6], &phi, nullptr, &angleinc,
                  &golden, nullptr);
    }
    if (phi >= 0.0) b_.statenew(k_, s_angle + i - 2) = phi * 180.0 / std::numbers::pi;
    return r;
  }

  // A shear measure held at its onset strain (strain measure): the shear
  // strain beyond it still counts in the equivalent strain.
  bool capped(int n) const { return m_.es == 1 && n >= 6 && std::abs(deg_ctrl_[n]) > std::abs(m_.xi[n]); }

  // The failure effort of a mode not yet initiated, by the criterion set.
  // Under the strain measure a shear measure is held at its onset strain,
  // so the effort that decides onset stays at 1 however far the shear
  // strain goes; the onset strain is scaled by the effort of the strains
  // themselves (reach_), so that softening starts from the strain of the
  // onset and not from the current one.
  void evaluate(int i) {
    const int set = m_.criterion;
    if (set == 2) {
      if (effort_[i] != 0.0) fail_[i] = std::abs(effort_[i] / m_.xi[i]);
      reach_[i] = capped(i) ? std::abs(deg_ctrl_[i] / m_.xi[i]) : fail_[i];
      return;
    }
    // A transverse mode with no normal part of its own is driven by its
    // shear partners alone: it is evaluated as the tension mode, unless set
    // 6 evaluates the compression mode with the compressive part.
    const bool shear_driven = i == 2 && (set != 6 || effort_[3] == 0.0) &&
                              (effort_[partners[i].sh1] != 0.0 || effort_[partners[i].sh2] != 0.0);
    if (set != 1 && set != 5 && effort_[i] == 0.0 && !shear_driven) return;
    bool beyond_cap = false;
    double reach = 0.0;
    if (set == 1 || (set == 5 && i != 1)) {
      const auto [nnc, sh1, sh2] = partners[i];
      const double w = std::sqrt(a_shear[i]);
      const double s1 = w * effort_[sh1], s2 = w * effort_[sh2];
      GPQuadNominal(&fail_[i], &effort_[i], &s1, &s2, &m_.xi[i], &m_.xi[sh1], &m_.xi[sh2]);
      beyond_cap = w > 0.0 && (capped(sh1) || capped(sh2));
      if (beyond_cap) {
        const double e1 = w * deg_ctrl_[sh1], e2 = w * deg_ctrl_[sh2];
        GPQuadNominal(&reach, &effort_[i], &e1, &e2, &m_.xi[i], &m_.xi[sh1], &m_.xi[sh2]);
      }
    } else if (i <= 1) {
      fail_[i] = fibre_criterion(i);
    } else if (i == 2 || (i == 3 && set == 6)) {
      fail_[i] = matrix_criterion(i);
    }  // the other modes keep the effort they had
    if (i == 1 && set >= 3) {  // fibre compression: nominal below half the strength
      const double q = std::abs(effort_[1] / m_.xi[1]);
      fail_[1] = q < 0.5 ? q : std::max(q, fail_[1]);
    }
    reach_[i] = beyond_cap ? reach : fail_[i];
    b_.statenew(k_, s_effort + i) = fail_[i];
  }

  // Onset (once the effort reaches 1) and bilinear softening of each mode.
  void damage_modes() {
    const int set = m_.criterion;
    if (set < 1 || set > 6) return;
    const int evaluated = set == 2 ? 9 : set == 3 || set == 4 ? 3 : 6;
    const int evolving = set == 2 ? 9 : 6;
    const Onset form = onset_form();
    for (int i = 0; i < evolving; ++i) {
      if (i < evaluated && rs_old_[i] <= 0.0) evaluate(i);
      double e0 = 0.0, ef = 0.0;
      if (rs_old_[i] > 0.0) {
        e0 = state(s_onset_strain + i), ef = state(s_full_strain + i);
        set_crushing_limit(i, e0, ef);
      } else if (!(fail_[i] >= 1.0) || !onset(i, form, e0, ef)) {
        rs_[i] = 0.0;
        continue;
      }
      const double eps = equivalent_strain(i), none = 0.0;
      double d = 0.0;
      BiLinearEvolution(&eps, &e0, &none, &none, &none, &d, &ef);
      rs_[i] = irreversible(d, rs_old_[i]);
    }
  }

  // The weighted onset form (sets 1 and 5) limits the damage of a
  // compression mode at which its direction crushes.
  void set_crushing_limit(int i, double e0, double ef) {
    if (onset_form() != Onset::weighted || i % 2 == 0) return;
    const int j = partners[i].nnc;
    dlim_[j - 1] = crushing_limit(e0, ef, c_(j, j), m_.sigc_end[j - 1]);
  }

  // Onset strain e0 and full-damage strain ef of mode i at its failure
  // effort; false (nothing stored) while nothing strains the mode.
  bool onset(int i, Onset form, double& e0, double& ef) {
    const double scale = std::pow(reach_[i], 0.25);
    e0 = equivalent_strain(i) / scale;
    if (!(e0 > 0.0 && std::isfinite(e0))) return false;
    if (form == Onset::scaling) {
      ef = at_least(strainx1_[i] * m_.strainx0[i] / e0, 1.1 * e0);
    } else {
      const auto [nnc, sh1, sh2] = partners[i];
      const double w = partner_weight(i);
      const Nine& dc = deg_ctrl_;
      const Nine& sc = s_ctrl_;
      const double own = dc[i] * sc[i], p1 = w * dc[sh1] * sc[sh1], p2 = w * dc[sh2] * sc[sh2];
      const double s0 = (form == Onset::weighted ? std::abs(p1) + own + std::abs(p2) : p1 + own + p2) / e0;
      const double g = (w * m_.gc[sh1] * sc[sh1] * sc[sh1] + m_.gc[i] * sc[i] * sc[i] +
                        w * m_.gc[sh2] * sc[sh2] * sc[sh2]) / (s0 * s0);
      ef = at_least(2.0 * g / (std::abs(s0) * b_.charlength(k_, nnc)), 1.1 * e0);
      set_crushing_limit(i, e0, ef);
      b_.statenew(k_, s_onset_stress + i) = s0;
    }
    b_.statenew(k_, s_onset_strain + i) = e0;
    b_.statenew(k_, s_full_strain + i) = ef;
    return true;
  }

  void stiffness_damage() {
    if (m_.stiff_deg == 1) {
      const int accumulation = m_.dmgacc == 1;
      Mat6 unused;
      DegradationFromModes(rs_.data(), w_stat_.data(), &accumulation, unused.v.data(), nullptr, nullptr, nullptr);
    } else {
      w_stat_.fill(0.0);
    }
    const double zero = 0.0;
    for (int i = 0; i < 9; ++i) w_stat_[i] = fLimit(&w_stat_[i], &zero, &m_.wmax[i]);
    w_deg_ = working_damage(w_stat_, total_);
    for (int i = 0; i < 6; ++i) degrad_[i] = 1.0 - w_deg_[i];
  }

  // Crushed directions carry the compressive plateau sigc_end; a broken
  // fibre or cracked matrix keeps a permanent strain and half its stiffness
  // (fibres) or 0.8 of it in closing.
  void corrections() {
    if (m_.comp == 2) {
      for (int j = 1; j <= 3; ++j) {
        const int mode = 2 * j - 1;
        if (!(rs_[mode] > 0.0 && rs_[mode] >= dlim_[j - 1] && total_(j) < 0.0)) continue;
        const double keep = 1.0 - dlim_[j - 1];
        if (keep > 0.0)
          inelastic_(j) = std::max(std::min(inelastic_(j), total_(j) - m_.sigc_end[j - 1] / (c_(j, j) * keep)),
                                   -10.0 * m_.strainx0[mode]);
        elastic_(j) = total_(j) - inelastic_(j);
        degrad_[j - 1] = keep;
      }
    } else if (m_.comp == 1 && rs_[1] > 0.0 && rs_[1] >= dlim_[0] && total_(1) < 0.0) {
      maxtau_(1) = std::min(maxtau_(1), total_(1));
      const double c11 = c_(1, 1), delta = maxtau_(1) - total_(1);
      const double v = (m_.sigc_end[0] - delta * c11 / 10.0) / (elastic_(1) * c11);
      if (std::isfinite(v)) {
        w_deg_[0] = std::clamp(1.0 - v, 0.0, m_.wmax[1]);
        degrad_[0] = 1.0 - w_deg_[0];
      }
    }
    if (m_.perm != 1) return;
    if (rs_[0] >= 1.0) {
      inelastic_(1) = std::min(std::max(inelastic_(1), 0.9 * total_(1)), 30.0 * m_.strainx0[0]);
      const double e = total_(1) - inelastic_(1);
      elastic_(1) = std::max(e, 0.0) + std::min(0.5 * std::max(e, -m_.strainx0[1]), 0.0);
      if (elastic_(1) < 0.0) w_deg_[0] = 0.2, degrad_[0] = 0.8;
    }
    if (rs_[2] >= 1.0) {
      inelastic_(2) = std::min(std::max({inelastic_(2), 0.0, 0.8 * total_(2)}), 50.0 * m_.strainx0[2]);
      const double e = total_(2) - inelastic_(2);
      elastic_(2) = std::max(e, 0.0) + std::min(std::max(e, -0.75 * m_.strainx0[3]), 0.0);
      if (elastic_(2) < 0.0) degrad_[1] = 0.8;
    }
  }

  // The degraded stiffness times the elastic strain and the three
  // strain-rate damping terms: with r = Δε/dt, r2 = sign(r)·(|r| − 500)²
  // beyond 500 (its square capped at 2.5e7) and r3 = |r2|·r.
  Vec6 damped_stress(double dt) const {
    Six d;
    for (int i = 0; i < 6; ++i) d[i] = 1.0 - degrad_[i];
    Vec6 strain = elastic_;
    if (dt > 0.0) {
      for (int i = 1; i <= 6; ++i) {
        const double r = deps_(i) / dt, excess = std::abs(r) - 500.0;
        const double r2 = excess > 0.0 ? std::copysign(excess > 5000.0 ? 2.5e7 : excess * excess, r) : 0.0;
        strain(i) += m_.damp[0] * r + m_.damp[1] * r2 + m_.damp[2] * std::abs(r2) * r;
      }
    }
    return m_.stiffness(e1_, e2_, d) * strain;
  }

  void store() const {
    for (int i = 0; i < 9; ++i) {
      b_.statenew(k_, s_wstat + i) = w_stat_[i];
      b_.statenew(k_, s_rs + i) = rs_[i];
    }
    for (int j = 0; j < 3; ++j) b_.statenew(k_, s_taumax + j) = taumax_[j];
    b_.put_state6(k_, s_strain, total_);
    b_.put_state6(k_, s_inelastic, inelastic_);
    b_.put_state6(k_, s_maxtau, maxtau_);
  }

  const ep::Block& b_;
  const Material& m_;
  const int k_;
  Vec6 deps_{}, total_{}, inelastic_{}, elastic_{}, maxtau_{}, effort6_{};
  double e1_ = 0.0, e2_ = 0.0;
  Mat6 c_{};  // undamaged stiffness of the current moduli
  Nine w_stat_{}, rs_old_{}, rs_{}, fail_{}, strainx1_{}, effort_{}, deg_ctrl_{}, s_ctrl_{};
  Nine reach_{};  // the effort of the uncapped strains, which scales the onset strain
  std::array<double, 3> dlim_{};  // crushing limit of the compression mode of 11, 22, 33
  Six w_deg_{}, degrad_{};
  std::array<double, 3> taumax_{};
};

// The elastic answer of the short property forms: engineering stiffness c.
void elastic_point(const ep::Block& b, const Mat6& c, int k, bool first) {
  const Vec6 deps = b.row(b.straininc, k);
  if (first) return first_response(b, k, c * ep::engineering(deps));
  const Vec6 total = b.state6(k, s_strain) + deps;
  const Vec6 elastic = total - b.state6(k, s_inelastic);
  const Vec6 stress = c * ep::engineering(elastic);
  b.put_row(k, stress);
  b.put_state6(k, s_strain, total);
  b.energies(k, stress, deps, elastic, b.statenew(k, s_status));
}

}  // namespace

extern "C" {

void vumat_cartesian(const int* nblock, const int* ndir, const int* nshr, const int* nstatev, const int*,
                     const int* nprops, const int*, const double*, const double* totaltime, const double* dt,
                     const char*, const double*, const double* charlength, const double* props,
                     const double* density, const double* straininc, const double*, const double*, const double*,
                     const double*, const double*, const double* stressold, const double* stateold,
                     const double* enerinternold, const double* enerinelasold, const double*, const double*,
                     const double*, const double*, double* stressnew, double* statenew, double* enerinternnew,
                     double* enerinelasnew, std::size_t) {
  using tavrin::View;
  // The layout first, each extent alone: a refused one touches nothing.
  if (tavrin::toplevel::negative_block(*nblock)) return;
  if (*ndir != 3 || *nshr != 3) {
    const int dims[2] = {*ndir, *nshr};
    ep::refuse("vumat_cartesian", "needs ndir = 3 and nshr = 3", dims);
    return;
  }
  const int n = *nblock, ntens = 6, nsv = *nstatev;
  const ep::Block b{"vumat_cartesian", n, ntens, nsv, View<const double, 2>(charlength, n, 3),
                    View<const double, 2>(straininc, n, ntens), View<const double, 2>(stressold, n, ntens),
                    View<const double, 2>(stateold, n, nsv), View<double, 2>(stressnew, n, ntens),
                    View<double, 2>(statenew, n, nsv), density, enerinternold, enerinelasold, enerinternnew,
                    enerinelasnew};
  if (nsv < nstate) {
    b.refuse("needs 82 state variables", std::span<const int>(nstatev, 1));
    return b.keep_block();
  }
  const ep::PropertyForm form = ep::property_form(b, *nprops, nfull);
  std::optional<ep::ElasticForm> elastic;
  std::optional<Material> m;
  if (form == ep::PropertyForm::elastic) elastic = ep::elastic_form(b, props, *nprops, false);
  if (form == ep::PropertyForm::full) m = material(b, props);
  if (!elastic && !m) return b.keep_block();

  std::copy_n(stateold, std::size_t(n) * std::size_t(nsv), statenew);
  const bool first = *totaltime == 0.0;
  for (int k = 1; k <= n; ++k) {
    if (!ep::point_accepted(b, k, m.has_value())) {
      b.keep_point(k);
    } else if (elastic) {
      elastic_point(b, elastic->stiffness, k, first);
    } else if (first) {
      Point(b, *m, k).first_call();
    } else {
      Point(b, *m, k).increment(*dt);
    }
  }
}
}
