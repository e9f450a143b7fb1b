#include "interp/interp.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

#include "foundation/array.hpp"
#include "foundation/boundary.hpp"
#include "interp/fatal.hpp"
#include "pchip/runtime.hpp"

namespace {

using tavrin::Mat;
using tavrin::Vec;
namespace pchip = tavrin::pchip;

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

}  // namespace

namespace tavrin::interp {

void fatal(std::string_view routine, std::string_view reason) {
  pchip::write_record(pchip::standard_output_unit, " ");
  pchip::write_record(pchip::standard_output_unit, std::string(routine) + " - Fatal error!");
  pchip::write_record(pchip::standard_output_unit, reason);
  pchip::numeric_stop(1);
}

}  // namespace tavrin::interp

extern "C" {

int r8vec_ascends_strictly(const int* n, const double* x) {
  for (int i = 1; i < *n; ++i)
    if (!(x[i - 1] < x[i])) return 0;
  return 1;
}

void r8vec_bracket(const int* n, const double* x, const double* xval, int* left, int* right) {
  if (*n < 2) {
    *left = *right = *n == 1 ? 1 : -1;
    return;
  }
  // The first of x(2..n-1) above xval; on ascending data a binary search
  // finds the same entry as a scan from x(2).
  const double* const first = x + 1;
  const double* const last = x + (*n - 1);
  const int i = int(std::upper_bound(first, last, *xval) - x) + 1;  // 1-based; n when none
  *right = i;
  *left = i - 1;
}

int r8vec_sorted_nearest(const int* n, const double* a, const double* value) {
  const double v = *value;
  if (*n < 1 || std::isnan(v)) return -1;
  if (*n == 1) return 1;
  const Vec<const double> A(a, *n);
  const bool ascending = A(*n) > A(1);
  int lo = ascending ? 1 : *n;  // the end with the smaller entries
  int hi = ascending ? *n : 1;  // the end with the larger entries
  if (v < A(lo)) return lo;
  if (v > A(hi)) return hi;
  while (std::abs(hi - lo) > 1) {
    const int mid = (lo + hi) / 2;
    if (v == A(mid)) return mid;
    if (A(mid) > v) hi = mid;
    else lo = mid;
  }
  // Midway between two entries: the larger one.
  return std::abs(v - A(lo)) < std::abs(v - A(hi)) ? lo : hi;
}

void interp_linear(const int* m, const int* data_num, const double* t_data, const double* p_data,
                   const int* interp_num, const double* t_interp, double* p_interp) {
  tavrin::c_boundary(__func__, [&] {
    const int dims = std::max(*m, 0), n = *data_num, ni = std::max(*interp_num, 0);
    if (n < 1) tavrin::interp::fatal("INTERP_LINEAR", "  Data array T_DATA holds no points.");
    if (!r8vec_ascends_strictly(data_num, t_data))
      tavrin::interp::fatal("INTERP_LINEAR", "  Independent variable array T_DATA is not strictly increasing.");
    const Vec<const double> T(t_data, n);
    const Mat<const double> P(p_data, dims, n);
    const Vec<const double> TI(t_interp, ni);
    const Mat<double> PI(p_interp, dims, ni);
    for (int k = 1; k <= ni; ++k) {
      const double t = TI(k);
      if (n == 1) {
        for (int i = 1; i <= dims; ++i) PI(i, k) = std::isnan(t) ? not_a_number : P(i, 1);
        continue;
      }
      int left, right;
      r8vec_bracket(data_num, t_data, &t, &left, &right);
      for (int i = 1; i <= dims; ++i)
        PI(i, k) = ((T(right) - t) * P(i, left) + (t - T(left)) * P(i, right)) / (T(right) - T(left));
    }
  });
}

void interp_nearest(const int* m, const int* data_num, const double* t_data, const double* p_data,
                    const int* interp_num, const double* t_interp, double* p_interp) {
  tavrin::c_boundary(__func__, [&] {
    const int dims = std::max(*m, 0), n = *data_num, ni = std::max(*interp_num, 0);
    if (n < 1) tavrin::interp::fatal("INTERP_NEAREST", "  Data array T_DATA holds no points.");
    const Mat<const double> P(p_data, dims, n);
    const Mat<double> PI(p_interp, dims, ni);
    for (int k = 1; k <= ni; ++k) {
      const int j = r8vec_sorted_nearest(data_num, t_data, t_interp + (k - 1));
      for (int i = 1; i <= dims; ++i) PI(i, k) = j < 1 ? not_a_number : P(i, j);
    }
  });
}

}
