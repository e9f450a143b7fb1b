// Module toplevel: the linear-elastic ply in every solver convention.
#include "engine/descriptor.hpp"
#include "solver/lamina.hpp"
#include "tables/solver_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace sa = solver_args;
TAVRIN_BINDING_MODULE(
    toplevel,
    "solver entry points: material routines, damage field routines, user elements, job control\n\n"
    "What a finite-element solver calls at its phases and integration points, in each solver's own "
    "argument list: Abaqus/Standard (umat_*, usdfld_*), Abaqus/Explicit (vumat_*, vusdfld_*), ANSYS "
    "(usermat_*), Peridigm (upermat_*) and Marc (hypela_*).  Stress and strain vectors are in the "
    "solver order 11, 22, 33, 12, 13, 23 (Abaqus/Explicit: 11, 22, 33, 12, 23, 31 with tensor shear "
    "increments; ANSYS: 11, 22, 33, 12, 23, 13), plane states in 11, 22, 33, 12 or 11, 22, 12; strains "
    "carry engineering shears unless said otherwise.  Ply and section indices, flags and element rows "
    "are 1-based.  The routines read the shared tables of jobdata, materialdata, sectiondata, "
    "elementdata and damagedata as each says; failures are latched in errorhandling (errstat, "
    "errstring), never raised.");

constexpr const char* not_used = "not used";

TAVRIN_ROUTINE_DOC(
    umat_lamina, umat_lamina,
    "Abaqus/Standard UMAT of a linear-elastic orthotropic ply: secant stress D·(stran + dstran), "
    "specific energy ½ stress·(stran + dstran), tangent D, the stress copied into the state.\n\n"
    "D is the ply stiffness of the nine constants (props, or with nprops = 1 "
    "materialdata::peprops(1..9, ply, section) at ply = statev[20], section = statev[21] truncated, "
    "within sectiondata::nplies and sectiondata::nsec), degraded in a step of kind 5 (DIC, "
    "jobdata::stepid(jstep[0]); no step table or a step outside it: no degradation) by the mode flags "
    "statev[7..11] (fibre, matrix, delamination, core, buckled delamination; only exactly 1.0 counts) "
    "and the residual factor statev[17].  spd and scd are set to 0; rpl, ddsddt, drplde, drpldt and "
    "pnewdt are not changed.  Latched (errorhandling.errstat -2) with a zero stiffness (stress, "
    "tangent, energy 0): props of a count other than 2, 5 or 9; with nprops = 1 fewer than 22 state "
    "variables, no materialdata::peprops, or slots naming no ply and section.  A DIC step with fewer "
    "than 18 state variables latches -2 and stays undegraded.  Layout: ndi + nshr = ntens, at most "
    "three of each, ntens 3, 4 or 6; any other latches -2 ('Unsupported dimension in "
    "GetNyeStiffnessMatrix') and touches nothing.",
    sa::stress,
    sa::statev.describe("state variables: slots 1..ndi and 4..3+nshr receive the new stress when "
                        "nstatv > 5 (plane stress: 1, 2, 4); read: 8-12 mode flags and 18 residual "
                        "factor in a DIC step, 21 and 22 ply and section (1-based, as reals) when "
                        "nprops = 1"),
    sa::ddsdde, sa::sse.describe("specific elastic strain energy (replaced)"),
    sa::spd.describe("specific plastic dissipation: 0"), sa::scd.describe("specific creep dissipation: 0"),
    sa::rpl.describe(not_used), sa::ddsddt.describe(not_used), sa::drplde.describe(not_used),
    sa::drpldt.describe(not_used), sa::stran, sa::dstran, sa::time.describe(not_used),
    sa::dtime.describe(not_used), sa::temp.describe(not_used), sa::dtemp.describe(not_used),
    sa::predef.describe("not used (at least 1 entry)"), sa::dpred.describe("not used (at least 1 entry)"),
    sa::materl.describe("material name, 80 characters (not used)"), sa::ndi, sa::nshr, sa::ntens, sa::nstatv,
    sa::props.describe("ply constants: E, nu (2 values), transversely isotropic (5) or E1, E2, E3, nu12, "
                       "nu13, nu23, G12, G13, G23 (9); one value: take them from the material tables"),
    sa::nprops, sa::coords.describe(not_used), sa::drot.describe(not_used),
    sa::pnewdt.describe("suggested time increment ratio (not changed)"), sa::celent.describe(not_used),
    sa::dfgrd0.describe(not_used), sa::dfgrd1.describe(not_used), sa::noel.describe(not_used),
    sa::npt.describe(not_used), sa::kslay.describe(not_used), sa::kspt.describe(not_used),
    sa::jstep.describe("step number (its kind from jobdata::stepid), procedure, large-deformation and "
                       "perturbation flags (not used)"),
    sa::kinc.describe(not_used), sa::materl_len);

