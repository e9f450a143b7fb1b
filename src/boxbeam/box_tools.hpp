// Box-beam tools: the over-complete equation solver and the strided dot
// product with which the shear-flow analysis forms its equation residuals.
#pragma once

#include "foundation/api.hpp"

extern "C" {
// Solves n unknowns from n + 1 equations (one of them redundant) by Gaussian
// elimination with row pivoting through the permutation ip (n + 1 entries).
// a: (kl, >= n) coefficients, column-major, destroyed; b: n + 1 right-hand
// sides, unchanged; x: n unknowns.  ifail: 0 success, k when the pivot of
// elimination step k is at most eps in magnitude, n or n + 1 when the last
// unknown is undetermined, 1 when n < 1 (nothing touched).
TAVRIN_API void TVERT(double* a, const int* n, const int* kl, const double* eps, const double* b,
                      int* ip, double* x, int* ifail);

// Sum over i = 1..n of a(1 + (i-1)*la) * b(1 + (i-1)*lb), from 0 in
// increasing i; 0 when n <= 0.
TAVRIN_API double QVSKPX(const double* a, const double* b, const int* n, const int* la,
                         const int* lb);
}
