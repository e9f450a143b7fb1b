// Progressive fatigue of a unidirectional ply or a fabric at a material
// point (Abaqus/Standard UMAT convention), with Shokrieh's fatigue law.
//
// A fabric of fibre angle ±α (props(149), degrees; 0 for a unidirectional
// ply) is two unidirectional layers at +α and −α whose stresses and
// tangents are averaged.  State (312 slots):
//   1        the fabric angle (degrees)
//   2-78     the 77-value fatigue state of layer 1 (the only layer at α = 0)
//   79-155   that of layer 2
//   156      0 after the first increment
//   157-312  copies: on the first increment of slots 1-156; then 158-234 and
//            235-311 are the backups the fatigue law keeps of its layers.
// Each layer's stress in its own axes is entry 53-58 of its fatigue state.
// On the first increment (kinc ≤ 1) of a zero state, or of a state whose
// last value carries the uninitialised marker (≥ 9.9e34), the cycle numbers
// and last jumps start at 1 (0 in a direct cyclic step, jstep(2) = 6 or 7)
// and the stiffness and strength fractions at 1.
//
// Refused with -2 and every output unchanged: nallstatv other than 312,
// fewer than 150 properties, ntens other than 3, 4 or 6.
#pragma once

#include <cstddef>

#include "foundation/api.hpp"
#include "solver/wrapper.hpp"

namespace tavrin::toplevel {

extern "C" {

TAVRIN_API wrapper::Umat umat_shokrieh;

// The ANSYS USERMAT entry of umat_shokrieh.
TAVRIN_API wrapper::Usermat usermat_shokrieh;

}  // extern "C"

}  // namespace tavrin::toplevel
