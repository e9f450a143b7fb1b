#include "foundation/signals.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "foundation/calculus.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/scratch.hpp"

namespace {

constexpr double largest = std::numeric_limits<double>::max();
constexpr double smallest_normal = 2.2250738585072014e-308;
constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

// The numbers among v(n) in ascending order, followed by its NaN entries:
// sorted holds n values, the first `numbers` of them numbers.
struct SortedSample {
  tavrin::Scratch<double, 64> sorted;
  int numbers;
  SortedSample(const double* v, int n) : sorted(n) {
    double* first = sorted.data();
    std::copy_n(v, n, first);
    double* end = std::partition(first, first + n, [](double x) { return !std::isnan(x); });
    std::sort(first, end);
    numbers = int(end - first);
  }
  const double* begin() { return sorted.data(); }
  const double* end() { return sorted.data() + numbers; }
};

// P(X ≥ n + 1) for X binomial with 2n + 1 trials of probability t ≤ ½.  The
// terms C(2n+1, j)·tʲ·(1-t)^(2n+1-j) fall from j = n + 1 on; the first one
// comes from powers (from logarithms for large n, so that nothing
// overflows), the others by their ratio, until the rest of the tail cannot
// change the sum.
double binomial_upper_half(double t, std::int64_t n) {
  if (t <= 0.0) return 0.0;
  if (t == 0.5) return 0.5;
  const double trials = 2.0 * double(n) + 1.0, first = double(n) + 1.0;
  // C(2n+1, n+1) is exact in a double up to n = 25; beyond, the logarithms
  // are taken in extended precision, whose rounding the exponential then
  // leaves below that of a double for all but huge n.
  double term;
  if (n <= 25) {
    term = tavrin::math::binomial(int(trials), int(first)) * std::pow(t, first) *
           std::pow(1.0 - t, trials - first);
  } else {
    const long double big = trials, k = first;
    term = double(std::exp(std::lgamma(big + 1.0L) - std::lgamma(k + 1.0L) -
                           std::lgamma(big - k + 1.0L) + k * std::log((long double)t) +
                           (big - k) * std::log1p(-(long double)t)));
  }
  const double odds = t / (1.0 - t);
  double sum = 0.0;
  for (double j = first; j <= trials && term > 0.0; j += 1.0) {
    sum += term;
    const double ratio = (trials - j) / (j + 1.0) * odds;
    // The ratios fall with j: what is left is at most term·r/(1 - r).
    if (ratio < 1.0 && term * ratio <= 0x1p-60 * sum * (1.0 - ratio)) break;
    term *= ratio;
  }
  return sum;
}

}  // namespace

namespace tavrin::signalprocessing {

double generallogistic(double x, double a, double k, double b, double q, double v, double c) {
  return a + (k - a) / std::pow(c + q * std::exp(-b * x), 1.0 / v);
}

double logistic(double x, double k, double x0, double l) {
  return l / (1.0 + std::exp(-k * (x - x0)));
}

}  // namespace tavrin::signalprocessing

namespace tavrin::math {

void getpercentile(const double* array, int ndim, double percentile, double& event, int classsize) {
  if (ndim == 1) {
    event = array[0];
    return;
  }
  // The answer when no class reaches the share.
  event = 1.0 - double(classsize);
  if (ndim < 1) return;
  if (classsize < 1) {
    latch_failure(status_invalid, "Class size of a percentile must be positive", classsize);
    return;
  }
  SortedSample sample(array, ndim);
  // The given values (below the largest double) come first in sorted order.
  const double* given_end = std::lower_bound(sample.begin(), sample.end(), largest);
  if (given_end == sample.begin()) return;
  const double rmax = given_end[-1];
  const double imax = double(std::lower_bound(sample.begin(), given_end, rmax) - sample.begin() + 1);
  const double classes = std::trunc(rmax / classsize) + 1.0;
  if (!(classes >= 1.0)) return;
  const std::int64_t nclasses = std::int64_t(std::min(classes, 0x1p62));
  const double p = percentile / 100.0;
  // The share of class c: entries before the first one above c·classsize
  // (all of them, NaN entries included, when none is above).
  const auto reaches = [&](std::int64_t c) {
    const double limit = double(c) * classsize;
    const double* above = std::upper_bound(sample.begin(), sample.end(), limit);
    const double count = above == sample.end() ? double(ndim) : double(above - sample.begin());
    return count / imax >= p;
  };
  // The shares never fall from class to class: the first class that reaches
  // p by bisection.
  if (!reaches(nclasses)) return;
  std::int64_t lo = 1, hi = nclasses;
  while (lo < hi) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    if (reaches(mid)) hi = mid;
    else lo = mid + 1;
  }
  event = double(lo - 1) * classsize + 1.0;
}

}  // namespace tavrin::math

