// Native cost of the eight-parameter delamination plate: one residual and
// Jacobian with contact (GetFdF8, twice per Newton iteration), with proof
// that it takes nothing from the heap, and a whole growth analysis.
//
//   build/bench/bench_dg8 [--benchmark_format=json]
#include <benchmark/benchmark.h>

#include <array>

#include "allocation_count.hpp"
#include "delamination/dg8.hpp"

namespace {

// The sublaminate and state of the library's reference test.
const double abd[36] = {1e5,  3e4,  5e3, 1000, 200,  50,   3e4,  8e4,  4e3, 200,  800,  40,
                        5e3,  4e3,  3.5e4, 50, 40,   300,  1000, 200,  50,  5000, 1500, 200,
                        200,  800,  40,  1500, 4000, 150,  50,   40,   300, 200,  150,  1800};
const double eps[3] = {-0.002, 0.0005, 0.0003};
const double a = 30.0, b = 20.0, g0 = 40.0, epsbucklin = 0.0017, kmd = 1e4;

void fdf(benchmark::State& state) {
  const int nk = int(state.range(0)), w = 0;
  // A deflection that dips into the base laminate near the edge.
  const double vec[8] = {0.01, -0.02, 0.015, 0.005, 0.3, -0.5, -0.4, 0.02};
  bench::measure(state, [&] {
    std::array<double, 8> fp;
    std::array<double, 64> dfp;
    GetFdF8(fp.data(), dfp.data(), vec, eps, &g0, &epsbucklin, &a, &b, &kmd, abd, &nk, &w);
    benchmark::DoNotOptimize(dfp);
  });
}

void growth(benchmark::State& state) {
  double ply[9 * 16], orientation[16], thickness[16];
  const double one[9] = {140000, 10000, 10000, 0.3, 0.3, 0.45, 5000, 5000, 3500};
  const double layup[8] = {0, 45, -45, 90, 90, -45, 45, 0};
  for (int k = 0; k < 16; ++k) {
    for (int i = 0; i < 9; ++i) ply[i + 9 * k] = one[i];
    orientation[k] = layup[k % 8];
    thickness[k] = 0.125;
  }
  const double limstrain[2] = {0.0, 0.05}, relstrain[3] = {-1.0, 0.3, 0.0};
  const double delamination[3] = {15.0, 10.0, 0.0};
  const int sublamstack[2] = {1, 3}, ninc = 100, nprec = 10, nplies = 16;
  const double gamma = 0.3, width = 100.0, radius = 40.0;
  for (auto _ : state) {
    double success = 0.0, strains[3];
    DelaminationGrowthAnalysis(&success, strains, limstrain, relstrain, ply, orientation, thickness,
                               delamination, sublamstack, &kmd, &gamma, &width, &radius, &ninc,
                               &nprec, &nplies);
    benchmark::DoNotOptimize(strains);
  }
}

}  // namespace

BENCHMARK(fdf)->Arg(0)->Arg(4)->Arg(10)->Name("GetFdF8/nk");
BENCHMARK(growth)->Name("DelaminationGrowthAnalysis/ninc100_nprec10")->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
