// Module toplevel: the fibre and endochronic-resin material routines.
#include "engine/descriptor.hpp"
#include "solver/fiber_materials.hpp"
#include "tables/solver_args.hpp"
#include "tables/toplevel_material_args.hpp"
#include "tables/umat_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace sa = solver_args;

TAVRIN_BINDING_MODULE(toplevel);

TAVRIN_ROUTINE_DOC(
    umat_fiber, toplevel::umat_fiber,
    "linear-elastic orthotropic fibre or unidirectional ply (UMAT) with properties linear between two "
    "temperatures, fibre failure by the maximum nominal stress in direction 1 and a stiffness factor "
    "after failure\n\n"
    "stress = C(stran + dstran) (secant, the nine constants E1 .. G23), ddsdde = C, sse the secant "
    "energy; spd and scd set to 0.  Fewer than 9 properties latch errorhandling.errstat -2 and give a "
    "zero stiffness and stress.  Fewer than 12 state variables print '****WARNING: To less nstatev "
    "allocated for material <name>' in increments 0 and 1; slots beyond nstatv are not touched.  Layout: "
    "ntens 3, 4 or 6 (ndi, nshr not read); any other latches -2 and touches nothing.  No shared state.",
    TAVRIN_UMAT_ARGS(
        sa::statev.describe("state: 3 fibre failure effort (running maximum, at most 1; 1 = failed), 12 "
                            "the largest double after every call; at least 12 expected.  In increments 0 "
                            "and 1 a last slot of 9.9e34 or more is cleared"),
        sa::props.describe(
            "1-9 E1, E2, E3, nu12, nu13, nu23, G12, G13, G23; 10 fibre tensile and 11 compressive strength "
            "(10 properties: tension only; 9: no check); with exactly 12: 12 the stiffness factor after "
            "failure; with 24 or more: 12 temperature T1 of the set 1-11, 13-23 a second set, 24 its "
            "temperature T2, interpolated linearly in temp + dtemp; with exactly 25: 25 the factor")));

TAVRIN_ROUTINE_DOC(
    umat_krause, toplevel::umat_krause,
    "endochronic viscoplastic resin (UMAT) with the tangent by central differences\n\n"
    "The stress and state come from the endochronic law (resin.endochroneviscoplasticity with the "
    "material state); column j of ddsdde is (stress(dstran + 1e-8 e_j) - stress(dstran - 1e-8 e_j)) / "
    "2e-8 with no time increment and the state left as written.  sse, spd, scd and pnewdt are not "
    "changed.  Layout: ntens 6 (ndi, nshr not read); any other latches errorhandling.errstat -2 and "
    "changes nothing.  No shared state.",
    TAVRIN_UMAT_ARGS(sa::statev.describe("branch stresses of the endochronic law (at least 42)"),
                     sa::props.describe("E, c, nu, Ep, beta, Ek of the six Maxwell branches (at least 11)")));

TAVRIN_ROUTINE_DOC(
    usermat_fiber, toplevel::usermat_fiber,
    "linear-elastic orthotropic fibre or ply (ANSYS USERMAT): the stress increment, the tangent in the "
    "ANSYS order, the transverse shear stiffness and the thickness strain of plane stress\n\n"
    "prop holds 2 (isotropic), 5 (transversely isotropic) or 9 elastic constants; another count latches "
    "errorhandling.errstat -2 ('Unsupported input in GetNyeProperties'), dsdepl is zero and nothing else "
    "changes.  sedel is the energy of this increment; keycut, sedpl, epseq and epszz are 0 but in plane "
    "stress (ncomp 3, ndirect 2) epszz = -nu13/E1*s11 - nu23/E2*s22.  tsstif[0] = G13, tsstif[1] = G23 "
    "for ndirect 2 or 3 and fewer than 5 components; ustatev, var0 ... var8 are not used.  No shared state.  "
    TAVRIN_ANSYS_LAYOUT,
    TAVRIN_USERMAT_ENTRY_ARGS);

}  // namespace
}  // namespace tavrin::bind
