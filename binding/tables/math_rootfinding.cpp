// Module math: safeguarded root finders on caller-supplied functions.
#include "engine/descriptor.hpp"
#include "foundation/rootfinding.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

// A Python call-back receives f and d (xnew) as writable 0-d arrays and
// fills them; it takes the arguments after x only when it asks for them.
TAVRIN_CALLBACK(root_function, math::RootFunction, "dfunc", out(Real, "f"), out(Real, "d"),
                in(Real, "x"), in(Real, "args", "na").opt("0.0"), in(Int, "na").opt("len(args)"),
                in(Int, "nfun").opt("0"));
TAVRIN_CALLBACK(fixed_point_function, math::FixedPointFunction, "dfunc", out(Real, "xnew"),
                in(Real, "fargs", "na"), in(Int, "na").opt("len(fargs)"), in(Int, "nfun").opt("0"));

TAVRIN_BINDING_MODULE(math, "numerics toolbox");
TAVRIN_ROUTINE(bdsafe, math::bdsafe, callback("dfunc", root_function), in(Real, "x1"),
               in(Real, "x2"), out(Real, "root"), in(Real, "args", "na"), in(Real, "xacc"),
               in(Int, "maxit"), in(Int, "na").opt("len(args)"), in(Int, "nfun"), out(Int, "istat"));
TAVRIN_ROUTINE(nrsafe, math::nrsafe, callback("dfunc", root_function), in(Real, "x1"),
               in(Real, "x2"), out(Real, "root"), in(Real, "args", "na"), in(Real, "xacc"),
               in(Int, "maxit"), in(Int, "na").opt("len(args)"), in(Int, "nfun"), out(Int, "istat"));
TAVRIN_ROUTINE(fpsafe, math::fpsafe, callback("dfunc", fixed_point_function), inout(Real, "xs"),
               in(Real, "args", "na"), in(Real, "xacc"), in(Int, "maxit"),
               in(Int, "na").opt("len(args)").relation("na>=1")
                   .describe("args(1) is replaced by the iterate before every call"),
               in(Int, "nfun"), out(Int, "istat"));

}  // namespace
}  // namespace tavrin::bind
