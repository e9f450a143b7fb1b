// Module toplevel: cure heat, cure and thermal strains, and the Prony
// viscoelastic material routine of a curing ply.
#include "solver/prony_material.hpp"
#include "tables/toplevel_material_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace ma = material_args;
namespace sa = solver_args;

TAVRIN_BINDING_MODULE(toplevel, "solver entry points: material routines, user elements, damage fields, job control.");

#define TAVRIN_CURE_TABLES \
    "Reads materialdata::cuprops(:, kind, ply, section) of the ply and section that the name's tags '_l@n@' and " \
    "'_s@n@' select (section: the tag's position in sectiondata::secidlist, 1 when not listed): kinds 5 (c1, c2 of " \
    "the largest degree of cure 1/(1 + exp(c2 - c1(T - 273.15)))), 6 (Tg0, Tg∞ in °C, λ of DiBenedetto's law) " \
    "and 7 (the cure-rate fit, rows of 8, up to its first not-given entry).  A needed entry not given (no table, a " \
    "ply or section outside it, the marker 1.7976931348623157e308) latches -2 and leaves the state unchanged."

constexpr Arg cure_state(const char* extent) {
  return inout(Real, "svar", extent)
      .describe("state: 1 degree of cure α, 2 cure rate (1/s), 3 glass transition temperature Tg (K), 4 largest α "
                "reached");
}

TAVRIN_ROUTINE_DOC(hetval_prony, toplevel::hetval_prony,
                   "heat flux of the cure reaction over an increment, with the advanced degree of cure and glass "
                   "transition temperature\n\n" TAVRIN_CURE_TABLES
                   "  Reads kind 2 (the heat of reaction).  The state needs 4 values.",
                   in(Text, "cmname", "80").describe("material name, 80 characters (tags _l@n@, _s@n@)"),
                   in(Real, "temp", "2").describe("temperature (K) and its increment; the "
                                                                     "cure runs at temp(1)"),
                   in(Real, "time", "2").describe("step time and total time (s); not used"),
                   sa::dtime.describe("time increment (s)"),
                   cure_state("4"),
                   out(Real, "flux", "2").describe("flux(1): heat of reaction (materialdata::cuprops kind 2) × cure "
                                                   "rate, 0 when cure data are missing; flux(2) not written"),
                   ma::predef, ma::dpred, text_length("cmname_len", "cmname"));
TAVRIN_ROUTINE_DOC(
    uexpan_prony, toplevel::uexpan_prony,
    "thermal and chemical shrinkage strain increments of a curing ply, glassy below Tg, liquid before and rubbery "
    "from the gel point\n\n"
    TAVRIN_CURE_TABLES "  Also reads kinds 1 (gel point), 3 (expansion coefficients, glassy 1-3, rubbery 4-6) "
    "and 4 (shrinkage coefficients, glassy 1-3, rubbery 4-6) as the state needs them.  At total time 0 the cure starts afresh "
    "(slots 1-3 from 0).  Fewer than 508 state variables: -2 and nothing written.",
    out(Real, "expan", "6").describe("strain increments 11, 22, 33 (thermal + chemical), shears 0"),
    out(Real, "dexpandt", "6").describe("derivative of expan by temperature: 0"),
    in(Real, "temp", "2").describe("temperature at the start of the increment and its increment (K)"),
    in(Real, "time", "2").describe("step time and total time (s); total time 0 restarts the cure"),
    sa::dtime.describe("time increment (s)"),
    ma::predef, ma::dpred,
    cure_state("nstatv").describe("state: 1-4 degree of cure, rate, Tg (K), largest degree; 7, 8 shrinkage "
                                  "increments 11, 22; 503-505 accumulated thermal, 506-508 chemical strains"),
    in(Text, "cmname", "80").describe("material name, 80 characters (tags _l@n@, _s@n@)"),
    in(Int, "nstatv").opt("len(svar)").describe("state variables, at least 508"),
    in(Int, "noel").describe("element number; not used"), text_length("cmname_len", "cmname"));

