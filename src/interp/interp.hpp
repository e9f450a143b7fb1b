// Linear and nearest-neighbour interpolation of m-dimensional data given at
// parameter values t_data(1..data_num) (p_data column-major, one column of m
// values per point), with the real-vector helpers they use.  Exported names,
// every argument by pointer, logical results as 0/1.
#pragma once

#include "foundation/api.hpp"

extern "C" {

// p_interp(:, k) on the straight line through the two data points that
// bracket t_interp(k) (the first or last interval's line beyond the data).
// A single data point gives its column for every (non-NaN) point.  Parameter
// values that do not strictly increase, or an empty table, print a fatal
// message and stop the process (stop code 1).
TAVRIN_API void interp_linear(const int* m, const int* data_num, const double* t_data,
                              const double* p_data, const int* interp_num, const double* t_interp,
                              double* p_interp);
// p_interp(:, k) = the column of the data point nearest to t_interp(k) (t_data
// sorted, ascending or descending, not checked; a tie takes the larger
// parameter value); NaN for a NaN point.  An empty table stops the process.
TAVRIN_API void interp_nearest(const int* m, const int* data_num, const double* t_data,
                               const double* p_data, const int* interp_num, const double* t_interp,
                               double* p_interp);
// Index of the entry of the sorted vector a(1..n) nearest to value; -1 when
// n < 1 or value is NaN.
TAVRIN_API int r8vec_sorted_nearest(const int* n, const double* a, const double* value);
// The interval left..right of the ascending vector x(1..n) to use for xval:
// the first i in 2..n-1 with xval < x(i) gives (i-1, i), none gives (n-1, n).
// n = 1 gives (1, 1), n < 1 gives (-1, -1).
TAVRIN_API void r8vec_bracket(const int* n, const double* x, const double* xval, int* left,
                              int* right);
// 1 when x(1..n) strictly increases (also for n <= 1), else 0.
TAVRIN_API int r8vec_ascends_strictly(const int* n, const double* x);

}
