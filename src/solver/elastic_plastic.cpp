#include "solver/elastic_plastic.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/record_files.hpp"
#include "foundation/format_record.hpp"
#include "foundation/scratch.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/ply_stiffness.hpp"
#include "mechanics/stress_measures.hpp"
#include "solver/layout.hpp"

namespace tavrin::toplevel {

namespace {

// The hydrostatic cut-off latch: 0 at load time, 1 once reached anywhere.
double smax = 0.0;

constexpr int newton_iterations = 10;
constexpr double newton_tolerance = 1e-6;  // relative to the initial yield stress
constexpr double yield_onset = 1.000001;

// The isotropic constants of the return and the tangent.
struct Elastic {
  double e, nu, one_plus_nu, one_minus_2nu;
  bool near_incompressible;
  double shear() const { return e / one_plus_nu / 2.0; }           // eg
  double bulk3() const { return e / one_minus_2nu; }                // E/(1 − 2ν), three times the bulk modulus
};

Elastic elastic_constants(double e, double nu) {
  // Near ν = 0.5 the factors are fixed values, so that (1 − 2ν) never
  // vanishes.
  const bool band = 0.4999000132083893 < nu && nu < 0.5001000165939331;
  return {e, nu, band ? 1.4990000128746033 : 1.0 + nu, band ? 0.001999974250793457 : 1.0 - 2.0 * nu, band};
}

// The elastic stiffness of ntens components, solver order, engineering
// shears.  Near ν = 0.5 the three-dimensional forms take the fixed factors
// (λ = (E/(1−2ν) − 2G)/3 on the direct block, 2G + λ on its diagonal, G on
// the shears); otherwise the orthotropic stiffness of the isotropic
// constants.
void elastic_stiffness(const Elastic& el, int ntens, int ndi, double* ddsdde) {
  const int n = ntens;
  if (el.near_incompressible && (n == 4 || n == 6)) {
    const double g = el.shear(), lambda = (el.bulk3() - 2.0 * g) / 3.0;
    std::fill_n(ddsdde, n * n, 0.0);
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i) {
        double& d = ddsdde[i + n * j];
        if (i < ndi && j < ndi) d = lambda + (i == j ? 2.0 * g : 0.0);
        else if (i == j) d = g;
      }
    return;
  }
  std::array<double, 9> nine{};
  const std::array<double, 2> iso{el.e, el.nu};
  const int two = 2;
  GetNyeProperties(nine.data(), iso.data(), &two);
  GetNyeStiffnessMatrix(ddsdde, nine.data(), &ntens, nullptr);
}

}  // namespace

