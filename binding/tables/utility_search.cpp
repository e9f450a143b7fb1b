// Module utility: searching, selecting and reordering.  Flags come back as
// the integers 0 and 1.
#include "engine/descriptor.hpp"
#include "foundation/search.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(utility);

constexpr Arg notfound =
    in(Int, "notfound").opt("-1").describe("the value returned when there is no match");

#define TAVRIN_FIND(prefix, letter, kind, type_text)                                              \
  TAVRIN_ROUTINE_DOC(prefix##_findlocation, letter##FindLocation,                                  \
                     "First position of a value in " type_text " array (exact comparison).",      \
                     result(Int, #prefix "_findlocation")                                          \
                         .describe("1-based position of the first match; notfound when none"),     \
                     in(kind, "element").describe("the value sought (a NaN never matches)"),      \
                     in(kind, "array", "ndim").describe("the array searched"),                    \
                     in(Int, "ndim").opt("len(array)").describe("entries searched"), notfound);   \
  TAVRIN_ROUTINE_DOC(prefix##_findsubarray, letter##FindSubArray,                                  \
                     "First position at which a run of values occurs in " type_text " array.",    \
                     result(Int, #prefix "_findsubarray")                                          \
                         .describe("1-based position where the run starts; notfound when none "   \
                                   "or when it is longer than the array; 1 for an empty run"),     \
                     in(kind, "subarray", "sdim").describe("the run sought"),                     \
                     in(kind, "array", "ndim").describe("the array searched"),                    \
                     in(Int, "sdim").opt("len(subarray)").describe("length of the run"),          \
                     in(Int, "ndim").opt("len(array)").describe("entries searched"), notfound)
TAVRIN_FIND(int, i, Int, "an integer");
TAVRIN_FIND(real, f, Real, "a real");
TAVRIN_FIND(cmplx, c, Complex, "a complex");

#define TAVRIN_TESTS(prefix, letter, kind, type_text)                                             \
  TAVRIN_ROUTINE_DOC(prefix##_getpairs, letter##GetPairs,                                          \
                     "Position in b of each entry of a (" type_text " values).",                  \
                     out(Int, "ainb", "n").describe("ainb(i): 1-based position of the first b "    \
                                                    "equal to a(i); -1 where none is"),            \
                     in(kind, "a", "n").describe("the values sought"),                            \
                     in(kind, "b", "n").describe("the values searched"),                          \
                     in(Int, "n").opt("len(a)").describe("entries of a and b"));                  \
  TAVRIN_ROUTINE_DOC(prefix##_bounded, letter##Bounded,                                            \
                     "Whether xlow <= x <= xup (both ends included).",                            \
                     result(Int, #prefix "_bounded").describe("1 inside, 0 outside, also for "     \
                                                              "xlow > xup and a NaN x"),          \
                     in(kind, "x").describe("the value"), in(kind, "xlow").describe("lower end"), \
                     in(kind, "xup").describe("upper end"));                                      \
  TAVRIN_ROUTINE_DOC(prefix##_inlist, letter##InList,                                              \
                     "Whether a value equals some entry of a list.",                              \
                     result(Int, #prefix "_inlist").describe("1 when some entry equals scalar; "   \
                                                             "0 otherwise and for an empty list"), \
                     in(kind, "scalar").describe("the value"),                                    \
                     in(kind, "list", "n").describe("the list"),                                  \
                     in(Int, "n").opt("len(list)").describe("entries of the list"));              \
  TAVRIN_ROUTINE_DOC(prefix##_exlist, letter##ExList,                                              \
                     "Whether every entry of a list equals a value.",                             \
                     result(Int, #prefix "_exlist").describe("1 when every entry equals scalar, "  \
                                                             "also for an empty list; else 0"),   \
                     in(kind, "scalar").describe("the value"),                                    \
                     in(kind, "list", "n").describe("the list"),                                  \
                     in(Int, "n").opt("len(list)").describe("entries of the list"));              \
  TAVRIN_ROUTINE_DOC(prefix##_getcontinuous, letter##GetContinuous,                                \
                     "Ordering permutation of an array (a stable argsort): the positions in "     \
                     "ascending or descending order of their values.",                            \
                     in(kind, "xarr", "xdim").describe("the values"),                             \
                     in(Int, "xdim").opt("len(xarr)").describe("number of values"),               \
                     out(Int, "iloc", "xdim").describe("1-based positions of xarr, sorted; "       \
                                                       "equal values in position order, NaNs "    \
                                                       "last"),                                   \
                     in(Int, "sflag").describe("-1: descending, else ascending"))
TAVRIN_TESTS(int, i, Int, "integer");
TAVRIN_TESTS(real, f, Real, "real");

constexpr const char* merged_doc =
    "entries of x that equal no entry of y, then those of y that equal no entry of x, then each "
    "shared value once in the order of x; the slots left over hold defval, the first of them 0 "
    "when x or y holds a 0";
TAVRIN_ROUTINE_DOC(int_getmerged, iGetMerged,
                   "Merge of two integer lists without repeating the values they share.",
                   out(Int, "merged", "nx+ny").describe(merged_doc),
                   in(Int, "x", "nx").describe("first list"),
                   in(Int, "y", "ny").describe("second list"),
                   in(Int, "nx").opt("len(x)").describe("entries of x"),
                   in(Int, "ny").opt("len(y)").describe("entries of y"),
                   in(Int, "defval").opt("2147483647").describe("filler of the unused slots"));
TAVRIN_ROUTINE_DOC(real_getmerged, fGetMerged,
                   "Merge of two real lists without repeating the values they share.",
                   out(Real, "merged", "nx+ny").describe(merged_doc),
                   in(Real, "x", "nx").describe("first list"),
                   in(Real, "y", "ny").describe("second list"),
                   in(Int, "nx").opt("len(x)").describe("entries of x"),
                   in(Int, "ny").opt("len(y)").describe("entries of y"),
                   in(Real, "defval").opt("1.7976931348623157e308").describe("filler of the unused "
                                                                             "slots"));

TAVRIN_ROUTINE_DOC(getindicesexcludingsubarray, GetIndicesExcludingSubArray,
                   "Positions of an integer array whose values are none of a given set.",
                   out(Int, "indices", "n").describe("the 1-based positions kept, increasing, then "
                                                     "-1"),
                   in(Int, "a", "n").describe("the array"),
                   in(Int, "sub", "nsub").describe("the values excluded"),
                   in(Int, "n").opt("len(a)").describe("entries of a"),
                   in(Int, "nsub").opt("len(sub)").describe("entries of sub"));
TAVRIN_ROUTINE_DOC(getpackedlist, GetPackedList,
                   "Entries of a list that pass one comparison with a value, packed to the front.",
                   out(Real, "packed", "npack").describe("the passing entries in list order, then "
                                                         "padding; only padding when more than "
                                                         "npack pass or cflag is not 1..6"),
                   in(Real, "list", "nlist").describe("the list"),
                   in(Real, "condition").describe("the value compared with"),
                   in(Real, "padding").describe("filler of the unused slots"),
                   in(Int, "cflag").describe("test of list(i) against condition: 1 <, 2 <=, 3 ==, "
                                             "4 >=, 5 >, 6 /= (a NaN entry passes only 6)"),
                   in(Int, "npack").describe("length of packed"),
                   in(Int, "nlist").opt("len(list)").describe("entries of list"));

TAVRIN_ROUTINE_DOC(vectorflip, VectorFlip, "Vector in reverse order.",
                   in(Real, "a", "n").describe("the vector"),
                   out(Real, "b", "n").describe("b(i) = a(n-i+1)"),
                   in(Int, "n").opt("len(a)").describe("entries of a"));
TAVRIN_ROUTINE_DOC(matrixflip, MatrixFlip,
                   "Matrix with its rows in reverse order (every column reversed) or its columns "
                   "in reverse order.",
                   in(Real, "a", "n,m").describe("the matrix"),
                   out(Real, "b", "n,m").describe("the flipped matrix"),
                   in(Int, "n").opt("shape(a,0)").describe("rows of a"),
                   in(Int, "m").opt("shape(a,1)").describe("columns of a"),
                   in(Int, "dimflag").describe(">= 0: every column reversed (b(i,j) = a(n-i+1,j)); "
                                               "< 0: every row reversed"));

TAVRIN_ROUTINE_DOC(int_swap, iSwap, "Two integers exchanged.",
                   inout(Int, "a").describe("first value; returned as b"),
                   inout(Int, "b").describe("second value; returned as a"));
TAVRIN_ROUTINE_DOC(real_swap, fSwap, "Two reals exchanged.",
                   inout(Real, "a").describe("first value; returned as b"),
                   inout(Real, "b").describe("second value; returned as a"));
TAVRIN_ROUTINE_DOC(cmplx_swap, cSwap, "Two complex values exchanged.",
                   inout(Complex, "a").describe("first value; returned as b"),
                   inout(Complex, "b").describe("second value; returned as a"));
TAVRIN_ROUTINE_DOC(int_inc, iINC, "Integer increased by step (wrapping around on overflow).",
                   inout(Int, "i").describe("the value; returned as i + step"),
                   in(Int, "step").opt("1").describe("the increment"));
TAVRIN_ROUTINE_DOC(real_inc, fINC, "Real increased by step.",
                   inout(Real, "f").describe("the value; returned as f + step"),
                   in(Real, "step").opt("1.0").describe("the increment"));

TAVRIN_ROUTINE_DOC(logical_xor, lXOR, "Exclusive or of two flags.",
                   result(Int, "logical_xor").describe("1 when exactly one is true, else 0"),
                   in(Logical, "a").describe("first flag"),
                   in(Logical, "b").describe("second flag"));
TAVRIN_ROUTINE_DOC(logical_nor, lNOR, "Nor of two flags.",
                   result(Int, "logical_nor").describe("1 when neither is true, else 0"),
                   in(Logical, "a").describe("first flag"),
                   in(Logical, "b").describe("second flag"));
TAVRIN_ROUTINE_DOC(logical_nand, lNAND, "Nand of two flags.",
                   result(Int, "logical_nand").describe("0 only when both are true, else 1"),
                   in(Logical, "a").describe("first flag"),
                   in(Logical, "b").describe("second flag"));

}  // namespace
}  // namespace tavrin::bind
