// Clamps, peaks, moving averages, shape functions, means and percentiles.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "foundation/signals.hpp"
#include "numerics_support.hpp"

namespace tavrin {
namespace {

using Signals = testing::LatchTest;
constexpr double tiny = 2.2250738585072014e-308;
constexpr double largest = std::numeric_limits<double>::max();

double flimit(double x, double lo, double hi) { return fLimit(&x, &lo, &hi); }
int mlimit(int x, int m) { return mLimit(&x, &m); }
double smoothstep(double x, int n) { return GeneralSmoothStep(&x, &n); }

TEST_F(Signals, Clamps) {
  EXPECT_EQ(flimit(5.0, 0.0, 1.0), 1.0);
  EXPECT_EQ(flimit(-1.0, 0.0, 1.0), 0.0);
  EXPECT_EQ(flimit(0.5, 0.0, 1.0), 0.5);
  EXPECT_EQ(flimit(4.0, 5.0, 3.0), 3.0);
  EXPECT_EQ(flimit(2.0, 5.0, 3.0), 5.0);
  EXPECT_TRUE(std::isnan(flimit(std::nan(""), 0.0, 1.0)));
  EXPECT_EQ(flimit(7.0, std::nan(""), std::nan("")), 7.0);
  const int x = 9, lo = 0, hi = 3;
  EXPECT_EQ(iLimit(&x, &lo, &hi), 3);
  EXPECT_EQ(mlimit(0, 3), 3);
  EXPECT_EQ(mlimit(4, 3), 1);
  EXPECT_EQ(mlimit(-1, 3), 2);
  EXPECT_EQ(mlimit(7, 0), 0);
  EXPECT_EQ(mlimit(-7, -3), -1);
  for (const int v : {INT_MIN, -5, 0, 5, INT_MAX}) {
    EXPECT_EQ(mlimit(v, 1), 1);
    EXPECT_EQ(mlimit(v, -1), -1);
  }
}

struct Peaks {
  std::vector<double> maxtab, mintab;
  int nmax = -1, nmin = -1;
  Peaks(const std::vector<double>& v, double delta, const double* x = nullptr)
      : maxtab(2 * v.size()), mintab(2 * v.size()) {
    const int n = int(v.size());
    GetPeaks(maxtab.data(), mintab.data(), &nmax, &nmin, v.data(), &delta, &n, x);
  }
  // Row i (from 0) of a table of n rows: (abscissa, value).
  static std::array<double, 2> row(const std::vector<double>& t, std::size_t i) {
    return {t[i], t[t.size() / 2 + i]};
  }
};

TEST_F(Signals, Peaks) {
  const std::vector v{0.0, 2.0, 0.0, 2.0, 0.0};
  for (const double delta : {1.0, -1.0}) {
    const Peaks p(v, delta);
    ASSERT_EQ(p.nmax, 2);
    ASSERT_EQ(p.nmin, 1);
    EXPECT_EQ(Peaks::row(p.maxtab, 0), (std::array{2.0, 2.0}));
    EXPECT_EQ(Peaks::row(p.maxtab, 1), (std::array{4.0, 2.0}));
    EXPECT_EQ(Peaks::row(p.mintab, 0), (std::array{3.0, 0.0}));
    EXPECT_EQ(Peaks::row(p.mintab, 1), (std::array{tiny, tiny}));
  }
  const Peaks rising({1.0, 2.0, 3.0, 4.0}, 0.5);
  EXPECT_EQ(rising.nmax + rising.nmin, 0);
  // Given abscissas, unless they are all zero.
  const std::vector x{10.0, 20.0, 30.0, 40.0, 50.0}, zeros(5, 0.0);
  EXPECT_EQ(Peaks::row(Peaks(v, 1.0, x.data()).maxtab, 0), (std::array{20.0, 2.0}));
  EXPECT_EQ(Peaks::row(Peaks(v, 1.0, zeros.data()).maxtab, 0), (std::array{2.0, 2.0}));
}

TEST_F(Signals, WeightedMovingAverage) {
  std::array<double, 3> a{};
  int denom = 0;
  const int wb = 3;
  double sma = 0.0;
  const std::array values{3.0, 6.0, 9.0, 12.0}, averages{3.0, 4.5, 6.0, 9.0};
  for (std::size_t i = 0; i < values.size(); ++i) {
    WeightedMovingAverage(&sma, &values[i], a.data(), &denom, &wb, nullptr);
    EXPECT_EQ(sma, averages[i]);
  }
  EXPECT_EQ(a, (std::array{6.0, 9.0, 12.0}));
  EXPECT_EQ(denom, 3);
  // Weights divide by the count, not by their sum; weights summing to 0
  // count as none.
  const std::array w{1.0, 2.0, 3.0}, cancelling{1.0, -1.0, 0.0};
  const double next = 15.0;
  WeightedMovingAverage(&sma, &next, a.data(), &denom, &wb, w.data());
  EXPECT_EQ(sma, (9.0 + 2 * 12.0 + 3 * 15.0) / 3);
  WeightedMovingAverage(&sma, &next, a.data(), &denom, &wb, cancelling.data());
  EXPECT_EQ(sma, (12.0 + 15.0 + 15.0) / 3);
  // A count outside the window is kept to it: nothing is written outside a.
  for (const int start : {-5, 99}) {
    std::vector<double> window(3, 1.0);
    denom = start;
    WeightedMovingAverage(&sma, &next, window.data(), &denom, &wb, nullptr);
    EXPECT_EQ(denom, start < 0 ? 1 : 3);
  }
  const int none = 0;
  WeightedMovingAverage(&sma, &next, a.data(), &denom, &none, nullptr);
  EXPECT_TRUE(std::isnan(sma));
}

TEST_F(Signals, ShapeFunctions) {
  for (const int n : {0, 1, 2, 5, 40, 1000}) {
    EXPECT_EQ(smoothstep(0.5, n), 0.5);
    EXPECT_EQ(smoothstep(-1.0, n), 0.0);
    EXPECT_EQ(smoothstep(3.0, n), 1.0);
  }
  EXPECT_EQ(smoothstep(0.3, -1), 0.0);
  for (const double t : {0.1, 0.3, 0.8}) {
    EXPECT_NEAR(smoothstep(t, 0), t, 1e-16);
    EXPECT_NEAR(smoothstep(t, 1), 3 * t * t - 2 * t * t * t, 1e-15);
    EXPECT_NEAR(smoothstep(t, 2), t * t * t * (10 - 15 * t + 6 * t * t), 1e-15);
  }
  // High orders, where the alternating power sum cancels to garbage: the
  // values stay in [0, 1], rise with t and keep S(t) + S(1 - t) = 1.
  for (const int n : {30, 200, INT_MAX}) {
    double previous = 0.0;
    for (int k = 1; k < 100; ++k) {
      const double t = k / 100.0, s = smoothstep(t, n);
      EXPECT_GE(s, previous);
      EXPECT_LE(s, 1.0);
      EXPECT_NEAR(s + smoothstep(1.0 - t, n), 1.0, 1e-14);
      previous = s;
    }
  }
  const double x = 0.5, k = 0.25;
  EXPECT_EQ(GeneralSigmoidal(&x, &k), (0.5 - 0.125) / (0.25 - 0.25 + 1.0));
  EXPECT_DOUBLE_EQ(signalprocessing::logistic(1.0, 2.0, 1.0), 0.5);
  EXPECT_DOUBLE_EQ(signalprocessing::generallogistic(0.0, 1.0, 3.0, 1.0, 1.0, 1.0), 2.0);
  const double below = 1.0, above = 3.0, b = 2.0;
  EXPECT_EQ(LogarithmicBarrier(&below, &b), 0.0);
  EXPECT_EQ(LogarithmicBarrier(&above, &b), 36.04365338911715);
  EXPECT_EQ(LogarithmicBarrier(&b, &b), 36.04365338911715);
}

TEST_F(Signals, GeneralizedMean) {
  const std::array x{1.0, 4.0};
  const std::array with_nan{3.0, std::nan(""), 1.0};
  const std::array all_nan{std::nan("")};
  const auto mean = [](const auto& v, double p, int n = -1) {
    const int size = n < 0 ? int(v.size()) : n;
    return GeneralizedMean(v.data(), &p, &size, nullptr);
  };
  EXPECT_DOUBLE_EQ(mean(x, 0.0), 2.0);
  EXPECT_DOUBLE_EQ(mean(x, 1.0), 2.5);
  EXPECT_EQ(mean(x, -largest), 1.0);
  EXPECT_EQ(mean(x, largest), 4.0);
  EXPECT_EQ(mean(with_nan, -largest), 1.0);
  EXPECT_TRUE(std::isnan(mean(all_nan, largest)));
  EXPECT_EQ(mean(x, -largest, 0), largest);
  EXPECT_EQ(mean(x, 2.0, 0), 0.0);
  const std::array w{0.75, 0.25};
  const double p = 1.0;
  const int n = 2;
  EXPECT_EQ(GeneralizedMean(x.data(), &p, &n, w.data()), 1.75);
}

double percentile(const std::vector<double>& v, double pct, int classsize) {
  double event = -99.0;
  math::getpercentile(v.data(), int(v.size()), pct, event, classsize);
  return event;
}

TEST_F(Signals, Percentile) {
  const std::vector v{1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0};
  EXPECT_EQ(percentile(v, 50.0, 5), 1.0);
  EXPECT_EQ(percentile(v, 90.0, 5), 6.0);
  EXPECT_EQ(percentile(v, 100.0, 5), 6.0);
  EXPECT_EQ(percentile(v, 101.0, 5), -4.0);  // no class reaches it: 1 - classsize
  EXPECT_EQ(percentile({4.5}, 50.0, 5), 4.5);
  EXPECT_EQ(percentile({}, 50.0, 5), -4.0);
  // Unsorted, with a value not given and a NaN.
  EXPECT_EQ(percentile({9.0, largest, 2.0, std::nan(""), 4.0}, 60.0, 2), 3.0);
  // A huge value makes very many classes: the first that reaches the share.
  EXPECT_EQ(percentile({1.0, 1e300, 5.0}, 50.0, 1), 5.0);
  EXPECT_EQ(status(), 0);
  EXPECT_EQ(percentile(v, 50.0, 0), 1.0);
  EXPECT_EQ(status(), -3);
  EXPECT_EQ(message(), "Class size of a percentile must be positive");
}

}  // namespace
}  // namespace tavrin
