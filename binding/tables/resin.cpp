// Module resin: resin properties over temperature and strain, endochronic
// viscoplasticity.
#include "engine/descriptor.hpp"
#include "mechanics/resin.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

constexpr Arg temp = in(Real, "temp").describe("temperature (K)");
constexpr Arg noel = in(Int, "noel").describe("element number (debug lines when it equals debugdata.edebug)");

// What a calibration-table routine reads of the material data, and what an
// unset table gives.
#define TAVRIN_RESIN_TABLE(table, count, what)                                                             \
  "\n\nShared state: reads materialdata." table " (temperature row, point, (strain, " what ")), its "       \
  "first materialdata." count " points, and materialdata.temperatures (the temperatures of rows 1 and 2, "  \
  "between which the value is interpolated; unset, or a table of one row: row 1's value).  " table          \
  " unset latches -2 \"Resin table " table " is not allocated\" and gives 0; " count " below 1 latches -2 " \
  "\"Resin table " table " is empty\" and gives 0."

TAVRIN_BINDING_MODULE(resin,
                      "thermoset resin properties and viscoplasticity.\n\n"
                      "Constants of a thermoset resin over temperature and strain: property vectors of two "
                      "blocks, each with its temperature, interpolated linearly between them (the nearer "
                      "block outside), an optional modulus law over temperature, calibration tables of "
                      "materialdata read at a strain and interpolated over materialdata.temperatures; and the "
                      "endochronic viscoplastic stress update.  Temperatures are absolute (K), moduli and "
                      "strengths in one consistent unit (e.g. MPa), strains in the solver order 11, 22, 33, "
                      "12, 13, 23; props entries are counted from 1.");
TAVRIN_ROUTINE_DOC(getexternaldata, GetExternalData,
                   "value of a strain table at two temperatures, interpolated over materialdata.temperatures"
                   "\n\nShared state: reads materialdata.temperatures, the temperatures of rows 1 and 2 of "
                   "datafield; unset (or fewer than two entries, or a datafield of one row): row 1's value, "
                   "not interpolated.",
                   in(Real, "datafield", "nrows,npoints,2").describe(
                       "(temperature row, point, (strain, value)); rows 1 and 2 are read"),
                   in(Int, "ndata").describe("points of each row to use"),
                   in(Real, "x0").describe("strain"), temp, out(Real, "rvalue").describe("the table's value"),
                   in(Text, "stype", "1").describe("C or c: monotone cubic Hermite; other: linear"),
                   hide(Int, "nrows", "shape(datafield,0)"), hide(Int, "npoints", "shape(datafield,1)"));
TAVRIN_ROUTINE_DOC(getflowparameters, GetFlowParameters,
                   "yield-function constants a0, a1 from materialdata.flowprops"
                   TAVRIN_RESIN_TABLE("flowprops", "nflowdata", "a0, a1"),
                   in(Real, "eqplaststrain").describe("equivalent plastic strain"), out(Real, "a0").describe("constant of the yield function"),
                   out(Real, "a1").describe("pressure factor of the yield function"), temp);
TAVRIN_ROUTINE_DOC(getmodulusfromtable, GetModulusFromTable,
                   "secant modulus from materialdata.secantprops"
                   TAVRIN_RESIN_TABLE("secantprops", "nsecantdata", "modulus"), in(Real, "eqstrain").describe("equivalent strain"),
                   out(Real, "e").describe("Young's modulus"), temp);
TAVRIN_ROUTINE_DOC(getresinproperties, GetResinProperties,
                   "isotropic resin constants, strengths and Woehler parameters at a temperature"
                   "\n\nShared state: reads debugdata.edebug (debug lines when noel equals it).",
                   in(Real, "props", "nprops").describe(
                       "two blocks (E, nu, num, Xt, np, gamma, Xc/Xt, Woehler factor, exponent, T (K)), degr; "
                       "from 32 values the modulus law c2, c1, c0, b1, b0, Ta, Tb, Tc, Tr, k, Einf"),
                   in(Int, "nprops").opt("len(props)").relation("nprops>=21")
                       .describe("values of props that are read: at least 21, 32 with the modulus law"),
                   temp, out(Real, "e").describe("Young's modulus"),
                   out(Real, "nu").describe("Poisson's ratio"), out(Real, "num").describe("slope of the effective Poisson's ratio"), out(Real, "gamma").describe("rate coefficient"), out(Real, "degr").describe("degradation value, as given"),
                   out(Real, "xt").describe("tensile strength"), out(Real, "xc").describe("compressive strength (Xc/Xt ratio times xt)"), out(Real, "np").describe("np of the block"), out(Real, "a_woehler").describe("Woehler factor"),
                   out(Real, "exp_woehler").describe("Woehler exponent"), noel);
