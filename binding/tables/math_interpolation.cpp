// Module math: table interpolation, Hermite integral and arc length.
#include "engine/descriptor.hpp"
#include "interp/tables.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

namespace math_interpolation_tables {
TAVRIN_BINDING_MODULE(math);

// Table arguments: y as long as x; the extent n is len(x).  Nearest and
// linear interpolation refuse an empty table; the Hermite routines report
// short tables through their own error facility, which ends the process.
constexpr Arg x_nonempty =
    in(Real, "x", "n").relation("len(x)>=1").describe("table abscissas, at least one");
constexpr Arg x_hermite = in(Real, "x", "n").describe(
    "table abscissas, strictly increasing, at least two (else the process ends)");
constexpr Arg y_table =
    in(Real, "y", "n").relation("len(y)==len(x)").describe("table ordinates, one per abscissa");
constexpr Arg n_table = hide(Int, "n", "len(x)").describe("number of table entries");
constexpr Arg p_points = in(Real, "p", "np").describe("evaluation points, any order");
constexpr Arg np_points = hide(Int, "np", "len(p)").describe("number of evaluation points");
constexpr Arg a_end = in(Real, "a").describe("lower limit (may lie beyond the table)");
constexpr Arg b_end = in(Real, "b").describe("upper limit; b < a changes the sign");

TAVRIN_ROUTINE_DOC(nearestinterpolation, math::nearestinterpolation,
                   "Values of a tabulated curve y(x) at the points p by nearest neighbour.\n"
                   "A point beyond either end takes that end's ordinate; a point midway between "
                   "two entries takes the one with the larger abscissa; a NaN point gives NaN.",
                   x_nonempty, y_table, n_table, p_points, np_points,
                   out(Real, "nearestinterpolation", "np").describe("one value per point of p, in "
                                                                    "the order of p"));
TAVRIN_ROUTINE_DOC(linearinterpolation, math::linearinterpolation,
                   "Values of a tabulated curve y(x) at the points p by linear interpolation, "
                   "continued beyond the table along the first or last interval's line.\n"
                   "Abscissas that do not strictly increase end the process (exit status 1, from "
                   "Python too); a single entry gives its ordinate everywhere.",
                   in(Real, "x", "n").relation("len(x)>=1").describe("table abscissas, strictly "
                                                                     "increasing"),
                   y_table, n_table, p_points, np_points,
                   out(Real, "linearinterpolation", "np").describe("one value per point of p, in "
                                                                   "the order of p"));
TAVRIN_ROUTINE_DOC(cubichermitianinterpolation, math::cubichermitianinterpolation,
                   "Values of a tabulated curve y(x) at the points p on the monotone piecewise "
                   "cubic Hermite curve (no overshoot: monotone on every interval where the data "
                   "are, flat at local extrema), continued beyond the table along the end cubics.\n"
                   "Fewer than two entries, abscissas that do not strictly increase or an empty p "
                   "end the process with the Hermite package's message (exit status 1, from "
                   "Python too); nothing is latched.",
                   x_hermite, y_table, n_table,
                   in(Real, "p", "np").describe("evaluation points, any order, at least one"),
                   np_points,
                   out(Real, "cubichermitianinterpolation", "np").describe("one value per point of "
                                                                           "p, in the order of p"));
TAVRIN_ROUTINE_DOC(cubichermitianintegration, math::cubichermitianintegration,
                   "Integral from a to b of the monotone cubic Hermite curve through the table "
                   "y(x) (the curve of cubichermitianinterpolation, continued beyond the table).\n"
                   "Fewer than two entries or abscissas that do not strictly increase end the "
                   "process with the Hermite package's message (exit status 1).",
                   result(Real, "r").describe("the integral, in units of y times x; 0 for a = b"),
                   x_hermite, y_table, n_table, a_end, b_end);

// The arc length carries a note on its accuracy in its doc string.
constexpr Arg cubichermitianarclength_args_[] = {
    result(Real, "s").describe("the approximate arc length, in the units of x and y"),
    x_hermite, y_table, n_table, a_end, b_end};
const Routine cubichermitianarclength_routine_ =
    make_routine<&math::cubichermitianarclength, cubichermitianarclength_args_>(
        "cubichermitianarclength",
        "Arc length of the monotone cubic Hermite curve through the table, from a to b,\n"
        "approximated as the integral of the Hermite curve through the node values\n"
        "sqrt(1 + d(i)**2) of the integrand (d: the curve's node derivatives).\n"
        "Exact for straight lines only.  Fewer than two entries or abscissas that do\n"
        "not strictly increase end the process (exit status 1).");
const RoutineRegistrar cubichermitianarclength_registrar_{tavrin_binding_module_,
                                                          cubichermitianarclength_routine_};

TAVRIN_ROUTINE_DOC(partialcurvelength, math::partialcurvelength,
                   "Arc-length integrand sqrt(1 + dy**2) of a curve with slope dy.",
                   result(Real, "partialcurvelength").describe("sqrt(1 + dy**2)"),
                   in(Real, "dy").describe("the slope dy/dx"));
}  // namespace math_interpolation_tables

}  // namespace
}  // namespace tavrin::bind
