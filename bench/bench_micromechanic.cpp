// Cost per call of the micromechanics kernels that a solver adapter or a
// homogenisation loop runs at every point: the Mori-Tanaka ply constants from
// fibre and matrix, the engineering constants of a compliance, and the
// Eshelby tensor of a prolate spheroid (near the sphere, through its series,
// and far from it).  The global operator new counts (allocation_count.hpp);
// every benchmark reports allocations per call ("allocs/call") and fails if
// that is not 0.
//
//   build/bench/bench_micromechanic [--benchmark_filter=MoriTanaka]
#include <benchmark/benchmark.h>

#include "allocation_count.hpp"
#include "mechanics/micromechanic.hpp"

namespace {

using bench::measure;

// Carbon fibre (E1, E2, G12, G23, ν12) in epoxy (Em, νm), MPa.
constexpr double fibre[5] = {230e3, 15e3, 27e3, 7e3, 0.2};
constexpr double matrix[2] = {3.4e3, 0.35};

void MoriTanaka_exported(benchmark::State& state) {
  double vf = 0.6, eng[9];
  measure(state, [&] {
    MoriTanaka(eng, fibre, matrix, &vf, nullptr, nullptr, nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(eng);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(MoriTanaka_exported);

void MoriTanaka_with_voids_and_interphase(benchmark::State& state) {
  const double vf = 0.55, vvoid = 0.02, vint = 0.05, inter[2] = {2.0e3, 0.38};
  const int voidtype = 1;
  double eng[9];
  measure(state, [&] {
    MoriTanaka(eng, fibre, matrix, &vf, &vvoid, &vint, inter, nullptr, &voidtype);
    benchmark::DoNotOptimize(eng);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(MoriTanaka_with_voids_and_interphase);

void GetEngConstsFromComplianceMatrix_exported(benchmark::State& state) {
  double s[36], eng[9];
  GetVoigtComplianceMatrix(s, fibre);
  measure(state, [&] {
    GetEngConstsFromComplianceMatrix(eng, s);
    benchmark::DoNotOptimize(eng);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(GetEngConstsFromComplianceMatrix_exported);

void GetEshelbyTensor_prolate(benchmark::State& state) {
  const int kind = 2;
  const double ratio = double(state.range(0)) / 1000.0, nu = 0.35;
  double et[36];
  measure(state, [&] {
    GetEshelbyTensor(et, &kind, &ratio, &nu, nullptr);
    benchmark::DoNotOptimize(et);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(GetEshelbyTensor_prolate)->Arg(1020)->Arg(3730);

}  // namespace

BENCHMARK_MAIN();
