#include "solver/resin_material.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>
#include <string_view>

#include "failure/degradation.hpp"
#include "failure/fatigue.hpp"
#include "failure/gpcollection.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/shared_state.hpp"
#include "mechanics/elasticity.hpp"
#include "mechanics/ply_stiffness.hpp"
#include "mechanics/resin.hpp"
#include "mechanics/stress_measures.hpp"
#include "solver/point_trace.hpp"
#include "solver/usermat_entry.hpp"

namespace tavrin::toplevel {
namespace {

constexpr double huge = not_given;
constexpr int nslots = 22;
constexpr int six = 6, three = 3;
constexpr double ttol[2] = {1.0, 1.0};  // fibre and matrix thresholds of the sudden discount
constexpr double tangent_step = 1e-6;    // strain step of the numerical tangent

using Six = std::array<double, 6>;
using Mat6a = std::array<double, 36>;  // 6×6, column-major

// Slots of the resin state record (1-based).
enum Slot : int {
  s_cycle = 1, s_di1 = 2, s_effort = 3, s_prop1 = 4, s_prop2 = 5, s_life = 6, s_dmises = 7, s_peak = 8,
  s_jump = 9, s_energy = 10, s_remaining = 12, s_nf = 13, s_plastic = 14, s_xt = 16, s_factor = 17,
  s_failed = 18, s_bottom = 19, s_period = 20, s_global = 21, s_eqstress = 22
};

enum class Criterion { none, ha_strain, ha_stress, raghava, bauwens, drucker_prager };

// Columns first .. first + n - 1 (1-based) of a name; shorter where the name ends.
std::string_view columns(std::string_view name, std::size_t first, std::size_t n) {
  return name.substr(std::min(first - 1, name.size()), n);
}

// The criterion tag in columns 10-20 (10-14) of the name.
Criterion criterion_of(std::string_view name) {
  if (columns(name, 10, 11) == "_GPHASTRAIN") return Criterion::ha_strain;
  const std::string_view tag = columns(name, 10, 5);
  if (tag == "_GPHA") return Criterion::ha_stress;
  if (tag == "_GPRA") return Criterion::raghava;
  if (tag == "_GPBA") return Criterion::bauwens;
  if (tag == "_GPDP") return Criterion::drucker_prager;
  return Criterion::none;
}

// Entry k of materialdata::regularization; 0.0 where the table holds none.
double regularisation(int k) {
  const auto& r = materialdata::regularization;
  return r.allocated() && r.size() >= k ? r(k) : 0.0;
}

// Nearest integer (halves away from zero), held in the int range; NaN gives 0.
int rounded(double x) {
  if (std::isnan(x)) return 0;
  return int(std::lround(std::clamp(x, -2147483648.0, 2147483647.0)));
}

// Cycle settings of a step: column `step` of shokriehdata::cycleprops.  A
// row the table does not hold, or a step without a column, reads 0.0.
struct CycleSettings {
  std::array<double, 11> row{};  // row[1..10]

  explicit CycleSettings(int step) {
    const auto& cp = shokriehdata::cycleprops;
    if (!cp.allocated() || step < 1 || step > cp.size(2)) return;
    for (int r = 1; r <= std::min(10, cp.size(1)); ++r) row[std::size_t(r)] = cp(r, step);
  }
  bool fatigue_step() const { return row[2] == 1.0; }
  int jumpalgo() const { return rounded(row[3]); }
  double period() const { return row[4]; }
};

// Resin constants of the call: the property vector handed to the stress
// laws (peprops) and the strengths and fatigue constants.
struct Properties {
  std::array<double, 12> pe{};
  double xt = 0.0, xc = 0.0, np = 0.0, a_woehler = 0.0, exp_woehler = 0.0, degr = 0.0;
  double num = 0.0;          // mean-stress exponent handed to the fatigue life
  double e = 0.0, nu = 0.0;  // isotropic constants (model 7)
};

class ResinPoint {
 public:
  ResinPoint(double* statev, const double* time, const double* dtime, const double* temp, const double* props,
             const int* nprops, const int* noel, const int* jstep, int model, std::string_view name)
      : statev_(statev), time_(time), dtime_(dtime), temp_(temp), props_(props), nprops_(nprops), noel_(noel),
        jstep_(jstep), model_(model), name_(name), cycles_(jstep[0]), trace_(*noel == debugdata::edebug) {}

