// Module tria6: shape functions of the 6-node triangle.
#include "element_args.hpp"
#include "elements/shape_functions.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace element_args;

TAVRIN_BINDING_MODULE(tria6, "shape functions of the 6-node triangle (0 <= ξ, η; ξ + η <= 1)");
TAVRIN_ROUTINE_DOC(tria6sf, Tria6SF, "shape function N of one node of the 6-node triangle",
                   result(Real, "tria6sf").describe(bad_argument_doc), xi, eta, inode);
TAVRIN_ROUTINE_DOC(tria6firstderivsf, Tria6FirstDerivSF,
                   "first derivative of one node's shape function of the 6-node triangle",
                   result(Real, "tria6firstderivsf").describe(bad_argument_doc), xi, eta, inode, idvar);
TAVRIN_ROUTINE_DOC(tria6secondderivsf, Tria6SecondDerivSF,
                   "second derivative (a constant) of one node's shape function of the 6-node triangle",
                   result(Real, "tria6secondderivsf").describe(bad_argument_doc), xi, eta, inode,
                   idvar, iidvar);

}  // namespace
}  // namespace tavrin::bind
