#include "solver/wrapper.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <limits>
#include <string_view>

#include "elements/layouts.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/linalg.hpp"
#include "foundation/scratch.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/micromechanic.hpp"
#include "mechanics/notation.hpp"
#include "solver/layout.hpp"
#include "solver/name_tags.hpp"

namespace tavrin::wrapper {
namespace {

constexpr int three = 3;
constexpr int six = 6;
constexpr int off = 0;
constexpr int on = 1;
constexpr double no_transverse[6] = {};
constexpr double identity3[9] = {1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
constexpr std::size_t name_length = 80;

// "ABQ_WRAPPER" blank-padded to a material name's 80 characters.
constexpr std::array<char, name_length> padded_adapter_name() {
  std::array<char, name_length> a{};
  a.fill(' ');
  const std::string_view name = adapter_material_name;
  std::copy(name.begin(), name.end(), a.begin());
  return a;
}
constexpr auto wrapper_name = padded_adapter_name();

// Element forms the layouts convert: 3 (plane stress), 4 (plane strain,
// axisymmetric) and 6 components.
constexpr char unsupported_components[] = "Unsupported number of stress components in the interface adapter.";
bool refused(int ncomp) {
  if (toplevel::supported_layout(ncomp)) return false;
  xerr(-2, unsupported_components, std::array{ncomp});
  return true;
}

// The three-dimensional state of an element form of ncomp components
// (solver order), expanded as the adapters do: zero transverse values of
// plane stress, the axisymmetric basis for four components.
struct State3D {
  Vec6 stress, strain, dstrain;
};

State3D expand(const double* stress, const double* strain, const double* dstrain, int ncomp) {
  State3D s;
  Get3DInputFromElem(s.stress.data(), s.strain.data(), s.dstrain.data(), stress, strain, dstrain,
                     &ncomp, no_transverse, &off, &off, &on);
  return s;
}

// The ANSYS order is the cyclic order 11, 22, 33, 12, 23, 31: it differs
// from the solver order by the exchange of the 13 and 23 positions (the same
// permutation in both directions).
Vec6 ansys_solver(const Vec6& v) { return lamina::permute(v, lamina::cyclic_nye); }
Mat6 ansys_solver(const Mat6& c) { return lamina::permute(c, lamina::cyclic_nye); }

}  // namespace
}  // namespace tavrin::wrapper

using namespace tavrin;
using namespace tavrin::wrapper;

extern "C" {

void muesli_to_abq_umat(MuesliUmatFn dfunc, double* stress, double* statev, double* ddsdde,
                        double* sse, double* spd, double* scd, double* rpl, double* ddsddt,
                        double* drplde, double* drpldt, const double* stran, const double* dstran,
                        const double* time, const double* dtime, const double* temp,
                        const double* dtemp, const double* predef, const double* dpred,
                        const char* materl, const int* /*ndi*/, const int* /*nshr*/,
                        const int* ntens, const int* nstatv, const double* props,
                        const int* nprops, const double* coords, const double* drot,
                        double* pnewdt, const double* celent, const double* dfgrd0,
                        const double* dfgrd1, const int* noel, const int* npt, const int* kslay,
                        const int* kspt, const int* jstep, const int* kinc, const int* matid,
                        std::size_t materl_len) {
  tavrin::c_boundary(__func__, [&] {
    (void)ddsddt, (void)drplde;  // the routine gets its own three-dimensional ones, zero
    if (refused(*ntens)) return;
    State3D s = expand(stress, stran, dstran, *ntens);
    Mat6 tangent;
    Vec6 ddsddt3, drplde3;
    dfunc(matid, s.stress.data(), statev, tangent.data(), sse, spd, scd, rpl, ddsddt3.data(),
          drplde3.data(), drpldt, s.strain.data(), s.dstrain.data(), time, dtime, temp, dtemp, predef,
          dpred, materl, &three, &three, &six, nstatv, props, nprops, coords, drot, pnewdt, celent,
          dfgrd0, dfgrd1, noel, npt, kslay, kspt, jstep, kinc, materl_len);
    GetElemOutputFrom3D(stress, ddsdde, s.stress.data(), tangent.data(), ntens, &on);
  });
}

void ansys_usermat_to_abq_umat(UsermatFn dfunc, double* stress, double* statev, double* ddsdde,
                               double* sse, double* spd, double* scd, double* /*rpl*/,
                               double* /*ddsddt*/, double* /*drplde*/, double* /*drpldt*/,
                               const double* stran, const double* dstran, const double* time,
                               const double* dtime, const double* temp, const double* dtemp,
                               const double* /*predef*/, const double* /*dpred*/,
                               const char* materl, const int* /*ndi*/, const int* /*nshr*/,
                               const int* ntens, const int* nstatv, const double* props,
                               const int* nprops, const double* coords, const double* /*drot*/,
                               double* pnewdt, const double* /*celent*/, const double* dfgrd0,
                               const double* dfgrd1, const int* noel, const int* npt,
                               const int* kslay, const int* kspt, const int* jstep,
                               const int* kinc, std::size_t materl_len) {
  tavrin::c_boundary(__func__, [&] {
    if (refused(*ntens)) return;
    *pnewdt = 1.0;
    *spd = *scd = 0.0;
    // The ANSYS material id is the name's "m" tag, at least 1.
    const std::string_view name(materl, materl_len);
    const int matid = std::max(1, iohandling::getxidfromstring(name, int(std::min<std::size_t>(materl_len, INT_MAX)), "m"));
    const int ldstep = jstep[0];
    const double ans_time = time[0];
    int keycut = 0;
    double sedpl = 0.0, epseq = 0.0, epszz = 0.0;
    double tsstif[2] = {};
    double var[9] = {};
    Vec6 epspl;
    const State3D s3 = expand(stress, stran, dstran, *ntens);
    Vec6 s = ansys_solver(s3.stress);
    const Vec6 e = ansys_solver(s3.strain), de = ansys_solver(s3.dstrain);
    Mat6 tangent;
    dfunc(&matid, noel, npt, kslay, kspt, &ldstep, kinc, &keycut, &three, &three, &six, nstatv, nprops,
          &ans_time, dtime, temp, dtemp, s.data(), statev, tangent.data(), sse, &sedpl, &epseq, e.data(),
          de.data(), epspl.data(), props, coords, &var[0], dfgrd0, dfgrd1, tsstif, &epszz, &var[1],
          &var[2], &var[3], &var[4], &var[5], &var[6], &var[7], &var[8]);
    s = ansys_solver(s);
    tangent = ansys_solver(tangent);
    GetElemOutputFrom3D(stress, ddsdde, s.data(), tangent.data(), ntens, &on);
  });
}

void abq_umat_to_ansys_usermat(UmatFn dfunc, const int* /*matid*/, const int* elemid,
                               const int* kdomintpt, const int* klayer, const int* ksectpt,
                               const int* ldstep, const int* isubst, int* keycut,
                               const int* ndirect, const int* /*nshear*/, const int* ncomp,
                               const int* nstatev, const int* nprop, const double* time,
                               const double* dtime, const double* temp, const double* dtemp,
                               double* stress, double* ustatev, double* dsdepl, double* sedel,
                               double* sedpl, double* epseq, const double* strain,
                               const double* dstrain, double* /*epspl*/, const double* prop,
                               const double* coords, double* /*var0*/, const double* defgrad_t,
                               const double* defgrad, double* tsstif, double* epszz,
                               double* /*var1*/, double* /*var2*/, double* /*var3*/,
                               double* /*var4*/, double* /*var5*/, double* /*var6*/,
                               double* /*var7*/, double* /*var8*/) {
  tavrin::c_boundary(__func__, [&] {
    const int n = *ncomp;
    if (refused(n)) return;
    *keycut = 0;
    *sedpl = *epseq = 0.0;
    double pnewdt = 1.0, spd = 0.0, scd = 0.0, rpl = 0.0, drpldt = 0.0;
    const double celent = 1.0;
    const double predef[1] = {}, dpred[1] = {};
    const int jstep[4] = {*ldstep, INT_MAX, 1, 0};
    const double abq_time[2] = {*time, std::numeric_limits<double>::max()};
    Vec6 ddsddt, drplde;

    // Six components arrive in the ANSYS order, element forms as they are.
    State3D s3;
    if (n == 6) {
      s3.stress = ansys_solver(Vec6::load(stress));
      s3.strain = ansys_solver(Vec6::load(strain));
      s3.dstrain = ansys_solver(Vec6::load(dstrain));
    } else {
      s3 = expand(stress, strain, dstrain, n);
    }
    Mat6 tangent;
    dfunc(s3.stress.data(), ustatev, tangent.data(), sedel, &spd, &scd, &rpl, ddsddt.data(),
          drplde.data(), &drpldt, s3.strain.data(), s3.dstrain.data(), abq_time, dtime, temp, dtemp,
          predef, dpred, wrapper_name.data(), &three, &three, &six, nstatev, prop, nprop, coords,
          identity3, &pnewdt, &celent, defgrad_t, defgrad, elemid, kdomintpt, klayer, ksectpt, jstep,
          isubst, name_length);

    if (n == 6) {
      ansys_solver(s3.stress).store(stress);
      ansys_solver(tangent).store(dsdepl);
    } else {
      GetElemOutputFrom3D(stress, dsdepl, s3.stress.data(), tangent.data(), &n, &on);
    }

    // Constants for the host from the compliance of the 3-D tangent (the
    // normal positions and 13 agree in the solver and Voigt orders).  A
    // tangent that cannot be inverted gives them as 0.
    const bool plane_stress = *ndirect == 2 && n == 3;
    const bool shell_shear = (*ndirect == 2 || *ndirect == 3) && n <= 4;
    Mat6 compliance;
    if (math::invert(tangent.view(), compliance.view()) != 0) {
      tsstif[0] = 0.0;
      if (shell_shear) tsstif[1] = 0.0;
      if (plane_stress) *epszz = 0.0;
      return;
    }
    // (E1, E2, E3, G23, G13, G12, ν23, ν13, ν12)
    const auto eng = micromechanic::engineering_constants(lamina::permute(compliance, lamina::voigt_nye));
    const double e1 = eng[0], e2 = eng[1], e3 = eng[2], g23 = eng[3], g13 = eng[4];
    const double nu23 = eng[6], nu13 = eng[7];
    tsstif[0] = g13;
    if (plane_stress) {
      const double nu31 = nu13 * e3 / e1, nu32 = nu23 * e3 / e2;
      *epszz = GetPlaneStressEpsZZ(&e3, &nu31, &nu32, &stress[0], &stress[1]);
    }
    if (shell_shear) tsstif[1] = g23;
  });
}

void abq_umat_to_peridigm_upermat(UmatFn dfunc, double* stressnew, double* statenew,
                                  const double* stressold, const double* stateold,
                                  const double* straininc, const double* props,
                                  const double* steptime, const double* totaltime, const double* dt,
                                  const int* /*matid*/, const int* npoint, const int* ndir,
                                  const int* nshr, const int* nstatev, const int* nprops) {
  tavrin::c_boundary(__func__, [&] {
    // The layout first, each extent alone: a refused one touches nothing.
    if (toplevel::negative_block(*npoint)) return;
    if (!toplevel::components_in_range(*ndir, *nshr)) {
      xerr(-2, unsupported_components, std::array{*ndir, *nshr});
      return;
    }
    const int ntens = *ndir + *nshr;
    if (refused(ntens)) return;
    const int np = *npoint;
    const int ns = std::max(*nstatev, 0);
    const View<double, 2> snew(stressnew, np, ntens), xnew(statenew, np, ns);
    const View<const double, 2> dstrain(straininc, np, ntens);
    std::copy_n(stressold, snew.size(), stressnew);
    std::copy_n(stateold, xnew.size(), statenew);
    if (np == 0) return;

    const double abq_time[2] = {*steptime, *totaltime};
    const double zero_scalar = 0.0, zero_pred[1] = {}, celent = 1.0;
    const double coords[3] = {1.0, 1.0, 1.0};
    const int jstep[4] = {1, INT_MAX, 1, 0};
    const int one = 1;
    Scratch<double, small_matrix_entries> state(ns);
    for (int i = 1; i <= np; ++i) {
      double row_stress[6] = {}, row_dstrain[6] = {};
      const double zero_strain[6] = {};
      for (int k = 1; k <= ntens; ++k) {
        row_stress[k - 1] = snew(i, k);
        row_dstrain[k - 1] = dstrain(i, k);
      }
      for (int k = 1; k <= ns; ++k) state[std::size_t(k - 1)] = xnew(i, k);
      State3D s3 = expand(row_stress, zero_strain, row_dstrain, ntens);
      Mat6 tangent;
      Vec6 ddsddt, drplde;
      double sse = 0.0, spd = 0.0, scd = 0.0, rpl = 0.0, drpldt = 0.0, pnewdt = 1.0;
      dfunc(s3.stress.data(), state.data(), tangent.data(), &sse, &spd, &scd, &rpl, ddsddt.data(),
            drplde.data(), &drpldt, s3.strain.data(), s3.dstrain.data(), abq_time, dt, &zero_scalar,
            &zero_scalar, zero_pred, zero_pred, wrapper_name.data(), &three, &three, &six, nstatev,
            props, nprops, coords, identity3, &pnewdt, &celent, identity3, identity3, &one, &one, &one,
            &one, jstep, &one, name_length);
      double out_stress[6] = {}, out_tangent[36] = {};
      GetElemOutputFrom3D(out_stress, out_tangent, s3.stress.data(), tangent.data(), &ntens, &on);
      for (int k = 1; k <= ntens; ++k) snew(i, k) += out_stress[k - 1];
      for (int k = 1; k <= ns; ++k) xnew(i, k) = state[std::size_t(k - 1)];
    }
  });
}
}
