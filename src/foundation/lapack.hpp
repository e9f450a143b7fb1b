// The one guarded door to LAPACK and BLAS.
//
// Reference LAPACK answers an illegal argument (a leading dimension below 1,
// a flag character it does not know, a negative extent) by calling xerbla,
// which prints a line and stops the process, the Python interpreter
// included.  Every call of the library goes through the functions below,
// which never hand LAPACK such an argument:
//   - an empty matrix (an extent of 0 or less) returns at once with status 0
//     and leaves the empty result as it is;
//   - leading dimensions are the tight column-major ones, at least 1;
//   - workspaces are queried (lwork = -1), truncated to an integer, raised to
//     LAPACK's documented minimum, and kept on the stack for small matrices;
//   - a transpose flag other than N, T or C (either case) latches status -3
//     "Unknown matrix transpose flag" and nothing is computed.
// The eigenvalue and singular value routines (syev, sytrd_upper, sterf,
// gesvd_all) are not handed a non-finite entry, on which their iterations
// need not end: they latch status -3 "Matrix entries must be finite numbers",
// fill their results with NaN and return minus the argument number of the
// matrix.
// As a backstop the library also supplies xerbla itself: should an illegal
// argument ever reach LAPACK, it latches status -3 "Illegal argument in a
// LAPACK call" (the first integer detail is LAPACK's argument number) and
// LAPACK returns, instead of stopping the process.
//
// Matrices are View<double, 2> over contiguous column-major storage; the
// returned int is LAPACK's info (0 success, > 0 the routine's own failure).
#pragma once

#include "foundation/api.hpp"
#include "foundation/array.hpp"

namespace tavrin::lapack {

// LU factorisation with partial pivoting, P·A = L·U, in place (dgetrf).
// ipiv receives min(m, n) 1-based row interchanges; info i > 0 says U(i,i)
// is exactly zero.
TAVRIN_API int getrf(View<double, 2> a, int* ipiv);

// Inverse of a square matrix from its LU factors, in place (dgetri), with a
// workspace of n reals; info i > 0 (U(i,i) exactly zero) leaves a unchanged.
TAVRIN_API int getri(View<double, 2> a, const int* ipiv);

// Cholesky factor of the upper triangle, A = Uᵀ·U, in place (dpotrf "U");
// info i > 0: the leading minor of order i is not positive definite.
TAVRIN_API int potrf_upper(View<double, 2> a);

// Eigenvalues (ascending, into w(n)) and orthonormal eigenvectors (the
// columns of a, overwritten) of the symmetric matrix held in the upper
// triangle of a (dsyev "V", "U"; lwork = max(3n - 1, queried optimum)).
TAVRIN_API int syev(View<double, 2> a, double* w);

// Reduction of the symmetric matrix in the upper triangle of a to tridiagonal
// form Qᵀ·A·Q (dsytrd "U"): diagonal d(n), off-diagonal e(n-1), reflector
// scalars tau(n-1).
TAVRIN_API int sytrd_upper(View<double, 2> a, double* d, double* e, double* tau);

// Eigenvalues of the symmetric tridiagonal matrix (d(n), e(n-1)), left in d
// in ascending order (dsterf, root-free QL/QR); e is destroyed.
TAVRIN_API int sterf(int n, double* d, double* e);

// Singular value decomposition A = U·Σ·Vᵀ of an m×n matrix with all singular
// vectors (dgesvd "A", "A"): s(min(m, n)) descending, u(m, m), vt(n, n); a is
// destroyed.
TAVRIN_API int gesvd_all(View<double, 2> a, double* s, View<double, 2> u, View<double, 2> vt);

// c = alpha·op(a)·op(b) + beta·c with c m×n and op(a) m×k, op(b) k×n, all
// contiguous column-major (a stored m×k untransposed, k×m transposed; b
// likewise) (dgemm).  op by flag: N/n none, T/t and C/c the transpose.
// Returns false, with c untouched, for an unknown flag.
TAVRIN_API bool gemm(char transa, char transb, int m, int n, int k, double alpha, const double* a,
                     const double* b, double beta, double* c);

// True for the transpose flags LAPACK knows: N, T, C in either case.
constexpr bool valid_transpose(char t) {
  return t == 'N' || t == 'n' || t == 'T' || t == 't' || t == 'C' || t == 'c';
}
constexpr bool no_transpose(char t) { return t == 'N' || t == 'n'; }

}  // namespace tavrin::lapack
