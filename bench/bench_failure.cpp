// Native cost of the fracture-plane and kink-band searches per stress
// point, and proof that a search takes nothing from the heap (this program
// replaces the global operator new with a counting one).  The point is the
// one of bench/failure.py:
//   transverse (s22, s33, s12, s13, s23) = (-80, 10, 30, 5, 8) MPa,
//   xt22 50, xc22 200, x12 70 MPa; fibre s11 = -800 MPa, xt11 1500,
//   xc11 1200, g12 5000 MPa;
// MCrckLaRC05 and MCrckPuck sampling by 5° and 1° and in golden mode,
// FBLaRC05 sampling by 5°.
//
//   build/bench/bench_failure [--benchmark_format=json]
#include <benchmark/benchmark.h>

#include "allocation_count.hpp"
#include "failure/fbcollection.hpp"
#include "failure/mccollection.hpp"

namespace {

const double s22 = -80.0, s33 = 10.0, s12 = 30.0, s13 = 5.0, s23 = 8.0;
const double s11 = -800.0, xt11 = 1500.0, xc11 = 1200.0, xt22 = 50.0, xc22 = 200.0, x12 = 70.0;
const double g12 = 5000.0, a0 = 53.0;

void larc05(benchmark::State& state, double sainc, int gsflag) {
  bench::measure(state, [&] {
    double rmc = 0.0, theta = -1.0;
    MCrckLaRC05(&rmc, &s22, &s33, &s12, &s13, &s23, &xt22, &xc22, &x12, &a0, &theta, &sainc, &gsflag);
    benchmark::DoNotOptimize(rmc);
  });
}

void puck(benchmark::State& state, double sainc, int gsflag) {
  const double gp[4] = {0.3, 0.2, 0.15, 0.15};
  bench::measure(state, [&] {
    double rmc = 0.0, theta = -1.0;
    int tcflag = 0;
    MCrckPuck(&rmc, &s22, &s33, &s12, &s13, &s23, &xt22, &xc22, &x12, &theta, gp, &sainc, &gsflag,
              &tcflag);
    benchmark::DoNotOptimize(rmc);
  });
}

void fibre(benchmark::State& state, double sainc, int gsflag) {
  const int fcl = 0;
  bench::measure(state, [&] {
    double rfb = 0.0;
    FBLaRC05(&rfb, &s11, &s22, &s33, &s12, &s13, &s23, &xt11, &xc11, &xt22, &xc22, &x12, &g12, &a0,
             &sainc, &gsflag, &fcl);
    benchmark::DoNotOptimize(rfb);
  });
}

}  // namespace

BENCHMARK_CAPTURE(larc05, sampling_5deg, 5.0, 0);
BENCHMARK_CAPTURE(larc05, sampling_1deg, 1.0, 0);
BENCHMARK_CAPTURE(larc05, golden, 5.0, 1);
BENCHMARK_CAPTURE(puck, sampling_5deg, 5.0, 0);
BENCHMARK_CAPTURE(puck, sampling_1deg, 1.0, 0);
BENCHMARK_CAPTURE(puck, golden, 5.0, 1);
BENCHMARK_CAPTURE(fibre, sampling_5deg, 5.0, 0);

BENCHMARK_MAIN();
