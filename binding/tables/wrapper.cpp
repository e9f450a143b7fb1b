// Module wrapper: a material routine written for one solver's interface run
// under another's.
#include "engine/descriptor.hpp"
#include "solver/wrapper.hpp"
#include "tables/solver_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace sa = solver_args;

// The material routine dfunc of each adapter, in the argument lists it is
// called with.  The material name's length is passed to a library routine
// and measures the name for a Python function, which never sees it.
TAVRIN_CALLBACK_RETURNING(
    muesli_umat, wrapper::MuesliUmatFn, "dfunc", ("statev", "sse", "spd", "scd", "pnewdt"),
    in(Int, "matid"), inout(Real, "stress_3d", "ntens_3d"), inout(Real, "statev", "nstatv"),
    out(Real, "ddsdde_3d", "ntens_3d,ntens_3d"), inout(Real, "sse"), inout(Real, "spd"),
    inout(Real, "scd"), inout(Real, "rpl"), inout(Real, "ddsddt_3d", "ntens_3d"),
    inout(Real, "drplde_3d", "ntens_3d"), inout(Real, "drpldt"), in(Real, "strain_3d", "ntens_3d"),
    in(Real, "dstrain_3d", "ntens_3d"), in(Real, "time", "2"), in(Real, "dtime"), in(Real, "temp"),
    in(Real, "dtemp"), in(Real, "predef", "1"), in(Real, "dpred", "1"), in(Text, "materl"),
    in(Int, "ndir_3d").opt("3"), in(Int, "nshr_3d").opt("3"), in(Int, "ntens_3d").opt("6"),
    in(Int, "nstatv").opt("len(statev)"), in(Real, "props", "nprops"),
    in(Int, "nprops").opt("len(props)"), in(Real, "coords", "3"), in(Real, "drot", "3,3"),
    inout(Real, "pnewdt"), in(Real, "celent"), in(Real, "dfgrd0", "3,3"), in(Real, "dfgrd1", "3,3"),
    in(Int, "noel"), in(Int, "npt"), in(Int, "kslay"), in(Int, "kspt"), in(Int, "jstep", "4"),
    in(Int, "kinc"), text_length("materl_len", "materl"));

TAVRIN_CALLBACK(
    ansys_usermat, wrapper::UsermatFn, "dfunc", in(Int, "matid"), in(Int, "noel"), in(Int, "npt"),
    in(Int, "kslay"), in(Int, "kspt"), in(Int, "ldstep"), in(Int, "kinc"), inout(Int, "keycut"),
    in(Int, "ndir_3d").opt("3"), in(Int, "nshr_3d").opt("3"), in(Int, "ntens_3d").opt("6"),
    in(Int, "nstatv").opt("len(statev)"), in(Int, "nprops").opt("len(props)"), in(Real, "ans_time"),
    in(Real, "dtime"), in(Real, "temp"), in(Real, "dtemp"), inout(Real, "stress_3d", "ntens_3d"),
    inout(Real, "statev", "nstatv"), out(Real, "ddsdde_3d", "ntens_3d,ntens_3d"), inout(Real, "sse"),
    inout(Real, "sedpl"), inout(Real, "epseq"), in(Real, "strain_3d", "ntens_3d"),
    in(Real, "dstrain_3d", "ntens_3d"), inout(Real, "epspl_3d", "ntens_3d"),
    in(Real, "props", "nprops"), in(Real, "coords", "3"), inout(Real, "var0"),
    in(Real, "dfgrd0", "3,3"), in(Real, "dfgrd1", "3,3"), inout(Real, "tsstif", "2"),
    inout(Real, "epszz"), inout(Real, "var1"), inout(Real, "var2"), inout(Real, "var3"),
    inout(Real, "var4"), inout(Real, "var5"), inout(Real, "var6"), inout(Real, "var7"),
    inout(Real, "var8"));

