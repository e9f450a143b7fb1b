// Norms and matrix utilities of module `math`: in-place vector sum,
// symmetric part, diagonals, transpose, min-max normalisation, running sums
// and products, minors and cofactors, monotonicity, trace, distances, vector
// and matrix norms (Euclidean, Frobenius, entry-wise Lp, spectral, nuclear,
// Schatten), arc length, polar coordinates, unit vectors, projections,
// angles and two error measures.
//
// Only the minors and the refused inputs report anything; everything else
// is plain floating-point arithmetic, so a zero range, a zero vector or an
// empty mean gives a value that is not a number or infinite.
#pragma once

#include <cstddef>
#include <utility>

#include "foundation/api.hpp"

namespace tavrin::math {

// The smallest normal double: exponents at or below it are replaced by it.
inline constexpr double tiny = 2.2250738585072014e-308;

// √(Σ xᵢ²) over n entries, 0 for none.
TAVRIN_API double euclidean_norm(const double* x, std::ptrdiff_t n);

// The smallest and the largest of n values, NaN entries passed over
// (+∞ and -∞ when there is no number among them).
TAVRIN_API std::pair<double, double> value_range(const double* x, std::ptrdiff_t n);

// z = (x - min x)/(max x - min x) over n entries.
TAVRIN_API void min_max_normalize(const double* x, double* z, std::ptrdiff_t n);

}  // namespace tavrin::math

extern "C" {

// a(n) = a + b.
TAVRIN_API void VectorSum(double* a, const double* b, const int* n);
// sym(n,n) = (a + aᵀ)·0.5.
TAVRIN_API void MatrixSymmetrize(const double* a, double* sym, const int* n);
// diag(n - |k|): the k-th diagonal of a(n,n), above the main one for k > 0.
TAVRIN_API void MatrixDiagonal(double* diag, const double* a, const int* k, const int* n);
// b(m,n) = a(n,m)ᵀ.
TAVRIN_API void MatrixTranspose(const double* a, double* b, const int* n, const int* m);
TAVRIN_API void MatrixNormalize(const double* x, double* z, const int* n, const int* m);
TAVRIN_API void VectorNormalize(const double* x, double* z, const int* n);
// Running sum from seed (0 when null).
TAVRIN_API void CumulativeSum(double* csum, const double* a, const int* n, const double* seed);
// Running product from seed (1 when null).
TAVRIN_API void CumulativeProduct(double* cprod, const double* a, const int* n, const double* seed);
// sm(1,1) for i = 1, else the determinant of the leading i×i block of
// sm(k,k); i outside 1..k is refused (-3 "Minor index outside the matrix", 0).
TAVRIN_API double GetPrincipleMinor(const double* sm, const int* i, const int* k);
// Determinant of sm(k,k) without row i and column j; i or j outside 1..k is
// refused like the principal minor's.
TAVRIN_API double GetFirstMinor(const double* sm, const int* i, const int* j, const int* k);
TAVRIN_API double GetCofactor(const double* mij, const int* i, const int* j);
// 2 strictly increasing, 1 non-decreasing, -1 non-increasing (constant
// included), -2 strictly decreasing (a single value included), 0 otherwise.
TAVRIN_API int Monoticity(const double* x, const int* n);
TAVRIN_API double Trace(const double* x, const int* n);
TAVRIN_API double EuclideanDistance(const double* x, const double* y, const int* n);
TAVRIN_API double VectorNorm(const double* x, const int* n);
// Frobenius norm of x(n,m).
TAVRIN_API double MatrixNorm(const double* x, const int* n, const int* m);
// (Σ |xᵢ|^q)^(1/q), q = p when p > tiny, else q = tiny.
TAVRIN_API double LpVectorNorm(const double* x, const double* p, const int* n);
TAVRIN_API double LpMatrixNorm(const double* x, const double* p, const int* n, const int* m);
// Largest singular value of x(m,n); -1.7976931348623157e308 when x is empty.
TAVRIN_API double SpectralNorm(const double* x, const int* m, const int* n);
// Sum of the singular values; 0 when x is empty.
TAVRIN_API double NuclearNorm(const double* x, const int* m, const int* n);
TAVRIN_API double SchattenNorm(const double* x, const double* p, const int* m, const int* n);
// Length of the circular arc of the given curvature between oa(n) and ob(n).
TAVRIN_API double EffectiveArcLength(const double* oa, const double* ob, const double* curvature,
                                     const int* n);
// polar(n) = (radius, angle, cartesian(3..n)); the angle is phi0 (0 when
// null) at the origin.  n < 2 is refused (-3 "Polar transformation needs at
// least two components", polar untouched).
TAVRIN_API void PolarTransformation(const double* cartesian, double* polar, const int* n,
                                    const double* phi0);
TAVRIN_API void GetUnitVector(double* xu, const double* x, const int* n);
TAVRIN_API double ScalarProjection(const double* a, const double* b, const int* n);
// Angle between x and y in [0, π].
TAVRIN_API double EuclideanAngle(const double* x, const double* y, const int* n);
TAVRIN_API double RootMeanSquareError(const double* x, const double* y, const int* n);
TAVRIN_API double MeanAbsoluteError(const double* x, const double* y, const int* n);
}
