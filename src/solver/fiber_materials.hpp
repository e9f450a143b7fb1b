// Fibre and endochronic-resin material routines of module `toplevel`.
//
// umat_fiber (Abaqus/Standard UMAT): linear-elastic orthotropic fibre or
// unidirectional ply, solver order 11, 22, 33, 12, 13, 23, engineering
// shears.  PROPS: 1-9 E1, E2, E3, ν12, ν13, ν23, G12, G13, G23; 10, 11 the
// fibre tensile and compressive strengths; with exactly 12 properties, 12
// the stiffness factor after failure; with 24 or more, 12 the temperature
// T1 of the set 1-11, 13-23 a second set and 24 its temperature T2 (the
// sets interpolated linearly in temp + dtemp between T1 and T2, the end
// sets outside); with exactly 25, 25 the stiffness factor.  Only the
// properties given are read: fewer than 9 latch -2 and give a zero
// stiffness and stress; 9 check no failure; 10 check tension only; 13-24
// and more than 25 apply no factor after failure.  State
// (FibreStateVariables, 12 slots expected): slot 3 the fibre failure
// effort |s11|/strength (running maximum, at most 1; 1 = failed, after
// which the nine constants are multiplied by the factor), slot 12 the
// largest double after every call.  With fewer than 12 slots the first two
// increments print a warning; slots beyond nstatv are neither read nor
// written.
//
// usermat_fiber (ANSYS USERMAT): the same elasticity from prop (2, 5 or 9
// values, GetNyeProperties), without temperature or failure; dsdepl in the
// ANSYS order 11, 22, 33, 12, 23, 13 (3 or 4 components: the solver's
// forms), the stress updated incrementally, sedel the energy of the
// increment, tsstif the transverse shear stiffness (G13, G23) and, in plane
// stress, epszz = −(ν13/E1)·s11 − (ν23/E2)·s22.
//
// umat_krause (UMAT): the endochronic viscoplastic resin
// (EndochroneViscoPlasticity, props and statev in its layout) on six
// components, with the tangent by central differences (step 1e-8 of the
// strain increment, time increment 0, state not written).  Other component
// counts latch -2 and change nothing.
#pragma once

#include <cstddef>

#include "foundation/api.hpp"
#include "solver/wrapper.hpp"

namespace tavrin::toplevel {

extern "C" {

TAVRIN_API tavrin::wrapper::Umat umat_fiber;

TAVRIN_API tavrin::wrapper::Umat umat_krause;

TAVRIN_API tavrin::wrapper::Usermat usermat_fiber;

}  // extern "C"

}  // namespace tavrin::toplevel
