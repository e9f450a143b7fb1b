#include "foundation/products.hpp"

#include <algorithm>
#include <cstdint>

#include "foundation/calculus.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/transforms.hpp"

namespace tavrin::math {

double dot_product(const double* a, const double* b, int n) {
  double s = 0.0;
  for (int i = 0; i < n; ++i) s += a[i] * b[i];
  return s;
}

void matrix_vector_product(View<const double, 2> a, const double* x, double* y) {
  const int n = a.size(1), m = a.size(2);
  for (int i = 1; i <= n; ++i) {
    double s = 0.0;
    for (int j = 1; j <= m; ++j) s += a(i, j) * x[j - 1];
    y[i - 1] = s;
  }
}

void matrix_product(View<const double, 2> a, View<const double, 2> b, View<double, 2> c) {
  std::fill(c.begin(), c.end(), 0.0);
  accumulate_product(c, a, b, a.size(1), a.size(2), b.size(2));
}

void packed_symmetric_product(const double* a, int m, const double* b, double* c, int n) {
  n = std::max(n, 0);
  std::fill_n(c, n, 0.0);
  if (std::int64_t(std::max(m, 0)) < std::int64_t(n) * (n + 1) / 2) {
    latch_failure(status_invalid, "Packed symmetric matrix shorter than n(n+1)/2", m);
    return;
  }
  const double* s = a;
  for (int i = 0; i < n; ++i) {
    c[i] += *s++ * b[i];
    for (int j = i + 1; j < n; ++j, ++s) {
      c[i] += *s * b[j];
      c[j] += *s * b[i];
    }
  }
}

void shrink(const double* a, const double* b, double* c, double alpha, std::ptrdiff_t size) {
  const double f = alpha > 1.0 ? 1.0 : (alpha > 0.0 ? alpha : 0.0);
  for (std::ptrdiff_t i = 0; i < size; ++i) c[i] = f * a[i] + (1.0 - f) * b[i];
}

bool centroid(const double* x, const double* y, int n, double c[2]) {
  const double area = signed_polygon_area(x, y, n);
  if (area == 0.0) return false;
  // A polygon that repeats its first vertex at the end is already closed.
  const int edges = (x[n - 1] == x[0] && y[n - 1] == y[0]) ? n - 1 : n;
  double sx = 0.0, sy = 0.0;
  for (int i = 0; i < edges; ++i) {
    const int j = (i + 1) % n;
    const double d = x[i] * y[j] - x[j] * y[i];
    sx += (x[i] + x[j]) * d;
    sy += (y[i] + y[j]) * d;
  }
  const double scale = 1.0 / (6.0 * area);
  c[0] = sx == 0.0 ? 0.0 : sx * scale;
  c[1] = sy == 0.0 ? 0.0 : sy * scale;
  return true;
}

}  // namespace tavrin::math

namespace {
namespace tm = tavrin::math;
using tavrin::Mat3;
using tavrin::Vec3;
using tavrin::View;

int extent(const int* n) { return std::max(*n, 0); }
std::ptrdiff_t entries(const int* n, const int* m) { return std::ptrdiff_t(extent(n)) * extent(m); }

// a(i) = f(a(i), b(i)) over `size` entries.
template <class F>
void update(double* a, const double* b, std::ptrdiff_t size, F f) {
  for (std::ptrdiff_t i = 0; i < size; ++i) a[i] = f(a[i], b[i]);
}
// c(i) = f(a(i), b(i)).
template <class F>
void combine(const double* a, const double* b, double* c, std::ptrdiff_t size, F f) {
  for (std::ptrdiff_t i = 0; i < size; ++i) c[i] = f(a[i], b[i]);
}
// Scales the non-zero entries only.
void amplify(double* a, double c, std::ptrdiff_t size) {
  for (std::ptrdiff_t i = 0; i < size; ++i)
    if (a[i] != 0.0) a[i] *= c;
}
}  // namespace

