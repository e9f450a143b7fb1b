// Module delisio: sublaminate-energy delamination growth under compression
// and at fibre cracks under tension, Paris-type laws and allowable
// no-growth strains.
#include "delamination/delisio.hpp"
#include "engine/descriptor.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

inline constexpr const char* delisio_doc =
    "sublaminate-energy delamination growth: Paris-type laws, laminate energies, compression "
    "sublaminate buckling and release rates, growth through load cycles under compression and "
    "at fibre cracks under tension, allowable no-growth strains.\n\n"
    "Conventions: x is the load direction; compressive forces and strains are negative.  A "
    "property vector props holds the nine ply constants E1, E2, E3, nu12, nu13, nu23, G12, "
    "G13, G23 (one consistent unit system, e.g. MPa), the critical energy release rate (10) "
    "and the two Paris constants: props(11) is the exponent nf of the growth-rate law but c1 "
    "of the initiation law, props(12) the coefficient cf of the rate law but c2 of the "
    "initiation law.  Ply angles are in degrees, ply 1 at the bottom.  Strain states dof "
    "are (eps_x, eps_y, gamma_xy, kappa_x, kappa_y, kappa_xy) with engineering shear.  "
    "Failures are latched (errorhandling.errstat -2 for inputs outside the model's limits, "
    "-3 for an unknown component) with zero results.";

TAVRIN_BINDING_MODULE(delisio, delisio_doc);

// A laminate of one ply material.
constexpr Arg layup = in(Real, "layup", "nplies").describe("ply angles in degrees, ply 1 at the bottom");
constexpr Arg tply = in(Real, "tply").describe("the thickness of every ply");
constexpr Arg props = in(Real, "props", "nprops")
                          .describe("ply constants (1-9), critical energy release rate (10), "
                                    "Paris constants (11, 12); at least 12 values");
constexpr Arg nplies = in(Int, "nplies").opt("len(layup)").describe("number of plies");
constexpr Arg nprops = in(Int, "nprops").opt("len(props)").relation("nprops>=12")
                           .describe("number of values in props");
constexpr Arg abd6 = in(Real, "abd", "6,6").describe("the laminate's ABD stiffness (6x6)");
constexpr Arg abdsub = in(Real, "abdsub", "2,6,6")
                           .describe("ABD of sublaminate 1 (above the delaminated interface) "
                                     "and 2 (below), first index the sublaminate");
constexpr Arg forcecases = in(Real, "forcecases", "3,6")
                               .describe("rows: force and moment resultants of the laminate, of "
                                         "sublaminate 1 and of sublaminate 2; column 1 (N_x) is used");

TAVRIN_ROUTINE_DOC(growthinitiationparis, GrowthInitiationParis,
                   "Paris-type initiation law: for n < 0 the cycles to initiation n = (c1/deltag)^c2, "
                   "otherwise the release rate deltag = c1*n^(1/c2) that starts growth in n cycles.",
                   inplace(Real, "deltag").describe("energy release rate (0-d float64 array, updated when n >= 0)"),
                   inplace(Real, "n").describe("load cycles (0-d float64 array; pass a negative value to "
                                               "compute the cycles to initiation)"),
                   in(Real, "c1").describe("coefficient"), in(Real, "c2").describe("exponent"));
TAVRIN_ROUTINE_DOC(growthrateparis, GrowthRateParis,
                   "Paris-type growth rate per cycle, dadn = cf*deltag^nf.",
                   in(Real, "deltag").describe("energy release rate"),
                   out(Real, "dadn").describe("growth per load cycle"),
                   in(Real, "cf").describe("coefficient"), in(Real, "nf").describe("exponent"));
TAVRIN_ROUTINE_DOC(fibertension_lefm, fiber_tension_lefm,
                   "Energy release rate of a fibre crack by linear-elastic fracture mechanics, "
                   "(sigma11*sqrt(pi*b_crack))^2/E11.",
                   in(Real, "sigma11_ply").describe("the ply's fibre-direction stress"),
                   in(Real, "b_crack").describe("crack length"),
                   in(Real, "gic").describe("critical energy release rate (not used)"),
                   in(Int, "nprops").opt("len(props)").relation("nprops>=1").describe("number of values in props"),
                   in(Real, "props", "nprops").describe("props(1): the ply's fibre-direction modulus E11"),
                   out(Real, "serr_f_t").describe("energy release rate"));
TAVRIN_ROUTINE_DOC(linearelasticenergy, LinearElasticEnergy,
                   "Elastic energy 1/2*strain'*K*strain*area of a strain state.",
                   in(Real, "strain", "ncomp").describe("strain components, in the order of K"),
                   in(Real, "abdmatrix", "ncomp,ncomp").describe("stiffness K"),
                   in(Real, "area").describe("area the energy density is taken over"),
                   out(Real, "energy").describe("elastic energy"),
                   in(Int, "ncomp").opt("len(strain)").describe("number of components"));
