// Module math: dense linear algebra.
#include "engine/descriptor.hpp"
#include "foundation/linalg.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(math, "numerics toolbox");
TAVRIN_ROUTINE(matrixinverse, MatrixInverse, in(Real, "a", "n,n"), out(Real, "ainv", "n,n"),
               in(Int, "n").opt("shape(a,0)"));
TAVRIN_ROUTINE(matrixeigenvalues, MatrixEigenvalues, in(Real, "a", "n,n"), out(Real, "d", "n"),
               in(Int, "n").opt("shape(a,0)"));
TAVRIN_ROUTINE(matrixeigenvectors, MatrixEigenVectors, in(Real, "a", "n,n"), out(Real, "z", "n,n"),
               in(Int, "n").opt("shape(a,0)"),
               inout(Real, "eigvals", "n").opt("-1.0")
                   .describe("filled with the eigenvalues only when every entry is negative"));
TAVRIN_ROUTINE(singularvaluedecomposition, SingularValueDecomposition, in(Real, "a", "m,n"),
               out(Real, "u", "m,m"), out(Real, "s", "m,n"), out(Real, "v", "n,n"),
               in(Int, "m").opt("shape(a,0)"), in(Int, "n").opt("shape(a,1)"));
TAVRIN_ROUTINE(choleskyfactorization, CholeskyFactorization, in(Real, "a", "n,n"),
               out(Real, "c", "n,n"), in(Int, "n").opt("shape(a,0)"));
// a and b may be given in either orientation: op() decides how they are read.
TAVRIN_ROUTINE(generalmatrixproduct, GeneralMatrixProduct, out(Real, "d", "m,n"), in(Real, "alpha"),
               in(Real, "a", "*,*").relation(
                   "(shape(a,0)==m && shape(a,1)==k) || (shape(a,0)==k && shape(a,1)==m)"),
               in(Real, "b", "*,*").relation(
                   "(shape(b,0)==k && shape(b,1)==n) || (shape(b,0)==n && shape(b,1)==k)"),
               in(Real, "beta"), in(Real, "c", "m,n"), in(Int, "m").opt("shape(c,0)"),
               in(Int, "n").opt("shape(c,1)"),
               in(Int, "k").opt("max(size(a)/max(m,1),size(b)/max(n,1))"),
               in(Text, "sa", "1").describe("N: a as it is; T or C: its transpose"),
               in(Text, "sb", "1").describe("N: b as it is; T or C: its transpose"));
TAVRIN_ROUTINE(lufactdeterminant, LUFactDeterminant, out(Real, "lud"), in(Real, "a", "n,n"),
               in(Int, "n").opt("shape(a,0)"));
TAVRIN_ROUTINE(determinant, Determinant, out(Real, "pd"), in(Real, "a", "n,n"),
               in(Int, "n").opt("shape(a,0)"),
               in(Int, "pdflag").opt("-1").describe("-1: the determinant; 1: the permanent"));
TAVRIN_ROUTINE(vectormodalassurancecriterion, VectorModalAssuranceCriterion,
               result(Real, "vectormodalassurancecriterion"), in(Real, "a", "n"), in(Real, "b", "n"),
               in(Int, "n").opt("len(a)"));
TAVRIN_ROUTINE(matrixmodalassurancecriterion, MatrixModalAssuranceCriterion, in(Real, "xs", "n,n"),
               in(Real, "ys", "n,n"), out(Real, "mac", "n,n"), in(Int, "n").opt("shape(xs,0)"));
TAVRIN_ROUTINE(gethouseholdertransformationmatrix, GetHouseHolderTransformationMatrix,
               out(Real, "thouse", "n,n"), in(Real, "v", "n"), in(Int, "n").opt("len(v)"));
TAVRIN_ROUTINE(poweriteration, PowerIteration, out(Real, "eigenval"), out(Real, "eigenvec", "n"),
               in(Real, "a", "n,n"), in(Int, "n").opt("shape(a,0)"), in(Int, "maxiter").opt("2000"),
               in(Real, "startvec", "n").opt("1.0"), in(Real, "abstol").opt("1e-10"));
TAVRIN_ROUTINE(conjucategradient, ConjugateGradient, out(Real, "xgrad", "m"), in(Real, "a", "n,m"),
               in(Real, "b", "m"), in(Real, "x0", "m"), in(Int, "n").opt("shape(a,0)").relation("n==m"),
               in(Int, "m").opt("shape(a,1)"));

}  // namespace
}  // namespace tavrin::bind
