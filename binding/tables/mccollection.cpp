// Module mccollection: matrix-cracking criteria (fracture-plane searches,
// Cuntze's invariant criteria, closed forms).
#include "engine/descriptor.hpp"
#include "failure/mccollection.hpp"
#include "tables/failure_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace failure_args;

constexpr Arg rmc = effort("rmc");
#define MC_TRANSVERSE stress("s22"), stress("s33"), stress("s12"), stress("s13"), stress("s23")

TAVRIN_BINDING_MODULE(mccollection,
                      "matrix-cracking criteria.\n\n"
                      "Matrix-cracking (inter-fibre) efforts of a ply (1.0 at failure): fracture-plane searches (LaRC05, LaRC04, Puck, VDI 2014, SPC3D, Camanho, Wiegand), Cuntze's invariant criteria and closed forms.  Stresses in the ply axes 1 fibre, 2 transverse, 3 thickness, in MPa; strengths positive magnitudes (MPa).  Search bounds and steps are in degrees, the fracture angle returned in outtheta in radians; modes in failmode are counted from 1.  The searched fracture plane contains the fibre axis; its angle θ turns about it from the ply's own plane (θ = 0°) to the plane normal to direction 2 (θ = 90°), so transverse tension cracks at 90°, and the classical angles quoted from the plane normal to direction 2 (a0, 53° under pure transverse compression) are 90° minus θ.  Sampling the angle (gsflag 0, the default here) is the conservative choice: golden-section search (gsflag 1) can settle on a secondary maximum and report an effort far below the largest.  Efforts of different criteria are not margins: some grow in proportion to the stresses, LaRC05's about as their square (each routine says how its effort grows when every stress is scaled by λ).");
TAVRIN_ROUTINE_DOC(mcrcklarc05, MCrckLaRC05,
                   "LaRC05 matrix effort, the largest over the fracture-plane angle" TAVRIN_FRACTURE_PLANE
                   "  Pure transverse compression reaching xc22 cracks at θ = 90° - a0 (37° for a0 = 53°), or on "
                   "the mirror plane 90° + a0 (143°), which carries the same effort."
                   TAVRIN_SEARCH_MODES("f(θ)")
                   TAVRIN_EFFORT_NOT_PROPORTIONAL(
                       "about as λ², a sum of squared traction ratios whose friction terms η·σn make it grow "
                       "more slowly where the fracture plane is compressed and faster where it is in tension; "
                       "doubling a shear stress alone quadruples it"),
                   rmc, MC_TRANSVERSE, strength("xt22"), strength("xc22"), strength("x12"), a0, outtheta,
                   sainc, gsflag);
TAVRIN_ROUTINE_DOC(mcrcklarc04, MCrckLaRC04,
                   "LaRC04 matrix effort: closed form in transverse tension, fracture-plane search (in the kink frame under fibre compression) otherwise"
                   TAVRIN_FRACTURE_PLANE
                   "  Pure transverse compression reaching xc22 cracks at θ = 90° - a0 (37° for a0 = 53°), or on "
                   "a mirror plane carrying the same effort (143°; -37° and -143° too where the search runs from "
                   "-180° to 180°, with s11 ≥ xc22, so outtheta can come back negative)."
                   TAVRIN_SEARCH_MODES("f(θ)")
                   TAVRIN_EFFORT_NOT_PROPORTIONAL(
                       "in transverse tension terms in λ and λ² mixed; in compression about as λ², with friction "
                       "terms as in LaRC05 and, for s11 < xc22, a kink frame that turns with the stress level"),
                   rmc, stress("s11"), MC_TRANSVERSE, strength("xt11"), strength("xc11"), strength("xt22"),
                   strength("xc22"), strength("x12"), modulus("e11"), modulus("e22"), modulus("g12"),
                   modulus("nu12"), gc, a0, outtheta, sainc, fcl, gsflag);
TAVRIN_ROUTINE_DOC(mcrckvdi2014, MCrckVDI2014,
                   "VDI 2014 (Puck) matrix effort over the fracture-plane angle, weakened by the fibre-parallel stress"
                   TAVRIN_FRACTURE_PLANE TAVRIN_SEARCH_MODES("f(θ)") TAVRIN_EFFORT_AS_LAMBDA,
                   rmc, stress("s11"), MC_TRANSVERSE, strength("xt11"), strength("xc11"), strength("xt22"),
                   strength("xc22"), strength("x12"), outtheta,
                   in(Real, "gp", "4").opt("[0.3, 0.3, 0.25, 0.25]").describe(
                       "inclination parameters (p⊥∥ tension, p⊥∥ compression, p⊥⊥ tension, p⊥⊥ compression)"),
                   in(Real, "wp", "2").opt("[0.5, 0.5]").describe("weakening parameters (s, m)"), sainc, gsflag);
