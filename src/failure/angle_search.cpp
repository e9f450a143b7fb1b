#include "failure/angle_search.hpp"

#include "foundation/numerics_latch.hpp"

namespace tavrin::failure {

double search_step(const double* step_d, double default_d, double low, double up) {
  // A hundred thousand samples over the span at most (0.0018° over 180°).
  const double finest = std::abs(up - low) * 1e-5;
  double step = (step_d ? *step_d : default_d) * math::deg2rad;
  if (step_d && !(step > 0.0 && std::isfinite(step))) {
    latch_failure(status_note, "Note: Angle search step not positive and finite: default step used.");
    step = default_d * math::deg2rad;
  }
  return step < finest ? finest : step;
}

void scan_refused() {
  latch_failure(status_invalid, "Golden-section scan needs finite ends and a positive step");
}

}  // namespace tavrin::failure
