// Arguments shared by the descriptors of module laminate: a ply stack of
// plyelastic(9, nplies), plyorientation(nplies) in degrees and
// plythickness(nplies), and the section tables of nsec sections.
#pragma once

#include "engine/descriptor.hpp"

namespace tavrin::bind::laminate_args {
using namespace dsl;

inline constexpr const char* laminate_doc =
    "laminate mechanics: ABD, engineering constants, ply strains and stresses, transverse shear";

inline constexpr Arg plyelastic = in(Real, "plyelastic", "9,nplies");
inline constexpr Arg plyorientation = in(Real, "plyorientation", "nplies").describe("degrees");
inline constexpr Arg plythickness = in(Real, "plythickness", "nplies");
inline constexpr Arg nplies = in(Int, "nplies").opt("shape(plyelastic,1)");
inline constexpr Arg iply = in(Int, "iply").relation("iply>=1 && iply<=nplies");

inline constexpr Arg sectionlist =
    in(Int, "sectionlist", "nplies,nsec").describe("material id per ply; defint: no such ply");
inline constexpr Arg section_orientation =
    in(Real, "plyorientation", "nplies,nsec").describe("degrees");
inline constexpr Arg section_thickness = in(Real, "plythickness", "nplies,nsec");
inline constexpr Arg section_z = in(Real, "plyzcoord", "2*nplies+1,nsec");
inline constexpr Arg section_elastic = in(Real, "plyelastic", "9,nplies,nsec");
inline constexpr Arg section_nplies = in(Int, "nplies").opt("shape(sectionlist,0)");
inline constexpr Arg section_nsec = in(Int, "nsec").opt("shape(sectionlist,1)");
inline constexpr Arg defint = in(Int, "defint").opt("2147483647").describe("the marker of a missing ply");

}  // namespace tavrin::bind::laminate_args