TAVRIN_CALLBACK(
    umat_for_ansys, wrapper::UmatFn, "dfunc", inout(Real, "stress_3d", "ntens_3d"),
    inout(Real, "ustatev", "nstatev"), out(Real, "dsdepl_3d", "ntens_3d,ntens_3d"),
    inout(Real, "sedel"), inout(Real, "spd"), inout(Real, "scd"), inout(Real, "rpl"),
    inout(Real, "ddsddt_3d", "ntens_3d"), inout(Real, "drplde_3d", "ntens_3d"),
    inout(Real, "drpldt"), in(Real, "strain_3d", "ntens_3d"), in(Real, "dstrain_3d", "ntens_3d"),
    in(Real, "abq_time", "2"), in(Real, "dtime"), in(Real, "temp"), in(Real, "dtemp"),
    in(Real, "predef", "1"), in(Real, "dpred", "1"), in(Text, "materl"),
    in(Int, "ndir_3d").opt("3"), in(Int, "nshr_3d").opt("3"), in(Int, "ntens_3d").opt("6"),
    in(Int, "nstatev").opt("len(ustatev)"), in(Real, "prop", "nprop"),
    in(Int, "nprop").opt("len(prop)"), in(Real, "coords", "3"), in(Real, "drot", "3,3"),
    inout(Real, "pnewdt"), in(Real, "celent"), in(Real, "defgrad_t", "3,3"),
    in(Real, "defgrad", "3,3"), in(Int, "elemid"), in(Int, "kdomintpt"), in(Int, "klayer"),
    in(Int, "ksectpt"), in(Int, "jstep", "4"), in(Int, "isubst"),
    text_length("materl_len", "materl"));

TAVRIN_CALLBACK(
    umat_for_peridigm, wrapper::UmatFn, "dfunc", inout(Real, "stress_3d", "ntens_3d"),
    inout(Real, "statev", "nstatev"), out(Real, "ddsdde_3d", "ntens_3d,ntens_3d"),
    inout(Real, "sse"), inout(Real, "spd"), inout(Real, "scd"), inout(Real, "rpl"),
    inout(Real, "ddsddt_3d", "ntens_3d"), inout(Real, "drplde_3d", "ntens_3d"),
    inout(Real, "drpldt"), in(Real, "strain_3d", "ntens_3d"), in(Real, "dstrain_3d", "ntens_3d"),
    in(Real, "abq_time", "2"), in(Real, "dt"), in(Real, "temp"), in(Real, "dtemp"),
    in(Real, "predef", "1"), in(Real, "dpred", "1"), in(Text, "materl"),
    in(Int, "ndir_3d").opt("3"), in(Int, "nshr_3d").opt("3"), in(Int, "ntens_3d").opt("6"),
    in(Int, "nstatev").opt("len(statev)"), in(Real, "props", "nprops"),
    in(Int, "nprops").opt("len(props)"), in(Real, "coords", "3"), in(Real, "drot", "3,3"),
    inout(Real, "pnewdt"), in(Real, "celent"), in(Real, "dfgrd0", "3,3"),
    in(Real, "dfgrd1", "3,3"), in(Int, "noel"), in(Int, "npt"), in(Int, "kslay"),
    in(Int, "kspt"), in(Int, "jstep", "4"), in(Int, "kinc"), text_length("materl_len", "materl"));

constexpr const char* umat_dfunc_doc =
    "the material routine with the Abaqus/Standard UMAT interface: a routine object of the library "
    "(e.g. toplevel.umat_lamina), its _cpointer, or a Python function that fills stress_3d, "
    "dsdepl_3d/ddsdde_3d and the state in place; it sees 3-D arrays in the solver order 11, 22, 33, "
    "12, 13, 23";

TAVRIN_BINDING_MODULE(
    wrapper,
    "adapters that run a material routine under another solver's interface\n\n"
    "Each adapter takes the calling solver's arguments, calls the material routine dfunc with "
    "three-dimensional arrays (6 components, 6 x 6 tangent, ndir = nshr = 3) and fixed values for "
    "what the caller does not supply, and converts the results back.  Component orders: solver "
    "(UMAT) 11, 22, 33, 12, 13, 23; ANSYS 11, 22, 33, 12, 23, 13; element forms of 4 (11, 22, 33, "
    "12) and 3 (11, 22, 12) components are expanded as axisymmetric and as plane-stress states.  "
    "dfunc is a Python function, a routine object of the library or a routine's _cpointer (called "
    "directly).  A component count other than 3, 4 or 6 latches errorhandling.errstat -2 and dfunc "
    "is not called.");

