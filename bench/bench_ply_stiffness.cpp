// Cost per call of the ply kernels that run at every integration point:
// the stiffness from the nine constants, its rotation to an arbitrary
// angle and the stress transformation, through the exported routines and
// the C++ interface.  The global operator new counts (allocation_count.hpp);
// every benchmark reports allocations per call ("allocs/call") and fails if
// that is not 0.
//
//   build/bench/bench_ply_stiffness [--benchmark_filter=OffAxis]
#include <benchmark/benchmark.h>

#include "allocation_count.hpp"
#include "mechanics/ply_rotation.hpp"
#include "mechanics/ply_stiffness.hpp"

namespace {

namespace la = tavrin::lamina;
using bench::measure;

// E1, E2, E3, ν12, ν13, ν23, G12, G13, G23 of a carbon-epoxy ply (MPa).
constexpr double carbon[9] = {140.0e3, 10.0e3, 9.5e3, 0.3, 0.28, 0.45, 5.0e3, 4.8e3, 3.4e3};

void GetNyeStiffnessMatrix_6(benchmark::State& state) {
  const int ntens = 6;
  double c[36];
  measure(state, [&] {
    GetNyeStiffnessMatrix(c, carbon, &ntens, nullptr);
    benchmark::DoNotOptimize(c);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(GetNyeStiffnessMatrix_6);

void GetNyeOffAxisSC_6(benchmark::State& state) {
  const int ntens = 6, scflag = 1;
  double angle = 0.0, c[36];
  measure(state, [&] {
    angle += 1.0;  // a new angle every call
    GetNyeOffAxisSC(c, &angle, carbon, &ntens, &scflag);
    benchmark::DoNotOptimize(c);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(GetNyeOffAxisSC_6);

void GetNyeTransformationMatrix_6(benchmark::State& state) {
  const int tdim = 6, ttype = 0, tflag = 0;
  double angle = 0.0, t[36];
  measure(state, [&] {
    angle += 0.01;
    GetNyeTransformationMatrix(t, &angle, &tdim, &ttype, &tflag);
    benchmark::DoNotOptimize(t);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(GetNyeTransformationMatrix_6);

void GetGeneralizedNyeOnAxisSC_compliance(benchmark::State& state) {
  const int ntens = 6, nprops = 9, scflag = 0;
  double s[36];
  measure(state, [&] {
    GetGeneralizedNyeOnAxisSC(s, carbon, &ntens, &nprops, &scflag, nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(s);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(GetGeneralizedNyeOnAxisSC_compliance);

void Cpp_stiffness(benchmark::State& state) {
  la::PlyConstants p = la::PlyConstants::load(carbon);
  measure(state, [&] {
    benchmark::DoNotOptimize(p);
    tavrin::Mat6 c = la::stiffness(p);
    benchmark::DoNotOptimize(c);
  });
}
BENCHMARK(Cpp_stiffness);

void Cpp_rotate_stiffness(benchmark::State& state) {
  const tavrin::Mat6 c = la::stiffness(la::PlyConstants::load(carbon));
  double angle = 0.0;
  measure(state, [&] {
    angle += 0.01;
    tavrin::Mat6 r = la::rotate_stiffness(c, angle);
    benchmark::DoNotOptimize(r);
  });
}
BENCHMARK(Cpp_rotate_stiffness);

}  // namespace

BENCHMARK_MAIN();
