#include "foundation/lapack.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

#include "foundation/numerics_latch.hpp"
#include "foundation/scratch.hpp"

// Fortran interfaces of the reference libraries: every argument by reference,
// the length of each character argument appended as a hidden size_t.
extern "C" {
void dgetrf_(const int* m, const int* n, double* a, const int* lda, int* ipiv, int* info);
void dgetri_(const int* n, double* a, const int* lda, const int* ipiv, double* work,
             const int* lwork, int* info);
void dpotrf_(const char* uplo, const int* n, double* a, const int* lda, int* info, std::size_t);
void dsyev_(const char* jobz, const char* uplo, const int* n, double* a, const int* lda, double* w,
            double* work, const int* lwork, int* info, std::size_t, std::size_t);
void dsytrd_(const char* uplo, const int* n, double* a, const int* lda, double* d, double* e,
             double* tau, double* work, const int* lwork, int* info, std::size_t);
void dsterf_(const int* n, double* d, double* e, int* info);
void dgesvd_(const char* jobu, const char* jobvt, const int* m, const int* n, double* a,
             const int* lda, double* s, double* u, const int* ldu, double* vt, const int* ldvt,
             double* work, const int* lwork, int* info, std::size_t, std::size_t);
void dgemm_(const char* transa, const char* transb, const int* m, const int* n, const int* k,
            const double* alpha, const double* a, const int* lda, const double* b, const int* ldb,
            const double* beta, double* c, const int* ldc, std::size_t, std::size_t);

// LAPACK's error handler, replaced: latch instead of stopping the process.
TAVRIN_API void xerbla_(const char* /*srname*/, const int* info, std::size_t /*len*/) {
  tavrin::latch_failure(tavrin::status_invalid, "Illegal argument in a LAPACK call", info ? *info : 0);
}
}

