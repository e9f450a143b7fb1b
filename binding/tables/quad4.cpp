// Module quad4: shape functions of the 4-node quadrilateral.
#include "element_args.hpp"
#include "elements/shape_functions.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace element_args;

TAVRIN_BINDING_MODULE(quad4, "shape functions of the 4-node quadrilateral");
TAVRIN_ROUTINE_DOC(quad4sf, Quad4SF, "bilinear shape function N of one node of the 4-node quadrilateral",
                   result(Real, "quad4sf").describe(bad_argument_doc), xi, eta, inode);
TAVRIN_ROUTINE_DOC(quad4firstderivsf, Quad4FirstDerivSF,
                   "first derivative of one node's shape function of the 4-node quadrilateral",
                   result(Real, "quad4firstderivsf").describe(bad_argument_doc), xi, eta, inode, idvar);

}  // namespace
}  // namespace tavrin::bind
