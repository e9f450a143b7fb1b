// Module dg8: the eight-parameter plate, its contact penalty, Newton
// solution and energy release rates.
#include "delamination/dg8.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "delamination/dg8_polynomials.hpp"
#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/linalg.hpp"

namespace tavrin::dg8 {
namespace {

constexpr double pi = std::numbers::pi;
// The grid's points and its counters are 32-bit integers.
constexpr double max_grid_points = 2147483647.0;

// abd(6,6) column-major: entry (i, j), 1-based, of the upper triangle.
PlateStiffness stiffness(const double* abd) {
  const auto at = [abd](int i, int j) { return abd[(i - 1) + 6 * (j - 1)]; };
  return {at(1, 1), at(1, 2), at(1, 3), at(2, 2), at(2, 3), at(3, 3),
          at(1, 4), at(1, 5), at(1, 6), at(2, 5), at(2, 6), at(3, 6),
          at(4, 4), at(4, 5), at(4, 6), at(5, 5), at(5, 6), at(6, 6)};
}

double strain_energy(const double* vec, const double* eps, double a, double b, const PlateStiffness& s) {
  return pi * a * b * detail::energy_over_pi(vec, eps, 1.0 / a, 1.0 / b, s);
}

void residual(double* f, const double* vec, const double* eps, double g0, double epsbucklin,
              double a, double b, const PlateStiffness& s, bool w) {
  detail::gradient_over_pi(vec, eps, 1.0 / a, 1.0 / b, s, f);
  const double scale = pi * a * b;
  for (int k = 0; k < 8; ++k) f[k] *= scale;
  // Until buckling is found a small transverse load stands in for the
  // imperfection that starts the deflection.
  if (!w) f[4] -= scale * g0 * epsbucklin * epsbucklin / 10.0;
}

void jacobian(double* df, const double* vec, const double* eps, double a, double b,
              const PlateStiffness& s) {
  detail::hessian_over_pi(vec, eps, 1.0 / a, 1.0 / b, s, df);
  const double scale = pi * a * b;
  for (int k = 0; k < 64; ++k) df[k] *= scale;
}

// Visits the grid points where the plate penetrates the base laminate:
// cells of size h = min(a, b)/nk (3a when nk < 1) centred at
// x_i = h/2 - a + i·h < a, y_j = h/2 - b + j·h < b, counting those strictly
// inside the ellipse with P = r1 + r2·xi² + r3·eta² + r4·xi·eta < 0.
// visit(h², c, P, s) gets s = (1, xi², eta², xi·eta).
template <class Visit>
void for_each_contact_point(const double* vec, double a, double b, int nk, Visit&& visit) {
  const double h = nk < 1 ? 3.0 * a : std::min(a, b) / nk;
  if (!(h > 0.0) || !std::isfinite(a) || !std::isfinite(b)) return;
  // Fine grids are what the contact energy converges on (the overlap tends
  // to pi·a·b); only a grid whose points the integer counters cannot number
  // is refused.
  if ((2.0 * a / h + 1.0) * (2.0 * b / h + 1.0) > max_grid_points) {
    tavrin::xerr(-2, "Error: Contact grid too fine (nk or the ratio of the semi-axes too large)!");
    return;
  }
  const double cell = h * h;
  for (int i = 0;; ++i) {
    const double x = h / 2.0 - a + i * h;
    if (!(x < a)) break;
    const double xi = x / a;
    for (int j = 0;; ++j) {
      const double y = h / 2.0 - b + j * h;
      if (!(y < b)) break;
      const double eta = y / b;
      const double c = 1.0 - xi * xi - eta * eta;
      if (!(c > 0.0)) continue;
      const std::array<double, 4> s{1.0, xi * xi, eta * eta, xi * eta};
      const double p = vec[4] + vec[5] * s[1] + vec[6] * s[2] + vec[7] * s[3];
      if (p < 0.0) visit(cell, c, p, s);
    }
  }
}

double contact_energy(const double* vec, double a, double b, double kmd, int nk) {
  double e = 0.0;
  for_each_contact_point(vec, a, b, nk, [&](double cell, double c, double p, const auto&) {
    const double c2 = c * c;
    e += 0.5 * kmd * cell * c2 * c2 * p * p;
  });
  return e;
}

void contact_derivatives(double* km, double* kv, const double* vec, double a, double b, double kmd,
                         int nk) {
  std::fill(km, km + 16, 0.0);
  std::fill(kv, kv + 4, 0.0);
  for_each_contact_point(vec, a, b, nk, [&](double cell, double c, double p, const auto& s) {
    const double c2 = c * c;
    const double k = kmd * cell * c2 * c2;
    for (int j = 0; j < 4; ++j) {
      kv[j] += k * p * s[j];
      for (int i = 0; i <= j; ++i) km[i + 4 * j] += k * s[i] * s[j];
    }
  });
  for (int j = 0; j < 4; ++j)
    for (int i = j + 1; i < 4; ++i) km[i + 4 * j] = km[j + 4 * i];
}

}  // namespace
}  // namespace tavrin::dg8

using namespace tavrin::dg8;

