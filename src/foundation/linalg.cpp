#include "foundation/linalg.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include "foundation/boundary.hpp"
#include "foundation/lapack.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/products.hpp"
#include "foundation/scratch.hpp"

namespace tavrin::math {
namespace {

using MatrixWork = Scratch<double, small_matrix_entries>;
using VectorWork = Scratch<double, 8>;

// dst = src for arrays of the same size; nothing when they are one array.
void copy_into(View<const double, 2> src, double* dst) {
  if (src.data() != dst) std::copy(src.begin(), src.end(), dst);
}

// Determinant from the LU factors; `report` latches an exact zero pivot.
double lu_product(View<const double, 2> a, bool report) {
  const int n = a.size(1);
  if (n <= 0) return 1.0;
  MatrixWork lu(a.size());
  copy_into(a, lu.data());
  Scratch<int, 8> ipiv(n);
  const View<double, 2> f(lu.data(), n, n);
  if (lapack::getrf(f, ipiv.data()) != 0) {
    if (report) latch_failure(status_error, "Singularity in LU-factorization computation");
    return 0.0;
  }
  double d = 1.0;
  for (int i = 1; i <= n; ++i) {
    d *= f(i, i);
    if (ipiv[std::size_t(i - 1)] != i) d = -d;
  }
  return d;
}

// Orders up to which the memoised cofactor expansion runs (2ⁿ values kept;
// on the stack up to 8).
constexpr int cofactor_max_order = 20;

}  // namespace

int invert(View<const double, 2> a, View<double, 2> ainv) {
  const int n = a.size(1);
  if (n <= 0) return 0;
  copy_into(a, ainv.data());
  Scratch<int, 8> ipiv(n);
  const int factored = lapack::getrf(ainv, ipiv.data());
  if (factored != 0) latch_failure(status_error, "Matrix inverse becomes numerically singular!");
  // dgetri itself refuses an exact zero pivot and leaves the factors in place.
  const int inverted = lapack::getri(ainv, ipiv.data());
  if (inverted != 0) latch_failure(status_error, "Matrix inversion failed!");
  return factored != 0 ? factored : inverted;
}

void symmetric_eigenvalues(View<const double, 2> a, double* d) {
  const int n = a.size(1);
  if (n <= 0) return;
  MatrixWork t(a.size());
  copy_into(a, t.data());
  VectorWork e(n - 1), tau(n - 1);
  lapack::sytrd_upper(View<double, 2>(t.data(), n, n), d, e.data(), tau.data());
  lapack::sterf(n, d, e.data());
}

void symmetric_eigenvectors(View<const double, 2> a, View<double, 2> z, double* w) {
  const int n = a.size(1);
  if (n <= 0) return;
  copy_into(a, z.data());
  VectorWork values(n);
  lapack::syev(z, values.data());
  if (w) std::copy_n(values.data(), n, w);
}

void singular_value_decomposition(View<const double, 2> a, View<double, 2> u, View<double, 2> s,
                                  View<double, 2> v) {
  std::fill(u.begin(), u.end(), 0.0);
  std::fill(s.begin(), s.end(), 0.0);
  std::fill(v.begin(), v.end(), 0.0);
  const int m = a.size(1), n = a.size(2);
  if (m <= 0 || n <= 0) return;
  MatrixWork work(a.size());
  copy_into(a, work.data());
  const int k = std::min(m, n);
  VectorWork sv(k);
  lapack::gesvd_all(View<double, 2>(work.data(), m, n), sv.data(), u, v);
  for (int i = 1; i <= k; ++i) s(i, i) = sv[std::size_t(i - 1)];
}

bool cholesky(View<const double, 2> a, View<double, 2> c) {
  const int n = a.size(1);
  std::fill(c.begin(), c.end(), cholesky_failed);
  MatrixWork work(a.size());
  copy_into(a, work.data());
  const View<double, 2> r(work.data(), n, n);
  if (lapack::potrf_upper(r) != 0) return false;
  // dpotrf leaves the strict lower triangle as it found it: R is upper.
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i <= n; ++i) c(i, j) = i <= j ? r(i, j) : 0.0;
  return true;
}

double lu_determinant(View<const double, 2> a) { return lu_product(a, true); }

