// Module laminate: stiffness integrated from the bottom face up to a height,
// curved-shell combinations and the partial F/G functions.
#include "engine/descriptor.hpp"
#include "mechanics/partial_integrals.hpp"
#include "tables/laminate_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace laminate_args;

constexpr Arg plyprops = in(Real, "plyprops", "nprops,nplies").describe(
    "properties of every ply, one column per ply: rows 1-9 the elastic constants E1, E2, E3, nu12, "
    "nu13, nu23, G12, G13, G23, rows 10 and 11 the expansion coefficients alpha1, alpha2");
constexpr Arg plysectionpoint = in(Int, "plysectionpoint", "nplies").describe(
    "points per ply after the bottom face: entry 1 of the z table is the bottom face, then ply 1 owns "
    "the next plysectionpoint(1) entries, the last one its top");
constexpr Arg point_z = in(Real, "plyzcoord", "nzcrd").describe("the point table: heights z from the mid-plane, bottom face first");
constexpr Arg nzcrd_of_z = in(Int, "nzcrd").opt("len(plyzcoord)").describe("number of points");
constexpr Arg nplies_of_props = in(Int, "nplies").opt("shape(plyprops,1)").describe("number of plies");
constexpr Arg nprops = in(Int, "nprops").opt("shape(plyprops,0)").describe("properties per ply, at least 9 (thermal: 11)");
constexpr Arg curvature_i = in(Real, "ki").describe("shell curvature along i (1/length)");
constexpr Arg curvature_j = in(Real, "kj").describe("shell curvature along j (1/length)");

TAVRIN_BINDING_MODULE(laminate, laminate_doc);
TAVRIN_ROUTINE_DOC(getpartialamatrix, GetPartialAMatrix,
                   "Partial membrane stiffness: the integral of Qbar dz from the bottom face up to a height."
                   "\n\nA ply outside 1..nplies raises _tavrin.error before the call.",
                   out(Real, "aprt", "3,3").describe("partial A at zcrd, order 11, 22, 12"), plyelastic,
                   plyorientation, plythickness, in(Real, "zcrd").describe("the height z, from the mid-plane"),
                   iply.describe("the ply zcrd lies in, counted from 1 at the bottom"), nplies);
TAVRIN_ROUTINE_DOC(getpartialbmatrix, GetPartialBMatrix,
                   "Partial coupling stiffness: the integral of Qbar z dz from the bottom face up to a height."
                   "\n\nA ply outside 1..nplies raises _tavrin.error before the call.",
                   out(Real, "bprt", "3,3").describe("partial B at zcrd, order 11, 22, 12"), plyelastic,
                   plyorientation, plythickness, in(Real, "zcrd").describe("the height z, from the mid-plane"),
                   iply.describe("the ply zcrd lies in, counted from 1 at the bottom"), nplies);
TAVRIN_ROUTINE_DOC(getarbitrarylaminateintegral, GetArbitraryLaminateIntegral,
                   "Laminate integrals I_e(z) = integral of X z^(e-1) dz from the bottom face to every point of a table."
                   "\n\nX is Qbar or, in the thermal variant, Qbar.alpha.  An exponent below 1, too few "
                   "properties or counts that do not fit the table are latched (errstat -3) and give zero."
                   TAVRIN_LAMINATE_LATCH,
                   out(Real, "xint", "3,3-2*(thflag==1),nzcrd").describe(
                       "I_expo at every point: 3x3 (order 11, 22, 12), or 3x1 in the thermal variant"),
                   in(Int, "expo").describe("the exponent e, at least 1 (1: A, 2: B, 3: D)"), plyprops,
                   plyorientation, point_z, plysectionpoint, nzcrd_of_z, nplies_of_props, nprops,
                   in(Int, "thflag").opt("0").describe("1: the thermal variant, one column per point"));
TAVRIN_ROUTINE_DOC(getpartialabwithcurvature, laminate::getpartialabwithcurvature,
                   "Curvature combination P = p0 - (ki + kj) p1 + ki kj p2 of three partial-stiffness tables.",
                   out(Real, "pij", "3,pdim,nzcrd").describe("P, entry by entry"),
                   in(Real, "p0", "3,pdim,nzcrd").describe("the table taken as it is"),
                   in(Real, "p1", "3,pdim,nzcrd").describe("the table weighted by -(ki + kj)"),
                   in(Real, "p2", "3,pdim,nzcrd").describe("the table weighted by ki kj"),
                   curvature_i, curvature_j,
                   in(Int, "pdim").opt("shape(p0,1)").describe("columns per point: 3, or 1 in the thermal variant"),
                   in(Int, "nzcrd").opt("shape(p0,2)").describe("number of points"));
TAVRIN_ROUTINE_DOC(getpartialcdwithcurvature, GetPartialCDwithCurvature,
                   "Curved-shell C or D integral of a curvature combination through the point table."
                   "\n\nAnother ndim, too few properties or counts that do not fit the table are latched "
                   "(errstat -3) and give zero." TAVRIN_LAMINATE_LATCH,
                   out(Real, "xij", "3,ndim,nzcrd").describe("the integral at every point, order 11, 22, 12"),
                   in(Real, "pij", "3,ndim,nzcrd").describe("the curvature combination (getpartialabwithcurvature)"),
                   plyprops, plyorientation, point_z, plysectionpoint, curvature_i, curvature_j,
                   in(Int, "ndim").opt("shape(pij,1)").describe("1: the thermal variant; 3: the stiffness"),
                   in(Int, "nzcrd").opt("shape(pij,2)").describe("number of points"), nplies_of_props, nprops,
                   in(Int, "cdflag").describe("1: the D form; other: the C form"));
TAVRIN_ROUTINE_DOC(getpartialfg, GetPartialFG,
                   "Shear stress functions F = p1.tstar1 - p2.tstar2 at every point of a table.",
                   out(Real, "fg", "3,3,nzcrd").describe("F (or its negative) at every point"),
                   in(Real, "p1", "3,3,nzcrd").describe("the first partial-stiffness table"),
                   in(Real, "p2", "3,3,nzcrd").describe("the second partial-stiffness table"),
                   in(Real, "tstar1", "3,3").describe("the factor of p1 (e.g. B*)"),
                   in(Real, "tstar2", "3,3").describe("the factor of p2 (e.g. D*)"),
                   in(Int, "nzcrd").opt("shape(p1,2)").describe("number of points"),
                   in(Int, "fgflag").describe("> 0: p1.tstar1 - p2.tstar2; other: its negative"));

}  // namespace
}  // namespace tavrin::bind
