// Isotropic elastic-plastic material routine of module `toplevel`
// (Abaqus/Standard UMAT): von Mises yield, isotropic hardening from a
// tabulated yield curve, a Newton return on the equivalent plastic strain
// increment, and a hydrostatic-tension cut-off.
//
// PROPS: 1 E, 2 ν, 3 plasticity switch (> 0: on), 4 on m = (nprops − 3)/2
// pairs (yield stress, equivalent plastic strain); the first yield stress
// PROPS(4) is also the hydrostatic cut-off.  STATEV: 1..ntens elastic
// strains, ntens+1..2·ntens plastic strains, 2·ntens+1 the equivalent
// plastic strain; shear components are engineering strains.
//
// For 0.4999000132083893 < ν < 0.5001000165939331 the factors (1 + ν) and
// (1 − 2ν) are 1.4990000128746033 and 0.001999974250793457, in the
// elastic stiffness of 4 and 6 components too (a three-component plane
// stress stiffness stays finite and is formed from ν as given).
//
// The cut-off is one value for the whole process: once the hydrostatic
// stress of any point exceeds its PROPS(4), every later call with
// plasticity on returns the direct stresses PROPS(4) and zero shear
// stresses (the tangent as computed).  It is never reset.
//
// Failures (latched, status -2): fewer than 2 properties (zero tangent,
// nothing else changed); plasticity on with fewer than 5 properties: an
// elastic increment; fewer than 2·ntens + 1 state variables: the elastic
// trial stress and tangent, no state read or written.  A return that does not converge in
// 10 iterations prints the warning line and goes on with its last values.
#pragma once

#include <cstddef>

#include "foundation/api.hpp"
#include "solver/wrapper.hpp"

namespace tavrin::toplevel {

extern "C" {

TAVRIN_API tavrin::wrapper::Umat umat_hail;

}  // extern "C"

}  // namespace tavrin::toplevel
