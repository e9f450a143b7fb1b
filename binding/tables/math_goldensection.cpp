// Module math: the reverse-communication golden-section maximum search.
#include "engine/descriptor.hpp"
#include "foundation/goldensection.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math, "numerics toolbox");
TAVRIN_ROUTINE(inigoldensearch, IniGoldenSearch, out(Real, "x", "npoints"),
               out(Real, "y", "npoints"), out(Real, "xmove", "4"), out(Real, "lplimits", "2"),
               out(Int, "incr"), out(Int, "subcall"), out(Logical1, "golden"),
               out(Logical1, "finish"), in(Real, "xlow"), in(Real, "xup"), in(Real, "dx"),
               in(Int, "gsflag").describe("1: golden-section search; otherwise a scan with step dx"),
               in(Int, "npoints"));
// The search state is the caller's: every array and 0-d array below is
// updated in place (float64, int32 and bool, Fortran order).
TAVRIN_ROUTINE(gssafe, GSSAFE, inplace(Real, "xi"), inplace(Real, "yi"), in(Real, "dx"),
               inplace(Real, "x", "npoints"), inplace(Real, "y", "npoints"),
               inplace(Real, "xmove", "4"), inplace(Real, "ymove", "4"),
               inplace(Real, "lplimits", "2"), inplace(Int, "xdir"), inplace(Int, "increment"),
               inplace(Int, "proc"), inplace(Logical1, "isgolden"), inplace(Logical1, "update"),
               inplace(Logical1, "finish"), in(Real, "defaultvalue"),
               in(Int, "npoints").opt("len(x)"));
TAVRIN_ROUTINE(getnextfromgoldensearch, GetNextFromGoldenSearch, out(Real, "xnext"),
               out(Real, "dx"), inout(Real, "x", "npoints"), in(Real, "y", "npoints"),
               inout(Real, "xmove", "4"), inout(Real, "ymove", "4"), inout(Int, "xdir"),
               inout(Int, "increment"), in(Int, "npoints").opt("len(x)"));
TAVRIN_ROUTINE(getmaximumfromgoldensearch, GetMaximumFromGoldenSearch, out(Real, "xmax"),
               in(Real, "y", "npoints"), in(Real, "xmove", "4"), in(Real, "ymove", "4"),
               in(Real, "defaultvalue"), in(Int, "xdir"), in(Int, "increment"),
               in(Int, "npoints").opt("len(y)"));

}  // namespace
}  // namespace tavrin::bind
