// Module lamina: stress and strain measures.
#include "engine/descriptor.hpp"
#include "mechanics/stress_measures.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(lamina, "ply mechanics: stiffness, notations, rotations, stress measures");
TAVRIN_ROUTINE(gettensorcomponents, GetTensorComponents, out(Real, "t11"), out(Real, "t22"),
               out(Real, "t33"), out(Real, "t12"), out(Real, "t13"), out(Real, "t23"),
               in(Real, "tvoigt", "nvoigt"), in(Int, "nvoigt").opt("len(tvoigt)"),
               in(Real, "shearfactor").opt("1.0"));
TAVRIN_ROUTINE(gettrace, GetTrace, result(Real, "gettrace"), in(Real, "stress", "nstress"),
               in(Int, "nstress").opt("len(stress)"));
TAVRIN_ROUTINE(gethydrostaticpressure, GetHydrostaticPressure, result(Real, "gethydrostaticpressure"),
               in(Real, "stress", "nstress"), in(Int, "nstress").opt("len(stress)"));
TAVRIN_ROUTINE(getmeanstress, GetMeanStress, out(Real, "cm", "3,3"), in(Real, "stress", "nstress"),
               in(Int, "nstress").opt("len(stress)"));
TAVRIN_ROUTINE(getdeviatoricstress, GetDeviatoricStress, out(Real, "cd", "3,3"),
               in(Real, "svoigt", "6"));
TAVRIN_ROUTINE(getprincipals, GetPrincipals, out(Real, "ps", "3"), in(Real, "svoigt", "nvoigt"),
               in(Int, "nvoigt").opt("len(svoigt)"));
TAVRIN_ROUTINE(getmisesstress, GetMisesStress, result(Real, "getmisesstress"),
               in(Real, "stress", "nstress"), in(Int, "nstress").opt("len(stress)"));
TAVRIN_ROUTINE(gettrescastress, GetTrescaStress, result(Real, "gettrescastress"),
               in(Real, "principals", "3"));
TAVRIN_ROUTINE(getrankinestress, GetRankineStress, result(Real, "getrankinestress"),
               in(Real, "principals", "3"));
TAVRIN_ROUTINE(getstassistress, GetStassiStress, in(Real, "stress", "6"), in(Real, "xt"),
               in(Real, "xc"), out(Real, "eq_stress"));
TAVRIN_ROUTINE(getmisesflow, GetMisesFlow, out(Real, "flow", "nstress"), in(Real, "stress", "nstress"),
               in(Int, "nstress").opt("len(stress)"));
TAVRIN_ROUTINE(getsmallstrain, GetSmallStrain, out(Real, "small", "3,3"), in(Real, "dfgrd", "3,3"));
TAVRIN_ROUTINE(getgreenstrain, GetGreenStrain, out(Real, "green", "3,3"), in(Real, "dfgrd", "3,3"));
TAVRIN_ROUTINE(getalmansistrain, GetAlmansiStrain, out(Real, "almansi", "3,3"),
               in(Real, "dfgrd", "3,3"));
TAVRIN_ROUTINE(gethardeningfromtable, GetHardeningFromTable, out(Real, "yield"), out(Real, "gradient"),
               in(Real, "strain"), in(Real, "table", "ntable,2"), in(Int, "ntable").opt("shape(table,0)"));

}  // namespace
}  // namespace tavrin::bind
