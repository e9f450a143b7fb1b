// Cost of the laminate stiffness of 8- and 64-ply stacks: the exported A, B,
// D and ABD routines from ply constants, angles and thicknesses (as a
// caller of the C interface builds the 6×6 ABD), the C++ interface in one
// pass, and the transverse shear stiffness.  Every benchmark reports heap
// allocations per call ("allocs/call") and fails if that is not 0.
//
//   build/bench/bench_laminate_stiffness [--benchmark_filter=ABD]
#include <benchmark/benchmark.h>

#include <vector>

#include "allocation_count.hpp"
#include "mechanics/laminate_stiffness.hpp"
#include "mechanics/shear_stiffness.hpp"

namespace {

namespace lm = tavrin::laminate;
using bench::measure;

// E1, E2, E3, ν12, ν13, ν23, G12, G13, G23 of a carbon-epoxy ply (MPa).
constexpr double carbon[9] = {161.0e3, 11.38e3, 11.38e3, 0.32, 0.32, 0.44, 5.17e3, 5.17e3, 3.98e3};

// A quasi-isotropic stack [0/45/-45/90]ns of n plies, 0.125 mm each.
struct Stack {
  std::vector<double> elastic, angle, thickness;
  int n;
  explicit Stack(int plies) : n(plies) {
    constexpr double sequence[4] = {0.0, 45.0, -45.0, 90.0};
    for (int k = 0; k < n; ++k) {
      elastic.insert(elastic.end(), carbon, carbon + 9);
      angle.push_back(sequence[(k < n / 2 ? k : n - 1 - k) % 4]);
      thickness.push_back(0.125);
    }
  }
  lm::Stack view() const { return {elastic.data(), angle.data(), thickness.data(), n}; }
};

void ExportedABD(benchmark::State& state) {
  const Stack s(int(state.range(0)));
  double a[9], b[9], d[9], abd[36];
  measure(state, [&] {
    GetAMatrix(a, s.elastic.data(), s.angle.data(), s.thickness.data(), &s.n);
    GetBMatrix(b, s.elastic.data(), s.angle.data(), s.thickness.data(), &s.n);
    GetDMatrix(d, s.elastic.data(), s.angle.data(), s.thickness.data(), &s.n);
    GetABDMatrix(abd, a, b, d);
    benchmark::DoNotOptimize(abd);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(ExportedABD)->Arg(8)->Arg(64);

void CppABD(benchmark::State& state) {
  const Stack s(int(state.range(0)));
  measure(state, [&] {
    tavrin::Mat6 abd = lm::abd(s.view()).matrix();
    benchmark::DoNotOptimize(abd);
  });
}
BENCHMARK(CppABD)->Arg(8)->Arg(64);

void ShearStiffness(benchmark::State& state) {
  const Stack s(8);
  const int method = int(state.range(0));
  measure(state, [&] {
    lm::Mat2 h = lm::shear_stiffness(s.view(), method);
    benchmark::DoNotOptimize(h);
  });
}
BENCHMARK(ShearStiffness)->Arg(0)->Arg(1)->Arg(2);

}  // namespace

BENCHMARK_MAIN();
