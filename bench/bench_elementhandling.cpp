// Cost of the element bookkeeping: the transverse stresses of one shell
// element at one integration point (curved, so that σ33 takes the membrane
// integrals of all four section-stress sets), the characteristic lengths of
// a brick, and the node coordinates and nodal motion of every node of meshes
// of 10³, 10⁴ and 10⁵ 8-node shells ("ns/node"; target: flat in the element
// count, 10⁵ at most twice 10³).
//
//   build/bench/bench_elementhandling [--benchmark_filter=Nodes]
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <vector>

#include "allocation_count.hpp"
#include "elements/frames.hpp"
#include "elements/element_registry.hpp"
#include "elements/transverse_stresses.hpp"
#include "foundation/shared_state.hpp"
#include "mechanics/ply_strains.hpp"
#include "mechanics/shear_stiffness.hpp"

namespace {

using bench::measure;
using namespace tavrin;

constexpr double xi8[8] = {-1, 1, 1, -1, 0, 1, 0, -1}, eta8[8] = {-1, -1, 1, 1, -1, 0, 1, 0};

void GetShellTransverseStresses_quad8(benchmark::State& state) {
  constexpr int nplies = 8, nsec = 1, nz = 2 * nplies + 1, nspt = 3, nint = nspt * nplies, ndof = 6, nnodes = 8,
                nelem = 1;
  std::array<int, nplies> sectionlist{};
  sectionlist.fill(1);
  std::array<double, nplies> angles{0, 45, -45, 90, 90, -45, 45, 0}, thickness{};
  thickness.fill(0.125);
  std::array<double, 9 * nplies> elastic{};
  for (int p = 0; p < nplies; ++p) {
    const double c[9] = {140e3, 10e3, 9.5e3, 0.3, 0.28, 0.45, 5e3, 4.8e3, 3.4e3};
    std::copy(c, c + 9, elastic.begin() + 9 * p);
  }
  std::array<double, nz> z{};
  std::array<double, 4> h{};
  std::array<double, 4 * nz> f{};
  const int np = nplies, ns = nsec;
  GetSectionZCoord(z.data(), sectionlist.data(), thickness.data(), &np, &ns, nullptr);
  GetSectionHMatrix(h.data(), sectionlist.data(), angles.data(), thickness.data(), elastic.data(), &np, &ns, nullptr,
                    nullptr);
  GetSectionFMatrix(f.data(), sectionlist.data(), angles.data(), thickness.data(), z.data(), elastic.data(), &np, &ns,
                    nullptr);
  std::array<double, 3 * nnodes> coords{};
  std::array<double, ndof * nnodes> motion{};
  for (int k = 0; k < 8; ++k) {
    coords[3 * k] = xi8[k];
    coords[3 * k + 1] = eta8[k];
    motion[ndof * k + 2] = 0.01 * xi8[k] * xi8[k] - 0.004 * eta8[k] * eta8[k];
    motion[ndof * k + 3] = 0.001 * eta8[k];
  }
  std::vector<double> sestress(6 * nint * 4, 10.0);
  const std::array<int, 1> points{nspt}, kind{4};
  const std::array<double, 2> curvatures{0.1, 0.02};
  std::array<double, nz> tnormal{};
  std::array<double, nint * 2 * 4> tshear{};
  const int elemid = 1, gpid = 2, secid = 1, on = 1, nzc = nz, ni = nint, nd = ndof, nn = nnodes, ne = nelem;
  measure(state, [&] {
    tnormal.fill(0.0);
    tshear.fill(0.0);
    GetShellTransverseStresses(tnormal.data(), tshear.data(), coords.data(), motion.data(), sestress.data(), h.data(),
                               f.data(), angles.data(), thickness.data(), z.data(), elastic.data(), points.data(),
                               curvatures.data(), kind.data(), sectionlist.data(), &elemid, &gpid, &secid, &on, &on,
                               &np, &ns, &nzc, &ni, &nd, &nn, &ne);
    benchmark::DoNotOptimize(tnormal.data());
    benchmark::DoNotOptimize(tshear.data());
    benchmark::ClobberMemory();
  });
}
BENCHMARK(GetShellTransverseStresses_quad8);

void GetHex8ElemLength_brick(benchmark::State& state) {
  std::array<double, 24> nodes{};
  const double corners[8][3] = {{0, 0, 0}, {2, 0, 0}, {2, 3, 0}, {0, 3, 0}, {0, 0, 4}, {2, 0, 4}, {2, 3, 4}, {0, 3, 4}};
  for (int k = 0; k < 8; ++k)
    for (int c = 0; c < 3; ++c) nodes[3 * k + c] = corners[k][c] + 0.01 * k * c;
  const double t = 0.3, c = std::cos(t), s = std::sin(t);
  const std::array<double, 9> matcos{c, s, 0, -s, c, 0, 0, 0, 1};
  std::array<double, 3> length{};
  measure(state, [&] {
    GetHex8ElemLength(length.data(), matcos.data(), nodes.data());
    benchmark::DoNotOptimize(length.data());
    benchmark::ClobberMemory();
  });
}
BENCHMARK(GetHex8ElemLength_brick);

// A grid of nx × ny 8-node shells on the lattice of (2nx+1)(2ny+1) points
// (the centre points are no nodes); every lattice point is passed.
struct Mesh {
  std::vector<int> nodes;
  std::vector<double> coords, translation, rotation;
  int nblock = 0;

