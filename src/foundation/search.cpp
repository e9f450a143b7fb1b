#include "foundation/search.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <span>
#include <utility>

#include "foundation/boundary.hpp"
#include "foundation/exact.hpp"

namespace {

template <class T>
std::span<const T> span_of(const T* p, int n) {
  return {p, std::size_t(std::max(n, 0))};
}

int or_default(const int* notfound) { return notfound ? *notfound : -1; }

template <class T>
bool is_nan(const T& v) {
  if constexpr (std::is_same_v<T, double>) return std::isnan(v);
  else return false;
}

template <class T>
int find_location(const T* element, const T* array, const int* ndim, const int* notfound) {
  const auto a = span_of(array, *ndim);
  const auto it = std::find(a.begin(), a.end(), *element);
  return it == a.end() ? or_default(notfound) : int(it - a.begin()) + 1;
}

template <class T>
int find_subarray(const T* subarray, const T* array, const int* sdim, const int* ndim,
                  const int* notfound) {
  const std::int64_t s = *sdim, n = *ndim;
  if (s <= 0) return n - s >= 0 ? 1 : or_default(notfound);
  if (s > n) return or_default(notfound);
  const auto a = span_of(array, *ndim), sub = span_of(subarray, *sdim);
  const auto it = std::search(a.begin(), a.end(), sub.begin(), sub.end());
  return it == a.end() ? or_default(notfound) : int(it - a.begin()) + 1;
}

template <class T>
void get_pairs(int* ainb, const T* a, const T* b, const int* n) {
  // First position of each value of b.
  tavrin::detail::ExactMap<T, int> first;
  const auto bs = span_of(b, *n);
  for (std::size_t i = bs.size(); i-- > 0;)
    if (const auto k = tavrin::detail::exact_key(bs[i])) first.insert_or_assign(*k, int(i) + 1);
  const auto as = span_of(a, *n);
  for (std::size_t i = 0; i < as.size(); ++i) {
    const auto k = tavrin::detail::exact_key(as[i]);
    const auto it = k ? first.find(*k) : first.end();
    ainb[i] = it == first.end() ? -1 : it->second;
  }
}

template <class T>
int bounded(const T* x, const T* xlow, const T* xup) {
  return *xlow <= *x && *x <= *xup;
}

template <class T>
int in_list(const T* scalar, const T* list, const int* n) {
  const auto l = span_of(list, *n);
  return std::find(l.begin(), l.end(), *scalar) != l.end();
}

template <class T>
int ex_list(const T* scalar, const T* list, const int* n) {
  const auto l = span_of(list, *n);
  return std::all_of(l.begin(), l.end(), [&](const T& v) { return v == *scalar; });
}

template <class T>
void get_continuous(const T* xarr, const int* xdim, int* iloc, const int* sflag) {
  const auto x = span_of(xarr, *xdim);
  const std::span<int> order(iloc, x.size());
  std::iota(order.begin(), order.end(), 1);
  // Values that are not numbers follow every number, in position order.
  const auto numbers_end = std::stable_partition(order.begin(), order.end(),
                                                 [&](int i) { return !is_nan(x[i - 1]); });
  const bool descending = *sflag == -1;
  std::stable_sort(order.begin(), numbers_end, [&](int i, int j) {
    return descending ? x[j - 1] < x[i - 1] : x[i - 1] < x[j - 1];
  });
}

// Set membership under exact equality.
template <class T>
class ExactValues {
 public:
  explicit ExactValues(std::span<const T> values) {
    for (const T& v : values) add(v);
  }
  void add(const T& v) {
    if (const auto k = tavrin::detail::exact_key(v)) keys_.insert(*k);
  }
  bool contains(const T& v) const {
    const auto k = tavrin::detail::exact_key(v);
    return k && keys_.contains(*k);
  }

