// Elementary array services: filling, zero-initialised arrays of rank 1 to 7,
// copies, constructed matrices (scalar, identity, shifted identity, index
// vector, evenly spaced points), triangles cut from or unpacked into square
// matrices, and slicing, concatenation and splitting of vectors and matrices.
//
// Arrays are column-major with explicit extents; a routine works on exactly
// that many entries, never more, and an extent below 1 leaves its output as
// it was unless a routine says otherwise.  Logical flags travel as int
// (0 false, anything else true); optional arguments are null when absent.
#pragma once

#include <array>
#include <complex>
#include <cstddef>

#include "foundation/api.hpp"

namespace tavrin::utility {

// The fill family over whole column-major arrays of rank 1 to 7.
TAVRIN_API void real_fillvectorwithscalar(double* a, const double& lambda, int n1);
TAVRIN_API void real_fillmatrixwithscalar(double* a, const double& lambda, int n1, int n2);
TAVRIN_API void real_fill3darraywithscalar(double* a, const double& lambda, int n1, int n2, int n3);
TAVRIN_API void real_fill4darraywithscalar(double* a, const double& lambda, int n1, int n2, int n3,
                                           int n4);
TAVRIN_API void real_fill5darraywithscalar(double* a, const double& lambda, int n1, int n2, int n3,
                                           int n4, int n5);
TAVRIN_API void real_fill6darraywithscalar(double* a, const double& lambda, int n1, int n2, int n3,
                                           int n4, int n5, int n6);
TAVRIN_API void real_fill7darraywithscalar(double* a, const double& lambda, int n1, int n2, int n3,
                                           int n4, int n5, int n6, int n7);
TAVRIN_API void int_fillvectorwithscalar(int* a, const int& lambda, int n1);
TAVRIN_API void int_fillmatrixwithscalar(int* a, const int& lambda, int n1, int n2);
TAVRIN_API void int_fill3darraywithscalar(int* a, const int& lambda, int n1, int n2, int n3);
TAVRIN_API void int_fill4darraywithscalar(int* a, const int& lambda, int n1, int n2, int n3, int n4);
TAVRIN_API void int_fill5darraywithscalar(int* a, const int& lambda, int n1, int n2, int n3, int n4,
                                          int n5);
TAVRIN_API void int_fill6darraywithscalar(int* a, const int& lambda, int n1, int n2, int n3, int n4,
                                          int n5, int n6);
TAVRIN_API void int_fill7darraywithscalar(int* a, const int& lambda, int n1, int n2, int n3, int n4,
                                          int n5, int n6, int n7);

}  // namespace tavrin::utility

