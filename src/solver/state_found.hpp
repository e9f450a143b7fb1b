// The analysis's shared state as a reader or a start-up found it, for
// putting it back when memory runs out part way.
//
// A snapshot records the identity of every table of the data modules (and
// of any further tables its owner names) and the value of every scalar.
// restore() releases each table that no longer holds the table recorded
// (made, or refilled in place, since) and gives the scalars their values
// back: what remains is the state found, less the tables touched, so no
// half-read model is left.  The error-handling module is left out: the
// latch keeps the record of what went wrong.  The other subsystems' modules
// are no part of an analysis.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "foundation/allocatable.hpp"
#include "foundation/shared_state.hpp"

namespace tavrin {

class StateFound {
 public:
  // The state now, with `more` tables kept outside the data modules.
  explicit StateFound(std::span<AllocatableBase* const> more = {});

  // Releases the tables made or refilled since and puts the scalars back.
  void restore() const;

 private:
  std::vector<std::pair<AllocatableBase*, std::uint64_t>> tables_;
  std::vector<const VariableInfo*> scalars_;
  std::vector<unsigned char> values_;
};

}  // namespace tavrin
