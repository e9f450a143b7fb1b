// Module utility: array construction and filling.
#include "engine/descriptor.hpp"
#include "foundation/arrays.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace ut = utility;

TAVRIN_BINDING_MODULE(utility);

// The fill family: the array's extents come from the array itself.
#define TAVRIN_FILL(name, kind, dims, ...) \
  TAVRIN_ROUTINE(name, ut::name, inout(kind, "a", dims).nooverwrite(), in(kind, "lambda"), __VA_ARGS__)
#define TAVRIN_FILL_FAMILY(prefix, kind)                                                           \
  TAVRIN_FILL(prefix##_fillvectorwithscalar, kind, "n1", hide(Int, "n1", "shape(a,0)"));          \
  TAVRIN_FILL(prefix##_fillmatrixwithscalar, kind, "n1,n2", hide(Int, "n1", "shape(a,0)"),        \
              hide(Int, "n2", "shape(a,1)"));                                                      \
  TAVRIN_FILL(prefix##_fill3darraywithscalar, kind, "n1,n2,n3", hide(Int, "n1", "shape(a,0)"),    \
              hide(Int, "n2", "shape(a,1)"), hide(Int, "n3", "shape(a,2)"));                       \
  TAVRIN_FILL(prefix##_fill4darraywithscalar, kind, "n1,n2,n3,n4", hide(Int, "n1", "shape(a,0)"), \
              hide(Int, "n2", "shape(a,1)"), hide(Int, "n3", "shape(a,2)"),                        \
              hide(Int, "n4", "shape(a,3)"));                                                      \
  TAVRIN_FILL(prefix##_fill5darraywithscalar, kind, "n1,n2,n3,n4,n5",                             \
              hide(Int, "n1", "shape(a,0)"), hide(Int, "n2", "shape(a,1)"),                        \
              hide(Int, "n3", "shape(a,2)"), hide(Int, "n4", "shape(a,3)"),                        \
              hide(Int, "n5", "shape(a,4)"));                                                      \
  TAVRIN_FILL(prefix##_fill6darraywithscalar, kind, "n1,n2,n3,n4,n5,n6",                          \
              hide(Int, "n1", "shape(a,0)"), hide(Int, "n2", "shape(a,1)"),                        \
              hide(Int, "n3", "shape(a,2)"), hide(Int, "n4", "shape(a,3)"),                        \
              hide(Int, "n5", "shape(a,4)"), hide(Int, "n6", "shape(a,5)"));                       \
  TAVRIN_FILL(prefix##_fill7darraywithscalar, kind, "n1,n2,n3,n4,n5,n6,n7",                       \
              hide(Int, "n1", "shape(a,0)"), hide(Int, "n2", "shape(a,1)"),                        \
              hide(Int, "n3", "shape(a,2)"), hide(Int, "n4", "shape(a,3)"),                        \
              hide(Int, "n5", "shape(a,4)"), hide(Int, "n6", "shape(a,5)"),                        \
              hide(Int, "n7", "shape(a,6)"))

TAVRIN_FILL_FAMILY(real, Real);
TAVRIN_FILL_FAMILY(int, Int);

TAVRIN_ROUTINE(inivectorwithzeros, IniVectorwithZeros, out(Real, "a", "n"), in(Int, "n"));
TAVRIN_ROUTINE(inimatrixwithzeros, IniMatrixwithZeros, out(Real, "a", "n,m"), in(Int, "n"),
               in(Int, "m"));
TAVRIN_ROUTINE(ini3darraywithzeros, Ini3DArraywithZeros, out(Real, "a", "l,m,n"), in(Int, "l"),
               in(Int, "m"), in(Int, "n"));
TAVRIN_ROUTINE(ini4darraywithzeros, Ini4DArraywithZeros, out(Real, "a", "l,m,n,o"), in(Int, "l"),
               in(Int, "m"), in(Int, "n"), in(Int, "o"));
TAVRIN_ROUTINE(ini5darraywithzeros, Ini5DArraywithZeros, out(Real, "a", "l,m,n,o,p"),
               in(Int, "l"), in(Int, "m"), in(Int, "n"), in(Int, "o"), in(Int, "p"));
TAVRIN_ROUTINE(ini6darraywithzeros, Ini6DArraywithZeros, out(Real, "a", "l,m,n,o,p,q"),
               in(Int, "l"), in(Int, "m"), in(Int, "n"), in(Int, "o"), in(Int, "p"), in(Int, "q"));
TAVRIN_ROUTINE(inimaxdarraywithzeros, IniMaxDArraywithZeros, out(Real, "a", "l,m,n,o,p,q,r"),
               in(Int, "l"), in(Int, "m"), in(Int, "n"), in(Int, "o"), in(Int, "p"), in(Int, "q"),
               in(Int, "r"));

#define TAVRIN_VECTOR_COPY(name, fn, kind)                                                \
  TAVRIN_ROUTINE(name, fn, in(kind, "a", "n"), out(kind, "b", "n"), in(Int, "n").opt("len(a)"))
TAVRIN_VECTOR_COPY(real_vectorcopy, fVectorCopy, Real);
TAVRIN_VECTOR_COPY(int_vectorcopy, iVectorCopy, Int);
TAVRIN_VECTOR_COPY(cmplx_vectorcopy, cVectorCopy, Complex);
TAVRIN_ROUTINE(matrixcopy, MatrixCopy, in(Real, "a", "n,m"), out(Real, "b", "n,m"),
               in(Int, "n").opt("shape(a,0)"), in(Int, "m").opt("shape(a,1)"));
TAVRIN_ROUTINE(getunpackedmatrixfromlist, GetUnpackedMatrixFromList, out(Real, "matrix", "n,m"),
               in(Real, "list", "n*m"), in(Int, "n"), in(Int, "m"));

// The sorts index a and b through the mask: each array has its own extent.
TAVRIN_ROUTINE(vectorsort, VectorSort, inout(Real, "a", "na").nooverwrite(), in(Real, "b", "nb"),
               in(Int, "mask", "n"), in(Int, "n").opt("len(mask)"), in(Int, "na").opt("len(a)"),
               in(Int, "nb").opt("len(b)"));
TAVRIN_ROUTINE(matrixsort, MatrixSort, inout(Real, "a", "m,na").nooverwrite(), in(Real, "b", "m,nb"),
               in(Int, "mask", "n"), in(Int, "m").opt("shape(a,0)"), in(Int, "n").opt("len(mask)"),
               in(Int, "na").opt("shape(a,1)"), in(Int, "nb").opt("shape(b,1)"));

TAVRIN_ROUTINE(getscalarmatrix, GetScalarMatrix, out(Real, "a", "n,n"), in(Int, "n"),
               in(Real, "lambda"));
TAVRIN_ROUTINE(getidentitymatrix, GetIdentityMatrix, out(Real, "a", "n,n"), in(Int, "n"));
TAVRIN_ROUTINE(geteyematrix, GetEyeMatrix, out(Real, "a", "n,n"), in(Int, "k").opt("0"),
               in(Int, "n"));
TAVRIN_ROUTINE(getindexvector, GetIndexVector, out(Int, "a", "n"), in(Int, "n"));
TAVRIN_ROUTINE(linspace, Linspace, out(Real, "x", "n"), in(Real, "a"), in(Real, "b"), in(Int, "n"),
               in(Logical, "endpoint").opt("1").describe("false: b is not among the points"));

TAVRIN_ROUTINE(gettriangularmatrix, GetTriangularMatrix, out(Real, "lu", "n,n"),
               in(Real, "a", "n,n"), in(Int, "n").opt("shape(a,0)"),
               in(Logical, "luflag").opt("0").describe("true: the upper triangle"));
TAVRIN_ROUTINE(getunpackedtriangle, GetUnpackedTriangle, out(Real, "lu", "nlu,nlu"),
               in(Real, "packed", "np"), in(Int, "nlu"), in(Int, "np").opt("len(packed)"),
               in(Text, "order", "1").describe("F: column-major, else row-major"),
               in(Logical, "upper").opt("0"));
TAVRIN_ROUTINE(symmetrize, Symmetrize, in(Real, "lu", "n,n"), out(Real, "sym", "n,n"),
               in(Int, "n").opt("shape(lu,0)"));
TAVRIN_ROUTINE(fillmatrixoffdiagonals, FillMatrixOffDiagonals, inout(Real, "a", "n,n").nooverwrite(),
               in(Real, "x", "k"), in(Int, "n").opt("shape(a,0)"), in(Int, "k").opt("len(x)"));

TAVRIN_ROUTINE(getsubarray, GetSubArray, out(Real, "subarray", "nsub"), out(Int, "subslice", "2"),
               in(Real, "array", "narray"), in(Int, "narray").opt("len(array)"), in(Int, "nsub"),
               in(Logical, "tail").opt("1").describe("true: the last entries, false: the first"));
TAVRIN_ROUTINE(matrixconcatenation, MatrixConcatenation,
               out(Real, "ab", "k+m*ctype,l+n*(1-ctype)"), in(Real, "a", "k,l"), in(Real, "b", "m,n"),
               in(Int, "ctype")
                   .relation("(ctype!=0||m<=k)&&(ctype!=1||n<=l)")
                   .describe("0: b to the right of a, 1: b below a"),
               in(Int, "k").opt("shape(a,0)"), in(Int, "l").opt("shape(a,1)"),
               in(Int, "m").opt("shape(b,0)"), in(Int, "n").opt("shape(b,1)"));
// k is checked before the extents of b are formed from it.
TAVRIN_ROUTINE(vectorsplit, VectorSplit, in(Real, "a", "n"), out(Real, "b", "n/k,k"),
               in(Int, "k").relation("k>=1"), in(Int, "n").opt("len(a)"));
TAVRIN_ROUTINE(matrixsplit, MatrixSplit, in(Real, "a", "l,m"), out(Real, "b", "l/k,m,k"),
               in(Int, "k").relation("k>=1"), in(Int, "l").opt("shape(a,0)"),
               in(Int, "m").opt("shape(a,1)"));

}  // namespace
}  // namespace tavrin::bind