TAVRIN_ROUTINE_DOC(
    muesli_to_abq_umat, muesli_to_abq_umat,
    "UMAT call of a material routine whose UMAT interface has a material id in front (muesli).\n\n"
    "dfunc gets the stress, strain and increment expanded to 6 components, a zero 6 x 6 tangent and "
    "zero ddsddt_3d, drplde_3d; its stress and tangent are reduced to ntens components.  A Python "
    "dfunc returns the tuple (statev, sse, spd, scd, pnewdt), copied back in that order.  "
    "Layout: ntens 3, 4 or 6 (ndi, nshr not read); any other latches errorhandling.errstat -2, dfunc "
    "is not called and nothing is touched.",
    callback("dfunc", muesli_umat)
        .describe("the material routine: a Python function, or a routine object or _cpointer of the "
                  "muesli UMAT type; it sees 3-D arrays in the solver order"),
    sa::stress, sa::statev, sa::ddsdde, sa::sse, sa::spd, sa::scd, sa::rpl,
    sa::ddsddt.describe("not used: dfunc gets zeros"), sa::drplde.describe("not used: dfunc gets zeros"),
    sa::drpldt, sa::stran, sa::dstran, sa::time, sa::dtime, sa::temp, sa::dtemp, sa::predef,
    sa::dpred, sa::materl, sa::ndi.describe("direct stress components (not used)"),
    sa::nshr.describe("shear stress components (not used)"), sa::ntens, sa::nstatv, sa::props,
    sa::nprops, sa::coords, sa::drot, sa::pnewdt, sa::celent, sa::dfgrd0, sa::dfgrd1, sa::noel,
    sa::npt, sa::kslay, sa::kspt, sa::jstep, sa::kinc,
    in(Int, "matid").describe("material id passed to dfunc"), sa::materl_len);

TAVRIN_ROUTINE_DOC(
    ansys_usermat_to_abq_umat, ansys_usermat_to_abq_umat,
    "UMAT call of an ANSYS USERMAT material routine.\n\n"
    "dfunc gets the stress, strain and increment expanded to 6 components in the ANSYS order, the "
    "material id from the name's _m@n@ tag (1 when absent or below 1), ldstep = jstep[0], time = "
    "time[0], and zero keycut, sedpl, epseq, plastic strain, tsstif, epszz and var0 ... var8; its "
    "stress and tangent come back in the solver order, reduced to ntens components.  pnewdt is set "
    "to 1, spd and scd to 0.  Layout: ntens 3, 4 or 6 (ndi, nshr not read); any other latches "
    "errorhandling.errstat -2, dfunc is not called and nothing is touched.",
    callback("dfunc", ansys_usermat)
        .describe("the material routine with the ANSYS USERMAT interface: a Python function, or a "
                  "routine object or _cpointer of that type; it sees 3-D arrays in the ANSYS order "
                  "11, 22, 33, 12, 23, 13"),
    inplace(Real, "stress", "ntens").describe(
        "stress at the start, solver order 11, 22, 33, 12, 13, 23 (ntens 6), 11, 22, 33, 12 (4) or "
        "11, 22, 12 (3); updated in place to the stress at the end"),
    inplace(Real, "statev", "nstatv").describe("state variables, updated in place"), sa::ddsdde,
    inplace(Real, "sse").describe("specific elastic strain energy (dfunc's sedel), updated in place"),
    inplace(Real, "spd").describe("specific plastic dissipation: set to 0 in place"),
    inplace(Real, "scd").describe("specific creep dissipation: set to 0 in place"),
    sa::rpl.describe("not used"), sa::ddsddt.describe("not used"), sa::drplde.describe("not used"),
    sa::drpldt.describe("not used"), sa::stran, sa::dstran, sa::time, sa::dtime, sa::temp, sa::dtemp,
    sa::predef.describe("not used (at least 1 entry)"), sa::dpred.describe("not used (at least 1 entry)"),
    sa::materl.describe("material name, 80 characters; its _m@n@ tag gives dfunc's material id"),
    sa::ndi.describe("direct stress components (not used)"),
    sa::nshr.describe("shear stress components (not used)"), sa::ntens, sa::nstatv, sa::props,
    sa::nprops, sa::coords, sa::drot.describe("not used"),
    inplace(Real, "pnewdt").describe("suggested ratio of the next time increment: set to 1 in place"),
    sa::celent.describe("not used"), sa::dfgrd0, sa::dfgrd1, sa::noel, sa::npt, sa::kslay, sa::kspt,
    sa::jstep.describe("step number (passed as the load step), procedure type, large-deformation "
                       "flag, perturbation flag"),
    sa::kinc.describe("increment number (passed as the substep)"), sa::materl_len);

