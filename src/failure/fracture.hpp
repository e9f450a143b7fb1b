// Mixed-mode fracture of a crack plane (module `fracture`): the equivalent
// critical energy release rate for a traction, and whether the crack is open.
#pragma once

#include "foundation/api.hpp"

extern "C" {

// geq: the critical energy release rates gc(n) weighted by the squared
// traction components (t1 normal, t2 and t3 shear).  n = 4 weighs an
// opening normal traction with gc(1), a closing one with gc(2), the shears
// with gc(3), gc(4); any other n ≥ 3 weighs t1, t2, t3 with gc(1..3).  A
// zero traction gives gc(1); n < 3 latches -2 and gives 0.
TAVRIN_API void GetEquivalentMixedModeERR(double* geq, const double* traction, const double* gc,
                                          const int* n);
// crckstatus = -1 (closed) when the normal traction on the plane normal to
// axis baseid (1, 2, 3) of the frame turned by phi (radians) about nrot(3)
// is negative, else 1 (open).  svoigt(6) in Voigt order; another baseid
// gives 1.
TAVRIN_API void GetCrackStatus(int* crckstatus, const double* svoigt, const double* nrot,
                               const double* phi, const int* baseid);
}
