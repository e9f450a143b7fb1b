// Heap allocations of a benchmark program: the global operator new is
// replaced by one that counts, so that a benchmark can prove a path takes
// nothing from the heap.  Include in one source file of a program only.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>

namespace bench {
inline long allocations = 0;  // the library creates no threads

// Runs `call` in the timed loop and reports the heap allocations it made per
// call ("allocs/call"); a per-point path that allocates fails the benchmark.
template <class F>
void measure(benchmark::State& state, F call) {
  const long before = allocations;
  for (auto _ : state) call();
  const long made = allocations - before;
  state.counters["allocs/call"] =
      benchmark::Counter(double(made), benchmark::Counter::kAvgIterations);
  if (made != 0) state.SkipWithError("heap allocation on a per-point path");
}
}  // namespace bench

// The replacements pair malloc with free; GCC cannot see that they match.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  ++bench::allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
