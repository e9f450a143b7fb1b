// Module toplevel: the resin material routine.
#include "solver/resin_material.hpp"
#include "tables/toplevel_material_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace ma = material_args;
namespace sa = solver_args;

TAVRIN_BINDING_MODULE(toplevel,
                      "solver entry points: material routines, user elements, damage fields, job control.\n\n"
                      "The routines a finite-element solver calls, in the solver's own argument order and "
                      "conventions (Abaqus/Standard UMAT, HETVAL, UEXPAN; ANSYS USERMAT): stresses and strains "
                      "in the solver order 11, 22, 33, 12, 13, 23 with engineering shear strains, tangents "
                      "column-major, state variables, steps, elements and points counted from 1.  They read the "
                      "shared tables of the analysis (materialdata, sectiondata, shokriehdata, jobdata, "
                      "debugdata) and report failures through the first-error latch.");

TAVRIN_ROUTINE_DOC(
    umat_resin, toplevel::umat_resin,
    "stress, tangent and state of a thermoset resin point: temperature-dependent constants, one of eight stress "
    "laws (materialdata::modelid), a failure criterion chosen by the material name, degradation after failure and "
    "the fatigue life and cycle jumps of fatigue steps\n\n"
    "Reads materialdata::modelid (0-3 isotropic viscoelastic variants, 4 elastic-plastic, 5 deviatoric/volumetric, "
    "6 cubic, 7 orthotropic), materialdata::regularization (1: degradation factor, 2: viscosity; missing entries "
    "read 0), the calibration tables of models 0, 4, 6 and 7, materialdata::r_crit (fatigue life; without it -2 "
    "and no life update), shokriehdata::cycleprops(:, jstep(1)) (row 2 = 1.0: a fatigue step; rows 3-10 the "
    "cycle settings; no column: not a fatigue step), shokriehdata::dnf (jump algorithm 4), jobdata::nsteps and "
    "debugdata::edebug.  Name tags: columns 10-20 '_GPHASTRAIN', else 10-14 '_GPHA', '_GPRA', '_GPBA', '_GPDP' "
    "select the criterion; columns 29-36 '_FATIGUE' count cycles in every step.  Latches -2 and changes nothing "
    "for nstresscomp other than 4 or 6, nstatv < 22 (after a warning line on the first increment), a model "
    "outside 0-7 or too few properties (21; 25 for models 0 and 4); -2 for a load period below 0.0005.  Layout: "
    "nstresscomp 4 or 6 (nnormal, nshr not read).",
    inplace(Real, "spannung", "nstresscomp")
        .describe("stress (MPa), solver order; updated in place (components 1-4 when nstresscomp is 4)"),
    inout(Real, "statev", "nstatv")
        .describe("state: 1 cycle n, 2 di1, 3 effort d, 4-5 degraded moduli, 6 consumed life, 7 dmises, 8 and 19 "
                  "largest and smallest normalised equivalent stress of the period, 9 cycle jump, 10 strain "
                  "energy density, 12 remaining life 1000(1 - life), 13 cycles to failure, 14 equivalent "
                  "plastic strain (model 4), 16 xt, 17 degradation factor, 18 failed (1.0), 20 load period, "
                  "21 periods with a global jump, 22 equivalent fatigue stress"),
    out(Real, "tangente", "nstresscomp,nstresscomp")
        .describe("tangent stiffness (MPa), solver order; from Python the received tangent is zero"),
    sa::sse.describe("specific elastic strain energy; not written (the strain energy density goes to statev(10))"),
    ma::spd, ma::scd, ma::rpl,
    ma::ddsddt("nstresscomp"), ma::drplde("nstresscomp"), ma::drpldt,
    in(Real, "dehnung", "nstresscomp").describe("total strain at the start of the increment, engineering shears"),
    in(Real, "ddehnung", "nstresscomp").describe("strain increment, engineering shears"), ma::time,
    sa::dtime.describe("time increment (s)"), ma::temp, ma::dtemp, ma::predef, ma::dpred,
    sa::materl.describe("material name (80 characters): criterion tag in columns 10-20, '_FATIGUE' in 29-36"),
    ma::ndi("nnormal"), ma::nshr,
    in(Int, "nstresscomp").opt("len(spannung)").describe("stress components, 4 (11, 22, 33, 12) or 6"),
    in(Int, "nstatv").opt("len(statev)").describe("state variables, at least 22"),
    in(Real, "props", "nprops")
        .describe("resin property vector (two temperature blocks; see resin.getresinproperties)"),
    sa::nprops, ma::coords, ma::drot, ma::pnewdt, ma::celent, sa::dfgrd0.describe("deformation gradient at the "
    "start (debug lines)"), sa::dfgrd1.describe("deformation gradient at the end (debug lines)"),
    sa::noel.describe("element number (debug lines for debugdata::edebug)"), ma::npt,
    sa::kslay.describe("layer number; not used"), sa::kspt.describe("section point; not used"),
    sa::jstep.describe("step number (1-based column of shokriehdata::cycleprops), then unused"),
    sa::kinc.describe("increment number (at most 1: the first increment)"), sa::materl_len);

TAVRIN_ROUTINE_DOC(usermat_resin, toplevel::usermat_resin,
                   "the resin material routine umat_resin under the ANSYS USERMAT interface (one call of "
                   "wrapper.abq_umat_to_ansys_usermat)"
                   "\n\n" TAVRIN_ANSYS_LAYOUT "  " TAVRIN_ANSYS_FOUR_COMPONENTS,
                   TAVRIN_USERMAT_ENTRY_ARGS);

}  // namespace
}  // namespace tavrin::bind
