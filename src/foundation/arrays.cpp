#include "foundation/arrays.hpp"

#include <algorithm>
#include <cstdint>
#include <numeric>

#include "foundation/array.hpp"

namespace tavrin::utility {

namespace {

// Fills a whole column-major array of the given extents: its elements are
// contiguous, so this is one run; any extent below 1 leaves it untouched.
template <class T, class... N>
void fill_whole(T* a, const T& lambda, N... n) {
  std::size_t count = 1;
  for (const int e : {n...}) {
    if (e < 1) return;
    count *= std::size_t(e);
  }
  std::fill_n(a, count, lambda);
}

}  // namespace

#define TAVRIN_FILL_FAMILY(prefix, T)                                                            \
  void prefix##_fillvectorwithscalar(T* a, const T& lambda, int n1) { fill_whole(a, lambda, n1); } \
  void prefix##_fillmatrixwithscalar(T* a, const T& lambda, int n1, int n2) {                     \
    fill_whole(a, lambda, n1, n2);                                                               \
  }                                                                                              \
  void prefix##_fill3darraywithscalar(T* a, const T& lambda, int n1, int n2, int n3) {            \
    fill_whole(a, lambda, n1, n2, n3);                                                           \
  }                                                                                              \
  void prefix##_fill4darraywithscalar(T* a, const T& lambda, int n1, int n2, int n3, int n4) {    \
    fill_whole(a, lambda, n1, n2, n3, n4);                                                       \
  }                                                                                              \
  void prefix##_fill5darraywithscalar(T* a, const T& lambda, int n1, int n2, int n3, int n4,      \
                                      int n5) {                                                  \
    fill_whole(a, lambda, n1, n2, n3, n4, n5);                                                   \
  }                                                                                              \
  void prefix##_fill6darraywithscalar(T* a, const T& lambda, int n1, int n2, int n3, int n4,      \
                                      int n5, int n6) {                                          \
    fill_whole(a, lambda, n1, n2, n3, n4, n5, n6);                                               \
  }                                                                                              \
  void prefix##_fill7darraywithscalar(T* a, const T& lambda, int n1, int n2, int n3, int n4,      \
                                      int n5, int n6, int n7) {                                  \
    fill_whole(a, lambda, n1, n2, n3, n4, n5, n6, n7);                                           \
  }

TAVRIN_FILL_FAMILY(real, double)
TAVRIN_FILL_FAMILY(int, int)
#undef TAVRIN_FILL_FAMILY

}  // namespace tavrin::utility

namespace {

using tavrin::Mat;
using tavrin::View;

// Number of elements of an array with these extents; 0 when any is below 1.
template <class... N>
std::ptrdiff_t element_count(const N*... n) {
  std::ptrdiff_t count = 1;
  for (const int e : {*n...}) count *= std::max(e, 0);
  return count;
}

template <class... N>
void zero(double* a, const N*... n) {
  std::fill_n(a, element_count(n...), 0.0);
}

template <class T>
void copy(const T* a, T* b, std::ptrdiff_t count) {
  if (count > 0) std::copy_n(a, count, b);
}

// a(n, n) with value on the k-th diagonal and zeros elsewhere.
void diagonal_matrix(double* a, int n, int k, double value) {
  const Mat<double> m(a, n, n);
  std::fill(m.begin(), m.end(), 0.0);
  for (int i = 1; i <= n; ++i) {
    const std::int64_t j = i + std::int64_t(k);
    if (j >= 1 && j <= n) m(i, int(j)) = value;
  }
}

bool flag(const int* f, bool absent) { return f ? *f != 0 : absent; }

}  // namespace

