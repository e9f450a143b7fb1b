// Cost per call of the element routines that run at every integration point
// or load evaluation: the shell B-matrix and curvatures of an 8-node
// element, the layout adapters around a material law (plane stress with its
// 6×6 inversion) and the impact pressure over a growing number of
// impactors.  Every benchmark reports heap allocations per call
// ("allocs/call") and fails if that is not 0.
//
//   build/bench/bench_elements [--benchmark_filter=dsload]
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "allocation_count.hpp"
#include "elements/layouts.hpp"
#include "elements/shell_kinematics.hpp"
#include "elements/surface_loads.hpp"
#include "foundation/shared_state.hpp"

namespace {

using bench::measure;

// A curved 8-node shell: ncoords(3, 8), x and y quadratic in ξ, η.
std::array<double, 24> curved_quad8() {
  constexpr double xi[8] = {-1, 1, 1, -1, 0, 1, 0, -1}, eta[8] = {-1, -1, 1, 1, -1, 0, 1, 0};
  std::array<double, 24> c{};
  for (int k = 0; k < 8; ++k) {
    c[3 * k] = 1.3 * xi[k] + 0.2 * eta[k] + 0.1 * eta[k] * eta[k];
    c[3 * k + 1] = 0.1 * xi[k] + 0.9 * eta[k] - 0.15 * xi[k] * xi[k];
    c[3 * k + 2] = 0.05 * xi[k] * xi[k] + 0.02 * xi[k] * eta[k];
  }
  return c;
}

void ShellBMatrix_quad8(benchmark::State& state) {
  const auto c = curved_quad8();
  const int inodes = 8;
  double xi = 0.0, eta = 0.3, b[320];
  measure(state, [&] {
    xi = xi > 0.9 ? -0.9 : xi + 0.01;
    ShellBMatrix(b, c.data(), &inodes, &xi, &eta);
    benchmark::DoNotOptimize(b);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(ShellBMatrix_quad8);

void GetCurvatures_quad8(benchmark::State& state) {
  const auto c = curved_quad8();
  const int inodes = 8;
  double lncoords[24], nshape[48], delta, kappa[2];
  for (int k = 0; k < 8; ++k)
    for (int i = 0; i < 3; ++i) lncoords[k + 8 * i] = c[3 * k + i];
  const double xi = 0.2, eta = -0.3;
  Quad8ShapeFunMatrix(nshape, &xi, &eta);
  measure(state, [&] {
    GetCurvatures(&delta, kappa, nshape, lncoords, &inodes);
    benchmark::DoNotOptimize(kappa);
    benchmark::DoNotOptimize(delta);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(GetCurvatures_quad8);

// An isotropic law, E = 70000, ν = 0.3, in the solver order.
std::array<double, 36> isotropic() {
  const double e = 70000.0, nu = 0.3;
  const double lam = e * nu / ((1 + nu) * (1 - 2 * nu)), mu = e / (2 * (1 + nu));
  std::array<double, 36> c{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) c[i + 6 * j] = lam + (i == j ? 2 * mu : 0.0);
  for (int i = 3; i < 6; ++i) c[i + 6 * i] = mu;
  return c;
}

void Get3DInputFromElem_plane_stress(benchmark::State& state) {
  const double stress[3] = {100.0, -20.0, 15.0}, strain[3] = {1e-3, -2e-4, 3e-4},
               dstrain[3] = {1e-5, 0.0, 2e-6}, transverse[6] = {1e-4, 2e-4, -1e-4, 3.0, 4.0, 1.0};
  const int ncomp = 3, on = 1, axial = 0;
  double s3[6], e3[6], de3[6];
  measure(state, [&] {
    Get3DInputFromElem(s3, e3, de3, stress, strain, dstrain, &ncomp, transverse, &on, &on, &axial);
    benchmark::DoNotOptimize(s3);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(Get3DInputFromElem_plane_stress);

void GetElemOutputFrom3D_plane_stress(benchmark::State& state) {
  const auto c = isotropic();
  double stress[6] = {100.0, 0.0, 50.0, 0.0, 0.0, 0.0}, s[3], t[9];
  const int n = 3, axial = 0;
  measure(state, [&] {
    stress[0] += 1e-3;
    GetElemOutputFrom3D(s, t, stress, c.data(), &n, &axial);
    benchmark::DoNotOptimize(s);
    benchmark::DoNotOptimize(t);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(GetElemOutputFrom3D_plane_stress);

// dsload in an impact step with nimp impactors, each loading the point.
void dsload_impactors(benchmark::State& state) {
  const int nimp = int(state.range(0));
  tavrin::jobdata::stepid.allocate(1);
  tavrin::jobdata::stepid.data()[0] = 3;
  std::vector<double> cprops(20 * std::size_t(nimp)), dprops(12 * std::size_t(nimp));
  for (int k = 0; k < nimp; ++k) {
    cprops[20 * std::size_t(k)] = 1000.0;
    cprops[20 * std::size_t(k) + 1] = 1.5;
    double* d = &dprops[12 * std::size_t(k)];
    d[0] = 4.0;                                   // parabolic
    d[1] = 0.1 * k, d[2] = 0.0, d[3] = 0.0;       // position
    d[4] = 99.0, d[5] = 0.01, d[6] = 4.0;         // nearest element elsewhere
    d[7] = 1.0, d[8] = 1.0, d[9] = 2.0, d[10] = 1.0;
  }
  const double coords[3] = {0.5, 0.25, 0.0}, dircos[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  double t[3], alpha;
  const int kstep = 1, elemid = 5;
  measure(state, [&] {
    tavrin::sldcollection::dsload(alpha, t, kstep, coords, dircos, cprops.data(), dprops.data(), nimp,
                                  elemid);
    benchmark::DoNotOptimize(alpha);
    benchmark::ClobberMemory();
  });
  state.SetComplexityN(nimp);
  tavrin::jobdata::stepid.deallocate();
}
BENCHMARK(dsload_impactors)->RangeMultiplier(4)->Range(1, 256)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