TAVRIN_ROUTINE_DOC(
    umat_prony, toplevel::umat_prony,
    "stress and tangent of a curing transversely isotropic ply whose five stiffness entries relax by their own "
    "Prony series, relaxation times shifted around the glass transition temperature\n\n"
    "Elastic below 273.15 K, fully relaxed from 573.15 K, viscoelastic between.  Shift factors from "
    "materialdata::cuprops kind 8 of the tagged ply (C1, C2, B, ΔT of factor 1, then of factor 2; a factor "
    "without data copies the first; none: both 1) around Tg = svar(3).  The internal stresses are updated by "
    "backward Euler, first order in dtime: a held strain relaxes with an error of order dtime/tau (one term "
    "of weight 0.4 with tau 0.5 held at dtime 0.1: the stress up to 1.9 % high), so keep dtime well below the "
    "shortest shifted relaxation time.  Needs 6 "
    "components, 510 state variables, histories ending before slot 501 and every pair within props: -2, outputs "
    "unchanged, otherwise.  Layout: ntens 6 (ndi, nshr not read).",
    inout(Real, "stress", "ntens").describe("stress (MPa), solver order 11, 22, 33, 12, 13, 23"),
    inout(Real, "svar", "nstatv")
        .describe("state: 1-4 cure state (3: Tg in K), from 9 the internal stresses h11 (N11 values), h12, h13, h21 "
                  "(N12 each), h22 (N22), h23 (N23), h31 (N12), h32 (N23), h33 (N22), h44, h55 (N44 each), h66 "
                  "from C22 (N22) and from C23 (N23); 501, 502 D11, D22 of the tangent; 509, 510 log10 of the "
                  "shift factors"),
    out(Real, "ddsdde", "ntens,ntens").describe("tangent stiffness (MPa), solver order"),
    sa::sse.describe("specific elastic strain energy; returned as received"), ma::spd, ma::scd, ma::rpl,
    ma::ddsddt("ntens"), ma::drplde("ntens"), ma::drpldt, sa::stran, sa::dstran, ma::time,
    sa::dtime.describe("time increment, in the unit of the relaxation times"), ma::temp, ma::dtemp, ma::predef,
    ma::dpred, in(Text, "cmname", "80").describe("material name, 80 characters (tags _l@n@, _s@n@ select the "
                                                 "shift data)"),
    ma::ndi("ndi"), ma::nshr, in(Int, "ntens").opt("len(stress)").describe("stress components, 6"),
    in(Int, "nstatv").opt("len(svar)").describe("state variables, at least 510"),
    in(Real, "props", "nprops")
        .describe("Prony term counts N11, N12, N22, N23, N44 (truncated), unrelaxed C11, C12, C22, C23, C44 (MPa), "
                  "then each entry's (weight, relaxation time) pairs in that order"),
    sa::nprops, ma::coords, ma::drot, ma::pnewdt, ma::celent,
    sa::dfgrd0.describe("deformation gradient at the start; not used"),
    sa::dfgrd1.describe("deformation gradient at the end; not used"), sa::noel.describe("element number; not used"),
    ma::npt, sa::kslay.describe("layer number; not used"), sa::kspt.describe("section point; not used"),
    sa::jstep.describe("step number and procedure; not used"), sa::kinc.describe("increment number; not used"),
    text_length("cmname_len", "cmname"));

TAVRIN_ROUTINE_DOC(usermat_prony, toplevel::usermat_prony,
                   "the Prony viscoelastic ply umat_prony under the ANSYS USERMAT interface (one call of "
                   "wrapper.abq_umat_to_ansys_usermat)"
                   "\n\n" TAVRIN_ANSYS_LAYOUT "  " TAVRIN_ANSYS_FOUR_COMPONENTS,
                   TAVRIN_USERMAT_ENTRY_ARGS);

}  // namespace
}  // namespace tavrin::bind
