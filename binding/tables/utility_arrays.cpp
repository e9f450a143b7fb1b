// Module utility: array construction and filling.
#include "engine/descriptor.hpp"
#include "foundation/arrays.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace ut = utility;

TAVRIN_BINDING_MODULE(utility);

// The fill family: the array's extents come from the array itself.
constexpr Arg ext(const char* name, const char* expr) {
  return hide(Int, name, expr).describe("extent of a, from the array");
}
#define TAVRIN_FILL(name, kind, type_text, rank_text, dims, ...)                                  \
  TAVRIN_ROUTINE_DOC(name, ut::name, "Every element of a " rank_text " " type_text " array set "   \
                     "to lambda.",                                                                 \
                     inout(kind, "a", dims).nooverwrite().describe(                                \
                         "the array to fill, of any shape of its rank"),                          \
                     in(kind, "lambda").describe("the fill value"), __VA_ARGS__)
#define TAVRIN_FILL_FAMILY(prefix, kind, type_text)                                               \
  TAVRIN_FILL(prefix##_fillvectorwithscalar, kind, type_text, "rank-1", "n1",                      \
              ext("n1", "shape(a,0)"));                                                            \
  TAVRIN_FILL(prefix##_fillmatrixwithscalar, kind, type_text, "rank-2", "n1,n2",                   \
              ext("n1", "shape(a,0)"), ext("n2", "shape(a,1)"));                                   \
  TAVRIN_FILL(prefix##_fill3darraywithscalar, kind, type_text, "rank-3", "n1,n2,n3",               \
              ext("n1", "shape(a,0)"), ext("n2", "shape(a,1)"), ext("n3", "shape(a,2)"));         \
  TAVRIN_FILL(prefix##_fill4darraywithscalar, kind, type_text, "rank-4", "n1,n2,n3,n4",            \
              ext("n1", "shape(a,0)"), ext("n2", "shape(a,1)"), ext("n3", "shape(a,2)"),          \
              ext("n4", "shape(a,3)"));                                                            \
  TAVRIN_FILL(prefix##_fill5darraywithscalar, kind, type_text, "rank-5", "n1,n2,n3,n4,n5",         \
              ext("n1", "shape(a,0)"), ext("n2", "shape(a,1)"), ext("n3", "shape(a,2)"),          \
              ext("n4", "shape(a,3)"), ext("n5", "shape(a,4)"));                                   \
  TAVRIN_FILL(prefix##_fill6darraywithscalar, kind, type_text, "rank-6", "n1,n2,n3,n4,n5,n6",      \
              ext("n1", "shape(a,0)"), ext("n2", "shape(a,1)"), ext("n3", "shape(a,2)"),          \
              ext("n4", "shape(a,3)"), ext("n5", "shape(a,4)"), ext("n6", "shape(a,5)"));         \
  TAVRIN_FILL(prefix##_fill7darraywithscalar, kind, type_text, "rank-7", "n1,n2,n3,n4,n5,n6,n7",   \
              ext("n1", "shape(a,0)"), ext("n2", "shape(a,1)"), ext("n3", "shape(a,2)"),          \
              ext("n4", "shape(a,3)"), ext("n5", "shape(a,4)"), ext("n6", "shape(a,5)"),          \
              ext("n7", "shape(a,6)"))

TAVRIN_FILL_FAMILY(real, Real, "real");
TAVRIN_FILL_FAMILY(int, Int, "integer");

constexpr const char* zeros_doc = "the array of zeros";
constexpr const char* axis1 = "extent along axis 1";
constexpr const char* axis2 = "extent along axis 2";
constexpr const char* axis3 = "extent along axis 3";
constexpr const char* axis4 = "extent along axis 4";
constexpr const char* axis5 = "extent along axis 5";
constexpr const char* axis6 = "extent along axis 6";
constexpr const char* axis7 = "extent along axis 7";

TAVRIN_ROUTINE_DOC(inivectorwithzeros, IniVectorwithZeros, "Real vector of n zeros.",
                   out(Real, "a", "n").describe(zeros_doc), in(Int, "n").describe("length"));
TAVRIN_ROUTINE_DOC(inimatrixwithzeros, IniMatrixwithZeros, "Real n x m matrix of zeros.",
                   out(Real, "a", "n,m").describe(zeros_doc), in(Int, "n").describe("rows"),
                   in(Int, "m").describe("columns"));
