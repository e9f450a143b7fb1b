// Module toplevel: the sensor, porosity and hyperelastic material routines.
#include "engine/descriptor.hpp"
#include "solver/sensor.hpp"
#include "tables/solver_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace sa = solver_args;

TAVRIN_BINDING_MODULE(toplevel);

constexpr const char* not_used = "not used";
constexpr Arg stepid = in(Int, "stepid").describe("kind of the current step (jobdata::stepid; 3: impact)");
constexpr Arg cprops = in(Real, "cprops", "20").describe(
    "the impactor's record (a column of impactdata::cprops): 1-3 contact force, radius, indentation; "
    "4-6 displacement, velocity, acceleration");
constexpr Arg dprops = inout(Real, "dprops", "12").describe(
    "the impactor's load record (a column of loaddata::dprops): with two properties 8, 9 = props, 10, 11 "
    "= 0 and 1 from 1.0 to -1.0");
#define TAVRIN_UMAT_HEAD                                                                                 \
  sa::stress, sa::statev, sa::ddsdde, sa::sse, sa::spd.describe("specific plastic dissipation: 0"),    \
      sa::scd.describe("specific creep dissipation: 0"), sa::rpl.describe(not_used),                     \
      sa::ddsddt.describe(not_used), sa::drplde.describe(not_used), sa::drpldt.describe(not_used)
#define TAVRIN_UMAT_MIDDLE                                                                               \
  sa::time.describe(not_used), sa::dtime.describe(not_used), sa::temp.describe(not_used),              \
      sa::dtemp.describe(not_used), sa::predef.describe("not used (at least 1 entry)"),                 \
      sa::dpred.describe("not used (at least 1 entry)"), sa::materl.describe("material name (not used)"), \
      sa::ndi, sa::nshr, sa::ntens, sa::nstatv
#define TAVRIN_UMAT_TAIL                                                                                 \
  sa::coords.describe(not_used), sa::drot.describe(not_used),                                          \
      sa::pnewdt.describe("suggested time increment ratio (not changed)"), sa::celent.describe(not_used), \
      sa::dfgrd0.describe(not_used), sa::dfgrd1.describe(not_used), sa::noel.describe(not_used),          \
      sa::npt.describe(not_used), sa::kslay.describe(not_used), sa::kspt.describe(not_used)

TAVRIN_ROUTINE_DOC(
    umat_sensor, umat_sensor,
    "Abaqus/Standard material of an impactor's sensor element: practically no stiffness (E = 1e-20, "
    "nu = 0.49), the impactor's motion and contact results shown in the state variables.\n\n"
    "stress += D·dstran, sse += ½ (stress + old stress)·dstran; every state variable is zeroed, then "
    "slots 1-3 = cprops[3:6] and, in an impact step (stepid 3) with more than five, slots 4-6 = "
    "cprops[0:3].  Fewer than three state variables latch errorhandling.errstat -2.  Layout: ndi 0 to 3 "
    "direct and ntens - ndi 0 to 3 shear components (nshr not read); any other latches -2 and touches "
    "nothing.",
    TAVRIN_UMAT_HEAD, sa::stran.describe(not_used), sa::dstran, TAVRIN_UMAT_MIDDLE,
    sa::props.describe("two values for the impactor's load record, else not used"), sa::nprops,
    TAVRIN_UMAT_TAIL, sa::kinc.describe(not_used), stepid, cprops, dprops, sa::materl_len);