  void run(double* spannung, double* tangente, const double* dehnung, const double* ddehnung, int ncomp, int nstatv,
           int kinc, const double* dfgrd0, const double* dfgrd1);

 private:
  double& sv(int k) { return statev_[k - 1]; }

  void properties();
  void degrade_isotropic() { IsotropicDegradation(p_.pe.data(), &d_, &life_, &p_.degr, degpe_.data()); }
  void degrade_viscous();
  void stress_law();
  void criterion();
  void tangent();
  void cycle_handling();
  void debug_report(int kinc, const double* dfgrd0, const double* dfgrd1) const;

  double* statev_;
  const double *time_, *dtime_, *temp_, *props_;
  const int *nprops_, *noel_, *jstep_;
  int model_;
  std::string_view name_;
  CycleSettings cycles_;
  PointTrace trace_;

  Six strain_{}, dstrain_{}, end_{};  // ε, Δε and ε + Δε, engineering shears
  Six stress0_{}, stress_{};          // stress at the start of the increment and of this call
  Mat6a tangent_{}, old_tangent_{};
  Properties p_;
  std::array<double, 12> degpe_{};
  // Model 7: the strengths and the discount records of the sudden degradation
  // (its fibre and matrix failure flags are both the failure indicator, slot 18).
  std::array<double, 9> ps_{}, degps_{}, df_{};
  Six de_{};
  double d_ = 0.0, life_ = 0.0, n_ = 0.0, njimp_ = 0.0;
  double plastic0_ = 0.0, plastic_ = 0.0;  // equivalent plastic strain at the start, and now (model 4)
  double di1_ = 0.0, dmises_ = 0.0;
  bool fatigue_ = false;
  int stepflag_ = 0;
};

void ResinPoint::properties() {
  Properties& p = p_;
  const auto resin = [&] {
    double gamma = 0.0;
    GetResinProperties(props_, nprops_, temp_, &p.e, &p.nu, &p.num, &gamma, &p.degr, &p.xt, &p.xc, &p.np,
                       &p.a_woehler, &p.exp_woehler, noel_);
    return gamma;
  };
  switch (model_) {
    case 0: {
      // Lamé's law with the secant modulus of the calibration table at the
      // equivalent end strain, and the Poisson ratio of its sign.
      double none = 0.0, et, ec, g, nut, nuc, a0, a1, alpha;
      GetResinPlasticProperties(props_, nprops_, temp_, &none, &et, &ec, &g, &nut, &nuc, &a0, &a1, &alpha, &p.degr,
                                &p.xt, &p.xc, &p.np, &p.a_woehler, &p.exp_woehler);
      double eq = 0.0, e = 0.0;
      EquivalentStrain(end_.data(), &eq, &three, &six);
      GetModulusFromTable(&eq, &e, temp_);
      p.pe = {e, 0.0, eq < 0.0 ? nuc : nut, 0.0, 0.0};
      break;
    }
    case 4: {
      double* pe = p.pe.data();
      GetResinPlasticProperties(props_, nprops_, temp_, &plastic0_, &pe[0], &pe[1], &pe[2], &pe[3], &pe[4], &pe[5],
                                &pe[6], &pe[7], &p.degr, &p.xt, &p.xc, &p.np, &p.a_woehler, &p.exp_woehler);
      break;
    }
    case 7: {
      resin();
      std::array<double, 12>& pe = p.pe;  // E1, E2, E3, G12, G13, G23, ν12, ν13, ν23, ν21, ν31, ν32
      GetResinOrthotropicProperties(props_, nprops_, temp_, dtime_, strain_.data(), end_.data(), &pe[0], &pe[1],
                                    &pe[2], &pe[6], &pe[7], &pe[8], &pe[9], &pe[10], &pe[11], &pe[3], &pe[4],
                                    &pe[5], &p.xt, &p.xc, &p.np, &p.a_woehler, &p.exp_woehler, &p.degr, noel_,
                                    &sv(s_failed));
      if (sv(s_failed) == 0.0) {
        const double given = regularisation(1);
        if (given != 0.0) {
          sv(s_factor) = given;
        } else {
          // The smallest stiffness ratio to the isotropic resin, scaled by
          // the ratio of the isotropic to the orthotropic Poisson term.
          const double e = p.e, nu = p.nu, g = e / (2.0 * (1.0 + nu));
          const double m = std::min({pe[0] / e, pe[1] / e, pe[2] / e, pe[3] / g, pe[4] / g, pe[5] / g});
          const double iso = 1.0 - 3.0 * nu * nu - 2.0 * nu * nu * nu;
          const double ortho = 1.0 - pe[6] * pe[9] - pe[8] * pe[11] - pe[7] * pe[10] - 2.0 * pe[9] * pe[11] * pe[7];
          sv(s_factor) = m * iso / ortho;
        }
      }
      // Strengths in the order of the sudden discount (tension and
      // compression of 11, 22, 33, then the shears); nothing reads the
      // discounted strengths afterwards.
      ps_ = {p.xt, p.xc, p.xt, p.xc, p.xt, p.xc, p.xt, p.xt, p.xt};
      break;
    }
    default: {  // 1, 2, 3, 5, 6
      const double gamma = resin();
      p.pe = {p.e, gamma, p.nu, p.num, model_ == 5 ? 1.0 : double(model_)};
      if (model_ != 5 && sv(s_failed) == 0.0) sv(s_factor) = regularisation(1);
      break;
    }
  }
  if (model_ == 0 || model_ == 4) p.num = 0.0;  // their property routine gives no mean-stress exponent
}

// Model 7 after failure: the viscously regularised sudden discount of the
// isotropic resin, with the Poisson ratios of the isotropic resin.
void ResinPoint::degrade_viscous() {
  const double g = p_.e / (2.0 * (1.0 + p_.nu)), nu = p_.nu;
  const std::array<double, 12> iso{p_.e, p_.e, p_.e, g, g, g, nu, nu, nu, nu, nu, nu};
  const Six nm{life_, life_, life_, life_, life_, life_};
  const double eta = regularisation(2);
  SuddenDegradation_viscouse(degpe_.data(), degps_.data(), iso.data(), ps_.data(), de_.data(), df_.data(),
                             &sv(s_failed), &sv(s_failed), ttol, &p_.degr, nm.data(), &sv(s_factor), &eta, dtime_);
  std::fill(degpe_.begin() + 6, degpe_.end(), nu);
}

// Stress (and, for models 4 to 7, tangent) of the end strain with the
// degraded properties.
void ResinPoint::stress_law() {
  const int eight = 8, five = 5, two = 2, twelve = 12, one = 1, zero = 0;
  switch (model_) {
    case 4:
      // The elastic-plastic update starts from the stress and plastic strain
      // of the start of the increment, also when it runs a second time.
      stress_ = stress0_;
      plastic_ = plastic0_;
      elasticity::getstressfromplastitcity(stress_.data(), &plastic_, tangent_.data(), strain_.data(),
                                           dstrain_.data(), p_.pe.data(), 6, 3, 8, *temp_);
      break;
    case 5:
      GetStressFromDevVolDecomposition(stress_.data(), end_.data(), degpe_.data(), &six, &three, &five,
                                       tangent_.data());
      break;
    case 6: {
      const double cubic[2] = {*temp_, 1.0 - (1.0 - p_.degr) * std::floor(std::max(d_, life_))};
      GetStressFromCubicElasticity(stress_.data(), end_.data(), cubic, &six, &three, &two, tangent_.data(), noel_);
      break;
    }
    case 7: {
      GetGeneralizedNyeOnAxisSC(tangent_.data(), degpe_.data(), &six, &twelve, &one, nullptr, nullptr, nullptr);
      GetStressVector(stress_.data(), tangent_.data(), strain_.data(), dstrain_.data(), &three, &six, &one, &zero);
      break;
    }
    default:  // 0 to 3
      GetStressFromIsotropicViscoElasticity(stress_.data(), end_.data(), degpe_.data(), &six, &three, &eight);
      break;
  }
}

void ResinPoint::criterion() {
  double i1cr = 0.0, misescr = 0.0;
  switch (criterion_of(name_)) {
    case Criterion::ha_strain: {
      Six tensor = end_;
      for (int k = 3; k < 6; ++k) tensor[std::size_t(k)] *= 0.5;
      GPHa(tensor.data(), &p_.xt, &p_.xc, &p_.np, &d_, &di1_, &dmises_, &i1cr, &misescr, &life_);
      sv(s_failed) = life_;
      break;
    }
    case Criterion::ha_stress:
      GPHa(stress_.data(), &p_.xt, &p_.xc, &p_.np, &d_, &di1_, &dmises_, &i1cr, &misescr, &sv(s_failed));
      break;
    case Criterion::raghava:
      GPRaghava(stress_.data(), &p_.xt, &p_.xc, &d_);
      break;
    case Criterion::bauwens:
      GPBauwens(stress_.data(), &p_.xt, &p_.xc, &d_);
      break;
    case Criterion::drucker_prager:
      GPDruckerPrager(stress_.data(), &p_.xt, &p_.xc, &d_, &di1_);
      break;
    case Criterion::none:
      break;
  }
  sv(s_effort) = d_;
  sv(s_dmises) = dmises_;
  sv(s_di1) = di1_;
}

void ResinPoint::tangent() {
  using elasticity::getnumericaltangent;
  if (model_ <= 3) {
    getnumericaltangent(tangent_.data(), GetStressFromIsotropicViscoElasticity, nullptr, degpe_.data(),
                        stress_.data(), stress0_.data(), end_.data(), 6, 3, 8, false, nullptr, &tangent_step,
                        nullptr);
  } else if (model_ == 7 && d_ >= 1.0) {
    getnumericaltangent(tangent_.data(), GetStressFromOrthotropicElasticity, nullptr, degpe_.data(),
                        stress_.data(), stress0_.data(), end_.data(), 6, 3, 12, false, nullptr, &tangent_step,
                        nullptr);
  }
  // Models 4 to 6, and 7 before failure: the tangent of the stress law.
}

// The load-cycle bookkeeping of a fatigue point (last stage of the call).
void ResinPoint::cycle_handling() {
  const CycleSettings& c = cycles_;
  const double t = time_[0], total = time_[1], period = c.period();
  // Load periods are found in thousandths of the period; a shorter period
  // has no thousandths to count.
  const double period_ms = std::round(1000.0 * period);
  if (!(period_ms >= 1.0)) {
    xerr(-2, "umat_resin: load period of the fatigue step below 0.0005", std::span<const int>(jstep_, 1),
         std::span<const double>(&period, 1));
    return;
  }
  const double q = t / period;
  const double r = std::fmod(std::round(1000.0 * t), period_ms);  // exact: both are whole numbers
  const int jumpalgo = c.jumpalgo();
  const int ncycles = rounded(c.row[5] / period), nmaxcycles = rounded(c.row[6]);
  const int nsteps = jobdata::nsteps;
  const auto count = [&](double allowed) {
    CycleCount(&njimp_, &n_, &c.row[10], &time_[0], &c.row[5], &c.row[4], &c.row[7], &c.row[8], &allowed,
               &ncycles, &nmaxcycles, &jstep_[0], &nsteps, &jumpalgo, &stepflag_);
  };

  if ((r == 0.0 || q >= sv(s_period)) && total != 0.0) {
    sv(s_period) += 1.0;
    const auto& r_crit = materialdata::r_crit;
    if (r_crit.allocated() && r_crit.size() >= 1) {
      double nf = 0.0;
      GetFatigueLife(&sv(s_bottom), &sv(s_peak), &p_.a_woehler, &p_.exp_woehler, &p_.num, &njimp_, noel_, &nf,
                     &life_);
      sv(s_nf) = nf;
      if (model_ == 7) degrade_viscous();
      else degrade_isotropic();
      sv(s_life) = life_;
      if (life_ == 1.0) {
        sv(s_failed) = 1.0;
        sv(s_remaining) = huge;
      } else {
        sv(s_remaining) = 1000.0 * (1.0 - life_);
      }
    } else {
      xerr(-2, "umat_resin: no critical stress ratio r_crit; the fatigue life was not updated",
           std::span<const int>(jstep_, 1));
    }
    if (jumpalgo <= 3) {
      count(c.row[9]);
      sv(s_cycle) = n_;
      sv(s_jump) = njimp_;
    }
    sv(s_peak) = -huge;
    sv(s_bottom) = huge;
  }

  // Once per load period: the global cycle jump.
  const double running = sv(s_period);
  if (q - (running - 1.0) >= 1e-15 && q - running <= 1e-15 && sv(s_global) != running && total != 0.0) {
    sv(s_global) += 1.0;
    if (jumpalgo == 4) {
      count(shokriehdata::dnf);
      if (t > period) {
        sv(s_jump) = njimp_;
        sv(s_cycle) = n_;
      }
    }
  }
}

void ResinPoint::debug_report(int kinc, const double* dfgrd0, const double* dfgrd1) const {
  if (!trace_.on()) return;
  double green[9];
  GetGreenStrain(green, dfgrd1);
  trace_.line("umat_resin: element", *noel_);
  trace_.line("model", model_);
  trace_.line("increment", kinc);
  trace_.values("strain", strain_.data(), 6);
  trace_.values("strain increment", dstrain_.data(), 6);
  trace_.values("DFGRD0", dfgrd0, 9);
  trace_.values("DFGRD1", dfgrd1, 9);
  trace_.values("Green strain of DFGRD1", green, 9);
  trace_.line("time", time_[0], time_[1], *dtime_);
  trace_.line("regularisation", regularisation(1), regularisation(2));
}

void ResinPoint::run(double* spannung, double* tangente, const double* dehnung, const double* ddehnung, int ncomp,
                     int nstatv, int kinc, const double* dfgrd0, const double* dfgrd1) {
  // Working vectors of six components; with four, 5 and 6 stay 0.
  for (int i = 0; i < ncomp; ++i) {
    stress0_[std::size_t(i)] = spannung[i];
    strain_[std::size_t(i)] = dehnung[i];
    dstrain_[std::size_t(i)] = ddehnung[i];
    for (int j = 0; j < ncomp; ++j) old_tangent_[std::size_t(i + 6 * j)] = tangente[i + ncomp * j];
  }
  for (int i = 0; i < 6; ++i) end_[std::size_t(i)] = strain_[std::size_t(i)] + dstrain_[std::size_t(i)];
  stress_ = stress0_;
  debug_report(kinc, dfgrd0, dfgrd1);

  const bool tagged = columns(name_, 29, 8) == "_FATIGUE";
  stepflag_ = cycles_.fatigue_step() ? 1 : 0;
  fatigue_ = tagged || stepflag_ == 1;

  // A fresh point (all zero, the uninitialised marker counting as zero).
  if (kinc <= 1) {
    if (statev_[nstatv - 1] == huge) statev_[nstatv - 1] = 0.0;
    if (std::all_of(statev_, statev_ + nstatv, [](double x) { return x == 0.0; })) {
      sv(s_cycle) = 1.0;
      sv(s_bottom) = huge;
      sv(s_peak) = -huge;
      sv(s_period) = 1.0;
    }
  }
  if (fatigue_) {
    n_ = sv(s_cycle);
    njimp_ = n_ == 1.0 ? 1.0 : sv(s_jump);
  }
  life_ = sv(s_life);
  d_ = sv(s_effort);
  plastic0_ = model_ == 4 ? sv(s_plastic) : 0.0;

  properties();
  sv(s_xt) = p_.xt;
  // Degraded properties: a copy of the undegraded ones, discounted.
  degpe_ = p_.pe;
  if (model_ == 7) {
    degps_ = ps_;
    de_.fill(1.0);
    df_.fill(1.0);
    const Six nm{life_, life_, life_, life_, life_, life_};
    SuddenDegradation(degpe_.data(), degps_.data(), p_.pe.data(), ps_.data(), de_.data(), df_.data(), &sv(s_failed),
                      &sv(s_failed), ttol, &sv(s_factor), nm.data());
    std::copy(p_.pe.begin() + 6, p_.pe.end(), degpe_.begin() + 6);
  } else {
    degrade_isotropic();
  }

  stress_law();
  criterion();
  if (sv(s_failed) >= 1.0) {  // failed: discount again and recompute the stress
    if (model_ == 7) degrade_viscous();
    else degrade_isotropic();
    stress_law();
  }

  double seq = 0.0;
  GetEquivalentFatigueStress(stress_.data(), &p_.xt, &p_.xc, &p_.np, &seq);
  sv(s_eqstress) = seq;
  const double ratio = seq / p_.xt;
  sv(s_peak) = std::isnan(sv(s_peak)) ? ratio : std::max(sv(s_peak), ratio);
  sv(s_bottom) = std::isnan(sv(s_bottom)) ? ratio : std::min(sv(s_bottom), ratio);

  tangent();

  // Strain energy by the trapezoidal rule between the received and the new tangent.
  double w = 0.0;
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) {
      const auto ij = std::size_t(i + 6 * j);
      w += 0.5 * strain_[std::size_t(i)] * old_tangent_[ij] * dstrain_[std::size_t(j)] +
           0.5 * end_[std::size_t(i)] * tangent_[ij] * dstrain_[std::size_t(j)];
    }
  sv(s_energy) += w;