extern "C" {

void IniVectorwithZeros(double* a, const int* n) { zero(a, n); }
void IniMatrixwithZeros(double* a, const int* n, const int* m) { zero(a, n, m); }
void Ini3DArraywithZeros(double* a, const int* l, const int* m, const int* n) { zero(a, l, m, n); }
void Ini4DArraywithZeros(double* a, const int* l, const int* m, const int* n, const int* o) {
  zero(a, l, m, n, o);
}
void Ini5DArraywithZeros(double* a, const int* l, const int* m, const int* n, const int* o,
                         const int* p) {
  zero(a, l, m, n, o, p);
}
void Ini6DArraywithZeros(double* a, const int* l, const int* m, const int* n, const int* o,
                         const int* p, const int* q) {
  zero(a, l, m, n, o, p, q);
}
void IniMaxDArraywithZeros(double* a, const int* l, const int* m, const int* n, const int* o,
                           const int* p, const int* q, const int* r) {
  zero(a, l, m, n, o, p, q, r);
}

void fVectorCopy(const double* a, double* b, const int* n) { copy(a, b, *n); }
void iVectorCopy(const int* a, int* b, const int* n) { copy(a, b, *n); }
void cVectorCopy(const std::complex<double>* a, std::complex<double>* b, const int* n) {
  copy(a, b, *n);
}
void MatrixCopy(const double* a, double* b, const int* n, const int* m) {
  copy(a, b, element_count(n, m));
}
void GetUnpackedMatrixFromList(double* matrix, const double* list, const int* n, const int* m) {
  copy(list, matrix, element_count(n, m));
}

void VectorSort(double* a, const double* b, const int* mask, const int* n, const int* na,
                const int* nb) {
  const View<const int, 1> selected(mask, *n);
  const View<double, 1> to(a, *na);
  const View<const double, 1> from(b, *nb);
  for (const int i : selected)
    if (i >= 1 && i <= to.size(1) && i <= from.size(1)) to(i) = from(i);
}

void MatrixSort(double* a, const double* b, const int* mask, const int* m, const int* n,
                const int* na, const int* nb) {
  const View<const int, 1> selected(mask, *n);
  const Mat<double> to(a, *m, *na);
  const Mat<const double> from(b, *m, *nb);
  for (const int j : selected)
    if (j >= 1 && j <= to.size(2) && j <= from.size(2))
      for (int i = 1; i <= to.size(1); ++i) to(i, j) = from(i, j);
}

void GetScalarMatrix(double* a, const int* n, const double* lambda) {
  diagonal_matrix(a, *n, 0, *lambda);
}

void GetIdentityMatrix(double* a, const int* n) { diagonal_matrix(a, *n, 0, 1.0); }

void GetEyeMatrix(double* a, const int* k, const int* n) {
  diagonal_matrix(a, *n, k ? *k : 0, 1.0);
}

void GetIndexVector(int* a, const int* n) {
  if (*n > 0) std::iota(a, a + *n, 1);
}

void Linspace(double* x, const double* a, const double* b, const int* n, const int* endpoint) {
  const int count = *n;
  if (count < 1) return;
  // One point has no spacing: it is the start.
  const int intervals = flag(endpoint, true) ? count - 1 : count;
  const double dx = intervals > 0 ? (*b - *a) / intervals : 0.0;
  for (int i = 0; i < count; ++i) x[i] = *a + i * dx;
}

void GetTriangularMatrix(double* lu, const double* a, const int* n, const int* luflag) {
  const Mat<double> out(lu, *n, *n);
  const Mat<const double> in(a, *n, *n);
  const bool upper = flag(luflag, false);
  for (int j = 1; j <= *n; ++j)
    for (int i = 1; i <= *n; ++i) out(i, j) = (upper ? j >= i : i >= j) ? in(i, j) : 0.0;
}

void GetUnpackedTriangle(double* lu, const double* packed, const int* nlu, const int* np,
                         const char* order, const int* upper) {
  const int n = *nlu;
  const Mat<double> out(lu, n, n);
  std::fill(out.begin(), out.end(), 0.0);
  // Column-major order "F" delivers the stored triangle as it is (upper) or
  // transposed (lower); any other order is the transpose of that, as a
  // row-major reader sees the same triangle.
  const bool as_upper = (*order == 'F') == flag(upper, false);
  const std::int64_t available = std::max(*np, 0);
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i <= j; ++i) {
      const std::int64_t p = i + std::int64_t(j) * (j - 1) / 2;
      if (p > available) continue;
      (as_upper ? out(i, j) : out(j, i)) = packed[p - 1];
    }
}

