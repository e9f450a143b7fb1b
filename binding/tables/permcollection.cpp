// Module permcollection: permanent indentation after an impact.
#include "engine/descriptor.hpp"
#include "mechanics/contact.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

constexpr Arg a0 = out(Real, "a0").describe("permanent indentation");
constexpr Arg amax = in(Real, "amax").describe("largest indentation reached");
constexpr Arg acr = in(Real, "acr").describe("critical indentation below which none remains");

TAVRIN_BINDING_MODULE(permcollection,
                      "permanent indentation laws.\n\n"
                      "Permanent indentation (dent depth) left after a low-velocity impact on a laminate, from the largest indentation reached and a critical indentation, or empirically from the laminate thickness and the delaminated area.  Lengths are in one consistent unit (e.g. mm, areas in its square).");
TAVRIN_ROUTINE_DOC(piairbus, PIAirbus, "empirical permanent indentation 0.0009·delarea·tges^-0.81", a0,
                   in(Real, "tges").describe("laminate thickness"),
                   in(Real, "delarea").describe("delaminated area"));
TAVRIN_ROUTINE_DOC(pisuresh, PISuresh, "permanent indentation after Suresh (a1: the excess amax - acr)",
                   a0, out(Real, "a1").describe("excess amax - acr (-1: not computed)"), amax, acr,
                   in(Real, "kcce").describe("elastic recovery factor (lbnds false)"),
                   in(Logical, "lbnds").describe("true: a0 = 0.333·(amax - acr), a1 = amax - acr"),
                   in(Logical, "llesscrit").describe("false: no permanent indentation"));
TAVRIN_ROUTINE_DOC(pitansunnonlinear, PITanSunNonLinear,
                   "permanent indentation amax·(1 - (acr/amax)^0.4) after Tan and Sun", a0, amax, acr);
TAVRIN_ROUTINE_DOC(pitansunlinear, PITanSunLinear, "permanent indentation (amax - acr)·ksc", a0, amax,
                   acr, in(Real, "ksc").describe("slope"));

}  // namespace
}  // namespace tavrin::bind
