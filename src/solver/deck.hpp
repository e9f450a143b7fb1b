// The solver's own text files that job control reads: the input deck
// (analysis steps and their kinds, impactors and their positions) and the
// message file (the cycle count of a fatigue step).
#pragma once

#include <string_view>
#include <vector>

#include "foundation/api.hpp"
#include "solver/card_file.hpp"

namespace tavrin::iohandling {

// Impactor positions from the deck: the translation line after each
// impactor's marker line.
struct ImpactorPositions {
  std::vector<double> x, y, z;
};

// Scans the open deck: jobdata::nsteps = its "*Step" lines, jobdata::stepid
// their kinds from the step names (1 when none is named), loaddata::nimp =
// the "*INSTANCE" and "*STEP" lines marked as sensor elements, with their
// positions.  Keywords begin in column 1; names and markers are found
// anywhere after the first comma, in any letter case.  Closes the deck.
TAVRIN_API ImpactorPositions scan_deck(Card& deck);

// Cycle count of fatigue step kstep from the message file at msgpath, when
// row 4 of the step's cycle parameters is 5: the second word of the file's
// last line that begins with "CYCLE" becomes shokriehdata::cycles(2, kstep);
// without such a line (or file) the count becomes at least 1.  A file that
// exists but cannot be read latches -3 naming it and leaves the count.  A cycle table
// of one row cannot take the count: -2, latched once (one_row_reported).
TAVRIN_API void count_cycles(std::string_view msgpath, int kstep, bool& one_row_reported);

}  // namespace tavrin::iohandling
