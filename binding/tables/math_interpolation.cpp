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
// short tables through their own error facility.
constexpr Arg x_any = in(Real, "x", "n");
constexpr Arg x_nonempty = x_any.relation("len(x)>=1");
constexpr Arg y_table = in(Real, "y", "n").relation("len(y)==len(x)");
constexpr Arg n_table = hide(Int, "n", "len(x)");
constexpr Arg p_points = in(Real, "p", "np");
constexpr Arg np_points = hide(Int, "np", "len(p)");

TAVRIN_ROUTINE(nearestinterpolation, math::nearestinterpolation, x_nonempty, y_table, n_table,
               p_points, np_points, out(Real, "nearestinterpolation", "np"));
TAVRIN_ROUTINE(linearinterpolation, math::linearinterpolation, x_nonempty, y_table, n_table,
               p_points, np_points, out(Real, "linearinterpolation", "np"));
TAVRIN_ROUTINE(cubichermitianinterpolation, math::cubichermitianinterpolation, x_any, y_table,
               n_table, p_points, np_points, out(Real, "cubichermitianinterpolation", "np"));
TAVRIN_ROUTINE(cubichermitianintegration, math::cubichermitianintegration, result(Real, "r"), x_any,
               y_table, n_table, in(Real, "a"), in(Real, "b"));

// The arc length carries a note on its accuracy in its doc string.
constexpr Arg cubichermitianarclength_args_[] = {result(Real, "s"), x_any,         y_table,
                                                 n_table,           in(Real, "a"), in(Real, "b")};
const Routine cubichermitianarclength_routine_ =
    make_routine<&math::cubichermitianarclength, cubichermitianarclength_args_>(
        "cubichermitianarclength",
        "Arc length of the monotone cubic Hermite curve through the table, from a to b,\n"
        "approximated as the integral of the Hermite curve through the node values\n"
        "sqrt(1 + d(i)**2) of the integrand (d: the curve's node derivatives).\n"
        "Exact for straight lines only.");
const RoutineRegistrar cubichermitianarclength_registrar_{tavrin_binding_module_,
                                                          cubichermitianarclength_routine_};

TAVRIN_ROUTINE(partialcurvelength, math::partialcurvelength, result(Real, "partialcurvelength"),
               in(Real, "dy"));
}  // namespace math_interpolation_tables

}  // namespace
}  // namespace tavrin::bind
