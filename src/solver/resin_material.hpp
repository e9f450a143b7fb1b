// Material routine of a thermoset resin point (Abaqus/Standard UMAT
// convention): temperature-dependent resin constants, one of eight stress
// laws, a resin failure criterion chosen by the material name, isotropic or
// sudden degradation after failure, and in fatigue steps the load-cycle
// bookkeeping with fatigue life and cycle jumps.
//
// The state of a point is a 22-slot record (1-based):
//   1 cycle number n            2 first-invariant part di1   3 failure effort d
//   4, 5 first two entries of the degraded property vector  6 consumed life
//   7 Mises part dmises         8 largest normalised equivalent fatigue stress
//                                 of the running load period (starts at -huge)
//   9 cycle jump njimp          10 accumulated strain energy density
//   12 remaining life 1000(1 - life), huge once exhausted
//   13 cycles to failure Nf of the last period   14 equivalent plastic strain
//                                                   (model 4)
//   16 tensile strength xt      17 degradation factor       18 failed (1.0)
//   19 smallest normalised equivalent fatigue stress of the period (+huge)
//   20 running load period (from 1)   21 periods with a global jump evaluated
//   22 equivalent fatigue stress of this call
// (11 and 15 unused).
//
// Models (materialdata::modelid): 0-3 the isotropic viscoelastic law in its
// variants Lamé (model 0 with the secant modulus table), Kaestner, Krause
// and strain-dependent Poisson ratio; 4 elastic-plastic; 5 deviatoric and
// volumetric decomposition; 6 cubic law over the calibration tables; 7
// orthotropic strain-softened resin.
//
// Name tags (columns of the 80-character name, case-sensitive): 10-20
// "_GPHASTRAIN" Ha's criterion on the strain tensor, else 10-14 "_GPHA"
// (stress), "_GPRA" Raghava, "_GPBA" Bauwens, "_GPDP" Drucker-Prager; 29-36
// "_FATIGUE" counts load cycles in every step (otherwise only in steps whose
// shokriehdata::cycleprops row 2 is 1.0).
//
// Refused with -2 and every output unchanged: nstresscomp other than 4 or 6,
// fewer than 22 state variables (after the warning line of a first
// increment), a model number outside 0-7, fewer properties than the model's
// property routine reads (21, or 25 for models 0 and 4).
#pragma once

#include <cstddef>

#include "foundation/api.hpp"
#include "solver/wrapper.hpp"

namespace tavrin::toplevel {

extern "C" {

TAVRIN_API wrapper::Umat umat_resin;

// The ANSYS USERMAT entry of umat_resin.
TAVRIN_API wrapper::Usermat usermat_resin;

}  // extern "C"

}  // namespace tavrin::toplevel
