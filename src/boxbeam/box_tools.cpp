#include "boxbeam/box_tools.hpp"
#include "foundation/boundary.hpp"

#include <cmath>
#include <vector>

extern "C" {

TAVRIN_API void TVERT(double* a, const int* n_, const int* kl_, const double* eps_, const double* b,
                      int* ip, double* x, int* ifail) {
  tavrin::c_boundary(__func__, [&] {
    const int n = *n_;
    const int kl = *kl_;
    if (n < 1 || kl < n + 1) {
      // No unknown, or too few rows for the n + 1 equations: nothing to solve.
      *ifail = 1;
      return;
    }
    const double eps = *eps_;
    // One-based access to the coefficient matrix and the pivot order.
    auto A = [&](int r, int c) -> double& { return a[(r - 1) + std::ptrdiff_t(c - 1) * kl]; };
    auto P = [&](int i) -> int& { return ip[i - 1]; };

    *ifail = 0;
    std::vector<double> r(b, b + n + 1);
    auto R = [&](int i) -> double& { return r[std::size_t(i - 1)]; };
    for (int i = 1; i <= n + 1; ++i) P(i) = i;

    for (int k = 1; k <= n - 1; ++k) {
      // Pivot: the largest magnitude in column k among the rows not yet used;
      // of equal magnitudes the earliest in the pivot order.
      int l = P(k), kk = k;
      for (int j = k; j <= n + 1; ++j)
        if (std::fabs(A(P(j), k)) > std::fabs(A(l, k))) {
          l = P(j);
          kk = j;
        }
      P(kk) = P(k);
      P(k) = l;
      if (std::fabs(A(l, k)) <= eps) {
        *ifail = k;
        return;
      }
      const double c = 1.0 / A(l, k);
      for (int i = 1; i <= n + 1; ++i) {
        bool used = false;
        for (int q = 1; q <= k && !used; ++q) used = P(q) == i;
        if (used) continue;
        const double h = A(i, k) * c;
        for (int j = k; j <= n; ++j) A(i, j) -= A(l, j) * h;
        A(i, k) = h;  // keep the multiplier for the right-hand sides
      }
    }

    for (int k = 1; k <= n - 1; ++k) {
      const double h = R(P(k));
      for (int j = k + 1; j <= n + 1; ++j) {
        const int m = P(j);
        R(m) -= A(m, k) * h;
      }
    }

    // The last unknown from the better of the two remaining rows; the other
    // one is the redundant equation.
    const int p = P(n), q = P(n + 1);
    const bool take_p = std::fabs(A(q, n)) <= std::fabs(A(p, n));
    const int s = take_p ? p : q;
    if (std::fabs(A(s, n)) > eps) {
      x[n - 1] = R(s) / A(s, n);
    } else if (std::fabs(R(s)) > eps) {
      *ifail = take_p ? n : n + 1;
      return;
    } else {
      x[n - 1] = 1.0;  // homogeneous row: the free unknown is normalised to 1
    }

    for (int k = n - 1; k >= 1; --k) {
      const int l = P(k);
      double sum = 0.0;
      for (int j = k + 1; j <= n; ++j) sum += A(l, j) * x[j - 1];
      x[k - 1] = (R(l) - sum) / A(l, k);
    }
  });
}

TAVRIN_API double QVSKPX(const double* a, const double* b, const int* n, const int* la,
                         const int* lb) {
  double sum = 0.0;
  for (int i = 0; i < *n; ++i) sum += a[std::ptrdiff_t(i) * *la] * b[std::ptrdiff_t(i) * *lb];
  return sum;
}

}  // extern "C"
