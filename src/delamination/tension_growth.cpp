// Delamination growth at a fibre crack under tension, and the allowable
// no-growth strain of each cracked ply.
//
// The cracked ply's in-plane stress gives its principal direction α; turned
// there (θ = ply angle − α), the ply's membrane energy per area, less what
// remains when the principal stress 1 or 2 is released, is the release rate
// G1 or G2 of the delaminations along the crack, shared between the two
// interfaces of an inner ply (one for an outer ply).
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "delamination/delisio.hpp"
#include "delamination/growth_common.hpp"
#include "foundation/array.hpp"
#include "foundation/boundary.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/transforms.hpp"
#include "mechanics/ply_rotation.hpp"

namespace tavrin::delisio {
namespace {

constexpr int tension_columns = 1000;

struct TensionCase {
  const double* layup;
  double tply;
  const double* props;
  int nplies;
};

// The membrane stiffness A = Q̄·t of one ply of the material at angle_d.
Mat3 ply_membrane_stiffness(const double* props, double angle_d, double t) {
  return laminate::stiffness_block(laminate::Stack(props, &angle_d, &t, 1, 0), 1);
}

// Fills results(13, ncol) for the crack in ply `ncrack`; cyclejump < 1
// leaves column 1 alone.
void tension_growth(View<double, 2> results, const TensionCase& c, const detail::UniformLaminate& lam,
                    const Vec6& dof, int ncrack, double dmgwidth, double dmglength, double l_crack,
                    int totalcycles, int cyclejump, double c1, double c2) {
  for (int j = 1; j <= results.size(2); ++j)
    for (int i = 1; i <= 13; ++i) results(i, j) = 0.0;
  const Vec6 force = lam.abd() * dof;
  const int outer = ncrack == 1 || ncrack == c.nplies ? 1 : 0;

  // The cracked ply's stress in laminate axes and its principal angle α
  // (degrees); a ply without in-plane deviatoric stress keeps α = 0.
  const double ply_angle = c.layup[ncrack - 1];
  const Vec3 eps{{dof(1), dof(2), dof(3)}};
  const Vec3 sigma = (1.0 / c.tply) * (ply_membrane_stiffness(c.props, ply_angle, c.tply) * eps);
  const double diff = sigma(1) - sigma(2);
  const double alpha_d =
      diff == 0.0 && sigma(3) == 0.0 ? 0.0 : 0.5 * std::atan(2.0 * sigma(3) / diff) * 180.0 / std::numbers::pi;
  const double theta_d = ply_angle - alpha_d;

  // The ply's stiffness and the laminate strain in the principal axes.
  const Mat3 arot = ply_membrane_stiffness(c.props, theta_d, c.tply);
  const double alpha_r = alpha_d * math::deg2rad;
  const double zaxis[3] = {0.0, 0.0, 1.0};
  const double zero = 0.0, half_shear = dof(3) / 2.0;
  const int voigt = 1;
  double rotated[6];
  GetRotatedStresses(rotated, &alpha_r, zaxis, &dof.v[0], &dof.v[1], &zero, &half_shear, &zero,
                     &zero, &voigt);
  const double dof_r[6] = {rotated[0], rotated[1], 2.0 * rotated[5], 0.0, 0.0, 0.0};

  const double theta_r = theta_d * math::deg2rad;
  const double proj1 = l_crack * std::cos(theta_r), proj2 = l_crack * std::sin(theta_r);
  double g1 = 0.0, g2 = 0.0;
  const int dir1 = 1, dir2 = 2;
  sERR_delaTension(dof_r, arot.data(), &dmglength, &dmgwidth, &proj1, &theta_d, &g1, &dir1, &outer);
  sERR_delaTension(dof_r, arot.data(), &dmglength, &dmgwidth, &proj2, &theta_d, &g2, &dir2, &outer);
  const double nf = c.props[10], cf = c.props[11];
  double r1 = 0.0, r2 = 0.0;
  const double g1d = detail::driving(g1), g2d = detail::driving(g2);
  GrowthRateParis(&g1d, &r1, &cf, &nf);
  GrowthRateParis(&g2d, &r2, &cf, &nf);
  double initiation = -1.0, deltag = g1;
  GrowthInitiationParis(&deltag, &initiation, &c1, &c2);
  const double rate1 = 2.0 * l_crack * std::cos(theta_r) * r1, rate2 = l_crack * std::sin(theta_r) * r2;

  double length = dmglength, width = dmgwidth, area = std::numbers::pi / 4.0 * dmgwidth * dmglength;
  auto store = [&](int col, double cycle, double init) {
    const double v[13] = {cycle, force(1), dof(1), length, width, area, g1, rate1, g2, init,
                          0.0,   0.0,      0.0};
    for (int i = 1; i <= 13; ++i) results(i, col) = v[i - 1];
  };
  store(1, 0.0, initiation);
  if (cyclejump < 1) {
    latch_failure(status_error, "Cycle step below 1 in delaTension", cyclejump);
    return;
  }
  // The release rates are not re-evaluated as the delamination grows.
  int col = 1;
  for (long long cycle = cyclejump; cycle <= totalcycles; cycle += cyclejump) {
    if (++col > results.size(2)) {
      latch_failure(status_error, "More cycle steps than result columns in delaTension",
                    results.size(2));
      return;
    }
    length += r1 * cyclejump;
    width += r2 * cyclejump;
    area += (2.0 * rate2 + rate1) * cyclejump;
    store(col, double(cycle), 0.0);
  }
}

bool tension_inputs_hold(int nplies, int nprops, int ndof) {
  if (nplies >= 1 && nprops >= 12 && ndof >= 6) return true;
  latch_failure(status_error, "Tension growth needs plies, 12 properties and 6 strains",
                nplies < 1 ? nplies : nprops < 12 ? nprops : ndof);
  return false;
}

}  // namespace
}  // namespace tavrin::delisio