TAVRIN_ROUTINE_DOC(
    vumat_sensor, vumat_sensor,
    "Abaqus/Explicit material of an impactor's sensor element: practically no stiffness (E = 1e-20, "
    "nu = 0.49), the impactor's motion and contact results shown in the state variables of every "
    "point.\n\n"
    "stressnew = stressold + D·straininc (shears as given); with ndir 3, nshr 1 straininc[:, 2] becomes "
    "-0.49/1e-20·(ds11 + ds22).  statenew and enerinelasnew start at zero; statenew[:, 0:3] = "
    "cprops[3:6] and, in an impact step with more than five state variables, statenew[:, 3:6] = "
    "cprops[0:3].  Layout: nblock >= 0; ndir and nshr 0 to 3; any other latches errorhandling.errstat -2 "
    "and touches nothing.",
    sa::nblock, sa::v_ndir, sa::v_nshr, sa::nstatev_block, sa::nfieldv, sa::nprops,
    sa::lanneal.describe(not_used), sa::steptime.describe(not_used), sa::totaltime.describe(not_used),
    sa::dt.describe(not_used), sa::cmname.describe("material name (not used)"), sa::coordmp.describe(not_used),
    sa::charlength.describe(not_used),
    sa::props.describe("two values for the impactor's load record, else not used"), sa::density,
    inout(Real, "straininc", "nblock,ndir+nshr").describe("strain increment, one row per point"),
    sa::relspininc.describe(not_used), sa::tempold.describe(not_used), sa::stretchold.describe(not_used),
    sa::defgradold.describe(not_used), sa::fieldold.describe(not_used), sa::stressold,
    sa::stateold.describe(not_used), sa::enerinternold, sa::enerinelasold.describe(not_used),
    sa::tempnew.describe(not_used), sa::stretchnew.describe(not_used), sa::defgradnew.describe(not_used),
    sa::fieldnew.describe(not_used), sa::stressnew, sa::statenew, sa::enerinternnew,
    sa::enerinelasnew.describe("inelastic energy per unit mass: zero"), stepid, cprops, dprops, sa::cmname_len);

TAVRIN_ROUTINE_DOC(
    umat_porosity, umat_porosity,
    "Abaqus/Standard linear-elastic material whose stiffness drops to a thousandth where the first "
    "state variable marks a pore.\n\n"
    "ddsdde is the on-axis stiffness of props (2, 5, 9 or 12 engineering constants, 21 or 36 "
    "anisotropic entries), times 0.0010000000474974513 when statev[0] is exactly 1.0; stress += "
    "ddsdde·dstran; sse, spd and scd are 0; no state variable is written.  Other counts latch "
    "errorhandling.errstat -2 with a zero stiffness.  Layout: ntens 3, 4 or 6 (ndi, nshr not read); any "
    "other latches -2 and touches nothing.",
    TAVRIN_UMAT_HEAD, sa::stran.describe(not_used), sa::dstran, TAVRIN_UMAT_MIDDLE,
    sa::props.describe("2, 5, 9 or 12 engineering constants, or 21 (upper triangle) or 36 stiffness entries"),
    sa::nprops, TAVRIN_UMAT_TAIL, sa::kinc.describe(not_used), sa::materl_len);

TAVRIN_ROUTINE_DOC(
    umat_hyper, umat_hyper,
    "Abaqus/Standard linear-elastic ply or anisotropic material with the complex-step tangent of its "
    "stress law: stress C·(stran + dstran), sse ½ stress·(stran + dstran).\n\n"
    "C from props: one value, the ply of materialdata::peprops at statev[20], statev[21] (as "
    "umat_lamina); 2 to 9 values, the ply constants; otherwise the symmetric matrix whose upper "
    "triangle props holds column by column (11, 12, 22, 13, 23, 33, ...).  The stress goes to state "
    "slots 1..ndi and 4..3+nshr (those that exist; missing ones latch -2).  Properties that give no "
    "stiffness latch errorhandling.errstat -2 and give a zero stiffness.  Layout: ndi + nshr = ntens, at "
    "most three of each, ntens 3, 4 or 6 (1 to 6 with a stiffness triangle); any other latches -2 and "
    "touches nothing.",
    TAVRIN_UMAT_HEAD, sa::stran, sa::dstran, TAVRIN_UMAT_MIDDLE,
    sa::props.describe("1 value (material tables), 2-9 ply constants, or the stiffness's upper triangle "
                       "column by column (ntens(ntens+1)/2 values)"),
    sa::nprops, TAVRIN_UMAT_TAIL, sa::jstep.describe(not_used), sa::kinc.describe(not_used), sa::materl_len);

}  // namespace
}  // namespace tavrin::bind
