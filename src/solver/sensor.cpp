#include "solver/sensor.hpp"

#include <algorithm>
#include <array>
#include <complex>

#include "elements/layouts.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/scratch.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/elasticity.hpp"
#include "mechanics/ply_stiffness.hpp"
#include "solver/lamina.hpp"
#include "solver/layout.hpp"
#include "solver/wrapper.hpp"

namespace tavrin::toplevel {
namespace {

constexpr char few_state[] = "Too few state variables for the material routine.";
constexpr char sensor_layout[] = "Sensor stiffness: at most three direct and three shear components.";

// The sensor's material: E = 1e-20, ν = 0.49.
constexpr double sensor_e = 1e-20, sensor_nu = 0.49;
constexpr double sensor_lambda = sensor_e * sensor_nu / ((1.0 + sensor_nu) * (1.0 - 2.0 * sensor_nu));
constexpr double sensor_g = sensor_e / (2.0 * (1.0 + sensor_nu));

// Entry (i, j) of the sensor stiffness of ntens components, ndi direct.
constexpr double sensor_stiffness(int i, int j, int ndi) {
  if (i <= ndi && j <= ndi) return i == j ? 2.0 * sensor_g + sensor_lambda : sensor_lambda;
  return i == j ? sensor_g : 0.0;
}

// The impactor's properties into its load record (two properties given).
void pass_properties(double* dprops, const double* props, int nprops) {
  if (nprops != 2) return;
  if (dprops[0] == 1.0) dprops[0] = -1.0;
  dprops[9] = dprops[10] = 0.0;
  dprops[7] = props[0];
  dprops[8] = props[1];
}

// The impactor's motion into state slots 1-3 and, in an impact step with
// more than five slots, its contact results into slots 4-6; slot k of the
// point is state[(k - 1)·stride].
void show_impactor(double* state, std::ptrdiff_t stride, int nstatv, int stepid, const double* cprops) {
  const int motion = std::min(nstatv, 3);
  for (int k = 1; k <= motion; ++k) state[(k - 1) * stride] = cprops[k + 2];
  if (motion < 3) xerr(-2, few_state, std::array{nstatv});
  if (stepid == 3 && nstatv > 5)
    for (int k = 1; k <= 3; ++k) state[(k + 2) * stride] = cprops[k - 1];
}

// The porosity factor: 0.001 as a single-precision value, widened.
constexpr double pore_factor = 0.0010000000474974513;

}  // namespace
}  // namespace tavrin::toplevel

using namespace tavrin;
using namespace tavrin::toplevel;

