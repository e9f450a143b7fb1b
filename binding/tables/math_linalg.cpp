// Module math: dense linear algebra.  This table also carries the module's
// doc paragraph (the other math tables register without one).
#include "engine/descriptor.hpp"
#include "foundation/linalg.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;

TAVRIN_BINDING_MODULE(
    math,
    "numerics toolbox\n"
    "\n"
    "Dense linear algebra over LAPACK and BLAS, products and point operations, norms, tensor "
    "and coordinate transforms, calculus, special functions, cubic roots and polynomial "
    "fitting, nearest positive-definite and correlation matrices, root finders on Python "
    "call-backs, a golden-section maximum search, a percentile, and table interpolation "
    "(nearest, linear, monotone cubic Hermite).  Arrays are column-major (first index fastest) "
    "and extents default to the array sizes; inputs are left unchanged (but for the search "
    "state that gssafe updates in place) and results come back as new arrays.  Angles are in "
    "radians where a name ends in _r and in degrees where it ends in _d.  Failures never "
    "raise: the first one is latched in errorhandling (errstat -1 note or warning, -2 error, "
    "-3 invalid input; errstring, 80 bytes) and a neutral result is returned; reset with "
    "errorhandling.rsxerr(True).  The Hermite interpolation ends the process on a table it "
    "cannot use.");

constexpr Arg n_square = in(Int, "n").opt("shape(a,0)").describe("order of a");

TAVRIN_ROUTINE_DOC(matrixinverse, MatrixInverse,
                   "Inverse of a square matrix by LU factorisation with partial pivoting (LAPACK "
                   "dgetrf, dgetri).\n"
                   "A singular matrix latches -2 \"Matrix inverse becomes numerically singular!\" "
                   "(or \"Matrix inversion failed!\"); read errorhandling.errstat and errstring; "
                   "ainv then holds what LAPACK left.",
                   in(Real, "a", "n,n").describe("the matrix"),
                   out(Real, "ainv", "n,n").describe("its inverse"), n_square);
TAVRIN_ROUTINE_DOC(matrixeigenvalues, MatrixEigenvalues,
                   "Eigenvalues of a symmetric matrix, ascending (LAPACK dsytrd, dsterf).",
                   in(Real, "a", "n,n").describe("the symmetric matrix; only its upper triangle is "
                                                 "read"),
                   out(Real, "d", "n").describe("the eigenvalues in ascending order"), n_square);
TAVRIN_ROUTINE_DOC(matrixeigenvectors, MatrixEigenVectors,
                   "Orthonormal eigenvectors of a symmetric matrix, and its eigenvalues (LAPACK "
                   "dsyev).",
                   in(Real, "a", "n,n").describe("the symmetric matrix; only its upper triangle is "
                                                 "read"),
                   out(Real, "z", "n,n").describe("the eigenvectors as columns, in the order of "
                                                  "the ascending eigenvalues"),
                   n_square,
                   inout(Real, "eigvals", "n").opt("-1.0")
                       .describe("returned holding the eigenvalues, ascending, when every entry "
                                 "passed is negative (the default); otherwise returned as passed"));
TAVRIN_ROUTINE_DOC(singularvaluedecomposition, SingularValueDecomposition,
                   "Singular value decomposition a = u*s*v of an m x n matrix (LAPACK dgesvd).",
                   in(Real, "a", "m,n").describe("the matrix"),
                   out(Real, "u", "m,m").describe("left singular vectors as columns"),
                   out(Real, "s", "m,n").describe("the singular values on the diagonal, "
                                                  "descending; zeros elsewhere"),
                   out(Real, "v", "n,n").describe("right singular vectors as rows (V transposed), "
                                                  "so that a = u @ s @ v"),
                   in(Int, "m").opt("shape(a,0)").describe("rows of a"),
                   in(Int, "n").opt("shape(a,1)").describe("columns of a"));
TAVRIN_ROUTINE_DOC(choleskyfactorization, CholeskyFactorization,
                   "Cholesky factor R of a symmetric positive-definite matrix, a = R.T @ R (LAPACK "
                   "dpotrf on the upper triangle).\n"
                   "A matrix that is not positive definite gives -1.7976931348623157e308 in every "
                   "entry; nothing is latched.",
                   in(Real, "a", "n,n").describe("the symmetric matrix; only its upper triangle is "
                                                 "read"),
                   out(Real, "c", "n,n").describe("R: upper triangular, strict lower triangle "
                                                  "zero"),
                   n_square);
// a and b may be given in either orientation: op() decides how they are read.
TAVRIN_ROUTINE_DOC(generalmatrixproduct, GeneralMatrixProduct,
                   "General matrix product d = alpha*op(a)*op(b) + beta*c, op the identity or the "
                   "transpose (BLAS dgemm).\n"
                   "A transpose flag other than N, T or C (either case) latches -3 \"Unknown "
                   "matrix transpose flag\" (errorhandling.errstat, errstring) and d is c.",
                   out(Real, "d", "m,n").describe("the result, m x n"),
                   in(Real, "alpha").describe("factor of the product"),
                   in(Real, "a", "*,*")
                       .relation("(shape(a,0)==m && shape(a,1)==k) || (shape(a,0)==k && "
                                 "shape(a,1)==m)")
                       .describe("m x k matrix, or k x m when sa transposes it"),
                   in(Real, "b", "*,*")
                       .relation("(shape(b,0)==k && shape(b,1)==n) || (shape(b,0)==n && "
                                 "shape(b,1)==k)")
                       .describe("k x n matrix, or n x k when sb transposes it"),
                   in(Real, "beta").describe("factor of c"),
                   in(Real, "c", "m,n").describe("the matrix added, m x n"),
                   in(Int, "m").opt("shape(c,0)").describe("rows of op(a) and of c"),
                   in(Int, "n").opt("shape(c,1)").describe("columns of op(b) and of c"),
                   in(Int, "k").opt("max(size(a)/max(m,1),size(b)/max(n,1))")
                       .describe("the inner dimension: columns of op(a), rows of op(b)"),
                   in(Text, "sa", "1").describe("N: a as it is; T or C: its transpose"),
                   in(Text, "sb", "1").describe("N: b as it is; T or C: its transpose"));
