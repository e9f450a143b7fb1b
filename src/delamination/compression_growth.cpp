// Growth of a compression delamination at one ply interface through load
// cycles, and the allowable no-growth strain of each interface.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "delamination/delisio.hpp"
#include "delamination/growth_common.hpp"
#include "foundation/array.hpp"
#include "foundation/boundary.hpp"
#include "foundation/list_record.hpp"
#include "foundation/numerics_latch.hpp"
#include "pchip/runtime.hpp"

namespace tavrin::delisio {
namespace detail {

double allowable_release_rate(const double* props, const double* inloadcycles) {
  const double n = inloadcycles ? *inloadcycles : 1.0;
  if (n == 1.0 || n == 0.0) return props[9];
  if (n > 1.0) {
    double deltag = 0.0, cycles = n;
    GrowthInitiationParis(&deltag, &cycles, &props[10], &props[11]);
    return deltag;
  }
  io::ListRecord rec;
  (rec << "Invalid number of cycles was given").write(pchip::standard_output_unit);
  (rec << "Static limit is calculated").write(pchip::standard_output_unit);
  return props[9];
}

}  // namespace detail

namespace {

// results(13, ncol): column c holds cycle, N_x, end shortening, length,
// width, area, da/dN, db/dN, gx, gy, gy_left, gy_right, 0.
struct Column {
  double cycle, force, shortening, length, width, area, dadn, dbdn;
  ReleaseRates g;
  void store(View<double, 2> r, int c) const {
    const double v[13] = {cycle, force,  shortening, length, width, area, dadn,
                          dbdn,  g.gx,   g.gy,       g.gy_left, g.gy_right, 0.0};
    for (int i = 1; i <= 13; ++i) r(i, c) = v[i - 1];
  }
};

struct CompressionCase {
  const detail::UniformLaminate& lam;
  int interface;
  const double* props;
  double length, width, offset;
};

// The cycles of one delamination; results must hold the columns the cycle
// count needs (totalcycles/cyclejump + 2 at most).
void compression_growth(View<double, 2> results, const CompressionCase& c, const Vec6& dof,
                        double dmgwidth, double dmglength, int totalcycles, int cyclejump,
                        double increment) {
  for (int j = 1; j <= results.size(2); ++j)
    for (int i = 1; i <= 13; ++i) results(i, j) = 0.0;
  const int n = c.lam.stack().size();
  const Mat6 abd = c.lam.abd(), sub1 = c.lam.abd(1, c.interface), sub2 = c.lam.abd(c.interface + 1, n);
  double abdsub[72];
  for (int j = 1; j <= 6; ++j)
    for (int i = 1; i <= 6; ++i) {
      abdsub[2 * (i - 1) + 12 * (j - 1)] = sub1(i, j);
      abdsub[1 + 2 * (i - 1) + 12 * (j - 1)] = sub2(i, j);
    }
  const Vec6 f = abd * dof, f1 = sub1 * dof, f2 = sub2 * dof;
  double forcecases[18];
  for (int j = 1; j <= 6; ++j) {
    forcecases[3 * (j - 1)] = f(j);
    forcecases[1 + 3 * (j - 1)] = f1(j);
    forcecases[2 + 3 * (j - 1)] = f2(j);
  }
  Column col{0.0, f(1), dof(1) * c.length, dmglength, dmgwidth, dmglength * dmgwidth, 0.0, 0.0, {}};
  col.store(results, 1);
  if (totalcycles < 1) return;
  if (cyclejump < 1) {
    latch_failure(status_error, "Cycle step below 1 in DelaCompGrowth", cyclejump);
    return;
  }
  const double jump = cyclejump;
  const double nf = c.props[10], cf = c.props[11];
  for (int k = 2; col.cycle < totalcycles && k <= results.size(2); ++k) {
    const double a = col.length / 2.0, b = col.width / 2.0;
    double gx = 0.0, gy = 0.0, gyl = 0.0, gyr = 0.0;
    const double areaclean = -col.area;
    EnergyReleaseRate(dof.data(), abd.data(), abdsub, &a, &b, &c.width, &c.length, &areaclean,
                      forcecases, &gx, &gy, &gyl, &gyr, &c.offset, &increment, &increment, nullptr,
                      nullptr);
    double dadn = 0.0, dbdn = 0.0;
    const double gxd = detail::driving(gx), gyd = detail::driving(gy);
    GrowthRateParis(&gxd, &dadn, &cf, &nf);
    GrowthRateParis(&gyd, &dbdn, &cf, &nf);
    const double grown_b = b + jump * dbdn, grown_a = a + jump * dadn;
    col = Column{std::trunc(col.cycle + jump), f(1), dof(1) * c.length, 2.0 * grown_a, 2.0 * grown_b,
                 4.0 * grown_a * grown_b, dadn, dbdn, {gx, gy, gyl, gyr}};
    col.store(results, k);
  }
}

bool laminate_inputs_hold(const char* routine, int nplies, int nprops, int ndof) {
  if (nplies >= 1 && nprops >= 12 && ndof >= 6) return true;
  latch_failure(status_error,
                std::string(routine) + " needs plies, 12 properties and 6 strains",
                nplies < 1 ? nplies : nprops < 12 ? nprops : ndof);
  return false;
}

}  // namespace
}  // namespace tavrin::delisio

