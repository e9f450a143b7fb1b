#include "interp/tables.hpp"

#include <cmath>
#include <vector>

#include "interp/interp.hpp"
#include "foundation/scratch.hpp"
#include "pchip/dpchip.hpp"

namespace tavrin::math {
namespace {

constexpr int one_dimension = 1;

// Monotone derivatives of the table at its nodes (easy driver, no spline).
// The status is not inspected: errors have been reported (and, under the
// package's control setting, ended the process); warnings count switches of
// monotonicity.
std::vector<double> monotone_derivatives(const double* x, const double* y, int n) {
  std::vector<double> d(std::size_t(n > 0 ? n : 0));
  const int spline = 0, lwk = 0;
  int ierr = 0;
  dpchez(&n, x, y, d.data(), &spline, nullptr, &lwk, &ierr);
  return d;
}

}  // namespace

void nearestinterpolation(const double* x, const double* y, int n, const double* p, int np,
                          double* r) {
  interp_nearest(&one_dimension, &n, x, y, &np, p, r);
}

void linearinterpolation(const double* x, const double* y, int n, const double* p, int np,
                         double* r) {
  interp_linear(&one_dimension, &n, x, y, &np, p, r);
}

void cubichermitianinterpolation(const double* x, const double* y, int n, const double* p, int np,
                                 double* r) {
  const std::vector<double> d = monotone_derivatives(x, y, n);
  const int incfd = 1;
  int skip = 0, ierr = 0;
  dpchfe(&n, x, y, d.data(), &incfd, &skip, &np, p, r, &ierr);
}

double cubichermitianintegration(const double* x, const double* y, int n, double a, double b) {
  const std::vector<double> d = monotone_derivatives(x, y, n);
  int ierr = 0;
  return dpchqa(&n, x, y, d.data(), &a, &b, &ierr);
}

double cubichermitianarclength(const double* x, const double* y, int n, double a, double b) {
  std::vector<double> g = monotone_derivatives(x, y, n);
  for (double& gi : g) gi = partialcurvelength(gi);
  return cubichermitianintegration(x, g.data(), n, a, b);
}

double table_value(const double* x, const double* y, int n, double p, bool cubic) {
  if (n == 1) return y[0];
  double r = 0.0;
  if (!cubic) {
    linearinterpolation(x, y, n, &p, 1, &r);
    return r;
  }
  Scratch<double, small_matrix_entries> d(n);
  const int spline = 0, lwk = 0, incfd = 1, np = 1;
  int skip = 0, ierr = 0;
  dpchez(&n, x, y, d.data(), &spline, nullptr, &lwk, &ierr);
  dpchfe(&n, x, y, d.data(), &incfd, &skip, &np, &p, &r, &ierr);
  return r;
}

double partialcurvelength(double dy) { return std::sqrt(dy * dy + 1.0); }

}  // namespace tavrin::math
