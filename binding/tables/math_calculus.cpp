// Module math: numerical differentiation and integration.
#include "engine/descriptor.hpp"
#include "foundation/calculus.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math, "numerics toolbox");
TAVRIN_ROUTINE(trapezoidintegration, math::trapezoidintegration, result(Real, "trapezoidintegration"),
               in(Real, "x", "n"), in(Real, "y", "n"), hide(Int, "n", "len(x)"));
TAVRIN_ROUTINE(gradient, Gradient, out(Real, "jac", "a,b"), in(Real, "dy", "a,b"), in(Real, "dx", "b"),
               in(Int, "a").opt("shape(dy,0)"), in(Int, "b").opt("shape(dy,1)"));
TAVRIN_ROUTINE(complexstepderivative, ComplexStepDerivative, out(Real, "derivative", "n"),
               in(Complex, "y", "n"), in(Complex, "x", "n"), in(Int, "n").opt("len(y)"));
TAVRIN_ROUTINE(centralstepderivative, CentralStepDerivative, out(Real, "derivative", "n"),
               in(Real, "y", "n"), in(Real, "x", "n"), in(Int, "n").opt("len(y)").relation("n>=2"));
TAVRIN_ROUTINE(shoelacemethod, ShoelaceMethod, result(Real, "shoelacemethod"), in(Real, "x", "n"),
               in(Real, "y", "n"), in(Int, "n").opt("len(x)"));
TAVRIN_ROUTINE(pascaltriangle, PascalTriangle, result(Real, "pascaltriangle"), in(Int, "n"),
               in(Int, "k"));

}  // namespace
}  // namespace tavrin::bind
