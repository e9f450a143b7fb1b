// The progressive ply fatigue model: residual stiffness and strength
// fractions that fall with the load cycles (gradual degradation at each
// cycle bottom), sudden degradation on fibre or matrix failure within a
// cycle, and cycle jumps between evaluated cycles.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string_view>

#include "failure/degradation.hpp"
#include "failure/fatigue.hpp"
#include "failure/gpcollection.hpp"
#include "failure/mccollection.hpp"
#include "foundation/boundary.hpp"
#include "foundation/list_record.hpp"
#include "foundation/shared_state.hpp"
#include "mechanics/ply_stiffness.hpp"

namespace {

constexpr double huge = std::numeric_limits<double>::max();
constexpr int nstate = 77;

using Six = std::array<double, 6>;
using Nine = std::array<double, 9>;

// Strength entries (0-based in xfprops) of the tension and compression
// strength of each solver component 11, 22, 33, 12, 13, 23.
constexpr std::array<int, 6> tension_entry{0, 2, 4, 6, 7, 8};
constexpr std::array<int, 6> compression_entry{1, 3, 5, 6, 7, 8};
// Law selector of the nonlinear secant fit per modulus (shear moduli G12, G13 nonlinear).
constexpr std::array<int, 6> cfmethods{0, 0, 0, 1, 1, 0};
constexpr double ttol[2] = {1.0, 1.0};

// 0-based offsets of the state vector's blocks.
enum Slot : int {
  s_cycle = 0, s_fibre = 1, s_matrix = 2, s_theta = 3, s_strength = 4, s_modulus = 13, s_peak_t = 19,
  s_bottom_t = 25, s_peak_c = 31, s_bottom_c = 37, s_jump = 43, s_fibre_flag = 44, s_matrix_flag = 45,
  s_nm = 46, s_stress = 52, s_de = 58, s_df = 64, s_tmin = 73, s_tmax = 74, s_tmean = 75, s_life = 76
};

class Trace {
 public:
  explicit Trace(bool on) : on_(on) {}
  void line(std::string_view label) const {
    if (!on_) return;
    tavrin::io::ListRecord rec;
    rec << label;
    rec.write(6);
  }
  template <class... T>
  void line(std::string_view label, const T&... values) const {
    if (!on_) return;
    tavrin::io::ListRecord rec;
    rec << label;
    (rec << ... << values);
    rec.write(6);
  }
  template <std::size_t N>
  void vec(std::string_view label, const std::array<double, N>& v) const {
    if (!on_) return;
    tavrin::io::ListRecord rec;
    rec << label;
    for (const double x : v) rec << x;
    rec.write(6);
  }

 private:
  bool on_;
};

// The cycle settings of a step: row r of shokriehdata::cycleprops(:, step),
// 0.0 for a row the table does not hold.
struct CycleSettings {
  bool fatigue = false;
  int algorithm = 0, ncycles = 0, nmaxcycles = 0;
  long period_ms = 0;  // lround(1000·period): cycle ends are found in thousandths of a period
  double period = 0.0, calculation = 0.0, njimp_min = 0.0, njimp_max = 0.0, maxcycle = 0.0, lim = 0.1;