  explicit Mesh(int nelem) {
    const int nx = int(std::sqrt(double(nelem))), ny = nelem / nx;
    const int nelem_used = nx * ny, width = 2 * nx + 1;
    elementdata::nelem = nelem_used;
    nodaldata::nnodes = 8;
    nodaldata::ndof = 6;
    elementdata::elemnodes.allocate(8, nelem_used);
    elementdata::elemindices.deallocate();
    nodaldata::nodalcoords.allocate(3, 8, nelem_used);
    nodaldata::nodesmotion.allocate(6, 8, nelem_used);
    nodaldata::tnodalmatrices.allocate(3, 3, 8, nelem_used);
    nodaldata::tcurvmatrices.allocate(3, 3, nelem_used);
    for (int b = 0; b < ny; ++b)
      for (int a = 0; a < nx; ++a) {
        const int e = 1 + a + nx * b;
        for (int k = 0; k < 8; ++k) {
          const int i = 2 * a + 1 + int(xi8[k]), j = 2 * b + 1 + int(eta8[k]);
          elementdata::elemnodes(k + 1, e) = 1 + i + width * j;
          for (int r = 1; r <= 3; ++r) nodaldata::tnodalmatrices(r, r, k + 1, e) = 1.0;
        }
        for (int r = 1; r <= 3; ++r) nodaldata::tcurvmatrices(r, r, e) = 1.0;
      }
    nblock = width * (2 * ny + 1);
    for (int n = 1; n <= nblock; ++n) nodes.push_back(n);
    coords.assign(3 * std::size_t(nblock), 1.5);
    translation.assign(3 * std::size_t(nblock), 0.25);
    rotation.assign(3 * std::size_t(nblock), 0.125);
  }
  ~Mesh() {
    elementdata::elemnodes.deallocate();
    nodaldata::nodalcoords.deallocate();
    nodaldata::nodesmotion.deallocate();
    nodaldata::tnodalmatrices.deallocate();
    nodaldata::tcurvmatrices.deallocate();
    elementdata::nelem = 0;
  }
};

void per_node(benchmark::State& state, int nodes) {
  state.counters["ns/node"] =
      benchmark::Counter(double(nodes) * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void GetNodalCoordinates_mesh(benchmark::State& state) {
  const Mesh mesh(int(state.range(0)));
  const int three = 3;
  for (auto _ : state) {
    GetNodalCoordinates(mesh.coords.data(), mesh.nodes.data(), &three, &mesh.nblock);
    benchmark::ClobberMemory();
  }
  per_node(state, mesh.nblock);
}
BENCHMARK(GetNodalCoordinates_mesh)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void GetNodesMotion_mesh(benchmark::State& state) {
  const Mesh mesh(int(state.range(0)));
  const int three = 3;
  for (auto _ : state) {
    GetNodesMotion(mesh.translation.data(), mesh.rotation.data(), mesh.nodes.data(), &three, &mesh.nblock, nullptr);
    benchmark::ClobberMemory();
  }
  per_node(state, mesh.nblock);
}
BENCHMARK(GetNodesMotion_mesh)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
