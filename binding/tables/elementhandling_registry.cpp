// Module elementhandling, registry: host element kinds, registration of
// elements and node coordinates, element reference data, truss geometry and
// nodal patches.
#include "elements/element_registry.hpp"
#include "engine/descriptor.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace eh = tavrin::elementhandling;

constexpr const char* list_doc = "number of the registration lists (1 to 3)";
constexpr const char* tdirect_doc = "element directions: columns 1, 2 in the element plane, 3 its normal";
constexpr Arg nodalcoord2 = in(Real, "nodalcoord", "3,2").describe("x, y, z of the two nodes (columns)");
constexpr Arg tolerance = in(Real, "tolerance").opt("1e-10").describe("distance within which points coincide");

TAVRIN_BINDING_MODULE(elementhandling, "element kinds, kinematics and 3-D to element layouts");
TAVRIN_ROUTINE_DOC(getabqelementkind, eh::getabqelementkind,
                   "element kind code of a host element type name",
                   result(Int, "getabqelementkind")
                       .describe("11 C3D, 10 SC8, 9 SC6, 8 STRI, 7 S3, 6 S9R5, 5 S8R5, 4 S8R, 3 S4R5, 2 S4R, "
                                 "1 S4, 0 other S or C names, -1 everything else"),
                   in(Text, "elemtype").describe("host element type name, capitals, any length"));
TAVRIN_ROUTINE_DOC(getabqelementconnectivity, eh::getabqelementconnectivity,
                   "registers a shell or continuum element in the next row of the element tables"
                   "\n\nShared state: writes row iele + 1 of elementdata.elemlist (the number), elementdata.elemkind "
                   "(the kind code) and elementdata.elemnodes (the nodes), tables of elementdata.nelem rows and "
                   "nodaldata.nnodes node columns (datahandling.allocateelementdata); with any of the three unset "
                   "the call does nothing (iele unchanged, nothing latched).",
                   inout(Int, "iele").describe("rows used so far; raised by 1 when the element is registered. "
                                               "iele >= nelem latches status -3, nothing changed"),
                   in(Int, "connectivity", "nconnect").describe("host node numbers of the element"),
                   in(Int, "elemid").describe("host element number"),
                   in(Text, "elemtype").describe("host type name; only S... and C... (not CIN...) register"),
                   in(Int, "nconnect").opt("len(connectivity)")
                       .describe("nodes given; more than nnodes latches status -3, nothing changed"));
TAVRIN_ROUTINE_DOC(getnodalcoordinates, GetNodalCoordinates,
                   "copies node coordinates into every registered element that holds the nodes"
                   "\n\nShared state: finds the nodes in elementdata.elemnodes (only the rows listed in "
                   "elementdata.elemindices when that is set) and writes their coordinates into "
                   "nodaldata.nodalcoords(:, k, row); with elemnodes or nodalcoords unset the call does nothing.",
                   in(Real, "coordnp", "ncoord,nblock").describe("coordinates of each node (columns)"),
                   in(Int, "nodeid", "nblock").describe("host node numbers"),
                   in(Int, "ncoord").opt("shape(coordnp,0)")
                       .describe("coordinates per node; more than 3 latches status -3, nothing changed"),
                   in(Int, "nblock").opt("len(nodeid)").describe("number of nodes"));
TAVRIN_ROUTINE_DOC(getelementreferencedata, GetElementReferenceData,
                   "shell element list, reference orientation records and section-point counts from the "
                   "registration lists, which are then freed"
                   "\n\nShared state: reads elementdata.elemkind and elementdata.elemlist and the three "
                   "registration lists ind of module listhandling (integer: element numbers, real: 7-value "
                   "orientation records, complex: (element, section point) pairs), all three freed at the end.  "
                   "Writes elementdata.elemindices (the shell rows; made only when it is unset and elemkind is set, "
                   "and left unset when every row is a shell, which means all rows), "
                   "elementdata.elemreforientation (set to -1, then the record of each listed element) and "
                   "sectiondata.nsectionpoints (set to -1, then 1 or the highest section point listed).  With "
                   "elemlist unset nothing is copied; an unset target table is not filled.",
                   out(Int, "nshell").describe("shell elements listed in elemindices (0 when it existed already)"),
                   out(Int, "ierror").describe("0, or -1 when a registration list is missing"),
                   in(Int, "ind").describe(list_doc));