namespace tavrin::lapack {
namespace {

// Workspaces of up to 1024 reals stay on the stack: the queried optimum of
// every routine here for matrices up to 8×8 and beyond.
using Work = Scratch<double, 1024>;

// The optimum that a workspace query (lwork = -1) left in work(1), as an
// integer, at least `minimum` and at least 1.
int queried(double optimum, int minimum) {
  const double capped = std::min(optimum, 2147483647.0);
  return std::max({int(capped), minimum, 1});
}

bool empty(View<double, 2> a) { return a.size(1) <= 0 || a.size(2) <= 0; }
int ld(int rows) { return std::max(rows, 1); }

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

// Whether the entries the routine reads (the upper triangle only, or all)
// are finite; if not, the refusal is latched.  The QR sweeps of the
// eigenvalue and singular value routines need not end on a NaN.
bool finite_input(View<double, 2> a, bool upper_only) {
  for (int j = 1; j <= a.size(2); ++j)
    for (int i = 1; i <= (upper_only ? std::min(j, a.size(1)) : a.size(1)); ++i)
      if (!std::isfinite(a(i, j))) {
        latch_failure(status_invalid, "Matrix entries must be finite numbers");
        return false;
      }
  return true;
}

// The results of a refused call: not numbers.
template <class... Spans>
void not_numbers(Spans... spans) {
  (std::fill_n(spans.first, spans.second, not_a_number), ...);
}
using Span = std::pair<double*, std::ptrdiff_t>;

}  // namespace

int getrf(View<double, 2> a, int* ipiv) {
  if (empty(a)) return 0;
  const int m = a.size(1), n = a.size(2), lda = ld(m);
  int info = 0;
  dgetrf_(&m, &n, a.data(), &lda, ipiv, &info);
  return info;
}

int getri(View<double, 2> a, const int* ipiv) {
  if (empty(a)) return 0;
  const int n = a.size(1), lda = ld(n);
  Work work(n);
  int info = 0;
  dgetri_(&n, a.data(), &lda, ipiv, work.data(), &n, &info);
  return info;
}

int potrf_upper(View<double, 2> a) {
  if (empty(a)) return 0;
  const int n = a.size(1), lda = ld(n);
  int info = 0;
  dpotrf_("U", &n, a.data(), &lda, &info, 1);
  return info;
}

int syev(View<double, 2> a, double* w) {
  if (empty(a)) return 0;
  const int n = a.size(1), lda = ld(n), query = -1;
  if (!finite_input(a, true)) {
    not_numbers(Span{a.data(), a.size()}, Span{w, n});
    return -4;
  }
  double optimum = 0.0;
  int info = 0;
  dsyev_("V", "U", &n, a.data(), &lda, w, &optimum, &query, &info, 1, 1);
  const int lwork = queried(optimum, 3 * n - 1);
  Work work(lwork);
  dsyev_("V", "U", &n, a.data(), &lda, w, work.data(), &lwork, &info, 1, 1);
  return info;
}

int sytrd_upper(View<double, 2> a, double* d, double* e, double* tau) {
  if (empty(a)) return 0;
  const int n = a.size(1), lda = ld(n), query = -1;
  if (!finite_input(a, true)) {
    not_numbers(Span{d, n}, Span{e, n - 1}, Span{tau, n - 1});
    return -2;
  }
  double optimum = 0.0;
  int info = 0;
  dsytrd_("U", &n, a.data(), &lda, d, e, tau, &optimum, &query, &info, 1);
  const int lwork = queried(optimum, 1);
  Work work(lwork);
  dsytrd_("U", &n, a.data(), &lda, d, e, tau, work.data(), &lwork, &info, 1);
  return info;
}

int sterf(int n, double* d, double* e) {
  if (n <= 0) return 0;
  if (!std::all_of(d, d + n, [](double v) { return std::isfinite(v); }) ||
      !std::all_of(e, e + n - 1, [](double v) { return std::isfinite(v); })) {
    latch_failure(status_invalid, "Matrix entries must be finite numbers");
    not_numbers(Span{d, n});
    return -2;
  }
  int info = 0;
  dsterf_(&n, d, e, &info);
  return info;
}

int gesvd_all(View<double, 2> a, double* s, View<double, 2> u, View<double, 2> vt) {
  if (empty(a)) return 0;
  const int m = a.size(1), n = a.size(2), lda = ld(m), ldu = ld(m), ldvt = ld(n), query = -1;
  const int mn = std::min(m, n);
  if (!finite_input(a, false)) {
    not_numbers(Span{s, mn}, Span{u.data(), u.size()}, Span{vt.data(), vt.size()});
    return -5;
  }
  double optimum = 0.0;
  int info = 0;
  dgesvd_("A", "A", &m, &n, a.data(), &lda, s, u.data(), &ldu, vt.data(), &ldvt, &optimum, &query,
          &info, 1, 1);
  const int lwork = queried(optimum, std::max(3 * mn + std::max(m, n), 5 * mn));
  Work work(lwork);
  dgesvd_("A", "A", &m, &n, a.data(), &lda, s, u.data(), &ldu, vt.data(), &ldvt, work.data(),
          &lwork, &info, 1, 1);
  return info;
}

bool gemm(char transa, char transb, int m, int n, int k, double alpha, const double* a,
          const double* b, double beta, double* c) {
  if (!valid_transpose(transa) || !valid_transpose(transb)) {
    latch_failure(status_invalid, "Unknown matrix transpose flag");
    return false;
  }
  m = std::max(m, 0);
  n = std::max(n, 0);
  k = std::max(k, 0);
  if (m == 0 || n == 0) return true;
  const int lda = ld(no_transpose(transa) ? m : k);
  const int ldb = ld(no_transpose(transb) ? k : n);
  const int ldc = ld(m);
  dgemm_(&transa, &transb, &m, &n, &k, &alpha, a, &lda, b, &ldb, &beta, c, &ldc, 1, 1);
  return true;
}

}  // namespace tavrin::lapack
