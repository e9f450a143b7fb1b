// Module gpcollection: general-failure criteria (resin invariants,
// polynomial, interaction and nominal criteria).
#include "engine/descriptor.hpp"
#include "failure/gpcollection.hpp"
#include "tables/failure_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace failure_args;

constexpr Arg stress6 = in(Real, "stress", "6").describe("stress (MPa) in the order 11, 22, 33, 12, 13, 23");
constexpr Arg xt = in(Real, "xt").describe("tensile strength of the resin (MPa)");
constexpr Arg xc = in(Real, "xc").describe("compressive strength of the resin, a positive magnitude (MPa)");
constexpr Arg rgp = effort("rgp");

TAVRIN_BINDING_MODULE(gpcollection,
                      "general-failure criteria.\n\n"
                      "General-failure efforts: isotropic resin criteria on the invariants of a stress 6-vector in the order 11, 22, 33, 12, 13, 23 (Drucker-Prager, Bauwens, Raghava, Ha), polynomial criteria of an orthotropic ply returning the inverse load factor to the surface, and closed-form interaction and nominal criteria (1.0 at failure).  Stresses and strengths in MPa, strengths positive magnitudes; axes 1 fibre, 2 transverse, 3 thickness.  Efforts of different criteria are not margins: each routine says how its effort grows when every stress is scaled by λ.");
TAVRIN_ROUTINE_DOC(gpdruckerprager, GPDruckerPrager,
                   "Drucker-Prager function of a resin fitted to its uniaxial strengths; damage 1 on the surface"
                   "\n\nEffort under stresses scaled by λ: not proportional to a power of λ; there is no graded "
                   "effort: d is 1.0 within one stress unit of the surface, and di1, affine in the stresses, "
                   "vanishes on it.",
                   stress6, xt, xc,
                   inplace(Real, "d").describe("damage in [0, 1]: 1.0 within one stress unit of the surface, a negative value reset to 0"),
                   inplace(Real, "di1").describe("the Drucker-Prager function (MPa), positive inside the surface"));
TAVRIN_ROUTINE_DOC(gpbauwens, GPBauwens,
                   "Bauwens' pressure-modified von Mises effort of a resin, kept as a damage that only grows"
                   "\n\nEffort under stresses scaled by λ: the effort f grows as λ, so 1/f is the load factor at "
                   "failure; d keeps the largest f, at most 1.",
                   stress6, xt, xc, inplace(Real, "d").describe("damage, raised to the effort, at most 1"));
TAVRIN_ROUTINE_DOC(gpraghava, GPRaghava,
                   "Raghava's paraboloidal effort of a resin, kept as a damage in [0, 1] that only grows"
                   TAVRIN_EFFORT_NOT_PROPORTIONAL("its von Mises term grows as λ², its first-invariant term as λ"),
                   stress6, xt, xc, inout(Real, "d").describe("damage, raised to the effort, clamped to [0, 1]"));
TAVRIN_ROUTINE_DOC(gpha, GPHa,
                   "Ha's resin criterion: von Mises and first-invariant efforts against their critical values"
                   TAVRIN_EFFORT_NOT_PROPORTIONAL("dmises grows as λ^np, di1 as λ"),
                   stress6, xt, xc, in(Real, "np").describe("exponent of the von Mises term"),
                   out(Real, "d").describe("dmises + di1 below 1, else 1.0"),
                   out(Real, "di1").describe("I1 over its critical value"),
                   out(Real, "dmises").describe("(von Mises stress / its critical value)^np"),
                   out(Real, "i1cr").describe("critical first invariant (MPa)"),
                   out(Real, "misescr").describe("critical von Mises stress (MPa)"),
                   out(Real, "life").describe("1.0 when the resin fails, else 0.0"));
TAVRIN_ROUTINE_DOC(gppolycamanho, GPPolyCamanho,
                   "Polynomial (quadratic with linear terms) effort of a transversely isotropic ply, the inverse load factor to the surface"
                   TAVRIN_EFFORT_AS_LAMBDA,
                   rgp, stress("s11"), stress("s22"), stress("s33"), stress("s12"), stress("s13"), stress("s23"), strength("xt11"), strength("xc11"),
                   strength("xt22"), strength("xc22"), strength("x12"), strength("x13"), strength("x23"),
                   in(Real, "xint").opt("1.5").describe("interaction coefficient of s11·s22 and s11·s33; none for |xint| > 1"),
                   in(Int, "ptype").opt("0").describe("0: linear terms and tension·compression squares; 1: tension squares, no linear terms; other: as 1 without s33², s13, s23"));
TAVRIN_ROUTINE_DOC(gppolynomial, GPPolynomial,
                   "Polynomial (quadratic with linear terms) effort of an orthotropic ply, the inverse load factor to the surface"
                   TAVRIN_EFFORT_AS_LAMBDA,
                   rgp, stress("s11"), stress("s22"), stress("s33"), stress("s12"), stress("s13"), stress("s23"), strength("xt11"), strength("xc11"),
                   strength("xt22"), strength("xc22"), strength("xt33"), strength("xc33"), strength("x12"), strength("x13"), strength("x23"),
                   in(Real, "xint").opt("0.0").describe("interaction coefficient of the normal-stress products"),
                   in(Int, "ptype").opt("0").describe("0: Tsai-Wu; 1: sign-selected squares, no linear terms; 2: Hoffman-type products; other: no products"));
TAVRIN_ROUTINE_DOC(gpnorrisinteraction, GPNorrisInteraction, "Norris' interaction effort of a ply in plane stress" TAVRIN_EFFORT_AS_LAMBDA,
                   rgp, stress("s11"), stress("s22"), stress("s12"), strength("xt11"), strength("xc11"), strength("xt22"), strength("xc22"), strength("x12"));
TAVRIN_ROUTINE_DOC(gpyamadasuninteraction, GPYamadaSunInteraction, "Yamada-Sun effort of the fibre stress with the longitudinal shears" TAVRIN_EFFORT_AS_LAMBDA,
                   rgp, stress("s11"), stress("s12"), stress("s13"), strength("xt11"), strength("xc11"), strength("x12"), strength("x13"));
TAVRIN_ROUTINE_DOC(gpquadinteraction, GPQuadInteraction, "quadratic interaction effort of a ply in plane stress" TAVRIN_EFFORT_AS_LAMBDA,
                   rgp, stress("s11"), stress("s22"), stress("s12"), strength("xt11"), strength("xc11"), strength("xt22"), strength("xc22"), strength("x12"));
TAVRIN_ROUTINE_DOC(gplininteraction, GPLinInteraction, "linear interaction effort: the absolute sum of the signed stress ratios" TAVRIN_EFFORT_AS_LAMBDA,
                   rgp, stress("s11"), stress("s22"), stress("s12"), strength("xt11"), strength("xc11"), strength("xt22"), strength("xc22"), strength("x12"));
TAVRIN_ROUTINE_DOC(gpquadnominal, GPQuadNominal, "quadratic nominal effort of the fibre stress (tensile strength) with the longitudinal shears" TAVRIN_EFFORT_AS_LAMBDA,
                   rgp, stress("s11"), stress("s12"), stress("s13"), strength("xt11"), strength("x12"), strength("x13"));
TAVRIN_ROUTINE_DOC(gpmaxnominal, GPMaxNominal, "maximum fibre-stress effort |s11/X1|" TAVRIN_EFFORT_AS_LAMBDA,
                   rgp, stress("s11"), strength("xt11"), strength("xc11"));

}  // namespace
}  // namespace tavrin::bind