extern "C" {

double fLimit(const double* x, const double* xlow, const double* xup) {
  if (*x > *xup) return *xup;
  return *xlow > *x ? *xlow : *x;
}

int iLimit(const int* x, const int* xlow, const int* xup) {
  if (*x > *xup) return *xup;
  return std::max(*x, *xlow);
}

int mLimit(const int* x, const int* xmod) {
  const std::int64_t m = *xmod;
  if (m == 0) return 0;
  // The remainder with the sign of xmod, in 64 bits (the lowest int by -1
  // has no 32-bit quotient).
  std::int64_t r = std::int64_t(*x) % m;
  if (r != 0 && (r < 0) != (m < 0)) r += m;
  return int(r == 0 ? m : r);
}

void GetPeaks(double* maxtab, double* mintab, int* nmaxpeaks, int* nminpeaks, const double* v,
              const double* delta, const int* n, const double* x) {
  const int size = std::max(*n, 0);
  std::fill_n(maxtab, 2 * std::ptrdiff_t(size), smallest_normal);
  std::fill_n(mintab, 2 * std::ptrdiff_t(size), smallest_normal);
  *nmaxpeaks = *nminpeaks = 0;
  // The abscissas: x when it holds anything but zeros (NaN counts), else the
  // positions.
  const bool given = x && std::any_of(x, x + size, [](double xi) { return xi != 0.0; });
  const auto abscissa = [&](int i) { return given ? x[i] : double(i + 1); };
  const double d = std::abs(*delta);
  double mx = -largest, mn = largest, mxpos = smallest_normal, mnpos = smallest_normal;
  bool seeking_maximum = true;
  // Each sample appends at most one row, so a table never holds more than n.
  const auto append = [size](double* table, int& count, double position, double value) {
    table[count] = position;
    table[size + count] = value;
    ++count;
  };
  for (int i = 0; i < size; ++i) {
    const double value = v[i];
    if (value > mx) {
      mx = value;
      mxpos = abscissa(i);
    }
    if (value < mn) {
      mn = value;
      mnpos = abscissa(i);
    }
    if (seeking_maximum) {
      if (value < mx - d) {
        append(maxtab, *nmaxpeaks, mxpos, mx);
        mn = value;
        mnpos = abscissa(i);
        seeking_maximum = false;
      }
    } else if (value > mn + d) {
      append(mintab, *nminpeaks, mnpos, mn);
      mx = value;
      mxpos = abscissa(i);
      seeking_maximum = true;
    }
  }
}

void WeightedMovingAverage(double* sma, const double* rval, double* a, int* denom, const int* wb,
                           const double* wi) {
  const int window = *wb;
  if (window < 1) {
    *denom = 0;
    *sma = not_a_number;
    return;
  }
  // The count of values held, kept to the window so that a(count) exists.
  int count = std::clamp(*denom, 0, window);
  if (count < window) {
    a[count++] = *rval;
  } else {
    std::copy(a + 1, a + window, a);
    a[window - 1] = *rval;
  }
  *denom = count;
  double weights = 0.0;
  if (wi)
    for (int i = 0; i < window; ++i) weights += wi[i];
  const bool weighted = wi && weights != 0.0;
  double s = 0.0;
  for (int i = 0; i < count; ++i) s += (weighted ? wi[i] : 1.0) * a[i];
  // Divided by the count, not by the sum of the weights.
  *sma = s / count;
}

void CumulativeMovingAverage(double* cma, const double* x, const int* n) {
  *cma = (*cma * *n + *x) / (double(*n) + 1.0);
}

double GeneralSigmoidal(const double* x, const double* k) {
  return (*x - *x * *k) / (*k - 2.0 * *k * std::abs(*x) + 1.0);
}

double GeneralizedMean(const double* x, const double* p, const int* n, const double* wi) {
  const int size = *n;
  if (*p == -largest || *p == largest) {
    // The minimum or the maximum, NaN entries passed over.
    const bool minimum = *p == -largest;
    if (size < 1) return minimum ? largest : -largest;
    double best = not_a_number;
    for (int i = 0; i < size; ++i) {
      if (std::isnan(x[i])) continue;
      if (std::isnan(best) || (minimum ? x[i] < best : x[i] > best)) best = x[i];
    }
    return best;
  }
  if (size < 1) return 0.0;
  const auto weight = [&](int i) { return wi ? wi[i] : 1.0 / size; };
  if (*p == 0.0) {
    double product = 1.0;
    for (int i = 0; i < size; ++i) product *= std::pow(x[i], weight(i));
    return product;
  }
  double s = 0.0;
  for (int i = 0; i < size; ++i) s += weight(i) * std::pow(x[i], *p);
  return std::pow(s, 1.0 / *p);
}

double LogarithmicBarrier(const double* x, const double* b) {
  const double d = *b - *x;
  return d > 2.220446049250313e-16 ? -std::log(d) : 36.04365338911715;
}

double GeneralSmoothStep(const double* x, const int* n) {
  if (*n < 0) return 0.0;
  const double zero = 0.0, one = 1.0;
  const double t = fLimit(x, &zero, &one);
  if (std::isnan(t)) return t;
  // The smoothstep of order n is the binomial tail Σⱼ₌ₙ₊₁²ⁿ⁺¹ C(2n+1, j)·tʲ·
  // (1-t)^(2n+1-j): the same polynomial as the alternating power sum
  // Σᵢ C(-n-1, i)·C(2n+1, n-i)·t^(n+1+i), but a sum of positive terms, so it
  // stays in [0, 1] where the power sum cancels to garbage from n ≈ 10 on.
  // S(t) = 1 - S(1 - t) keeps t ≤ ½ for the summation.
  return t <= 0.5 ? binomial_upper_half(t, *n) : 1.0 - binomial_upper_half(1.0 - t, *n);
}

}  // extern "C"
