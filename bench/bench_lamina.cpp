// Native cost of the ply's material routines and the damage field routine,
// and proof that they take nothing from the heap (this program replaces the
// global operator new with a counting one):
//   - umat_lamina at one point, ntens 6: nine constants in props; one
//     property (the material tables); a DIC step degrading by the flags
//     (target: under 1 µs a point);
//   - vumat_lamina on a block of 512 points, ntens 6;
//   - gen_damage at one point of a fatigue step (general and fibre
//     criteria evaluated, fields written).
//
//   build/bench/bench_lamina [--benchmark_format=json]
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "allocation_count.hpp"
#include "foundation/shared_state.hpp"
#include "solver/damage_field.hpp"
#include "solver/lamina.hpp"

namespace {
namespace md = tavrin::materialdata;

constexpr double carbon[9] = {140000.0, 10000.0, 10000.0, 0.3, 0.3, 0.45, 5000.0, 5000.0, 3448.0};

void tables(int stepkind) {
  tavrin::sectiondata::nplies = tavrin::sectiondata::nsec = 1;
  md::peprops.allocate(9, 1, 1);
  md::psprops.allocate(10, 1, 1);
  md::pfflags.allocate(5, 1, 1);
  md::peflags.allocate(5, 1, 1);
  for (int k = 1; k <= 9; ++k) md::peprops(k, 1, 1) = carbon[k - 1];
  for (int k = 1; k <= 10; ++k) md::psprops(k, 1, 1) = k <= 6 ? 1500.0 : 80.0;
  md::pfflags(1, 1, 1) = md::pfflags(2, 1, 1) = 1;
  md::peflags.fill(1);
  tavrin::jobdata::nsteps = 2;
  tavrin::jobdata::stepid.allocate(2);
  tavrin::jobdata::stepid(1) = 0;
  tavrin::jobdata::stepid(2) = stepkind;
}

void release() {
  md::peprops.deallocate();
  md::psprops.deallocate();
  md::pfflags.deallocate();
  md::peflags.deallocate();
  tavrin::jobdata::stepid.deallocate();
}

void umat(benchmark::State& state, int nprops, int stepkind) {
  tables(stepkind);
  std::array<double, 40> statev{};
  statev[20] = statev[21] = 1.0;  // ply and section
  statev[7] = 1.0;                 // a fibre crack for the DIC step
  std::array<double, 6> stress{}, stran{1e-3, -2e-4, 1e-4, 5e-4, 0.0, 1e-4}, dstran{1e-4, 0, 0, 1e-5, 0, 0};
  std::array<double, 36> ddsdde{};
  std::array<double, 9> eye{1, 0, 0, 0, 1, 0, 0, 0, 1};
  std::array<double, 6> aux{};
  std::array<double, 2> time{};
  std::array<int, 4> jstep{2, 1, 0, 0};
  double sse = 0, spd = 0, scd = 0, rpl = 0, drpldt = 0, dtime = 0.1, temp = 0, dtemp = 0, predef = 0,
         dpred = 0, pnewdt = 1, celent = 1;
  int ndi = 3, nshr = 3, ntens = 6, nstatv = 40, noel = 1, npt = 1, layer = 1, kspt = 1, kinc = 1;
  const char name[81] = "CARBON";
  bench::measure(state, [&] {
    umat_lamina(stress.data(), statev.data(), ddsdde.data(), &sse, &spd, &scd, &rpl, aux.data(), aux.data(),
                &drpldt, stran.data(), dstran.data(), time.data(), &dtime, &temp, &dtemp, &predef, &dpred, name,
                &ndi, &nshr, &ntens, &nstatv, carbon, &nprops, eye.data(), eye.data(), &pnewdt, &celent,
                eye.data(), eye.data(), &noel, &npt, &layer, &kspt, jstep.data(), &kinc, 80);
    benchmark::DoNotOptimize(stress);
    benchmark::DoNotOptimize(ddsdde);
  });
  release();
}
BENCHMARK_CAPTURE(umat, props9_ntens6, 9, 2);
BENCHMARK_CAPTURE(umat, tables_ntens6, 1, 2);
BENCHMARK_CAPTURE(umat, dic_step_ntens6, 9, 5);

void vumat_block(benchmark::State& state) {
  const int nblock = 512, ndir = 3, nshr = 3, nstatev = 1, nfieldv = 1, nprops = 9, lanneal = 0;
  const double steptime = 0, totaltime = 0, dt = 1e-6;
  std::vector<double> density(nblock, 1.6e-9), straininc(nblock * 6), stressold(nblock * 6), stressnew(nblock * 6),
      statenew(nblock), enerold(nblock), enernew(nblock), inelas(nblock), any(nblock * 9);
  for (int k = 0; k < nblock * 6; ++k) straininc[std::size_t(k)] = 1e-6 * (k % 7 - 3);
  bench::measure(state, [&] {
    vumat_lamina(&nblock, &ndir, &nshr, &nstatev, &nfieldv, &nprops, &lanneal, &steptime, &totaltime, &dt, "CARBON",
                 any.data(), any.data(), carbon, density.data(), straininc.data(), any.data(), any.data(), any.data(),
                 any.data(), any.data(), stressold.data(), any.data(), enerold.data(), any.data(), any.data(),
                 any.data(), any.data(), any.data(), stressnew.data(), statenew.data(), enernew.data(), inelas.data(),
                 6);
    benchmark::DoNotOptimize(stressnew.data());
  });
  state.SetItemsProcessed(state.iterations() * nblock);
}
BENCHMARK(vumat_block);

void damage_point(benchmark::State& state) {
  tables(1);
  std::array<double, 40> initial{};
  initial[0] = 1600.0;  // beyond xt11: the fibre flag rises
  initial[20] = initial[21] = 1.0;
  std::array<double, 40> statev{};
  std::array<double, 7> field{};
  std::array<double, 9> eye{1, 0, 0, 0, 1, 0, 0, 0, 1};
  std::array<double, 3> coord{};
  std::array<double, 2> time{};
  const double celent = 1.0, dtime = 0.1;
  const int nfield = 7, nstatv = 40, noel = 1, npt = 1, layer = 1, kspt = 1, kstep = 2, kinc = 1;
  char name[81] = "CARBON";
  bench::measure(state, [&] {
    statev = initial;
    gen_damage(field.data(), statev.data(), eye.data(), eye.data(), &celent, time.data(), &dtime, name, &nfield,
               &nstatv, &noel, &npt, &layer, &kspt, &kstep, &kinc, coord.data(), nullptr, 80);
    benchmark::DoNotOptimize(statev);
    benchmark::DoNotOptimize(field);
  });
  release();
}
BENCHMARK(damage_point);

}  // namespace

BENCHMARK_MAIN();
