// Module math: cubic roots and polynomial fitting.
#include "engine/descriptor.hpp"
#include "foundation/polynomials.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math, "numerics toolbox");
TAVRIN_ROUTINE(cuberoot, math::cuberoot, result(Real, "cuberoot"), in(Real, "a"));
TAVRIN_ROUTINE(specialcase, SpecialCase, in(Real, "p"), in(Real, "q"), out(Real, "xx1"),
               out(Real, "xx2"), out(Real, "xx3"));
TAVRIN_ROUTINE(solution3pe, Solution3PE, in(Real, "a"), in(Real, "b"), in(Real, "c"),
               in(Real, "d"), out(Real, "x1"), out(Real, "x2"), out(Real, "x3"));
TAVRIN_ROUTINE(polynomialfitting, math::polynomialfitting, in(Real, "vx", "nx"),
               hide(Int, "nx", "len(vx)"), in(Real, "vy", "ny"), hide(Int, "ny", "len(vy)"),
               in(Int, "d").describe("the degree"),
               out(Real, "polynomialfitting", "d+1"));

}  // namespace
}  // namespace tavrin::bind
