// Module sublaminate: Ritz shape matrices of delaminated regions, the
// buckling strain of one sublaminate and the peeling analysis of a stack.
#include "engine/descriptor.hpp"
#include "failure/sublaminate.hpp"
#include "tables/laminate_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace laminate_args;

constexpr Arg kgtype = in(Int, "kgtype").describe("load component: 1|11 N11, 2|22 N22, 3|33 N12");
constexpr Arg kktype = in(Int, "kktype").describe(
    "bending term: 1|11 D11, 2|22 D22, 3|33 D12+2*D33, 4|16 D13, 5|26 D23");
constexpr Arg kg = out(Real, "kg", "6,6").describe("geometric matrix on the six Ritz coefficients");
constexpr Arg kk = out(Real, "kk", "6,6").describe("stiffness matrix on the six Ritz coefficients");
constexpr Arg dshape = in(Int, "dshape").describe(
    "delamination shape: 0 none, 1 ellipse, 2 rectangle, 3 rectangle-tangent");
constexpr Arg size_a = in(Real, "a").describe("size of the delamination along its first axis");
constexpr Arg size_b = in(Real, "b").describe("size of the delamination along its second axis");
constexpr Arg nglob = in(Real, "nglob", "3").describe(
    "membrane-force ratio N11, N22, N12 in laminate axes (negative: compression)");
constexpr Arg comprstrength_arg = in(Real, "comprstrength").describe("compression strength of the laminate");
constexpr Arg buk_real = out(Real, "bukrealdatalist", "12,nplies-1").describe(
    "per buckled sublaminate (then the remaining stack): eps, nx/comprstrength, nx, da, db, theta, "
    "six mode coefficients");
constexpr Arg buk_int = out(Int, "bukintdatalist", "4,nplies-1").describe(
    "per record: bounding interface, first ply, last ply (1-based), side (0 above, 1 below)");

TAVRIN_BINDING_MODULE(sublaminate,
                      "sublaminate buckling over delaminated regions.\n\n"
                      "Ritz geometric and bending-stiffness matrices of elliptic, rectangular and rectangle-tangent "
                      "delaminations on six mode coefficients, the buckling strain of one sublaminate and the peeling "
                      "analysis of a stack under compression along the laminate 1-axis.  Delamination sizes da, db are "
                      "lengths along the delamination axes, whose angle theta (dangle) is in degrees from the laminate "
                      "1-axis; membrane forces are negative in compression; ply angles are in degrees, ply 1 at the "
                      "bottom; plies, interfaces and damages are counted from 1 (interface k lies above ply k).");
TAVRIN_ROUTINE_DOC(getkgellipse, GetKGEllipse, "Ritz geometric matrix of an elliptic delamination for one load component", kg, kgtype);
TAVRIN_ROUTINE_DOC(getkgrectangle, GetKGRectangle, "Ritz geometric matrix of a rectangular delamination for one load component", kg, kgtype);
TAVRIN_ROUTINE_DOC(getkgrecttang, GetKGRectTang, "Ritz geometric matrix of a rectangle-tangent delamination for one load component", kg, kgtype);
TAVRIN_ROUTINE_DOC(getkkellipse, GetKKEllipse, "Ritz stiffness matrix of an elliptic delamination for one bending term", kk, kktype);
TAVRIN_ROUTINE_DOC(getkkrectangle, GetKKRectangle, "Ritz stiffness matrix of a rectangular delamination for one bending term", kk, kktype);
TAVRIN_ROUTINE_DOC(getkkrecttang, GetKKRectTang, "Ritz stiffness matrix of a rectangle-tangent delamination for one bending term", kk, kktype);
TAVRIN_ROUTINE_DOC(getsubkg, GetSubKG, "geometric matrix of a sublaminate under a membrane-force ratio",
                   out(Real, "subkg", "6,6").describe(
                       "geometric matrix on the six Ritz coefficients: the membrane forces "
                       "abd(1:3,1:3)*abdinv(1:3,1:3)*T*nglob (T turning nglob by dangle into the delamination "
                       "axes; N11 times b/a, N22 times a/b) weight the shape's matrices; zero for dshape 0"),
                   nglob, in(Real, "abd", "6,6").describe("the sublaminate's ABD"),
                   in(Real, "abdinv", "6,6").describe("its inverse"), size_a, size_b,
                   in(Real, "dangle").describe("delamination axis against the laminate 1-axis, degrees"), dshape);
