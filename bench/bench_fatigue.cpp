// Native cost of one increment of the progressive ply fatigue law
// GetShokrieh, and proof that it takes nothing from the heap (this program
// replaces the global operator new with a counting one).  A carbon/epoxy
// ply (E11 140 GPa, E22 9 GPa) in a fatigue step of period 1 with the
// adaptive jump (algorithm 6), strained to (4e-3, 2e-3, 0, 1e-3, 0, 0):
// "mid-cycle" is an increment inside a load cycle (stress update, failure
// indices, peak records), "cycle bottom" one that ends a cycle (gradual
// degradation of the six components and the allowable cycle jump).
//
//   build/bench/bench_fatigue [--benchmark_format=json]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <limits>

#include "allocation_count.hpp"
#include "failure/fatigue.hpp"
#include "foundation/shared_state.hpp"

namespace {

std::array<double, 150> properties() {
  std::array<double, 150> props{};
  for (int set = 0; set < 2; ++set) {
    double* p = props.data() + 74 * set;
    const double e[9] = {140000.0, 9000.0, 9000.0, 4600.0, 4600.0, 3100.0, 0.3, 0.3, 0.45};
    const double xf[9] = {2000.0, 50.0, 50.0, 1200.0, 200.0, 200.0, 80.0, 80.0, 60.0};
    std::copy(e, e + 9, p);
    std::copy(xf, xf + 9, p + 9);
    std::fill(p + 18, p + 27, 1.3);
    std::fill(p + 27, p + 36, 2.1);
    std::fill(p + 36, p + 42, 1.4);
    std::fill(p + 42, p + 48, 0.9);
    for (int k = 0; k < 6; ++k) p[48 + 2 * k] = 1.0, p[49 + 2 * k] = -0.1;
    p[73] = 293.0;
  }
  props[149] = 0.1;
  return props;
}

std::array<double, 77> fresh_state() {
  std::array<double, 77> s{};
  s[3] = -1.0;
  std::fill(s.begin() + 25, s.begin() + 31, std::numeric_limits<double>::max());
  std::fill(s.begin() + 37, s.begin() + 43, std::numeric_limits<double>::max());
  s[43] = 1000.0;
  std::fill(s.begin() + 58, s.begin() + 73, 1.0);
  std::fill(s.begin() + 73, s.begin() + 76, 293.0);
  return s;
}

void increment(benchmark::State& state, double step_time) {
  namespace sd = tavrin::shokriehdata;
  sd::cycleprops.allocate(10, 1);
  const double col[10] = {0.0, 1.0, 6.0, 1.0, 10.0, 5.0, 10.0, 1e4, 0.0, 1e6};
  for (int r = 0; r < 10; ++r) sd::cycleprops(r + 1, 1) = col[r];
  sd::cycles.allocate(2, 1);
  sd::cycles(1, 1) = 1000.0;
  sd::cycles(2, 1) = 5000.0;
  tavrin::jobdata::nsteps = 1;
  const auto props = properties();
  const auto initial = fresh_state();
  const double stran[6] = {4e-3, 2e-3, 0.0, 1e-3, 0.0, 0.0}, dstran[6] = {};
  const double time[2] = {step_time, step_time}, dtime = 0.0, temp = 293.0, dtemp = 0.0;
  const int nprops = 150, noel = -7, kstep[4] = {1, 0, 0, 0}, kinc = 2, iszflag = 1, idcflag = 0;
  std::array<double, 77> statev{}, backup{};
  double stress[6] = {}, ddsdde[36];
  bench::measure(state, [&] {
    statev = initial;
    GetShokrieh(stress, ddsdde, statev.data(), stran, dstran, props.data(), time, &dtime, &temp, &dtemp, &nprops,
                &noel, kstep, &kinc, &iszflag, &idcflag, backup.data());
    benchmark::DoNotOptimize(stress);
    benchmark::DoNotOptimize(statev);
  });
  sd::cycleprops.deallocate();
  sd::cycles.deallocate();
}

BENCHMARK_CAPTURE(increment, mid_cycle, 0.5);
BENCHMARK_CAPTURE(increment, cycle_bottom, 1.0);

}  // namespace

BENCHMARK_MAIN();