 private:
  tavrin::detail::ExactSet<T> keys_;
};

template <class T>
void get_merged(T* merged, const T* x, const T* y, const int* nx, const int* ny, const T* defval) {
  // A negative extent leaves the result as it was: merged holds nx + ny
  // entries, so counting it as 0 would write past a smaller result.
  if (*nx < 0 || *ny < 0) return;
  const auto xs = span_of(x, *nx), ys = span_of(y, *ny);
  const std::span<T> out(merged, xs.size() + ys.size());
  const T empty{};  // 0 marks an empty slot
  std::fill(out.begin(), out.end(), empty);
  const ExactValues<T> in_x(xs), in_y(ys);
  // Unmatched entries of x, then of y.
  ExactValues<T> placed{std::span<const T>{}};
  std::size_t w = 0;
  for (const T& v : xs)
    if (!in_y.contains(v)) placed.add(out[w++] = v);
  for (const T& v : ys)
    if (!in_x.contains(v)) placed.add(out[w++] = v);
  // Each shared value once, into the slots holding 0 (empty ones, or ones
  // where an unmatched 0 went).  Only zeros are ever overwritten, so a value
  // other than 0 once placed stays, and 0 occurs while a zero slot is left.
  std::size_t zeros = std::count(out.begin(), out.end(), empty), slot = 0;
  for (const T& v : xs) {
    const bool occurs = v == empty ? zeros > 0 : placed.contains(v);
    // A NaN equals nothing: it went in with the unmatched entries already.
    if (occurs || is_nan(v)) continue;
    while (slot < out.size() && !(out[slot] == empty)) ++slot;
    if (slot == out.size()) break;
    out[slot] = v;
    placed.add(v);
    --zeros;
  }
  const T fill = defval ? *defval : std::numeric_limits<T>::max();
  std::replace(out.begin(), out.end(), empty, fill);
  const auto holds_zero = [&](std::span<const T> s) {
    return std::find(s.begin(), s.end(), empty) != s.end();
  };
  if (holds_zero(xs) || holds_zero(ys)) {
    const auto it = std::find(out.begin(), out.end(), fill);
    if (it != out.end()) *it = empty;
  }
}

template <class T>
void swap_values(T* a, T* b) {
  std::swap(*a, *b);
}

bool truth(const int* f) { return *f != 0; }

}  // namespace