TAVRIN_ROUTINE_DOC(reducedelasticenergy, reducedElasticEnergy,
                   "Elastic energy with one stress and/or strain component released: row "
                   "stresszero and column strainzero of K set to zero (0: none).",
                   in(Real, "strain", "ncomp").describe("strain components, in the order of K"),
                   in(Real, "abdin", "ncomp,ncomp").describe("stiffness K (left unchanged)"),
                   in(Real, "area").describe("area the energy density is taken over"),
                   out(Real, "energy").describe("elastic energy of the released state"),
                   in(Int, "stresszero").describe("1-based stress component released (row of K set "
                                                  "to 0), 0 for none; outside 0..ncomp latches -3"),
                   in(Int, "strainzero").describe("1-based strain component removed (column of K set "
                                                  "to 0), 0 for none"),
                   in(Int, "ncomp").opt("len(strain)").describe("number of components"));

TAVRIN_ROUTINE_DOC(energysublaminat, EnergySublaminat,
                   "Strain energy and force of one sublaminate over a rectangular delamination, "
                   "buckling at the mean of the simply supported and clamped plate loads and "
                   "carrying r*A11 of further strain beyond it.",
                   in(Real, "abd_in", "6,6").describe("the sublaminate's ABD stiffness"),
                   in(Real, "dof_in", "6").describe("laminate strains and curvatures (eps_x first)"),
                   in(Real, "a_el").describe("half-length of the patch (along the load), > 0"),
                   in(Real, "b_el").describe("half-width of the patch, > 0"),
                   in(Real, "forces", "1").describe("forces(1): the sublaminate's force N_x (nonzero)"),
                   out(Real, "energy").describe("strain energy over the patch 4*a_el*b_el"),
                   out(Real, "nsub").describe("force N_x the sublaminate carries"),
                   out(Logical, "bstatus").describe("true when the sublaminate has buckled"),
                   in(Real, "buckfactor_in").opt("1.0").describe("factor on the buckling strain"),
                   in(Real, "r_in").opt("0.0").describe("post-buckling stiffness as a fraction of A11"));
TAVRIN_ROUTINE_DOC(momentumbalance, MomentumBalance,
                   "Forces per width of the two intact strips beside a delaminated patch, from "
                   "force and moment balance of the cross-section.",
                   in(Real, "n11").describe("force per width of the strip"),
                   in(Real, "nsub").describe("force per width carried over the patch"),
                   in(Real, "b").describe("half-width of the patch"),
                   in(Real, "wr").describe("width of the right strip"),
                   in(Real, "wl").describe("width of the left strip"),
                   in(Real, "w").describe("width of the whole strip"),
                   in(Real, "e").describe("offset of the patch centre across the width"),
                   out(Real, "n_left").describe("force per width of the left strip"),
                   out(Real, "n_right").describe("force per width of the right strip"));
TAVRIN_ROUTINE_DOC(forcetransfer, ForceTransfer,
                   "Force shed by buckled sublaminates to the intact strips and to an unbuckled "
                   "partner, with the extra strain and the work of the sublaminate forces.",
                   abd6, abdsub, in(Real, "forces", "3,6").describe("rows: resultants of the laminate and "
                                                                   "of sublaminates 1 and 2; column 1 used"),
                   in(Real, "nsub1in").describe("force of sublaminate 1 before the transfer"),
                   in(Real, "nsub2in").describe("force of sublaminate 2 before the transfer"),
                   in(Real, "width").describe("strip width (not used)"),
                   in(Real, "leftwidth").describe("width of the left intact strip"),
                   in(Real, "rightwidth").describe("width of the right intact strip"),
                   in(Real, "damagewidth").describe("width of the delaminated patch"),
                   in(Real, "w").describe("width of the whole strip"),
                   in(Real, "e").describe("offset of the patch centre"),
                   out(Real, "nleft_m").describe("force per width of the left strip"),
                   out(Real, "nright_m").describe("force per width of the right strip"),
                   out(Real, "nsub1").describe("force of sublaminate 1 after the transfer"),
                   out(Real, "nsub2").describe("force of sublaminate 2 after the transfer"),
                   out(Real, "deltadof").describe("extra strain of the intact laminate"),
                   out(Real, "ie1_delta").describe("work per area of sublaminate 1's force"),
                   out(Real, "ie2_delta").describe("work per area of sublaminate 2's force"),
                   in(Real, "r_in").opt("0.0").describe("post-buckling stiffness as a fraction of A11"));