TAVRIN_ROUTINE_DOC(lufactdeterminant, LUFactDeterminant,
                   "Determinant of a square matrix from its LU factors (LAPACK dgetrf).\n"
                   "A singular matrix gives 0 and latches -2 \"Singularity in LU-factorization "
                   "computation\" (errorhandling.errstat, errstring).",
                   out(Real, "lud").describe("the determinant; 1 for an empty matrix"),
                   in(Real, "a", "n,n").describe("the matrix"), n_square);
TAVRIN_ROUTINE_DOC(determinant, Determinant,
                   "Determinant (or permanent) of a square matrix by cofactor expansion along the "
                   "first row.\n"
                   "Orders up to 20 are expanded (each minor once); beyond, the determinant comes "
                   "from the LU factors and any other weight (the permanent) is refused with -3 "
                   "\"Matrix too large for the cofactor expansion\" (errorhandling.errstat) and 0.",
                   out(Real, "pd").describe("the determinant (or permanent); 0 for an empty "
                                            "matrix"),
                   in(Real, "a", "n,n").describe("the matrix"), n_square,
                   in(Int, "pdflag").opt("-1").describe("weight factor of successive columns: -1 "
                                                        "the determinant; 1 the permanent"));
TAVRIN_ROUTINE_DOC(vectormodalassurancecriterion, VectorModalAssuranceCriterion,
                   "Modal assurance criterion of two mode shapes: (a.b)**2 / ((a.a)*(b.b)).",
                   result(Real, "vectormodalassurancecriterion")
                       .describe("1 for parallel, 0 for orthogonal vectors; NaN for empty ones"),
                   in(Real, "a", "n").describe("first mode shape"),
                   in(Real, "b", "n").describe("second mode shape"),
                   in(Int, "n").opt("len(a)").describe("number of entries"));
TAVRIN_ROUTINE_DOC(matrixmodalassurancecriterion, MatrixModalAssuranceCriterion,
                   "Modal assurance criteria between the eigenvectors of two symmetric matrices.",
                   in(Real, "xs", "n,n").describe("first symmetric matrix (upper triangle read)"),
                   in(Real, "ys", "n,n").describe("second symmetric matrix (upper triangle read)"),
                   out(Real, "mac", "n,n").describe("mac(i,j): criterion of eigenvector i of xs "
                                                    "and eigenvector j of ys, eigenvalues "
                                                    "ascending"),
                   in(Int, "n").opt("shape(xs,0)").describe("order of xs and ys"));
TAVRIN_ROUTINE_DOC(gethouseholdertransformationmatrix, GetHouseHolderTransformationMatrix,
                   "Householder matrix I - 2*v*v.T: the reflection in the plane normal to a unit "
                   "vector v.",
                   out(Real, "thouse", "n,n").describe("the matrix"),
                   in(Real, "v", "n").describe("the normal, used as given (a unit v gives a "
                                               "reflection)"),
                   in(Int, "n").opt("len(v)").describe("number of entries of v"));
TAVRIN_ROUTINE_DOC(poweriteration, PowerIteration,
                   "Dominant eigenpair of a square matrix by power iteration.\n"
                   "When maxiter steps pass without the change of the unit iterate dropping to "
                   "abstol, -2 \"No convergence in von Mises eigenvalue computation\" is latched "
                   "(errorhandling.errstat, errstring) and the last iterate returned.",
                   out(Real, "eigenval").describe("the Rayleigh quotient of the unit iterate; its "
                                                  "sign is that of the dominant eigenvalue"),
                   out(Real, "eigenvec", "n")
                       .describe("the dominant eigenvector, unit length (startvec when no step "
                                 "runs)"),
                   in(Real, "a", "n,n").describe("the matrix"), n_square,
                   in(Int, "maxiter").opt("2000").describe("largest number of steps"),
                   in(Real, "startvec", "n").opt("1.0").describe("start vector"),
                   in(Real, "abstol").opt("1e-10").describe("tolerance on the change of the unit "
                                                            "iterate between steps"));
TAVRIN_ROUTINE_DOC(conjucategradient, ConjugateGradient,
                   "Solution of a symmetric positive-definite system a*x = b by conjugate "
                   "gradients from the start x0: returns the correction to x0.",
                   out(Real, "xgrad", "m").describe("the correction to x0 (the solution itself "
                                                    "when x0 is zero); zero when the start "
                                                    "residual is below 1e-10"),
                   in(Real, "a", "n,m").describe("the symmetric positive-definite matrix, square"),
                   in(Real, "b", "m").describe("right-hand side"),
                   in(Real, "x0", "m").describe("start vector"),
                   in(Int, "n").opt("shape(a,0)").relation("n==m").describe("rows of a, equal to "
                                                                            "m"),
                   in(Int, "m").opt("shape(a,1)").describe("columns of a (unknowns)"));

}  // namespace
}  // namespace tavrin::bind
