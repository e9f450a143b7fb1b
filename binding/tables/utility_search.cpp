// Module utility: searching, selecting and reordering.  Flags come back as
// the integers 0 and 1.
#include "engine/descriptor.hpp"
#include "foundation/search.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(utility);

#define TAVRIN_FIND(prefix, letter, kind)                                                         \
  TAVRIN_ROUTINE(prefix##_findlocation, letter##FindLocation, result(Int, #prefix "_findlocation"), \
                 in(kind, "element"), in(kind, "array", "ndim"), in(Int, "ndim").opt("len(array)"), \
                 in(Int, "notfound").opt("-1"));                                                   \
  TAVRIN_ROUTINE(prefix##_findsubarray, letter##FindSubArray, result(Int, #prefix "_findsubarray"), \
                 in(kind, "subarray", "sdim"), in(kind, "array", "ndim"),                          \
                 in(Int, "sdim").opt("len(subarray)"), in(Int, "ndim").opt("len(array)"),          \
                 in(Int, "notfound").opt("-1"))
TAVRIN_FIND(int, i, Int);
TAVRIN_FIND(real, f, Real);
TAVRIN_FIND(cmplx, c, Complex);

#define TAVRIN_TESTS(prefix, letter, kind)                                                        \
  TAVRIN_ROUTINE(prefix##_getpairs, letter##GetPairs, out(Int, "ainb", "n"), in(kind, "a", "n"),  \
                 in(kind, "b", "n"), in(Int, "n").opt("len(a)"));                                  \
  TAVRIN_ROUTINE(prefix##_bounded, letter##Bounded, result(Int, #prefix "_bounded"),               \
                 in(kind, "x"), in(kind, "xlow"), in(kind, "xup"));                                \
  TAVRIN_ROUTINE(prefix##_inlist, letter##InList, result(Int, #prefix "_inlist"),                  \
                 in(kind, "scalar"), in(kind, "list", "n"), in(Int, "n").opt("len(list)"));        \
  TAVRIN_ROUTINE(prefix##_exlist, letter##ExList, result(Int, #prefix "_exlist"),                  \
                 in(kind, "scalar"), in(kind, "list", "n"), in(Int, "n").opt("len(list)"));        \
  TAVRIN_ROUTINE(prefix##_getcontinuous, letter##GetContinuous, in(kind, "xarr", "xdim"),          \
                 in(Int, "xdim").opt("len(xarr)"), out(Int, "iloc", "xdim"),                       \
                 in(Int, "sflag").describe("-1: descending, else ascending"))
TAVRIN_TESTS(int, i, Int);
TAVRIN_TESTS(real, f, Real);

TAVRIN_ROUTINE(int_getmerged, iGetMerged, out(Int, "merged", "nx+ny"), in(Int, "x", "nx"),
               in(Int, "y", "ny"), in(Int, "nx").opt("len(x)"), in(Int, "ny").opt("len(y)"),
               in(Int, "defval").opt("2147483647"));
TAVRIN_ROUTINE(real_getmerged, fGetMerged, out(Real, "merged", "nx+ny"), in(Real, "x", "nx"),
               in(Real, "y", "ny"), in(Int, "nx").opt("len(x)"), in(Int, "ny").opt("len(y)"),
               in(Real, "defval").opt("1.7976931348623157e308"));

TAVRIN_ROUTINE(getindicesexcludingsubarray, GetIndicesExcludingSubArray, out(Int, "indices", "n"),
               in(Int, "a", "n"), in(Int, "sub", "nsub"), in(Int, "n").opt("len(a)"),
               in(Int, "nsub").opt("len(sub)"));
TAVRIN_ROUTINE(getpackedlist, GetPackedList, out(Real, "packed", "npack"), in(Real, "list", "nlist"),
               in(Real, "condition"), in(Real, "padding"),
               in(Int, "cflag").describe("1 <, 2 <=, 3 ==, 4 >=, 5 >, 6 /="), in(Int, "npack"),
               in(Int, "nlist").opt("len(list)"));

TAVRIN_ROUTINE(vectorflip, VectorFlip, in(Real, "a", "n"), out(Real, "b", "n"),
               in(Int, "n").opt("len(a)"));
TAVRIN_ROUTINE(matrixflip, MatrixFlip, in(Real, "a", "n,m"), out(Real, "b", "n,m"),
               in(Int, "n").opt("shape(a,0)"), in(Int, "m").opt("shape(a,1)"),
               in(Int, "dimflag").describe(">= 0: columns reversed, < 0: rows reversed"));

TAVRIN_ROUTINE(int_swap, iSwap, inout(Int, "a"), inout(Int, "b"));
TAVRIN_ROUTINE(real_swap, fSwap, inout(Real, "a"), inout(Real, "b"));
TAVRIN_ROUTINE(cmplx_swap, cSwap, inout(Complex, "a"), inout(Complex, "b"));
TAVRIN_ROUTINE(int_inc, iINC, inout(Int, "i"), in(Int, "step").opt("1"));
TAVRIN_ROUTINE(real_inc, fINC, inout(Real, "f"), in(Real, "step").opt("1.0"));

TAVRIN_ROUTINE(logical_xor, lXOR, result(Int, "logical_xor"), in(Logical, "a"), in(Logical, "b"));
TAVRIN_ROUTINE(logical_nor, lNOR, result(Int, "logical_nor"), in(Logical, "a"), in(Logical, "b"));
TAVRIN_ROUTINE(logical_nand, lNAND, result(Int, "logical_nand"), in(Logical, "a"), in(Logical, "b"));

}  // namespace
}  // namespace tavrin::bind
