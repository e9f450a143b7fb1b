// The interpolation package's further routines: Lagrange interpolation of
// m-dimensional data, the abscissas of five interpolatory quadrature
// families on [-1, 1] and on [a, b] (Clenshaw-Curtis, Fejer types 1 and 2,
// closed and open Newton-Cotes), parameter values for a sequence of points,
// linear refinement of a vector and bilinear resampling of a matrix, and the
// time stamp.  Exported names, every argument by pointer, column-major
// arrays.
#pragma once

#include "foundation/api.hpp"

extern "C" {

// l_interp(j, i): the j-th Lagrange basis polynomial of the abscissas
// t_data(1..data_num) at t_interp(i) (equal abscissas give IEEE infinities
// and NaNs).
TAVRIN_API void lagrange_value(const int* data_num, const double* t_data, const int* interp_num,
                               const double* t_interp, double* l_interp);
// p_interp(:, i): the polynomial of degree data_num - 1 through the columns of
// p_data(m, data_num) at t_data, evaluated at t_interp(i).
TAVRIN_API void interp_lagrange(const int* m, const int* data_num, const double* t_data,
                                const double* p_data, const int* interp_num, const double* t_interp,
                                double* p_interp);

// Quadrature abscissas x(1..n), ascending from -1 (or a) to 1 (or b).
// n < 1 prints " ", "<NAME> - Fatal error!", "  N < 1." and stops the
// process with code 1.
TAVRIN_API void cc_abscissas(const int* n, double* x);
TAVRIN_API void f1_abscissas(const int* n, double* x);
TAVRIN_API void f2_abscissas(const int* n, double* x);
TAVRIN_API void ncc_abscissas(const int* n, double* x);
TAVRIN_API void nco_abscissas(const int* n, double* x);
TAVRIN_API void cc_abscissas_ab(const double* a, const double* b, const int* n, double* x);
TAVRIN_API void f1_abscissas_ab(const double* a, const double* b, const int* n, double* x);
TAVRIN_API void f2_abscissas_ab(const double* a, const double* b, const int* n, double* x);
TAVRIN_API void ncc_abscissas_ab(const double* a, const double* b, const int* n, double* x);
TAVRIN_API void nco_abscissas_ab(const double* a, const double* b, const int* n, double* x);

// t_data(j): cumulative chord length along the points p_data(1..m, j), from
// 0; or the point index j - 1 (p_data not read).  data_num < 1: nothing.
TAVRIN_API void parameterize_arc_length(const int* m, const int* data_num, const double* p_data,
                                        double* t_data);
TAVRIN_API void parameterize_index(const int* m, const int* data_num, const double* p_data,
                                   double* t_data);

// x(1..n) with `fat` equally spaced points inserted in every interval:
// xfat((n-1)(fat+1)+1).  n < 1 or fat < 0: nothing.
TAVRIN_API void r8vec_expand_linear(const int* n, const double* x, const int* fat, double* xfat);
// The same, with `before` points continuing the first interval backwards
// and `after` points the last one forwards, at the same spacing:
// xfat(before + (n-1)(fat+1) + 1 + after).  n < 2 or fat < 0: nothing.
TAVRIN_API void r8vec_expand_linear2(const int* n, const double* x, const int* before, const int* fat,
                                     const int* after, double* xfat);
// a2(m2, n2): a(m, n) resampled bilinearly on an evenly spaced grid over the
// same extent.  m or n < 2: nothing.
TAVRIN_API void r8mat_expand_linear2(const int* m, const int* n, const double* a, const int* m2,
                                     const int* n2, double* a2);

// One time-stamp line on standard output (foundation/timestamp.hpp).
TAVRIN_API void interp_timestamp();

}
