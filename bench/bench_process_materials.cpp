// Native cost of one material-point call of the Prony viscoelastic ply and
// of the resin routine, and proof that neither takes anything from the heap
// (this program replaces the global operator new with a counting one).
//   prony: a curing ply at 350 K, Tg 320 K, shift data of a master curve,
//          five stiffness entries relaxing by three terms each (39 internal
//          stresses), a general strain increment;
//   resin: model 1 (Kaestner's softening law) with its numerical tangent
//          (twelve evaluations of the law), no criterion, not a fatigue step.
//
//   build/bench/bench_process_materials [--benchmark_format=json]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <string>

#include "allocation_count.hpp"
#include "foundation/shared_state.hpp"
#include "solver/prony_material.hpp"
#include "solver/resin_material.hpp"

namespace {

// The UMAT arguments a material routine here does not read.
struct Host {
  double sse = 0.0, spd = 0.0, scd = 0.0, rpl = 0.0, drpldt = 0.0, pnewdt = 1.0, celent = 1.0, dtemp = 0.0;
  double ddsddt[6] = {}, drplde[6] = {}, predef[1] = {}, dpred[1] = {}, coords[3] = {};
  double eye[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  int ndi = 3, nshr = 3, ntens = 6, noel = 1, npt = 1, kslay = 1, kspt = 1, kinc = 2;
  int jstep[4] = {1, 0, 0, 0};
  std::string name = std::string(80, ' ');

  // One call of a UMAT at a point of the host's element 1.
  void call(tavrin::wrapper::UmatFn umat, double* stress, double* statev, double* ddsdde, const double* stran,
            const double* dstran, const double* time, double dtime, double temp, const double* props, int nprops,
            int nstatv) {
    umat(stress, statev, ddsdde, &sse, &spd, &scd, &rpl, ddsddt, drplde, &drpldt, stran, dstran, time, &dtime, &temp,
         &dtemp, predef, dpred, name.data(), &ndi, &nshr, &ntens, &nstatv, props, &nprops, coords, eye, &pnewdt,
         &celent, eye, eye, &noel, &npt, &kslay, &kspt, jstep, &kinc, name.size());
  }
};

// Counts, C11, C12, C22, C23, C44 (MPa), then (weight, relaxation time) × 3 per entry.
std::array<double, 40> prony_props() {
  std::array<double, 40> p{3, 3, 3, 3, 3, 9000.0, 4000.0, 8000.0, 3500.0, 2500.0};
  for (int set = 0; set < 5; ++set)
    for (int k = 0; k < 3; ++k) {
      p[std::size_t(10 + 6 * set + 2 * k)] = 0.1 + 0.05 * k;
      p[std::size_t(11 + 6 * set + 2 * k)] = 10.0 * (1 + set) * (k == 0 ? 1.0 : k == 1 ? 30.0 : 900.0);
    }
  return p;
}

void prony(benchmark::State& state) {
  namespace md = tavrin::materialdata;
  md::cuprops.allocate(12, 8, 1, 1);
  md::cuprops.fill(tavrin::not_given);
  const double master[8] = {17.4, 51.6, 1000.0, 10.0, 12.0, 45.0, 1500.0, 5.0};
  for (int k = 0; k < 8; ++k) md::cuprops(k + 1, 8, 1, 1) = master[k];
  Host h;
  const auto props = prony_props();
  std::array<double, 510> svar{};
  svar[2] = 320.0;
  const double stran[6] = {1e-3, -4e-4, -3e-4, 5e-4, 2e-4, -1e-4};
  const double dstran[6] = {2e-5, -1e-5, 5e-6, 1e-5, -5e-6, 3e-6};
  const double time[2] = {1.0, 1.0};
  double stress[6] = {}, ddsdde[36];
  bench::measure(state, [&] {
    std::fill(stress, stress + 6, 0.0);
    h.call(tavrin::toplevel::umat_prony, stress, svar.data(), ddsdde, stran, dstran, time, 0.5, 350.0, props.data(),
           int(props.size()), 510);
    benchmark::DoNotOptimize(stress);
    benchmark::DoNotOptimize(ddsdde);
  });
  md::cuprops.deallocate();
}

void resin(benchmark::State& state) {
  tavrin::materialdata::modelid = 1;
  Host h;
  const double block[9] = {3000.0, 0.35, 0.01, 80.0, 2.0, 0.1, 1.5, 100.0, -0.1};
  std::array<double, 21> props{};
  std::copy(block, block + 9, props.begin());
  std::copy(block, block + 9, props.begin() + 10);
  props[9] = 273.15;
  props[19] = 373.15;
  props[20] = 0.5;
  std::array<double, 22> statev{};
  const double stran[6] = {2e-3, -5e-4, 1e-3, 1.5e-3, -8e-4, 6e-4};
  const double dstran[6] = {4e-4, 1e-4, -2e-4, 3e-4, 2e-4, -1e-4};
  const double time[2] = {1.0, 1.0};
  double stress[6] = {}, ddsdde[36] = {};
  bench::measure(state, [&] {
    h.call(tavrin::toplevel::umat_resin, stress, statev.data(), ddsdde, stran, dstran, time, 0.5, 293.15,
           props.data(), 21, 22);
    benchmark::DoNotOptimize(stress);
    benchmark::DoNotOptimize(ddsdde);
  });
  tavrin::materialdata::modelid = 0;
}

}  // namespace

BENCHMARK(prony)->Name("umat_prony/five_sets_of_three_terms");
BENCHMARK(resin)->Name("umat_resin/model1_numerical_tangent");
BENCHMARK_MAIN();