TAVRIN_ROUTINE_DOC(getresinplasticproperties, GetResinPlasticProperties,
                   "plastic resin constants at a temperature, flow parameters at the plastic strain"
                   TAVRIN_RESIN_TABLE("flowprops", "nflowdata", "a0, a1"),
                   in(Real, "props", "nprops").describe(
                       "two blocks (Et, Ec, G, nut, nuc, alpha, Xt, Xc, np, Woehler factor, exponent, T (K)), "
                       "degr; from 36 values the modulus law c2, c1, c0, b1, b0, Ta, Tb, Tc, Tr, k, Einf"),
                   in(Int, "nprops").opt("len(props)").relation("nprops>=25")
                       .describe("values of props that are read: at least 25, 36 with the modulus law"),
                   temp,
                   in(Real, "eqplaststrain").describe("equivalent plastic strain"), out(Real, "et").describe("Young's modulus in tension"),
                   out(Real, "ec").describe("Young's modulus in compression"), out(Real, "g").describe("shear modulus"), out(Real, "nut").describe("Poisson's ratio in tension"), out(Real, "nuc").describe("Poisson's ratio in compression"), out(Real, "a0").describe("constant of the yield function"),
                   out(Real, "a1").describe("pressure factor of the yield function"), out(Real, "alpha").describe("constant of the flow potential"), out(Real, "degr").describe("degradation value, as given"), out(Real, "xt").describe("tensile strength"), out(Real, "xc").describe("compressive strength Xc of the blocks, as given"),
                   out(Real, "np").describe("np of the block"), out(Real, "a_woehler").describe("Woehler factor"), out(Real, "exp_woehler").describe("Woehler exponent"));
TAVRIN_ROUTINE_DOC(getresinorthotropicproperties, GetResinOrthotropicProperties,
                   "strain-softened orthotropic secant constants of the resin"
                   "\n\nShared state: reads materialdata.temperatures (the temperature is held within its first "
                   "and last entry; unset: used as given) and, when the tables soften (d < 1 or degr >= 1), "
                   "materialdata.normalprops with materialdata.nnormaldata points (normal moduli) and "
                   "materialdata.shearprops with materialdata.nsheardata points (shear moduli), interpolated "
                   "over the temperatures as in getflowparameters; a table unset latches -2 \"Resin table "
                   "normalprops is not allocated\" (or shearprops) and leaves those moduli unsoftened.  "
                   "debugdata.edebug: debug lines when noel equals it.",
                   in(Real, "props", "nprops").describe("as for getresinproperties"),
                   in(Int, "nprops").opt("len(props)").relation("nprops>=21")
                       .describe("values of props that are read: at least 21, 32 with the modulus law"),
                   temp,
                   in(Real, "dt").describe("time increment (rate correction)"),
                   in(Real, "stran", "6").describe("strain at the start of the increment, solver order"),
                   in(Real, "endstran", "6").describe("strain at its end, solver order"), out(Real, "e1").describe("secant modulus 11"),
                   out(Real, "e2").describe("secant modulus 22"), out(Real, "e3").describe("secant modulus 33"), out(Real, "nu12").describe("Poisson's ratio 12"), out(Real, "nu13").describe("Poisson's ratio 13"), out(Real, "nu23").describe("Poisson's ratio 23"),
                   out(Real, "nu21").describe("Poisson's ratio 21"), out(Real, "nu31").describe("Poisson's ratio 31"), out(Real, "nu32").describe("Poisson's ratio 32"), out(Real, "g12").describe("secant shear modulus 12"),
                   out(Real, "g13").describe("secant shear modulus 13"), out(Real, "g23").describe("secant shear modulus 23"), out(Real, "xt").describe("tensile strength"), out(Real, "xc").describe("compressive strength (Xc/Xt ratio times xt)"), out(Real, "np").describe("np of the block"),
                   out(Real, "a_woehler").describe("Woehler factor"), out(Real, "exp_woehler").describe("Woehler exponent"), out(Real, "degr").describe("degradation value, as given"), noel,
                   in(Real, "d").describe("damage; the tables soften when d < 1 or degr >= 1"));
TAVRIN_ROUTINE_DOC(equivalentstrain, EquivalentStrain,
                   "signed equivalent strain ±sqrt(e:e), negative when the volumetric strain is negative",
                   in(Real, "strain", "ntens").describe("solver order, engineering shears (3, 4 or 6)"),
                   out(Real, "eqstrain").describe("signed equivalent strain"), in(Int, "ndi").describe("direct components (not used)"),
                   in(Int, "ntens").opt("len(strain)").describe("strain components: 3, 4 or 6"));
TAVRIN_ROUTINE_DOC(endochroneviscoplasticity, EndochroneViscoPlasticity,
                   "stress of the endochronic viscoplastic resin after one increment",
                   in(Real, "stran", "6").describe("strain at the start, solver order, tensor shears"),
                   in(Real, "dstrain", "6").describe("strain increment"),
                   in(Real, "props", "nprops").describe("E, c, nu, Ep, beta, Ek of the six Maxwell branches "
                                                        "(tau 0.1 ... 1e4)"),
                   inout(Real, "stress", "6").describe("not read; the new stress"),
                   inout(Real, "statev", "nstatev").describe(
                       "1-6 endochronic stress, 7-42 the Maxwell stresses (six each)"),
                   in(Real, "dtime").describe("time increment"),
                   in(Int, "nprops").opt("len(props)").describe("at least 11"),
                   in(Int, "nstatev").opt("len(statev)").describe("at least 42"),
                   in(Logical, "writesdv").describe("store the branch stresses in statev"),
                   in(Logical, "matstate").describe("false: the elastic branch alone with E 15, c 0"));

}  // namespace
}  // namespace tavrin::bind