double cofactor_expansion(View<const double, 2> a, int f) {
  const int n = a.size(1);
  if (n < 1) return 0.0;
  if (n > cofactor_max_order) {
    if (f == -1) return lu_product(a, false);
    latch_failure(status_invalid, "Matrix too large for the cofactor expansion", n);
    return 0.0;
  }
  // Weights of the columns of a minor, 1, f, f², ...: in floating point, so
  // that large factors cannot overflow an integer.
  std::array<double, cofactor_max_order> w{};
  w[0] = 1.0;
  for (int p = 1; p < n; ++p) w[std::size_t(p)] = w[std::size_t(p - 1)] * f;
  // expansion[S] is the expansion of the minor made of the last |S| rows and
  // the columns in the set S.  Its first row is row n-|S|+1 of a; its column
  // c, the p-th of S, contributes w(p)·a(row, c)·expansion[S without c].
  // Every value is computed exactly as the plain recursion would, once.
  const unsigned full = (1u << n) - 1u;
  Scratch<double, 256> expansion(std::ptrdiff_t(full) + 1);
  expansion[0] = 1.0;
  for (unsigned set = 1; set <= full; ++set) {
    const int row = n - std::popcount(set) + 1;
    double sum = 0.0;
    int p = 0;
    for (int c = 0; c < n; ++c) {
      const unsigned bit = 1u << c;
      if (!(set & bit)) continue;
      sum += w[std::size_t(p++)] * a(row, c + 1) * expansion[set & ~bit];
    }
    expansion[set] = sum;
  }
  return expansion[full];
}

double modal_assurance(const double* a, const double* b, int n) {
  n = std::max(n, 0);
  const double ab = dot_product(a, b, n);
  return ab * ab / (dot_product(a, a, n) * dot_product(b, b, n));
}

void householder(View<double, 2> thouse, const double* v) {
  const int n = thouse.size(1);
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i <= n; ++i) thouse(i, j) = (i == j ? 1.0 : 0.0) - 2.0 * v[i - 1] * v[j - 1];
}

double power_iteration(View<const double, 2> a, double* eigenvec, int maxiter, const double* start,
                       double abstol) {
  const int n = a.size(1);
  if (n <= 0) return 0.0;
  VectorWork y1(n), y2(n);
  std::copy_n(start, n, y1.data());
  double delta = 1.0;
  int k = 0;
  while (k < maxiter && delta > abstol) {
    matrix_vector_product(a, y1.data(), y2.data());
    const double nu = std::sqrt(dot_product(y2.data(), y2.data(), n));
    // The entry of largest magnitude fixes the sign of the iterate, so that
    // an alternating sign (negative dominant eigenvalue) still converges.
    int j = 0;
    double largest = -1.0;
    for (int i = 0; i < n; ++i)
      if (std::abs(y2[std::size_t(i)]) > largest) {
        largest = std::abs(y2[std::size_t(i)]);
        j = i;
      }
    const double scale = 1.0 / nu;
    for (int i = 0; i < n; ++i)
      if (y2[std::size_t(i)] != 0.0) y2[std::size_t(i)] *= scale;
    const double sigma = std::signbit(y2[std::size_t(j)] * y1[std::size_t(j)]) ? -1.0 : 1.0;
    double change = 0.0;
    for (int i = 0; i < n; ++i) {
      const double d = y2[std::size_t(i)] - sigma * y1[std::size_t(i)];
      change += d * d;
    }
    delta = std::sqrt(change);
    std::copy_n(y2.data(), n, y1.data());
    ++k;
  }
  if (k >= maxiter && delta > abstol)
    latch_failure(status_error, "No convergence in von Mises eigenvalue computation");
  std::copy_n(y1.data(), n, eigenvec);
  matrix_vector_product(a, y1.data(), y2.data());
  return dot_product(y1.data(), y2.data(), n);
}

void conjugate_gradient(View<const double, 2> a, const double* b, const double* x0, double* xgrad) {
  const int n = a.size(1), m = a.size(2);
  std::fill_n(xgrad, m, 0.0);
  if (n != m) {
    latch_failure(status_invalid, "Conjugate gradient needs a square matrix", n);
    return;
  }
  constexpr double tolerance = 1e-10;
  VectorWork r(m), p(m), q(m);
  matrix_vector_product(a, x0, q.data());
  for (int i = 0; i < m; ++i) r[std::size_t(i)] = b[i] - q[std::size_t(i)];
  std::copy_n(r.data(), m, p.data());
  double rho = dot_product(r.data(), r.data(), m);
  // A start already at the solution: no step (the first would be 0/0).
  if (std::sqrt(rho) < tolerance) return;
  for (int step = 1; step <= m; ++step) {
    matrix_vector_product(a, p.data(), q.data());
    const double alpha = rho / dot_product(p.data(), q.data(), m);
    for (int i = 0; i < m; ++i) {
      xgrad[i] += alpha * p[std::size_t(i)];
      r[std::size_t(i)] -= alpha * q[std::size_t(i)];
    }
    const double next = dot_product(r.data(), r.data(), m);
    if (std::sqrt(next) < tolerance) break;
    const double beta = next / rho;
    for (int i = 0; i < m; ++i) p[std::size_t(i)] = r[std::size_t(i)] + beta * p[std::size_t(i)];
    rho = next;
  }
}

}  // namespace tavrin::math

// ---------------------------------------------------------------------------
// Exported names: the library's argument lists over the functions above.

