#include "solver/impactors.hpp"

#include <algorithm>

#include "foundation/signals.hpp"

namespace tavrin::toplevel::impactors {
namespace {

bool is_triple(const View<double, 2>& c, int j, double v) {
  return c(8, j) == v && c(9, j) == v && c(10, j) == v;
}

}  // namespace

void preset(View<double, 2> cprops, View<double, 2> dprops, View<double, 2> window, std::span<int> denom,
            std::span<const double> x, std::span<const double> y, std::span<const double> z) {
  std::fill(cprops.begin(), cprops.end(), 0.0);
  std::fill(dprops.begin(), dprops.end(), 0.0);
  std::fill(window.begin(), window.end(), 0.0);
  std::fill(denom.begin(), denom.end(), 0);
  for (int j = 1; j <= cprops.size(2); ++j) {
    cprops(6, j) = gravity;
    cprops(14, j) = j;
    cprops(15, j) = 1.0e-10;
  }
  const int n = std::min({dprops.size(2), int(x.size()), int(y.size()), int(z.size())});
  for (int j = 1; j <= n; ++j) {
    dprops(2, j) = x[j - 1];
    dprops(3, j) = y[j - 1];
    dprops(4, j) = z[j - 1];
  }
}

void start_increment(View<double, 2> c) {
  const int nimp = c.size(2);
  bool rebound = false;
  for (int j = 1; j <= nimp; ++j) rebound = rebound || c(1, j) < 0.0;
  for (int j = 1; j <= nimp; ++j) {
    if (!rebound && !(c(7, j) > 0.0)) continue;
    if (!rebound) c(1, j) = 0.0;
    c(2, j) = 0.0;
    c(3, j) = 0.0;
    c(13, j) = 0.0;
  }
}

void end_increment_structural(View<double, 2> c) {
  for (int j = 1; j <= c.size(2); ++j) {
    c(14, j) = 0.0;
    c(15, j) = 0.0;
  }
}

void end_increment_impact(View<double, 2> c, View<double, 2> window, std::span<int> denom, double dt) {
  const int averaged = std::min(window.size(2), int(denom.size()));
  for (int j = 1; j <= c.size(2); ++j) {
    bool at_rest = true;
    for (int row = 1; row <= 6; ++row) at_rest = at_rest && c(row, j) == 0.0;
    if (at_rest) continue;
    const double f = c(1, j), m = c(7, j);
    const double a_old = c(6, j), v_old = c(5, j), u_old = c(4, j);
    if (m == 0.0) {
      c(11, j) = f;
      c(12, j) = c(2, j);
      continue;
    }
    if (is_triple(c, j, -1.0)) {
      // Central differences on the half-step velocity (row 19), with the
      // previous increment (row 20).
      c(19, j) += 0.5 * (c(20, j) + dt) * a_old;
      c(20, j) = dt;
      const double a = gravity - f / m;
      c(5, j) = c(19, j) + 0.5 * dt * a;
      c(4, j) = u_old + dt * c(19, j);
      c(6, j) = a;
    } else if (is_triple(c, j, -2.0)) {
      const double w = c(20, j);
      const double a = gravity - f / m;
      c(5, j) = v_old + dt * ((1.0 - w) * a_old + w * a);
      c(4, j) = u_old + dt * v_old + 0.5 * (dt * dt) * a;
      c(6, j) = a;
    } else if (!is_triple(c, j, 0.0)) {
      // HHT-α: the force enters at the α-weighted mid point of the
      // increment; α = 0 is Newmark's scheme.
      const double alpha = c(8, j), beta = c(9, j), gamma = c(10, j);
      const double a = gravity - ((1.0 + alpha) * f - alpha * c(11, j)) / m;
      c(5, j) = v_old + dt * ((1.0 - gamma) * a_old + gamma * a);
      c(4, j) = u_old + dt * v_old + (dt * dt) * ((0.5 - beta) * a_old + beta * a);
      c(6, j) = a;
    }
    c(11, j) = f;
    c(12, j) = c(2, j);
    c(13, j) = 0.0;
    if (f > c(14, j)) c(14, j) = f;
    if (c(3, j) > c(15, j)) c(15, j) = c(3, j);
    if (j > averaged) continue;
    // Unloading: the force fell below the average of the last five.
    double sma = 0.0;
    const int wb = window_length;
    WeightedMovingAverage(&sma, &f, &window(1, j), &denom[std::size_t(j - 1)], &wb, nullptr);
    if (sma > f && denom[std::size_t(j - 1)] == window_length) c(16, j) = 1.0;
  }
}

}  // namespace tavrin::toplevel::impactors
