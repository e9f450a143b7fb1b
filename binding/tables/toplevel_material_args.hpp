// Arguments of the Abaqus/Standard UMAT convention shared by the resin,
// Prony and Shokrieh material routines of module toplevel (the routines name
// some of them differently; the extents name the component count).
#pragma once

#include "engine/descriptor.hpp"

namespace tavrin::bind::material_args {
using namespace dsl;

inline constexpr Arg sse = inout(Real, "sse").describe("specific elastic strain energy");
inline constexpr Arg spd = inout(Real, "spd").describe("specific plastic dissipation; returned as received");
inline constexpr Arg scd = inout(Real, "scd").describe("specific creep dissipation; returned as received");
inline constexpr Arg rpl = in(Real, "rpl").describe("volumetric heat generation; not used");
constexpr Arg ddsddt(const char* n) { return in(Real, "ddsddt", n).describe("stress change per temperature change; not used"); }
constexpr Arg drplde(const char* n) { return in(Real, "drplde", n).describe("heat generation change per strain; not used"); }
inline constexpr Arg drpldt = in(Real, "drpldt").describe("heat generation change per temperature; not used");
inline constexpr Arg time = in(Real, "time", "2").describe("step time and total time at the start of the increment (s)");
inline constexpr Arg dtime = in(Real, "dtime").describe("time increment (s)");
inline constexpr Arg temp = in(Real, "temp").describe("temperature at the start of the increment (K)");
inline constexpr Arg dtemp = in(Real, "dtemp").describe("temperature increment (K)");
inline constexpr Arg predef = in(Real, "predef", "*").describe("predefined field variables; not used");
inline constexpr Arg dpred = in(Real, "dpred", "*").describe("increments of the predefined fields; not used");
constexpr Arg name(const char* n) { return in(Text, n, "80").describe("material name (80 characters, blank-padded)"); }
constexpr Arg ndi(const char* n) { return in(Int, n).describe("direct stress components; not used"); }
inline constexpr Arg nshr = in(Int, "nshr").describe("shear stress components; not used");
inline constexpr Arg coords = in(Real, "coords", "3").describe("coordinates of the point; not used");
inline constexpr Arg drot = in(Real, "drot", "3,3").describe("rotation increment; not used");
inline constexpr Arg pnewdt = inout(Real, "pnewdt").describe("suggested ratio of the next time increment; returned as received");
inline constexpr Arg celent = in(Real, "celent").describe("characteristic element length; not used");
inline constexpr Arg dfgrd0 = in(Real, "dfgrd0", "3,3").describe("deformation gradient at the start of the increment");
inline constexpr Arg dfgrd1 = in(Real, "dfgrd1", "3,3").describe("deformation gradient at the end of the increment");
inline constexpr Arg noel = in(Int, "noel").describe("element number (debug lines for the debug element)");
inline constexpr Arg npt = in(Int, "npt").describe("integration point number; not used");
inline constexpr Arg kslay = in(Int, "kslay").describe("layer number, 1-based");
inline constexpr Arg kspt = in(Int, "kspt").describe("section point number, 1-based");
inline constexpr Arg kinc = in(Int, "kinc").describe("increment number, 1-based (≤ 1: the first increment)");

}  // namespace tavrin::bind::material_args
