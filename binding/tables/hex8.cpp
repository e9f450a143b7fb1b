// Module hex8: shape functions of the 8-node brick.
#include "element_args.hpp"
#include "elements/shape_functions.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace element_args;

TAVRIN_BINDING_MODULE(hex8, "shape functions of the 8-node brick");
TAVRIN_ROUTINE_DOC(hex8sf, Hex8SF, "trilinear shape function N of one node of the 8-node brick",
                   result(Real, "hex8sf").describe(bad_argument_doc), xi, eta, zeta, inode);
TAVRIN_ROUTINE_DOC(hex8firstderivsf, Hex8FirstDerivSF,
                   "first derivative of one node's shape function of the 8-node brick",
                   result(Real, "hex8firstderivsf").describe(bad_argument_doc), xi, eta, zeta, inode,
                   idvar);
TAVRIN_ROUTINE_DOC(hex8secondderivsf, Hex8SecondDerivSF,
                   "second derivative of one node's shape function of the 8-node brick (pure ones are 0)",
                   result(Real, "hex8secondderivsf").describe(bad_argument_doc), xi, eta, zeta, inode,
                   idvar, iidvar);

}  // namespace
}  // namespace tavrin::bind