TAVRIN_ROUTINE_DOC(ini3darraywithzeros, Ini3DArraywithZeros, "Real rank-3 array of zeros.",
                   out(Real, "a", "l,m,n").describe(zeros_doc), in(Int, "l").describe(axis1),
                   in(Int, "m").describe(axis2), in(Int, "n").describe(axis3));
TAVRIN_ROUTINE_DOC(ini4darraywithzeros, Ini4DArraywithZeros, "Real rank-4 array of zeros.",
                   out(Real, "a", "l,m,n,o").describe(zeros_doc), in(Int, "l").describe(axis1),
                   in(Int, "m").describe(axis2), in(Int, "n").describe(axis3),
                   in(Int, "o").describe(axis4));
TAVRIN_ROUTINE_DOC(ini5darraywithzeros, Ini5DArraywithZeros, "Real rank-5 array of zeros.",
                   out(Real, "a", "l,m,n,o,p").describe(zeros_doc), in(Int, "l").describe(axis1),
                   in(Int, "m").describe(axis2), in(Int, "n").describe(axis3),
                   in(Int, "o").describe(axis4), in(Int, "p").describe(axis5));
TAVRIN_ROUTINE_DOC(ini6darraywithzeros, Ini6DArraywithZeros, "Real rank-6 array of zeros.",
                   out(Real, "a", "l,m,n,o,p,q").describe(zeros_doc), in(Int, "l").describe(axis1),
                   in(Int, "m").describe(axis2), in(Int, "n").describe(axis3),
                   in(Int, "o").describe(axis4), in(Int, "p").describe(axis5),
                   in(Int, "q").describe(axis6));
TAVRIN_ROUTINE_DOC(inimaxdarraywithzeros, IniMaxDArraywithZeros, "Real rank-7 array of zeros.",
                   out(Real, "a", "l,m,n,o,p,q,r").describe(zeros_doc),
                   in(Int, "l").describe(axis1),
                   in(Int, "m").describe(axis2), in(Int, "n").describe(axis3),
                   in(Int, "o").describe(axis4), in(Int, "p").describe(axis5),
                   in(Int, "q").describe(axis6), in(Int, "r").describe(axis7));

#define TAVRIN_VECTOR_COPY(name, fn, kind, type_text)                                            \
  TAVRIN_ROUTINE_DOC(name, fn, "Copy of the first n entries of " type_text " vector.",            \
                     in(kind, "a", "n").describe("the vector"),                                   \
                     out(kind, "b", "n").describe("the copy"),                                    \
                     in(Int, "n").opt("len(a)").describe("number of entries copied"))
TAVRIN_VECTOR_COPY(real_vectorcopy, fVectorCopy, Real, "a real");
TAVRIN_VECTOR_COPY(int_vectorcopy, iVectorCopy, Int, "an integer");
TAVRIN_VECTOR_COPY(cmplx_vectorcopy, cVectorCopy, Complex, "a complex");
TAVRIN_ROUTINE_DOC(matrixcopy, MatrixCopy, "Copy of an n x m real matrix.",
                   in(Real, "a", "n,m").describe("the matrix"),
                   out(Real, "b", "n,m").describe("the copy"),
                   in(Int, "n").opt("shape(a,0)").describe("rows of a"),
                   in(Int, "m").opt("shape(a,1)").describe("columns of a"));
TAVRIN_ROUTINE_DOC(getunpackedmatrixfromlist, GetUnpackedMatrixFromList,
                   "n x m matrix filled from a list read column by column.",
                   out(Real, "matrix", "n,m").describe("matrix(i,j) = list((j-1)*n + i) (1-based)"),
                   in(Real, "list", "n*m").describe("the n*m values, column-major order"),
                   in(Int, "n").describe("rows"), in(Int, "m").describe("columns"));

// The sorts index a and b through the mask: each array has its own extent.
TAVRIN_ROUTINE_DOC(vectorsort, VectorSort,
                   "Selected entries of a replaced by those of b at the same positions: "
                   "a(mask(k)) = b(mask(k)) (no permutation).",
                   inout(Real, "a", "na").nooverwrite().describe(
                       "the vector whose entries at the mask positions are replaced"),
                   in(Real, "b", "nb").describe("the source vector"),
                   in(Int, "mask", "n").describe("1-based positions to copy; positions outside a "
                                                 "or b are skipped"),
                   in(Int, "n").opt("len(mask)").describe("number of positions in mask"),
                   in(Int, "na").opt("len(a)").describe("entries of a"),
                   in(Int, "nb").opt("len(b)").describe("entries of b"));
