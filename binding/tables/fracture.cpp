// Module fracture: mixed-mode energy release rate and crack closure.
#include "engine/descriptor.hpp"
#include "failure/fracture.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(fracture,
                      "mixed-mode fracture of a crack plane.\n\n"
                      "The equivalent critical energy release rate of a mixed-mode traction and the open or closed state "
                      "of a crack plane.  Tractions are given normal first, then the two shears; stresses are in MPa in "
                      "the Voigt order 11, 22, 33, 23, 13, 12, energy release rates in N/mm, rotation angles in radians "
                      "and axes counted from 1.");
TAVRIN_ROUTINE_DOC(getequivalentmixedmodeerr, GetEquivalentMixedModeERR,
                   "equivalent critical energy release rate of a mixed-mode traction",
                   out(Real, "geq").describe("equivalent critical energy release rate (N/mm); gc(1) for a zero traction"),
                   in(Real, "traction", "3").describe("traction on the crack plane: normal, then the two shears"),
                   in(Real, "gc", "n").describe("critical energy release rates (N/mm): n = 4 opening, closing, shear, shear; "
                                                "else modes I, II, III"),
                   in(Int, "n").opt("len(gc)").describe("number of rates, at least 3 (fewer: latch -2, result 0)"));
TAVRIN_ROUTINE_DOC(getcrackstatus, GetCrackStatus, "open (1) or closed (-1) state of a crack plane",
                   out(Int, "crckstatus").describe("-1 when the normal traction is negative (closed), else 1"),
                   in(Real, "svoigt", "6").describe("stress in Voigt order 11, 22, 33, 23, 13, 12 (MPa)"),
                   in(Real, "nrot", "3").describe("rotation axis"),
                   in(Real, "phi").describe("rotation angle about nrot (radians)"),
                   in(Int, "baseid").describe("normal axis of the crack plane in the rotated frame, 1, 2 or 3 (other: 1)"));

}  // namespace
}  // namespace tavrin::bind
