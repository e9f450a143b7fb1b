// Module laminate: section z tables, ply strains, ply bottom and top
// stresses, the dominant ply direction and ply angle differences.
#include "engine/descriptor.hpp"
#include "mechanics/ply_strains.hpp"
#include "tables/laminate_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace laminate_args;

TAVRIN_BINDING_MODULE(laminate, laminate_doc);
TAVRIN_ROUTINE(getsectionzcoord, GetSectionZCoord, out(Real, "plyzcoord", "2*nplies+1,nsec"),
               sectionlist, section_thickness, section_nplies, section_nsec, defint);
TAVRIN_ROUTINE(getplystrain, GetPlyStrain, out(Real, "plystrain", "3,nzcrd"),
               in(Real, "se", "6").describe("mid-plane strains, then curvatures"),
               in(Real, "plyzcoord", "nzcrd"), in(Int, "nzcrd").opt("len(plyzcoord)"));
TAVRIN_ROUTINE(getsectionstrain, GetSectionStrain, out(Real, "plystrain", "3,3*nplies"),
               in(Real, "se", "6").describe("mid-plane strains, then curvatures"), plyorientation,
               in(Real, "plythickness", "nplies"), in(Int, "nplies").opt("len(plyorientation)"),
               in(Real, "reference").opt("0.0").describe("subtracted from every z"));
TAVRIN_ROUTINE(getplybottomtopstress, GetPlyBottomTopStress, out(Real, "sbt", "6,2*nplies"),
               in(Real, "sestress", "6,nzcrd"),
               in(Int, "plysectionpoint", "nplies").describe("section points per ply, at least 1"),
               in(Int, "nzcrd").opt("shape(sestress,1)"), in(Int, "nplies").opt("len(plysectionpoint)"));
TAVRIN_ROUTINE(getdecoupangle, GetDecoupAngle, result(Real, "getdecoupangle"), plyelastic,
               plyorientation, plythickness, nplies);
TAVRIN_ROUTINE(getdangle, GetdAngle, result(Real, "getdangle"), in(Real, "plyorientation", "nplies"),
               in(Int, "luflag").describe("0: less the ply below; 1: less the ply above"), iply,
               in(Int, "nplies").opt("len(plyorientation)"));

}  // namespace
}  // namespace tavrin::bind