TAVRIN_ROUTINE_DOC(
    vumat_lamina, vumat_lamina,
    "Abaqus/Explicit VUMAT of a linear-elastic orthotropic ply: stressnew = stressold + D·straininc "
    "(tensor shears doubled) and the internal energy per unit mass, for a block of points.\n\n"
    "Six components are in the order 11, 22, 33, 12, 23, 31; four (ndir 3, nshr 1) take the "
    "plane-stress stiffness (stress 33 unchanged) and replace the thickness increment straininc[:, 2] "
    "by -nu13/E1*ds11 - nu23/E2*ds22 before the energy.  statenew and enerinelasnew are zero.  Props "
    "of a count other than 2, 5 or 9 latch errorhandling.errstat -2 and leave stress and energy "
    "unchanged.  Layout: nblock >= 0; ndir and nshr 0 to 3, ndir + nshr = 3, 4 or 6; any other latches "
    "-2 and touches nothing.",
    sa::nblock, sa::v_ndir, sa::v_nshr, sa::nstatev_block, sa::nfieldv, sa::nprops,
    sa::lanneal.describe(not_used), sa::steptime.describe(not_used), sa::totaltime.describe(not_used),
    sa::dt.describe(not_used), sa::cmname.describe("material name (not used)"), sa::coordmp.describe(not_used),
    sa::charlength.describe(not_used),
    sa::props.describe("ply constants: 2, 5 or 9 values (E1, E2, E3, nu12, nu13, nu23, G12, G13, G23)"),
    sa::density, sa::straininc_updated.describe(
        "strain increment, one row per point, tensor shears; a float64 Fortran-ordered array, updated in "
        "place: for ndir 3, nshr 1 column 3 becomes the thickness increment"),
    sa::relspininc.describe(not_used), sa::tempold.describe(not_used), sa::stretchold.describe(not_used),
    sa::defgradold.describe(not_used), sa::fieldold.describe(not_used), sa::stressold,
    sa::stateold.describe(not_used), sa::enerinternold, sa::enerinelasold.describe(not_used),
    sa::tempnew.describe(not_used), sa::stretchnew.describe(not_used), sa::defgradnew.describe(not_used),
    sa::fieldnew.describe(not_used), sa::stressnew, sa::statenew.describe("state variables at the end: zero"),
    sa::enerinternnew, sa::enerinelasnew.describe("inelastic energy per unit mass: zero"), sa::cmname_len);

TAVRIN_ROUTINE_DOC(
    usermat_lamina, usermat_lamina,
    "ANSYS USERMAT of the linear-elastic ply: umat_lamina run through "
    "wrapper.abq_umat_to_ansys_usermat.\n\n"
    "The stress and tangent are in the ANSYS order 11, 22, 33, 12, 23, 13; tsstif[0] = G13 of the "
    "tangent (and tsstif[1] = G23 for 3 or 4 components with ndirect 2 or 3), epszz the thickness "
    "strain of plane stress.  Failures are latched as umat_lamina's.  " TAVRIN_ANSYS_LAYOUT "  "
    TAVRIN_ANSYS_FOUR_COMPONENTS,
    sa::matid.describe("material id (not used)"), sa::elemid, sa::kdomintpt, sa::klayer, sa::ksectpt,
    sa::ldstep.describe("load step number: its kind from jobdata::stepid"), sa::isubst, sa::keycut,
    sa::ndirect, sa::nshear.describe("shear stress components (not used)"), sa::ncomp, sa::nstatev,
    sa::nprop, sa::ans_time, sa::ans_dtime, sa::ans_temp, sa::ans_dtemp, sa::ans_stress,
    sa::ustatev.describe("state variables as umat_lamina's statev, updated in place"), sa::dsdepl,
    in(Real, "sedel").describe("specific elastic energy (the value computed is not returned)"),
    in(Real, "sedpl").describe("specific plastic work (not returned)"),
    in(Real, "epseq").describe("equivalent plastic strain (not returned)"), sa::ans_strain,
    sa::ans_dstrain, sa::epspl.describe(not_used),
    sa::prop.describe("ply constants as umat_lamina's props"), sa::coords,
    in(Real, "var0").describe("reserved (not used)"), sa::defgrad_t, sa::defgrad, sa::tsstif, sa::epszz,
    in(Real, "var1").describe("reserved (not used)"), in(Real, "var2").describe("reserved (not used)"),
    in(Real, "var3").describe("reserved (not used)"), in(Real, "var4").describe("reserved (not used)"),
    in(Real, "var5").describe("reserved (not used)"), in(Real, "var6").describe("reserved (not used)"),
    in(Real, "var7").describe("reserved (not used)"), in(Real, "var8").describe("reserved (not used)"));

