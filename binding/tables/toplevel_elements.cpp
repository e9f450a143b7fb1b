// Module toplevel: the truss and impactor user elements.
#include "engine/descriptor.hpp"
#include "solver/impact_elements.hpp"
#include "solver/truss_elements.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(
    toplevel,
    "solver entry points: job control, material routines, user elements and hooks\n\n"
    "Each routine takes the host solver's own argument list (Abaqus/Standard UMAT, UEL, UVARM, MPC; "
    "Abaqus/Explicit VUEL, VUCHARLENGTH, VDISP; ANSYS USERMAT) in the solver's order; arrays are "
    "column-major, counted from 1 in the descriptions.  Stress and strain vectors of a UMAT are in "
    "the solver order 11, 22, 33, 12, 13, 23 with engineering shear strains, those of a USERMAT in "
    "the ANSYS order 11, 22, 33, 12, 23, 13.  Failures are latched in errorhandling (errstat, "
    "errstring) and the routines return defined outputs.");

// --- implicit (UEL) ---------------------------------------------------------
constexpr Arg rhs = out(Real, "rhs", "mlvarx,nrhs").describe(
    "right-hand sides, minus the internal force (rows 1-6: node 1 x, y, z, node 2 x, y, z)");
constexpr Arg amatrx = out(Real, "amatrx", "ndofel,ndofel").describe("element stiffness or mass (6 x 6)");
constexpr Arg svars_truss = inout(Real, "svars", "nsvars").describe(
    "element state: 1-6 internal force of the last increment, 7-12 of the one before (at least 12 "
    "for the dynamic requests); request 100: 1-6 the right-hand side, the rest 0");
constexpr Arg energy = inout(Real, "energy", "8").describe(
    "energies: 1 kinetic, 2 elastic strain, 8 work of the loads of type 1001");
constexpr Arg ndofel = in(Int, "ndofel").opt("len(u)").describe("degrees of freedom: 6 (two nodes, x, y, z)");
constexpr Arg nrhs = in(Int, "nrhs").describe("right-hand sides: 1 or 2");
constexpr Arg nsvars = in(Int, "nsvars").opt("len(svars)").describe("number of state variables");
constexpr Arg props_truss =
    in(Real, "props", "nprops").describe("E (Young's modulus), density, cross-section area");
constexpr Arg nprops = in(Int, "nprops").opt("len(props)").describe("number of properties");
constexpr Arg coords = in(Real, "coords", "mcrd,nnode").describe("node coordinates, one column per node");
constexpr Arg mcrd = in(Int, "mcrd").opt("shape(coords,0)").describe("coordinates per node, at least 3");
constexpr Arg nnode = in(Int, "nnode").opt("shape(coords,1)").describe("nodes: 2");
constexpr Arg u = in(Real, "u", "ndofel").describe("nodal displacements at the end of the increment");
constexpr Arg du = in(Real, "du", "mlvarx,nrhs").describe("displacement increments, per right-hand side");
constexpr Arg v = in(Real, "v", "ndofel").describe("nodal velocities");
constexpr Arg a = in(Real, "a", "ndofel").describe("nodal accelerations");
constexpr Arg jtype = in(Int, "jtype").describe("element type (not used)");
constexpr Arg time = in(Real, "time", "2").describe("step time and total time at the start of the increment");
constexpr Arg dtime = in(Real, "dtime").describe("time increment");
constexpr Arg kstep = in(Int, "kstep").describe("step number");
constexpr Arg kinc = in(Int, "kinc").describe("increment number");
constexpr Arg jelem = in(Int, "jelem").describe("element number (not used)");
constexpr Arg params = in(Real, "params", "3").describe("alpha, beta, gamma of the implicit dynamic integrator");
constexpr Arg ndload = in(Int, "ndload").describe("distributed loads active on the element");
constexpr Arg jdltyp = in(Int, "jdltyp", "mdload,*").describe("load types, column 1 (1001: axial point load at node 2)");
constexpr Arg adlmag = in(Real, "adlmag", "mdload,*").describe("load magnitudes, column 1");
constexpr Arg predef = in(Real, "predef", "2,npredf,nnode").describe("predefined fields (not used)");
constexpr Arg npredf = in(Int, "npredf").opt("shape(predef,1)").describe("predefined fields");
constexpr Arg lflags = in(Int, "lflags", "5").describe(
    "1 procedure (1, 2 static; 11, 12 implicit dynamic; 41 with request 100), 3 request (1 residual and "
    "stiffness, 2 stiffness, 4 mass, 5 half-step residual, 6 initial acceleration, 100 perturbation "
    "output), 4 non-zero in a perturbation step");
