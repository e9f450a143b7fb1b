#include "failure/fatigue.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>
#include <string_view>

#include "failure/gpcollection.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/list_record.hpp"
#include "foundation/shared_state.hpp"
#include "mechanics/stress_measures.hpp"

namespace {

constexpr double huge = std::numeric_limits<double>::max();
constexpr double log10_4 = 0.6020599913279624;
constexpr int set_size = 74;

template <class T>
void trace_line(bool on, std::string_view label, T value) {
  if (!on) return;
  tavrin::io::ListRecord rec;
  rec << label << value;
  rec.write(6);
}

}  // namespace

extern "C" {

void GetShokriehProperties(const double* props, const int* nprops, const double* temp, double* eprops,
                           double* xfprops, double* epsfprops, double* alpha_t, double* alpha_c, double* beta_t,
                           double* beta_c, double* lambda, double* gamma, double* a, double* b, double* u,
                           double* v, double* eta, double* degr_fac) {
  if (*nprops < 150) {
    tavrin::xerr(-2, "GetShokriehProperties needs at least 150 properties", std::span<const int>(nprops, 1));
    return;
  }
  const bool partial_laws = *nprops > 150 && *nprops < 159;
  if (partial_laws)
    tavrin::xerr(-2, "GetShokriehProperties: temperature laws need 159 properties", std::span<const int>(nprops, 1));
  const double t = *temp;
  *degr_fac = props[149];
  // Lower- and upper-temperature sets; the reference set stays props(1..74).
  const double* ref = props;
  const double* low = props;
  const double* up = props + set_size;
  double t_low = props[73], t_up = props[147];
  if (!(t_up > t_low)) {
    std::swap(low, up);
    std::swap(t_low, t_up);
  }
  std::array<double, set_size> p;
  if (t < t_low || (t == t_low && t_up == t_low)) {
    std::copy(low, low + set_size, p.begin());
  } else if (t > t_up) {
    std::copy(up, up + set_size, p.begin());
  } else {
    for (int k = 0; k < set_size; ++k) p[k] = low[k] + (up[k] - low[k]) / (t_up - t_low) * (t - t_low);
  }
  if (*nprops >= 159) {
    const double* q = props + 150;  // q[0] = P151 ... q[8] = P159
    const double dt = t - 273.15, t_ref = q[4] - 273.15;
    // Matrix-dominated moduli: quadratic below 293 K, saturating above.
    const double c = 394.0225000000009 * q[0] + 19.850000000000023 * q[1] + q[2];
    for (int k = 1; k < 6; ++k) {
      if (t <= q[3])
        p[k] = low[k];
      else if (t < 293.0)
        p[k] = (q[0] * dt * dt + q[1] * dt + q[2]) * ref[k];
      else
        p[k] = (c - (c - q[5]) * std::exp(-std::pow(dt / t_ref, q[6]))) * ref[k];
    }
    if (t <= t_low)
      p[0] = low[0];
    else if (t <= 293.0)
      p[0] = t_up == t_low ? low[0] : low[0] + (up[0] - low[0]) / (t_up - t_low) * (t - t_low);
    else
      p[0] = (1.0 - (1.0 - q[7]) * std::exp(-std::pow(dt / t_ref, q[8]))) * ref[0];
  }
  // p is 0-based: set entry k is p[k - 1].
  std::copy(p.begin(), p.begin() + 9, eprops);
  const double xf[9] = {p[9], -std::abs(p[12]), p[10], -std::abs(p[13]), p[11], -std::abs(p[14]),
                        p[15], p[16], p[17]};
  std::copy(xf, xf + 9, xfprops);
  const int modulus_of[9] = {0, 0, 1, 1, 2, 2, 3, 4, 5};
  for (int k = 0; k < 9; ++k) epsfprops[k] = xf[k] / p[modulus_of[k]];
  for (int k = 0; k < 3; ++k) {
    alpha_t[k] = p[18 + 2 * k];
    alpha_c[k] = p[19 + 2 * k];
    beta_t[k] = p[27 + 2 * k];
    beta_c[k] = p[28 + 2 * k];
    alpha_t[3 + k] = alpha_c[3 + k] = p[24 + k];
    beta_t[3 + k] = beta_c[3 + k] = p[33 + k];
  }
  for (int k = 0; k < 6; ++k) {
    lambda[k] = p[36 + k];
    gamma[k] = p[42 + k];
    a[k] = p[48 + 2 * k];
    b[k] = p[49 + 2 * k];
    u[k] = p[61 + k];
    v[k] = p[67 + k];
  }
  *eta = p[60];
}

void GetEquivalentFatigueStress(const double* stress, const double* xt, const double* xc, const double* np,
                                double* eq_stress) {
  const double r = std::abs(*xc / *xt);
  const double i1 = stress[0] + stress[1] + stress[2];
  const int six = 6;
  const double svm = GetMisesStress(stress, &six);
  double d = 0.0, di1 = 0.0, dmises = 0.0, i1cr = 0.0, misescr = 0.0, life = 0.0;
  GPHa(stress, xt, xc, np, &d, &di1, &dmises, &i1cr, &misescr, &life);
  const double root = std::sqrt(4.0 * r * svm * svm + i1 * i1 * (r - 1.0) * (r - 1.0));
  if (di1 / dmises >= -0.05)
    *eq_stress = (r - 1.0) / (2.0 * r) * i1 + root / (2.0 * r);
  else
    *eq_stress = -0.5 * (r - 1.0) * i1 - 0.5 * root;
}

void GetFatigueLife(const double* eq_min, const double* eq_max, const double* a_woehler, const double* exp_woehler,
                    const double* /*alpha*/, const double* dn, const int* noel, double* nf, double* life) {
  tavrin::c_boundary(__func__, [&] {
    auto& r_crit = tavrin::materialdata::r_crit;
    if (!r_crit.allocated() || r_crit.size() < 1) {
      tavrin::xerr(-2, "GetFatigueLife: the critical stress ratio r_crit is not set");
      return;
    }
    const bool debug = *noel == tavrin::debugdata::edebug;
    const double r = r_crit(1);
    // 1/m_crit = (1 + R)/(1 - R): finite for R = -1 (m_crit infinite).
    const double inv_m = (1.0 + r) / (1.0 - r);
    const double eq_a = (*eq_max - *eq_min) / 2.0, eq_m = (*eq_max + *eq_min) / 2.0;
    trace_line(debug, "R_crit", r);
    trace_line(debug, "eq_min", *eq_min);
    trace_line(debug, "eq_max", *eq_max);
    trace_line(debug, "eq_m", eq_m);
    trace_line(debug, "eq_a", eq_a);
    trace_line(debug, "m_crit", 1.0 / inv_m);
    const double ratio = eq_a / eq_m;
    double f;
    if (eq_m == 0.0 || ratio >= 0.0 || std::abs(eq_a * inv_m) >= std::abs(eq_m))
      f = eq_a / (eq_a * inv_m + 1.0 - eq_m);
    else
      f = std::abs(r) * eq_a / (eq_m + std::abs(r) - eq_a * inv_m);
    *nf = std::pow(f / *a_woehler, 1.0 / *exp_woehler);
    trace_line(debug, "f", f);
    trace_line(debug, "Nf", *nf);
    const double step = double(float(*dn)) / *nf;
    *life = std::min(std::max(*life, *life + step), 1.0);
  });
}

void CycleCount(double* njimp, double* n, const double* maxcycle, const double* time, const double* time_calc,
                const double* time_period, const double* njimp_min, const double* /*njimp_max*/,
                const double* njimp_zul, const int* ncycles, const int* /*nmaxcycles*/, const int* istep,
                const int* nstep, const int* jumpalgo, const int* stepflag) {
  tavrin::c_boundary(__func__, [&] {
    const auto& cycles = tavrin::shokriehdata::cycles;
    const bool debug = tavrin::debugdata::edebug == 1;
    trace_line(debug, "StepFlag", *stepflag);
    if (*stepflag != 1) {
      *n = 1.0;
      *njimp = 1.0;
      return;
    }
    const bool table = cycles.allocated() && cycles.size(1) > 0 && cycles.size(2) > 0;
    trace_line(debug, "Allocated cycles?", table);
    trace_line(debug, "jumpAlgo", *jumpalgo);
    // An entry of the cycle table with its indices held inside the table.
    const auto entry = [&](int row, int step) {
      return cycles(std::clamp(row, 1, cycles.size(1)), std::clamp(step, 1, cycles.size(2)));
    };
    const auto no_table = [&] {
      tavrin::xerr(-2, "CycleCount: the cycle table is not allocated", std::span<const int>(jumpalgo, 1));
      *njimp = 0.0;
    };
    switch (*jumpalgo) {
      case 1:
        *njimp = *njimp_min;
        break;
      case 2: {
        const double l = std::log(*maxcycle) / (*time_calc - *time_period);
        *njimp = std::max(std::round(std::exp(*time * l)) - std::round(std::exp((*time - *time_period) * l)), 1.0);
        break;
      }
      case 3: {
        if (!table) {
          no_table();
          break;
        }
        // Row of the step time (nearest integer, in single precision), counted
        // in reals so that no time or period overflows an integer.
        double k = std::floor(double(float(std::round(*time))) / *time_period) + 1.0;
        if (!(k >= 1.0)) k = 1.0;
        const auto row = [&](double r) { return int(std::min(r, double(cycles.size(1)))); };
        if (*ncycles >= k)
          *njimp = entry(row(k), *istep) - *n;
        else if (*nstep > *istep)
          *njimp = entry(1, *istep + 1) - *n;
        else
          *njimp = entry(row(k - 1.0), *istep) - *n;
        break;
      }
      case 4: {
        trace_line(debug, "njimp_zul", *njimp_zul);
        *njimp = *njimp_zul == huge ? 0.0 : std::trunc(*njimp_zul) + 1.0;
        if (table) {
          double next = huge;  // the nearest cycle of the table beyond n
          for (const double c : cycles)
            if (c > *n) next = std::min(next, c);
          trace_line(debug, "n_individual", next);
          trace_line(debug, "n_individual-n", next - *n);
          trace_line(debug, "n+njimp", *n + *njimp);
          if (*n + *njimp > next) *njimp = next - *n;
        }
        if (*n + *njimp >= *maxcycle) *njimp = *maxcycle - *n;
        break;
      }
      case 5: {
        if (!table) {
          no_table();
          break;
        }
        const double target = entry(1, *istep);
        trace_line(debug, "allocated Cycles", target);
        *njimp = *n == target ? 0.0 : target - *n;
        break;
      }
      default:
        tavrin::xerr(-2, "Unknown cycle jump flag in CycleCount", std::span<const int>(jumpalgo, 1));
    }
    trace_line(debug, "njimp", *njimp);
    *n += *njimp;
    trace_line(debug, "nNew in CycleCount", *n);
    trace_line(debug, "cycle jump for this block is ", *njimp);
    trace_line(debug, "new cycle number", *n);
  });
}

void AllowableCycleJump(const double* speak, double* sbottom, const double* ft, const double* fc, const double* f0,
                        const double* e0, const double* eps_f, const double* a, const double* b, const double* u,
                        const double* v, const double* nm, double* cjimp, const double* alpha, const double* beta,
                        const double* gamma, const double* lambda, const double* x_n, const double* e_n,
                        const double* /*de*/, const double* df, const double* degr_fac, const double* njimp_dtol) {
  if (*df == *degr_fac) {
    *cjimp = 1e8;
    return;
  }
  if (*sbottom == 0.0) *sbottom = 1e-8;
  const double s_o = std::max(*speak, *sbottom), s_u = std::min(*speak, *sbottom);
  const double q = s_u / s_o, s_a = (1.0 - q) * s_o / 2.0, s_m = (1.0 + q) * s_o / 2.0;
  const double s_max = std::max(std::abs(s_a + s_m), std::abs(s_m - s_a));
  double log_nf;
  if (*speak < 1.0) {
    log_nf = std::log10(*a * std::pow(1e8, *b) / *a) / *b;
  } else {
    const double kappa = (s_a / *ft) / (std::pow(1.0 - s_m / *ft, *u) * std::pow(std::abs(*fc) / *ft + s_m / *ft, *v));
    // The life curve f = a·Nf^b taken at most to a·10^b (Nf ≥ 10 for b < 0).
    log_nf = std::log10(std::min(*a * std::pow(10.0, *b), kappa) / *a) / *b;
  }
  const double nf = std::min(std::pow(10.0, log_nf), huge);
  const auto bound = [&](double target, double floor, double top, double ex_alpha, double ex_beta) {
    const double base = (*njimp_dtol * target - floor) / (top - floor);
    return std::pow(10.0, std::pow(1.0 - std::pow(base, ex_alpha), 1.0 / ex_beta) * (log_nf + log10_4) - log10_4);
  };
  const double n_s = bound(*x_n, s_max, *f0, *alpha, *beta);
  const double s_e = s_max / *eps_f;
  const double n_e = bound(*e_n, s_e, *e0, *gamma, *lambda);
  const double allowed = std::isnan(n_s) ? n_e : std::min(n_s, n_e);
  *cjimp = allowed - std::max(1.0, nf * *nm);
}
}
