// The user elements from a C caller: arrays of exactly the sizes the call
// declares (the sanitizer build sees any access beyond them), outputs the
// element must leave as the caller gave them.
#include <gtest/gtest.h>

#include <vector>

#include "foundation/errorhandling.hpp"
#include "foundation/shared_state.hpp"
#include "solver/elastic_plastic.hpp"
#include "solver/fiber_materials.hpp"
#include "solver/hooks.hpp"
#include "solver/impact_elements.hpp"
#include "solver/truss_elements.hpp"
#include "solver/wrapper.hpp"

namespace tavrin {
namespace {

int latched_status() {
  int reset = 0;
  const int status = errorhandling::errstat;
  errorhandling::rsxerr(reset, 1);
  return status;
}

// An implicit call with ndofel degrees of freedom and nsvars state slots,
// every array of exactly its declared size.
struct Uel {
  int ndofel, nsvars, nrhs = 1, nprops = 12, mcrd = 3, nnode = 2, jtype = 1, kstep = 1, kinc = 1, jelem = 1,
      ndload = 0, npredf = 1, mdload = 1, njprop = 3;
  std::vector<double> rhs, amatrx, svars, u, v, a, props{100, 1, 1, 0, 50, 4, 8, 1, 0, 0, 0, 0.5}, cprops;
  std::vector<double> coords{0, 0, 0, 1, 0, 0}, energy = std::vector<double>(8, 3.0);
  std::vector<double> time{0, 0}, params{0, 0.25, 0.5}, adlmag{0}, ddlmag{0}, predef{0, 0, 0, 0};
  std::vector<int> jdltyp{0}, lflags{11, 1, 1, 0, 0}, jprops{1, 0, 0};
  double dtime = 0.1, pnewdt = 1.0, period = 1.0;
  Uel(int dof, int slots)
      : ndofel(dof), nsvars(slots), rhs(std::size_t(dof), 7.0), amatrx(std::size_t(dof * dof), 7.0),
        svars(std::size_t(slots), 3.0), u(std::size_t(dof), 0.1), v(std::size_t(dof)), a(std::size_t(dof)),
        cprops(20, 5.0) {}
  void truss() {
    toplevel::uel_truss(rhs.data(), amatrx.data(), svars.data(), energy.data(), &ndofel, &nrhs, &nsvars,
                        props.data(), &nprops, coords.data(), &mcrd, &nnode, u.data(), u.data(), v.data(),
                        a.data(), &jtype, time.data(), &dtime, &kstep, &kinc, &jelem, params.data(), &ndload,
                        jdltyp.data(), adlmag.data(), predef.data(), &npredf, lflags.data(), &ndofel,
                        ddlmag.data(), &mdload, &pnewdt, jprops.data(), &njprop, &period);
  }
  void impact() {
    toplevel::uel_impact(rhs.data(), amatrx.data(), svars.data(), energy.data(), &ndofel, &nrhs, &nsvars,
                         props.data(), &nprops, coords.data(), &mcrd, &nnode, u.data(), u.data(), v.data(),
                         a.data(), &jtype, time.data(), &dtime, &kstep, &kinc, &jelem, params.data(), &ndload,
                         jdltyp.data(), adlmag.data(), predef.data(), &npredf, lflags.data(), &ndofel,
                         ddlmag.data(), &mdload, &pnewdt, jprops.data(), &njprop, &period, cprops.data());
  }
  bool outputs_zero() const {
    for (double x : rhs)
      if (x != 0.0) return false;
    for (double x : amatrx)
      if (x != 0.0) return false;
    return true;
  }
};

// A UMAT call of ntens components and nstatv state variables, every array of
// exactly its size (an empty one is a null pointer).
struct Point {
  int ndi, nshr, ntens, nstatv, nprops, one = 1;
  std::vector<double> stress, statev, ddsdde, stran, dstran, props, eye{1, 0, 0, 0, 1, 0, 0, 0, 1}, time{0, 0};
  std::vector<int> jstep{1, 1, 0, 0};
  double sse = 0, spd = 0, scd = 0, rpl = 0, drpldt = 0, pnewdt = 1, dtime = 0.1, temp = 0, celent = 1;
  Point(int n, int nstate, std::vector<double> constants)
      : ndi(n >= 3 ? 3 : 0), nshr(n - ndi), ntens(n), nstatv(nstate), nprops(int(constants.size())),
        stress(std::size_t(n)), statev(std::size_t(nstate)), ddsdde(std::size_t(n * n)), stran(std::size_t(n)),
        dstran(std::size_t(n)), props(std::move(constants)) {}
  void call(wrapper::UmatFn umat) {
    umat(stress.data(), statev.data(), ddsdde.data(), &sse, &spd, &scd, &rpl, stran.data(), stran.data(), &drpldt,
         stran.data(), dstran.data(), time.data(), &dtime, &temp, &temp, &temp, &temp, "POINT", &ndi, &nshr, &ntens,
         &nstatv, props.data(), &nprops, eye.data(), eye.data(), &pnewdt, &celent, eye.data(), eye.data(), &one, &one,
         &one, &one, jstep.data(), &one, 5);
  }
};

TEST(UserElements, CallsTheElementCannotHoldTouchOnlyTheirOwnArrays) {
  Uel four(4, 12);  // a layout refused: nothing touched
  four.truss();
  EXPECT_EQ(latched_status(), -2);
  EXPECT_EQ(four.rhs, std::vector<double>(4, 7.0));
  EXPECT_EQ(four.amatrx, std::vector<double>(16, 7.0));
  EXPECT_EQ(four.svars, std::vector<double>(12, 3.0));
  EXPECT_EQ(four.energy, std::vector<double>(8, 3.0));

  Uel short_state(6, 19);  // the impactor needs 20 slots
  short_state.impact();
  EXPECT_EQ(latched_status(), -2);
  EXPECT_TRUE(short_state.outputs_zero());
  EXPECT_EQ(short_state.svars, std::vector<double>(19, 3.0));
  EXPECT_EQ(short_state.cprops, std::vector<double>(20, 5.0));

  // No right-hand side: nothing to zero.
  Uel none(6, 12);
  none.nrhs = 0;
  none.rhs.clear();
  none.truss();
  EXPECT_EQ(latched_status(), -2);

  // The mass request writes the diagonal of the 6 x 6 matrix, nothing behind it.
  Uel mass(6, 12);
  mass.lflags = {1, 1, 4, 0, 0};
  mass.amatrx.assign(43, 7.0);
  mass.truss();
  EXPECT_EQ(mass.amatrx[35], 0.5);
  EXPECT_EQ(std::vector<double>(mass.amatrx.begin() + 36, mass.amatrx.end()), std::vector<double>(7, 7.0));

  // Without a step table the impactor is the truss alone.
  Uel no_steps(6, 20);
  no_steps.impact();
  EXPECT_EQ(latched_status(), 0);
  EXPECT_FALSE(no_steps.outputs_zero());
  EXPECT_EQ(no_steps.cprops, std::vector<double>(20, 5.0));
  EXPECT_EQ(std::vector<double>(no_steps.svars.begin() + 12, no_steps.svars.end()), std::vector<double>(8, 3.0));
}

TEST(UserElements, RowsBeyondTheDegreesOfFreedomAndEmptyConstraints) {
  Uel bar(6, 12);
  bar.lflags = {1, 1, 1, 0, 0};
  bar.rhs.assign(7, 7.0);  // mlvarx 7: row 7 is the caller's
  int mlvarx = 7;
  toplevel::uel_truss(bar.rhs.data(), bar.amatrx.data(), bar.svars.data(), bar.energy.data(), &bar.ndofel,
                      &bar.nrhs, &bar.nsvars, bar.props.data(), &bar.nprops, bar.coords.data(), &bar.mcrd,
                      &bar.nnode, bar.u.data(), bar.u.data(), bar.v.data(), bar.a.data(), &bar.jtype,
                      bar.time.data(), &bar.dtime, &bar.kstep, &bar.kinc, &bar.jelem, bar.params.data(),
                      &bar.ndload, bar.jdltyp.data(), bar.adlmag.data(), bar.predef.data(), &bar.npredf,
                      bar.lflags.data(), &mlvarx, bar.ddlmag.data(), &bar.mdload, &bar.pnewdt, bar.jprops.data(),
                      &bar.njprop, &bar.period);
  EXPECT_EQ(latched_status(), 0);
  EXPECT_EQ(bar.rhs[6], 7.0);
  EXPECT_EQ(bar.rhs[0], 0.0);  // the bar along x moved rigidly by 0.1
  // Velocities beyond the element's six are not read: kinetic energy of v = 1 everywhere.
  Uel dyn(6, 12);
  dyn.v.assign({1, 1, 1, 1, 1, 1, 1000});
  dyn.truss();
  EXPECT_EQ(latched_status(), 0);
  EXPECT_DOUBLE_EQ(dyn.energy[0], 6 * 0.5 * 0.5);  // half the bar's mass 1 per node
  // A constraint of no degrees of freedom: nothing to zero.
  std::vector<double> ue, a, x(12), uu;
  std::vector<int> jdof, ltran(2);
  int mdof = 0, n = 2, jt = 1, maxdof = 0, lmpc = 4, ks = 1, ki = 1, nt = 0, nf = 0;
  const double t2[2] = {0, 0}, tran[18] = {};
  toplevel::mpc_nullify(ue.data(), a.data(), jdof.data(), &mdof, &n, &jt, x.data(), uu.data(), uu.data(), &maxdof,
                        &lmpc, &ks, &ki, t2, &nt, &nf, nullptr, nullptr, ltran.data(), tran);
  EXPECT_EQ(lmpc, 0);
  // A material point without stress components, or without state variables.
  Point bare(0, 12, std::vector<double>(9, 1.0));
  bare.spd = 1.0;
  bare.call(toplevel::umat_fiber);
  EXPECT_EQ(bare.sse, 0.0);
  EXPECT_EQ(bare.spd, 1.0);  // refused before anything is written
  EXPECT_EQ(latched_status(), -2);  // no stiffness of 0 components
  Point(0, 0, std::vector<double>(9, 1.0)).call(toplevel::umat_fiber);
  bare.call(toplevel::umat_hail);
  latched_status();
  // Two properties: the third entry behind them is not the plasticity switch.
  Point elastic(6, 13, {200000.0, 0.3, 1.0});
  elastic.nprops = 2;
  elastic.dstran[0] = 1e-4;
  elastic.call(toplevel::umat_hail);
  EXPECT_EQ(latched_status(), 0);
  EXPECT_EQ(elastic.statev[0], 1e-4);
}

TEST(UserElements, NearlyIncompressibleStiffnessStaysInItsMatrix) {
  // ν in the band around 0.5: the fixed factors, G = E / 1.499 / 2 on the
  // shear diagonal; the entries behind the n x n matrix stay untouched.
  for (const int n : {4, 6}) {
    Point p(n, 13, {200000.0, 0.49995});
    p.ddsdde.assign(std::size_t(n * n + n), 7.0);
    p.call(toplevel::umat_hail);
    EXPECT_EQ(latched_status(), 0);
    EXPECT_DOUBLE_EQ(p.ddsdde[std::size_t(n * n - 1)], 200000.0 / 1.4990000128746033 / 2.0);
    EXPECT_EQ(std::vector<double>(p.ddsdde.begin() + n * n, p.ddsdde.end()), std::vector<double>(std::size_t(n), 7.0));
  }
}

TEST(UserElements, PlaneElementLengthsReadTwoCoordinates) {
  // A unit square in the x-y plane, two coordinates per node; behind the
  // block's coordinates lies what a third coordinate would be.
  const int nblock = 1, nfieldv = 1, nprops = 1, ncomp = 3, ndim = 2, nnode = 4, nstatev = 1, zero = 0;
  const std::vector<int> jeltype{3, 0, 0}, jelem{1};
  std::vector<double> coordnode{0, 1, 1, 0, 0, 0, 1, 1, 50, 50, 50, 50};
  const std::vector<double> tdirect{1, 0, 0, 0, 0, 1, 0, 1, 0};  // axes x and z: lengths along x only
  const double t = 0.0;
  std::vector<double> charlength(3, 7.0), spare(9);
  toplevel::vucharlength_cel(&nblock, &nfieldv, &nprops, &ncomp, &ndim, &nnode, &nstatev, &zero, &zero, &zero,
                             jeltype.data(), jelem.data(), &t, &t, &t, "M", spare.data(), coordnode.data(),
                             tdirect.data(), spare.data(), spare.data(), spare.data(), spare.data(),
                             charlength.data(), 1);
  EXPECT_EQ(charlength, (std::vector<double>{1.0, 0.0, 1.0}));
}

TEST(UserElements, ExplicitTrussOutsideItsProcedureTouchesNothing) {
  const int nblock = 2, nsvars = 2, nnode = 2, ndofel = 6, nprops = 3, njprops = 1, ncrd = 3, jtype = 1,
            kstep = 1, kinc = 1, npredef = 1, jdltyp = 123;
  std::vector<double> rhs(12, 7.0), amass(72, 7.0), dt(2, 7.0), svars(4, 7.0), energy(24, 7.0);
  const std::vector<double> props{1, 1, 1}, coords{0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0}, u(12, 0.1),
      time{0, 0}, scale(2, 1.0), predef(8), adlmag(2, 1.0);
  const std::vector<int> jprops{0}, jelem{1, 2};
  const double period = 1, dtimecur = 0.1, dtimeprev = 0.1;
  for (const std::vector<int>& lflags : {std::vector<int>{16, 0, 2}, std::vector<int>{17, 0, 7}}) {
    toplevel::vuel_truss(&nblock, rhs.data(), amass.data(), dt.data(), svars.data(), &nsvars, energy.data(),
                         &nnode, &ndofel, props.data(), &nprops, jprops.data(), &njprops, coords.data(), &ncrd,
                         u.data(), u.data(), u.data(), u.data(), &jtype, jelem.data(), time.data(), &period,
                         &dtimecur, &dtimeprev, &kstep, &kinc, lflags.data(), scale.data(), predef.data(),
                         &npredef, &jdltyp, adlmag.data());
    for (const auto* array : {&rhs, &amass, &dt, &svars, &energy})
      for (double x : *array) EXPECT_EQ(x, 7.0);
  }
  EXPECT_EQ(latched_status(), 0);
}

TEST(UserElements, ExplicitImpactorStartsItsPointsAndTheKrauseTangentStaysInItsMatrix) {
  jobdata::stepid.allocate(1);
  jobdata::stepid(1) = 0;
  jobdata::nsteps = 1;
  const int nblock = 1, nsvars = 18, nnode = 2, ndofel = 6, nprops = 12, njprops = 2, ncrd = 3, jtype = 1,
            kstep = 1, kinc = 1, npredef = 1, jdltyp = 0;
  std::vector<double> rhs(6), amass(36), dt(1), svars(18, 9.0), energy(12), cprops(20);
  cprops[5] = 9.80665;
  const std::vector<double> props{210e3, 0.3, 10e3, 0.3, 50, 4, 8, 1, 0, 0, 0, 0.5}, coords{0, 0, 0, 0, 0, 1},
      u(6), time{0, 0}, scale(1, 1.0), predef(4), adlmag(1);
  const std::vector<int> jprops{1, 0}, jelem{1}, lflags{17, 0, 2};
  const double period = 1, dtimecur = 0.1, dtimeprev = 0.1;
  toplevel::vuel_impact(&nblock, rhs.data(), amass.data(), dt.data(), svars.data(), &nsvars, energy.data(), &nnode,
                        &ndofel, props.data(), &nprops, jprops.data(), &njprops, coords.data(), &ncrd, u.data(),
                        u.data(), u.data(), u.data(), &jtype, jelem.data(), time.data(), &period, &dtimecur,
                        &dtimeprev, &kstep, &kinc, lflags.data(), scale.data(), predef.data(), &npredef, &jdltyp,
                        adlmag.data(), cprops.data());
  const std::vector<double> started{9.80665, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::vector<double>(svars.begin() + 12, svars.end()), started);
  EXPECT_EQ(cprops[4], 5.0);
  jobdata::stepid.deallocate();
  jobdata::nsteps = 0;

  // The tangent of the endochronic law fills 6 x 6 entries, no more.
  Point resin(6, 42, {3000, 20, 0.35, 800, 50, 100, 80, 60, 40, 20, 10});
  resin.dstran[0] = 1e-3;
  resin.ddsdde.assign(37, -1.0);
  resin.call(toplevel::umat_krause);
  EXPECT_GT(resin.ddsdde[0], 0.0);
  EXPECT_EQ(resin.ddsdde[36], -1.0);
  EXPECT_EQ(latched_status(), 0);
}

}  // namespace
}  // namespace tavrin
