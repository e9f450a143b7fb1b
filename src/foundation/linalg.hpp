// Dense linear algebra of module `math`: inversion, symmetric eigenproblems,
// singular values, Cholesky factor and the general product over LAPACK and
// BLAS (through foundation/lapack.hpp), determinants by LU factors and by
// cofactor expansion, the modal assurance criterion, Householder matrices,
// the dominant eigenpair by power iteration and a conjugate-gradient solver.
//
// Routines that call LAPACK work on copies: their inputs never change.  For
// matrices up to 8×8 every work array lives on the stack.  Failures are
// latched (foundation/errorhandling.hpp), never thrown:
//   -2 "Matrix inverse becomes numerically singular!"   LU found U(i,i) = 0
//   -2 "Matrix inversion failed!"                        inversion failed
//   -2 "Singularity in LU-factorization computation"     LU determinant
//   -2 "No convergence in von Mises eigenvalue computation"
//   -3 "Unknown matrix transpose flag"                   general product
//   -3 "Conjugate gradient needs a square matrix"
//   -3 "Matrix too large for the cofactor expansion"     permanent-like weights
//
// C++ callers use the functions of tavrin::math (View or small-matrix
// arguments); the exported C names keep the library's argument lists.
#pragma once

#include "foundation/api.hpp"
#include "foundation/array.hpp"
#include "foundation/small_matrix.hpp"

namespace tavrin::math {

// ainv = a⁻¹ by LU factorisation with partial pivoting and inversion
// (dgetrf, dgetri) on a copy held in ainv itself (ainv may be a).  On a
// singular matrix the failure is latched and ainv keeps what LAPACK left
// there (the LU factors when U has an exact zero pivot).  Returns 0 on
// success.
TAVRIN_API int invert(View<const double, 2> a, View<double, 2> ainv);

template <int N>
SmallMatrix<N, N> inverse(const SmallMatrix<N, N>& a) {
  SmallMatrix<N, N> r;
  invert(a.view(), r.view());
  return r;
}

// Eigenvalues of the symmetric matrix whose upper triangle a holds, in
// ascending order (dsytrd, dsterf).
TAVRIN_API void symmetric_eigenvalues(View<const double, 2> a, double* d);

template <int N>
SmallVector<N> eigenvalues(const SmallMatrix<N, N>& a) {
  SmallVector<N> d;
  symmetric_eigenvalues(a.view(), d.data());
  return d;
}

// Orthonormal eigenvectors (columns of z) of the symmetric matrix whose upper
// triangle a holds, in the order of their eigenvalues, which go to w
// (ascending) unless w is null (dsyev).
TAVRIN_API void symmetric_eigenvectors(View<const double, 2> a, View<double, 2> z, double* w);

// a = u·s·v for an m×n matrix a: u (m×m) the left singular vectors as
// columns, s (m×n) the singular values descending on its diagonal and zero
// elsewhere, v (n×n) the right singular vectors as rows (dgesvd).
TAVRIN_API void singular_value_decomposition(View<const double, 2> a, View<double, 2> u,
                                             View<double, 2> s, View<double, 2> v);

// Value of every entry of a failed Cholesky factor.
inline constexpr double cholesky_failed = -1.7976931348623157e308;

// The upper-triangular R with a = Rᵀ·R (dpotrf on the upper triangle of a),
// its strict lower triangle zero.  A matrix that is not positive definite
// gives cholesky_failed in every entry of c and false; nothing is latched.
TAVRIN_API bool cholesky(View<const double, 2> a, View<double, 2> c);

// Determinant from the LU factors: the product of U's diagonal, its sign
// flipped for every row interchange.  A factorisation that finds an exact
// zero pivot latches "Singularity in LU-factorization computation" and gives
// 0.  An empty matrix gives 1.
TAVRIN_API double lu_determinant(View<const double, 2> a);

// Cofactor expansion along the first row with the weights 1, f, f², ... of
// the successive columns: f = -1 gives the determinant, f = 1 the permanent.
// Each minor is expanded once (memoised over column subsets, n·2ⁿ products;
// on the stack up to 8×8); the determinant of larger matrices than 20×20
// comes from the LU factors, other weights on them are refused with -3.
// An empty matrix gives 0.
TAVRIN_API double cofactor_expansion(View<const double, 2> a, int f = -1);

template <int N>
double determinant(const SmallMatrix<N, N>& a) {
  return cofactor_expansion(a.view(), -1);
}

// (Σ aᵢbᵢ)² / ((Σ aᵢ²)·(Σ bᵢ²)): 1 for parallel, 0 for orthogonal vectors,
// NaN for empty ones.
TAVRIN_API double modal_assurance(const double* a, const double* b, int n);

// thouse = I - 2·v·vᵀ (the reflection in the plane normal to a unit v).
TAVRIN_API void householder(View<double, 2> thouse, const double* v);

// The dominant eigenpair of a by power iteration from `start` (n entries),
// until the change of the normalised iterate drops to abstol or maxiter
// steps are done (then -2 "No convergence in von Mises eigenvalue
// computation" is latched).  eigenvec gets the unit iterate (the start vector
// when no step runs); returns the Rayleigh quotient, which carries the sign of
// the dominant eigenvalue.
TAVRIN_API double power_iteration(View<const double, 2> a, double* eigenvec, int maxiter,
                                  const double* start, double abstol);

// Conjugate gradients on the symmetric positive-definite system a·x = b from
// x0: xgrad is the correction to x0 (the solution when x0 is zero), zero when
// the initial residual is already below 1e-10.  a must be square.
TAVRIN_API void conjugate_gradient(View<const double, 2> a, const double* b, const double* x0,
                                   double* xgrad);

}  // namespace tavrin::math

