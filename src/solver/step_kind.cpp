#include "solver/step_kind.hpp"

#include "foundation/shared_state.hpp"

namespace tavrin::toplevel {

int step_kind(int kstep) noexcept {
  const auto& table = jobdata::stepid;
  if (!table.allocated()) return step_unknown;
  if (kstep < 1 || kstep > jobdata::nsteps || kstep > table.size(1)) return step_unknown;
  return table(kstep);
}

}  // namespace tavrin::toplevel
