#include "solver/fiber_materials.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "elements/layouts.hpp"
#include "failure/gpcollection.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/record_files.hpp"
#include "foundation/list_record.hpp"
#include "foundation/scratch.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_stiffness.hpp"
#include "mechanics/resin.hpp"
#include "solver/layout.hpp"

namespace tavrin::toplevel {

namespace {

constexpr double largest = 1.7976931348623157e308;
constexpr int fibre_state_slots = 12, effort_slot = 3, marker_slot = 12;

// "****WARNING: To less nstatev allocated for material " and the material
// name blank-padded to 80 characters, as one record on standard output.
void warn_few_state_variables(const char* cmname, std::size_t cmname_len) {
  std::string name(cmname, std::min<std::size_t>(cmname_len, 80));
  name.resize(80, ' ');
  io::ListRecord rec;
  rec << "****WARNING: To less nstatev allocated for material " + name;
  rec.write(io::standard_output_unit);
}

// The eleven fibre values (E1 .. G23, xt11, xc11) at temperature t from
// the property vector of nprops > 23 entries: two sets with their
// temperatures props(12) and props(24), ordered so that T1 < T2, the end
// sets outside [T1, T2] and straight lines between.
std::array<double, 11> fibre_values_at(const double* props, double t) {
  const double* set1 = props;
  const double* set2 = props + 12;
  double t1 = props[11], t2 = props[23];
  if (!(t2 > t1)) {
    std::swap(set1, set2);
    std::swap(t1, t2);
  }
  std::array<double, 11> c;
  for (int i = 0; i < 11; ++i) {
    if (t1 >= t) c[std::size_t(i)] = set1[i];
    else if (t >= t2) c[std::size_t(i)] = set2[i];
    else c[std::size_t(i)] = set1[i] + (set2[i] - set1[i]) * (t - t1) / (t2 - t1);
  }
  return c;
}

}  // namespace

extern "C" {

void umat_fiber(double* stress, double* statev, double* ddsdde, double* sse, double* spd, double* scd,
                double* /*rpl*/, double* /*ddsddt*/, double* /*drplde*/, double* /*drpldt*/,
                const double* stran, const double* dstran, const double* /*time*/, const double* /*dtime*/,
                const double* temp, const double* dtemp, const double* /*predef*/, const double* /*dpred*/,
                const char* cmname, const int* ndi, const int* /*nshr*/, const int* ntens,
                const int* nstatv, const double* props, const int* nprops, const double* /*coords*/,
                const double* /*drot*/, double* /*pnewdt*/, const double* /*celent*/,
                const double* /*dfgrd0*/, const double* /*dfgrd1*/, const int* /*noel*/,
                const int* /*npt*/, const int* /*layer*/, const int* /*kspt*/, const int* /*jstep*/,
                const int* kinc, std::size_t cmname_len) {
  tavrin::c_boundary(__func__, [&] {
    // The stiffness has 3, 4 or 6 components; another layout touches nothing.
    if (!stiffness_layout(*ntens)) return;
    *spd = 0.0;
    *scd = 0.0;
    const int nst = std::max(*nstatv, 0), n = *ntens, np = *nprops;
    if (*kinc < 2) {
      if (nst < fibre_state_slots) warn_few_state_variables(cmname, cmname_len);
      if (nst >= 1 && statev[nst - 1] >= 9.9e34) statev[nst - 1] = 0.0;
    }
    Scratch<double, 6> stress0(n);
    std::copy_n(stress, n, stress0.data());

    // The properties given: 9 elastic constants, then the strengths, a
    // factor after failure or a second set at a second temperature.
    std::array<double, 11> c{};
    if (np > 23) c = fibre_values_at(props, *temp + *dtemp);
    else std::copy_n(props, std::clamp(np, 0, 11), c.begin());
    const bool has_factor = np == 12 || np == 25;
    const double factor = np == 12 ? props[11] : np == 25 ? props[24] : 1.0;
    double* effort = nst >= effort_slot ? &statev[effort_slot - 1] : nullptr;
    if (has_factor && effort && *effort >= 1.0)
      for (int i = 0; i < 9; ++i) c[std::size_t(i)] *= factor;

    if (np < 9) {
      const std::array<int, 1> values{np};
      xerr(-2, "umat_fiber: needs at least the 9 elastic constants", values);
      std::fill_n(ddsdde, std::ptrdiff_t(n) * n, 0.0);
    } else {
      GetNyeStiffnessMatrix(ddsdde, c.data(), ntens, nullptr);
    }
    const int secant = 1, engineering = 0;
    GetStressVector(stress, ddsdde, stran, dstran, ndi, ntens, &secant, &engineering);

    // Fibre failure by the maximum nominal stress in direction 1; without a
    // compressive strength (10 properties) compression does not count.
    if (np >= 10 && effort) {
      const double xc = np >= 11 ? c[10] : std::numeric_limits<double>::infinity();
      double r;
      GPMaxNominal(&r, &stress[0], &c[9], &xc);
      const double e = std::min(r, 1.0);  // a NaN effort stays NaN and changes nothing below
      *effort = std::isnan(*effort) ? e : std::max(*effort, e);
    }
    if (nst >= marker_slot) statev[marker_slot - 1] = largest;
    GetSpecificStrainEnergy(sse, stress, stress0.data(), stran, dstran, ndi, ntens, &secant, &engineering);
  });
}

void umat_krause(double* stress, double* statev, double* ddsdde, double* /*sse*/, double* /*spd*/,
                 double* /*scd*/, double* /*rpl*/, double* /*ddsddt*/, double* /*drplde*/,
                 double* /*drpldt*/, const double* stran, const double* dstran, const double* /*time*/,
                 const double* dtime, const double* /*temp*/, const double* /*dtemp*/,
                 const double* /*predef*/, const double* /*dpred*/, const char* /*cmname*/,
                 const int* /*ndi*/, const int* /*nshr*/, const int* ntens, const int* nstatv,
                 const double* props, const int* nprops, const double* /*coords*/, const double* /*drot*/,
                 double* /*pnewdt*/, const double* /*celent*/, const double* /*dfgrd0*/,
                 const double* /*dfgrd1*/, const int* /*noel*/, const int* /*npt*/, const int* /*layer*/,
                 const int* /*kspt*/, const int* /*jstep*/, const int* /*kinc*/,
                 std::size_t /*cmname_len*/) {
  if (*ntens != 6) {
    const std::array<int, 1> values{*ntens};
    xerr(-2, "umat_krause: the endochronic law needs 6 stress components", values);
    return;
  }
  const int write = 1, keep = 0, material = 1;
  EndochroneViscoPlasticity(stran, dstran, props, stress, statev, dtime, nprops, nstatv, &write, &material);
  // Central differences of the stress in the strain increment, without
  // time (no relaxation) and without touching the state just written.
  constexpr double h = 1e-08;
  const double no_time = 0.0;
  for (int j = 0; j < 6; ++j) {
    Vec6 forward = Vec6::load(dstran), backward = forward, sf, sb;
    forward(j + 1) += h;
    backward(j + 1) -= h;
    EndochroneViscoPlasticity(stran, forward.data(), props, sf.data(), statev, &no_time, nprops, nstatv,
                              &keep, &material);
    EndochroneViscoPlasticity(stran, backward.data(), props, sb.data(), statev, &no_time, nprops, nstatv,
                              &keep, &material);
    for (int i = 0; i < 6; ++i) ddsdde[i + 6 * j] = (sf.v[std::size_t(i)] - sb.v[std::size_t(i)]) / 2e-08;
  }
}

void usermat_fiber(const int* /*matid*/, const int* /*elemid*/, const int* /*kdomintpt*/,
                   const int* /*klayer*/, const int* /*ksectpt*/, const int* /*ldstep*/,
                   const int* /*isubst*/, int* keycut, const int* ndirect, const int* /*nshear*/,
                   const int* ncomp, const int* /*nstatev*/, const int* nprop, const double* /*time*/,
                   const double* /*dtime*/, const double* /*temp*/, const double* /*dtemp*/, double* stress,
                   double* /*ustatev*/, double* dsdepl, double* sedel, double* sedpl, double* epseq,
                   const double* strain, const double* dstrain, double* /*epspl*/, const double* prop,
                   const double* /*coords*/, double* /*var0*/, const double* /*defgrad_t*/,
                   const double* /*defgrad*/, double* tsstif, double* epszz, double* /*var1*/,
                   double* /*var2*/, double* /*var3*/, double* /*var4*/, double* /*var5*/,
                   double* /*var6*/, double* /*var7*/, double* /*var8*/) {
  tavrin::c_boundary(__func__, [&] {
    if (!stiffness_layout(*ncomp)) return;
    *keycut = 0;
    *sedel = *sedpl = *epseq = *epszz = 0.0;
    const int n = *ncomp;
    Scratch<double, 6> stress0(n);
    std::copy_n(stress, n, stress0.data());

    // E1, E2, E3, ν12, ν13, ν23, G12, G13, G23 from 2, 5 or 9 values.
    std::array<double, 9> c{};
    GetNyeProperties(c.data(), prop, nprop);
    if (*nprop != 2 && *nprop != 5 && *nprop != 9) {
      std::fill_n(dsdepl, std::ptrdiff_t(n) * n, 0.0);
      return;
    }
    if (n == 6) {
      // Solver order → Voigt order → the ANSYS order 11, 22, 33, 12, 23, 13.
      Mat6 solver, voigt;
      const int six = 6, to_cyclic = 2;
      GetNyeStiffnessMatrix(solver.data(), c.data(), &six, nullptr);
      FlipVoigtNyeNotation(voigt.data(), solver.data(), &six);
      FlipVoigtCyclicNotation(dsdepl, voigt.data(), &six, &to_cyclic);
    } else {
      GetNyeStiffnessMatrix(dsdepl, c.data(), ncomp, nullptr);
    }
    const int incremental = 0, engineering = 0;
    GetStressVector(stress, dsdepl, strain, dstrain, ndirect, ncomp, &incremental, &engineering);
    GetSpecificStrainEnergy(sedel, stress, stress0.data(), strain, dstrain, ndirect, ncomp, &incremental,
                            &engineering);

    const double e1 = c[0], e2 = c[1], e3 = c[2], nu13 = c[4], nu23 = c[5], g13 = c[7], g23 = c[8];
    tsstif[0] = g13;
    if (n == 3 && *ndirect == 2) {
      // Plane stress: the thickness strain from the in-plane stress.
      const double nu31 = nu13 * e3 / e1, nu32 = nu23 * e3 / e2;
      *epszz = GetPlaneStressEpsZZ(&e3, &nu31, &nu32, &stress[0], &stress[1]);
    }
    if ((*ndirect == 2 || *ndirect == 3) && n < 5) tsstif[1] = g23;
  });
}

}  // extern "C"

}  // namespace tavrin::toplevel
