// Module toplevel: the small solver hooks.
#include "engine/descriptor.hpp"
#include "solver/hooks.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(toplevel);

TAVRIN_ROUTINE_DOC(
    vucharlength_cel, toplevel::vucharlength_cel,
    "characteristic element lengths of a block of material points (Abaqus/Explicit VUCHARLENGTH)\n\n"
    "jeltype[0] = 3: the edges 1-2, 1-4 and the diagonal 1-3 of a four-node quadrilateral projected on "
    "the plane of the point's first two directions; 6: the space diagonals of an eight-node brick along "
    "the three directions.  Other types, and components beyond the third, give 0.0; too few nodes (4 or "
    "8) or fewer than 2 coordinates latch errorhandling.errstat -2 and give 0.0.  No shared state.",
    in(Int, "nblock").opt("len(jelem)").describe("material points in the block"),
    in(Int, "nfieldv").opt("shape(field,1)").describe("field variables per point"),
    in(Int, "nprops").opt("len(props)").describe("number of properties"),
    in(Int, "ncomp").describe("lengths asked per point (columns of charlength)"),
    in(Int, "ndim").opt("shape(coordmp,1)").describe("coordinates per node: 2 (z taken as 0) or 3"),
    in(Int, "nnode").opt("shape(coordnode,1)").describe("nodes per element"),
    in(Int, "nstatev").opt("shape(stateold,1)").describe("state variables per point"),
    in(Int, "ksecpt").describe("section point (not used)"), in(Int, "klayer").describe("layer (not used)"),
    in(Int, "kintpt").describe("integration point (not used)"),
    in(Int, "jeltype", "3").describe("element type code: entry 1 is 3 (quadrilateral) or 6 (brick)"),
    in(Int, "jelem", "nblock").describe("element numbers (not used)"),
    in(Real, "totaltime").describe("not used"), in(Real, "steptime").describe("not used"),
    in(Real, "dt").describe("not used"), in(Text, "cmname", "80").describe("material name (not used)"),
    in(Real, "coordmp", "nblock,ndim").describe("point coordinates (not used)"),
    in(Real, "coordnode", "nblock,nnode,ndim").describe("node coordinates (point, node, coordinate)"),
    in(Real, "tdirect", "nblock,3,3").describe("direction matrix of each point: the columns are its axes"),
    in(Real, "t", "nblock,3,3").describe("not used"), in(Real, "props", "nprops").describe("not used"),
    in(Real, "field", "nblock,nfieldv").describe("not used"),
    in(Real, "stateold", "nblock,nstatev").describe("not used"),
    out(Real, "charlength", "nblock,ncomp").describe("lengths per point (row k), along the three directions"),
    text_length("cmname_len", "cmname"));

TAVRIN_ROUTINE_DOC(
    uvarm_report, toplevel::uvarm_report,
    "output-variable hook that writes the integration points of the first increment of an initialisation "
    "step to the Gauss-point report (Abaqus/Standard UVARM)\n\n"
    "When the step kind of kstep (jobdata.stepid) is 0 and kinc is 1, the point's line (element, point, "
    "coordinates) is appended to the file jobdata.jobfilepath (trailing blanks removed) + '.rst', created "
    "with its header when absent (iohandling.getgausspointreport); a step outside the table or no table: "
    "nothing.  A report that cannot be opened, or written to the end (a full disk, a file-size limit), latches "
    "errorhandling.errstat -2 at every such call (the latch keeps the first until it is cleared).  uvar is "
    "returned unchanged.",
    inout(Real, "uvar", "nuvarm").describe("user output variables (not changed)"),
    in(Real, "tdirect", "3,3").describe("not used"), in(Real, "t", "3,3").describe("not used"),
    in(Real, "time", "2").describe("not used"), in(Real, "dtime").describe("not used"),
    in(Text, "cmname", "80").describe("material name (not used)"),
    in(Text, "orname", "80").describe("orientation name (not used)"),
    in(Int, "nuvarm").opt("len(uvar)").describe("number of user output variables"),
    in(Int, "noel").describe("element number"), in(Int, "npt").describe("integration point number"),
    in(Int, "layer").describe("not used"), in(Int, "kspt").describe("not used"),
    in(Int, "kstep").describe("step number"), in(Int, "kinc").describe("increment number"),
    in(Int, "ndi").describe("not used"), in(Int, "nshr").describe("not used"),
    in(Real, "coord", "3").describe("coordinates of the point"), in(Int, "jmac", "*").describe("not used"),
    in(Int, "jmatyp", "*").describe("not used"), in(Int, "matlayo").describe("not used"),
    in(Int, "laccfla").describe("not used"), text_length("cmname_len", "cmname"),
    text_length("orname_len", "orname"));

