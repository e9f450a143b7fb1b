// Module toplevel: the progressive fatigue material routine of a ply or
// fabric (Shokrieh's law).
#include "solver/shokrieh_material.hpp"
#include "tables/toplevel_material_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace ma = material_args;
namespace sa = solver_args;

TAVRIN_BINDING_MODULE(toplevel, "solver entry points: material routines, user elements, damage fields, job control.");

TAVRIN_ROUTINE_DOC(
    umat_shokrieh, toplevel::umat_shokrieh,
    "stress, tangent and state of a unidirectional ply or a ±angle fabric under progressive fatigue (Shokrieh's "
    "residual stiffness and strength, sudden failure, cycle jumps)\n\n"
    "A fabric is two unidirectional layers at +props(149) and -props(149) degrees whose stresses and tangents "
    "T^T·C·T are averaged.  Reads shokriehdata::cycleprops and cycles of the step jstep(1), jobdata::nsteps and "
    "debugdata::edebug.  Needs nallstatv = 312, nprops >= 150 and ntens 3, 4 or 6: -2, outputs unchanged, "
    "otherwise.  Layout: ntens 3, 4 or 6 (ndi, nshr not read).",
    inout(Real, "stress", "ntens").describe("stress (MPa), solver order (3: 11, 22, 12; 4: 11, 22, 33, 12)"),
    inout(Real, "statev", "nallstatv")
        .describe("state: 1 fabric angle (degrees), 2-78 and 79-155 the 77-value fatigue states of the layers at "
                  "+angle and -angle (see fatigue.getshokrieh; entries 53-58 the layer stress), 156 0, 157-312 "
                  "the first increment's copy, then 158-234 and 235-311 the layers' backups"),
    out(Real, "ddsdde", "ntens,ntens").describe("tangent stiffness (MPa), solver order"),
    sa::sse.describe("specific elastic strain energy, increased by the trapezoidal work of the increment"),
    ma::spd, ma::scd, ma::rpl, ma::ddsddt("ntens"), ma::drplde("ntens"), ma::drpldt, sa::stran, sa::dstran, ma::time,
    sa::dtime.describe("time increment (s)"), ma::temp, ma::dtemp, ma::predef, ma::dpred,
    sa::materl.describe("material name, 80 characters; not used"), ma::ndi("ndi"), ma::nshr,
    sa::ntens.describe("stress components, 3, 4 or 6"),
    in(Int, "nallstatv").opt("len(statev)").describe("state variables, 312"),
    in(Real, "props", "nprops")
        .describe("fatigue property vector of fatigue.getshokriehproperties, 149 the fabric angle (degrees, 0: a "
                  "unidirectional ply)"),
    sa::nprops.describe("number of properties, at least 150"), ma::coords, ma::drot, ma::pnewdt, ma::celent,
    sa::dfgrd0.describe("deformation gradient at the start; not used"),
    sa::dfgrd1.describe("deformation gradient at the end; not used"),
    sa::noel.describe("element number (debug lines for debugdata::edebug)"), ma::npt,
    sa::kslay.describe("layer number (debug lines)"), sa::kspt.describe("section point number (debug lines)"),
    sa::jstep.describe("step number (1-based column of the cycle settings), procedure type (6, 7: direct "
                       "cyclic, cycles start at 0), then unused"),
    sa::kinc.describe("increment number (at most 1: the first increment)"), sa::materl_len);

TAVRIN_ROUTINE_DOC(usermat_shokrieh, toplevel::usermat_shokrieh,
                   "the progressive fatigue routine umat_shokrieh under the ANSYS USERMAT interface (one call of "
                   "wrapper.abq_umat_to_ansys_usermat)"
                   "\n\n" TAVRIN_ANSYS_LAYOUT "  " TAVRIN_ANSYS_FOUR_COMPONENTS,
                   TAVRIN_USERMAT_ENTRY_ARGS);

}  // namespace
}  // namespace tavrin::bind