namespace {
using tavrin::View;
namespace tm = tavrin::math;

int extent(const int* n) { return std::max(*n, 0); }
View<const double, 2> square(const double* a, int n) { return {a, n, n}; }
View<double, 2> square(double* a, int n) { return {a, n, n}; }
}  // namespace

extern "C" {

void MatrixInverse(const double* a, double* ainv, const int* n) {
  tavrin::c_boundary(__func__, [&] {
    const int k = extent(n);
    tm::invert(square(a, k), square(ainv, k));
  });
}

void MatrixEigenvalues(const double* a, double* d, const int* n) {
  tavrin::c_boundary(__func__, [&] {
    tm::symmetric_eigenvalues(square(a, extent(n)), d);
  });
}

void MatrixEigenVectors(const double* a, double* z, const int* n, double* eigvals) {
  tavrin::c_boundary(__func__, [&] {
    const int k = extent(n);
    // The eigenvalues are returned only into a vector marked by negative
    // entries throughout (the binding's default is -1 everywhere).
    const bool wanted = eigvals && std::all_of(eigvals, eigvals + k, [](double x) { return x < 0.0; });
    tm::symmetric_eigenvectors(square(a, k), square(z, k), wanted ? eigvals : nullptr);
  });
}

void SingularValueDecomposition(const double* a, double* u, double* s, double* v, const int* m,
                                const int* n) {
  tavrin::c_boundary(__func__, [&] {
    const int r = extent(m), c = extent(n);
    tm::singular_value_decomposition({a, r, c}, square(u, r), {s, r, c}, square(v, c));
  });
}

void CholeskyFactorization(const double* a, double* c, const int* n) {
  tavrin::c_boundary(__func__, [&] {
    const int k = extent(n);
    tm::cholesky(square(a, k), square(c, k));
  });
}

void GeneralMatrixProduct(double* d, const double* alpha, const double* a, const double* b,
                          const double* beta, const double* c, const int* m, const int* n,
                          const int* k, const char* sa, const char* sb) {
  const int rows = extent(m), cols = extent(n);
  if (d != c) std::copy_n(c, std::ptrdiff_t(rows) * cols, d);
  tavrin::lapack::gemm(*sa, *sb, rows, cols, extent(k), *alpha, a, b, *beta, d);
}

void LUFactDeterminant(double* lud, const double* a, const int* n) {
  tavrin::c_boundary(__func__, [&] {
    *lud = tm::lu_determinant(square(a, extent(n)));
  });
}

void Determinant(double* pd, const double* a, const int* n, const int* pdflag) {
  tavrin::c_boundary(__func__, [&] {
    *pd = tm::cofactor_expansion(square(a, extent(n)), pdflag ? *pdflag : -1);
  });
}

double VectorModalAssuranceCriterion(const double* a, const double* b, const int* n) {
  return tm::modal_assurance(a, b, *n);
}

void MatrixModalAssuranceCriterion(const double* xs, const double* ys, double* mac, const int* n) {
  tavrin::c_boundary(__func__, [&] {
    const int k = extent(n);
    const View<double, 2> out = square(mac, k);
    std::fill(out.begin(), out.end(), -1.0);
    if (k == 0) return;
    tavrin::Scratch<double, tavrin::small_matrix_entries> x(out.size()), y(out.size());
    tm::symmetric_eigenvectors(square(xs, k), square(x.data(), k), nullptr);
    tm::symmetric_eigenvectors(square(ys, k), square(y.data(), k), nullptr);
    for (int j = 1; j <= k; ++j)
      for (int i = 1; i <= k; ++i)
        out(i, j) = tm::modal_assurance(x.data() + std::ptrdiff_t(i - 1) * k,
                                        y.data() + std::ptrdiff_t(j - 1) * k, k);
  });
}

void GetHouseHolderTransformationMatrix(double* thouse, const double* v, const int* n) {
  tm::householder(square(thouse, extent(n)), v);
}

void PowerIteration(double* eigenval, double* eigenvec, const double* a, const int* n,
                    const int* maxiter, const double* startvec, const double* abstol) {
  tavrin::c_boundary(__func__, [&] {
    const int k = extent(n);
    tavrin::Scratch<double, 8> ones(startvec ? 0 : k);
    std::fill_n(ones.data(), ones.size(), 1.0);
    *eigenval = tm::power_iteration(square(a, k), eigenvec, maxiter ? *maxiter : 2000,
                                    startvec ? startvec : ones.data(), abstol ? *abstol : 1e-10);
  });
}

void ConjugateGradient(double* xgrad, const double* a, const double* b, const double* x0,
                       const int* n, const int* m) {
  tavrin::c_boundary(__func__, [&] {
    tm::conjugate_gradient({a, extent(n), extent(m)}, b, x0, xgrad);
  });
}

}  // extern "C"
