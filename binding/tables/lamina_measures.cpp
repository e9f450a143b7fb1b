// Module lamina: stress and strain measures.
#include "engine/descriptor.hpp"
#include "tables/lamina_args.hpp"
#include "mechanics/stress_measures.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(lamina, lamina_args::lamina_doc);

constexpr const char* vector_layouts =
    "a stress vector of 3 components (11, 22, 12), 4 (11, 22, 33, 12) or 6 in Voigt order "
    "(11, 22, 33, 23, 13, 12)";
constexpr Arg stress_vector = in(Real, "stress", "nstress").describe(vector_layouts);
constexpr Arg nstress = in(Int, "nstress").opt("len(stress)").describe(
    "number of components: 3, 4 or 6; another count is latched (errstat -3) and reads as zero stress");
constexpr Arg principals = in(Real, "principals", "3").describe("the principal stresses");
constexpr Arg dfgrd = in(Real, "dfgrd", "3,3").describe("the deformation gradient F");

TAVRIN_ROUTINE_DOC(gettensorcomponents, GetTensorComponents,
                   "The six components of the symmetric tensor of a stress or strain vector, shears scaled.",
                   out(Real, "t11").describe("component 11"), out(Real, "t22").describe("component 22"),
                   out(Real, "t33").describe("component 33 (0 for three components)"),
                   out(Real, "t12").describe("component 12, times shearfactor"),
                   out(Real, "t13").describe("component 13, times shearfactor"),
                   out(Real, "t23").describe("component 23, times shearfactor"),
                   in(Real, "tvoigt", "nvoigt").describe(vector_layouts),
                   in(Int, "nvoigt").opt("len(tvoigt)").describe("number of components: 3, 4 or 6 (else all 0)"),
                   in(Real, "shearfactor").opt("1.0").describe(
                       "factor on the shear components (0.5 turns engineering shear strains into tensor ones)"));
TAVRIN_ROUTINE_DOC(gettrace, GetTrace, "Trace I1 = s11 + s22 + s33 of a stress vector.",
                   result(Real, "gettrace").describe("I1, in the stress unit"), stress_vector, nstress);
TAVRIN_ROUTINE_DOC(gethydrostaticpressure, GetHydrostaticPressure, "Hydrostatic stress p = I1/3 of a stress vector.",
                   result(Real, "gethydrostaticpressure").describe("(s11 + s22 + s33)/3, tension positive"),
                   stress_vector, nstress);
TAVRIN_ROUTINE_DOC(getmeanstress, GetMeanStress, "Mean (spherical) stress tensor p I of a stress vector.",
                   out(Real, "cm", "3,3").describe("p times the identity"), stress_vector, nstress);
TAVRIN_ROUTINE_DOC(getdeviatoricstress, GetDeviatoricStress, "Deviatoric stress tensor s - p I of a stress vector.",
                   out(Real, "cd", "3,3").describe("the deviator, a symmetric 3x3 tensor"),
                   in(Real, "svoigt", "6").describe("the stress in Voigt order 11, 22, 33, 23, 13, 12"));
TAVRIN_ROUTINE_DOC(getprincipals, GetPrincipals, "Principal stresses of a stress vector, largest first."
                   "\n\nA count other than 3, 4 or 6 is latched (errstat -3) and gives zero." TAVRIN_LAMINA_LATCH,
                   out(Real, "ps", "3").describe("the principal stresses, largest first"),
                   in(Real, "svoigt", "nvoigt").describe(vector_layouts),
                   in(Int, "nvoigt").opt("len(svoigt)").describe("number of components: 3, 4 or 6"));
TAVRIN_ROUTINE_DOC(getmisesstress, GetMisesStress, "Von Mises equivalent stress of a stress vector."
                   "\n\nA count other than 3, 4 or 6 is latched (errstat -3) and gives 0." TAVRIN_LAMINA_LATCH,
                   result(Real, "getmisesstress").describe(
                       "sqrt(1/2 [(s11-s22)^2 + (s22-s33)^2 + (s33-s11)^2] + 3 (s12^2 + s13^2 + s23^2))"),
                   stress_vector, nstress);
TAVRIN_ROUTINE_DOC(gettrescastress, GetTrescaStress, "Tresca equivalent stress: the largest difference of principal stresses.",
                   result(Real, "gettrescastress").describe("max |p_i - p_j|"), principals);
TAVRIN_ROUTINE_DOC(getrankinestress, GetRankineStress, "Rankine equivalent stress: the principal stress largest in magnitude.",
                   result(Real, "getrankinestress").describe(
                       "p1 when p1 >= 0 and p1 >= |p3|, else |p3| when p3 < 0, else p1"),
                   principals);
TAVRIN_ROUTINE_DOC(getstassistress, GetStassiStress,
                   "Stassi equivalent stress, von Mises corrected for unequal tensile and compressive strength.",
                   in(Real, "stress", "6").describe("the stress in Voigt order 11, 22, 33, 23, 13, 12"),
                   in(Real, "xt").describe("tensile strength"), in(Real, "xc").describe("compressive strength (positive)"),
                   out(Real, "eq_stress").describe(
                       "the root s of k s^2 - I1 (k - 1) s - s_vM^2 = 0, k = xc/xt, with the sign of I1"));
TAVRIN_ROUTINE_DOC(getmisesflow, GetMisesFlow, "Von Mises flow direction: the deviatoric stress over the von Mises stress.",
                   out(Real, "flow", "nstress").describe(
                       "in the layout of stress: normal entries (s_i - p)/s_vM, shear entries s_i/s_vM"),
                   stress_vector, nstress);
TAVRIN_ROUTINE_DOC(getsmallstrain, GetSmallStrain, "Small (engineering) strain tensor 1/2 (F + F^T) - I.",
                   out(Real, "small", "3,3").describe("the small strain tensor (tensor shears)"), dfgrd);
TAVRIN_ROUTINE_DOC(getgreenstrain, GetGreenStrain, "Green-Lagrange strain tensor 1/2 (F^T F - I).",
                   out(Real, "green", "3,3").describe("the Green-Lagrange strain tensor"), dfgrd);
TAVRIN_ROUTINE_DOC(getalmansistrain, GetAlmansiStrain, "Euler-Almansi strain tensor 1/2 (I - (F F^T)^-1).",
                   out(Real, "almansi", "3,3").describe("the Euler-Almansi strain tensor"), dfgrd);
TAVRIN_ROUTINE_DOC(gethardeningfromtable, GetHardeningFromTable,
                   "Yield stress and hardening slope at an equivalent plastic strain, interpolated in a table."
                   "\n\nPlastic strains that do not increase are latched (errstat -2)." TAVRIN_LAMINA_LATCH,
                   out(Real, "yield").describe("the yield stress; beyond the table its largest (ideal plasticity)"),
                   out(Real, "gradient").describe("d(yield)/d(plastic strain) there"),
                   in(Real, "strain").describe("the equivalent plastic strain"),
                   in(Real, "table", "ntable,2").describe("rows of (yield stress, plastic strain), strains increasing"),
                   in(Int, "ntable").opt("shape(table,0)").describe("number of rows"));

}  // namespace
}  // namespace tavrin::bind