TAVRIN_ROUTINE_DOC(equivdisp, EquivDisp,
                   "Extra end shortening of the strip over the patch length from the side strips' "
                   "changed strains.",
                   abd6, in(Real, "a").describe("half-length of the patch"),
                   in(Real, "b").describe("half-width of the patch (b < width/2)"),
                   in(Real, "width").describe("strip width"),
                   in(Real, "dof", "6").describe("laminate strains and curvatures; dof(1) nonzero"),
                   in(Real, "deltadof").describe("extra strain (not used)"),
                   in(Real, "nleft").describe("force per width of the left strip"),
                   in(Real, "nright").describe("force per width of the right strip"),
                   in(Real, "l").describe("width of the left strip"),
                   in(Real, "r").describe("width of the right strip"),
                   out(Real, "deltax").describe("end shortening"));
TAVRIN_ROUTINE_DOC(energyreleaserate, EnergyReleaseRate,
                   "Energy release rates of a rectangular delamination in a compressed strip for "
                   "growth in length (gx) and width (gy; gy_left, gy_right on one side only).",
                   in(Real, "dof", "6").describe("laminate strains and curvatures; dof(1) nonzero"),
                   abd6, abdsub, in(Real, "a").describe("half-length of the patch, > 0"),
                   in(Real, "b").describe("half-width of the patch, > 0, b + db < width/2"),
                   in(Real, "width").describe("strip width"), in(Real, "length").describe("strip length"),
                   in(Real, "areaclean").describe("not used"), forcecases,
                   out(Real, "gx").describe("release rate for growth in length"),
                   out(Real, "gy").describe("release rate for growth in width on both sides"),
                   out(Real, "gy_left").describe("release rate for growth to the left"),
                   out(Real, "gy_right").describe("release rate for growth to the right"),
                   in(Real, "e_in").opt("0.0").describe("offset of the patch centre across the width"),
                   in(Real, "da_in").opt("1.0").describe("length perturbation da"),
                   in(Real, "db_in").opt("0.1").describe("width perturbation db"),
                   in(Real, "buckfactor_in").opt("1.0").describe("factor on the buckling strain"),
                   in(Real, "r_in").opt("0.0").describe("post-buckling stiffness as a fraction of A11"));

TAVRIN_ROUTINE_DOC(delacompgrowth, DelaCompGrowth,
                   "Growth of a rectangular delamination at one ply interface of a compressed "
                   "strip through load cycles, by Paris laws on its release rates.",
                   layup, tply, in(Real, "indof", "ndof").describe("laminate strains and curvatures (6 used)"),
                   in(Int, "dela_interface").relation("dela_interface>=1 && dela_interface<nplies")
                       .describe("the interface above this ply (1-based): sublaminate 1 = plies "
                                 "1..k, 2 = plies k+1..nplies"),
                   props, in(Real, "length").describe("strip length (along the load)"),
                   in(Real, "width").describe("strip width"),
                   in(Real, "extensdmg").describe("offset of the delamination centre across the width"),
                   out(Real, "results", "13,totalcycles+1")
                       .describe("one column per computed cycle, rows: cycle, N_x, end shortening, "
                                 "length, width, area, da/dN, db/dN, gx, gy, gy_left, gy_right, 0; "
                                 "columns past the last computed cycle stay 0"),
                   in(Real, "dmgwidth").describe("delamination width (full size)"),
                   in(Real, "dmglength").describe("delamination length (full size)"),
                   in(Int, "totalcycles").relation("totalcycles>=0").describe("load cycles to follow"),
                   nplies, nprops,
                   in(Int, "ndof").opt("len(indof)").relation("ndof>=6").describe("number of values in indof"),
                   in(Int, "incyclejump").opt("1").describe("cycles per step (at least 1)"),
                   in(Real, "instressratio").opt("0.1").describe("not used"),
                   in(Real, "dmgincrement_in").opt("0.1").describe("size perturbation da = db"));
TAVRIN_ROUTINE_DOC(find_allowable_nogrowth_comp, Find_Allowable_nogrowth_comp,
                   "Compressive strain at which each interface's delamination starts to grow "
                   "within the given life, and the most critical (largest) of them.",
                   layup, tply, in(Real, "extensdmg").describe("offset of the delamination centre"),
                   in(Real, "length").describe("strip length"), in(Real, "width").describe("strip width"),
                   props, out(Real, "strainallowable")
                       .describe("largest allowable over the delaminated interfaces; NaN when none "
                                 "has one, -1.7976931348623157e308 when none is delaminated"),
                   out(Real, "forceallowables_perinterface", "ninter").describe("N_x at each allowable"),
                   out(Real, "eps_th_results", "ninter,6,100")
                       .describe("per interface and strain step: eps_x, gx, gy, N_x, gy_left, gy_right"),
                   in(Real, "dmgsizes", "ninter,2")
                       .describe("per interface (row i = interface above ply i): delamination width "
                                 "and length; 0 for none"),
                   out(Real, "allowables_perinterface", "ninter")
                       .describe("allowable strain per interface; 0 without delamination, NaN when the "
                                 "limit is not reached in 100 steps"),
                   nplies, nprops, in(Int, "ninter").opt("shape(dmgsizes,0)").describe("number of interfaces"),
                   in(Real, "inincrement").opt("-0.001").describe("strain step (its magnitude is used, compressive)"),
                   in(Real, "dmgincrement_in").opt("0.1").describe("size perturbation da = db"),
                   in(Real, "inloadcycles").opt("1.0").describe("life in cycles; 0 or 1: static limit props(10)"));