TAVRIN_ROUTINE_DOC(mcrckspc3d, MCrckSPC3D,
                   "SPC3D matrix effort of an orthotropic ply over the fracture-plane angle" TAVRIN_FRACTURE_PLANE
                   TAVRIN_SEARCH_MODES("f(θ)")
                   "  Its f(θ) has kinks (|sin 2θ|) and often peaks at exactly θ = 90°, which the default grid "
                   "2°, 7°, ..., 177° never samples: it then reports a low effort (by up to a third on random "
                   "3-D stress states).  Give salims and sainc whose grid holds 90°, e.g. salims (0.0, 180.0)."
                   TAVRIN_EFFORT_AS_LAMBDA,
                   rmc, MC_TRANSVERSE, strength("xt11"), strength("xc11"), strength("xt22"), strength("xc22"),
                   strength("xt33"), strength("xc33"), strength("xt12"), strength("xt13"), strength("xt23"),
                   in(Real, "xcs", "3").absent().describe(
                       "shear strengths under compression 12, 13, 23 (MPa); absent: (xt12, xt13, xt23)"),
                   outtheta,
                   in(Real, "gp", "2").opt("[0.3, -0.3]").describe("friction parameters (tension, compression)"),
                   sainc, in(Real, "salims", "2").opt("[2.0, 178.0]").describe("bounds of the searched angle (degrees)"),
                   gsflag);
TAVRIN_ROUTINE_DOC(mcrckcamanho, MCrckCamanho,
                   "Camanho's matrix effort over the fracture-plane angle" TAVRIN_FRACTURE_PLANE
                   TAVRIN_SEARCH_MODES("f(θ)")
                   TAVRIN_EFFORT_NOT_PROPORTIONAL(
                       "it grows more slowly than λ: friction terms η·σn in its denominators and, under a "
                       "tensile normal traction, a term linear in σn inside the root"),
                   rmc, MC_TRANSVERSE, strength("xt22"), strength("xc22"), strength("x12"), strength("x23"),
                   outtheta, a0, sainc, gsflag);
TAVRIN_ROUTINE_DOC(mcrckwiegand, MCrckWiegand,
                   "Wiegand's matrix effort over the fracture-plane angle" TAVRIN_FRACTURE_PLANE
                   TAVRIN_SEARCH_MODES("f(θ)")
                   TAVRIN_EFFORT_NOT_PROPORTIONAL(
                       "about as λ, more slowly where the fracture plane is compressed and faster where it is in "
                       "tension, through the friction terms η·σn in its denominators")
                   "\n\nUnder pure transverse compression the effort reaches 1 at s22 = -0.869·xc22 with a0 = "
                   "53° (-174 MPa for xc22 = 200), not at -xc22, whatever xt22 and x12.",
                   rmc, MC_TRANSVERSE, strength("xt22"), strength("xc22"), strength("x12"), outtheta, a0,
                   sainc, gsflag);
TAVRIN_ROUTINE_DOC(mcrckpuck, MCrckPuck,
                   "Puck's inter-fibre effort, the largest over the fracture-plane angle" TAVRIN_FRACTURE_PLANE
                   TAVRIN_SEARCH_MODES("f(θ)") TAVRIN_EFFORT_AS_LAMBDA,
                   rmc, MC_TRANSVERSE, strength("xt22"), strength("xc22"), strength("x12"), outtheta, puck_gp,
                   sainc, gsflag,
                   inout(Int, "tcflag").opt("0").describe(
                       "at failure: -1 compression, +1 tension on the reported fracture plane; else unchanged"));
TAVRIN_ROUTINE_DOC(mcrckcuntze2012, MCrckCuntze2012,
                   "Cuntze's 2012 invariant-based inter-fibre effort"
                   TAVRIN_EFFORT_NOT_PROPORTIONAL(
                       "the normal-stress modes grow as λ, the shear mode between λ^0.5 and λ^1.5 through its "
                       "b⊥∥·I23 term"),
                   rmc, MC_TRANSVERSE, strength("xt22"), strength("xc22"), strength("x12"),
                   in(Real, "gp", "2").opt("[0.16, 1.16]").describe("friction parameters (b⊥∥, b⊥)"),
                   in(Real, "mint").opt("2.4").describe("interaction exponent of the mode efforts"));
