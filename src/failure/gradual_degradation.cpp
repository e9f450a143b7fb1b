// Gradual fatigue degradation of a ply's residual stiffness and strengths
// along power-law curves in the logarithm of the cycle count.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "failure/degradation.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/list_record.hpp"
#include "foundation/shared_state.hpp"

namespace {

constexpr double huge = std::numeric_limits<double>::max();
constexpr double log10_4 = 0.6020599913279624;
constexpr double log10_huge = 308.25471555991675;

// Debug lines of the element selected for debug output.
struct Trace {
  bool on;
  void operator()(std::string_view label) const {
    if (!on) return;
    tavrin::io::ListRecord rec;
    rec << label;
    rec.write(6);
  }
  template <class T>
  void operator()(std::string_view label, T value) const {
    if (!on) return;
    tavrin::io::ListRecord rec;
    rec << label << value;
    rec.write(6);
  }
};

// One degradation curve of the normalised life: with r(N) = (log10 N +
// log10 4)/L, g(N) = (1 - r^β)^(1/α)·(1 - s) + s, and its inverse, the
// exponent log10 N at which the curve reaches g (a base below 0 counts 0).
struct Curve {
  double big_l;  // log10 Nf + log10 4
  double value(double n, double alpha, double beta, double s) const {
    const double r = (std::log10(n) + log10_4) / big_l;
    return std::pow(1.0 - std::pow(r, beta), 1.0 / alpha) * (1.0 - s) + s;
  }
  double log_cycles(double g, double alpha, double beta, double s) const {
    const double base = std::max((g - s) / (1.0 - s), 0.0);
    return big_l * std::pow(1.0 - std::pow(base, alpha), 1.0 / beta) - log10_4;
  }
};

}  // namespace