TAVRIN_ROUTINE_DOC(serr_delatension, sERR_delaTension,
                   "Energy release rate of the delaminations at a fibre crack when the ply's "
                   "principal stress component dir is released, shared among its interfaces.",
                   in(Real, "dof_r", "6").describe("ply membrane strains in the principal axes "
                                                   "(eps_11, eps_22, gamma_12 used)"),
                   in(Real, "a_r", "3,3").describe("the ply's membrane stiffness A in the same axes"),
                   in(Real, "a_dmg").describe("not used"), in(Real, "b_dmg").describe("not used"),
                   in(Real, "l_crack_proj").describe("not used"), in(Real, "delta_angle").describe("not used"),
                   out(Real, "serr_d_t").describe("energy release rate per interface"),
                   in(Int, "dir").describe("1 or 2: the principal stress released"),
                   in(Int, "outer").opt("0").describe("1: an outer ply (one interface); else two"));
TAVRIN_ROUTINE_DOC(delatensiongrowth, delaTension,
                   "Growth of the delaminations at a fibre crack through one ply of a laminate "
                   "under tension, extrapolated over load cycles by Paris laws.",
                   layup, tply, in(Real, "indof", "ndof").describe("laminate strains and curvatures (6 used)"),
                   in(Int, "ncrack").relation("ncrack>=1 && ncrack<=nplies").describe("the cracked ply (1-based)"),
                   props, in(Real, "length").describe("not used"), in(Real, "width").describe("not used"),
                   in(Real, "extensdmg").describe("not used"),
                   out(Real, "results", "13,1000")
                       .describe("column 1 the initial state, then one column per cycle step; rows: "
                                 "cycle, N_x, eps_x, length, width, area, G1, area growth rate 1, G2, "
                                 "cycles to initiation (column 1), 0, 0, 0"),
                   in(Real, "indmgwidth").describe("starting delamination width"),
                   in(Real, "indmglength").describe("starting delamination length"),
                   in(Real, "l_crack").describe("crack length"),
                   in(Int, "totalcycles").relation("totalcycles>=0").describe("load cycles"), nplies, nprops,
                   in(Int, "ndof").opt("len(indof)").relation("ndof>=6").describe("number of values in indof"),
                   in(Int, "incyclejump").opt("1").describe("cycles per step (at least 1)"),
                   in(Real, "instressratio").opt("0.1").describe("not used"),
                   in(Real, "paris_ng", "2").absent()
                       .describe("(c1, c2) of the initiation law N = (c1/G1)^c2; absent: (1, 0)"));
TAVRIN_ROUTINE_DOC(find_allowable_nogrowth_tension, Find_Allowable_nogrowth_tension,
                   "Tensile strain at which the delaminations at each cracked ply start to grow "
                   "within the given life, and the most critical (smallest) of them.",
                   layup, tply, in(Real, "extensdmg").describe("not used"),
                   in(Real, "length").describe("not used"), in(Real, "width").describe("not used"), props,
                   in(Real, "fibercrack", "nplies").describe("crack length per ply, 0 for an uncracked ply"),
                   in(Real, "dmgsizes", "ninter,2").describe("delamination sizes; the largest of each "
                                                             "column stands for every crack"),
                   nplies, nprops, in(Int, "ninter").opt("shape(dmgsizes,0)").describe("rows of dmgsizes"),
                   out(Real, "allowables_perply", "nplies")
                       .describe("allowable strain per cracked ply; 0 for uncracked plies, NaN when the "
                                 "limit is not reached in 100 steps"),
                   out(Real, "strainallowable")
                       .describe("smallest allowable over the cracked plies; NaN when none has one, "
                                 "1.7976931348623157e308 when no ply is cracked"),
                   out(Real, "forceallowables_perply", "nplies").describe("N_x at each allowable"),
                   in(Real, "inincrement").opt("-0.001").describe("strain step (its magnitude is used, tensile)"),
                   in(Real, "inloadcycles").opt("0.0").describe("life in cycles; 0 or 1: static limit props(10)"));

}  // namespace
}  // namespace tavrin::bind