TAVRIN_ROUTINE_DOC(mcrckcuntze2004, MCrckCuntze2004,
                   "Cuntze's 2004 invariant-based inter-fibre effort"
                   TAVRIN_EFFORT_NOT_PROPORTIONAL(
                       "each mode effort grows as λ, but a negative one counts as 0.01 at every load"),
                   rmc, MC_TRANSVERSE, strength("xt22"), strength("xc22"), strength("x12"), strength("x13"),
                   in(Real, "gp", "3").opt("[0.13, 1.5, 0.4]").describe("friction parameters (b⊥∥, b⊥, b⊥τ)"),
                   in(Real, "mint").opt("2.5").describe("interaction exponent of the mode efforts"));
TAVRIN_ROUTINE_DOC(mcrckchangchang, MCrckChangChang,
                   "Chang-Chang matrix effort |s22|/Y + (s12/x12)²"
                   TAVRIN_EFFORT_NOT_PROPORTIONAL("the normal term grows as λ, the shear term as λ²"),
                   rmc, stress("s22"), stress("s12"), strength("xt22"), strength("xc22"), strength("x12"));
TAVRIN_ROUTINE_DOC(mcrckchai, MCrckChai, "Chai's quadratic matrix effort" TAVRIN_EFFORT_AS_LAMBDA,
                   rmc, stress("s22"), stress("s12"), stress("s23"), strength("xt22"), strength("xc22"),
                   strength("x12"), strength("x23"), in(Real, "dang").opt("0.0").describe("ply angle (degrees); not used"));
TAVRIN_ROUTINE_DOC(mcrckchristensen, MCrckChristensen,
                   "Christensen's matrix effort, the inverse load factor of its quadratic" TAVRIN_EFFORT_AS_LAMBDA,
                   rmc, MC_TRANSVERSE, strength("xt22"), strength("xc22"), strength("xt33"), strength("xc33"),
                   strength("x12"), strength("x13"), strength("x23"));
TAVRIN_ROUTINE_DOC(mcrckhashin1989, MCrckHashin1989,
                   "Hashin's 1980s matrix effort of an orthotropic ply" TAVRIN_EFFORT_AS_LAMBDA,
                   rmc, MC_TRANSVERSE, strength("xt22"), strength("xc22"), strength("xt33"), strength("xc33"),
                   strength("x12"), strength("x13"), strength("x23"));
TAVRIN_ROUTINE_DOC(mcrckhashincomplete, MCrckHashinComplete,
                   "Hashin's matrix effort of a transversely isotropic ply" TAVRIN_EFFORT_AS_LAMBDA,
                   rmc, MC_TRANSVERSE, strength("xt22"), strength("xc22"), strength("x12"), strength("x23"));
TAVRIN_ROUTINE_DOC(mcrckhashin3d, MCrckHashin3D, "Hashin's matrix effort without s33" TAVRIN_EFFORT_AS_LAMBDA,
                   rmc, stress("s22"), stress("s12"), stress("s13"), stress("s23"), strength("xt22"),
                   strength("xc22"), strength("x12"), strength("x23"));
TAVRIN_ROUTINE_DOC(mcrckhashinps, MCrckHashinPS, "Hashin's matrix effort in plane stress" TAVRIN_EFFORT_AS_LAMBDA,
                   rmc, stress("s22"), stress("s12"), strength("xt22"), strength("xc22"), strength("x12"),
                   strength("x23"));
TAVRIN_ROUTINE_DOC(mcrckbahei, MCrckBahei,
                   "Bahei-El-Din matrix effort: von Mises matrix mode, or interphase shear and opening"
                   "\n\nEffort under stresses scaled by λ: without an interphase it grows as λ² (the matrix mode "
                   "is a sum of squared ratios, no root), so 1/√effort is the load factor at failure; with an "
                   "interphase it grows as λ, so 1/effort is.",
                   rmc, in(Real, "stressvector", "nstress").describe(
                            "stress (MPa): 3 components (11, 22, 12), 4 (11, 22, 33, 12) or 6 (11, 22, 33, 12, 13, 23)"),
                   strength("xnorm"), strength("xshear"),
                   in(Int, "nstress").opt("len(stressvector)").describe("3, 4 or 6 (more: the first six)"),
                   in(Real, "interphase", "2").opt("[-1.0, -1.0]").describe(
                       "interphase (strength (MPa), friction coefficient); an entry -1: no interphase"),
                   failmode);

#undef MC_TRANSVERSE
}  // namespace
}  // namespace tavrin::bind
