// Module laminate: transverse shear stiffness and the transverse shear
// stress functions of stacks and sections.
#include "engine/descriptor.hpp"
#include "mechanics/shear_stiffness.hpp"
#include "tables/laminate_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace laminate_args;

TAVRIN_BINDING_MODULE(laminate, laminate_doc);

constexpr Arg method = in(Int, "method").opt("1").describe(
    "0: shear-correction factors; 2: four-point quadrature of the partial stiffness; "
    "any other value: improved shear (three-point Gauss rule per ply)");

TAVRIN_ROUTINE_DOC(getsmallfmatrix, GetSmallFMatrix,
                   "The 2x2 transverse shear stress function f at a height: (tau23, tau13) = f.(R_yz, R_xz)."
                   "\n\nA ply outside 1..nplies raises _tavrin.error before the call.",
                   out(Real, "smallf", "2,2").describe("f at zcrd, rows and columns (23, 13), per unit shear force"),
                   plyelastic, plyorientation, plythickness, in(Real, "zcrd").describe("the height z, from the mid-plane"),
                   in(Real, "fa", "3,3").describe("the factor A^-1 B Dtilde^-1 of the stack"),
                   in(Real, "fb", "3,3").describe("the factor Dtilde^-1 of the stack"),
                   iply.describe("the ply zcrd lies in, counted from 1 at the bottom"), nplies);
TAVRIN_ROUTINE_DOC(getsectionfmatrix, GetSectionFMatrix,
                   "Transverse shear stress functions f at the rows of the section z tables of every section.",
                   out(Real, "plysmallf", "2*nplies+1,4,nsec").describe(
                       "per row of the z table and section, f as f11, f21, f12, f22 (rows and columns 23, 13); "
                       "undefined sections and sections without elastic constants stay zero"),
                   sectionlist, section_orientation, section_thickness, section_z, section_elastic,
                   section_nplies, section_nsec, defint);
TAVRIN_ROUTINE_DOC(gethmatriximprovedshear, GetHMatrixImprovedShear,
                   "Transverse shear stiffness H of a stack from the shear stress functions (improved shear).",
                   out(Real, "hext2d", "2,2").describe("H, rows and columns (23, 13) (force per length); "
                                                       "5/6 G h for a homogeneous plate"),
                   plyelastic, plyorientation, plythickness, nplies);
TAVRIN_ROUTINE_DOC(gethmatrixquadrature, GetHMatrixQuadrature,
                   "Transverse shear stiffness H of a stack by four-point quadrature of the partial stiffness.",
                   out(Real, "hquad", "2,2").describe("H, rows and columns (23, 13) (force per length)"),
                   plyelastic, plyorientation, plythickness, nplies);
TAVRIN_ROUTINE_DOC(getshearcorrectfactors, GetShearCorrectFactors,
                   "Shear-correction factors of a stack for its plain transverse shear stiffness.",
                   out(Real, "sk", "2").describe("k for the directions 23 and 13 (dimensionless); (1, 1) for a "
                                                 "laminate without bending stiffness"),
                   in(Real, "hlam", "2,2").describe("the plain shear stiffness sum of C_k t_k, rows and columns (23, 13)"),
                   plyelastic, plyorientation, plythickness, nplies);
TAVRIN_ROUTINE_DOC(gethmatrixshearcorrect, GetHMatrixShearCorrect,
                   "Transverse shear stiffness H(i,j) = sqrt(k_i k_j) sum of C_k t_k with shear-correction factors.",
                   out(Real, "hshear", "2,2").describe("H, rows and columns (23, 13) (force per length)"),
                   plyelastic, plyorientation, plythickness, nplies);
TAVRIN_ROUTINE_DOC(getsectionhmatrix, GetSectionHMatrix,
                   "Transverse shear stiffness H of every section, by the method asked for.",
                   out(Real, "sehmatrix", "2,2,nsec").describe("H of every section, rows and columns (23, 13)"),
                   sectionlist, section_orientation, section_thickness, section_elastic, section_nplies,
                   section_nsec, method, defint);
TAVRIN_ROUTINE_DOC(getarbitrarysectionfg, GetArbitrarySectionFG,
                   "F/G shear stress functions of every section of a curved shell at the rows of its z table.",
                   out(Real, "fg", "2*nplies+1,4,nsec").describe(
                       "per row of the z table and section, the four entries f11, f21, f12, f22"),
                   sectionlist, section_orientation, section_thickness, section_z, section_elastic,
                   section_nplies, section_nsec,
                   in(Int, "csflag").describe("0: curved-metric integrals; other: curved-shell combinations"),
                   in(Int, "fgflag").describe("< 1: with A* and B*; other: with B* and D*"),
                   in(Real, "xycurv", "2").opt("[0.0, 0.0]").describe("the shell curvatures k1, k2 (1/length)"),
                   defint);

}  // namespace
}  // namespace tavrin::bind
