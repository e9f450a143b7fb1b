// Module fatigue: fatigue properties, resin fatigue life, cycle counting and
// cycle jumps.
#include "engine/descriptor.hpp"
#include "failure/fatigue.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

constexpr Arg six(const char* name, const char* what) { return out(Real, name, "6").describe(what); }

// The fatigue property vector of a ply, entry by entry (counted from 1).
#define TAVRIN_FATIGUE_PROPS                                                                                    \
  "\n\nProperty vector props: 1-74 the first property set, 75-148 the second in the same layout, 149 not "     \
  "read, 150 degr_fac, 151-159 the temperature-law parameters P151 ... P159.  One set: 1-9 E11, E22, E33, "     \
  "G12, G13, G23, ν12, ν13, ν23 (moduli first); 10-18 the strengths Xt11, Xt22, Xt33, Xc11, Xc22, Xc33, S12, "  \
  "S13, S23, the compressive ones as magnitudes (a sign given there is dropped); 19-24 α in pairs 11 "          \
  "tension, 11 compression, 22 tension, 22 compression, 33 tension, 33 compression; 25-27 α of 12, 13, 23 "     \
  "(tension and compression alike); 28-33 β in the pairs of 19-24; 34-36 β of 12, 13, 23; 37-42 λ and 43-48 "  \
  "γ of the six components; 49-60 the life-curve pairs (a, b) of the six components (49 a1, 50 b1, ..., 59 "    \
  "a6, 60 b6); 61 η; 62-67 u and 68-73 v of the six components; 74 the set's temperature (K).  Components "    \
  "are in the solver order 11, 22, 33, 12, 13, 23.  Between the two set temperatures every entry is "          \
  "interpolated linearly; below and above, the nearer set holds."                                              \
  "\n\nTemperature laws (nprops >= 159; 151 to 158 entries latch -2 and skip them), with ΔT = temp - 273.15 "  \
  "and T0 = P155 - 273.15: E22, E33, G12, G13, G23 keep the lower set's value up to P154 K, are the first "     \
  "set's value times P151·ΔT² + P152·ΔT + P153 below 293 K and times c - (c - P156)·exp(-(ΔT/T0)^P157) from "   \
  "293 K on (c that quadratic at 293 K); E11 keeps the lower set's value up to the lower set temperature, "     \
  "follows the straight line through the two sets up to 293 K and is the first set's value times "             \
  "1 - (1 - P158)·exp(-(ΔT/T0)^P159) above; Poisson's ratios, strengths and fatigue parameters are not "        \
  "scaled."

TAVRIN_BINDING_MODULE(fatigue,
                      "fatigue of plies and resin: properties, life, cycle counting and cycle jumps.\n\n"
                      "Fatigue property sets of a ply at a temperature (Shokrieh's residual-strength and "
                      "residual-stiffness curves), the equivalent fatigue stress and life of a resin point, cycle jumps "
                      "and the cycles that may be jumped within a tolerance.  Stresses and moduli are in MPa, "
                      "temperatures in K; six-entry vectors are in the solver order 11, 22, 33, 12, 13, 23; curve "
                      "exponents alpha, beta, gamma, lambda are dimensionless; life fractions run from 0 to 1 and steps "
                      "are counted from 1.");