constexpr Arg mlvarx = in(Int, "mlvarx").opt("shape(du,0)").describe("leading extent of rhs and du, at least ndofel");
constexpr Arg ddlmag = in(Real, "ddlmag", "mdload,*").describe("load magnitude increments, column 1");
constexpr Arg mdload = in(Int, "mdload").opt("shape(jdltyp,0)").describe("rows of the load tables, at least ndload");
constexpr Arg pnewdt = inout(Real, "pnewdt").describe("suggested ratio of the next time increment to this one");
constexpr Arg jprops_truss = in(Int, "jprops", "njprop").describe("integer properties (not used)");
constexpr Arg njprop = in(Int, "njprop").opt("len(jprops)").describe("number of integer properties");
constexpr Arg period = in(Real, "period").describe("step period (not used)");

#define UEL_LAYOUT_NOTE \
    "Layout: ndofel 6, nnode 2, mcrd >= 3, nrhs 1 or 2, mlvarx >= ndofel; any other latches " \
    "errorhandling.errstat -2 and touches nothing."
#define TRUSS_SIZE_NOTE \
    UEL_LAYOUT_NOTE "  Refused with errorhandling.errstat -2 (rhs and amatrx zero, nothing else touched): " \
    "fewer than 3 properties, too few state variables for the request (12 for the dynamic requests, 6 for " \
    "requests 6 and 100), ndload above mdload where loads are read, a bar of zero length, and " \
    "beta*dtime**2 <= 0 in dynamics."

TAVRIN_ROUTINE_DOC(
    uel_truss, toplevel::uel_truss,
    "two-node 3-D truss element (Abaqus/Standard UEL): axial stiffness E*A/L, lumped mass rho*A*L/2 per "
    "node, static, HHT-alpha dynamic and perturbation requests.\n\n"
    "Requests lflags[2]: 1 residual and stiffness (static: rhs = teT*(F, -F) with F = E*A/L*elongation, "
    "loads of type 1001 added at node 2; dynamic: mass/(beta*dtime**2) on the diagonal, alpha-weighted "
    "internal forces from svars), 2 stiffness, 4 mass, 5 half-step residual, 6 initial acceleration, 100 "
    "perturbation output (procedure 1, 2 or 41); any other request returns zeros.  No shared state.  "
    TRUSS_SIZE_NOTE,
    rhs, amatrx, svars_truss, energy, ndofel, nrhs, nsvars, props_truss, nprops, coords, mcrd, nnode, u, du,
    v, a, jtype, time, dtime, kstep.describe("step number (not used)"), kinc.describe("increment number (not used)"),
    jelem, params, ndload, jdltyp, adlmag, predef, npredf, lflags, mlvarx, ddlmag, mdload,
    pnewdt.describe("not changed"), jprops_truss, njprop, period);

// --- impactor record and impactor properties -----------------------------------
constexpr Arg cprops = inout(Real, "cprops", "20").describe(
    "impactor record (one column of impactdata.cprops): 1 contact force, 2 contact radius, 3 indentation "
    "depth, 4 displacement, 5 velocity, 6 acceleration, 7 mass, 8-10 integration scheme, 11 force and 12 "
    "radius at the last increment end, 13 structure reference displacement, 14 peak force, 15 largest "
    "depth, 16 1.0 once unloading, 17 radius, 18 second length, 19 half-step velocity, 20 velocity weight");
constexpr Arg props_impact = in(Real, "props", "nprops").describe(
    "impactor properties (at least 12): 1-4 and 7-10 contact-stiffness arguments, 5 impact energy, 6 mass, "
    "7 radius, 8 second length, 11 start time (> 0) or initial displacement (<= 0), 12 critical indentation "
    "(implicit law 2: its first parameter), 13 implicit law 2: sixth parameter, explicit: velocity weight");