extern "C" {

// ainv(n,n) = a(n,n)⁻¹.
TAVRIN_API void MatrixInverse(const double* a, double* ainv, const int* n);
// d(n): eigenvalues of the symmetric a(n,n) (upper triangle), ascending.
TAVRIN_API void MatrixEigenvalues(const double* a, double* d, const int* n);
// z(n,n): orthonormal eigenvectors of the symmetric a(n,n); eigvals(n), when
// present and every entry negative on entry, receives the eigenvalues.
TAVRIN_API void MatrixEigenVectors(const double* a, double* z, const int* n, double* eigvals);
// a(m,n) = u(m,m)·s(m,n)·v(n,n).
TAVRIN_API void SingularValueDecomposition(const double* a, double* u, double* s, double* v,
                                           const int* m, const int* n);
// c(n,n) = R with a = Rᵀ·R, strict lower triangle zero; every entry
// -1.7976931348623157e308 when a is not positive definite.
TAVRIN_API void CholeskyFactorization(const double* a, double* c, const int* n);
// d(m,n) = alpha·op(a)·op(b) + beta·c; sa, sb one character each (N/T/C).
TAVRIN_API void GeneralMatrixProduct(double* d, const double* alpha, const double* a,
                                     const double* b, const double* beta, const double* c,
                                     const int* m, const int* n, const int* k, const char* sa,
                                     const char* sb);
TAVRIN_API void LUFactDeterminant(double* lud, const double* a, const int* n);
// pd: cofactor expansion with weight factor pdflag (absent: -1, the
// determinant; 1: the permanent).
TAVRIN_API void Determinant(double* pd, const double* a, const int* n, const int* pdflag);
TAVRIN_API double VectorModalAssuranceCriterion(const double* a, const double* b, const int* n);
// mac(i,j) = MAC of eigenvector i of xs and eigenvector j of ys (n×n each).
TAVRIN_API void MatrixModalAssuranceCriterion(const double* xs, const double* ys, double* mac,
                                              const int* n);
TAVRIN_API void GetHouseHolderTransformationMatrix(double* thouse, const double* v, const int* n);
// maxiter (2000), startvec (every entry 1) and abstol (1e-10) optional.
TAVRIN_API void PowerIteration(double* eigenval, double* eigenvec, const double* a, const int* n,
                               const int* maxiter, const double* startvec, const double* abstol);
// xgrad(m) from a(n,m), b(m), x0(m); n must equal m.
TAVRIN_API void ConjugateGradient(double* xgrad, const double* a, const double* b, const double* x0,
                                  const int* n, const int* m);
}
