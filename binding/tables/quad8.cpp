// Module quad8: shape functions of the 8-node serendipity quadrilateral.
#include "element_args.hpp"
#include "elements/shape_functions.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace element_args;

TAVRIN_BINDING_MODULE(quad8, "shape functions of the 8-node serendipity quadrilateral");
TAVRIN_ROUTINE_DOC(quad8sf, Quad8SF, "shape function N of one node of the 8-node quadrilateral",
                   result(Real, "quad8sf").describe(bad_argument_doc), xi, eta, inode);
TAVRIN_ROUTINE_DOC(quad8firstderivsf, Quad8FirstDerivSF,
                   "first derivative of one node's shape function of the 8-node quadrilateral",
                   result(Real, "quad8firstderivsf").describe(bad_argument_doc), xi, eta, inode, idvar);
TAVRIN_ROUTINE_DOC(quad8secondderivsf, Quad8SecondDerivSF,
                   "second derivative of one node's shape function of the 8-node quadrilateral",
                   result(Real, "quad8secondderivsf").describe(bad_argument_doc), xi, eta, inode,
                   idvar, iidvar);

}  // namespace
}  // namespace tavrin::bind
