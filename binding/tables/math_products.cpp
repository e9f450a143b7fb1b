// Module math: matrix and vector products and point operations.
#include "engine/descriptor.hpp"
#include "foundation/products.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math, "numerics toolbox");
TAVRIN_ROUTINE(matrixproduct, MatrixProduct, in(Real, "a", "l,n"), in(Real, "b", "n,m"),
               out(Real, "c", "l,m"), in(Int, "l").opt("shape(a,0)"), in(Int, "n").opt("shape(a,1)"),
               in(Int, "m").opt("shape(b,1)"));
TAVRIN_ROUTINE(matrixvectorproduct, MatrixVectorProduct, in(Real, "a", "n,m"), in(Real, "b", "m"),
               out(Real, "c", "n"), in(Int, "n").opt("shape(a,0)"), in(Int, "m").opt("shape(a,1)"));
TAVRIN_ROUTINE(vectormatrixproduct, VectorMatrixProduct, in(Real, "a", "m"), in(Real, "b", "m,n"),
               out(Real, "c", "n"), in(Int, "n").opt("shape(b,1)"), in(Int, "m").opt("shape(b,0)"));
TAVRIN_ROUTINE(lumatrixvectorproduct, LUMatrixVectorProduct,
               in(Real, "a", "m").describe("upper triangle of S row by row, each row from its diagonal"),
               in(Real, "b", "n"), out(Real, "c", "n"),
               in(Int, "m").opt("len(a)").relation("m>=n*(n+1)/2"), in(Int, "n").opt("len(b)"));
TAVRIN_ROUTINE(dotproduct, DotProduct, in(Real, "a", "l"), in(Real, "b", "l"), out(Real, "c"),
               in(Int, "l").opt("len(a)"));
TAVRIN_ROUTINE(crossproduct, CrossProduct, in(Real, "a", "3"), in(Real, "b", "3"), out(Real, "c", "3"));
TAVRIN_ROUTINE(vectortripleproduct, VectorTripleProduct, in(Real, "a", "3"), in(Real, "b", "3"),
               in(Real, "c", "3"), out(Real, "d", "3"));
TAVRIN_ROUTINE(scalartripleproduct, ScalarTripleProduct, in(Real, "a", "3"), in(Real, "b", "3"),
               in(Real, "c", "3"), out(Real, "d"));
TAVRIN_ROUTINE(dyadenproduct, DyadenProduct, in(Real, "a", "m"), in(Real, "b", "n"),
               out(Real, "c", "m,n"), in(Int, "m").opt("len(a)"), in(Int, "n").opt("len(b)"));
TAVRIN_ROUTINE(kroneckerproduct, KroneckerProduct, in(Real, "a", "ma,na"), in(Real, "b", "pb,qb"),
               out(Real, "ab", "ma*pb,na*qb"), in(Int, "ma").opt("shape(a,0)"),
               in(Int, "na").opt("shape(a,1)"), in(Int, "pb").opt("shape(b,0)"),
               in(Int, "qb").opt("shape(b,1)"));
TAVRIN_ROUTINE(hadamardproduct, HadamardProduct, in(Real, "a", "l,n"), in(Real, "b", "l,n"),
               out(Real, "c", "l,n"), in(Int, "l").opt("shape(a,0)"), in(Int, "n").opt("shape(a,1)"));
TAVRIN_ROUTINE(hadamarddivision, HadamardDivision, in(Real, "a", "l,n"), in(Real, "b", "l,n"),
               out(Real, "c", "l,n"), in(Int, "l").opt("shape(a,0)"), in(Int, "n").opt("shape(a,1)"));
TAVRIN_ROUTINE(matrixsum, MatrixSum, inout(Real, "a", "n,m"), in(Real, "b", "n,m"),
               in(Int, "n").opt("shape(a,0)"), in(Int, "m").opt("shape(a,1)"));
TAVRIN_ROUTINE(matrixsub, MatrixSub, inout(Real, "a", "n,m"), in(Real, "b", "n,m"),
               in(Int, "n").opt("shape(a,0)"), in(Int, "m").opt("shape(a,1)"));
TAVRIN_ROUTINE(vectorsub, VectorSub, inout(Real, "a", "n"), in(Real, "b", "n"),
               in(Int, "n").opt("len(a)"));
TAVRIN_ROUTINE(matrixscalarmultiplication, MatrixScalarMultiplication, inout(Real, "a", "n,m"),
               in(Real, "b", "n,m"), in(Real, "c"), in(Int, "n").opt("shape(a,0)"),
               in(Int, "m").opt("shape(a,1)"));
TAVRIN_ROUTINE(vectorscalarmultiplication, VectorScalarMultiplication, inout(Real, "a", "n"),
               in(Real, "b", "n"), in(Real, "c"), in(Int, "n").opt("len(a)"));
TAVRIN_ROUTINE(matrixamplify, MatrixAmplify, inout(Real, "a", "n,m"), in(Real, "c"),
               in(Int, "n").opt("shape(a,0)"), in(Int, "m").opt("shape(a,1)"));
TAVRIN_ROUTINE(vectoramplify, VectorAmplify, inout(Real, "a", "n"), in(Real, "c"),
               in(Int, "n").opt("len(a)"));
TAVRIN_ROUTINE(getabvector, GetABVector, out(Real, "v", "n"), in(Real, "a", "n"), in(Real, "b", "n"),
               in(Int, "n").opt("len(a)"));
TAVRIN_ROUTINE(matrixshrinkage, MatrixShrinkage, in(Real, "a", "n,m"), in(Real, "b", "n,m"),
               out(Real, "c", "n,m"), in(Real, "alpha"), in(Int, "n").opt("shape(a,0)"),
               in(Int, "m").opt("shape(a,1)"));
TAVRIN_ROUTINE(coordinaterotation, CoordinateRotation, in(Real, "a", "3"), in(Real, "p", "3"),
               out(Real, "prot", "3"), in(Real, "alpha_d"));
TAVRIN_ROUTINE(coordinatetranslation, CoordinateTranslation, in(Real, "a", "3"), in(Real, "p", "3"),
               out(Real, "ptrans", "3"));
TAVRIN_ROUTINE(coordinatereflection, CoordinateReflection, in(Real, "na", "3"), in(Real, "nb", "3"),
               in(Real, "p", "3"), out(Real, "pref", "3"));
TAVRIN_ROUTINE(coordinateprojection, CoordinateProjection, in(Real, "u", "3"), in(Real, "v", "3"),
               in(Real, "p", "3"), out(Real, "ppro", "3"), in(Real, "r0", "3").opt("0.0"));
TAVRIN_ROUTINE(getcentroid, GetCentroid, out(Real, "c", "2"), in(Real, "x", "n"), in(Real, "y", "n"),
               in(Int, "n").opt("len(x)"));

}  // namespace
}  // namespace tavrin::bind
