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

inline constexpr Arg a0 = in(Real, "a0").opt("53.0").describe(
    "classical fracture angle under pure transverse compression (degrees), measured from the plane normal to "
    "direction 2: the fracture plane's θ is then 90° - a0");
inline constexpr Arg sainc = in(Real, "sainc").opt("5.0").describe("angle step of the search (degrees); the bracket tolerance in golden mode");
inline constexpr Arg gsflag = in(Int, "gsflag").opt("0").describe(
    "1: golden-section search (can miss the largest effort); other: sampling by sainc, the conservative choice");
inline constexpr Arg fcl = in(Int, "fcl").opt("0").describe("non-zero: fibre compression switched off (effort 0)");
inline constexpr Arg outtheta = inout(Real, "outtheta").opt("-1.0").describe(
    "fracture angle θ (radians) about the fibre axis, 0 the ply plane, π/2 the plane normal to direction 2: "
    "set to the searched angle when it came in negative and the effort is at least 1.0");
inline constexpr Arg gc = in(Real, "gc", "2").opt("[0.0, 0.0]").describe("(GIc, GIIc); g = GIc/GIIc, 0.35 when either is 0");
inline constexpr Arg failmode = inout(Int, "failmode").opt("-1").describe(
    "number of the largest mode (1-based), set when it came in negative and the effort is at least 1.0");
inline constexpr Arg puck_gp = in(Real, "gp", "4").opt("[0.3, 0.2, 0.15, 0.15]").describe(
    "Puck's inclination parameters (p⊥∥ tension, p⊥∥ compression, p⊥⊥ tension, p⊥⊥ compression)");

}  // namespace tavrin::bind::failure_args

// Notes of the routines' summaries.  How an effort grows when every stress is
// scaled by λ: efforts of different criteria compare as load factors only.
#define TAVRIN_EFFORT_AS_LAMBDA \
  "\n\nEffort under stresses scaled by λ: grows as λ, so 1/effort is the load factor at failure."
#define TAVRIN_EFFORT_AS_LAMBDA2 \
  "\n\nEffort under stresses scaled by λ: grows as λ², so 1/√effort is the load factor at failure."
#define TAVRIN_EFFORT_NOT_PROPORTIONAL(why)                                                               \
  "\n\nEffort under stresses scaled by λ: not proportional to a power of λ (" why "), so it is no margin: " \
  "solve effort = 1 for λ (math.bdsafe) to compare criteria."

// The angle of the fracture plane of the searched matrix criteria.
#define TAVRIN_FRACTURE_PLANE                                                                                 \
  "\n\nFracture plane: it contains the fibre axis 1, and its angle θ turns about that axis from the ply's own " \
  "plane (normal to the thickness direction 3, θ = 0°) to the plane normal to the transverse direction 2 "  \
  "(θ = 90°); its normal is (0, -sin θ, cos θ).  Transverse tension s22 cracks at θ = 90°, "               \
  "through-thickness tension s33 at 0°.  Angles measured the classical way, from the plane normal to "    \
  "direction 2 (a0, or the 53° of pure transverse compression), are 90° - θ."

// Sampling against golden-section search of the angle.
#define TAVRIN_SEARCH_MODES(f)                                                                                \
  "\n\nSearch: sampling (gsflag other than 1) evaluates " f " every sainc degrees and keeps the largest, the "   \
  "conservative choice; golden-section mode (gsflag 1) narrows one bracket and can settle on a secondary "   \
  "maximum of " f ", reporting an effort far below the largest (on random 3-D stress states more than 1 % "  \
  "low in several cases in a hundred, in the worst by half)."
