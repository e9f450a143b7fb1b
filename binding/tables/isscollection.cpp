// Module isscollection: in-situ strengths.
#include "engine/descriptor.hpp"
#include "mechanics/insitu_strengths.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(isscollection, "in-situ strengths");
TAVRIN_ROUTINE(insitularc04, InSituLaRC04, out(Real, "ys", "2"),
               in(Real, "elastic", "4").describe("(E11, E22, nu12, G12)"),
               in(Real, "gxc", "2").describe("(GIc, GIIc)"), in(Real, "xt22"), in(Real, "x12"),
               in(Real, "t"), in(Real, "tlim").opt("0.0007"));
TAVRIN_ROUTINE(insituchanglessard, InSituChangLessard, out(Real, "ys", "2"), in(Real, "xt22"),
               in(Real, "ilss"), in(Real, "tratio"), in(Real, "dtmin_d"),
               in(Real, "atod", "4").opt("0").describe(
                   "(a, b, c, d); a C caller that omits it gets (1.3, 0.7, 0.0, 1.0)"));
TAVRIN_ROUTINE(insitupuckps, InSituPuckPS, out(Real, "xc"), in(Real, "xc11"), in(Real, "xc22"),
               in(Real, "x12"), in(Real, "theta"),
               in(Real, "gp", "4").opt("[0.3, 0.2, 0.15, 0.15]"));

}  // namespace
}  // namespace tavrin::bind
