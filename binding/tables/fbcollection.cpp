// Module fbcollection: fibre-breakage criteria (LaRC05 kink-band search,
// LaRC04, closed forms).
#include "engine/descriptor.hpp"
#include "failure/fbcollection.hpp"
#include "tables/failure_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace failure_args;

constexpr Arg rfb = effort("rfb");
#define FB_STRESSES stress("s11"), stress("s22"), stress("s33"), stress("s12"), stress("s13"), stress("s23")

TAVRIN_BINDING_MODULE(fbcollection,
                      "fibre-breakage criteria.\n\n"
                      "Fibre-breakage efforts of a ply (1.0 at failure): LaRC05 and LaRC04 kink-band criteria and closed forms.  Stresses are in the ply axes 1 fibre, 2 transverse, 3 thickness, in MPa; strengths are positive magnitudes (MPa).  The kink-plane search angle, its step and the fracture angle a0 are in degrees; modes reported in failmode are counted from 1.  a0 is the classical fracture angle of pure transverse compression, measured from the plane normal to direction 2.  Sampling the kink-plane angle (gsflag 0, the default) is the conservative choice: golden-section search (gsflag 1) can settle on a secondary maximum and report an effort far below the largest.  Efforts of different criteria are not margins: each routine says how its effort grows when every stress is scaled by λ.");
TAVRIN_ROUTINE_DOC(fblarc05, FBLaRC05,
                   "LaRC05 fibre effort: s11/xt11 in tension, the largest kink-band effort over the kink-plane angle in compression"
                   TAVRIN_SEARCH_MODES("the kink-band effort")
                   TAVRIN_EFFORT_NOT_PROPORTIONAL(
                       "s11/xt11 grows as λ; the kink-band effort, a sum of squared traction ratios on a kink plane "
                       "whose misalignment φ depends on the stress level, grows roughly as λ² but not in "
                       "proportion"),
                   rfb, FB_STRESSES, strength("xt11"), strength("xc11"), strength("xt22"), strength("xc22"),
                   strength("x12"), modulus("g12"), a0, sainc, gsflag, fcl);
TAVRIN_ROUTINE_DOC(fblarc05_is, FBLaRC05_is,
                   "LaRC05 fibre effort with in-situ strengths; 0 in compression below half the kinking strength"
                   TAVRIN_SEARCH_MODES("the kink-band effort")
                   TAVRIN_EFFORT_NOT_PROPORTIONAL(
                       "s11/xt11 grows as λ; in compression the effort jumps from 0 to the kink-band effort as "
                       "|s11| passes half the kinking strength, and the kink-band effort grows roughly as λ², its "
                       "kink plane turning with the stress level"),
                   rfb, FB_STRESSES, strength("xt11_std"), strength("xc11_std"), strength("xt22_std"),
                   strength("x23_std"), strength("x12_std"), modulus("g12"), a0, sainc, gsflag, fcl,
                   in(Real, "x_is", "9").opt("0").describe(
                       "in-situ strengths (MPa), 0.0 taking the standard one: 1 xt11, 2 YTb, 3 YTa, 4 XCk "
                       "(kink), 7 SLb, 8 SLa, 9 ST; 5 and 6 unused"));
TAVRIN_ROUTINE_DOC(fblarc04, FBLaRC04,
                   "LaRC04 fibre effort: s11/xt11 in tension, the kink-band effort at the closed-form kink plane in compression"
                   TAVRIN_EFFORT_NOT_PROPORTIONAL(
                       "s11/xt11 grows as λ; in compression the kink frame turns with the stress level and the "
                       "effort mixes terms in λ and λ²"),
                   rfb, FB_STRESSES, strength("xt11"), strength("xc11"), strength("xt22"), strength("xc22"),
                   strength("x12"), modulus("e11"), modulus("e22"), modulus("g12"), modulus("nu12"), gc, a0, fcl);
TAVRIN_ROUTINE_DOC(fbchangchang, FBChangChang, "Chang-Chang fibre effort sqrt((s11/X1)² + (s12/x12)²)"
                   TAVRIN_EFFORT_AS_LAMBDA,
                   rfb, stress("s11"), stress("s12"), strength("xt11"), strength("xc11"), strength("x12"));
TAVRIN_ROUTINE_DOC(fbhashin, FBHashin, "Hashin fibre effort with weighted longitudinal shears" TAVRIN_EFFORT_AS_LAMBDA,
                   rfb, stress("s11"), stress("s12"), stress("s13"), strength("xt11"), strength("xc11"),
                   strength("x12"), strength("x13"), in(Real, "alpha").opt("1.0").describe("weight of the shear terms"));
TAVRIN_ROUTINE_DOC(fbchristensen, FBChristensen,
                   "Christensen fibre effort, the inverse load factor of its quadratic" TAVRIN_EFFORT_AS_LAMBDA,
                   rfb, stress("s11"), stress("s22"), stress("s33"), strength("xt11"), strength("xc11"));
TAVRIN_ROUTINE_DOC(fbbahei, FBBahei,
                   "Bahei-El-Din fibre effort: the largest of fibre tension, longitudinal shear, transverse shear and transverse normal modes"
                   TAVRIN_EFFORT_NOT_PROPORTIONAL(
                       "every mode grows as λ, but the fibre-tension mode alone counts once s11 exceeds xlnorm"),
                   rfb, in(Real, "stressvector", "nstress").describe(
                            "stress (MPa): 3 components (11, 22, 12), 4 (11, 22, 33, 12) or 6 (11, 22, 33, 12, 13, 23)"),
                   strength("xlnorm"), strength("xtnorm"), strength("xlshear"), strength("xtshear"),
                   in(Real, "mu").describe("friction coefficient of the shear modes"),
                   in(Int, "nstress").opt("len(stressvector)").describe("3, 4 or 6 (more: the first six)"),
                   failmode);

#undef FB_STRESSES
}  // namespace
}  // namespace tavrin::bind