extern "C" {

// Zero-initialisers: every element of a(l, m, ...) set to 0.0.
TAVRIN_API void IniVectorwithZeros(double* a, const int* n);
TAVRIN_API void IniMatrixwithZeros(double* a, const int* n, const int* m);
TAVRIN_API void Ini3DArraywithZeros(double* a, const int* l, const int* m, const int* n);
TAVRIN_API void Ini4DArraywithZeros(double* a, const int* l, const int* m, const int* n,
                                    const int* o);
TAVRIN_API void Ini5DArraywithZeros(double* a, const int* l, const int* m, const int* n,
                                    const int* o, const int* p);
TAVRIN_API void Ini6DArraywithZeros(double* a, const int* l, const int* m, const int* n,
                                    const int* o, const int* p, const int* q);
TAVRIN_API void IniMaxDArraywithZeros(double* a, const int* l, const int* m, const int* n,
                                      const int* o, const int* p, const int* q, const int* r);

// b(1..n) = a(1..n).
TAVRIN_API void fVectorCopy(const double* a, double* b, const int* n);
TAVRIN_API void iVectorCopy(const int* a, int* b, const int* n);
TAVRIN_API void cVectorCopy(const std::complex<double>* a, std::complex<double>* b, const int* n);
// b(n, m) = a(n, m).
TAVRIN_API void MatrixCopy(const double* a, double* b, const int* n, const int* m);
// matrix(i, j) = list((j-1)*n + i): the list read column by column.
TAVRIN_API void GetUnpackedMatrixFromList(double* matrix, const double* list, const int* n,
                                          const int* m);

// For k = 1..n: a(mask(k)) = b(mask(k)), with a(na) and b(nb); a mask entry
// outside either array is skipped.  Entries copy to the same index.
TAVRIN_API void VectorSort(double* a, const double* b, const int* mask, const int* n,
                           const int* na, const int* nb);
// For k = 1..n: column mask(k) of a(m, na) becomes column mask(k) of
// b(m, nb); a mask entry outside either array is skipped.
TAVRIN_API void MatrixSort(double* a, const double* b, const int* mask, const int* m, const int* n,
                           const int* na, const int* nb);

// a(n, n): lambda on the diagonal, 0.0 elsewhere.
TAVRIN_API void GetScalarMatrix(double* a, const int* n, const double* lambda);
TAVRIN_API void GetIdentityMatrix(double* a, const int* n);
// a(n, n): ones on the k-th diagonal (k > 0 above, k < 0 below the main one;
// absent k: 0), zeros elsewhere.
TAVRIN_API void GetEyeMatrix(double* a, const int* k, const int* n);
// a(i) = i.
TAVRIN_API void GetIndexVector(int* a, const int* n);
// x(i) = a + (i-1)*dx with dx = (b-a)/(n-1), or (b-a)/n when endpoint is
// present and false; a single point is a.
TAVRIN_API void Linspace(double* x, const double* a, const double* b, const int* n,
                         const int* endpoint);

// lu(n, n): the lower triangle of a with its diagonal, or with luflag present
// and true the upper one; zeros elsewhere.
TAVRIN_API void GetTriangularMatrix(double* lu, const double* a, const int* n, const int* luflag);
// lu(nlu, nlu) from the packed upper triangle (t11, t12, t22, t13, ...) of
// np values (entries beyond np stay zero): the upper triangle when upper is
// true and order is "F", its transpose when exactly one of them holds, the
// upper triangle again when neither does.
TAVRIN_API void GetUnpackedTriangle(double* lu, const double* packed, const int* nlu,
                                    const int* np, const char* order, const int* upper);
// sym(i, j) = lu(i, j) where that is not 0.0, else lu(j, i).
TAVRIN_API void Symmetrize(const double* lu, double* sym, const int* n);
// Fills the strict lower triangle of a(n, n) column by column from x, then,
// when k is not h = n(n-1)/2, the strict upper triangle row by row from the
// next values; no more than the k values of x are read.
TAVRIN_API void FillMatrixOffDiagonals(double* a, const double* x, const int* n, const int* k);

// The last (tail absent or true) or first nsub entries of array(narray) and
// their positions (first, last); with nsub outside 1..narray the entries are
// 1.0 and the positions (-1, -1).
TAVRIN_API void GetSubArray(double* subarray, int* subslice, const double* array,
                            const int* narray, const int* nsub, const int* tail);
// ab(k + m*ctype, l + n*(1-ctype)): a(k, l) with b(m, n) to its right
// (ctype 0) or below it (ctype 1); zeros elsewhere, all zeros for another
// ctype.  Only what lies inside ab is written.
TAVRIN_API void MatrixConcatenation(double* ab, const double* a, const double* b, const int* ctype,
                                    const int* k, const int* l, const int* m, const int* n);
// b(n/k, k): a(n) cut into k consecutive pieces, one per column; all -1.0
// when n is not a multiple of k.  Nothing is written for k < 1.
TAVRIN_API void VectorSplit(const double* a, double* b, const int* k, const int* n);
// b(l/k, m, k): every column of a(l, m) split so; all -1.0 when l is not a
// multiple of k.  Nothing is written for k < 1.
TAVRIN_API void MatrixSplit(const double* a, double* b, const int* k, const int* l, const int* m);

}