TAVRIN_ROUTINE_DOC(
    abq_umat_to_ansys_usermat, abq_umat_to_ansys_usermat,
    "ANSYS USERMAT call of a UMAT material routine.\n\n"
    "dfunc gets the stress, strain and increment in the solver order, expanded to 6 components, with "
    "material name ABQ_WRAPPER, time (time, 1.7976931348623157e308), jstep (ldstep, 2147483647, 1, "
    "0), identity drot, celent 1, pnewdt 1 and zero predef, dpred, spd, scd, rpl, drpldt, ddsddt, "
    "drplde.  Its stress and tangent come back in the ANSYS order.  tsstif[0] = G13 of the inverted "
    "tangent, tsstif[1] = G23 too for 3 or 4 components with ndirect 2 or 3; for plane stress "
    "(ndirect 2, ncomp 3) epszz = -nu13/E1*s11 - nu23/E2*s22.  A tangent that cannot be inverted "
    "latches -2 (matrix inversion) and gives those values as 0.  " TAVRIN_ANSYS_LAYOUT "  "
    TAVRIN_ANSYS_FOUR_COMPONENTS,
    callback("dfunc", umat_for_ansys).describe(umat_dfunc_doc), sa::matid.describe("material id (not used)"),
    sa::elemid, sa::kdomintpt, sa::klayer, sa::ksectpt, sa::ldstep, sa::isubst, sa::keycut, sa::ndirect,
    sa::nshear.describe("shear stress components (not used)"), sa::ncomp, sa::nstatev, sa::nprop,
    sa::ans_time, sa::ans_dtime, sa::ans_temp, sa::ans_dtemp, sa::ans_stress, sa::ustatev, sa::dsdepl,
    inplace(Real, "sedel").describe("specific elastic strain energy (dfunc's sse), updated in place"),
    inplace(Real, "sedpl").describe("specific plastic work: set to 0 in place"),
    inplace(Real, "epseq").describe("equivalent plastic strain: set to 0 in place"), sa::ans_strain,
    sa::ans_dstrain, sa::epspl.describe("plastic strain (not used)"), sa::prop, sa::coords,
    inplace(Real, "var0").describe("reserved value (not changed)"), sa::defgrad_t, sa::defgrad,
    sa::tsstif, sa::epszz, inplace(Real, "var1").describe("reserved value (not changed)"),
    inplace(Real, "var2").describe("reserved value (not changed)"),
    inplace(Real, "var3").describe("reserved value (not changed)"),
    inplace(Real, "var4").describe("reserved value (not changed)"),
    inplace(Real, "var5").describe("reserved value (not changed)"),
    inplace(Real, "var6").describe("reserved value (not changed)"),
    inplace(Real, "var7").describe("reserved value (not changed)"),
    inplace(Real, "var8").describe("reserved value (not changed)"));

TAVRIN_ROUTINE_DOC(
    abq_umat_to_peridigm_upermat, abq_umat_to_peridigm_upermat,
    "Peridigm-style block call of a UMAT material routine: stressnew = stressold + the stress "
    "dfunc returns from the old stress, a zero total strain and the strain increment.\n\n"
    "For each point (row) in order, dfunc gets the old stress expanded to 6 components, a zero "
    "total strain, the row's strain increment and state, zero energies and tangent, material name "
    "ABQ_WRAPPER, time (steptime, totaltime), dtime dt, jstep (1, 2147483647, 1, 0), coordinates "
    "(1, 1, 1), identity drot and deformation gradients, element, point, layer, section point and "
    "increment 1.  A law of the total strain (toplevel.umat_lamina) thus returns the stress "
    "increment.  " TAVRIN_PERIDIGM_LAYOUT "  With npoint 0 nothing is done.",
    callback("dfunc", umat_for_peridigm).describe(umat_dfunc_doc),
    sa::pd_stressnew, sa::pd_statenew, sa::pd_stressold, sa::pd_stateold, sa::pd_straininc,
    in(Real, "props", "nprops").describe("material constants passed to dfunc"),
    sa::steptime, sa::totaltime, sa::dt, sa::pd_matid, sa::pd_npoint, sa::pd_ndir, sa::pd_nshr, sa::pd_nstatev,
    sa::nprops);

}  // namespace
}  // namespace tavrin::bind