  explicit CycleSettings(int step) {
    const auto& cp = tavrin::shokriehdata::cycleprops;
    if (!cp.allocated() || step < 1 || step > cp.size(2)) return;
    const int rows = cp.size(1);
    const auto row = [&](int r) { return r <= rows ? cp(r, step) : 0.0; };
    algorithm = int(std::lround(std::clamp(row(3), -1e9, 1e9)));
    period = row(4);
    calculation = row(5);
    ncycles = period != 0.0 ? int(std::lround(std::clamp(calculation / period, -1e9, 1e9))) : 0;
    nmaxcycles = int(std::lround(std::clamp(row(6), -1e9, 1e9)));
    njimp_min = row(7);
    njimp_max = row(8);
    maxcycle = row(10);
    if (algorithm == 4 && rows >= 11) lim = row(11);
    const double ms = 1000.0 * period;
    period_ms = std::isfinite(ms) ? std::lround(std::clamp(ms, -1e15, 1e15)) : 0;
    fatigue = row(2) == 1.0 && period_ms >= 1;
  }
  // Whether the step time t (to a thousandth of the period) is a whole number of periods.
  bool on_period(double t) const {
    const double ms = 1000.0 * t;
    if (!std::isfinite(ms) || std::abs(ms) > 1e15) return false;
    return std::lround(ms) % period_ms == 0;
  }
};

// The fatigue properties of GetShokriehProperties.
struct Properties {
  Nine e{}, xf{}, epsf{};
  Six alpha_t{}, alpha_c{}, beta_t{}, beta_c{}, lambda{}, gamma{}, a{}, b{}, u{}, v{};
  double eta = 0.0, degr_fac = 0.0;

  Properties(const double* props, const int* nprops, double temp) {
    GetShokriehProperties(props, nprops, &temp, e.data(), xf.data(), epsf.data(), alpha_t.data(), alpha_c.data(),
                          beta_t.data(), beta_c.data(), lambda.data(), gamma.data(), a.data(), b.data(), u.data(),
                          v.data(), &eta, &degr_fac);
  }
};

double smallest_number(const Six& x) {
  double m = huge;
  for (const double v : x)
    if (!std::isnan(v)) m = std::min(m, v);
  return m;
}

}  // namespace