using namespace tavrin;
namespace dl = tavrin::delisio;

extern "C" {

void DelaCompGrowth(const double* layup, const double* tply, const double* indof,
                    const int* dela_interface, const double* props, const double* length,
                    const double* width, const double* extensdmg, double* results,
                    const double* dmgwidth, const double* dmglength, const int* totalcycles,
                    const int* nplies, const int* nprops, const int* ndof, const int* incyclejump,
                    const double*, const double* dmgincrement_in) {
  tavrin::c_boundary(__func__, [&] {
    if (*totalcycles < 0) {
      latch_failure(status_error, "Negative cycle count in DelaCompGrowth", *totalcycles);
      return;
    }
    const View<double, 2> r(results, 13, *totalcycles + 1);
    if (!dl::laminate_inputs_hold("DelaCompGrowth", *nplies, *nprops, *ndof) || *dela_interface < 1 ||
        *dela_interface >= *nplies) {
      if (*nplies >= 1 && *nprops >= 12 && *ndof >= 6)
        latch_failure(status_error, "Delamination interface outside the stack", *dela_interface);
      for (int j = 1; j <= r.size(2); ++j)
        for (int i = 1; i <= 13; ++i) r(i, j) = 0.0;
      return;
    }
    const dl::detail::UniformLaminate lam(props, layup, *tply, *nplies);
    const dl::CompressionCase c{lam, *dela_interface, props, *length, *width, *extensdmg};
    dl::compression_growth(r, c, Vec6::load(indof), *dmgwidth, *dmglength, *totalcycles,
                           incyclejump ? *incyclejump : 1, dmgincrement_in ? *dmgincrement_in : 0.1);
  });
}

void Find_Allowable_nogrowth_comp(const double* layup, const double* tply, const double* extensdmg,
                                  const double* length, const double* width, const double* props,
                                  double* strainallowable, double* forceallowables_perinterface,
                                  double* eps_th_results, const double* dmgsizes,
                                  double* allowables_perinterface, const int* nplies,
                                  const int* nprops, const int* ninter, const double* inincrement,
                                  const double* dmgincrement_in, const double* inloadcycles) {
  tavrin::c_boundary(__func__, [&] {
    const int m = *ninter > 0 ? *ninter : 0;
    const View<double, 3> eps(eps_th_results, m, 6, 100);
    const View<const double, 2> sizes(dmgsizes, m, 2);
    for (int j = 1; j <= 100; ++j)
      for (int k = 1; k <= 6; ++k)
        for (int i = 1; i <= m; ++i) eps(i, k, j) = 0.0;
    for (int i = 0; i < m; ++i) allowables_perinterface[i] = forceallowables_perinterface[i] = 0.0;
    *strainallowable = -std::numeric_limits<double>::max();
    if (!dl::laminate_inputs_hold("Find_Allowable_nogrowth_comp", *nplies, *nprops, 6)) return;

    const double step = -std::abs(inincrement ? *inincrement : -0.001);
    const double increment = dmgincrement_in ? *dmgincrement_in : 0.1;
    const double limit = dl::detail::allowable_release_rate(props, inloadcycles);
    io::ListRecord rec;
    (rec << "ERR for a life of " << "Ncycles" << " cycles is " << limit).write(pchip::standard_output_unit);

    const dl::detail::UniformLaminate lam(props, layup, *tply, *nplies);
    std::vector<char> active(std::size_t(m), 1);
    for (int i = 1; i <= m; ++i) {
      const double w = sizes(i, 1), l = sizes(i, 2);
      if (w == 0.0 || l == 0.0 || i >= *nplies) {
        // No delamination at this interface, or no such interface.
        if (i >= *nplies && w != 0.0 && l != 0.0)
          latch_failure(status_error, "Delamination interface outside the stack", i);
        active[std::size_t(i - 1)] = 0;
        continue;
      }
      const dl::CompressionCase c{lam, i, props, *length, *width, *extensdmg};
      double work[26];
      const dl::detail::Allowable a = dl::detail::search_allowable(
          step, limit, [&](int j, double strain) {
            const Vec6 dof{{strain, 0.0, 0.0, 0.0, 0.0, 0.0}};
            const View<double, 2> r(work, 13, 2);
            dl::compression_growth(r, c, dof, w, l, 1, 1, increment);
            const double gx = r(9, 2), gy = r(10, 2), force = r(2, 2);
            const double v[6] = {strain, gx, gy, force, r(11, 2), r(12, 2)};
            for (int k = 1; k <= 6; ++k) eps(i, k, j) = v[k - 1];
            return dl::detail::SearchPoint{dl::detail::governing(gx, gy), force};
          });
      allowables_perinterface[i - 1] = a.strain;
      forceallowables_perinterface[i - 1] = a.force;
    }
    *strainallowable = dl::detail::most_critical(
        allowables_perinterface, m, [&](int i) { return active[std::size_t(i)] != 0; }, true,
        -std::numeric_limits<double>::max());
  });
}

}  // extern "C"