TAVRIN_ROUTINE_DOC(getshokriehproperties, GetShokriehProperties,
                   "fatigue property set of a ply at a temperature, interpolated between two sets, with temperature laws"
                   TAVRIN_FATIGUE_PROPS
                   "\n\nThe outputs sign the compressive strengths: xfprops = (Xt11, -Xc11, Xt22, -Xc22, Xt33, "
                   "-Xc33, S12, S13, S23), and epsfprops likewise.  Fewer than 150 entries latch -2 and leave "
                   "every output 0.",
                   in(Real, "props", "nprops").describe("the fatigue property vector (layout above): two 74-entry sets, "
                                                        "150 degradation factor, 151-159 temperature-law parameters"),
                   in(Int, "nprops").opt("len(props)").describe("properties, at least 150; 159 for the temperature laws"),
                   in(Real, "temp").describe("temperature (K)"),
                   out(Real, "eprops", "9").describe("E11, E22, E33, G12, G13, G23 (MPa), ν12, ν13, ν23"),
                   out(Real, "xfprops", "9").describe("Xt11, -Xc11, Xt22, -Xc22, Xt33, -Xc33, S12, S13, S23 (MPa): "
                                                      "compressive strengths signed negative"),
                   out(Real, "epsfprops", "9").describe("failure strains, xfprops over their moduli (E11, E11, E22, "
                                                        "E22, E33, E33, G12, G13, G23): compressive ones negative"),
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
                   "cycles to failure of an equivalent stress cycle and the consumed life after dn more cycles"
                   "\n\nShared state: reads the critical stress ratio materialdata.r_crit(1) of the mean-stress "
                   "correction; unset, it latches -2 \"GetFatigueLife: the critical stress ratio r_crit is not "
                   "set\" and returns nf and life as passed in.  debugdata.edebug: trace lines when noel equals it.",
                   in(Real, "eq_min").describe("smallest equivalent stress of the cycle"),
                   in(Real, "eq_max").describe("largest equivalent stress of the cycle"),
                   in(Real, "a_woehler").describe("Woehler curve f = a·Nf^exp: factor"),
                   in(Real, "exp_woehler").describe("Woehler curve exponent"),
                   in(Real, "alpha").describe("not used"),
                   in(Real, "dn").describe("cycles of this block (taken in single precision)"),
                   in(Int, "noel").describe("element number (trace lines when it equals debugdata.edebug)"),
                   inout(Real, "nf").describe("cycles to failure"),
                   inout(Real, "life").describe("consumed life fraction, never falling, at most 1"));
TAVRIN_ROUTINE_DOC(cyclecount, CycleCount, "cycle jump of a fatigue step and the advanced cycle number"
                   "\n\nShared state: reads the cycle table shokriehdata.cycles (cycle numbers, one column per "
                   "step) in algorithms 3 and 5 (the step's column istep) and 4 (its smallest entry beyond n).  "
                   "Unset, algorithms 3 and 5 latch -2 \"CycleCount: the cycle table is not allocated\" with "
                   "njimp 0 (n unchanged), and algorithm 4 is bounded by maxcycle alone.  Trace lines when "
                   "debugdata.edebug is 1.",
                   out(Real, "njimp").describe("cycle jump"),
                   inout(Real, "n").describe("cycle number, advanced by njimp (1 outside a fatigue step)"),
                   in(Real, "maxcycle").describe("last cycle number"),
                   in(Real, "time").describe("step time"),
                   in(Real, "time_calc").describe("computed step time (algorithm 2)"),
                   in(Real, "time_period").describe("duration of one load cycle in step time"),
                   in(Real, "njimp_min").describe("fixed jump (algorithm 1)"),
                   in(Real, "njimp_max").describe("not used"),
                   in(Real, "njimp_zul").describe("allowed jump (algorithm 4; the largest double: none)"),
                   in(Int, "ncycles").describe("entries of the step's column of shokriehdata.cycles (algorithm 3)"),
                   in(Int, "nmaxcycles").describe("not used"),
                   in(Int, "istep").describe("step number, 1-based column of shokriehdata.cycles"),
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
                   in(Real, "nm").describe("consumed life fraction (at least 1.0 once the life is used up)"),
                   out(Real, "cjimp").describe("allowed cycle jump (1e8 once df is degr_fac)"),
                   in(Real, "alpha").describe("strength-curve exponent α"), in(Real, "beta").describe("strength-curve exponent β"),
                   in(Real, "gamma").describe("stiffness-curve exponent γ"), in(Real, "lambda").describe("stiffness-curve exponent λ"),
                   in(Real, "x_n").describe("residual strength fraction"), in(Real, "e_n").describe("residual stiffness fraction"),
                   in(Real, "de").describe("not used"), in(Real, "df").describe("strength factor"),
                   in(Real, "degr_fac").describe("factor at the end of life"),
                   in(Real, "njimp_dtol").describe("fraction of the residual values allowed to remain"));
