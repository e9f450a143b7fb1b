#include "interp/lagrange.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "foundation/array.hpp"
#include "foundation/boundary.hpp"
#include "foundation/timestamp.hpp"
#include "interp/fatal.hpp"
#include "pchip/runtime.hpp"

namespace {

using tavrin::Mat;
using tavrin::Vec;

constexpr double pi = 3.141592653589793;

void require_points(int n, std::string_view routine) {
  if (n < 1) tavrin::interp::fatal(routine, "  N < 1.");
}

// x(i) = cos(theta(i)) on [-1, 1], or its image 0.5(c(b - a) + (a + b)) on
// [a, b]; theta(i) = pi * numerator(i) / denominator.
template <class Numerator>
void cosine_abscissas(int n, double* x, Numerator numerator, double denominator, const double* a,
                      const double* b) {
  const Vec<double> X(x, n);
  std::vector<double> theta(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) theta[std::size_t(i - 1)] = pi * numerator(i) / denominator;
  for (int i = 1; i <= n; ++i) {
    const double c = std::cos(theta[std::size_t(i - 1)]);
    X(i) = a ? 0.5 * (c * (*b - *a) + (*a + *b)) : c;
  }
}

void clenshaw_curtis(int n, double* x, const double* a, const double* b) {
  if (n == 1) {
    x[0] = a ? 0.5 * (*a + *b) : 0.0;
    return;
  }
  cosine_abscissas(n, x, [n](int i) { return double(n - i); }, double(n - 1), a, b);
}

void fejer1(int n, double* x, const double* a, const double* b) {
  if (n == 1) {
    x[0] = a ? 0.5 * (*a + *b) : 0.0;
    return;
  }
  cosine_abscissas(n, x, [n](int i) { return double(2 * (n - i) + 1); }, double(2 * n), a, b);
}

void fejer2(int n, double* x, const double* a, const double* b) {
  cosine_abscissas(n, x, [n](int i) { return double(n + 1 - i); }, double(n + 1), a, b);
}

}  // namespace

extern "C" {

void lagrange_value(const int* data_num, const double* t_data, const int* interp_num,
                    const double* t_interp, double* l_interp) {
  const int nd = std::max(*data_num, 0), ni = std::max(*interp_num, 0);
  const Vec<const double> T(t_data, nd), TI(t_interp, ni);
  const Mat<double> L(l_interp, nd, ni);
  for (int i = 1; i <= ni; ++i)
    for (int j = 1; j <= nd; ++j) L(j, i) = 1.0;
  for (int j = 1; j <= nd; ++j)
    for (int k = 1; k <= nd; ++k) {
      if (k == j) continue;
      for (int i = 1; i <= ni; ++i) L(j, i) = (TI(i) - T(k)) * L(j, i) / (T(j) - T(k));
    }
}

void interp_lagrange(const int* m, const int* data_num, const double* t_data, const double* p_data,
                     const int* interp_num, const double* t_interp, double* p_interp) {
  tavrin::c_boundary(__func__, [&] {
    const int dims = std::max(*m, 0), nd = std::max(*data_num, 0), ni = std::max(*interp_num, 0);
    const Mat<const double> P(p_data, dims, nd);
    const Mat<double> PI(p_interp, dims, ni);
    std::vector<double> l(static_cast<std::size_t>(nd));
    const int one = 1;
    for (int i = 1; i <= ni; ++i) {
      lagrange_value(&nd, t_data, &one, t_interp + (i - 1), l.data());
      for (int r = 1; r <= dims; ++r) {
        double sum = 0.0;
        for (int k = 1; k <= nd; ++k) sum += P(r, k) * l[std::size_t(k - 1)];
        PI(r, i) = sum;
      }
    }
  });
}

void cc_abscissas(const int* n, double* x) {
  tavrin::c_boundary(__func__, [&] {
    require_points(*n, "CC_ABSCISSA");
    clenshaw_curtis(*n, x, nullptr, nullptr);
  });
}
void cc_abscissas_ab(const double* a, const double* b, const int* n, double* x) {
  tavrin::c_boundary(__func__, [&] {
    require_points(*n, "CC_ABSCISSAS_AB");
    clenshaw_curtis(*n, x, a, b);
  });
}
void f1_abscissas(const int* n, double* x) {
  tavrin::c_boundary(__func__, [&] {
    require_points(*n, "F1_ABSCISSAS");
    fejer1(*n, x, nullptr, nullptr);
  });
}
void f1_abscissas_ab(const double* a, const double* b, const int* n, double* x) {
  tavrin::c_boundary(__func__, [&] {
    require_points(*n, "F1_ABSCISSAS_AB");
    fejer1(*n, x, a, b);
  });
}
void f2_abscissas(const int* n, double* x) {
  tavrin::c_boundary(__func__, [&] {
    require_points(*n, "F2_ABSCISSAS");
    if (*n == 1) {
      x[0] = 0.0;
    } else if (*n == 2) {
      x[0] = -0.5;
      x[1] = 0.5;
    } else {
      fejer2(*n, x, nullptr, nullptr);
    }
  });
}
void f2_abscissas_ab(const double* a, const double* b, const int* n, double* x) {
  tavrin::c_boundary(__func__, [&] {
    require_points(*n, "F2_ABSCISSAS_AB");
    fejer2(*n, x, a, b);
  });
}

void ncc_abscissas(const int* n, double* x) {
  tavrin::c_boundary(__func__, [&] {
    require_points(*n, "NCC_ABSCISSAS");
    const int nn = *n;
    const Vec<double> X(x, nn);
    if (nn == 1) {
      X(1) = 0.0;
      return;
    }
    for (int i = 1; i <= nn; ++i) X(i) = double((i - 1) - (nn - i)) / double(nn - 1);
  });
}
void ncc_abscissas_ab(const double* a, const double* b, const int* n, double* x) {
  tavrin::c_boundary(__func__, [&] {
    require_points(*n, "NCC_ABSCISSAS_AB");
    const int nn = *n;
    const Vec<double> X(x, nn);
    if (nn == 1) {
      X(1) = 0.5 * (*a + *b);
      return;
    }
    for (int i = 1; i <= nn; ++i) X(i) = (double(nn - i) * *a + double(i - 1) * *b) / double(nn - 1);
  });
}
void nco_abscissas(const int* n, double* x) {
  tavrin::c_boundary(__func__, [&] {
    require_points(*n, "NCO_ABSCISSAS");
    const int nn = *n;
    const Vec<double> X(x, nn);
    for (int i = 1; i <= nn; ++i) X(i) = double(i - (nn + 1 - i)) / double(nn + 1);
  });
}
void nco_abscissas_ab(const double* a, const double* b, const int* n, double* x) {
  tavrin::c_boundary(__func__, [&] {
    require_points(*n, "NCO_ABSCISSAS_AB");
    const int nn = *n;
    const Vec<double> X(x, nn);
    for (int i = 1; i <= nn; ++i) X(i) = (double(nn - i + 1) * *a + double(i) * *b) / double(nn + 1);
  });
}

void parameterize_arc_length(const int* m, const int* data_num, const double* p_data, double* t_data) {
  const int dims = std::max(*m, 0), nd = *data_num;
  if (nd < 1) return;
  const Mat<const double> P(p_data, dims, nd);
  const Vec<double> T(t_data, nd);
  T(1) = 0.0;
  for (int j = 2; j <= nd; ++j) {
    double sum = 0.0;
    for (int i = 1; i <= dims; ++i) sum += (P(i, j) - P(i, j - 1)) * (P(i, j) - P(i, j - 1));
    T(j) = T(j - 1) + std::sqrt(sum);
  }
}

void parameterize_index(const int*, const int* data_num, const double*, double* t_data) {
  const int nd = *data_num;
  if (nd < 1) return;
  const Vec<double> T(t_data, nd);
  for (int j = 1; j <= nd; ++j) T(j) = double(j - 1);
}

}  // extern "C"