extern "C" {

double GetStrainEnergy8(const double* vec, const double* eps, const double* a, const double* b,
                        const double* abd) {
  return strain_energy(vec, eps, *a, *b, stiffness(abd));
}

void GetF8(double* f, const double* vec, const double* eps, const double* g0,
           const double* epsbucklin, const double* a, const double* b, const double* abd,
           const int* w) {
  residual(f, vec, eps, *g0, *epsbucklin, *a, *b, stiffness(abd), *w != 0);
}

void GetdF8(double* df, const double* vec, const double* eps, const double* /*g0*/,
            const double* a, const double* b, const double* abd, const int* /*w*/) {
  jacobian(df, vec, eps, *a, *b, stiffness(abd));
}

double GetContactEnergy8(const double* vec, const double* a, const double* b, const double* kmd,
                         const int* nk) {
  return contact_energy(vec, *a, *b, *kmd, *nk);
}

void GetKdfKf8(double* km, double* kv, const double* vec, const double* a, const double* b,
               const double* kmd, const int* nk) {
  contact_derivatives(km, kv, vec, *a, *b, *kmd, *nk);
}

double GetAreaOfOverlap8(const double* vec, const double* a, const double* b, const int* nk) {
  int count = 0;
  double cell = 0.0;
  for_each_contact_point(vec, *a, *b, *nk, [&](double h2, double, double, const auto&) {
    ++count;
    cell = h2;
  });
  return count * cell;
}

void GetFdF8(double* fp, double* dfp, const double* vec, const double* eps, const double* g0,
             const double* epsbucklin, const double* a, const double* b, const double* kmd,
             const double* abd, const int* nk, const int* w) {
  const PlateStiffness s = stiffness(abd);
  residual(fp, vec, eps, *g0, *epsbucklin, *a, *b, s, *w != 0);
  jacobian(dfp, vec, eps, *a, *b, s);
  std::array<double, 16> km;
  std::array<double, 4> kv;
  contact_derivatives(km.data(), kv.data(), vec, *a, *b, *kmd, *nk);
  for (int j = 0; j < 4; ++j) {
    fp[4 + j] += kv[j];
    for (int i = 0; i < 4; ++i) dfp[(4 + i) + 8 * (4 + j)] += km[i + 4 * j];
  }
}

void NewtonRaphson8(double* sol, double* nrerr, const double* a, const double* b, const double* kmd,
                    const double* g0, const double* epsnom, const double* epsbucklin,
                    const double* relepsellipse, const double* abd, const double* tolerance,
                    const int* maxiter, const int* nk, const int* w) {
  tavrin::c_boundary(__func__, [&] {
    const std::array<double, 3> e0{*epsnom * relepsellipse[0], *epsnom * relepsellipse[1],
                                   *epsnom * relepsellipse[2]};
    std::array<double, 8> fp{};
    std::array<double, 64> dfp{}, inv{};
    const int n = 8;
    double check = 0.0;
    for (int iter = 1; iter <= *maxiter; ++iter) {
      GetFdF8(fp.data(), dfp.data(), sol, e0.data(), g0, epsbucklin, a, b, kmd, abd, nk, w);
      // A singular Jacobian (latched by the inversion) leaves no correction to
      // trust: it counts as a non-finite one.
      const bool singular = tavrin::math::invert(tavrin::View<const double, 2>(dfp.data(), n, n),
                                                 tavrin::View<double, 2>(inv.data(), n, n)) != 0;
      std::array<double, 8> dx{};
      for (int j = 0; j < 8; ++j)
        for (int i = 0; i < 8; ++i) dx[i] += inv[i + 8 * j] * fp[j];
      check = 0.0;
      for (double d : dx) check += d * d;
      if (singular) check = std::numeric_limits<double>::quiet_NaN();
      // Stop at a non-finite correction, keeping the last finite iterate; the
      // non-finite error tells the caller the solve failed.
      if (!std::isfinite(check)) break;
      for (int i = 0; i < 8; ++i) sol[i] -= dx[i];
      if (check < *tolerance) break;
    }
    *nrerr = check;
  });
}

void GetEnergyReleaseRate8(double* serr, double* fa, double* fb, const double* vec, const double* a,
                           const double* b, const double* kmd, const double* g0,
                           const double* epsnom, const double* epsbucklin,
                           const double* relepsellipse, const double* abd, const int* nk,
                           const int* w, const double* tol, const int* maxiter) {
  tavrin::c_boundary(__func__, [&] {
    const double tolerance = tol ? *tol : 1e-15;
    const int iterations = maxiter ? *maxiter : 100;
    *serr = 0.0;
    const std::array<double, 3> e0{*epsnom * relepsellipse[0], *epsnom * relepsellipse[1],
                                   *epsnom * relepsellipse[2]};
    std::array<double, 8> sol;
    std::copy(vec, vec + 8, sol.begin());
    const double g1 = *g0 * *epsnom * *epsnom;
    const PlateStiffness s = stiffness(abd);
    const auto potential = [&](double aa, double bb) {
      return strain_energy(sol.data(), e0.data(), aa, bb, s) + contact_energy(sol.data(), aa, bb, *kmd, *nk);
    };
    const double pi0 = potential(*a, *b);
    const auto solve = [&](const double* aa, const double* bb) {
      double nrerr = 0.0;
      NewtonRaphson8(sol.data(), &nrerr, aa, bb, kmd, g0, epsnom, epsbucklin, relepsellipse, abd,
                     &tolerance, &iterations, nk, w);
      if (!(nrerr <= tolerance))
        tavrin::xerr(-2, "Error: No convergence while computing energy release rate!",
                     std::array<int, 2>{}, std::array<double, 2>{});
    };
    const double ap = 1.00001 * *a;
    solve(&ap, b);
    const double dpda = (potential(ap, *b) - pi0) / (1e-5 * ap);
    const double bp = 1.00001 * *b;
    solve(a, &bp);
    const double dpdb = (potential(*a, bp) - pi0) / (1e-5 * bp);
    const double ga = g1 - dpda / (pi * bp);
    const double gb = g1 - dpdb / (pi * ap);
    *fa = 1.0;
    *fb = 1.0;
    if (ga >= gb) {
      *serr = ga;
      *fa = 1.001;
    } else {
      *serr = gb;
      *fb = 1.001;
    }
  });
}

}  // extern "C"