TAVRIN_ROUTINE_DOC(getelementreforientation, GetElementRefOrientation,
                   "records an element's reference orientation and section point in the registration lists",
                   out(Int, "istatus").describe("1 when the element's orientation record was appended, else 0"),
                   in(Int, "ind").describe(list_doc), in(Real, "t", "3,3").describe("not used"),
                   in(Real, "tdirect", "3,3").describe(tdirect_doc),
                   in(Real, "plyorientation", "nplies,nsec").describe("ply angles in degrees, ply by section"),
                   in(Int, "noel").describe("host element number"), in(Int, "kspt").describe("section point"),
                   in(Int, "layid").describe("layer; the orientation is recorded at layer 1"),
                   in(Int, "secid").describe("section column of plyorientation, from 1"),
                   in(Int, "nplies").opt("shape(plyorientation,0)").describe("plies per section"),
                   in(Int, "nsec").opt("shape(plyorientation,1)").describe("number of sections"),
                   in(Int, "nextid").describe("-1 or 2: no section point is recorded"));
TAVRIN_ROUTINE_DOC(getabqelementorientation, GetABQElementOrientation,
                   "signed in-plane angle from the projected global x axis to a direction",
                   result(Real, "getabqelementorientation")
                       .describe("degrees, negative when rm lies clockwise of x seen along the normal"),
                   in(Real, "rm", "3").describe("the direction"), in(Real, "tdirect", "3,3").describe(tdirect_doc));
TAVRIN_ROUTINE_DOC(gettruss3elemlength, GetTruss3ElemLength, "length of a 2-node truss",
                   out(Real, "elemlength").describe("distance between the two nodes"), nodalcoord2);
TAVRIN_ROUTINE_DOC(gettruss3transformationmatrix, GetTruss3TransformationMatrix,
                   "direction cosines of a 2-node truss in the rows of the 2×6 transformation",
                   out(Real, "te", "2,6").describe("te(1,1:3) and te(2,4:6) the unit axis, else 0"), nodalcoord2);
TAVRIN_ROUTINE_DOC(getdatafrompatch, GetDataFromPatch, "reference data at the nodes that coincide with patch points",
                   out(Real, "patchdata", "ndata,npt").describe("data of the last coinciding node, 0 when none"),
                   in(Real, "refdata", "ndata,nnodes,nelem").describe("data of node k of element e in refdata(:,k,e)"),
                   in(Real, "patchcoords", "ndim,npt").describe("coordinates of each patch point (columns)"),
                   in(Real, "refcoords", "ndim,nnodes,nelem").describe("coordinates of node k of element e in refcoords(:,k,e)"),
                   in(Int, "ndata").opt("shape(refdata,0)").describe("values per node"),
                   in(Int, "npt").opt("shape(patchcoords,1)").describe("number of patch points"),
                   in(Int, "ndim").opt("shape(patchcoords,0)").describe("coordinates per point"),
                   in(Int, "nnodes").opt("shape(refdata,1)").describe("nodes per element"),
                   in(Int, "nelem").opt("shape(refdata,2)").describe("number of elements"), tolerance);
TAVRIN_ROUTINE_DOC(getnodalpatch, GetNodalPatch,
                   "coordinates of the nodes of the elements around an element, ntree levels deep",
                   inout(Real, "nodalpatch", "3,npt")
                       .describe("points found, each once, then -1.7976931348623157e308 in unfilled columns"),
                   in(Real, "nodalcoords", "3,nnodes,nelem").describe("x, y, z of node k of element row e in nodalcoords(:,k,e)"),
                   in(Int, "elemnodes", "nnodes,nelem").describe("node numbers; 0 pads a short element"),
                   in(Int, "elemid").describe("row of the element, from 1; outside the table latches status -3"),
                   in(Int, "npt").opt("shape(nodalpatch,1)").describe("points nodalpatch can hold"),
                   in(Int, "nnodes").opt("shape(elemnodes,0)").describe("nodes per element"),
                   in(Int, "nelem").opt("shape(elemnodes,1)").describe("element rows"), tolerance,
                   in(Int, "exflag").opt("0").describe("1: the element's own nodes are included"),
                   in(Int, "ntree").opt("1").describe("levels of neighbours"),
                   in(Int, "recursion").opt("0").describe("negative: nodalpatch is not cleared first"));

}  // namespace
}  // namespace tavrin::bind
