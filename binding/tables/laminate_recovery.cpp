// Module laminate: transverse stresses through the thickness of a section.
#include "engine/descriptor.hpp"
#include "mechanics/stress_recovery.hpp"
#include "tables/laminate_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace laminate_args;

constexpr Arg zcoord = in(Real, "zcoord", "2*nplies+1")
    .describe("one column of the section z table: row 2k-1 the bottom and 2k the middle of ply k, "
              "row 2n+1 the top face; z from the mid-plane");
constexpr Arg smallfmatrix = in(Real, "smallfmatrix", "2*nplies+1,4")
    .describe("f at the rows of zcoord as f11, f21, f12, f22 (getsectionfmatrix)");
constexpr Arg nplies_of_z = in(Int, "nplies").opt("(len(zcoord)-1)/2").describe("number of plies");

TAVRIN_BINDING_MODULE(laminate, laminate_doc);
TAVRIN_ROUTINE_DOC(getintegralofmembranenormalstress, GetIntegralOfMembraneNormalStress,
                   "Curved-shell integral of a membrane stress that is linear in every ply, from the bottom face up."
                   "\n\nA count other than 3 is latched (errstat -3) and gives zero." TAVRIN_LAMINATE_LATCH,
                   out(Real, "sint", "nzcrd").describe(
                       "-ki times the integral of s(1 - kj z) dz over (1 - ki z)(1 - kj z), at every height"),
                   in(Real, "sbt", "2*nplies").describe("bottom and top value of the stress in every ply, ply 1 first"),
                   in(Real, "plyzcoord", "nzcrd").describe("the heights, three per ply from the bottom face up"),
                   in(Int, "plysectionpoint", "nplies").describe("section points per ply: 3 for every ply"),
                   in(Real, "ki").describe("curvature along i (1/length)"),
                   in(Real, "kj").describe("curvature along j (1/length)"),
                   in(Int, "nzcrd").opt("len(plyzcoord)").describe("number of heights"),
                   in(Int, "nplies").opt("len(sbt)/2").describe("number of plies"));
TAVRIN_ROUTINE_DOC(getnormalstressfrombottom, GetNormalStressFromBottom,
                   "Transverse normal stress s33 through a section from equilibrium, zero at the bottom face.",
                   out(Real, "s33", "2*nplies+1").describe("s33 at the rows of the z table (bottom and middle of every ply, top face)"),
                   in(Real, "rdx", "2").describe("x derivatives of the shear forces (R_yz, R_xz)"),
                   in(Real, "rdy", "2").describe("y derivatives of the shear forces (R_yz, R_xz)"),
                   zcoord, smallfmatrix, nplies_of_z);
TAVRIN_ROUTINE_DOC(getnormalstressfromtop, GetNormalStressFromTop,
                   "Transverse normal stress s33 through a section from equilibrium, given at the top face.",
                   out(Real, "s33", "2*nplies+1").describe("s33 at the rows of the z table (bottom and middle of every ply, top face)"),
                   in(Real, "rdx", "2").describe("x derivatives of the shear forces (R_yz, R_xz)"),
                   in(Real, "rdy", "2").describe("y derivatives of the shear forces (R_yz, R_xz)"),
                   in(Real, "s33bc").describe("s33 at the top face"), zcoord, smallfmatrix, nplies_of_z);
TAVRIN_ROUTINE_DOC(getext2dshearstress, GetExt2DShearStress,
                   "Transverse shear stresses f.R at the section points of every ply, turned by the ply angle.",
                   out(Real, "xytss", "nplies*nspt,2").describe(
                       "rows: the nspt points of ply 1, then ply 2, ...; columns tau23, tau13 turned by the ply angle"),
                   in(Real, "r", "2").describe("the shear forces (R_yz, R_xz) (force per length)"),
                   plyorientation, smallfmatrix,
                   in(Int, "nspt").describe("section points per ply (first: bottom row, last: top, others: middle)"),
                   in(Int, "nplies").opt("len(plyorientation)").describe("number of plies"));
TAVRIN_ROUTINE_DOC(getarbitrarysmallf, GetArbitrarySmallF,
                   "The shear stress function f at any height in a ply, interpolated from the ply's three rows."
                   "\n\nA ply outside 1..nplies is latched (errstat -3, zero); a height outside the ply is "
                   "latched (errstat -2) and extrapolated." TAVRIN_LAMINATE_LATCH,
                   out(Real, "afmat", "2,2").describe("f at zpos, rows and columns (23, 13)"), iply,
                   in(Real, "zpos").describe("the height z, from the mid-plane"), zcoord, smallfmatrix, nplies_of_z);

}  // namespace
}  // namespace tavrin::bind
