// _tavrin_badtable: a table whose descriptor names an argument the routine
// does not have; importing it must fail with a message naming the fault.
#include "engine/descriptor.hpp"
#include "engine/engine.hpp"

namespace badtable {
void copy(const double* a, double* b, int n) { std::copy(a, a + n, b); }
}  // namespace badtable

namespace tavrin::bind {
namespace {
using namespace dsl;
TAVRIN_BINDING_MODULE(badtable);
TAVRIN_ROUTINE(copy, badtable::copy, in(Real, "a", "n"), out(Real, "b", "count"), in(Int, "n").opt("len(a)"));
}  // namespace
}  // namespace tavrin::bind

PyMODINIT_FUNC PyInit__tavrin_badtable() { return tavrin::bind::create_module("_tavrin_badtable"); }
