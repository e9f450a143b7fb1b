// Module fatigue: fatigue properties, resin fatigue life, cycle counting and
// cycle jumps.
#include "engine/descriptor.hpp"
#include "failure/fatigue.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

constexpr Arg six(const char* name, const char* what) { return out(Real, name, "6").describe(what); }

TAVRIN_BINDING_MODULE(fatigue,
                      "fatigue of plies and resin: properties, life, cycle counting and cycle jumps.\n\n"
                      "Fatigue property sets of a ply at a temperature (Shokrieh's residual-strength and "
                      "residual-stiffness curves), the equivalent fatigue stress and life of a resin point, cycle jumps "
                      "and the cycles that may be jumped within a tolerance.  Stresses and moduli are in MPa, "
                      "temperatures in K; six-entry vectors are in the solver order 11, 22, 33, 12, 13, 23; curve "
                      "exponents alpha, beta, gamma, lambda are dimensionless; life fractions run from 0 to 1 and steps "
                      "are counted from 1.");
TAVRIN_ROUTINE_DOC(getshokriehproperties, GetShokriehProperties,
                   "fatigue property set of a ply at a temperature, interpolated between two sets, with temperature laws",
                   in(Real, "props", "nprops").describe("two 74-entry sets (each ending with its temperature, K), 150 "
                                                        "degradation factor, 151-159 temperature-law parameters"),
                   in(Int, "nprops").opt("len(props)").describe("properties, at least 150; 159 for the temperature laws"),
                   in(Real, "temp").describe("temperature (K)"),
                   out(Real, "eprops", "9").describe("E11, E22, E33, G12, G13, G23 (MPa), ν12, ν13, ν23"),
                   out(Real, "xfprops", "9").describe("Xt11, -Xc11, Xt22, -Xc22, Xt33, -Xc33, S12, S13, S23 (MPa)"),
                   out(Real, "epsfprops", "9").describe("failure strains, xfprops over their moduli"),
                   six("alpha_t", "tensile residual-strength curve: dimensionless exponents α (not angles), solver "
                                  "order 11, 22, 33, 12, 13, 23; the shear entries equal alpha_c's"),
                   six("alpha_c", "compressive residual-strength curve: dimensionless exponents α (not angles), solver order"),
                   six("beta_t", "tensile strength-curve exponents β, solver order"),
                   six("beta_c", "compressive strength-curve exponents β, solver order"),
                   six("lambda", "stiffness-curve exponents λ, solver order"),
                   six("gamma", "stiffness-curve exponents γ, solver order"),
                   six("a", "life-curve factors a (f = a·Nf^b), solver order"),
                   six("b", "life-curve exponents b, solver order"),
                   six("u", "constant-life exponents u, solver order"),
                   six("v", "constant-life exponents v, solver order"),
                   out(Real, "eta").describe("viscosity parameter η"),
                   out(Real, "degr_fac").describe("degradation factor at the end of life"));
TAVRIN_ROUTINE_DOC(getequivalentfatiguestress, GetEquivalentFatigueStress,
                   "equivalent fatigue stress of a resin point (pressure-dependent, Ha's criterion)",
                   in(Real, "stress", "6").describe("stress (MPa), solver order 11, 22, 33, 12, 13, 23"),
                   in(Real, "xt").describe("resin tensile strength (MPa)"),
                   in(Real, "xc").describe("resin compressive strength (MPa)"),
                   in(Real, "np").describe("exponent of Ha's criterion"),
                   inout(Real, "eq_stress").describe("equivalent stress (MPa)"));
TAVRIN_ROUTINE_DOC(getfatiguelife, GetFatigueLife,
                   "cycles to failure of an equivalent stress cycle and the consumed life after dn more cycles",
                   in(Real, "eq_min").describe("smallest equivalent stress of the cycle"),
                   in(Real, "eq_max").describe("largest equivalent stress of the cycle"),
                   in(Real, "a_woehler").describe("Woehler curve f = a·Nf^exp: factor"),
                   in(Real, "exp_woehler").describe("Woehler curve exponent"),
                   in(Real, "alpha").describe("not used"),
                   in(Real, "dn").describe("cycles of this block (taken in single precision)"),
                   in(Int, "noel").describe("element number (debug output when it is the debug element)"),
                   inout(Real, "nf").describe("cycles to failure"),
                   inout(Real, "life").describe("consumed life fraction, never falling, at most 1"));
