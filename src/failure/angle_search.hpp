// The angle search of the fracture-plane and kink-band criteria.
//
// A criterion that searches an angle θ maximises its effort f(θ) over
// [low, up] through the golden-section search of module `math`
// (IniGoldenSearch, GSSAFE), in one of two modes:
//
//   sampling  θ = low, low + dθ, low + 2·dθ, ... while θ ≤ up, each θ the
//             previous one plus dθ (so the sampled angles, and with them the
//             ties, are those of repeated addition); the result is the θ of
//             the largest f, the earliest on ties, counted only where
//             f > 0 (θ = 0, f = 0 when no f is positive);
//   golden    the golden bracket of [low, up] narrowed until it is
//             narrower than dθ; θ is the vertex of the parabola through
//             three of the last points (up when it is degenerate) and the
//             effort is f at the last golden point; the search also ends
//             when the npoints sample slots are used.
//
// The effort is a template parameter: it is inlined at every trial angle,
// and the search keeps its tables on the stack (no heap, no indirect call
// per angle).  The golden mode runs GSSAFE's protocol; the sampling mode is
// GSSAFE's scan written out as a loop (the same angles, the same rule for
// ties), which spares the protocol's bookkeeping at each of its many
// angles.  A trial effort that is not a number makes the reported effort
// not a number (the maximum of a set with a NaN in it is undefined); the
// search still ends.
#pragma once

#include <array>
#include <cmath>
#include <limits>

#include "foundation/api.hpp"
#include "foundation/goldensection.hpp"
#include "foundation/transforms.hpp"

namespace tavrin::failure {

struct AngleSearch {
  double low;   // radians
  double up;    // radians
  double step;  // radians: the sampling step, or the golden bracket tolerance
  bool golden;
};

struct SearchResult {
  double angle = 0.0;  // radians
  double effort = 0.0;
};

// The step in radians from one given in degrees (the default when step_d
// is null).  A step that is not positive and finite would never end a scan:
// the criterion's default step is used instead and a note latched (status
// -1).  A scan (golden false) takes a hundred million samples at most: a
// finer step is widened to a hundred-millionth of [low, up], with a note
// latched; the golden search's tolerance is used as given.
TAVRIN_API double search_step(const double* step_d, double default_d, double low, double up, bool golden);

// Latches the scan's refusal of ends that are not finite (status -3).
TAVRIN_API void scan_refused();

template <int NPoints, class Effort>
SearchResult search_angle(const AngleSearch& search, Effort&& effort) {
  static_assert(NPoints >= 4);
  constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();
  bool undefined = false;
  const auto evaluate = [&](double theta) {
    const double f = effort(theta);
    undefined = undefined || std::isnan(f);
    return f;
  };
  if (!search.golden) {
    SearchResult best;
    if (!(search.step > 0.0) || !std::isfinite(search.low) || !std::isfinite(search.up)) {
      scan_refused();
      return best;
    }
    for (double theta = search.low;;) {
      const double f = evaluate(theta);
      if (f > best.effort) best = {theta, f};
      const double next = theta + search.step;
      if (!(next > theta) || next > search.up) break;  // past the end, or a step lost to rounding
      theta = next;
    }
    if (undefined) best.effort = not_a_number;
    return best;
  }
  std::array<double, NPoints> x, y;
  std::array<double, 4> xmove{}, ymove{};
  std::array<double, 2> limits{};
  int increment = 0, phase = 0, side = 0;
  bool golden = false, update = false, finish = false;
  const int gsflag = 1, npoints = NPoints;
  IniGoldenSearch(x.data(), y.data(), xmove.data(), limits.data(), &increment, &phase, &golden,
                  &finish, &search.low, &search.up, &search.step, &gsflag, &npoints);
  double theta = search.low, f = 0.0;
  while (!finish) {
    GSSAFE(&theta, &f, &search.step, x.data(), y.data(), xmove.data(), ymove.data(), limits.data(),
           &side, &increment, &phase, &golden, &update, &finish, &search.up, &npoints);
    if (update) f = evaluate(theta);
  }
  return {theta, undefined ? not_a_number : f};
}

// An angle criterion's outputs: the effort, and the angle where it reaches
// 1.0 for a caller that asked for it with a negative angle.
inline double report(const SearchResult& r, double* outtheta) {
  if (outtheta && *outtheta < 0.0 && r.effort >= 1.0) *outtheta = r.angle;
  return r.effort;
}

}  // namespace tavrin::failure