  if (fatigue_) cycle_handling();

  sv(s_prop1) = degpe_[0];
  sv(s_prop2) = degpe_[1];
  if (model_ == 4) sv(s_plastic) = plastic_;
  for (int i = 0; i < ncomp; ++i) {
    spannung[i] = stress_[std::size_t(i)];
    for (int j = 0; j < ncomp; ++j) tangente[i + ncomp * j] = tangent_[std::size_t(i + 6 * j)];
  }
}

}  // namespace

void umat_resin(double* spannung, double* statev, double* tangente, double* /*sse*/, double* /*spd*/,
                double* /*scd*/, double* /*rpl*/, double* /*ddsddt*/, double* /*drplde*/, double* /*drpldt*/,
                const double* dehnung, const double* ddehnung, const double* time, const double* dtime,
                const double* temp, const double* /*dtemp*/, const double* /*predef*/, const double* /*dpred*/,
                const char* materl, const int* /*nnormal*/, const int* /*nshr*/, const int* nstresscomp,
                const int* nstatv, const double* props, const int* nprops, const double* /*coords*/,
                const double* /*drot*/, double* /*pnewdt*/, const double* /*celent*/, const double* dfgrd0,
                const double* dfgrd1, const int* noel, const int* /*npt*/, const int* /*kslay*/,
                const int* /*kspt*/, const int* jstep, const int* kinc, std::size_t materl_len) {
  tavrin::c_boundary(__func__, [&] {
    const std::string_view name(materl, materl_len);
    if (*kinc <= 1 && *nstatv < nslots) {
      io::ListRecord rec;
      rec << std::string("WARNING: Too less nstatev allocated for material ").append(name);
      rec.write(6);
    }
    const int model = materialdata::modelid;
    const int needed = model == 0 || model == 4 ? 25 : 21;
    const int dims[3] = {*nstresscomp, *nstatv, *nprops};
    if (*nstresscomp != 4 && *nstresscomp != 6) {
      xerr(-2, "umat_resin: nstresscomp must be 4 or 6", dims);
    } else if (*nstatv < nslots) {
      xerr(-2, "umat_resin: fewer than 22 state variables", dims);
    } else if (model < 0 || model > 7) {
      xerr(-2, "umat_resin: unknown resin model number", std::span<const int>(&model, 1));
    } else if (*nprops < needed) {
      xerr(-2, "umat_resin: too few resin properties for the model", dims);
    } else {
      ResinPoint point(statev, time, dtime, temp, props, nprops, noel, jstep, model, name);
      point.run(spannung, tangente, dehnung, ddehnung, *nstresscomp, *nstatv, *kinc, dfgrd0, dfgrd1);
    }
  });
}

TAVRIN_USERMAT_ENTRY(usermat_resin, umat_resin)

}  // namespace tavrin::toplevel