#define IMPACT_NOTE \
    "The step kind of kstep comes from jobdata.stepid: kind 0 (initialisation, kinc > 0) sets the record's " \
    "start values, kind 3 (impact) the contact force, kind 2 (rebound) the rebound bookkeeping; a step " \
    "outside the table (or no table) ends the call after the truss.  " UEL_LAYOUT_NOTE "  Latched: " \
    "errstat -2 for sizes (rhs, " \
    "amatrx zero), a mass that is not positive, a history value that names no impactor, a history table " \
    "without two increasing abscissae, Ci + Cs or the stiffness not positive (the record's force kept); " \
    "-3 'Error: Invalid root finding procedure' and 'Unknown contact law flag' (force 0)."

TAVRIN_ROUTINE_DOC(
    uel_impact, toplevel::uel_impact,
    "impactor user element (Abaqus/Standard UEL): a weightless two-node truss whose elongation is the "
    "structure's displacement at the impact point; computes the impactor's contact force, radius and "
    "indentation into its record.\n\n"
    "jprops[0] the contact procedure (0 keep the record's force, 1 closed-form Hertz, 2 Brent's search on "
    "the contact law jprops[2]), jprops[1] the stiffness and radius flag.  Reads and writes "
    "impactdata.csvars (created, zero, with one row, or 2n rows in a rebound step with a history table, and "
    "loaddata.nimp columns when absent or of another shape); its column is named by svars[19] or record row 14 "
    "only when that is a whole number 1..loaddata.nimp (with nimp 0 never).  "
    IMPACT_NOTE,
    rhs, amatrx,
    inout(Real, "svars", "nsvars").describe(
        "element state (at least 20): 1-12 the truss's, 13 impactor acceleration, 14 structure compliance, "
        "15 structure displacement at the last update, 16 truss elongation, 17 largest force, 19 history "
        "value, 20 impactor column of csvars, 21 on a history table (n abscissae, n ordinates)"),
    energy, ndofel, nrhs, nsvars, props_impact, nprops, coords, mcrd, nnode, u, du, v, a, jtype, time, dtime,
    kstep, kinc, jelem, params, ndload, jdltyp, adlmag, predef, npredf, lflags, mlvarx, ddlmag, mdload,
    pnewdt.describe("in rebound steps the suggested increment ratio (-1.0, 0.8 or the history ratio)"),
    in(Int, "jprops", "njprop").describe("1 contact procedure, 2 stiffness and radius flag, 3 contact-law flag"),
    njprop, period, cprops);

// --- explicit (VUEL) ----------------------------------------------------------
constexpr Arg nblock = in(Int, "nblock").opt("shape(coords,0)").describe("elements in the block");
constexpr Arg rhs_x = out(Real, "rhs", "nblock,ndofel").describe("internal force per element (row k)");
constexpr Arg amass = out(Real, "amass", "nblock,ndofel,ndofel").describe("lumped mass matrix per element");
constexpr Arg dtimestable =
    out(Real, "dtimestable", "nblock").describe("stable time increment per element (0.99*sqrt(M/k))");
constexpr Arg nsvars_x = in(Int, "nsvars").describe("state variables per element");
constexpr Arg energy_x = out(Real, "energy", "nblock,12").describe("energies per element: column 3 internal energy");
constexpr Arg nnode_x = in(Int, "nnode").opt("shape(coords,1)").describe("nodes: 2");
constexpr Arg ndofel_x = in(Int, "ndofel").opt("shape(u,1)").describe("degrees of freedom: 6");
constexpr Arg jprops_x = in(Int, "jprops", "njprops").describe("integer properties");
constexpr Arg njprops = in(Int, "njprops").opt("len(jprops)").describe("number of integer properties");
constexpr Arg coords_x =
    in(Real, "coords", "nblock,nnode,ncrd").describe("reference coordinates (element, node, coordinate)");
constexpr Arg ncrd = in(Int, "ncrd").opt("shape(coords,2)").describe("coordinates per node, at least 3");
constexpr Arg u_x = in(Real, "u", "nblock,ndofel").describe("nodal displacements per element");
constexpr Arg du_x = in(Real, "du", "nblock,ndofel").describe("displacement increments (not used)");
constexpr Arg v_x = in(Real, "v", "nblock,ndofel").describe("velocities (not used)");
constexpr Arg a_x = in(Real, "a", "nblock,ndofel").describe("accelerations (not used)");
constexpr Arg jelem_x = in(Int, "jelem", "nblock").describe("element numbers (not used)");
constexpr Arg dtimecur = in(Real, "dtimecur").describe("current time increment");
constexpr Arg dtimeprev = in(Real, "dtimeprev").describe("previous time increment (not used)");
constexpr Arg lflags_x = in(Int, "lflags", "3").describe(
    "1 procedure (17 explicit dynamic; anything else: nothing is done), 3 request (1 mass, 2 internal "
    "force and stable increment, 3 load of type 123)");
