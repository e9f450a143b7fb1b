// Searching, selecting and reordering: positions of values and runs, the
// pairing of two lists, membership and range tests, selection by comparison,
// ordering permutations, the merge of two lists, reversal, swaps, increments
// and logical connectives.
//
// Values compare exactly, with no tolerance: a NaN equals nothing (itself
// included), -0.0 equals 0.0, complex values are equal when both parts are.
// Positions are 1-based; a value that does not occur is reported as the
// caller's `notfound`, else -1.  Flags are int, 0 or 1; optional arguments
// are null when absent.
#pragma once

#include <complex>

#include "foundation/api.hpp"

extern "C" {

// First position i <= ndim with array(i) = element.
TAVRIN_API int iFindLocation(const int* element, const int* array, const int* ndim,
                             const int* notfound);
TAVRIN_API int fFindLocation(const double* element, const double* array, const int* ndim,
                             const int* notfound);
TAVRIN_API int cFindLocation(const std::complex<double>* element,
                             const std::complex<double>* array, const int* ndim,
                             const int* notfound);

// First position at which subarray(1..sdim) occurs as a run in array(1..ndim);
// 1 for an empty run (sdim <= 0 <= ndim - sdim).
TAVRIN_API int iFindSubArray(const int* subarray, const int* array, const int* sdim,
                             const int* ndim, const int* notfound);
TAVRIN_API int fFindSubArray(const double* subarray, const double* array, const int* sdim,
                             const int* ndim, const int* notfound);
TAVRIN_API int cFindSubArray(const std::complex<double>* subarray,
                             const std::complex<double>* array, const int* sdim, const int* ndim,
                             const int* notfound);

// ainb(i) = first position of a(i) in b(1..n), -1 where it does not occur.
TAVRIN_API void iGetPairs(int* ainb, const int* a, const int* b, const int* n);
TAVRIN_API void fGetPairs(int* ainb, const double* a, const double* b, const int* n);

// xlow <= x <= xup.
TAVRIN_API int iBounded(const int* x, const int* xlow, const int* xup);
TAVRIN_API int fBounded(const double* x, const double* xlow, const double* xup);
// Some list(i) equals scalar (false for n < 1).
TAVRIN_API int iInList(const int* scalar, const int* list, const int* n);
TAVRIN_API int fInList(const double* scalar, const double* list, const int* n);
// Every list(i) equals scalar (true for n < 1).
TAVRIN_API int iExList(const int* scalar, const int* list, const int* n);
TAVRIN_API int fExList(const double* scalar, const double* list, const int* n);

// The positions of a(n) whose values are none of sub(nsub), in increasing
// order, then -1.
TAVRIN_API void GetIndicesExcludingSubArray(int* indices, const int* a, const int* sub,
                                            const int* n, const int* nsub);
// The entries of list(nlist) that pass the test cflag against condition
// (1 <, 2 <=, 3 ==, 4 >=, 5 >, 6 /=), in order, then padding; only padding
// when more than npack pass or cflag is none of 1..6.
TAVRIN_API void GetPackedList(double* packed, const double* list, const double* condition,
                              const double* padding, const int* cflag, const int* npack,
                              const int* nlist);

// iloc: the positions of xarr in ascending order of their values (descending
// for sflag -1), equal values in position order; NaNs last, in position order.
TAVRIN_API void iGetContinuous(const int* xarr, const int* xdim, int* iloc, const int* sflag);
TAVRIN_API void fGetContinuous(const double* xarr, const int* xdim, int* iloc, const int* sflag);

// merged(nx + ny): the entries of x that equal no entry of y, those of y that
// equal no entry of x, then each shared value once, in the order of x; the
// slots left over hold defval (default: the type's largest value), the first
// of them 0 when x or y holds a 0.
TAVRIN_API void iGetMerged(int* merged, const int* x, const int* y, const int* nx, const int* ny,
                           const int* defval);
TAVRIN_API void fGetMerged(double* merged, const double* x, const double* y, const int* nx,
                           const int* ny, const double* defval);

// b(i) = a(n - i + 1).
TAVRIN_API void VectorFlip(const double* a, double* b, const int* n);
// dimflag >= 0: every column of a(n, m) reversed; dimflag < 0: every row.
TAVRIN_API void MatrixFlip(const double* a, double* b, const int* n, const int* m,
                           const int* dimflag);

TAVRIN_API void iSwap(int* a, int* b);
TAVRIN_API void fSwap(double* a, double* b);
TAVRIN_API void cSwap(std::complex<double>* a, std::complex<double>* b);

// value = value + step (default 1); integers wrap around in two's complement.
TAVRIN_API void iINC(int* i, const int* step);
TAVRIN_API void fINC(double* f, const double* step);

TAVRIN_API int lXOR(const int* a, const int* b);
TAVRIN_API int lNOR(const int* a, const int* b);
TAVRIN_API int lNAND(const int* a, const int* b);

}
