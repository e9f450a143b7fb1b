// _tavrin_brokentable: a deliberately broken descriptor.  The routine writes
// entry n of x, but the descriptor declares x of assumed size, so nothing ties
// n to the array: the fuzzer must find the out-of-bounds write.
#include "engine/descriptor.hpp"
#include "engine/engine.hpp"

namespace brokentable {
void scribble(double* x, int n) {
  if (n != 0) x[n - 1] = 1.0;
}
}  // namespace brokentable

namespace tavrin::bind {
namespace {
using namespace dsl;
TAVRIN_BINDING_MODULE(brokentable);
TAVRIN_ROUTINE(scribble, brokentable::scribble, inplace(Real, "x", "*"), in(Int, "n"));
}  // namespace
}  // namespace tavrin::bind

PyMODINIT_FUNC PyInit__tavrin_brokentable() { return tavrin::bind::create_module("_tavrin_brokentable"); }
