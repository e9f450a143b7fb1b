// Module laminate: transverse stresses through the thickness of a section.
#include "engine/descriptor.hpp"
#include "mechanics/stress_recovery.hpp"
#include "tables/laminate_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace laminate_args;

constexpr Arg zcoord = in(Real, "zcoord", "2*nplies+1");
constexpr Arg smallfmatrix = in(Real, "smallfmatrix", "2*nplies+1,4");
constexpr Arg nplies_of_z = in(Int, "nplies").opt("(len(zcoord)-1)/2");

TAVRIN_BINDING_MODULE(laminate, laminate_doc);
TAVRIN_ROUTINE(getintegralofmembranenormalstress, GetIntegralOfMembraneNormalStress,
               out(Real, "sint", "nzcrd"),
               in(Real, "sbt", "2*nplies").describe("bottom and top value of every ply"),
               in(Real, "plyzcoord", "nzcrd"),
               in(Int, "plysectionpoint", "nplies").describe("3 for every ply"), in(Real, "ki"),
               in(Real, "kj"), in(Int, "nzcrd").opt("len(plyzcoord)"), in(Int, "nplies").opt("len(sbt)/2"));
TAVRIN_ROUTINE(getnormalstressfrombottom, GetNormalStressFromBottom, out(Real, "s33", "2*nplies+1"),
               in(Real, "rdx", "2"), in(Real, "rdy", "2"), zcoord, smallfmatrix, nplies_of_z);
TAVRIN_ROUTINE(getnormalstressfromtop, GetNormalStressFromTop, out(Real, "s33", "2*nplies+1"),
               in(Real, "rdx", "2"), in(Real, "rdy", "2"), in(Real, "s33bc"), zcoord, smallfmatrix,
               nplies_of_z);
TAVRIN_ROUTINE(getext2dshearstress, GetExt2DShearStress, out(Real, "xytss", "nplies*nspt,2"),
               in(Real, "r", "2"), plyorientation, smallfmatrix,
               in(Int, "nspt").describe("section points per ply"),
               in(Int, "nplies").opt("len(plyorientation)"));
TAVRIN_ROUTINE(getarbitrarysmallf, GetArbitrarySmallF, out(Real, "afmat", "2,2"), iply,
               in(Real, "zpos"), zcoord, smallfmatrix, nplies_of_z);

}  // namespace
}  // namespace tavrin::bind
