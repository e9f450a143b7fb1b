// Cost per call of the per-integration-point kernels, and proof that they
// take nothing from the heap: this program replaces the global operator new
// with a counting one, and every benchmark reports allocations per call
// ("allocs/call") and fails if that is not 0.
//
//   build/bench/bench_linalg [--benchmark_filter=Inverse]
#include <benchmark/benchmark.h>

#include <vector>

#include "allocation_count.hpp"
#include "foundation/linalg.hpp"
#include "foundation/products.hpp"
#include "foundation/small_matrix.hpp"
#include "foundation/transforms.hpp"

namespace {

using bench::measure;

// A well-conditioned n×n matrix: a diagonally dominant one.
std::vector<double> matrix(int n) {
  std::vector<double> a(std::size_t(n) * std::size_t(n));
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) a[std::size_t(i + j * n)] = i == j ? n + 1.0 : 1.0 / (1 + i + 2 * j);
  return a;
}

void MatrixInverse_n(benchmark::State& state) {
  const int n = int(state.range(0));
  const std::vector<double> a = matrix(n);
  std::vector<double> ainv(a.size());
  measure(state, [&] {
    MatrixInverse(a.data(), ainv.data(), &n);
    benchmark::DoNotOptimize(ainv.data());
    benchmark::ClobberMemory();
  });
}
BENCHMARK(MatrixInverse_n)->Arg(3)->Arg(6)->Arg(8);

void Determinant_n(benchmark::State& state) {
  const int n = int(state.range(0));
  const std::vector<double> a = matrix(n);
  double pd = 0.0;
  measure(state, [&] {
    Determinant(&pd, a.data(), &n, nullptr);
    benchmark::DoNotOptimize(pd);
  });
}
BENCHMARK(Determinant_n)->Arg(3)->Arg(6)->Arg(8);

void MatrixProduct_6x6(benchmark::State& state) {
  const int n = 6;
  const std::vector<double> a = matrix(n), b = matrix(n);
  std::vector<double> c(a.size());
  measure(state, [&] {
    MatrixProduct(a.data(), b.data(), c.data(), &n, &n, &n);
    benchmark::DoNotOptimize(c.data());
    benchmark::ClobberMemory();
  });
}
BENCHMARK(MatrixProduct_6x6);

void Mat6_product(benchmark::State& state) {
  const tavrin::Mat6 a = tavrin::Mat6::load(matrix(6).data()), b = a;
  measure(state, [&] {
    tavrin::Mat6 c = a * b;
    benchmark::DoNotOptimize(c);
  });
}
BENCHMARK(Mat6_product);

void TensorRotation2nd_3x3(benchmark::State& state) {
  const std::vector<double> t = matrix(3);
  const double angle = 0.3, axis[3] = {0.0, 0.6, 0.8};
  double out[9];
  measure(state, [&] {
    TensorRotation2nd(t.data(), out, &angle, axis);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(TensorRotation2nd_3x3);

void TensorRotation4th_3x3x3x3(benchmark::State& state) {
  std::vector<double> t(81);
  for (std::size_t i = 0; i < t.size(); ++i) t[i] = 1.0 / double(i + 1);
  const double angle = 0.3, axis[3] = {0.0, 0.6, 0.8};
  double out[81];
  measure(state, [&] {
    TensorRotation4th(t.data(), out, &angle, axis);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  });
}
BENCHMARK(TensorRotation4th_3x3x3x3);

}  // namespace

BENCHMARK_MAIN();
