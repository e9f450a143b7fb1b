// Module elementhandling, frames: node and element frames of shells,
// curvatures, nodal motion into the element tables and characteristic lengths.
#include "elements/frames.hpp"
#include "engine/descriptor.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

constexpr const char* on_doc = "x, y, z of node i in row i; rows beyond inodes 0";
constexpr Arg on = in(Real, "on", "8,3").describe(on_doc);
constexpr Arg inodes = in(Int, "inodes").describe("nodes of the element: 8 quadrilateral or 6 triangle");
constexpr Arg tdirect = in(Real, "tdirect", "3,3").describe("columns 1, 2 span the element plane");

TAVRIN_BINDING_MODULE(elementhandling, "element kinds, kinematics and 3-D to element layouts");
TAVRIN_ROUTINE_DOC(getnodaltransformation, GetNodalTransformation, "node frames of a shell element",
                   out(Real, "ti", "3,3,8").describe("axes of node k in the columns of ti(:,:,k): two in-plane "
                                                     "axes symmetric about the tangents' bisector, the normal"),
                   on, inodes);
TAVRIN_ROUTINE_DOC(getelementtransformation, GetElementTransformation,
                   "curvature frame, frame origin and principal curvatures of a shell element",
                   out(Real, "tcurv", "3,3").describe("axes in the rows: principal (or reference) direction, "
                                                      "normal × it, normal"),
                   out(Real, "origin", "3").describe("mean of the corners (8 nodes), first node of the longest "
                                                     "corner edge (6 nodes)"),
                   out(Real, "kappa", "2").describe("principal curvatures, larger magnitude first"), on,
                   in(Real, "refdir", "7").describe("reference orientation record: angle in degrees, two "
                                                    "in-plane vectors"),
                   inodes);
TAVRIN_ROUTINE_DOC(getsectionreforientation, GetSectionRefOrientation,
                   "signed angle from r12 to so about nvector",
                   out(Real, "theta").describe("radians in (-π, π]; 0 or π for parallel vectors"),
                   in(Real, "so", "3").describe("the direction whose angle is sought"),
                   in(Real, "nvector", "3").describe("normal fixing the sense: theta > 0 when r12 × so points along it"),
                   in(Real, "r12", "3").describe("reference direction the angle is measured from"));
TAVRIN_ROUTINE_DOC(getnodereferencedata, GetNodeReferenceData,
                   "node and curvature frames, curvatures and local node coordinates of every shell element"
                   "\n\nShared state: reads elementdata.elemkind, nodaldata.nodalcoords and "
                   "elementdata.elemreforientation; writes nodaldata.tnodalmatrices (node frames), "
                   "nodaldata.tcurvmatrices (curvature frames) and elementdata.elemcurvatures of every shell row "
                   "whose 6 or 8 nodes carry coordinates and, unless tflag is 1, turns its nodalcoords into the "
                   "curvature frame.  With one of these tables unset or shaped otherwise it does nothing and "
                   "gives lop 0.",
                   out(Int, "lop").describe("0 done or a table missing; -3 unknown element kind"),
                   in(Int, "tflag").absent().describe("1: node coordinates stay global"));
TAVRIN_ROUTINE_DOC(getnodesmotion, GetNodesMotion,
                   "nodal translations and rotations turned into each element's frames, into nodesmotion"
                   "\n\nShared state: finds the nodes in elementdata.elemnodes (only the rows listed in "
                   "elementdata.elemindices when that is set), turns their motion by nodaldata.tnodalmatrices and "
                   "nodaldata.tcurvmatrices (an element whose frames are all zero keeps the global axes) and writes "
                   "it into nodaldata.nodesmotion(:, k, row), rotations into rows 4 up to nodaldata.ndof.  With "
                   "elemnodes, nodesmotion or the frame tables unset the call does nothing.",
                   in(Real, "ntraction", "3,nblock").describe("translation of each node (columns)"),
                   in(Real, "nrotation", "ndim,nblock").describe("rotation of each node (columns)"),
                   in(Int, "nodeid", "nblock").describe("host node numbers"),
                   in(Int, "ndim").opt("shape(nrotation,0)").describe("rotation components per node, at most 3 used"),
                   in(Int, "nblock").opt("len(nodeid)").describe("number of nodes"),
                   in(Real, "defreal").opt("1.7976931348623157e308")
                       .describe("marker of a missing translation or rotation (all components equal)"));
TAVRIN_ROUTINE_DOC(shelltractiontransformation, ShellTractionTransformation,
                   "translation and rotation of a node turned into the curvature frame",
                   inout(Real, "ntrac", "3").describe("becomes tcurv·ntrac"),
                   inout(Real, "nrot", "ndim").describe("becomes tcurv·(tiᵀ·ti)·nrot"),
                   in(Real, "ti", "3,3").describe("node frame, axes in the columns"),
                   in(Real, "tcurv", "3,3").describe("curvature frame, axes in the rows"),
                   in(Int, "ndim").opt("len(nrot)").describe("rotation components, at most 3 used"));
TAVRIN_ROUTINE_DOC(getcenternodes, GetCenterNodes, "mid-points of the edges of a closed polygon",
                   out(Real, "center", "ndim,npt").describe("center(:,i) between vertices i and i+1 (npt and 1)"),
                   in(Real, "vertices", "ndim,npt").describe("the polygon's vertices in order, one per column"),
                   in(Int, "ndim").opt("shape(vertices,0)").describe("coordinates per vertex"),
                   in(Int, "npt").opt("shape(vertices,1)").describe("number of vertices"));
TAVRIN_ROUTINE_DOC(gethex8elemlength, GetHex8ElemLength, "characteristic lengths of an 8-node brick",
                   out(Real, "elemlength", "3").describe("along the columns of matcos"),
                   in(Real, "matcos", "3,3").describe("direction cosines, one direction per column"),
                   in(Real, "nodalcoord", "3,8").describe("x, y, z of each node (columns)"));
TAVRIN_ROUTINE_DOC(getquad4elemlength, GetQuad4ElemLength, "characteristic lengths of a 4-node quadrilateral",
                   out(Real, "elemlength", "3").describe("edges 1-2, 1-4 and diagonal 1-3, in the plane"), tdirect,
                   in(Real, "nodalcoord", "3,4").describe("x, y, z of each node (columns)"));

}  // namespace
}  // namespace tavrin::bind