extern "C" {

void umat_hail(double* stress, double* statev, double* ddsdde, double* /*sse*/, double* spd, double* /*scd*/,
               double* /*rpl*/, double* /*ddsddt*/, double* /*drplde*/, double* /*drpldt*/,
               const double* stran, const double* dstran, const double* /*time*/,
               const double* /*dtime*/, const double* /*temp*/, const double* /*dtemp*/,
               const double* /*predef*/, const double* /*dpred*/, const char* /*cmname*/, const int* ndi,
               const int* /*nshr*/, const int* ntens, const int* nstatv, const double* props,
               const int* nprops, const double* /*coords*/, const double* /*drot*/, double* /*pnewdt*/,
               const double* /*celent*/, const double* /*dfgrd0*/, const double* /*dfgrd1*/,
               const int* /*noel*/, const int* /*npt*/, const int* /*layer*/, const int* /*kspt*/,
               const int* /*jstep*/, const int* /*kinc*/, std::size_t /*cmname_len*/) {
  tavrin::c_boundary(__func__, [&] {
    // The layout first, each extent alone: a refused one touches nothing.
    const int n = *ntens, np = *nprops;
    if (!stiffness_layout(n)) return;
    if (!direct_split(*ndi, n)) {
      xerr(-2, unsupported_dimension, std::array{*ndi, n});
      return;
    }
    const int nd = *ndi;
    if (np < 2) {
      std::fill_n(ddsdde, n * n, 0.0);
      const std::array<int, 1> values{np};
      xerr(-2, "umat_hail: needs E and Poisson's ratio", values);
      return;
    }
    // Step 1: elastic trial stress and tangent.
    const Elastic el = elastic_constants(props[0], props[1]);
    elastic_stiffness(el, n, nd, ddsdde);
    const int incremental = 0, engineering = 0;
    GetStressVector(stress, ddsdde, stran, dstran, &nd, &n, &incremental, &engineering);

    bool plastic = np > 2 && props[2] > 0.0;
    if (plastic && np < 5) {
      const std::array<int, 1> values{np};
      xerr(-2, "umat_hail: plasticity needs a hardening table of one pair at least", values);
      plastic = false;
    }
    if (*nstatv < 2 * n + 1) {
      const std::array<int, 2> values{*nstatv, 2 * n + 1};
      xerr(-2, "umat_hail: needs 2*ntens+1 state variables", values);
      return;
    }
    // Step 2: the state at the start of the increment.
    Scratch<double, 6> elastic(n), plastic_strain(n);
    for (int i = 0; i < n; ++i) {
      elastic[std::size_t(i)] = statev[i] + dstran[i];
      plastic_strain[std::size_t(i)] = statev[n + i];
    }
    double eqplas = statev[2 * n];

    if (plastic) {
      // Step 4: trial equivalent and hydrostatic stress, yield stress at the
      // current equivalent plastic strain.  The table comes as pairs; the
      // lookup takes the yield stresses, then the plastic strains.
      const int m = (np - 3) / 2;
      Scratch<double, 64> table(2 * m);
      for (int i = 0; i < m; ++i) {
        table[std::size_t(i)] = props[3 + 2 * i];
        table[std::size_t(m + i)] = props[4 + 2 * i];
      }
      const double mises = GetMisesStress(stress, &n);
      const double hydrostatic = GetHydrostaticPressure(stress, &n);
      double syield0 = 0.0, hard = 0.0;
      GetHardeningFromTable(&syield0, &hard, &eqplas, table.data(), &m);

      if (mises > yield_onset * syield0) {
        // Step 5a: Newton on the equivalent plastic strain increment.
        const double eg = el.shear(), eg3 = 3.0 * eg;
        double deqpl = 0.0, syield = syield0;
        bool converged = false;
        for (int it = 0; it < newton_iterations && !converged; ++it) {
          const double rhs = mises - eg3 * deqpl - syield;
          deqpl += rhs / (eg3 + hard);
          const double at = eqplas + deqpl;
          GetHardeningFromTable(&syield, &hard, &at, table.data(), &m);
          converged = std::abs(rhs) < newton_tolerance * syield0;
        }
        if (!converged) {
          static const io::Format warning(
              "(//,30X,'***WARNING - PLASTICITY ALGORITHM DID NOT ','CONVERGE AFTER ',I3,' ITERATIONS')");
          io::write_formatted(io::standard_output_unit, warning, {newton_iterations});
        }
        // Step 5c: radial return along the flow direction.
        Scratch<double, 6> flow(n);
        GetMisesFlow(flow.data(), stress, &n);
        for (int k = 0; k < n; ++k) {
          const double nk = flow[std::size_t(k)];
          const double factor = k < nd ? 1.5 : 3.0;
          stress[k] = nk * syield + (k < nd ? hydrostatic : 0.0);
          plastic_strain[std::size_t(k)] += factor * nk * deqpl;
          elastic[std::size_t(k)] -= factor * nk * deqpl;
        }
        eqplas += deqpl;
        // The specific plastic dissipation accumulates: the increment's share
        // (trapezoidal in the yield stress) is added to what came in.
        *spd += deqpl * (syield0 + syield) / 2.0;

        // Step 5d: the consistent tangent of the return.
        const double effg = eg * syield / mises, effg2 = 2.0 * effg, effg3 = 3.0 * effg;
        const double efflam = (el.bulk3() - effg2) / 3.0;
        const double effhrd = eg3 * hard / (eg3 + hard) - effg3;
        for (int i = 0; i < nd; ++i)
          for (int j = 0; j < nd; ++j) ddsdde[i + n * j] = efflam;
        for (int i = 0; i < n; ++i) ddsdde[i + n * i] = i < nd ? effg2 + efflam : effg;
        for (int j = 0; j < n; ++j)
          for (int i = 0; i < n; ++i) ddsdde[i + n * j] += effhrd * flow[std::size_t(i)] * flow[std::size_t(j)];
      }

      // Step 6: the hydrostatic cut-off, process-wide once reached.
      if (hydrostatic > props[3]) smax = 1.0;
      if (smax == 1.0)
        for (int k = 0; k < n; ++k) stress[k] = k < nd ? props[3] : 0.0;
    }

    // Step 8: the state at the end of the increment.
    for (int i = 0; i < n; ++i) {
      statev[i] = elastic[std::size_t(i)];
      statev[n + i] = plastic_strain[std::size_t(i)];
    }
    statev[2 * n] = eqplas;
  });
}

}  // extern "C"

}  // namespace tavrin::toplevel
