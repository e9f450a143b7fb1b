// Arguments shared by the failure-criteria modules (gpcollection,
// fbcollection, mccollection, delcollection, cccollection).
#pragma once

#include "engine/descriptor.hpp"

namespace tavrin::bind::failure_args {
using namespace dsl;

constexpr Arg stress(const char* name) { return in(Real, name).describe("ply stress (MPa), axes 1 fibre, 2 transverse, 3 thickness"); }
constexpr Arg strength(const char* name) { return in(Real, name).describe("strength, a positive magnitude (MPa)"); }
constexpr Arg modulus(const char* name) { return in(Real, name).describe("ply elastic constant (MPa; Poisson's ratio dimensionless)"); }
constexpr Arg effort(const char* name) { return out(Real, name).describe("failure effort, 1.0 at failure"); }

inline constexpr Arg a0 = in(Real, "a0").opt("53.0").describe("fracture angle under pure transverse compression (degrees)");
inline constexpr Arg sainc = in(Real, "sainc").opt("5.0").describe("angle step of the search (degrees); the bracket tolerance in golden mode");
inline constexpr Arg gsflag = in(Int, "gsflag").opt("0").describe("1: golden-section search; other: sampling by sainc");
inline constexpr Arg fcl = in(Int, "fcl").opt("0").describe("non-zero: fibre compression switched off (effort 0)");
inline constexpr Arg outtheta = inout(Real, "outtheta").opt("-1.0").describe(
    "fracture angle (radians): set to the searched angle when it came in negative and the effort is at least 1.0");
inline constexpr Arg gc = in(Real, "gc", "2").opt("[0.0, 0.0]").describe("(GIc, GIIc); g = GIc/GIIc, 0.35 when either is 0");
inline constexpr Arg failmode = inout(Int, "failmode").opt("-1").describe(
    "number of the largest mode (1-based), set when it came in negative and the effort is at least 1.0");
inline constexpr Arg puck_gp = in(Real, "gp", "4").opt("[0.3, 0.2, 0.15, 0.15]").describe(
    "Puck's inclination parameters (p⊥∥ tension, p⊥∥ compression, p⊥⊥ tension, p⊥⊥ compression)");

}  // namespace tavrin::bind::failure_args
