#include "failure/angle_search.hpp"

#include "foundation/numerics_latch.hpp"

namespace tavrin::failure {

double search_step(const double* step_d, double default_d, double low, double up) {
  if (!step_d) return default_d * math::deg2rad;
  const double step = *step_d * math::deg2rad;
  // A million samples over the span at most (a 0.00018° step over 180°).
  const double finest = std::abs(up - low) * 1e-6;
  if (step > 0.0 && std::isfinite(step) && !(step < finest)) return step;
  latch_failure(status_note, "Note: Angle search step not positive and finite: default step used.");
  return default_d * math::deg2rad;
}

void scan_refused() {
  latch_failure(status_invalid, "Golden-section scan needs finite ends and a positive step");
}

}  // namespace tavrin::failure