void Symmetrize(const double* lu, double* sym, const int* n) {
  const Mat<const double> in(lu, *n, *n);
  const Mat<double> out(sym, *n, *n);
  for (int j = 1; j <= *n; ++j)
    for (int i = 1; i <= *n; ++i) out(i, j) = in(i, j) != 0.0 ? in(i, j) : in(j, i);
}

void FillMatrixOffDiagonals(double* a, const double* x, const int* n, const int* k) {
  const Mat<double> m(a, *n, *n);
  const std::int64_t count = *k;
  const std::int64_t h = std::int64_t(m.size(1)) * (m.size(1) - 1) / 2;
  std::int64_t next = 0;
  for (int j = 1; j <= m.size(1); ++j)
    for (int i = j + 1; i <= m.size(1) && next < count; ++i) m(i, j) = x[next++];
  if (count == h) return;
  for (int i = 1; i <= m.size(1); ++i)
    for (int j = i + 1; j <= m.size(1) && next < count; ++j) m(i, j) = x[next++];
}

void GetSubArray(double* subarray, int* subslice, const double* array, const int* narray,
                 const int* nsub, const int* tail) {
  const int size = std::max(*narray, 0), count = *nsub;
  subslice[0] = subslice[1] = -1;
  if (count < 1) return;
  std::fill_n(subarray, count, 1.0);
  if (count > size) return;
  const int first = flag(tail, true) ? size - count + 1 : 1;
  subslice[0] = first;
  subslice[1] = first + count - 1;
  std::copy_n(array + (first - 1), count, subarray);
}

void MatrixConcatenation(double* ab, const double* a, const double* b, const int* ctype,
                         const int* k, const int* l, const int* m, const int* n) {
  const auto extent = [](std::int64_t e) { return int(std::clamp<std::int64_t>(e, 0, INT32_MAX)); };
  const std::int64_t c = *ctype;
  const Mat<double> out(ab, extent(*k + std::int64_t(*m) * c), extent(*l + std::int64_t(*n) * (1 - c)));
  std::fill(out.begin(), out.end(), 0.0);
  if (c != 0 && c != 1) return;
  // b starts below a (ctype 1) or to its right (ctype 0); what would fall
  // outside ab is not written.
  const Mat<const double> left(a, *k, *l), right(b, *m, *n);
  const auto place = [&](const Mat<const double>& block, int row0, int col0) {
    for (int j = 1; j <= std::min(block.size(2), out.size(2) - col0); ++j)
      for (int i = 1; i <= std::min(block.size(1), out.size(1) - row0); ++i)
        out(row0 + i, col0 + j) = block(i, j);
  };
  place(left, 0, 0);
  place(right, c == 1 ? left.size(1) : 0, c == 1 ? 0 : left.size(2));
}

void VectorSplit(const double* a, double* b, const int* k, const int* n) {
  const int one = 1;
  MatrixSplit(a, b, k, n, &one);
}

void MatrixSplit(const double* a, double* b, const int* k, const int* l, const int* m) {
  if (*k < 1) return;
  const int rows = std::max(*l, 0), pieces = *k, piece = rows / pieces;
  const View<const double, 2> in(a, rows, *m);
  const View<double, 3> out(b, piece, *m, pieces);
  std::fill(out.begin(), out.end(), -1.0);
  if (rows % pieces != 0) return;
  for (int c = 1; c <= pieces; ++c)
    for (int j = 1; j <= in.size(2); ++j)
      for (int r = 1; r <= piece; ++r) out(r, j, c) = in((c - 1) * piece + r, j);
}

}
