// Module math: cubic roots and polynomial fitting.
#include "engine/descriptor.hpp"
#include "foundation/polynomials.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math);
TAVRIN_ROUTINE_DOC(cuberoot, math::cuberoot, "Real cube root, negative for negative a.",
                   result(Real, "cuberoot").describe("the cube root; exactly 0 for 0"),
                   in(Real, "a").describe("the radicand"));
TAVRIN_ROUTINE_DOC(specialcase, SpecialCase,
                   "Real roots of the depressed cubic t**3 + p*t + q = 0 by Cardano's formula.",
                   in(Real, "p").describe("coefficient of t"),
                   in(Real, "q").describe("constant term"),
                   out(Real, "xx1").describe("smallest root; the one real root when there is only "
                                             "one"),
                   out(Real, "xx2").describe("middle root; the one real root when there is only "
                                             "one"),
                   out(Real, "xx3").describe("largest root; the one real root when there is only "
                                             "one"));
TAVRIN_ROUTINE_DOC(solution3pe, Solution3PE,
                   "Real roots of the cubic a*x**3 + b*x**2 + c*x + d = 0 in closed form.\n"
                   "a = 0 latches -3 \"Cubic equation with a zero leading coefficient\" "
                   "(errorhandling.errstat, errstring) and gives NaN roots.",
                   in(Real, "a").describe("coefficient of x**3, not 0"),
                   in(Real, "b").describe("coefficient of x**2"),
                   in(Real, "c").describe("coefficient of x"),
                   in(Real, "d").describe("constant term"),
                   out(Real, "x1").describe("smallest root; the one real root when there is only "
                                            "one"),
                   out(Real, "x2").describe("middle root; the one real root when there is only "
                                            "one"),
                   out(Real, "x3").describe("largest root; the one real root when there is only "
                                            "one"));
TAVRIN_ROUTINE_DOC(polynomialfitting, math::polynomialfitting,
                   "Least-squares polynomial of degree d through the points (vx(i), vy(i)), by the "
                   "normal equations.\n"
                   "Fewer distinct abscissas than d+1 latch -2 \"Problem in polynom fitting "
                   "function\"; a negative d or vx and vy of different lengths latch -3 (read "
                   "errorhandling.errstat, errstring); the coefficients are then NaN (no "
                   "coefficients for a negative d).",
                   in(Real, "vx", "nx").describe("abscissas of the points"),
                   hide(Int, "nx", "len(vx)").describe("number of abscissas"),
                   in(Real, "vy", "ny").describe("ordinates, as many as vx"),
                   hide(Int, "ny", "len(vy)").describe("number of ordinates"),
                   in(Int, "d").describe("the degree"),
                   out(Real, "polynomialfitting", "d+1").describe("the coefficients, lowest power "
                                                                 "first: entry j (0-based in "
                                                                 "Python) multiplies x**j"));

}  // namespace
}  // namespace tavrin::bind