using namespace tavrin;
namespace dl = tavrin::delisio;

extern "C" {

void sERR_delaTension(const double* dof_r, const double* a_r, const double*, const double*,
                      const double*, const double*, double* serr_d_t, const int* dir,
                      const int* outer) {
  tavrin::c_boundary(__func__, [&] {
    const double factor = outer && *outer == 1 ? 1.0 : 2.0;
    const int n = 3, none = 0;
    const double area = 1.0;
    double u = 0.0, ur = 0.0;
    LinearElasticEnergy(dof_r, a_r, &area, &u, &n);
    reducedElasticEnergy(dof_r, a_r, &area, &ur, dir, &none, &n);
    *serr_d_t = (u - ur) / factor;
  });
}

void delaTension(const double* layup, const double* tply, const double* indof, const int* ncrack,
                 const double* props, const double*, const double*, const double*, double* results,
                 const double* indmgwidth, const double* indmglength, const double* l_crack,
                 const int* totalcycles, const int* nplies, const int* nprops, const int* ndof,
                 const int* incyclejump, const double*, const double* paris_ng) {
  tavrin::c_boundary(__func__, [&] {
    if (*totalcycles < 0) {
      latch_failure(status_error, "Negative cycle count in delaTension", *totalcycles);
      return;
    }
    const View<double, 2> r(results, 13, dl::tension_columns);
    if (!dl::tension_inputs_hold(*nplies, *nprops, *ndof) || *ncrack < 1 || *ncrack > *nplies) {
      if (*nplies >= 1 && *nprops >= 12 && *ndof >= 6)
        latch_failure(status_error, "Cracked ply outside the stack", *ncrack);
      for (int j = 1; j <= r.size(2); ++j)
        for (int i = 1; i <= 13; ++i) r(i, j) = 0.0;
      return;
    }
    const int jump = incyclejump ? *incyclejump : std::max(1, *totalcycles / 10);
    const double c1 = paris_ng ? paris_ng[0] : 1.0, c2 = paris_ng ? paris_ng[1] : 0.0;
    const dl::detail::UniformLaminate lam(props, layup, *tply, *nplies);
    const dl::TensionCase c{layup, *tply, props, *nplies};
    dl::tension_growth(r, c, lam, Vec6::load(indof), *ncrack, *indmgwidth, *indmglength, *l_crack,
                       *totalcycles, jump, c1, c2);
  });
}

void Find_Allowable_nogrowth_tension(const double* layup, const double* tply, const double*,
                                     const double*, const double*, const double* props,
                                     const double* fibercrack, const double* dmgsizes,
                                     const int* nplies, const int* nprops, const int* ninter,
                                     double* allowables_perply, double* strainallowable,
                                     double* forceallowables_perply, const double* inincrement,
                                     const double* inloadcycles) {
  tavrin::c_boundary(__func__, [&] {
    const int n = *nplies > 0 ? *nplies : 0, m = *ninter > 0 ? *ninter : 0;
    for (int i = 0; i < n; ++i) allowables_perply[i] = forceallowables_perply[i] = 0.0;
    *strainallowable = std::numeric_limits<double>::max();
    if (!dl::tension_inputs_hold(*nplies, *nprops, 6)) return;

    const double step = std::abs(inincrement ? *inincrement : -0.001);
    const double limit = dl::detail::allowable_release_rate(props, inloadcycles);
    // The largest delamination of the table stands for every crack.
    const View<const double, 2> sizes(dmgsizes, m, 2);
    double length = -std::numeric_limits<double>::max(), width = length;
    for (int i = 1; i <= m; ++i) {
      length = std::max(length, sizes(i, 1));
      width = std::max(width, sizes(i, 2));
    }
    const dl::detail::UniformLaminate lam(props, layup, *tply, *nplies);
    const dl::TensionCase c{layup, *tply, props, *nplies};
    for (int i = 1; i <= n; ++i) {
      if (fibercrack[i - 1] == 0.0) continue;
      double work[26];
      const dl::detail::Allowable a =
          dl::detail::search_allowable(step, limit, [&](int, double strain) {
            const View<double, 2> r(work, 13, 2);
            dl::tension_growth(r, c, lam, Vec6{{strain, 0.0, 0.0, 0.0, 0.0, 0.0}}, i, width, length,
                               fibercrack[i - 1], 1, 1, 1.0, 0.0);
            return dl::detail::SearchPoint{dl::detail::governing(r(7, 1), r(9, 1)), r(2, 1)};
          });
      allowables_perply[i - 1] = a.strain;
      forceallowables_perply[i - 1] = a.force;
    }
    *strainallowable = dl::detail::most_critical(
        allowables_perply, n, [&](int i) { return fibercrack[i] != 0.0; }, false,
        std::numeric_limits<double>::max());
  });
}

}  // extern "C"
