// Module laminate: stiffness integrated from the bottom face up to a height,
// curved-shell combinations and the partial F/G functions.
#include "engine/descriptor.hpp"
#include "mechanics/partial_integrals.hpp"
#include "tables/laminate_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace laminate_args;

constexpr Arg plyprops = in(Real, "plyprops", "nprops,nplies").describe("rows 1-9 the elastic constants, "
                                                                        "10 and 11 the expansion coefficients");
constexpr Arg plysectionpoint = in(Int, "plysectionpoint", "nplies").describe("points per ply after the bottom face");

TAVRIN_BINDING_MODULE(laminate, laminate_doc);
TAVRIN_ROUTINE(getpartialamatrix, GetPartialAMatrix, out(Real, "aprt", "3,3"), plyelastic,
               plyorientation, plythickness, in(Real, "zcrd"), iply, nplies);
TAVRIN_ROUTINE(getpartialbmatrix, GetPartialBMatrix, out(Real, "bprt", "3,3"), plyelastic,
               plyorientation, plythickness, in(Real, "zcrd"), iply, nplies);
TAVRIN_ROUTINE(getarbitrarylaminateintegral, GetArbitraryLaminateIntegral,
               out(Real, "xint", "3,3-2*(thflag==1),nzcrd"), in(Int, "expo").describe("at least 1"), plyprops,
               plyorientation, in(Real, "plyzcoord", "nzcrd"), plysectionpoint,
               in(Int, "nzcrd").opt("len(plyzcoord)"), in(Int, "nplies").opt("shape(plyprops,1)"),
               in(Int, "nprops").opt("shape(plyprops,0)"),
               in(Int, "thflag").opt("0").describe("1: the thermal variant, one column per point"));
TAVRIN_ROUTINE(getpartialabwithcurvature, laminate::getpartialabwithcurvature,
               out(Real, "pij", "3,pdim,nzcrd"), in(Real, "p0", "3,pdim,nzcrd"),
               in(Real, "p1", "3,pdim,nzcrd"), in(Real, "p2", "3,pdim,nzcrd"), in(Real, "ki"),
               in(Real, "kj"), in(Int, "pdim").opt("shape(p0,1)"), in(Int, "nzcrd").opt("shape(p0,2)"));
TAVRIN_ROUTINE(getpartialcdwithcurvature, GetPartialCDwithCurvature, out(Real, "xij", "3,ndim,nzcrd"),
               in(Real, "pij", "3,ndim,nzcrd"), plyprops, plyorientation, in(Real, "plyzcoord", "nzcrd"),
               plysectionpoint, in(Real, "ki"), in(Real, "kj"),
               in(Int, "ndim").opt("shape(pij,1)").describe("1: the thermal variant; 3: the stiffness"),
               in(Int, "nzcrd").opt("shape(pij,2)"), in(Int, "nplies").opt("shape(plyprops,1)"),
               in(Int, "nprops").opt("shape(plyprops,0)"),
               in(Int, "cdflag").describe("1: the D form; other: the C form"));
TAVRIN_ROUTINE(getpartialfg, GetPartialFG, out(Real, "fg", "3,3,nzcrd"), in(Real, "p1", "3,3,nzcrd"),
               in(Real, "p2", "3,3,nzcrd"), in(Real, "tstar1", "3,3"), in(Real, "tstar2", "3,3"),
               in(Int, "nzcrd").opt("shape(p1,2)"),
               in(Int, "fgflag").describe("> 0: p1·tstar1 - p2·tstar2; other: its negative"));

}  // namespace
}  // namespace tavrin::bind