extern "C" {

void umat_sensor(double* stress, double* statev, double* ddsdde, double* sse, double* spd, double* scd,
                 double* /*rpl*/, double* /*ddsddt*/, double* /*drplde*/, double* /*drpldt*/,
                 const double* /*stran*/, const double* dstran, const double* /*time*/,
                 const double* /*dtime*/, const double* /*temp*/, const double* /*dtemp*/,
                 const double* /*predef*/, const double* /*dpred*/, const char* /*materl*/, const int* ndi,
                 const int* /*nshr*/, const int* ntens, const int* nstatv, const double* props,
                 const int* nprops, const double* /*coords*/, const double* /*drot*/, double* /*pnewdt*/,
                 const double* /*celent*/, const double* /*dfgrd0*/, const double* /*dfgrd1*/,
                 const int* /*noel*/, const int* /*npt*/, const int* /*kslay*/, const int* /*kspt*/,
                 const int* /*kinc*/, const int* stepid, const double* cprops, double* dprops,
                 std::size_t /*materl_len*/) {
  tavrin::c_boundary(__func__, [&] {
    if (!direct_split(*ndi, *ntens)) {
      xerr(-2, sensor_layout, std::array{*ndi, *ntens});
      return;
    }
    *spd = *scd = 0.0;
    const int n = *ntens, nsv = std::max(*nstatv, 0);
    std::fill_n(statev, nsv, 0.0);
    // Incremental law: σ = σ0 + D·Δε, W = W0 + ½ (σ + σ0)·Δε.
    Scratch<double, 6> old(n);
    std::copy_n(stress, n, old.data());
    double w = 0.0;
    for (int i = 1; i <= n; ++i) {
      double sum = 0.0;
      for (int j = 1; j <= n; ++j) {
        const double d = sensor_stiffness(i, j, *ndi);
        ddsdde[(i - 1) + std::ptrdiff_t(n) * (j - 1)] = d;
        sum += d * dstran[j - 1];
      }
      stress[i - 1] = old[std::size_t(i - 1)] + sum;
      w += (stress[i - 1] + old[std::size_t(i - 1)]) * dstran[i - 1];
    }
    *sse += 0.5 * w;
    pass_properties(dprops, props, *nprops);
    show_impactor(statev, 1, nsv, *stepid, cprops);
  });
}

void vumat_sensor(const int* nblock, const int* ndir, const int* nshr, const int* nstatev,
                  const int* /*nfieldv*/, const int* nprops, const int* /*lanneal*/,
                  const double* /*steptime*/, const double* /*totaltime*/, const double* /*dt*/,
                  const char* /*cmname*/, const double* /*coordmp*/, const double* /*charlength*/,
                  const double* props, const double* density, double* straininc,
                  const double* /*relspininc*/, const double* /*tempold*/, const double* /*stretchold*/,
                  const double* /*defgradold*/, const double* /*fieldold*/, const double* stressold,
                  const double* /*stateold*/, const double* enerinternold, const double* /*enerinelasold*/,
                  const double* /*tempnew*/, const double* /*stretchnew*/, const double* /*defgradnew*/,
                  const double* /*fieldnew*/, double* stressnew, double* statenew, double* enerinternnew,
                  double* enerinelasnew, const int* stepid, const double* cprops, double* dprops,
                  std::size_t /*cmname_len*/) {
  tavrin::c_boundary(__func__, [&] {
    // The layout first, each extent alone: a refused one touches nothing.
    if (negative_block(*nblock)) return;
    if (!components_in_range(*ndir, *nshr)) {
      xerr(-2, sensor_layout, std::array{*ndir, *nshr});
      return;
    }
    const int nb = *nblock, nt = *ndir + *nshr, ns = std::max(*nstatev, 0);
    std::fill_n(enerinelasnew, nb, 0.0);
    std::fill_n(stressnew, std::size_t(nb) * std::size_t(nt), 0.0);
    std::fill_n(statenew, std::size_t(nb) * std::size_t(ns), 0.0);
    const View<double, 2> de(straininc, nb, nt), snew(stressnew, nb, nt);
    const View<const double, 2> sold(stressold, nb, nt);
    const bool thickness = *ndir == 3 && *nshr == 1;
    const double nu = sensor_nu;
    Scratch<double, 6> ds(nt);
    for (int k = 1; k <= nb; ++k) {
      for (int i = 1; i <= nt; ++i) {
        double sum = 0.0;
        for (int j = 1; j <= nt; ++j) sum += sensor_stiffness(i, j, *ndir) * de(k, j);
        ds[std::size_t(i - 1)] = sum;
      }
      if (thickness) de(k, 3) = GetPlaneStressEpsZZ(&sensor_e, &nu, &nu, &ds[0], &ds[1]);
      double w = 0.0;
      for (int i = 1; i <= nt; ++i) {
        snew(k, i) = sold(k, i) + ds[std::size_t(i - 1)];
        w += (snew(k, i) + sold(k, i)) * de(k, i);
      }
      enerinternnew[k - 1] = enerinternold[k - 1] + 0.5 * w / density[k - 1];
      pass_properties(dprops, props, *nprops);
      show_impactor(statenew + (k - 1), nb, ns, *stepid, cprops);
    }
  });
}

void umat_porosity(double* stress, double* statev, double* ddsdde, double* sse, double* spd, double* scd,
                   double* /*rpl*/, double* /*ddsddt*/, double* /*drplde*/, double* /*drpldt*/,
                   const double* /*stran*/, const double* dstran, const double* /*time*/,
                   const double* /*dtime*/, const double* /*temp*/, const double* /*dtemp*/,
                   const double* /*predef*/, const double* /*dpred*/, const char* /*materl*/,
                   const int* /*ndi*/, const int* /*nshr*/, const int* ntens, const int* nstatv,
                   const double* props, const int* nprops, const double* /*coords*/, const double* /*drot*/,
                   double* /*pnewdt*/, const double* /*celent*/, const double* /*dfgrd0*/,
                   const double* /*dfgrd1*/, const int* /*noel*/, const int* /*npt*/, const int* /*kslay*/,
                   const int* /*kspt*/, const int* /*kinc*/, std::size_t /*materl_len*/) {
  tavrin::c_boundary(__func__, [&] {
    const int n = *ntens;
    if (!supported_layout(n)) {
      // The on-axis stiffness has no other layout; nothing is touched.
      xerr(-2, "Unsupported number of properties or dimensions in GetGeneralizedNyeOnAxisSC.");
      return;
    }
    *sse = *spd = *scd = 0.0;
    const int stiffness = 1;
    GetGeneralizedNyeOnAxisSC(ddsdde, props, ntens, nprops, &stiffness, nullptr, nullptr, nullptr);
    const std::size_t nn = std::size_t(n) * std::size_t(n);
    if (*nstatv >= 1 && statev[0] == 1.0)
      std::transform(ddsdde, ddsdde + nn, ddsdde, [](double c) { return pore_factor * c; });
    Scratch<double, 6> ds(n);
    for (int i = 0; i < n; ++i) {
      double sum = 0.0;
      for (int j = 0; j < n; ++j) sum += ddsdde[i + std::ptrdiff_t(n) * j] * dstran[j];
      ds[std::size_t(i)] = sum;
    }
    for (int i = 0; i < n; ++i) stress[i] += ds[std::size_t(i)];
  });
}

void umat_hyper(double* stress, double* statev, double* ddsdde, double* sse, double* spd, double* scd,
                double* /*rpl*/, double* /*ddsddt*/, double* /*drplde*/, double* /*drpldt*/,
                const double* stran, const double* dstran, const double* /*time*/, const double* /*dtime*/,
                const double* /*temp*/, const double* /*dtemp*/, const double* /*predef*/,
                const double* /*dpred*/, const char* /*materl*/, const int* ndi, const int* nshr,
                const int* ntens, const int* nstatv, const double* props, const int* nprops,
                const double* /*coords*/, const double* /*drot*/, double* /*pnewdt*/,
                const double* /*celent*/, const double* /*dfgrd0*/, const double* /*dfgrd1*/,
                const int* /*noel*/, const int* /*npt*/, const int* /*kslay*/, const int* /*kspt*/,
                const int* /*jstep*/, const int* /*kinc*/, std::size_t /*materl_len*/) {
  tavrin::c_boundary(__func__, [&] {
    const int n = *ntens, np = *nprops;
    // The layout first: the ply constants give 3, 4 or 6 components, a
    // stiffness triangle 1 to 6.  A refused one touches nothing.
    const bool ply_form = np >= 1 && np <= 9;
    if (ply_form ? !supported_layout(n) : n < 1 || n > 6) {
      xerr(-2, unsupported_dimension, std::array{n});
      return;
    }
    if (!stress_layout(*ndi, *nshr, n)) {
      xerr(-2, unsupported_dimension, std::array{*ndi, *nshr, n});
      return;
    }
    *spd = *scd = 0.0;
    // The stiffness: of the ply constants (one property: the material tables),
    // or the symmetric matrix of the upper triangle props holds column by
    // column.
    Mat6 c;
    bool have = false;
    if (ply_form) {
      if (const auto ply = umat_ply_constants(statev, *nstatv, props, np)) {
        double constants[9];
        ply->store(constants);
        GetNyeStiffnessMatrix(c.data(), constants, &n, nullptr);
        have = true;
      }
    } else if (np < n * (n + 1) / 2) {
      xerr(-2, "Too few properties for the stiffness triangle of the material routine.", std::array{np, n});
    } else {
      for (int j = 1, k = 0; j <= n; ++j)
        for (int i = 1; i <= j; ++i, ++k) c.v[std::size_t((i - 1) + n * (j - 1))] = c.v[std::size_t((j - 1) + n * (i - 1))] = props[k];
      have = true;
    }
    if (!have) {
      std::fill_n(stress, n, 0.0);
      std::fill_n(ddsdde, n * n, 0.0);
      *sse = 0.0;
    } else {
      // c holds the n×n matrix column-major with leading dimension n.
      double old[6], strain[6];
      std::copy_n(stress, n, old);
      double w = 0.0;
      for (int i = 0; i < n; ++i) strain[i] = stran[i] + dstran[i];
      for (int i = 0; i < n; ++i) {
        double sum = 0.0;
        for (int j = 0; j < n; ++j) sum += c.v[std::size_t(i + n * j)] * strain[j];
        stress[i] = sum;
        w += sum * strain[i];
      }
      *sse = 0.5 * w;
      // The tangent of the law stiffness·strain by the complex step (C
      // itself when C·Δε reproduces the stress increment exactly).
      const int one = 1;
      elasticity::getnumericaltangent(ddsdde, nullptr, cGetStressFromAnisotropicHyperelasticity, c.data(), stress,
                                      old, dstran, n, *ndi, n * n, false, c.data(), nullptr, &one);
    }
    if (!store_stress_in_state(statev, *nstatv, stress, *ndi, *nshr, n)) xerr(-2, few_state, std::array{*nstatv});
  });
}
}
