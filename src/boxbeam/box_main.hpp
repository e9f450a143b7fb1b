// The box-beam cross-section analysis on the section data of box_data.hpp:
// axial stiffness, mass, stiffness centre and centre of mass, bending
// stiffnesses and principal axes, polar mass moment, and the axial force
// flows and strains that the section loads produce in booms and walls; the
// wall shear flows from boom equilibrium, cell compatibility and moment
// equilibrium, the shear centre, the specific twist, the torsional stiffness
// (Bredt-Batho for closed cells, 0 for an open profile) and the mass moments
// about the shear centre.  A cell side that no wall joins ends the process
// with status 1 after its report line; a singular equation system ends the
// run with its report line and status -3 (its words) in the error latch, the
// results so far kept and the others NaN.  A system with coefficients that
// are not finite ends the run the same way (without a report line), and a
// run whose results come out not finite latches -3 too.
#pragma once

#include <array>
#include <vector>

#include "foundation/api.hpp"

namespace tavrin::boxbeam {

// Runs the analysis on the data as they stand.  The section is checked first
// (initialised, at least one wall, counts within the capacities, boom numbers
// of walls and cells within 1..ig, kw + 1 = ig + az); a section that fails is
// refused with -2 in the error latch and the results are zeroed.
TAVRIN_API void get_equivalent_xsection();

// Consistent nodal forces of the walls 1..nwalls: pknt[i][node][dir], node
// start, middle, end; direction X (axial), Y, Z.  Quadratic three-node line
// element under the force flows of `kraft` (axial nx0, nxl2, nxl; shear t0,
// tl2, tl).
TAVRIN_API std::vector<std::array<std::array<double, 3>, 3>> wall_nodal_forces(int nwalls);

}  // namespace tavrin::boxbeam

extern "C" {
TAVRIN_API void Box_GetXSection();
// Nodal forces of the walls 1..maxw; their report lines when the report is on.
TAVRIN_API void KNKRFT(const int* maxw);
}
