// Module delcollection: delamination-onset criteria.
#include "engine/descriptor.hpp"
#include "failure/delcollection.hpp"
#include "tables/failure_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace failure_args;

constexpr Arg rdel = effort("rdel");

TAVRIN_BINDING_MODULE(delcollection,
                      "delamination-onset criteria.\n\n"
                      "Delamination-onset efforts (1.0 at onset) from the through-thickness stresses of a ply (s33 normal, s13 and s23 interlaminar shear), or from the two plies meeting at an interface (suffix l the lower ply, u the upper one).  Axes 1 fibre, 2 transverse, 3 thickness; stresses and strengths in MPa, strengths positive magnitudes, ilss the interlaminar shear strength.  Every effort here grows as λ when every stress is scaled by λ, so 1/effort is the load factor at failure.");
TAVRIN_ROUTINE_DOC(dellee, DelLee, "Lee's delamination effort: the larger of the normal and the interlaminar shear ratio" TAVRIN_EFFORT_AS_LAMBDA,
                   rdel, stress("s33"), stress("s12"), stress("s13"), strength("xt33"), strength("xc33"), strength("ilss"));
TAVRIN_ROUTINE_DOC(delochoaengblom, DelOchoaEngblom, "Ochoa-Engblom quadratic delamination effort" TAVRIN_EFFORT_AS_LAMBDA,
                   rdel, stress("s33"), stress("s13"), stress("s23"), strength("xt33"), strength("xc33"), strength("ilss"));
TAVRIN_ROUTINE_DOC(delhashin, DelHashin, "Hashin-type quadratic delamination effort" TAVRIN_EFFORT_AS_LAMBDA,
                   rdel, stress("s33"), stress("s13"), stress("s23"), strength("xt22"), strength("xc22"), strength("ilss"));
TAVRIN_ROUTINE_DOC(delpuck, DelPuck, "Puck's action-plane effort on the plane normal to the thickness" TAVRIN_EFFORT_AS_LAMBDA,
                   rdel, stress("s33"), stress("s13"), stress("s23"), strength("xt22"), strength("xc22"),
                   strength("ilss"), puck_gp);
TAVRIN_ROUTINE_DOC(delchoichang, DelChoiChang, "Choi-Chang delamination effort at the interface of two plies" TAVRIN_EFFORT_AS_LAMBDA,
                   rdel, stress("s22l"), stress("s13l"), stress("s23u"), strength("xt22l"), strength("xc22l"),
                   strength("ilssl"), strength("ilssu"), in(Real, "da").opt("1.8").describe("empirical factor"));
TAVRIN_ROUTINE_DOC(delchai, DelChai, "Chai's weighted delamination effort at the interface of two plies" TAVRIN_EFFORT_AS_LAMBDA,
                   rdel, stress("s22l"), stress("s13l"), stress("s23u"), strength("xt22l"), strength("xc22l"),
                   strength("x23u"), strength("ilssl"), in(Real, "df1").describe("weight of the transverse normal term"),
                   in(Real, "df2").describe("weight of the upper ply's transverse shear term"),
                   in(Real, "df3").describe("weight of the lower ply's interlaminar shear term"));

}  // namespace
}  // namespace tavrin::bind
