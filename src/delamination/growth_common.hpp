// What the compression and tension growth analyses share: the laminate of
// one ply material, the allowable release rate for a life, and the strain
// search for the allowable no-growth load.
#pragma once

#include <cmath>
#include <limits>
#include <vector>

#include "mechanics/laminate_stiffness.hpp"

namespace tavrin::delisio::detail {

// nplies plies of the material props(1..9) at the angles layup (degrees),
// each of thickness tply; ply 1 at the bottom.
class UniformLaminate {
 public:
  UniformLaminate(const double* props, const double* layup, double tply, int nplies)
      : thickness_(std::size_t(nplies > 0 ? nplies : 0), tply),
        stack_(props, layup, thickness_.data(), nplies, 0) {}
  const laminate::Stack& stack() const { return stack_; }
  // ABD of plies first..last as a laminate of their own.
  Mat6 abd(int first, int last) const { return laminate::abd(stack_.plies(first, last)).matrix(); }
  Mat6 abd() const { return abd(1, stack_.size()); }

 private:
  std::vector<double> thickness_;
  laminate::Stack stack_;
};

// The release rate that starts growth within inloadcycles (1 when absent):
// props(10) for a static load (0 or 1 cycles), c1·N^(1/c2) with c1 =
// props(11), c2 = props(12) for N > 1; any other count is reported on
// standard output and the static limit taken.
double allowable_release_rate(const double* props, const double* inloadcycles);

// Release rate and laminate force N_x at one strain of the search.
struct SearchPoint {
  double err = 0.0, force = 0.0;
};
struct Allowable {
  double strain = std::numeric_limits<double>::quiet_NaN();
  double force = std::numeric_limits<double>::quiet_NaN();
};

// Raises the strain by `step` up to 100 times until eval(j, strain) gives a
// release rate above `limit`, then interpolates linearly between that step
// and the one before (zero strain, force and release rate before the
// first).  No exceedance in 100 steps: no allowable (NaN, NaN).
template <class Eval>
Allowable search_allowable(double step, double limit, Eval&& eval) {
  SearchPoint before;
  double strain = 0.0;
  for (int j = 1; j <= 100; ++j) {
    strain = strain + step;
    const SearchPoint p = eval(j, strain);
    if (p.err > limit) {
      const double span = p.err - before.err;
      return {strain + step * (limit - p.err) / span,
              p.force + (limit - p.err) * (p.force - before.force) / span};
    }
    before = p;
  }
  return {};
}

// The larger of two release rates, the second where the first is NaN.
inline double governing(double g1, double g2) { return std::isnan(g1) ? g2 : (g1 < g2 ? g2 : g1); }

// A release rate handed to the rate law: a negative one (a sublaminate at
// rest gives ±1e-14) drives no growth.
inline double driving(double g) { return g < 0.0 ? 0.0 : g; }

// The most critical of the allowables whose `active` flag is set: the
// largest (compression) or smallest (tension), NaN entries skipped, NaN when
// all are; `none` when no entry is active.
template <class Active>
double most_critical(const double* v, int n, Active&& active, bool largest, double none) {
  bool any = false, number = false;
  double best = 0.0;
  for (int i = 0; i < n; ++i) {
    if (!active(i)) continue;
    any = true;
    if (std::isnan(v[i])) continue;
    if (!number || (largest ? v[i] > best : v[i] < best)) best = v[i];
    number = true;
  }
  if (!any) return none;
  return number ? best : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace tavrin::delisio::detail
