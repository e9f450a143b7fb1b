// Module truss3: shape functions of the 3-node line (nodes at ξ = -1, 0, 1).
#include "element_args.hpp"
#include "elements/shape_functions.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace element_args;

TAVRIN_BINDING_MODULE(truss3, "shape functions of the 3-node line");
TAVRIN_ROUTINE_DOC(truss3sf, Truss3SF, "shape function N of one node of the 3-node line at ξ",
                   result(Real, "truss3sf").describe(bad_argument_doc), xi, inode);
TAVRIN_ROUTINE_DOC(truss3firstderivsf, Truss3FirstDerivSF,
                   "derivative dN/dξ of one node's shape function of the 3-node line",
                   result(Real, "truss3firstderivsf").describe(bad_argument_doc), xi, inode);

}  // namespace
}  // namespace tavrin::bind
