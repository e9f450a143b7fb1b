// Clamps, peaks, moving averages, shape functions, means and percentiles.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <limits>
#include <utility>
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
  const double nan = std::nan("");
  // Above, reversed bounds from either side, NaN bounds.
  for (const auto& [x, lo, hi, want] :
       {std::array{5.0, 0.0, 1.0, 1.0}, {4.0, 5.0, 3.0, 3.0}, {2.0, 5.0, 3.0, 5.0}, {7.0, nan, nan, 7.0}})
    EXPECT_EQ(flimit(x, lo, hi), want) << x << " " << lo << " " << hi;
  EXPECT_TRUE(std::isnan(flimit(nan, 0.0, 1.0)));
  for (const auto& [v, m, want] : {std::array{0, 3, 3}, {4, 3, 1}, {-1, 3, 2}, {7, 0, 0}, {-7, -3, -1}})
    EXPECT_EQ(mlimit(v, m), want) << v << " " << m;
  for (const int v : {INT_MIN, -5, 0, 5, INT_MAX}) EXPECT_EQ(std::pair(mlimit(v, 1), mlimit(v, -1)), std::pair(1, -1));
}

TEST_F(Signals, Peaks) {
  // The tables hold n rows (abscissa, value), column-major; then the counts.
  const auto peaks = [](const std::vector<double>& values, double delta, const double* at = nullptr) {
    std::vector<double> tables(4 * values.size() + 2);
    int n = int(values.size()), nmax = -1, nmin = -1;
    GetPeaks(tables.data(), tables.data() + 2 * n, &nmax, &nmin, values.data(), &delta, &n, at);
    tables[tables.size() - 2] = nmax;
    tables.back() = nmin;
    return tables;
  };
  const std::vector v{0.0, 2.0, 0.0, 2.0, 0.0}, zeros(5, 0.0);
  // Maxima at 2 and 4, a minimum at 3; unused rows hold the smallest normal number.
  for (const double delta : {1.0, -1.0})
    EXPECT_EQ(peaks(v, delta), (std::vector{2.0, 4.0, tiny, tiny, tiny, 2.0, 2.0, tiny, tiny, tiny, 3.0, tiny, tiny,
                                            tiny, tiny, 0.0, tiny, tiny, tiny, tiny, 2.0, 1.0}));
  EXPECT_EQ(peaks(v, 1.0, zeros.data())[0], 2.0);  // abscissas all zero count as none given
}

TEST_F(Signals, WeightedMovingAverage) {
  // (sma, denom) after 15 enters the window a of wb entries.
  const auto wma = [](std::vector<double> a, int denom, int wb, const double* w) {
    double sma = 0.0;
    const double next = 15.0;
    WeightedMovingAverage(&sma, &next, a.data(), &denom, &wb, w);
    return std::pair(sma, denom);
  };
  // Weights divide by the count, not by their sum; weights summing to 0
  // count as none; an empty window gives NaN.
  const std::array w{1.0, 2.0, 3.0}, cancelling{1.0, -1.0, 0.0};
  EXPECT_EQ(wma({6.0, 9.0, 12.0}, 3, 3, w.data()).first, (9.0 + 2 * 12.0 + 3 * 15.0) / 3);
  EXPECT_EQ(wma({6.0, 9.0, 12.0}, 3, 3, cancelling.data()).first, (9.0 + 12.0 + 15.0) / 3);
  EXPECT_TRUE(std::isnan(wma({6.0, 9.0, 12.0}, 3, 0, nullptr).first));
  // A count outside the window is kept to it: nothing is written outside a.
  EXPECT_EQ(std::pair(wma({1.0, 1.0, 1.0}, -5, 3, nullptr).second, wma({1.0, 1.0, 1.0}, 99, 3, nullptr).second),
            std::pair(1, 3));
}

TEST_F(Signals, ShapeFunctionsAndMeans) {
  for (const int n : {0, 1, 2, 5, 40, 1000})
    EXPECT_EQ((std::array{smoothstep(0.5, n), smoothstep(-1.0, n), smoothstep(3.0, n)}), (std::array{0.5, 0.0, 1.0})) << n;
  EXPECT_EQ(smoothstep(0.3, -1), 0.0);
  // High orders, where the alternating power sum cancels to garbage: the
  // values stay in [0, 1], rise with t and keep S(t) + S(1 - t) = 1.
  for (const int n : {30, 200, INT_MAX})
    for (int k = 1; k < 100; ++k) {
      const double s = smoothstep(k / 100.0, n);
      EXPECT_TRUE(s >= smoothstep((k - 1) / 100.0, n) && s <= 1.0) << n << " " << k;
      EXPECT_NEAR(s + smoothstep(1.0 - k / 100.0, n), 1.0, 1e-14);
    }
  const double below = 1.0, above = 3.0, b = 2.0;
  EXPECT_EQ((std::array{LogarithmicBarrier(&below, &b), LogarithmicBarrier(&above, &b), LogarithmicBarrier(&b, &b)}),
            (std::array{0.0, 36.04365338911715, 36.04365338911715}));
  // The geometric mean; the extreme orders give the extremes, NaN ignored;
  // no entries give the neutral value.
  const std::array x{1.0, 4.0};
  const std::array with_nan{3.0, std::nan(""), 1.0};
  const auto mean = [](const auto& v, double p, int size) { return GeneralizedMean(v.data(), &p, &size, nullptr); };
  EXPECT_DOUBLE_EQ(mean(x, 0.0, 2), 2.0);
  EXPECT_EQ((std::array{mean(x, -largest, 2), mean(x, largest, 2), mean(with_nan, -largest, 3), mean(x, -largest, 0),
                        mean(x, 2.0, 0)}),
            (std::array{1.0, 4.0, 1.0, largest, 0.0}));
  EXPECT_TRUE(std::isnan(mean(std::array{std::nan("")}, largest, 1)));
}

TEST_F(Signals, Percentile) {
  const auto percentile = [](const std::vector<double>& v, double pct, int classsize) {
    double event = -99.0;
    math::getpercentile(v.data(), int(v.size()), pct, event, classsize);
    return event;
  };
  // No class reaches it: 1 - classsize.  Unsorted, with a value not given
  // and a NaN.  A huge value makes very many classes: the first that reaches the share.
  EXPECT_EQ((std::array{percentile({1.0, 2.0, 3.0}, 101.0, 5), percentile({}, 50.0, 5),
                        percentile({9.0, largest, 2.0, std::nan(""), 4.0}, 60.0, 2),
                        percentile({1.0, 1e300, 5.0}, 50.0, 1)}),
            (std::array{-4.0, -4.0, 3.0, 5.0}));
  EXPECT_EQ(take(), latch(0));
  EXPECT_EQ(percentile({1.0, 2.0, 3.0}, 50.0, 0), 1.0);
  EXPECT_EQ(take(), latch(-3, "Class size of a percentile must be positive"));
}

}  // namespace
}  // namespace tavrin