constexpr Arg dmassscalefactor = in(Real, "dmassscalefactor", "nblock").describe("mass scaling (not used)");
constexpr Arg predef_x = in(Real, "predef", "nblock,nnode,npredef,2").describe("predefined fields (not used)");
constexpr Arg npredef = in(Int, "npredef").opt("shape(predef,2)").describe("predefined fields");
constexpr Arg jdltyp_x = in(Int, "jdltyp").describe("load type (123: axial load at node 2)");
#define VUEL_LAYOUT_NOTE \
    "Layout: nblock >= 0, ndofel 6, nnode 2, ncrd >= 3; any other latches errorhandling.errstat -2 and " \
    "touches nothing, whatever the procedure."
constexpr Arg adlmag_x = in(Real, "adlmag", "nblock").describe("load magnitude per element");

TAVRIN_ROUTINE_DOC(
    vuel_truss, toplevel::vuel_truss,
    "two-node 3-D truss element (Abaqus/Explicit VUEL): lumped mass, internal force from the logarithmic "
    "strain at constant volume, stable time increment, accumulated internal energy.\n\n"
    "Works only under lflags[0] = 17.  A length that is not positive is taken as 2.220446049250313e-16.  "
    VUEL_LAYOUT_NOTE "  Refused with errorhandling.errstat -2 (rhs, amass, dtimestable zero): fewer than 3 "
    "properties, nsvars below 2 for the force request.  No shared state.",
    nblock, rhs_x, amass, dtimestable,
    out(Real, "svars", "nblock,nsvars").describe("per element: 1 length and 2 axial force of this call"),
    nsvars_x, energy_x, nnode_x, ndofel_x, props_truss, nprops, jprops_x.describe("not used"), njprops,
    coords_x, ncrd, u_x, du_x, v_x, a_x, jtype, jelem_x, time.describe("step and total time (not used)"),
    period, dtimecur.describe("current time increment (not used)"), dtimeprev, kstep.describe("not used"),
    kinc.describe("not used"), lflags_x, dmassscalefactor, predef_x, npredef, jdltyp_x, adlmag_x);

TAVRIN_ROUTINE_DOC(
    vuel_impact, toplevel::vuel_impact,
    "impactor user element (Abaqus/Explicit VUEL): a weightless truss per impactor; in the force request "
    "the contact force, radius and depth go into the impactor's record.\n\n"
    "jprops[0] the contact procedure (0 keep the record's force, 1 Hertz, 2 Hertz loading and Tan-Sun "
    "unloading), jprops[1] the stiffness and radius flag, jprops[3] (with njprops 4) other than 1 selects "
    "the weighted time integration.  Every point of the block writes the same record; the last decides.  "
    "Nothing beyond the truss unless jobdata.stepid is allocated; the step kind of kstep comes from it: "
    "kind 0 (kinc > 0) sets the record's start values, kind 3 from the start time on the contact force, "
    "other kinds nothing.  Latched: errstat -2 for sizes in the force request (nsvars >= 18, nprops >= 12, "
    "njprops >= 2; rhs, amass, dtimestable zero) and a mass that is not positive; -3 'Error: Invalid root "
    "finding procedure' (force 0).  " VUEL_LAYOUT_NOTE,
    nblock, rhs_x, amass, dtimestable,
    out(Real, "svars", "nblock,nsvars").describe(
        "per element (at least 18): 1-2 the truss's, 13 impactor acceleration, 15 structure displacement "
        "at the last call, 16 truss elongation, 17 largest force"),
    nsvars_x, energy_x, nnode_x, ndofel_x, props_impact, nprops, jprops_x, njprops, coords_x, ncrd, u_x, du_x,
    v_x, a_x, jtype, jelem_x, time, period, dtimecur, dtimeprev, kstep, kinc, lflags_x, dmassscalefactor,
    predef_x, npredef, jdltyp_x, adlmag_x, cprops);

}  // namespace
}  // namespace tavrin::bind