extern "C" {

void GetShokrieh(double* stress, double* ddsdde, double* statev, const double* stran, const double* dstran,
                 const double* props, const double* time, const double* dtime, const double* temp,
                 const double* dtemp, const int* nprops, const int* noel, const int* kstep, const int* kinc,
                 const int* iszflag, const int* idcflag, double* statev_backup) {
  tavrin::c_boundary(__func__, [&] {
    const Trace trace(*noel == tavrin::debugdata::edebug);
    trace.line(" ********************************************************");
    trace.line(" ---------------- START Shokrieh  ----------------");
    trace.line(" ********************************************************");
    const Six old_stress{stress[0], stress[1], stress[2], stress[3], stress[4], stress[5]};
    const double temperature = *temp + *dtemp;
    const CycleSettings cs(kstep[0]);
    const int count_flag = cs.fatigue ? 1 : 0;
    trace.line(" -- iDCFlag ", *idcflag);
    trace.line(" -- Time ", time[0]);
    trace.line(" -- Time + dtime", time[0] + *dtime);
    trace.line(" -- Temp", *temp);
    trace.line(" -- Increment ", *kinc);
    trace.line(" -- isFatigue", count_flag);
    trace.line(" -- Time step ", time[0]);
    trace.line(" -- Time total", time[1]);
    trace.line(" -- Step No.", kstep[0]);
    trace.line(" -- Time_Periode ", cs.period);
    trace.line(" -- Time_Calculation ", cs.calculation);
    trace.line(" -- nCyles", cs.ncycles);

    const Properties p(props, nprops, temperature);
    if (*nprops < 150) {  // no property set (latched by GetShokriehProperties): stress and state kept
      std::fill(ddsdde, ddsdde + 36, 0.0);
      return;
    }

    // The jump of cycle-jump algorithm `algorithm` with the allowed jump zul; n advances by it.
    const auto count = [&](int algorithm, double zul, double& cycle) {
      const int nstep = tavrin::jobdata::nsteps;
      double jump = 0.0;
      CycleCount(&jump, &cycle, &cs.maxcycle, &time[0], &cs.calculation, &cs.period, &cs.njimp_min, &cs.njimp_max, &zul,
                 &cs.ncycles, &cs.nmaxcycles, &kstep[0], &nstep, &algorithm, &count_flag);
      return jump;
    };

    // The cycle number of a step's first increment comes from the cycle table;
    // a first increment computed again restores the state of its cycle.
    if (*idcflag == 1 && *kinc == 1) {
      trace.line("Cycle number from initial statv", statev[s_cycle]);
      double n = statev[s_cycle];
      count(5, huge, n);
      trace.line("Cycle number from msg-file", n);
      if (n > statev[s_cycle]) {
        trace.line(" set new cycle number");
        statev[s_jump] = n - statev[s_cycle];
        statev[s_cycle] = n;
        std::copy(statev, statev + nstate, statev_backup);
      } else {
        trace.line("this is the same cycle again");
        std::copy(statev_backup, statev_backup + nstate, statev);
      }
    }
    double n = statev[s_cycle];

    Six peak_t, bottom_t, peak_c, bottom_c, nm, de;
    Nine df;
    const auto load = [&](Six& x, int at) { std::copy(statev + at, statev + at + 6, x.begin()); };
    load(peak_t, s_peak_t);
    load(bottom_t, s_bottom_t);
    load(peak_c, s_peak_c);
    load(bottom_c, s_bottom_c);
    load(nm, s_nm);
    load(de, s_de);
    std::copy(statev + s_df, statev + s_df + 9, df.begin());
    if (*kinc == 1) statev[s_tmin] = statev[s_tmax] = *temp;

    // Current moduli (E11 .. G23, ν12, ν13, ν23) and strengths.
    Nine moduli, strengths;
    const auto current = [&] {
      for (int i = 0; i < 6; ++i) moduli[i] = p.e[i] * de[i];
      moduli[6] = p.e[6] * de[0];
      moduli[7] = p.e[7] * de[0];
      moduli[8] = p.e[8] * de[1];
      for (int i = 0; i < 9; ++i) strengths[i] = p.xf[i] * df[i];
    };
    current();

    double eta = (p.degr_fac >= de[3] && de[3] < 1.0) ? 0.0 : p.eta;
    // The secant moduli of the nonlinear laws and the stiffness they give.
    const auto stiffness = [&] {
      Nine fitted = moduli;
      for (int i = 0; i < 6; ++i) {
        const int method = de[i] <= p.degr_fac ? cfmethods[0] : cfmethods[i];
        fitted[i] = GetMatParamByCurveFitting(&moduli[i], &eta, &old_stress[i], &stran[i], &dstran[i], &method);
      }
      // Ply order E11, E22, E33, ν12, ν13, ν23, G12, G13, G23.
      const Nine nye{fitted[0], fitted[1], fitted[2], fitted[6], fitted[7], fitted[8], fitted[3], fitted[4], fitted[5]};
      const int ntens = 6;
      GetNyeStiffnessMatrix(ddsdde, nye.data(), &ntens, iszflag);
    };
    const auto stress_update = [&] {
      stiffness();
      const int ndi = 3, ntens = 6, secant = 1, tensor = 0;
      GetStressVector(stress, ddsdde, stran, dstran, &ndi, &ntens, &secant, &tensor);
      std::copy(stress, stress + 6, statev + s_stress);
    };
    stress_update();
    trace.line(" -- Strain ", stran[0], stran[1], stran[2], stran[3], stran[4], stran[5]);
    trace.vec(" -- Stress last ink", old_stress);

    // Failure indices of this cycle: the larger of old and new, at most 1.
    double r_fibre = 0.0, r_matrix = 0.0;
    GPMaxNominal(&r_fibre, &stress[0], &strengths[0], &strengths[1]);
    const double sainc = 1.0;
    MCrckPuck(&r_matrix, &stress[1], &stress[2], &stress[3], &stress[4], &stress[5], &strengths[2], &strengths[3],
              &strengths[6], &statev[s_theta], nullptr, &sainc, nullptr, nullptr);
    statev[s_fibre] = std::min(std::max(statev[s_fibre], r_fibre), 1.0);
    statev[s_matrix] = std::min(std::max(statev[s_matrix], r_matrix), 1.0);

    // Sudden degradation: the fractions are taken against the undamaged properties.
    const auto sudden = [&] {
      Nine pe = p.e, ps = p.xf;
      double g_f = statev[s_fibre], g_m = statev[s_matrix];
      SuddenDegradation(moduli.data(), strengths.data(), pe.data(), ps.data(), de.data(), df.data(), &g_f, &g_m, ttol,
                        &p.degr_fac, nm.data());
    };
    trace.line("Sudden degradation static within cycle");
    sudden();
    if (statev[s_fibre] >= 1.0) statev[s_fibre_flag] = 1.0;
    if (statev[s_matrix] >= 1.0) statev[s_matrix_flag] = 1.0;
    trace.line("-- Fibre failure flag STAEV46(45)", statev[s_fibre_flag]);
    trace.line("-- Matrix failure flag STAEV46(46)", statev[s_matrix_flag]);
    const double largest = std::max(statev[s_fibre], statev[s_matrix]);
    if (largest == 1.0 && p.degr_fac < 1.0) eta = 0.0;
    if (largest >= 1.0) stress_update();

    // Peak and bottom of the cycle against the undamaged strengths.
    trace.line("Save peak / bottom stresses");
    for (int i = 0; i < 6; ++i) {
      const double r = stress[i] / p.xf[tension_entry[i]];
      const double c = std::abs(stress[i] / p.xf[compression_entry[i]]);
      peak_t[i] = std::max(peak_t[i], r);
      bottom_t[i] = std::min(bottom_t[i], r);
      peak_c[i] = std::max(peak_c[i], c);
      bottom_c[i] = std::min(bottom_c[i], c);
    }
    statev[s_tmin] = std::min(statev[s_tmin], temperature);
    statev[s_tmax] = std::max(statev[s_tmax], temperature);
    trace.line("Saved temperature values", statev[s_tmin], statev[s_tmax]);

    const auto write_back = [&] {
      const auto store = [&](const Six& x, int at) { std::copy(x.begin(), x.end(), statev + at); };
      statev[s_cycle] = n;
      std::copy(strengths.begin(), strengths.end(), statev + s_strength);
      std::copy(moduli.begin(), moduli.begin() + 6, statev + s_modulus);
      store(peak_t, s_peak_t);
      store(bottom_t, s_bottom_t);
      store(peak_c, s_peak_c);
      store(bottom_c, s_bottom_c);
      store(nm, s_nm);
      store(de, s_de);
      std::copy(df.begin(), df.end(), statev + s_df);
    };
    if (count_flag != 1) {
      write_back();
      return;
    }

    trace.line("Bottom of cycle?");
    const double t = time[0] + *dtime;
    const bool bottom = t >= 0.5 * cs.period && cs.on_period(t - cs.period);
    trace.line(" -- Time_Bottom  ", t, bottom);
    if (bottom) {
      statev[s_tmean] = 0.5 * (statev[s_tmin] + statev[s_tmax]);
      const bool fibre_failed = statev[s_fibre] >= 1.0 || statev[s_fibre_flag] == 1.0;
      const Properties pm(props, nprops, statev[s_tmean]);
      Six nf;
      nf.fill(std::numeric_limits<double>::quiet_NaN());
      if (!fibre_failed) {
        trace.line("Apply degradation within cycle");
        const int dmgflag = 2;
        for (int i = 0; i < 6; ++i) {
          const int it = tension_entry[i], ic = compression_entry[i];
          const double xct = std::abs(pm.xf[ic]) / pm.xf[it];
          const int shear = i >= 3 ? 1 : 0;
          double df_t = df[it], df_c = df[ic], cjimp = statev[s_jump];
          GradualDegradation(&peak_t[i], &bottom_t[i], &peak_c[i], &bottom_c[i], &xct, &pm.a[i], &pm.b[i], &pm.u[i],
                             &pm.v[i], &nm[i], &n, &cjimp, &pm.alpha_t[i], &pm.beta_t[i], &pm.alpha_c[i],
                             &pm.beta_c[i], &pm.gamma[i], &pm.lambda[i], &de[i], &df_t, &df_c, &p.degr_fac, &dmgflag,
                             &shear, noel, &nf[i], &cs.lim);
          // A shear strength is its own tension and compression entry.
          df[it] = it == ic ? std::min(df_t, df_c) : df_t;
          df[ic] = it == ic ? df[it] : df_c;
        }
        current();
      }
      trace.line("Apply sudden cyclic degradation");
      sudden();
      sudden();
      if (statev[s_fibre] == 1.0) nf[0] = huge;
      if (statev[s_matrix] == 1.0) std::fill(nf.begin() + 1, nf.end(), huge);
      statev[s_life] = smallest_number(nf);
      if (statev[s_fibre] >= 1.0 || nm[0] >= 1.0) statev[s_fibre_flag] = 1.0;
      if (statev[s_matrix] >= 1.0 || std::any_of(nm.begin() + 1, nm.end(), [](double x) { return x >= 1.0; }))
        statev[s_matrix_flag] = 1.0;

      // The jump to the next evaluated cycle.
      if (cs.algorithm == 6) {
        Six allowed;
        const double one = 1.0, dtol = 0.9;
        for (int i = 0; i < 6; ++i) {
          const int it = tension_entry[i], ic = compression_entry[i];
          const double fc = std::abs(pm.xf[ic]) / pm.xf[it];
          const bool tension = std::abs(bottom_c[i]) <= std::abs(peak_t[i]);
          double sbottom = tension ? bottom_t[i] : bottom_c[i];
          AllowableCycleJump(tension ? &peak_t[i] : &peak_c[i], &sbottom, &one, &fc, &one, &one, &one, &pm.a[i],
                             &pm.b[i], &pm.u[i], &pm.v[i], &nm[i], &allowed[i],
                             tension ? &pm.alpha_t[i] : &pm.alpha_c[i], tension ? &pm.beta_t[i] : &pm.beta_c[i],
                             &pm.gamma[i], &pm.lambda[i], tension ? &df[it] : &df[ic], &de[i], &de[i],
                             tension ? &df[it] : &df[ic], &p.degr_fac, &dtol);
        }
        statev[s_life] = smallest_number(allowed);
      }
      // Algorithm 6 bounds its allowed jump by the cycle table and the last
      // cycle (CycleCount's algorithm 4); 4, 5 and 7 jump at the period end or
      // at the step's first increment.  n itself advances at the first
      // increment of the next cycle block.
      if (cs.algorithm != 4 && cs.algorithm != 5 && cs.algorithm != 7) {
        double n_next = n;
        statev[s_jump] = count(cs.algorithm == 6 ? 4 : cs.algorithm, std::min(statev[s_life], statev[s_jump]), n_next);
      }
      trace.line(" -- Cycle No. next cycle", n);
      trace.line(" -- Cycle jump parameter", statev[s_jump]);
      stiffness();
    }

    if (cs.on_period(time[0]) && time[1] != 0.0) {
      if (cs.algorithm == 4) {
        statev[s_jump] = count(4, tavrin::shokriehdata::dnfshok, n);
      } else if (cs.algorithm == 7) {
        statev[s_jump] = std::ceil(tavrin::shokriehdata::dnfshok);
        n += statev[s_jump];
      }
    }
    trace.line("Stress Update Ende");
    trace.line("Update State variables");
    write_back();
    if (bottom && time[1] > 0.5) {
      for (int at : {s_peak_t, s_peak_c}) std::fill(statev + at, statev + at + 6, 0.0);
      for (int at : {s_bottom_t, s_bottom_c}) std::fill(statev + at, statev + at + 6, huge);
      statev[s_tmin] = statev[s_tmax] = temperature;
    }
    trace.line("New tangent matrix ");
  });
}
}
