// Module cccollection: crushing criteria of a sandwich core.
#include "engine/descriptor.hpp"
#include "failure/cccollection.hpp"
#include "tables/failure_args.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace failure_args;

constexpr Arg normal(const char* name) { return in(Real, name).describe("core normal stress at the station (MPa)"); }
constexpr Arg shears(const char* name) { return in(Real, name, "2").describe("core transverse shears at the station (MPa): 23, then 13"); }
#define CC_STATIONS effort("rcc"), normal("s33u"), normal("s33m"), normal("s33l"), shears("taou"), shears("taom"), \
    shears("taol"), strength("xc33"), strength("x13"), strength("x23")

TAVRIN_BINDING_MODULE(cccollection,
                      "core-crushing criteria.\n\n"
                      "Crushing efforts of a sandwich core, evaluated at its upper (u), middle (m) and lower (l) station and reported as the largest station effort (1.0 at failure).  Each station gives its core normal stress s33 and its transverse shear pair tao = (tau23, tau13); strengths are positive magnitudes, all in MPa.  A station in tension (s33 > 0) does not crush (effort 1e-20).");
TAVRIN_ROUTINE_DOC(ccpetras, CCPetras, "Petras' core-crushing effort (signed linear sum), the largest of the upper, middle and lower station" TAVRIN_EFFORT_AS_LAMBDA
                   "  A core whose stations are all in tension stays at 1e-20 whatever the load.",
                   CC_STATIONS);
TAVRIN_ROUTINE_DOC(ccbesant, CCBesant, "Besant's core-crushing effort (power sum), the largest of the upper, middle and lower station" TAVRIN_EFFORT_AS_LAMBDA
                   "  A core whose stations are all in tension stays at 1e-20 whatever the load.",
                   CC_STATIONS, in(Real, "besantexponent").describe("exponent of the power sum"));

#undef CC_STATIONS
}  // namespace
}  // namespace tavrin::bind
