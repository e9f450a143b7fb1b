// Module math: numerical differentiation and integration.
#include "engine/descriptor.hpp"
#include "foundation/calculus.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math);
TAVRIN_ROUTINE_DOC(trapezoidintegration, math::trapezoidintegration,
                   "Integral of sampled data y(x) by the trapezoidal rule.",
                   result(Real, "trapezoidintegration")
                       .describe("0.5*sum((y(i) + y(i+1))*(x(i+1) - x(i))); 0 for fewer than two "
                                 "samples; a decreasing x gives the negated integral"),
                   in(Real, "x", "n").describe("abscissas of the samples, in order (need not "
                                               "increase)"),
                   in(Real, "y", "n").describe("ordinates, at least as many as x"),
                   hide(Int, "n", "len(x)").describe("number of samples"));
TAVRIN_ROUTINE_DOC(gradient, Gradient,
                   "Jacobian of differences: each column of differences dy divided by its step, "
                   "jac(i,j) = dy(i,j)/dx(j).",
                   out(Real, "jac", "a,b").describe("the difference quotients, one column per "
                                                    "step"),
                   in(Real, "dy", "a,b").describe("differences of the a function values, column j "
                                                  "for step j"),
                   in(Real, "dx", "b").describe("the b steps"),
                   in(Int, "a").opt("shape(dy,0)").describe("number of function values (rows)"),
                   in(Int, "b").opt("shape(dy,1)").describe("number of steps (columns)"));
TAVRIN_ROUTINE_DOC(complexstepderivative, ComplexStepDerivative,
                   "Complex-step derivative f'(x0) = Im y / Im x of values y = f(x) evaluated at "
                   "complex points x = x0 + i*h, free of subtractive cancellation.",
                   out(Real, "derivative", "n").describe("derivative(i) = Im y(i) / Im x(i)"),
                   in(Complex, "y", "n").describe("the function values f(x(i)), complex"),
                   in(Complex, "x", "n").describe("the complex evaluation points x0 + i*h (h tiny, "
                                                  "e.g. 1e-20)"),
                   in(Int, "n").opt("len(y)").describe("number of points"));
TAVRIN_ROUTINE_DOC(centralstepderivative, CentralStepDerivative,
                   "Derivative of sampled data y(x): central differences inside, one-sided "
                   "differences at both ends.",
                   out(Real, "derivative", "n").describe("dy/dx at each sample"),
                   in(Real, "y", "n").describe("ordinates"),
                   in(Real, "x", "n").describe("abscissas, distinct neighbours"),
                   in(Int, "n").opt("len(y)").relation("n>=2").describe("number of samples, at "
                                                                       "least 2"));
TAVRIN_ROUTINE_DOC(shoelacemethod, ShoelaceMethod,
                   "Unsigned area of the polygon with vertices (x(i), y(i)) by the shoelace "
                   "formula.",
                   result(Real, "shoelacemethod").describe("the area, for either vertex order; 0 "
                                                           "for fewer than three vertices"),
                   in(Real, "x", "n").describe("x of the vertices in order; the last joins the "
                                               "first"),
                   in(Real, "y", "n").describe("y of the vertices"),
                   in(Int, "n").opt("len(x)").describe("number of vertices"));
TAVRIN_ROUTINE_DOC(pascaltriangle, PascalTriangle,
                   "Binomial coefficient C(n, k) as a real, for any integer n (C(-1, k) = "
                   "(-1)**k).",
                   result(Real, "pascaltriangle").describe("C(n, k); 1 for k < 1; exact up to "
                                                           "2**53"),
                   in(Int, "n").describe("upper argument"),
                   in(Int, "k").describe("lower argument"));

}  // namespace
}  // namespace tavrin::bind
