// Native cost of one failure-mode driver call at a material point, with
// proof that it takes nothing from the heap (the global operator new counts
// here), and of seeding a point's mode flags from the damage tables as the
// number of damages and plies grows.
//
//   build/bench/bench_damage [--benchmark_format=json]
#include <benchmark/benchmark.h>

#include <vector>

#include "allocation_count.hpp"
#include "failure/damage.hpp"
#include "foundation/shared_state.hpp"

namespace {

// One ply table of two plies, one section: strengths xt11 xt22 xt33 xc11
// xc22 xc33 x12 x13 x23 ilss (MPa) and a carbon/epoxy ply's constants.
const double strengths[20] = {1500, 50, 50, 1200, 200, 200, 70, 70, 60, 80,
                              1500, 50, 50, 1200, 200, 200, 70, 70, 60, 80};
const double elastic[18] = {140000, 9000, 9000, 0.3, 0.3, 0.45, 5000, 5000, 3100,
                            140000, 9000, 9000, 0.3, 0.3, 0.45, 5000, 5000, 3100};
const double orientation[2] = {0.0, 90.0}, thickness[2] = {0.25, 0.25};
const double stress[6] = {-800.0, -80.0, 10.0, 30.0, 5.0, 8.0};
const int nlayer = 2, nsec = 1, layer = 1, isec = 1;

void matrix(benchmark::State& state, double sainc, double gsflag) {
  const double pdprops[4] = {sainc, gsflag, sainc, gsflag};  // the last two: step and mode
  const int nprops = 2, flag = 9;
  bench::measure(state, [&] {
    double f = 0.0, r = 0.0, theta = -1.0;
    MatrixCracking(&f, &r, stress, elastic, strengths, pdprops, orientation, &layer, &nlayer, &isec, &nsec,
                   &nprops, &flag, &theta, nullptr);
    benchmark::DoNotOptimize(r);
  });
}

void fibre(benchmark::State& state) {
  const int flag = 13;
  bench::measure(state, [&] {
    double f = 0.0, r = 0.0;
    tavrin::damage::fiberbreakage(&f, &r, stress, elastic, strengths, orientation, &layer, &nlayer, &isec, &nsec,
                                  &flag);
    benchmark::DoNotOptimize(r);
  });
}

void delamination(benchmark::State& state) {
  const int flag = 4;
  const double s33i = stress[2];
  bench::measure(state, [&] {
    double f = 0.0, r = 0.0;
    tavrin::damage::delamination(&f, &r, &s33i, stress, stress, elastic, strengths, orientation, thickness,
                                 &layer, &nlayer, &isec, &nsec, &flag);
    benchmark::DoNotOptimize(r);
  });
}

// ndmg damages of elliptic general and matrix footprints in every ply and
// delamination footprints at every interface of a section of nplies plies
// (no buckling data: the section's material tables are absent).
void seeding(benchmark::State& state) {
  using namespace tavrin;
  const int ndmg = int(state.range(0)), np = int(state.range(1));
  sectiondata::nplies = np;
  sectiondata::nsec = 1;
  sectiondata::plyorientation.allocate(np, 1);
  damagedata::ndmg = ndmg;
  for (auto* dds : {&damagedata::generaldds, &damagedata::matrixdds}) {
    dds->allocate(3, np, ndmg);
    for (int j = 1; j <= ndmg; ++j)
      for (int k = 1; k <= np; ++k) (*dds)(1, k, j) = (*dds)(2, k, j) = 1.0 + j;
  }
  damagedata::delamdds.allocate(3, np - 1, ndmg);
  damagedata::delamdds.fill(2.0);
  damagedata::dmgplane.allocate(4, ndmg);
  const double point[3] = {0.5, 0.5, 0.0}, frame[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  const int ilay = np, sec = 1;
  for (auto _ : state) {
    double sdv[12] = {};
    GetDamageFromDDS(sdv, point, frame, &ilay, &sec);
    benchmark::DoNotOptimize(sdv[0]);
  }
  state.counters["per damage and ply"] = benchmark::Counter(
      double(ndmg) * np, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetComplexityN(std::int64_t(ndmg) * np);
  sectiondata::plyorientation.deallocate();
  damagedata::generaldds.deallocate();
  damagedata::matrixdds.deallocate();
  damagedata::delamdds.deallocate();
  damagedata::dmgplane.deallocate();
  damagedata::ndmg = 0;
}

}  // namespace

BENCHMARK_CAPTURE(matrix, puck_golden, 5.0, 1.0);
BENCHMARK_CAPTURE(matrix, puck_sampling_5deg, 5.0, 0.0);
BENCHMARK(fibre);
BENCHMARK(delamination);
BENCHMARK(seeding)->ArgsProduct({{1, 4, 16, 64}, {4, 16}})->Complexity(benchmark::oN);

BENCHMARK_MAIN();
