// Must not compile: the descriptor gives the output array as an input.
// DESCRIPTOR_CASE selects the fault: 1 wrong count, 2 wrong kind, 3 output
// bound to a read-only parameter.
#include "engine/descriptor.hpp"

namespace mismatch {
void copy(const double* a, double* b, int n) {
  for (int i = 0; i < n; ++i) b[i] = a[i];
}
}  // namespace mismatch

namespace tavrin::bind {
namespace {
using namespace dsl;
TAVRIN_BINDING_MODULE(mismatch);
#if DESCRIPTOR_CASE == 1
TAVRIN_ROUTINE(copy, mismatch::copy, in(Real, "a", "n"), out(Real, "b", "n"));
#elif DESCRIPTOR_CASE == 2
TAVRIN_ROUTINE(copy, mismatch::copy, in(Int, "a", "n"), out(Real, "b", "n"), in(Int, "n"));
#elif DESCRIPTOR_CASE == 3
TAVRIN_ROUTINE(copy, mismatch::copy, out(Real, "a", "n"), out(Real, "b", "n"), in(Int, "n"));
#else
TAVRIN_ROUTINE(copy, mismatch::copy, in(Real, "a", "n"), out(Real, "b", "n"), in(Int, "n"));
#endif
}  // namespace
}  // namespace tavrin::bind
