// Matrix and vector products and point operations of module `math`.
//
// Column-major arrays of reals with explicit extents.  Products set their
// result (Kronecker: every entry written); the accumulations and scalings
// change their first argument in place and zero nothing:
//   MatrixScalarMultiplication, VectorScalarMultiplication: a = a + c·b
//   MatrixAmplify, VectorAmplify: a(i) = c·a(i) for the non-zero entries only
// (so an infinite factor leaves zero entries zero).
// Small 3-vectors and 3×3 / 6×6 matrices have their C++ arithmetic in
// foundation/small_matrix.hpp; the routines here serve arrays of any size.
#pragma once

#include "foundation/api.hpp"
#include "foundation/array.hpp"
#include "foundation/small_matrix.hpp"

namespace tavrin::math {

// Σ aᵢ·bᵢ over n entries (0 for n < 1), summed in order.
TAVRIN_API double dot_product(const double* a, const double* b, int n);

// y(n) = a(n,m)·x(m), each entry summed over the columns in order.
TAVRIN_API void matrix_vector_product(View<const double, 2> a, const double* x, double* y);

// c(l,m) = a(l,n)·b(n,m), zero entries of b skipped (accumulate_product).
TAVRIN_API void matrix_product(View<const double, 2> a, View<const double, 2> b, View<double, 2> c);

// c = S·b for the symmetric n×n matrix S packed in a: the upper triangle row
// by row, each row from its diagonal, a = (s11, s12, ..., s1n, s22, ..., snn).
// A packed vector shorter than n(n+1)/2 (m entries) is refused: c = 0 and
// -3 "Packed symmetric matrix shorter than n(n+1)/2" is latched.
TAVRIN_API void packed_symmetric_product(const double* a, int m, const double* b, double* c, int n);

// f·a + (1-f)·b with f = alpha clamped to [0, 1] (NaN and values ≤ 0 give 0).
TAVRIN_API void shrink(const double* a, const double* b, double* c, double alpha, std::ptrdiff_t size);

// Centroid of the polygon (x(i), y(i)), i = 1..n, closed by the edge from the
// last vertex to the first unless it repeats the first; false (and c left
// alone) for a polygon of zero area.
TAVRIN_API bool centroid(const double* x, const double* y, int n, double c[2]);

}  // namespace tavrin::math

extern "C" {

TAVRIN_API void MatrixProduct(const double* a, const double* b, double* c, const int* l,
                              const int* n, const int* m);
// c(n) = a(n,m)·b(m).
TAVRIN_API void MatrixVectorProduct(const double* a, const double* b, double* c, const int* n,
                                    const int* m);
// c(n) = a(m)ᵀ·b(m,n).
TAVRIN_API void VectorMatrixProduct(const double* a, const double* b, double* c, const int* n,
                                    const int* m);
// c(n) = S·b(n), S packed in a(m).
TAVRIN_API void LUMatrixVectorProduct(const double* a, const double* b, double* c, const int* m,
                                      const int* n);
TAVRIN_API void DotProduct(const double* a, const double* b, double* c, const int* l);
TAVRIN_API void CrossProduct(const double* a, const double* b, double* c);
// d = a × (b × c).
TAVRIN_API void VectorTripleProduct(const double* a, const double* b, const double* c, double* d);
// d = a · (b × c).
TAVRIN_API void ScalarTripleProduct(const double* a, const double* b, const double* c, double* d);
// c(m,n) = a(m)·b(n)ᵀ.
TAVRIN_API void DyadenProduct(const double* a, const double* b, double* c, const int* m, const int* n);
// ab(ma·pb, na·qb) = a(ma,na) ⊗ b(pb,qb).
TAVRIN_API void KroneckerProduct(const double* a, const double* b, double* ab, const int* ma,
                                 const int* na, const int* pb, const int* qb);
// c = a∘b where both entries are non-zero, else 0.
TAVRIN_API void HadamardProduct(const double* a, const double* b, double* c, const int* l,
                                const int* n);
// c = a/b where both entries are non-zero, else 0 (a zero divisor gives 0).
TAVRIN_API void HadamardDivision(const double* a, const double* b, double* c, const int* l,
                                 const int* n);
TAVRIN_API void MatrixSum(double* a, const double* b, const int* n, const int* m);
TAVRIN_API void MatrixSub(double* a, const double* b, const int* n, const int* m);
TAVRIN_API void VectorSub(double* a, const double* b, const int* n);
TAVRIN_API void MatrixScalarMultiplication(double* a, const double* b, const double* c, const int* n,
                                           const int* m);
TAVRIN_API void VectorScalarMultiplication(double* a, const double* b, const double* c, const int* n);
TAVRIN_API void MatrixAmplify(double* a, const double* c, const int* n, const int* m);
TAVRIN_API void VectorAmplify(double* a, const double* c, const int* n);
// v = b - a.
TAVRIN_API void GetABVector(double* v, const double* a, const double* b, const int* n);
TAVRIN_API void MatrixShrinkage(const double* a, const double* b, double* c, const double* alpha,
                                const int* n, const int* m);
// prot = R·p, R the rotation by alpha_d degrees about the axis a.
TAVRIN_API void CoordinateRotation(const double* a, const double* p, double* prot,
                                   const double* alpha_d);
TAVRIN_API void CoordinateTranslation(const double* a, const double* p, double* ptrans);
// pref = (2·(na·naᵀ + nb·nbᵀ) - I)·p.
TAVRIN_API void CoordinateReflection(const double* na, const double* nb, const double* p,
                                     double* pref);
// The foot of p on the plane through r0 (origin when null) spanned by u, v.
TAVRIN_API void CoordinateProjection(const double* u, const double* v, const double* p, double* ppro,
                                     const double* r0);
// c(2) = the centroid of the polygon x(n), y(n); unchanged for zero area.
TAVRIN_API void GetCentroid(double* c, const double* x, const double* y, const int* n);
}
