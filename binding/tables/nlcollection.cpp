// Module nlcollection: nonlinear property laws.
#include "engine/descriptor.hpp"
#include "mechanics/nonlinear_laws.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(nlcollection,
                      "nonlinear property laws\n"
                      "\n"
                      "Nonlinear laws of ply properties.  The degradation laws (Krause, Kaestner, Hahn-Tsai, "
                      "Adam) give a factor d, 0 for the undamaged material, that scales a modulus or strength "
                      "down to (1 - d) times its value as strain, stress or load cycles grow; strains are "
                      "engineering strains.  The temperature laws (Mahieux, Gibson) give a property over "
                      "temperature through several transitions, from a table props = (P1, T1, P2, T2, ..., "
                      "Pn, Tn, Pn+1) of plateau values P and transition temperatures T.  Invalid counts are "
                      "latched (errorhandling.errstat -3, errorhandling.errstring as bytes) and give 0.");

constexpr Arg beta = in(Real, "beta").describe("the law's coefficient beta");
constexpr Arg eps = in(Real, "eps").describe("the strain (its magnitude is used)");
constexpr Arg temperature = in(Real, "t").describe("the temperature, in the unit of the table's T");
constexpr Arg transition_table = in(Real, "props", "2*ntrans+1")
    .describe("P1, T1, P2, T2, ..., Pn, Tn, Pn+1: plateau values and transition temperatures");
constexpr Arg ntrans = in(Int, "ntrans").opt("(len(props)-1)/2").describe(
    "number of transitions, at least 0 (negative: latched, errstat -3, result 0)");

TAVRIN_ROUTINE_DOC(nlkrause, NLKrause, "Krause degradation factor d = 1 - 1/exp(beta |eps|).",
                   out(Real, "dnl").describe("d, from 0 (undamaged) towards 1"), beta, eps);
TAVRIN_ROUTINE_DOC(nlkaestner, NLKaestner, "Kaestner degradation factor d = 1 - 1/(beta |eps| + 1).",
                   out(Real, "dnl").describe("d, from 0 (undamaged) towards 1"), beta, eps);
TAVRIN_ROUTINE_DOC(pure_nlhahntsai, NLHahnTsai,
                   "Hahn-Tsai shear degradation factor d = (3 beta G tau^2 - 2 beta tau^3/gamma)/(3 beta G tau^2 + 1).",
                   out(Real, "dnl").describe("d (0 for gamma = 0)"), in(Real, "tg").describe("the shear modulus G"),
                   beta, in(Real, "sig").describe("the shear stress tau"),
                   in(Real, "eps").describe("the engineering shear strain gamma"));
TAVRIN_ROUTINE_DOC(recu_nlhahntsai, FPHahnTsai,
                   "Hahn-Tsai law for the fixed-point root finder: its map, or d at a given or converged stress."
                   "\n\nFewer than four arguments are latched (errstat -3, result 0); when the fixed-point "
                   "iteration does not converge in 100 steps fpsafe latches its warning and the last iterate "
                   "is used.  Read errorhandling.errstat (0: no failure) and errorhandling.errstring (bytes) "
                   "after the call.",
                   out(Real, "dout").describe("d, or the map's value tau -> gamma G (1 - d(tau)) for ns 2"),
                   in(Real, "args", "na").describe(
                       "(tau, gamma, G, beta): shear stress, engineering shear strain, shear modulus, coefficient"),
                   in(Int, "na").opt("len(args)").describe("at least 4"),
                   in(Int, "ns").opt("0").describe(
                       "1: d at the converged stress; 2: the fixed-point map; other: d at tau"));
TAVRIN_ROUTINE_DOC(nladam, NLAdam, "Adam's fatigue degradation factor after n of nf load cycles.",
                   out(Real, "dnl").describe("d = 1 - R/l with R = x + (l - x)(1 - r^beta)^(1/alpha)"),
                   in(Real, "l").describe("the undamaged property (e.g. the static strength)"),
                   in(Real, "x").describe("the property's value at failure, after nf cycles"),
                   in(Real, "n").describe("the number of cycles"),
                   in(Real, "nf").describe("the number of cycles to failure"),
                   in(Real, "alpha").describe("the law's exponent alpha"),
                   in(Real, "beta").describe("the law's exponent beta"),
                   in(Real, "lg", "2").opt("[0.25, 0.25]").describe(
                       "(lg1, lg2) in r = (log n - log lg1)/(log nf - log lg2)"));
TAVRIN_ROUTINE_DOC(nlmahieux, NLMahieux,
                   "Mahieux's temperature law P(T) = sum (P_i - P_i+1) exp(-(T/T_i)^m_i) + P_n+1.",
                   result(Real, "nlmahieux").describe("the property at t"), temperature, transition_table,
                   in(Real, "m", "ntrans").describe("the Weibull exponents m_i of the transitions"), ntrans);
TAVRIN_ROUTINE_DOC(nlgibson, NLGibson,
                   "Gibson's temperature law P(T) = sum ((P_i + P_i+1)/2 - (P_i - P_i+1)/2 tanh(xi_i T/T_i)).",
                   result(Real, "nlgibson").describe("the property at t"), temperature, transition_table,
                   in(Real, "xi", "ntrans").describe("the breadth factors xi_i of the transitions"), ntrans);

}  // namespace
}  // namespace tavrin::bind
