// Cost per solve and per function evaluation of the root finders with a C++
// call-back, and proof that a solve takes nothing from the heap: this
// program replaces the global operator new with a counting one.  The
// problems are those of bench/rootfinding.py, which prints these numbers
// beside the binding's and scipy.optimize.brentq's:
//   bdsafe, nrsafe on f(x) = x² - 2 over [0, 2], xacc 1e-12;
//   fpsafe on Heron's iteration x = (x + 2/x)/2 from 1, xacc 1e-12;
//   fpsafe on x = cos x from 1, xacc 1e-12 (linear convergence: many more
//   evaluations).
//
//   build/bench/bench_rootfinding [--benchmark_format=json]
#include <benchmark/benchmark.h>

#include <cmath>

#include "allocation_count.hpp"
#include "foundation/rootfinding.hpp"

namespace {

using bench::allocations;
long evaluations = 0;

void parabola(double* f, double* d, const double* x, const double* args, const int*, const int*) {
  ++evaluations;
  *f = *x * *x - args[0];
  *d = 2.0 * *x;
}

void heron(double* xnew, const double* fargs, const int*, const int*) {
  ++evaluations;
  *xnew = 0.5 * (fargs[0] + fargs[1] / fargs[0]);
}

void cosine(double* xnew, const double* fargs, const int*, const int*) {
  ++evaluations;
  *xnew = std::cos(fargs[0]);
}

// Runs `solve` in the timed loop; reports the function evaluations per solve
// ("evals"), the time per evaluation ("time/eval") and the heap allocations
// per solve, which must be 0.
template <class F>
void measure(benchmark::State& state, F solve) {
  const long before = allocations, evaluated = evaluations;
  for (auto _ : state) solve();
  const long made = allocations - before;
  const double evals = double(evaluations - evaluated);
  state.counters["evals"] = benchmark::Counter(evals, benchmark::Counter::kAvgIterations);
  state.counters["time/eval"] =
      benchmark::Counter(evals, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["allocs/solve"] =
      benchmark::Counter(double(made), benchmark::Counter::kAvgIterations);
  if (made != 0) state.SkipWithError("heap allocation in a solve");
}

template <class Solver>
void bracketing(benchmark::State& state, Solver solver) {
  const double two = 2.0;
  double root = 0.0;
  int istat = 0;
  measure(state, [&] {
    solver(parabola, 0.0, 2.0, root, &two, 1e-12, 100, 1, 0, istat);
    benchmark::DoNotOptimize(root);
  });
}
BENCHMARK_CAPTURE(bracketing, bdsafe_cpp, tavrin::math::bdsafe)->Name("bdsafe_cpp");
BENCHMARK_CAPTURE(bracketing, nrsafe_cpp, tavrin::math::nrsafe)->Name("nrsafe_cpp");

void fpsafe_cpp(benchmark::State& state) {
  const double args[2] = {0.0, 2.0};
  int istat = 0;
  measure(state, [&] {
    double xs = 1.0;
    tavrin::math::fpsafe(heron, xs, args, 1e-12, 100, 2, 0, istat);
    benchmark::DoNotOptimize(xs);
  });
}
BENCHMARK(fpsafe_cpp);

void fpsafe_cosine_cpp(benchmark::State& state) {
  const double start = 0.0;
  int istat = 0;
  measure(state, [&] {
    double xs = 1.0;
    tavrin::math::fpsafe(cosine, xs, &start, 1e-12, 200, 1, 0, istat);
    benchmark::DoNotOptimize(xs);
  });
}
BENCHMARK(fpsafe_cosine_cpp);

}  // namespace

BENCHMARK_MAIN();
