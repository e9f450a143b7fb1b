// Cost per call of the user elements and solver material routines from C++,
// with the heap allocations per call (this program counts operator new):
// the truss element's static request, the elastic-plastic return, and the
// impactor element in an impact step with Brent's search on the tabulated
// contact law (contact-law flag 1: fifty contact stiffnesses per call).
// bench/user_elements.py prints the binding's numbers beside NumPy.
//
//   build/bench/bench_user_elements [--benchmark_format=json]
#include <benchmark/benchmark.h>

#include <array>

#include "allocation_count.hpp"
#include "foundation/shared_state.hpp"
#include "solver/elastic_plastic.hpp"
#include "solver/impact_elements.hpp"
#include "solver/truss_elements.hpp"

namespace {

using bench::measure;
using namespace tavrin;

// The arguments of one implicit user-element call on a bar (0,0,0)-(1,1,1).
struct UelCall {
  std::array<double, 6> rhs{}, u{0, 0, 0, 1e-3, 2e-3, 3e-3}, du{0, 0, 0, 1e-4, 1e-4, 1e-4}, v{}, a{};
  std::array<double, 36> amatrx{};
  std::array<double, 20> svars{};
  std::array<double, 8> energy{};
  std::array<double, 13> props{210e3, 0.3, 10e3, 0.3, 50.0, 4.0, 8.0, 1.0, 0.0, 0.0, 0.0, 0.5, 0.0};
  std::array<double, 6> coords{0, 0, 0, 1, 1, 1};
  std::array<double, 3> params{-0.05, 0.275625, 0.55};
  std::array<double, 2> time{0.1, 0.1};
  std::array<int, 5> lflags{1, 1, 1, 0, 0};
  std::array<int, 3> jprops{2, 0, 1};
  std::array<double, 20> cprops{};
  int ndofel = 6, nrhs = 1, nsvars = 20, nprops = 3, mcrd = 3, nnode = 2, jtype = 1, kstep = 2, kinc = 2,
      jelem = 1, ndload = 0, jdltyp = 0, npredf = 1, mlvarx = 6, mdload = 1, njprop = 3;
  double dtime = 1e-3, adlmag = 0.0, ddlmag = 0.0, predef = 0.0, pnewdt = 1.0, period = 1.0;

  void truss() {
    toplevel::uel_truss(rhs.data(), amatrx.data(), svars.data(), energy.data(), &ndofel, &nrhs, &nsvars,
                        props.data(), &nprops, coords.data(), &mcrd, &nnode, u.data(), du.data(), v.data(),
                        a.data(), &jtype, time.data(), &dtime, &kstep, &kinc, &jelem, params.data(), &ndload,
                        &jdltyp, &adlmag, &predef, &npredf, lflags.data(), &mlvarx, &ddlmag, &mdload, &pnewdt,
                        jprops.data(), &njprop, &period);
  }
  void impact() {
    toplevel::uel_impact(rhs.data(), amatrx.data(), svars.data(), energy.data(), &ndofel, &nrhs, &nsvars,
                         props.data(), &nprops, coords.data(), &mcrd, &nnode, u.data(), du.data(), v.data(),
                         a.data(), &jtype, time.data(), &dtime, &kstep, &kinc, &jelem, params.data(), &ndload,
                         &jdltyp, &adlmag, &predef, &npredf, lflags.data(), &mlvarx, &ddlmag, &mdload,
                         &pnewdt, jprops.data(), &njprop, &period, cprops.data());
  }
};

void uel_truss_static(benchmark::State& state) {
  UelCall c;
  c.props = {100.0, 1.0, 1.0};
  measure(state, [&] {
    c.truss();
    benchmark::DoNotOptimize(c.amatrx);
  });
}
BENCHMARK(uel_truss_static);

void umat_hail_return(benchmark::State& state) {
  const std::array<double, 7> props{200000.0, 0.3, 1.0, 200.0, 0.0, 200.0, 1.0};
  const std::array<double, 6> stran{}, dstran{0, 0, 0, 0.004, 0, 0};
  const std::array<double, 9> eye{1, 0, 0, 0, 1, 0, 0, 0, 1};
  const std::array<double, 2> time{};
  const std::array<int, 4> jstep{1, 1, 0, 0};
  std::array<double, 6> stress{}, zeros{};
  std::array<double, 13> statev{};
  std::array<double, 36> ddsdde{};
  double sse = 0, spd = 0, scd = 0, rpl = 0, drpldt = 0, pnewdt = 1, dtime = 0.1, temp = 20, dtemp = 0,
         predef = 0, celent = 1;
  const int ndi = 3, nshr = 3, ntens = 6, nstatv = 13, nprops = 7, one = 1;
  measure(state, [&] {
    stress.fill(0.0);
    statev.fill(0.0);
    toplevel::umat_hail(stress.data(), statev.data(), ddsdde.data(), &sse, &spd, &scd, &rpl, zeros.data(),
                        zeros.data(), &drpldt, stran.data(), dstran.data(), time.data(), &dtime, &temp, &dtemp,
                        &predef, &predef, "HAIL", &ndi, &nshr, &ntens, &nstatv, props.data(), &nprops,
                        zeros.data(), eye.data(), &pnewdt, &celent, eye.data(), eye.data(), &one, &one, &one,
                        &one, jstep.data(), &one, 4);
    benchmark::DoNotOptimize(stress);
  });
}
BENCHMARK(umat_hail_return);

// Impact step, implicit dynamics, Brent's search on the contact law with the
// stiffness tabulated at fifty forces.
void uel_impact_tabulated_law(benchmark::State& state) {
  jobdata::stepid.allocate(2);
  jobdata::stepid(1) = 0;
  jobdata::stepid(2) = 3;
  jobdata::nsteps = 2;
  UelCall c;
  c.nprops = 13;
  c.lflags = {11, 1, 1, 0, 0};
  c.kinc = 1;  // the first increment: no history table to create
  measure(state, [&] {
    c.cprops = {0, 0, 0, 0.02, 5.0, 9.80665, 4.0};
    c.svars.fill(0.0);
    c.svars[12] = 9.80665;
    c.svars[14] = 0.001;
    c.impact();
    benchmark::DoNotOptimize(c.cprops);
  });
  if (!(c.cprops[0] > 0.0)) state.SkipWithError("no contact force was computed");
  jobdata::stepid.deallocate();
  jobdata::nsteps = 0;
}
BENCHMARK(uel_impact_tabulated_law);

}  // namespace

BENCHMARK_MAIN();
