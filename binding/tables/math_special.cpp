// Module math: scalar special functions.
#include "engine/descriptor.hpp"
#include "foundation/special.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math);
TAVRIN_ROUTINE_DOC(dacoth, math::dacoth,
                   "Inverse hyperbolic cotangent, 0.5*log((x + 1)/(x - 1)), for |x| > 1.",
                   result(Real, "y").describe("the value; NaN or infinite outside the domain "
                                              "(+inf at x = 1)"),
                   in(Real, "x").describe("the argument, |x| > 1"));
TAVRIN_ROUTINE_DOC(datanh, math::datanh,
                   "Inverse hyperbolic tangent, 0.5*log((x + 1)/(1 - x)), for |x| < 1.",
                   result(Real, "y").describe("the value; NaN or infinite outside the domain "
                                              "(+inf at x = 1)"),
                   in(Real, "x").describe("the argument, |x| < 1"));
TAVRIN_ROUTINE_DOC(fishertransformation, math::fishertransformation,
                   "Fisher transformation of a correlation coefficient, atanh(x), or its inverse "
                   "tanh(x).",
                   result(Real, "fishertransformation").describe("atanh(x) or tanh(x), by iflag"),
                   in(Real, "x").describe("a correlation coefficient in (-1, 1) for the transform; "
                                          "any real for the inverse"),
                   in(Int, "iflag").opt("-1").describe("-1: datanh(x); any other value: tanh(x)"));
TAVRIN_ROUTINE_DOC(dacosh, math::dacosh,
                   "Inverse hyperbolic cosine, log(x + sqrt(x*x - 1)), for x >= 1.",
                   result(Real, "y").describe("the value; NaN for x < 1"),
                   in(Real, "x").describe("the argument, x >= 1"));
TAVRIN_ROUTINE_DOC(dasinh, math::dasinh, "Inverse hyperbolic sine, log(x + sqrt(x*x + 1)).",
                   result(Real, "y").describe("the value"), in(Real, "x").describe("the argument"));
TAVRIN_ROUTINE_DOC(droundsf, math::droundsf,
                   "A number cut (toward zero, not rounded) after sig decimal places.",
                   result(Real, "droundsf").describe("a*10**sig without its fraction, divided by "
                                                     "10**sig (unchanged once |a*10**sig| >= "
                                                     "2**52)"),
                   in(Real, "a").describe("the number"),
                   in(Int, "sig").opt("8").describe("number of decimal places kept"));
TAVRIN_ROUTINE_DOC(dceil, math::dceil,
                   "Integer part of a (toward zero) plus 1: the ceiling for positive non-integral "
                   "a, a + 1 for integral a.",
                   result(Real, "dceil").describe("trunc(a) + 1"),
                   in(Real, "a").describe("the number"));

}  // namespace
}  // namespace tavrin::bind
