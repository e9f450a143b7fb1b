// Arguments shared by the descriptors of module laminate: a ply stack of
// plyelastic(9, nplies), plyorientation(nplies) in degrees and
// plythickness(nplies), and the section tables of nsec sections.
#pragma once

#include "engine/descriptor.hpp"

namespace tavrin::bind::laminate_args {
using namespace dsl;

inline constexpr const char* laminate_doc =
    "laminate mechanics: ABD, engineering constants, ply strains and stresses, transverse shear\n"
    "\n"
    "Classical lamination theory of a stack of orthotropic plies.  Ply 1 is the bottom of the "
    "stack (most negative z), ply n the top; z is measured from the laminate mid-plane, so the "
    "faces lie at -h/2 and +h/2 (h the sum of the ply thicknesses).  A ply stack is three "
    "arrays: plyelastic(9, nplies), one column per ply holding the nine elastic constants "
    "E1, E2, E3, nu12, nu13, nu23, G12, G13, G23 (build it from one ply with "
    "np.tile(ply, (n, 1)).T); plyorientation(nplies), the angle in degrees from the laminate "
    "x axis to the ply fibre direction (counter-clockwise about z); plythickness(nplies).  "
    "Stresses and moduli share the unit of the constants, thicknesses and z that of length.  "
    "In-plane quantities are ordered 11, 22, 12 with engineering shear strain gamma12; "
    "A, B, D relate N = A.eps0 + B.kappa and M = B.eps0 + D.kappa.  Ply numbers count from 1.  "
    "Section tables hold one column per section and mark plies a section does not have with "
    "defint.  Invalid ply numbers, flags and counts are latched (errorhandling.errstat -3, "
    "errorhandling.errstring as bytes) and give zero results; nothing is raised.";

// What a routine that latches says about reading the latch.
#define TAVRIN_LAMINATE_LATCH                                                                  \
  " Read errorhandling.errstat (0: no failure) and errorhandling.errstring (bytes) after the " \
  "call; errorhandling.rsxerr clears them."

inline constexpr Arg plyelastic = in(Real, "plyelastic", "9,nplies")
    .describe("the nine elastic constants of every ply, one column per ply: E1, E2, E3, nu12, nu13, "
              "nu23, G12, G13, G23 (moduli in the stress unit)");
inline constexpr Arg plyorientation = in(Real, "plyorientation", "nplies")
    .describe("ply angles in degrees, from the laminate x axis to the fibres, ply 1 at the bottom");
inline constexpr Arg plythickness = in(Real, "plythickness", "nplies")
    .describe("ply thicknesses, ply 1 at the bottom");
inline constexpr Arg nplies = in(Int, "nplies").opt("shape(plyelastic,1)").describe("number of plies");
inline constexpr Arg iply = in(Int, "iply").relation("iply>=1 && iply<=nplies")
    .describe("the ply, counted from 1 at the bottom");

inline constexpr Arg sectionlist = in(Int, "sectionlist", "nplies,nsec")
    .describe("material id of every ply (rows, from the bottom) of every section (columns); "
              "defint: no such ply (missing plies are trailing)");
inline constexpr Arg section_orientation = in(Real, "plyorientation", "nplies,nsec")
    .describe("ply angles in degrees, one column per section, ply 1 at the bottom");
inline constexpr Arg section_thickness = in(Real, "plythickness", "nplies,nsec")
    .describe("ply thicknesses, one column per section, ply 1 at the bottom");
inline constexpr Arg section_z = in(Real, "plyzcoord", "2*nplies+1,nsec")
    .describe("the section z table (getsectionzcoord): per section, row 2k-1 the bottom and row "
              "2k the middle of ply k, row 2n+1 the top face; z from the section's mid-plane");
inline constexpr Arg section_elastic = in(Real, "plyelastic", "9,nplies,nsec")
    .describe("the nine elastic constants (E1, E2, E3, nu12, nu13, nu23, G12, G13, G23) of every "
              "ply of every section");
inline constexpr Arg section_nplies = in(Int, "nplies").opt("shape(sectionlist,0)")
    .describe("rows of the section tables: the most plies of a section");
inline constexpr Arg section_nsec = in(Int, "nsec").opt("shape(sectionlist,1)").describe("number of sections");
inline constexpr Arg defint = in(Int, "defint").opt("2147483647").describe("the marker of a missing ply");

}  // namespace tavrin::bind::laminate_args
