// Repair and tests of symmetric matrices, module `math`: the projection onto
// the positive semidefinite matrices, the nearest symmetric positive-definite
// matrix (Frobenius norm), the nearest correlation matrix (weighted
// alternating projections with a correction term), the distance from the
// nearest positive-definite matrix, and a positive-definiteness test.
//
// n×n column-major matrices; the input is never changed, results go to a
// separate array.  ε = 2.220446049250313e-16.  A matrix "passes the Cholesky
// test" when its Cholesky factorisation succeeds.
//
// Latched failures (foundation/errorhandling.hpp):
//   -3 "Matrix entries must be finite numbers"   the nearest SPD matrix
//      (result NaN), the correlation matrix (result zero), and a matrix that
//      the final shrinking would have to make finite
//   -1 "Warning: Nearest correlation matrix did not converge"   result zero
//   -2 "Singularity in LU-factorization computation"   IsPositiveDefinite on a
//      singular matrix (false)
#pragma once

#include "foundation/api.hpp"

extern "C" {

// ppd = S₊: the symmetric part of a with its negative eigenvalues set to 0.
TAVRIN_API void GetProjectedSPD(double* ppd, const double* a, const int* n);

// pd: the nearest symmetric positive-definite matrix to a: with B = (a+aᵀ)/2
// and H its polar factor V·Σ·Vᵀ, P = (B + H)/2, then shifted by
// (ε - λmin·k²)·I in pass k until it passes the Cholesky test.
TAVRIN_API void GetNearestSPD(double* pd, const double* a, const int* n);

// corr: the nearest correlation matrix (unit diagonal, positive definite)
// to a in the norm weighted by weights(n) (all 1 when null or when every
// entry is -1), to the tolerance tol (n·ε when null or not positive, at
// least ε) within maxiter iterations (100 when null, at least 1); cflag 1 or
// 2 then converts a Spearman or Kendall rank correlation to a linear one and
// repeats.  Zero, with the warning latched, when it does not converge.
TAVRIN_API void GetNearestCorrelationMatrix(double* corr, const double* a, const int* n,
                                            const double* weights, const double* tol,
                                            const int* maxiter, const int* cflag);

// 0 when x passes the Cholesky test, else ‖x - GetNearestSPD(x)‖ (Frobenius).
TAVRIN_API double GetNearestPDNorm(const double* x, const int* n);

// 1 when every eigenvalue of the symmetric x exceeds tolerance (1e-8 when
// null) and its determinant is positive, else 0.
TAVRIN_API int IsPositiveDefinite(const double* x, const int* n, const double* tolerance);
}