TAVRIN_ROUTINE_DOC(cyclecount, CycleCount, "cycle jump of a fatigue step and the advanced cycle number",
                   out(Real, "njimp").describe("cycle jump"),
                   inout(Real, "n").describe("cycle number, advanced by njimp (1 outside a fatigue step)"),
                   in(Real, "maxcycle").describe("last cycle number"),
                   in(Real, "time").describe("step time"),
                   in(Real, "time_calc").describe("computed step time (algorithm 2)"),
                   in(Real, "time_period").describe("duration of one load cycle in step time"),
                   in(Real, "njimp_min").describe("fixed jump (algorithm 1)"),
                   in(Real, "njimp_max").describe("not used"),
                   in(Real, "njimp_zul").describe("allowed jump (algorithm 4; the largest double: none)"),
                   in(Int, "ncycles").describe("cycle-table entries of the step (algorithm 3)"),
                   in(Int, "nmaxcycles").describe("not used"),
                   in(Int, "istep").describe("step number, 1-based column of the cycle table"),
                   in(Int, "nstep").describe("number of steps"),
                   in(Int, "jumpalgo").describe("1 fixed, 2 exponential in time, 3 table by time, 4 allowed jump, "
                                                "5 the step's first table cycle; other: latch -2"),
                   in(Int, "stepflag").describe("1: fatigue step; other: n = njimp = 1"));
TAVRIN_ROUTINE_DOC(allowablecyclejump, AllowableCycleJump,
                   "cycles that may be jumped before the residual strength or stiffness falls by a tolerance",
                   in(Real, "speak").describe("peak stress of the cycle"),
                   inplace(Real, "sbottom").describe("bottom stress of the cycle (a 0-d float array, updated in place: "
                                                     "0.0 becomes 1e-8)"),
                   in(Real, "ft").describe("tensile strength"), in(Real, "fc").describe("compressive strength"),
                   in(Real, "f0").describe("strength of the loaded side"), in(Real, "e0").describe("modulus"),
                   in(Real, "eps_f").describe("failure strain"),
                   in(Real, "a").describe("life curve f = a·Nf^b: factor"), in(Real, "b").describe("life-curve exponent"),
                   in(Real, "u").describe("constant-life exponent u"), in(Real, "v").describe("constant-life exponent v"),
                   in(Real, "nm").describe("consumed life fraction"),
                   out(Real, "cjimp").describe("allowed cycle jump (1e8 once df is degr_fac)"),
                   in(Real, "alpha").describe("strength-curve exponent α"), in(Real, "beta").describe("strength-curve exponent β"),
                   in(Real, "gamma").describe("stiffness-curve exponent γ"), in(Real, "lambda").describe("stiffness-curve exponent λ"),
                   in(Real, "x_n").describe("residual strength fraction"), in(Real, "e_n").describe("residual stiffness fraction"),
                   in(Real, "de").describe("not used"), in(Real, "df").describe("strength factor"),
                   in(Real, "degr_fac").describe("factor at the end of life"),
                   in(Real, "njimp_dtol").describe("fraction of the residual values allowed to remain"));
TAVRIN_ROUTINE_DOC(getshokrieh, GetShokrieh,
                   "stress and tangent of a unidirectional ply under progressive fatigue (Shokrieh's residual "
                   "stiffness and strength, sudden failure, cycle jumps) for one increment of one point",
                   inout(Real, "stress", "6").describe("stress (MPa), solver order 11, 22, 33, 12, 13, 23: in the last "
                                                       "stress, out the updated one"),
                   out(Real, "ddsdde", "6,6").describe("tangent stiffness (MPa), solver order, engineering shear strains"),
                   inout(Real, "statev", "77").describe("state: 1 cycle number, 2-3 fibre and matrix indices of the cycle "
                                                        "(at most 1), 4 fracture angle (degrees, start at -1.0), 5-13 "
                                                        "strengths, 14-19 moduli, 20-43 peak/bottom stress ratios, 44 last "
                                                        "jump, 45-46 fibre and matrix failure flags, 47-52 consumed life, "
                                                        "53-58 stress, 59-64 stiffness and 65-73 strength fractions (1 "
                                                        "intact), 74-76 lowest, highest and mean temperature (K), 77 "
                                                        "smallest cycles to failure or allowed jump"),
                   in(Real, "stran", "6").describe("total strain at the start of the increment, engineering shears"),
                   in(Real, "dstran", "6").describe("strain increment, engineering shears"),
                   in(Real, "props", "nprops").describe("fatigue property vector of getshokriehproperties (at least 150)"),
                   in(Real, "time", "2").describe("step time and total time at the start of the increment"),
                   in(Real, "dtime").describe("time increment"),
                   in(Real, "temp").describe("temperature at the start of the increment (K)"),
                   in(Real, "dtemp").describe("temperature increment (K)"),
                   in(Int, "nprops").opt("len(props)").describe("number of properties"),
                   in(Int, "noel").describe("element number (debug output when it is the debug element)"),
                   in(Int, "kstep", "4").describe("step number (1-based column of the cycle settings), then unused"),
                   in(Int, "kinc").describe("increment number, 1-based"),
                   in(Int, "iszflag").describe("plane-stress flag of the stiffness (0: plane-stress entries)"),
                   in(Int, "idcflag").describe("1: the cycle number is set from the cycle table at increment 1"),
                   inout(Real, "statev_backup", "77").describe("copy of statev at the start of the counted cycle"));

}  // namespace
}  // namespace tavrin::bind
