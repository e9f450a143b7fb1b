// Cost per call of the material-point kernels from C++, and proof that they
// take nothing from the heap (this program counts operator new): the
// endochronic resin update, the complex-step tangent of the anisotropic
// law, bdsafe on the contact residual, and resin lookups on calibration
// tables of 64 points.  bench/material_laws.py prints the binding's numbers
// beside plain NumPy and SciPy.
//
//   build/bench/bench_material_laws [--benchmark_format=json]
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

#include "allocation_count.hpp"
#include "foundation/rootfinding.hpp"
#include "foundation/shared_state.hpp"
#include "mechanics/contact.hpp"
#include "mechanics/elasticity.hpp"
#include "mechanics/resin.hpp"

namespace {

using bench::measure;

void endochrone(benchmark::State& state) {
  const double props[11] = {3000.0, 1.0, 0.35, 500.0, 10.0, 100, 200, 300, 400, 500, 600};
  const double stran[6] = {1e-3, -3e-4, -3e-4, 2e-4, 0, 1e-4}, dstrain[6] = {1e-4, 0, 0, 1e-5, 0, 0};
  std::array<double, 42> statev{};
  double stress[6];
  const double dt = 0.1;
  const int nprops = 11, nstatev = 42, yes = 1;
  measure(state, [&] {
    EndochroneViscoPlasticity(stran, dstrain, props, stress, statev.data(), &dt, &nprops, &nstatev, &yes,
                              &yes);
    benchmark::DoNotOptimize(stress);
  });
}
BENCHMARK(endochrone);

void complex_step_tangent(benchmark::State& state) {
  double props[36];
  for (int i = 0; i < 36; ++i) props[i] = i % 7 == 0 ? 5000.0 : 100.0 + i;
  const double zero[6] = {}, dstrain[6] = {1e-3, -2e-4, 5e-4, 3e-4, -1e-4, 2e-4};
  double ddsdde[36];
  const double h = 0x1p-20;
  const int method = 1;
  measure(state, [&] {
    tavrin::elasticity::getnumericaltangent(ddsdde, nullptr, cGetStressFromAnisotropicHyperelasticity, props,
                                            zero, zero, dstrain, 6, 3, 36, false, nullptr, &h, &method);
    benchmark::DoNotOptimize(ddsdde);
  });
}
BENCHMARK(complex_step_tangent);

void contact_solve(benchmark::State& state) {
  const double args[7] = {44227.659582774535, 0.05, 1e-6, 0.0, 1e-6, 1.5, 0.0};
  double root = 0.0;
  int istat = 0;
  measure(state, [&] {
    tavrin::math::bdsafe(ContactLaw, 0.0, 1000.0, root, args, 1e-10, 100, 7, 0, istat);
    benchmark::DoNotOptimize(root);
  });
}
BENCHMARK(contact_solve);

void resin_lookup(benchmark::State& state) {
  using namespace tavrin::materialdata;
  constexpr int n = 64;
  temperatures.allocate(2);
  temperatures.data()[0] = 273.15;
  temperatures.data()[1] = 373.15;
  secantprops.allocate(2, n, 2);
  for (int j = 1; j <= n; ++j)
    for (int r = 1; r <= 2; ++r) {
      secantprops(r, j, 1) = 0.001 * (j - 1);
      secantprops(r, j, 2) = 3000.0 / (1.0 + 10.0 * r * 0.001 * (j - 1));
    }
  nsecantdata = n;
  const double strain = 0.0317, temp = 320.0;
  double e = 0.0;
  measure(state, [&] {
    GetModulusFromTable(&strain, &e, &temp);
    benchmark::DoNotOptimize(e);
  });
}
BENCHMARK(resin_lookup);

void resin_properties(benchmark::State& state) {
  double props[32] = {3000, 0.35, 0.01, 80, 2, 0.1, 1.5, 100, 10, 273.15,
                      2000, 0.40, 0.02, 60, 3, 0.2, 1.25, 90, 12, 293.15, 0.5,
                      -1e-4, 0.002, 1.0, -0.002, 1.05, 300, 350, 400, 420, 4, 50};
  const int nprops = 32, noel = -1;
  const double temp = 375.0;
  double out[10];
  measure(state, [&] {
    GetResinProperties(props, &nprops, &temp, &out[0], &out[1], &out[2], &out[3], &out[4], &out[5],
                       &out[6], &out[7], &out[8], &out[9], &noel);
    benchmark::DoNotOptimize(out);
  });
}
BENCHMARK(resin_properties);

}  // namespace

BENCHMARK_MAIN();
