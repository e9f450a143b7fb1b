// Kind of an analysis step, as the input-deck scan classified it.
//
// Every routine of the solver coupling that behaves differently per step
// kind asks here, so that a step outside the table (or no table at all: the
// deck was never scanned, or a host drives the routines without a start-up)
// means "nothing kind-specific happens" in one place.
#pragma once

#include "foundation/api.hpp"

namespace tavrin::toplevel {

// Step kinds (jobdata::stepid): 0 initialisation, 1 fatigue, 2 structural
// response, 3 impact, 4 relaxation, 5 DIC.
enum StepKindCode : int {
  step_unknown = -1,
  step_initialisation = 0,
  step_fatigue = 1,
  step_structural = 2,
  step_impact = 3,
  step_relaxation = 4,
  step_dic = 5,
};

// jobdata::stepid(kstep) when the table is allocated and 1 <= kstep <=
// jobdata::nsteps (and within the table), else -1.
TAVRIN_API int step_kind(int kstep) noexcept;

}  // namespace tavrin::toplevel
