// Argument descriptors of the solvers' user-material interfaces, shared by
// the material routines and the adapters of the solver coupling.
//
// UMAT (Abaqus/Standard): the host's arguments as a Python caller passes
// them; the material name's hidden length is computed.  USERMAT (ANSYS):
// the host's scalars and arrays, in the ANSYS component order.
#pragma once

#include "engine/descriptor.hpp"

namespace tavrin::bind::solver_args {
using namespace dsl;

// --- Abaqus/Standard UMAT ----------------------------------------------------
inline constexpr Arg stress = inout(Real, "stress", "ntens").describe(
    "stress at the start of the increment, solver order 11, 22, 33, 12, 13, 23 (ntens 6), 11, 22, 33, "
    "12 (4) or 11, 22, 12 (3); returned at its end");
inline constexpr Arg statev = inout(Real, "statev", "nstatv").describe("solution-dependent state variables");
inline constexpr Arg ddsdde =
    out(Real, "ddsdde", "ntens,ntens").describe("material tangent dsigma/deps (column j: by strain j)");
inline constexpr Arg sse = inout(Real, "sse").describe("specific elastic strain energy");
inline constexpr Arg spd = inout(Real, "spd").describe("specific plastic dissipation");
inline constexpr Arg scd = inout(Real, "scd").describe("specific creep dissipation");
inline constexpr Arg rpl = in(Real, "rpl").describe("volumetric heat generation per unit time");
inline constexpr Arg ddsddt = in(Real, "ddsddt", "ntens").describe("dsigma/dT, ntens entries");
inline constexpr Arg drplde = in(Real, "drplde", "ntens").describe("d rpl/d eps, ntens entries");
inline constexpr Arg drpldt = in(Real, "drpldt").describe("d rpl/dT");
inline constexpr Arg stran =
    in(Real, "stran", "ntens").describe("total strain at the start of the increment, engineering shears");
inline constexpr Arg dstran = in(Real, "dstran", "ntens").describe("strain increment, engineering shears");
inline constexpr Arg time =
    in(Real, "time", "2").describe("step time and total time at the start of the increment");
inline constexpr Arg dtime = in(Real, "dtime").describe("time increment");
inline constexpr Arg temp = in(Real, "temp").describe("temperature at the start of the increment");
inline constexpr Arg dtemp = in(Real, "dtemp").describe("temperature increment");
inline constexpr Arg predef =
    in(Real, "predef", "1").describe("predefined field variables at the start (at least 1 entry)");
inline constexpr Arg dpred = in(Real, "dpred", "1").describe("their increments (at least 1 entry)");
inline constexpr Arg materl =
    in(Text, "materl", "80").describe("material name, 80 characters (tags such as _l@3@ name a ply)");
inline constexpr Arg materl_len = text_length("materl_len", "materl");
inline constexpr Arg ndi = in(Int, "ndi").describe("direct stress components: 3, or 2 for plane stress");
inline constexpr Arg nshr = in(Int, "nshr").describe("shear stress components: 1 or 3");
inline constexpr Arg ntens =
    in(Int, "ntens").opt("len(stress)").describe("stress components ndi + nshr: 3, 4 or 6");
inline constexpr Arg nstatv = in(Int, "nstatv").opt("len(statev)").describe("number of state variables");
inline constexpr Arg props = in(Real, "props", "nprops").describe("material constants");
inline constexpr Arg nprops = in(Int, "nprops").opt("len(props)").describe("number of material constants");
inline constexpr Arg coords = in(Real, "coords", "3").describe("coordinates of the point");
inline constexpr Arg drot = in(Real, "drot", "3,3").describe("rotation increment");
inline constexpr Arg pnewdt =
    inout(Real, "pnewdt").describe("suggested ratio of the next time increment to this one");
inline constexpr Arg celent = in(Real, "celent").describe("characteristic element length");
inline constexpr Arg dfgrd0 = in(Real, "dfgrd0", "3,3").describe("deformation gradient at the start");
inline constexpr Arg dfgrd1 = in(Real, "dfgrd1", "3,3").describe("deformation gradient at the end");
inline constexpr Arg noel = in(Int, "noel").describe("element number");
inline constexpr Arg npt = in(Int, "npt").describe("integration point number");
inline constexpr Arg kslay = in(Int, "kslay").describe("layer number (composite sections)");
inline constexpr Arg kspt = in(Int, "kspt").describe("section point number within the layer");
inline constexpr Arg jstep =
    in(Int, "jstep", "4").describe("step number, procedure type, large-deformation flag, perturbation flag");
inline constexpr Arg kinc = in(Int, "kinc").describe("increment number");

// --- Abaqus/Explicit VUMAT ---------------------------------------------------
// Block arrays have one row per point; vectors of ndir + nshr components
// are in the order 11, 22, 33, 12, 23, 31 with tensor shear strains.
inline constexpr Arg nblock = in(Int, "nblock").opt("shape(coordmp,0)").describe("number of points in the block");
inline constexpr Arg v_ndir = in(Int, "ndir").describe("direct components: 3 (or 2)");
inline constexpr Arg v_nshr = in(Int, "nshr").opt("shape(relspininc,1)").describe("shear components: 3 or 1");
inline constexpr Arg nstatev_block = in(Int, "nstatev").opt("shape(stateold,1)").describe("state variables per point");
inline constexpr Arg nfieldv = in(Int, "nfieldv").opt("shape(fieldold,1)").describe("field variables per point");
inline constexpr Arg lanneal = in(Int, "lanneal").describe("1 in an annealing step");
inline constexpr Arg steptime = in(Real, "steptime").describe("step time");
inline constexpr Arg totaltime = in(Real, "totaltime").describe("total time");
inline constexpr Arg dt = in(Real, "dt").describe("time increment");
inline constexpr Arg cmname = in(Text, "cmname", "80").describe("material name, 80 characters");
inline constexpr Arg cmname_len = text_length("cmname_len", "cmname");
inline constexpr Arg coordmp = in(Real, "coordmp", "nblock,*").describe("coordinates of the points");
inline constexpr Arg charlength = in(Real, "charlength", "nblock,*").describe("characteristic element lengths");
inline constexpr Arg density = in(Real, "density", "nblock").describe("density of each point");
inline constexpr Arg straininc = in(Real, "straininc", "nblock,ndir+nshr").describe("strain increment, one row per point");
// The strain increment of a routine that writes the thickness increment of
// its plane-stress points back into it (column 3 for ndir 3, nshr 1).
inline constexpr Arg straininc_updated = inplace(Real, "straininc", "nblock,ndir+nshr");
inline constexpr Arg relspininc = in(Real, "relspininc", "nblock,nshr").describe("relative spin increment");
inline constexpr Arg tempold = in(Real, "tempold", "nblock").describe("temperature at the start");
inline constexpr Arg stretchold = in(Real, "stretchold", "nblock,ndir+nshr").describe("stretch tensor at the start");
inline constexpr Arg defgradold = in(Real, "defgradold", "nblock,ndir+2*nshr").describe("deformation gradient at the start");
inline constexpr Arg fieldold = in(Real, "fieldold", "nblock,nfieldv").describe("field variables at the start");
inline constexpr Arg stressold = in(Real, "stressold", "nblock,ndir+nshr").describe("stress at the start, one row per point");
inline constexpr Arg stateold = in(Real, "stateold", "nblock,nstatev").describe("state variables at the start, one row per point");
inline constexpr Arg enerinternold = in(Real, "enerinternold", "nblock").describe("internal energy per unit mass at the start");
inline constexpr Arg enerinelasold = in(Real, "enerinelasold", "nblock").describe("inelastic energy per unit mass at the start");
inline constexpr Arg tempnew = in(Real, "tempnew", "nblock").describe("temperature at the end");
inline constexpr Arg stretchnew = in(Real, "stretchnew", "nblock,ndir+nshr").describe("stretch tensor at the end");
inline constexpr Arg defgradnew = in(Real, "defgradnew", "nblock,ndir+2*nshr").describe("deformation gradient at the end");
inline constexpr Arg fieldnew = in(Real, "fieldnew", "nblock,nfieldv").describe("field variables at the end");
inline constexpr Arg stressnew = out(Real, "stressnew", "nblock,ndir+nshr").describe("stress at the end, one row per point");
inline constexpr Arg statenew = out(Real, "statenew", "nblock,nstatev").describe("state variables at the end, one row per point");
inline constexpr Arg enerinternnew = out(Real, "enerinternnew", "nblock").describe("internal energy per unit mass at the end");
inline constexpr Arg enerinelasnew = out(Real, "enerinelasnew", "nblock").describe("inelastic energy per unit mass at the end");

// --- ANSYS USERMAT -----------------------------------------------------------
inline constexpr Arg matid = in(Int, "matid").describe("material id");
inline constexpr Arg elemid = in(Int, "elemid").describe("element number");
inline constexpr Arg kdomintpt = in(Int, "kdomintpt").describe("integration point number");
inline constexpr Arg klayer = in(Int, "klayer").describe("layer number");
inline constexpr Arg ksectpt = in(Int, "ksectpt").describe("section point number");
inline constexpr Arg ldstep = in(Int, "ldstep").describe("load step number");
inline constexpr Arg isubst = in(Int, "isubst").describe("substep number");
inline constexpr Arg keycut =
    out(Int, "keycut").describe("1 asks the host to cut the time increment back, 0 otherwise");
inline constexpr Arg ndirect = in(Int, "ndirect").describe("direct stress components: 2 or 3");
inline constexpr Arg nshear = in(Int, "nshear").describe("shear stress components: 1 or 3");
inline constexpr Arg ncomp =
    in(Int, "ncomp").opt("len(stress)").describe("stress components ndirect + nshear: 3, 4 or 6");

// What an element of 4 components is to abq_umat_to_ansys_usermat and the
// ANSYS entries that run a UMAT through it.
#define TAVRIN_ANSYS_FOUR_COMPONENTS                                                                            \
  "With 4 components the element is a section through the ply's thickness: element axes 1, 2, 3 are ply "      \
  "directions 1, 3, 2, so the element's 22 entries are the ply's through-thickness ones and its in-plane shear " \
  "12 takes G13.  A plane-strain slice in the ply's own plane differs whenever E2 != E3 or G12 != G13."

// The layouts of abq_umat_to_ansys_usermat and the ANSYS entries that run a
// UMAT through it.
#define TAVRIN_ANSYS_LAYOUT                                                                                       \
  "Layout: ncomp 3, 4 or 6 (ndirect only selects the plane-stress and shell outputs, nshear not read); any "      \
  "other latches -2 and touches nothing."

inline constexpr Arg nstatev = in(Int, "nstatev").opt("len(ustatev)").describe("number of state variables");
inline constexpr Arg nprop = in(Int, "nprop").opt("len(prop)").describe("number of material constants");
inline constexpr Arg ans_time = in(Real, "time").describe("current time");
inline constexpr Arg ans_dtime = in(Real, "dtime").describe("time increment");
inline constexpr Arg ans_temp = in(Real, "temp").describe("temperature at the start of the increment");
inline constexpr Arg ans_dtemp = in(Real, "dtemp").describe("temperature increment");
inline constexpr Arg ans_stress = inplace(Real, "stress", "ncomp").describe(
    "stress at the start, ANSYS order 11, 22, 33, 12, 23, 13 (ncomp 6), 11, 22, 33, 12 (4) or "
    "11, 22, 12 (3); updated in place to the stress at the end");
inline constexpr Arg ustatev =
    inplace(Real, "ustatev", "nstatev").describe("state variables, updated in place");
inline constexpr Arg dsdepl =
    out(Real, "dsdepl", "ncomp,ncomp").describe("material tangent, rows and columns in the ANSYS order");
inline constexpr Arg ans_strain =
    in(Real, "strain", "ncomp").describe("total strain at the start, ANSYS order, engineering shears");
inline constexpr Arg ans_dstrain = in(Real, "dstrain", "ncomp").describe("strain increment, ANSYS order");
inline constexpr Arg epspl = in(Real, "epspl", "ncomp").describe("plastic strain at the start, ANSYS order");
inline constexpr Arg prop = in(Real, "prop", "nprop").describe("material constants");
inline constexpr Arg defgrad_t = in(Real, "defgrad_t", "3,3").describe("deformation gradient at the start");
inline constexpr Arg defgrad = in(Real, "defgrad", "3,3").describe("deformation gradient at the end");
inline constexpr Arg tsstif = inplace(Real, "tsstif", "2").describe(
    "transverse shear stiffness (G13, G23) for the host's shell elements, updated in place");
inline constexpr Arg epszz = out(Real, "epszz").describe("thickness strain of a plane-stress state");

// --- Peridigm block interface ---------------------------------------------------
// The layouts of abq_umat_to_peridigm_upermat and the entries that run a UMAT
// through it.
#define TAVRIN_PERIDIGM_LAYOUT                                                                                    \
  "Layout: npoint >= 0; ndir and nshr 0 to 3, ndir + nshr = 3, 4 or 6; any other latches -2 and touches "         \
  "nothing."

// One row per point; vectors of ndir + nshr components in the solver order.
inline constexpr Arg pd_stressnew =
    out(Real, "stressnew", "npoint,ndir+nshr").describe("stress at the end, one row per point, solver order");
inline constexpr Arg pd_statenew =
    out(Real, "statenew", "npoint,nstatev").describe("state variables at the end, one row per point");
inline constexpr Arg pd_stressold = in(Real, "stressold", "npoint,ndir+nshr").describe(
    "stress at the start, one row per point, solver order 11, 22, 33, 12, 13, 23 (6 components), "
    "11, 22, 33, 12 (4) or 11, 22, 12 (3)");
inline constexpr Arg pd_stateold =
    in(Real, "stateold", "npoint,nstatev").describe("state variables at the start, one row per point");
inline constexpr Arg pd_straininc =
    in(Real, "straininc", "npoint,ndir+nshr").describe("strain increment, one row per point, engineering shears");
inline constexpr Arg pd_matid = in(Int, "matid").describe("material id (not used)");
inline constexpr Arg pd_npoint = in(Int, "npoint").opt("shape(stressold,0)").describe("number of points");
inline constexpr Arg pd_ndir = in(Int, "ndir").describe("direct stress components");
inline constexpr Arg pd_nshr = in(Int, "nshr").describe("shear stress components");
inline constexpr Arg pd_nstatev = in(Int, "nstatev").opt("shape(stateold,1)").describe("state variables per point");

}  // namespace tavrin::bind::solver_args