TAVRIN_ROUTINE_DOC(matrixsort, MatrixSort,
                   "Selected columns of a replaced by those of b at the same positions: column "
                   "mask(k) of a becomes column mask(k) of b (no permutation).",
                   inout(Real, "a", "m,na").nooverwrite().describe(
                       "the matrix whose columns at the mask positions are replaced"),
                   in(Real, "b", "m,nb").describe("the source matrix, as many rows as a"),
                   in(Int, "mask", "n").describe("1-based column numbers to copy; columns outside "
                                                 "a or b are skipped"),
                   in(Int, "m").opt("shape(a,0)").describe("rows of a and b"),
                   in(Int, "n").opt("len(mask)").describe("number of columns in mask"),
                   in(Int, "na").opt("shape(a,1)").describe("columns of a"),
                   in(Int, "nb").opt("shape(b,1)").describe("columns of b"));

TAVRIN_ROUTINE_DOC(getscalarmatrix, GetScalarMatrix,
                   "n x n scalar matrix: lambda on the diagonal, zeros elsewhere.",
                   out(Real, "a", "n,n").describe("the matrix"), in(Int, "n").describe("order"),
                   in(Real, "lambda").describe("the diagonal value"));
TAVRIN_ROUTINE_DOC(getidentitymatrix, GetIdentityMatrix, "n x n identity matrix.",
                   out(Real, "a", "n,n").describe("the identity"), in(Int, "n").describe("order"));
TAVRIN_ROUTINE_DOC(geteyematrix, GetEyeMatrix,
                   "n x n matrix with ones on its k-th diagonal (k > 0 above, k < 0 below the main "
                   "one), zeros elsewhere.",
                   out(Real, "a", "n,n").describe("the matrix; all zeros when |k| >= n"),
                   in(Int, "k").opt("0").describe("which diagonal: 0 the main one"),
                   in(Int, "n").describe("order"));
TAVRIN_ROUTINE_DOC(getindexvector, GetIndexVector, "Integer vector 1, 2, ..., n.",
                   out(Int, "a", "n").describe("a(i) = i (1-based positions)"),
                   in(Int, "n").describe("length"));
TAVRIN_ROUTINE_DOC(linspace, Linspace,
                   "n evenly spaced points from a to b, formed from their index (no accumulated "
                   "rounding).",
                   out(Real, "x", "n").describe("x(i) = a + (i-1)*dx, dx = (b-a)/(n-1), or (b-a)/n "
                                                "without the end point; a single point is a"),
                   in(Real, "a").describe("first point"), in(Real, "b").describe("end point"),
                   in(Int, "n").describe("number of points"),
                   in(Logical, "endpoint").opt("1").describe("true: b is the last point; false: b "
                                                             "is not among the points"));

TAVRIN_ROUTINE_DOC(gettriangularmatrix, GetTriangularMatrix,
                   "Lower (or upper) triangle of a square matrix with its diagonal, zeros "
                   "elsewhere.",
                   out(Real, "lu", "n,n").describe("the triangle"),
                   in(Real, "a", "n,n").describe("the matrix"),
                   in(Int, "n").opt("shape(a,0)").describe("order of a"),
                   in(Logical, "luflag").opt("0").describe("true: the upper triangle; false: the "
                                                           "lower"));
TAVRIN_ROUTINE_DOC(getunpackedtriangle, GetUnpackedTriangle,
                   "Square matrix from a packed triangle (t11, t12, t22, t13, t23, t33, ...), the "
                   "upper triangle column by column.",
                   out(Real, "lu", "nlu,nlu").describe("the triangle, zeros elsewhere: order F "
                                                       "with upper true the upper triangle, F with "
                                                       "upper false its transpose (lower); another "
                                                       "order transposes once more, as a row-major "
                                                       "reader sees it"),
                   in(Real, "packed", "np").describe("the packed values, t(i,j) (i <= j) at "
                                                     "position i + j(j-1)/2 (1-based)"),
                   in(Int, "nlu").describe("order of the matrix"),
                   in(Int, "np").opt("len(packed)").describe("number of packed values read; "
                                                             "entries beyond stay zero"),
                   in(Text, "order", "1").describe("F: column-major, else row-major"),
                   in(Logical, "upper").opt("0").describe("true: the upper triangle; false: the "
                                                          "lower"));