TAVRIN_ROUTINE_DOC(
    upermat_lamina, upermat_lamina,
    "Peridigm block entry of the linear-elastic ply: stressnew = stressold + D·straininc per point "
    "(umat_lamina through wrapper.abq_umat_to_peridigm_upermat).\n\n"
    "Failures are latched as umat_lamina's.  " TAVRIN_PERIDIGM_LAYOUT,
    sa::pd_stressnew, sa::pd_statenew, sa::pd_stressold, sa::pd_stateold, sa::pd_straininc,
    in(Real, "props", "nprops").describe("ply constants as umat_lamina's props"),
    sa::steptime, sa::totaltime, sa::dt, sa::pd_matid, sa::pd_npoint, sa::pd_ndir, sa::pd_nshr, sa::pd_nstatev,
    sa::nprops);

TAVRIN_ROUTINE_DOC(
    hypela_lamina, hypela_lamina,
    "Marc HYPELA2 entry of the ply: computes no material law; returns error_code 0 and zero d, g "
    "and s.\n\nLayout: any ngens (none written when ngens <= 0).",
    out(Real, "d", "ngens,ngens").describe("material tangent: zero"),
    out(Real, "g", "ngens").describe("thermal stress derivative: zero"),
    in(Real, "e", "ngens").describe("total strain (not used)"),
    in(Real, "de", "ngens").describe("strain increment (not used)"),
    out(Real, "s", "ngens").describe("stress: zero"), in(Real, "t", "nstats").describe("state variables (not used)"),
    in(Real, "dt", "nstats").describe("their increments (not used)"),
    in(Int, "ngens").opt("len(e)").describe("stress components"),
    in(Int, "n", "2").describe("element number and integration point (not used)"),
    in(Int, "nn").describe("integration point (not used)"), in(Int, "kcus", "2").describe("layer numbers (not used)"),
    in(Int, "matus", "2").describe("material ids (not used)"), in(Int, "ndi").describe("direct components (not used)"),
    in(Int, "nshear").describe("shear components (not used)"),
    in(Real, "disp", "ndeg,nnode").describe("nodal displacements (not used)"),
    in(Real, "dispt", "ndeg,nnode").describe("their increments (not used)"),
    in(Real, "coord", "ncrd,nnode").describe("nodal coordinates (not used)"),
    in(Real, "ffn", "itel,3").describe("deformation gradient at the start (not used)"),
    in(Real, "frotn", "itel,3").describe("its rotation (not used)"),
    in(Real, "strechn", "itel").describe("its principal stretches (not used)"),
    in(Real, "eigvn", "itel,3").describe("their directions (not used)"),
    in(Real, "ffn1", "itel,3").describe("deformation gradient at the end (not used)"),
    in(Real, "frotn1", "itel,3").describe("its rotation (not used)"),
    in(Real, "strechn1", "itel").describe("its principal stretches (not used)"),
    in(Real, "eigvn1", "itel,3").describe("their directions (not used)"),
    in(Int, "ncrd").describe("coordinates per node (not used)"),
    in(Int, "itel").opt("shape(ffn,0)").describe("dimension of the deformation gradients"),
    in(Int, "ndeg").opt("shape(disp,0)").describe("degrees of freedom per node"),
    in(Int, "ndm").describe("spatial dimension (not used)"),
    in(Int, "nnode").opt("shape(disp,1)").describe("nodes of the element"),
    in(Int, "jtype").describe("element type (not used)"), in(Int, "lclass", "2").describe("element class (not used)"),
    in(Int, "ifr").describe("finite-rotation flag (not used)"), in(Int, "ifu").describe("updated-Lagrange flag (not used)"),
    in(Int, "nstats").opt("len(t)").describe("number of state variables"),
    in(Int, "isunit").describe("unit number (not used)"),
    in(Int, "idata", "len_idata").describe("user integer data (not used)"),
    in(Real, "rdata", "len_rdata").describe("user real data (not used)"),
    in(Text, "cdata", "8*len_cdata").describe("user texts, 8 characters each (not used)"),
    in(Int, "len_idata").opt("len(idata)").describe("entries of idata"),
    in(Int, "len_rdata").opt("len(rdata)").describe("entries of rdata"),
    in(Int, "len_cdata").describe("number of 8-character texts in cdata"),
    out(Int, "error_code").describe("0"));

}  // namespace
}  // namespace tavrin::bind
