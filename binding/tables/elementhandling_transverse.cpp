// Module elementhandling, transverse: σ33 and the transverse shear stresses
// of a shell element recovered from its nodal motion.
#include "elements/transverse_stresses.hpp"
#include "engine/descriptor.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

constexpr const char* section_doc = "section tables, ply by section";

TAVRIN_BINDING_MODULE(elementhandling, "element kinds, kinematics and 3-D to element layouts");
TAVRIN_ROUTINE_DOC(
    getshelltransversestresses, GetShellTransverseStresses,
    "transverse normal and shear stresses of a shell element at an integration point",
    inout(Real, "tnormalstress", "nzcoord,nelem")
        .describe("σ33 at the bottom, middle and top of every ply; a column with a non-zero value is kept"),
    inout(Real, "tshearstress", "nintpoint,2,4,nelem")
        .describe("(section point, 23 or 13 shear, integration point, element); a non-zero point is kept"),
    in(Real, "nodalcoords", "3,nnodes,nelem").describe("node coordinates in each element's local frame"),
    in(Real, "nodesmotion", "ndof,nnodes,nelem").describe("u, v, w, θx, θy, ... of each element node"),
    in(Real, "sestress", "6,nintpoint,4,nelem").describe("section-point stresses, solver order, 4 sets"),
    in(Real, "sehmatrix", "2,2,nsec").describe("transverse shear stiffness, rows and columns 23, 13"),
    in(Real, "sefmatrix", "nzcoord,4,nsec").describe("small-f tables of the sections"),
    in(Real, "plyorientation", "nplies,nsec").describe("ply angles in degrees, ply by section"),
    in(Real, "plythickness", "nplies,nsec").describe(section_doc),
    in(Real, "plyzcoord", "nzcoord,nsec").describe("bottom, middle, top heights of every ply"),
    in(Real, "plyelastic", "9,nplies,nsec").describe("nine elastic constants of every ply"),
    in(Int, "elemsectionpoints", "nelem").describe("section points per ply of each element"),
    in(Real, "elemcurvatures", "2,nelem").describe("principal curvatures of each element"),
    in(Int, "elemkind", "nelem").describe("element kind codes"),
    in(Int, "sectionlist", "nplies,nsec").describe("material of every ply; 2147483647 no ply"),
    in(Int, "elemid").describe("element row, from 1"),
    in(Int, "gpid").describe("integration point, from 1 (4 on quadrilaterals, 3 on triangles)"),
    in(Int, "secid").describe("section column, from 1"),
    in(Int, "itnsflag").describe("0: no σ33; 2: shear-force derivatives at the centre of an 8-node element"),
    in(Int, "itshrflag").describe("0: no transverse shear stresses"),
    in(Int, "nplies").opt("shape(plyorientation,0)").describe("plies per section"),
    in(Int, "nsec").opt("shape(plyorientation,1)").describe("number of sections"),
    in(Int, "nzcoord").opt("shape(plyzcoord,0)").describe("heights per section: bottom, middle, top of every ply"),
    in(Int, "nintpoint").opt("shape(tshearstress,0)").describe("section points per integration point"),
    in(Int, "ndof").opt("shape(nodesmotion,0)").describe("degrees of freedom per node"),
    in(Int, "nnodes").opt("shape(nodesmotion,1)").describe("nodes per element"),
    in(Int, "nelem").opt("shape(nodesmotion,2)").describe("number of elements"));

}  // namespace
}  // namespace tavrin::bind