extern "C" {

int iFindLocation(const int* element, const int* array, const int* ndim, const int* notfound) {
  return find_location(element, array, ndim, notfound);
}
int fFindLocation(const double* element, const double* array, const int* ndim, const int* notfound) {
  return find_location(element, array, ndim, notfound);
}
int cFindLocation(const std::complex<double>* element, const std::complex<double>* array,
                  const int* ndim, const int* notfound) {
  return find_location(element, array, ndim, notfound);
}

int iFindSubArray(const int* subarray, const int* array, const int* sdim, const int* ndim,
                  const int* notfound) {
  return find_subarray(subarray, array, sdim, ndim, notfound);
}
int fFindSubArray(const double* subarray, const double* array, const int* sdim, const int* ndim,
                  const int* notfound) {
  return find_subarray(subarray, array, sdim, ndim, notfound);
}
int cFindSubArray(const std::complex<double>* subarray, const std::complex<double>* array,
                  const int* sdim, const int* ndim, const int* notfound) {
  return find_subarray(subarray, array, sdim, ndim, notfound);
}

void iGetPairs(int* ainb, const int* a, const int* b, const int* n) {
  tavrin::c_boundary(__func__, [&] {
    get_pairs(ainb, a, b, n);
  });
}
void fGetPairs(int* ainb, const double* a, const double* b, const int* n) {
  tavrin::c_boundary(__func__, [&] {
    get_pairs(ainb, a, b, n);
  });
}

int iBounded(const int* x, const int* xlow, const int* xup) { return bounded(x, xlow, xup); }
int fBounded(const double* x, const double* xlow, const double* xup) {
  return bounded(x, xlow, xup);
}
int iInList(const int* scalar, const int* list, const int* n) { return in_list(scalar, list, n); }
int fInList(const double* scalar, const double* list, const int* n) {
  return in_list(scalar, list, n);
}
int iExList(const int* scalar, const int* list, const int* n) { return ex_list(scalar, list, n); }
int fExList(const double* scalar, const double* list, const int* n) {
  return ex_list(scalar, list, n);
}

void GetIndicesExcludingSubArray(int* indices, const int* a, const int* sub, const int* n,
                                 const int* nsub) {
  tavrin::c_boundary(__func__, [&] {
    const auto as = span_of(a, *n);
    const ExactValues<int> excluded(span_of(sub, *nsub));
    std::fill(indices, indices + as.size(), -1);
    int w = 0;
    for (std::size_t i = 0; i < as.size(); ++i)
      if (!excluded.contains(as[i])) indices[w++] = int(i) + 1;
  });
}

void GetPackedList(double* packed, const double* list, const double* condition,
                   const double* padding, const int* cflag, const int* npack, const int* nlist) {
  const int room = std::max(*npack, 0);
  std::fill_n(packed, room, *padding);
  const double c = *condition;
  const auto passes = [&](double v) {
    switch (*cflag) {
      case 1: return v < c;
      case 2: return v <= c;
      case 3: return v == c;
      case 4: return v >= c;
      case 5: return v > c;
      default: return v != c;
    }
  };
  if (*cflag < 1 || *cflag > 6) return;
  const auto l = span_of(list, *nlist);
  if (std::count_if(l.begin(), l.end(), passes) > room) return;
  std::copy_if(l.begin(), l.end(), packed, passes);
}

void iGetContinuous(const int* xarr, const int* xdim, int* iloc, const int* sflag) {
  get_continuous(xarr, xdim, iloc, sflag);
}
void fGetContinuous(const double* xarr, const int* xdim, int* iloc, const int* sflag) {
  get_continuous(xarr, xdim, iloc, sflag);
}

void iGetMerged(int* merged, const int* x, const int* y, const int* nx, const int* ny,
                const int* defval) {
  tavrin::c_boundary(__func__, [&] {
    get_merged(merged, x, y, nx, ny, defval);
  });
}
void fGetMerged(double* merged, const double* x, const double* y, const int* nx, const int* ny,
                const double* defval) {
  tavrin::c_boundary(__func__, [&] {
    get_merged(merged, x, y, nx, ny, defval);
  });
}

void VectorFlip(const double* a, double* b, const int* n) {
  const auto as = span_of(a, *n);
  std::reverse_copy(as.begin(), as.end(), b);
}

void MatrixFlip(const double* a, double* b, const int* n, const int* m, const int* dimflag) {
  const std::ptrdiff_t rows = std::max(*n, 0), cols = std::max(*m, 0);
  for (std::ptrdiff_t j = 0; j < cols; ++j)
    for (std::ptrdiff_t i = 0; i < rows; ++i)
      b[i + j * rows] = *dimflag >= 0 ? a[(rows - 1 - i) + j * rows] : a[i + (cols - 1 - j) * rows];
}

void iSwap(int* a, int* b) { swap_values(a, b); }
void fSwap(double* a, double* b) { swap_values(a, b); }
void cSwap(std::complex<double>* a, std::complex<double>* b) { swap_values(a, b); }

void iINC(int* i, const int* step) {
  // Two's-complement wrap-around, as the integer arithmetic of the solvers.
  *i = int(std::uint32_t(*i) + std::uint32_t(step ? *step : 1));
}
void fINC(double* f, const double* step) { *f += step ? *step : 1.0; }

int lXOR(const int* a, const int* b) { return truth(a) != truth(b); }
int lNOR(const int* a, const int* b) { return !truth(a) && !truth(b); }
int lNAND(const int* a, const int* b) { return !(truth(a) && truth(b)); }

}
