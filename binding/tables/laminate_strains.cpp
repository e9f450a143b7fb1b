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
TAVRIN_ROUTINE_DOC(getsectionzcoord, GetSectionZCoord,
                   "The section z table: bottom and middle of every ply and the top face of every section.",
                   out(Real, "plyzcoord", "2*nplies+1,nsec").describe(
                       "per section (column), row 2k-1 the bottom and row 2k the middle of ply k, row 2n+1 "
                       "the top face of its n plies, z from the section's own mid-plane; rows beyond are 0"),
                   sectionlist, section_thickness, section_nplies, section_nsec, defint);
TAVRIN_ROUTINE_DOC(getplystrain, GetPlyStrain,
                   "Laminate strains eps0 + z kappa at given heights, in laminate axes.",
                   out(Real, "plystrain", "3,nzcrd").describe(
                       "one column per height: eps11, eps22 and engineering shear gamma12, in laminate axes"),
                   in(Real, "se", "6").describe("mid-plane strains eps11, eps22, gamma12 (engineering), then "
                                                "curvatures kappa11, kappa22, kappa12"),
                   in(Real, "plyzcoord", "nzcrd").describe("the heights z, from the mid-plane"),
                   in(Int, "nzcrd").opt("len(plyzcoord)").describe("number of heights"));
TAVRIN_ROUTINE_DOC(getsectionstrain, GetSectionStrain,
                   "Strains in ply (material) axes at the bottom, middle and top of every ply of a stack.",
                   out(Real, "plystrain", "3,3*nplies").describe(
                       "eps11, eps22 and engineering shear gamma12 in the axes of each ply (1 along its "
                       "fibres); columns 3k-2, 3k-1, 3k are the bottom, middle and top of ply k"),
                   in(Real, "se", "6").describe("mid-plane strains eps11, eps22, gamma12 (engineering), then "
                                                "curvatures kappa11, kappa22, kappa12, in laminate axes"),
                   plyorientation, plythickness,
                   in(Int, "nplies").opt("len(plyorientation)").describe("number of plies"),
                   in(Real, "reference").opt("0.0").describe(
                       "subtracted from every z (a reference plane other than the mid-plane)"));
TAVRIN_ROUTINE_DOC(getplybottomtopstress, GetPlyBottomTopStress,
                   "Stresses at the bottom and top of every ply, picked from the stresses at the section points."
                   "\n\nA count below 1 is latched (errstat -3) and gives zero." TAVRIN_LAMINATE_LATCH,
                   out(Real, "sbt", "6,2*nplies").describe(
                       "six stress components per column in the order of sestress: column 2p-1 the bottom, "
                       "column 2p the top of ply p"),
                   in(Real, "sestress", "6,nzcrd").describe(
                       "six stress components at every section point, points from the bottom face up"),
                   in(Int, "plysectionpoint", "nplies").describe(
                       "section points of every ply, at least 1; the last point of a ply is its top"),
                   in(Int, "nzcrd").opt("shape(sestress,1)").describe("number of section points"),
                   in(Int, "nplies").opt("len(plysectionpoint)").describe("number of plies"));
TAVRIN_ROUTINE_DOC(getdecoupangle, GetDecoupAngle,
                   "Dominant ply direction of a stack: the angle of the ply group that weighs most in stiffness.",
                   result(Real, "getdecoupangle").describe(
                       "the angle in degrees (0 for no ply); plies at a, a +- 90 and a +- 180 form one group, "
                       "each weighs (Emax - Emin)/Emin t/h Emax/Eref"),
                   plyelastic, plyorientation, plythickness, nplies);
TAVRIN_ROUTINE_DOC(getdangle, GetdAngle,
                   "Angle of a ply less that of the ply below or above it."
                   "\n\nAnother luflag or a ply outside the stack is latched (errstat -3) and gives 0."
                   TAVRIN_LAMINATE_LATCH,
                   result(Real, "getdangle").describe("the difference in degrees; 0 at the bottom or top of the stack"),
                   in(Real, "plyorientation", "nplies").describe("ply angles in degrees, ply 1 at the bottom"),
                   in(Int, "luflag").describe("0: less the ply below; 1: less the ply above"),
                   iply, in(Int, "nplies").opt("len(plyorientation)").describe("number of plies"));

}  // namespace
}  // namespace tavrin::bind
