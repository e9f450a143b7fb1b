// Native cost per point of one explicit increment of vumat_cartesian, and
// proof that it takes nothing from the heap (this program replaces the
// global operator new with a counting one).  A carbon/epoxy ply whose
// points are strained along (6e-3, 4e-3, 0, 6e-3, 0, 0) in steps of a
// tenth, so that the fibre, transverse and shear modes are past onset and
// softening; the timed increment starts from the state after the eighth
// step.  Criterion set 1 (quadratic nominal per mode) and set 3 (LaRC05
// kink-band and fracture-plane searches); blocks of 1 and 128 points.
//
//   build/bench/bench_explicit [--benchmark_format=json]
#include <benchmark/benchmark.h>

#include <vector>

#include "allocation_count.hpp"
#include "solver/explicit_ply.hpp"

namespace {

constexpr int nstatev = 82, ntens = 6;

std::vector<double> properties(double criterion) {
  return {140e3, 9e3, 9e3, 4.6e3, 4.6e3, 3.1e3, 0.32, 0.32, 0.45, 2000, 60, 60, 1200, 200, 200, 90, 90, 60, 120e3, 10e3,
          0,     4.6e3, 0, 0, 90, 80, 0.3, 1.0, 0.3, 0, 0, 0, 1, criterion, 0, 0, 0, 1, 0};
}

struct Block {
  int n;
  std::vector<double> props, lengths, density, straininc, stressold, stateold, eold, stressnew, statenew, enew,
      enew2, unused;

  Block(int points, double criterion)
      : n(points), props(properties(criterion)), lengths(std::size_t(3 * n), 1.0), density(std::size_t(n), 1.6e-9),
        straininc(std::size_t(ntens * n), 0.0), stressold(std::size_t(ntens * n), 0.0),
        stateold(std::size_t(nstatev * n), 0.0), eold(std::size_t(n), 0.0), stressnew(stressold),
        statenew(stateold), enew(eold), enew2(eold), unused(std::size_t(9 * n + 9), 0.0) {
    const double step[ntens] = {6e-4, 4e-4, 0.0, 6e-4, 0.0, 0.0};
    for (int i = 0; i < ntens; ++i)
      for (int k = 0; k < n; ++k) straininc[std::size_t(k + i * n)] = step[i];
    for (int k = 0; k < n; ++k) stateold[std::size_t(k + 18 * n)] = 1.0;
    for (int s = 0; s < 8; ++s) {
      call();
      stressold.swap(stressnew);
      stateold.swap(statenew);
      eold.swap(enew);
    }
  }

  void call() {
    const int ndir = 3, nshr = 3, nfieldv = 1, nprops = int(props.size()), lanneal = 0;
    const int nsv = nstatev;
    const double time = 1.0, dt = 1e-6;
    vumat_cartesian(&n, &ndir, &nshr, &nsv, &nfieldv, &nprops, &lanneal, &time, &time, &dt, "PLY", unused.data(),
                    lengths.data(), props.data(), density.data(), straininc.data(), unused.data(), unused.data(),
                    unused.data(), unused.data(), unused.data(), stressold.data(), stateold.data(), eold.data(),
                    eold.data(), unused.data(), unused.data(), unused.data(), unused.data(), stressnew.data(),
                    statenew.data(), enew.data(), enew2.data(), std::size_t(3));
  }
};

// The time reported is per call of a block of state.range(0) points.
void increment(benchmark::State& state, double criterion) {
  Block b(int(state.range(0)), criterion);
  bench::measure(state, [&] {
    b.call();
    benchmark::DoNotOptimize(b.stressnew.data());
    benchmark::DoNotOptimize(b.statenew.data());
  });
}

BENCHMARK_CAPTURE(increment, set1, 1.0)->Arg(1)->Arg(128);
BENCHMARK_CAPTURE(increment, set3, 3.0)->Arg(1)->Arg(128);

}  // namespace

BENCHMARK_MAIN();