namespace {

// Appends x(1..n) with `fat` points inserted in every interval at k.
void expand_into(const Vec<const double>& X, int n, int fat, double* out, int& k) {
  for (int i = 1; i <= n - 1; ++i) {
    out[k++] = X(i);
    for (int j = 1; j <= fat; ++j) out[k++] = (double(fat - j + 1) * X(i) + double(j) * X(i + 1)) / double(fat + 1);
  }
  out[k++] = X(n);
}

// Row (or column) position of output index i of n2 on an input axis of n
// entries: the fraction r, the bracketing input indices and their fractions.
struct Bracket {
  double r, r1, r2;
  int i1, i2;
};
Bracket bracket(int i, int n2, int n) {
  Bracket b;
  b.r = n2 == 1 ? 0.5 : double(i - 1) / double(n2 - 1);
  b.i1 = int(double(n - 1) * b.r) + 1;
  b.i2 = b.i1 + 1;
  if (b.i2 > n) {
    b.i1 = n - 1;
    b.i2 = n;
  }
  b.r1 = double(b.i1 - 1) / double(n - 1);
  b.r2 = double(b.i2 - 1) / double(n - 1);
  return b;
}

}  // namespace

extern "C" {

void r8vec_expand_linear(const int* n, const double* x, const int* fat, double* xfat) {
  const int nn = *n, nf = *fat;
  if (nn < 1 || nf < 0) return;
  int k = 0;
  expand_into(Vec<const double>(x, nn), nn, nf, xfat, k);
}

void r8vec_expand_linear2(const int* n, const double* x, const int* before, const int* fat,
                          const int* after, double* xfat) {
  const int nn = *n, nf = *fat;
  if (nn < 2 || nf < 0) return;
  const Vec<const double> X(x, nn);
  int k = 0;
  const double x0 = X(1) - (X(2) - X(1));
  for (int j = nf - *before + 1; j <= nf; ++j) xfat[k++] = (double(nf - j + 1) * x0 + double(j) * X(1)) / double(nf + 1);
  expand_into(X, nn, nf, xfat, k);
  const double xe = X(nn) + (X(nn) - X(nn - 1));
  for (int j = 1; j <= *after; ++j) xfat[k++] = (double(nf - j + 1) * X(nn) + double(j) * xe) / double(nf + 1);
}

void r8mat_expand_linear2(const int* m, const int* n, const double* a, const int* m2, const int* n2,
                          double* a2) {
  const int mm = *m, nn = *n, mo = std::max(*m2, 0), no = std::max(*n2, 0);
  if (mm < 2 || nn < 2) return;
  const Mat<const double> A(a, mm, nn);
  const Mat<double> A2(a2, mo, no);
  for (int i = 1; i <= mo; ++i) {
    const Bracket r = bracket(i, mo, mm);
    for (int j = 1; j <= no; ++j) {
      const Bracket s = bracket(j, no, nn);
      A2(i, j) = ((r.r2 - r.r) * (s.r2 - s.r) * A(r.i1, s.i1) + (r.r - r.r1) * (s.r2 - s.r) * A(r.i2, s.i1) +
                  (r.r2 - r.r) * (s.r - s.r1) * A(r.i1, s.i2) + (r.r - r.r1) * (s.r - s.r1) * A(r.i2, s.i2)) /
                 ((r.r2 - r.r1) * (s.r2 - s.r1));
    }
  }
}

void interp_timestamp() {
  tavrin::c_boundary(__func__, [&] {
    tavrin::io::write_timestamp(tavrin::pchip::standard_output_unit);
  });
}

}