extern "C" {

void GradualDegradation(double* speak_t, double* sbottom_t, double* speak_c, double* sbottom_c,
                        const double* xctratio, const double* a, const double* b, const double* u, const double* v,
                        double* nm, const double* n, const double* cjimp, const double* alpha_t,
                        const double* beta_t, const double* alpha_c, const double* beta_c, const double* gamma,
                        const double* lambda, double* de, double* df_t, double* df_c, const double* degr_fac,
                        const int* dmgflag, const int* isshear, const int* noel, double* cjump_nf,
                        const double* lim) {
  tavrin::c_boundary(__func__, [&] {
    if (*dmgflag != 1 && *dmgflag != 2) {
      tavrin::xerr(-2, "Error: Default case in subroutine GradualDegradation. Please check your input parameters.",
                   std::span<const int>(dmgflag, 1));
      return;
    }
    const Trace trace{*noel == tavrin::debugdata::edebug};
    for (double* s : {speak_t, sbottom_t, speak_c, sbottom_c})
      if (*s == 0.0) *s = 1e-8;
    const double smax = std::max(*speak_t, *sbottom_t), smin = std::min(*speak_t, *sbottom_t);
    const double q = smin / smax, sa = (smax - smin) / 2.0, sm = (smax + smin) / 2.0;
    const double smax_c = std::abs(std::min(*speak_c, *sbottom_c)), c = std::abs(*xctratio);
    // Constant-life relation and life curve f = a·Nf^b, f at most a·10^b.
    const double f = std::min(sa / (std::pow(c + sm, *v) * std::pow(1.0 - sm, *u)), *a * std::pow(10.0, *b));
    const double nf = std::min(std::pow(10.0, std::log10(f / *a) / *b), huge);
    const Curve curve{std::log10(nf) + log10_4};
    const bool tension = (q >= 0.0 && q < 1.0) || (q < 0.0 && smax_c <= std::abs(smax));
    const bool compression = q > 1.0 || (q < 0.0 && std::abs(smax) < smax_c);
    const bool shear = *isshear != 0;

    trace("New Implementation for stiffness degradation");
    trace("DmgFlag", *dmgflag);
    trace("A", *a);
    trace("B", *b);
    trace("u", *u);
    trace("v", *v);
    trace("isShear", shear);
    trace("kappa", *xctratio);
    trace("sigma_o", *speak_t);
    trace("sigma_u", *sbottom_t);
    trace("smax_t", smax);
    trace("smax_c", smax_c);
    trace("a", sa);
    trace("q", q);
    trace("c", c);
    trace("f", f);
    trace("NF", nf);
    trace("Strength ratio Tension/Compression", c);
    trace("current dF_t", *df_t);
    trace("current dF_c", *df_c);
    trace("Cycle jump", *cjimp);
    trace("real current/last cycle", *n);
    trace("alpha_t (Exp. im Kehrwert)", *alpha_t);
    trace("beta_t (Exp. ohne Kehrwert)", *beta_t);
    trace("alpha_c (Exp. im Kehrwert)", *alpha_c);
    trace("beta_c (Exp. ohne Kehrwert)", *beta_c);
    trace("gamma (Exp. mit Kehrwert)", *gamma);
    trace("lambda (Exp. ohne Kehrwert)", *lambda);
    trace("lim", *lim);

    double neq = 0.0;
    if (*dmgflag == 1) {
      *nm = std::max(*nm, *nm + *cjimp / nf);
      const double cycles = std::max(*nm * nf, 1.0);
      if (tension || compression) {
        // The loaded side, its curve and floor; the other side follows unless shear.
        double& loaded = tension ? *df_t : *df_c;
        double& other = tension ? *df_c : *df_t;
        const double al = tension ? *alpha_t : *alpha_c, be = tension ? *beta_t : *beta_c;
        const double s = tension ? std::abs(smax) : smax_c;
        if (cycles < nf) {
          loaded = std::min(loaded, curve.value(cycles, al, be, s));
          if (!shear) other = std::min(other, loaded);
          *de = std::min(*de, curve.value(cycles, *gamma, *lambda, s));
        } else {
          loaded = *degr_fac;
          if (!shear) other = std::min(other, *degr_fac);
          *de = tension ? *degr_fac : std::min(*de, *degr_fac);
        }
      }
    } else {
      if (*de <= *degr_fac || *df_t <= *degr_fac || *df_c <= *degr_fac) {
        trace("Already fully damaged, no cyclic degradation");
        *nm = 1.0;
        *cjump_nf = huge;
        return;
      }
      if (nf >= 1e20) {
        trace("Fatigue limit exceeded, no cyclic degradation");
        *cjump_nf = nf;
        return;
      }
      if (!tension && !compression) return;  // a stress ratio of 1 does not degrade
      trace(tension ? "T-T or T-dominated" : "C-C or C-dominated");
      double& loaded = tension ? *df_t : *df_c;
      double& other = tension ? *df_c : *df_t;
      const double al = tension ? *alpha_t : *alpha_c, be = tension ? *beta_t : *beta_c;
      const double al_o = tension ? *alpha_c : *alpha_t, be_o = tension ? *beta_c : *beta_t;
      const double s = tension ? std::abs(smax) : smax_c, s_o = tension ? smax_c : std::abs(smax);
      const double peak = tension ? smax : smax_c;
      // Cycles that would have brought the intact ply to its present strength.
      if (*n - *cjimp != 0.0) {
        neq = nf;
        if (peak <= 1.0 && *n - *cjimp < nf)
          neq = std::min(std::pow(10.0, curve.log_cycles(loaded, al, be, s)), huge - *cjimp);
      }
      trace("(n_eq+cjimp)", neq + *cjimp);
      *nm = std::min((neq + *cjimp) / nf, 1.0);
      trace("NM", *nm);
      const double cycles = std::max(*nm * nf, 1.0);
      if (cycles < nf) {
        loaded = std::min(loaded, curve.value(cycles, al, be, s));
        other = std::min(other, curve.value(cycles, al_o, be_o, s_o));
        if (*lambda == be && *gamma == al)
          *de = std::min(*de, (*df_t + *df_c) / 2.0);
        else
          *de = std::min(*de, curve.value(cycles, *gamma, *lambda, s));
      } else {
        loaded = std::min(loaded, *degr_fac);
        *de = std::min(*de, *degr_fac);
      }
      // Cycles until the strength has dropped by lim more.
      const double log_jump = std::min(curve.log_cycles(loaded - *lim, al, be, s), log10_huge);
      trace("log_cjump_nf", log_jump);
      double jump = std::clamp(std::pow(10.0, log_jump) - neq - *cjimp, 0.0, huge);
      if (jump == 0.0) jump = huge;
      *cjump_nf = jump;
      trace("cjump_nf", jump);
      trace("dF n", loaded);
      trace("dF nach cjump_nf", loaded - *lim);
    }
    trace("Updated results in GradualDegradation");
    trace("n_eq", neq);
    trace("Nf", nf);
    trace("new NM", *nm);
    trace("new dE", *de);
    trace("new dF_t", *df_t);
    trace("new dF_c", *df_c);
  });
}
}