TAVRIN_ROUTINE_DOC(getsubkk, GetSubKK, "bending stiffness matrix of a sublaminate over a delamination",
                   out(Real, "subkk", "6,6").describe(
                       "stiffness matrix on the six Ritz coefficients: the shape's matrices weighted by D11*b/a^3, "
                       "D22*a/b^3, (D12 + 2*D33)/(a*b), D13/a^2, D23/b^2 of dred; zero for dshape 0"),
                   in(Real, "dred", "3,3").describe("reduced bending stiffness D-B*inv(A)*B"),
                   size_a, size_b, dshape);
TAVRIN_ROUTINE_DOC(getsublambucklingstrain, GetSubLamBucklingStrain,
                   "critical strain and membrane force of a sublaminate buckling over a delamination (Ritz model)",
                   out(Real, "eps").describe("critical strain along the laminate 1-axis: nx/Ex, Ex = 1/(h·(ABD⁻¹)11) "
                                             "the sublaminate's membrane modulus at its own ply angles"),
                   out(Real, "nx").describe("critical membrane stress N/h (a stress, not a running force): the "
                                            "buckling multiple of the load ratio nglob divided by the sublaminate "
                                            "thickness h"),
                   out(Real, "eigvec", "6").describe("buckling mode: the Ritz coefficients, unit length"),
                   in(Real, "dsize", "3").describe("da, db, theta (delamination axis, degrees)"), nglob,
                   plyelastic, plyorientation, plythickness, dshape, nplies);
TAVRIN_ROUTINE_DOC(delaminatedbucklinganalysis, DelaminatedBucklingAnalysis,
                   "peeling analysis: the sublaminates that buckle one after another under compression along the 1-axis",
                   out(Real, "epsbuck").describe("strain at which the first sublaminate buckles (0: none)"),
                   buk_real, buk_int, comprstrength_arg, plyelastic, plyorientation, plythickness,
                   in(Real, "plydelamination", "3,nplies-1").describe("per interface (above ply k): da, db, theta in degrees"),
                   in(Int, "plydshape", "nplies-1").describe("per interface: shape code 0..3"),
                   in(Int, "nplies").opt("shape(plyelastic,1)").relation("nplies>=1")
                       .describe("number of plies, at least 1"));
TAVRIN_ROUTINE_DOC(getbukdatafromdds, GetBukDataFromDDS,
                   "peeling analysis of every damage definition and section",
                   out(Real, "bukrealdatalist", "12,nplies-1,ndmg,nsec").describe(
                       "the peeling records per damage and section (0.0 where none)"),
                   out(Int, "bukintdatalist", "4,nplies-1,ndmg,nsec").describe(
                       "interface, first ply, last ply, side per record (-1 where none)"),
                   in(Real, "delamdds", "3,nplies-1,ndmg").describe("per interface and damage: da, db, theta in degrees"),
                   in(Int, "plydshape", "nplies-1,ndmg").describe("per interface and damage: shape code 0..3"),
                   in(Real, "comprstrength", "nsec").describe("compression strength per section"),
                   section_elastic, section_orientation, section_thickness, sectionlist,
                   in(Int, "ndmg").opt("shape(delamdds,2)").describe("number of damage definitions"),
                   section_nplies.relation("nplies>=1"), section_nsec, defint);

}  // namespace
}  // namespace tavrin::bind