TAVRIN_ROUTINE_DOC(
    vdisp_nullify, toplevel::vdisp_nullify,
    "explicit boundary-condition hook that prescribes nothing and feeds node coordinates and motions to "
    "the element tables (Abaqus/Explicit VDISP)\n\n"
    "Nothing unless jobdata.stepid is allocated and kstep is not 0.  Increment 1 of step 1 of kind 0: the "
    "coordinates go to nodaldata.nodalcoords of every registered element using the node.  From step 2, "
    "increment 2 on, in steps of kind 1 or 3, at increments with kinc + 1 a multiple of "
    "debugdata.nupdate: rows 1-3 of u (translations) and rows 4 on (max(mdof - 3, 2) rotations, 0 where "
    "u has no such row) go to nodaldata.nodesmotion in the nodes' shell frames.  Without element tables "
    "nothing is stored.  rval is never written.",
    in(Int, "nblock").opt("len(jnodeuid)").describe("nodes in the block"),
    in(Int, "mdof").opt("shape(u,0)").describe("degrees of freedom per node (rows of u)"),
    in(Int, "ncoord").opt("shape(coordnp,0)").describe("coordinates per node, at most 3"),
    in(Int, "kstep").describe("step number"), in(Int, "kinc").describe("increment number"),
    in(Real, "steptime").describe("not used"), in(Real, "totaltime").describe("not used"),
    in(Real, "dtnext").describe("not used"), in(Real, "dt").describe("not used"),
    in(Text, "cbname", "80").describe("boundary-condition name (not used)"),
    in(Int, "jbctype").describe("not used"), in(Int, "jdof", "*").describe("not used"),
    in(Int, "jnodeuid", "nblock").describe("host node numbers"),
    in(Real, "amp", "nblock").describe("not used"),
    in(Real, "coordnp", "ncoord,nblock").describe("node coordinates, one column per node"),
    in(Real, "u", "mdof,nblock").describe("nodal displacements and rotations, one column per node"),
    in(Real, "v", "mdof,nblock").describe("not used"), in(Real, "a", "mdof,nblock").describe("not used"),
    in(Real, "rf", "mdof,nblock").describe("not used"), in(Real, "rmass", "nblock").describe("not used"),
    in(Real, "rotaryi", "3,3,nblock").describe("not used"),
    in(Real, "rval", "mdof,nblock").describe("prescribed values (never written)"),
    text_length("cbname_len", "cbname"));

TAVRIN_ROUTINE_DOC(
    mpc_nullify, toplevel::mpc_nullify,
    "multi-point-constraint hook that switches its constraint off (Abaqus/Standard MPC): a = 0, jdof = 0, "
    "lmpc = 0\n\nue is returned unchanged.  No shared state.",
    inout(Real, "ue", "mdof").describe("constrained degrees of freedom of the dependent node (not changed)"),
    out(Real, "a", "mdof,mdof,n").describe("constraint coefficients: all 0.0"),
    out(Int, "jdof", "mdof,n").describe("degrees of freedom of the terms: all 0"),
    in(Int, "mdof").opt("len(ue)").describe("degrees of freedom of the constraint"),
    in(Int, "n").opt("shape(x,1)").describe("nodes of the constraint"),
    in(Int, "jtype").describe("constraint type (not used)"),
    in(Real, "x", "6,n").describe("node coordinates (not used)"),
    in(Real, "u", "maxdof,n").describe("not used"), in(Real, "uinit", "maxdof,n").describe("not used"),
    in(Int, "maxdof").opt("shape(u,0)").describe("rows of u"),
    inout(Int, "lmpc").describe("0 on return: the solver ignores the constraint"),
    in(Int, "kstep").describe("not used"), in(Int, "kinc").describe("not used"),
    in(Real, "time", "2").describe("not used"), in(Int, "nt").opt("shape(temp,0)").describe("rows of temp"),
    in(Int, "nf").opt("shape(field,0)").describe("rows of field"),
    in(Real, "temp", "nt,n").describe("not used"), in(Real, "field", "nf,nt,n").describe("not used"),
    in(Int, "ltran", "n").describe("not used"), in(Real, "tran", "3,3,n").describe("not used"));

}  // namespace
}  // namespace tavrin::bind
