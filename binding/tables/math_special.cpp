// Module math: scalar special functions.
#include "engine/descriptor.hpp"
#include "foundation/special.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math, "numerics toolbox");
TAVRIN_ROUTINE(dacoth, math::dacoth, result(Real, "y"), in(Real, "x"));
TAVRIN_ROUTINE(datanh, math::datanh, result(Real, "y"), in(Real, "x"));
TAVRIN_ROUTINE(fishertransformation, math::fishertransformation,
               result(Real, "fishertransformation"), in(Real, "x"),
               in(Int, "iflag").opt("-1").describe("-1: datanh(x); any other value: tanh(x)"));
TAVRIN_ROUTINE(dacosh, math::dacosh, result(Real, "y"), in(Real, "x"));
TAVRIN_ROUTINE(dasinh, math::dasinh, result(Real, "y"), in(Real, "x"));
TAVRIN_ROUTINE(droundsf, math::droundsf, result(Real, "droundsf"), in(Real, "a"),
               in(Int, "sig").opt("8"));
TAVRIN_ROUTINE(dceil, math::dceil, result(Real, "dceil"), in(Real, "a"));

}  // namespace
}  // namespace tavrin::bind
