// Module laminate: ply z-coordinates, the stiffness blocks A, B, D and ABD,
// their inverses and engineering constants, lamination parameters,
// sublaminates and the Chai factors.
#include "engine/descriptor.hpp"
#include "tables/laminate_args.hpp"
#include "mechanics/laminate_stiffness.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
using namespace laminate_args;

TAVRIN_BINDING_MODULE(laminate, laminate_doc);
TAVRIN_ROUTINE(getplyzcoord, GetPlyZCoord, result(Real, "getplyzcoord"),
               in(Real, "plythickness", "nplies"), iply,
               in(Int, "nplies").opt("len(plythickness)"),
               in(Int, "zpos").describe("2: the top; 1: the middle; other: the bottom"),
               in(Real, "refoffset").opt("0.0").describe("the reference plane above the mid-plane"));
TAVRIN_ROUTINE(getamatrix, GetAMatrix, out(Real, "a", "3,3"), plyelastic, plyorientation,
               plythickness, nplies);
TAVRIN_ROUTINE(getbmatrix, GetBMatrix, out(Real, "b", "3,3"), plyelastic, plyorientation,
               plythickness, nplies);
TAVRIN_ROUTINE(getdmatrix, GetDMatrix, out(Real, "d", "3,3"), plyelastic, plyorientation,
               plythickness, nplies);
TAVRIN_ROUTINE(getabdmatrix, GetABDMatrix, out(Real, "abd", "6,6"), in(Real, "a", "3,3"),
               in(Real, "b", "3,3"), in(Real, "d", "3,3"));
TAVRIN_ROUTINE(getreducedbendingstiffness, GetReducedBendingStiffness, out(Real, "dred", "3,3"),
               in(Real, "a", "3,3"), in(Real, "b", "3,3"), in(Real, "d", "3,3"));
TAVRIN_ROUTINE(getabdtilde, GetABDTilde, in(Real, "a", "3,3"), in(Real, "b", "3,3"),
               in(Real, "d", "3,3"), out(Real, "atstar", "3,3"), out(Real, "btstar", "3,3"),
               out(Real, "dtstar", "3,3"));
TAVRIN_ROUTINE(getengconstsfromabdmatrix, GetEngConstsFromABDMatrix, out(Real, "eng", "8"),
               in(Real, "abd", "6,6"), in(Real, "h"),
               in(Logical, "tcflag").opt("0").describe("true: from the stiffness diagonal; false: "
                                                       "from the compliance"));
TAVRIN_ROUTINE(getvmatrix, GetVMatrix, out(Real, "v", "4,3"),
               in(Real, "plyorientation", "nplies").describe("radians"),
               in(Real, "plythickness", "nplies"), in(Int, "nplies").opt("len(plyorientation)"));
TAVRIN_ROUTINE(geteffectiveplatestiffness, GetEffectivePlateStiffness,
               result(Real, "geteffectiveplatestiffness"), plyelastic, plyorientation, plythickness,
               nplies);
TAVRIN_ROUTINE(getsublaminatestack, GetSubLaminateStack, out(Int, "sublamstack", "2"),
               in(Real, "plythickness", "nplies"),
               in(Int, "intface").describe("the interface above this ply"),
               in(Int, "nplies").opt("len(plythickness)"));
TAVRIN_ROUTINE(getsublaminatexmatrix, GetSubLaminateXMatrix, out(Real, "xsub", "3,3"),
               in(Text, "slflag", "1").describe("A, B or D; other: zero"), plyelastic,
               plyorientation, plythickness, in(Int, "sublamstack", "2"), nplies);
TAVRIN_ROUTINE(getchaidelamfactors, GetChaiDelamFactors, out(Real, "chaidfactors", "3"),
               in(Real, "qonl", "3,3"), in(Real, "qonu", "3,3"), in(Real, "dangl_d"),
               in(Real, "plythickl"), in(Real, "plythicku"), in(Real, "g23l"), in(Real, "g23u"),
               in(Real, "g13l"), in(Real, "g13u"));

}  // namespace
}  // namespace tavrin::bind