TAVRIN_ROUTINE_DOC(symmetrize, Symmetrize,
                   "Symmetric matrix completed from one triangle: sym(i,j) = lu(i,j) where that is "
                   "not 0.0, else lu(j,i).",
                   in(Real, "lu", "n,n").describe("the matrix holding one triangle (where both "
                                                  "lu(i,j) and lu(j,i) are non-zero, lu(i,j) is "
                                                  "kept)"),
                   out(Real, "sym", "n,n").describe("the completed matrix"),
                   in(Int, "n").opt("shape(lu,0)").describe("order of lu"));
TAVRIN_ROUTINE_DOC(fillmatrixoffdiagonals, FillMatrixOffDiagonals,
                   "Off-diagonal entries of a square matrix filled from a list: the strict lower "
                   "triangle column by column, then, when k is not n(n-1)/2, the strict upper "
                   "triangle row by row.",
                   inout(Real, "a", "n,n").nooverwrite().describe(
                       "the matrix whose off-diagonal entries are written (the diagonal and the "
                       "entries not written keep their values)"),
                   in(Real, "x", "k").describe("the values: n(n-1)/2 for the lower triangle, "
                                               "n(n-1) for both"),
                   in(Int, "n").opt("shape(a,0)").describe("order of a"),
                   in(Int, "k").opt("len(x)").describe("number of values of x; no more are read"));

TAVRIN_ROUTINE_DOC(getsubarray, GetSubArray,
                   "The last (or first) nsub entries of a vector and their positions.",
                   out(Real, "subarray", "nsub").describe("the entries; all 1.0 when nsub is "
                                                          "outside 1..narray"),
                   out(Int, "subslice", "2").describe("1-based (first, last) position taken; (-1, "
                                                      "-1) when nsub is outside 1..narray"),
                   in(Real, "array", "narray").describe("the vector"),
                   in(Int, "narray").opt("len(array)").describe("entries of array"),
                   in(Int, "nsub").describe("number of entries taken"),
                   in(Logical, "tail").opt("1").describe("true: the last entries, false: the "
                                                         "first"));
TAVRIN_ROUTINE_DOC(matrixconcatenation, MatrixConcatenation,
                   "Two matrices joined side by side (ctype 0) or one above the other (ctype 1).",
                   out(Real, "ab", "k+m*ctype,l+n*(1-ctype)")
                       .describe("a with b to its right (k x (l+n)) or below it ((k+m) x l); zeros "
                                 "where b is smaller; all zeros for another ctype"),
                   in(Real, "a", "k,l").describe("first matrix"),
                   in(Real, "b", "m,n").describe("second matrix: at most k rows side by side, at "
                                                 "most l columns stacked"),
                   in(Int, "ctype")
                       .relation("(ctype!=0||m<=k)&&(ctype!=1||n<=l)")
                       .describe("0: b to the right of a, 1: b below a"),
                   in(Int, "k").opt("shape(a,0)").describe("rows of a"),
                   in(Int, "l").opt("shape(a,1)").describe("columns of a"),
                   in(Int, "m").opt("shape(b,0)").describe("rows of b"),
                   in(Int, "n").opt("shape(b,1)").describe("columns of b"));
// k is checked before the extents of b are formed from it.
TAVRIN_ROUTINE_DOC(vectorsplit, VectorSplit,
                   "Vector cut into k equal consecutive pieces, one per column.",
                   in(Real, "a", "n").describe("the vector"),
                   out(Real, "b", "n/k,k").describe("column c holds piece c; all -1.0 when n is "
                                                    "not a multiple of k"),
                   in(Int, "k").relation("k>=1").describe("number of pieces, at least 1"),
                   in(Int, "n").opt("len(a)").describe("entries of a"));
TAVRIN_ROUTINE_DOC(matrixsplit, MatrixSplit,
                   "Every column of a matrix cut into k equal consecutive pieces.",
                   in(Real, "a", "l,m").describe("the matrix"),
                   out(Real, "b", "l/k,m,k").describe("b(:, j, c) is piece c of column j; all -1.0 "
                                                      "when l is not a multiple of k"),
                   in(Int, "k").relation("k>=1").describe("number of pieces, at least 1"),
                   in(Int, "l").opt("shape(a,0)").describe("rows of a"),
                   in(Int, "m").opt("shape(a,1)").describe("columns of a"));

}  // namespace
}  // namespace tavrin::bind