extern "C" {

void MatrixProduct(const double* a, const double* b, double* c, const int* l, const int* n,
                   const int* m) {
  tm::matrix_product({a, extent(l), extent(n)}, {b, extent(n), extent(m)}, {c, extent(l), extent(m)});
}

void MatrixVectorProduct(const double* a, const double* b, double* c, const int* n, const int* m) {
  tm::matrix_vector_product({a, extent(n), extent(m)}, b, c);
}

void VectorMatrixProduct(const double* a, const double* b, double* c, const int* n, const int* m) {
  const int rows = extent(m);
  for (int j = 0; j < extent(n); ++j) c[j] = tm::dot_product(a, b + std::ptrdiff_t(j) * rows, rows);
}

void LUMatrixVectorProduct(const double* a, const double* b, double* c, const int* m, const int* n) {
  tm::packed_symmetric_product(a, *m, b, c, *n);
}

void DotProduct(const double* a, const double* b, double* c, const int* l) {
  *c = tm::dot_product(a, b, *l);
}

void CrossProduct(const double* a, const double* b, double* c) {
  tavrin::cross(Vec3::load(a), Vec3::load(b)).store(c);
}

void VectorTripleProduct(const double* a, const double* b, const double* c, double* d) {
  tavrin::cross(Vec3::load(a), tavrin::cross(Vec3::load(b), Vec3::load(c))).store(d);
}

void ScalarTripleProduct(const double* a, const double* b, const double* c, double* d) {
  *d = tavrin::dot(Vec3::load(a), tavrin::cross(Vec3::load(b), Vec3::load(c)));
}

void DyadenProduct(const double* a, const double* b, double* c, const int* m, const int* n) {
  const View<double, 2> out(c, extent(m), extent(n));
  for (int j = 1; j <= out.size(2); ++j)
    for (int i = 1; i <= out.size(1); ++i) out(i, j) = a[i - 1] * b[j - 1];
}

void KroneckerProduct(const double* a, const double* b, double* ab, const int* ma, const int* na,
                      const int* pb, const int* qb) {
  const View<const double, 2> x(a, extent(ma), extent(na)), y(b, extent(pb), extent(qb));
  const View<double, 2> out(ab, x.size(1) * y.size(1), x.size(2) * y.size(2));
  for (int j = 1; j <= x.size(2); ++j)
    for (int l = 1; l <= y.size(2); ++l)
      for (int i = 1; i <= x.size(1); ++i)
        for (int k = 1; k <= y.size(1); ++k)
          out((i - 1) * y.size(1) + k, (j - 1) * y.size(2) + l) = x(i, j) * y(k, l);
}

void HadamardProduct(const double* a, const double* b, double* c, const int* l, const int* n) {
  combine(a, b, c, entries(l, n),
          [](double x, double y) { return x != 0.0 && y != 0.0 ? x * y : 0.0; });
}

void HadamardDivision(const double* a, const double* b, double* c, const int* l, const int* n) {
  combine(a, b, c, entries(l, n),
          [](double x, double y) { return x != 0.0 && y != 0.0 ? x / y : 0.0; });
}

void MatrixSum(double* a, const double* b, const int* n, const int* m) {
  update(a, b, entries(n, m), [](double x, double y) { return x + y; });
}

void MatrixSub(double* a, const double* b, const int* n, const int* m) {
  update(a, b, entries(n, m), [](double x, double y) { return x - y; });
}

void VectorSub(double* a, const double* b, const int* n) {
  update(a, b, extent(n), [](double x, double y) { return x - y; });
}

void MatrixScalarMultiplication(double* a, const double* b, const double* c, const int* n,
                                const int* m) {
  const double s = *c;
  update(a, b, entries(n, m), [s](double x, double y) { return x + s * y; });
}

void VectorScalarMultiplication(double* a, const double* b, const double* c, const int* n) {
  const double s = *c;
  update(a, b, extent(n), [s](double x, double y) { return x + s * y; });
}

void MatrixAmplify(double* a, const double* c, const int* n, const int* m) {
  amplify(a, *c, entries(n, m));
}

void VectorAmplify(double* a, const double* c, const int* n) { amplify(a, *c, extent(n)); }

void GetABVector(double* v, const double* a, const double* b, const int* n) {
  combine(a, b, v, extent(n), [](double x, double y) { return y - x; });
}

void MatrixShrinkage(const double* a, const double* b, double* c, const double* alpha, const int* n,
                     const int* m) {
  tm::shrink(a, b, c, *alpha, entries(n, m));
}

void CoordinateRotation(const double* a, const double* p, double* prot, const double* alpha_d) {
  (tm::rotation_matrix(Vec3::load(a), *alpha_d * tm::deg2rad) * Vec3::load(p)).store(prot);
}

void CoordinateTranslation(const double* a, const double* p, double* ptrans) {
  (Vec3::load(p) + Vec3::load(a)).store(ptrans);
}

void CoordinateReflection(const double* na, const double* nb, const double* p, double* pref) {
  const Vec3 u = Vec3::load(na), v = Vec3::load(nb);
  const Mat3 mirror = 2.0 * (tavrin::outer(u, u) + tavrin::outer(v, v)) - Mat3::identity();
  (mirror * Vec3::load(p)).store(pref);
}

void CoordinateProjection(const double* u, const double* v, const double* p, double* ppro,
                          const double* r0) {
  const Vec3 n = tavrin::cross(Vec3::load(u), Vec3::load(v));
  const Vec3 x = Vec3::load(p);
  const Vec3 origin = r0 ? Vec3::load(r0) : Vec3{};
  (x - (tavrin::dot(x - origin, n) / tavrin::dot(n, n)) * n).store(ppro);
}

void GetCentroid(double* c, const double* x, const double* y, const int* n) {
  tm::centroid(x, y, *n, c);
}

}  // extern "C"