TAVRIN_ROUTINE_DOC(getshokrieh, GetShokrieh,
                   "stress and tangent of a unidirectional ply under progressive fatigue (Shokrieh's residual "
                   "stiffness and strength, sudden failure, cycle jumps) for one increment of one point"
                   TAVRIN_FATIGUE_PROPS
                   "\n\nShared state: reads the step's cycle settings shokriehdata.cycleprops(:, kstep(1)) (row 2 "
                   "1.0: a fatigue step, given a cycle period of at least 0.001; 3 the jump algorithm; 4 the cycle period in step time; 5 the computed "
                   "time; 6 nmaxcycles; 7, 8 njimp_min, njimp_max; 10 the last cycle; 11 the strength drop per "
                   "jump of algorithm 4), a row it lacks reading 0.0; unset, or kstep(1) beyond its columns: no "
                   "fatigue step, so no cycle counting and no cyclic degradation.  In a fatigue step it reads "
                   "the cycle table shokriehdata.cycles through cyclecount (the step's first cycle at kinc 1 "
                   "with idcflag 1; algorithms 3 and 4), jobdata.nsteps (algorithm 3) and the allowed jump "
                   "shokriehdata.dnfshok (algorithms 4 and 7); an unset cycle table latches -2 \"CycleCount: "
                   "the cycle table is not allocated\" and jumps 0 cycles, so at kinc 1 with idcflag 1 the state "
                   "is restored from statev_backup as for a repeated cycle.  debugdata.edebug: trace lines when "
                   "noel equals it.\n\nFewer than 150 properties latch -2, keep stress and state and give a "
                   "zero tangent.",
                   inout(Real, "stress", "6").describe("stress (MPa), solver order 11, 22, 33, 12, 13, 23: in the last "
                                                       "stress, out the updated one"),
                   out(Real, "ddsdde", "6,6").describe("tangent stiffness (MPa), solver order, engineering shear strains"),
                   inout(Real, "statev", "77").describe("state: 1 cycle number, 2-3 fibre and matrix indices of the cycle "
                                                        "(at most 1), 4 fracture angle of the first matrix crack "
                                                        "(radians, about the fibre axis from the ply plane; start at "
                                                        "-1.0: set once the matrix fails), 5-13 current strengths in "
                                                        "the order of xfprops, compressive ones negative (Xt11, -Xc11, "
                                                        "Xt22, -Xc22, Xt33, -Xc33, S12, S13, S23), 14-19 moduli E11, "
                                                        "E22, E33, G12, G13, G23, 20-43 peak/bottom stress ratios, 44 "
                                                        "last jump, 45-46 fibre and matrix failure flags, 47-52 "
                                                        "consumed life per component (1.0 or more: the component has "
                                                        "failed), 53-58 stress, 59-64 stiffness and 65-73 strength "
                                                        "fractions (1 intact), 74-76 lowest, highest and mean "
                                                        "temperature (K), 77 smallest cycles to failure or allowed jump"),
                   in(Real, "stran", "6").describe("total strain at the start of the increment, engineering shears"),
                   in(Real, "dstran", "6").describe("strain increment, engineering shears"),
                   in(Real, "props", "nprops").describe("the fatigue property vector (layout above; at least 150 entries)"),
                   in(Real, "time", "2").describe("step time and total time at the start of the increment"),
                   in(Real, "dtime").describe("time increment"),
                   in(Real, "temp").describe("temperature at the start of the increment (K)"),
                   in(Real, "dtemp").describe("temperature increment (K)"),
                   in(Int, "nprops").opt("len(props)").describe("number of properties"),
                   in(Int, "noel").describe("element number (trace lines when it equals debugdata.edebug)"),
                   in(Int, "kstep", "4").describe("step number (1-based column of shokriehdata.cycleprops), then unused"),
                   in(Int, "kinc").describe("increment number, 1-based"),
                   in(Int, "iszflag").describe("plane-stress flag of the stiffness (0: plane-stress entries)"),
                   in(Int, "idcflag").describe("1: the cycle number is set from the cycle table at increment 1"),
                   inout(Real, "statev_backup", "77").describe("copy of statev at the start of the counted cycle"));

}  // namespace
}  // namespace tavrin::bind
