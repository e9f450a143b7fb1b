#include "failure/angle_search.hpp"

#include "foundation/numerics_latch.hpp"

namespace tavrin::failure {

double search_step(const double* step_d, double default_d, double low, double up, bool golden) {
  double step = (step_d ? *step_d : default_d) * math::deg2rad;
  if (step_d && !(step > 0.0 && std::isfinite(step))) {
    latch_failure(status_note, "Note: Angle search step not positive and finite: default step used.");
    step = default_d * math::deg2rad;
  }
  // The golden search ends by its sample slots whatever its tolerance; a
  // scan is held to a hundred million samples, more than any tolerance a
  // caller can mean over the span (a scan that long takes seconds).
  const double finest = std::abs(up - low) * 1e-8;
  if (!golden && step < finest) {
    latch_failure(status_note, "Note: Angle search step below a hundred-millionth of the span: widened.");
    step = finest;
  }
  return step;
}

void scan_refused() {
  latch_failure(status_invalid, "Golden-section scan needs finite ends and a positive step");
}

}  // namespace tavrin::failure
