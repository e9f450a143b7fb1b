// Creation and release of the shared-state tables.
//
// The creators make each array only when it is absent (an existing array keeps
// its extents and contents) and zero-fill what they create.  deallocall frees
// the tables of one analysis and leaves the data that must outlive it
// (material calibration tables, process list, impactor solution variables,
// user damage descriptors, error latch, growable lists).
#pragma once

#include "foundation/api.hpp"

namespace tavrin::datahandling {

TAVRIN_API void deallocall(int& istat);
TAVRIN_API void allocatedamagedata(int& istat, int kplies, int ksec, int kdmg);
TAVRIN_API void allocatenodaldata(int& istat, int kdof, int knodes, int kelem);
TAVRIN_API void allocateelementdata(int& istat, int knodes, int kelem);

}  // namespace tavrin::datahandling
