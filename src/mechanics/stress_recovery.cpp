#include "mechanics/stress_recovery.hpp"

#include <algorithm>
#include <cmath>

#include "foundation/array.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/transforms.hpp"

namespace tavrin::laminate {

PlyIntegrals parabola_integrals(const double* z, const double* g) {
  if (z[2] == z[0]) return {};
  // The parabola in the ply's own coordinate ζ = z - z1, which keeps the
  // antiderivative G(ζ) = aζ³/3 + bζ²/2 + cζ free of cancellation far
  // from the mid-plane; G(0) = 0.
  const double ind[6] = {0.0, z[1] - z[0], z[2] - z[0], g[0], g[1], g[2]};
  double abc[3];
  GetParabolaCoefficients(ind, abc);
  const auto antiderivative = [&](double x) { return ((abc[0] / 3.0 * x + abc[1] / 2.0) * x + abc[2]) * x; };
  return {antiderivative(ind[1]), antiderivative(ind[2])};
}

Mat2 interpolate_f(const double* z, const Mat2* f, double zpos) {
  Mat2 r;
  for (int j = 0; j < 3; ++j) {
    const double a = z[(j + 1) % 3], b = z[(j + 2) % 3];
    r += ((zpos - a) * (zpos - b) / ((z[j] - a) * (z[j] - b))) * f[j];
  }
  return r;
}

}  // namespace tavrin::laminate

namespace {
namespace lm = tavrin::laminate;
using tavrin::View;
using Mat2 = lm::Mat2;

// The small f of row `row` of a table with 2n+1 rows.
Mat2 table_f(const View<const double, 2>& t, int row) {
  Mat2 f;
  f(1, 1) = t(row, 1);
  f(1, 2) = t(row, 2);
  f(2, 1) = t(row, 3);
  f(2, 2) = t(row, 4);
  return f;
}

// ∂σ33/∂z at a row: -(c1 ∂R1/∂y + c2 ∂R2/∂y + c3 ∂R1/∂x + c4 ∂R2/∂x).
double normal_stress_gradient(const View<const double, 2>& t, int row, const double* rdx,
                              const double* rdy) {
  return -(t(row, 1) * rdy[0] + t(row, 2) * rdy[1] + t(row, 3) * rdx[0] + t(row, 4) * rdx[1]);
}

// The parabola integrals of ply k of a section's tables.
lm::PlyIntegrals ply_integrals(int k, const double* zcoord, const View<const double, 2>& t,
                               const double* rdx, const double* rdy) {
  const double g[3] = {normal_stress_gradient(t, 2 * k - 1, rdx, rdy),
                       normal_stress_gradient(t, 2 * k, rdx, rdy),
                       normal_stress_gradient(t, 2 * k + 1, rdx, rdy)};
  return lm::parabola_integrals(zcoord + 2 * (k - 1), g);
}

}  // namespace

extern "C" {

void GetIntegralOfMembraneNormalStress(double* sint, const double* sbt, const double* plyzcoord,
                                       const int* plysectionpoint, const double* ki, const double* kj,
                                       const int* nzcrd, const int* nplies) {
  const int n = std::max(*nplies, 0), points = std::max(*nzcrd, 0);
  std::fill_n(sint, points, 0.0);
  if (n == 0) return;
  // Ply p holds the entries 2p-1 (bottom), 2p and 2p+1 (top).
  if (std::any_of(plysectionpoint, plysectionpoint + n, [](int c) { return c != 3; }) ||
      points < 2 * std::ptrdiff_t(n) + 1) {
    tavrin::latch_failure(tavrin::status_invalid,
                          "Three section points per ply needed in GetIntegralOfMembraneNormalStress");
    return;
  }
  const double* z = plyzcoord;
  for (int p = 1; p <= n; ++p) {
    const int b = 2 * p - 2, t = 2 * p;  // 0-based bottom and top entries
    const double zb = z[b], sb = sbt[2 * p - 2];
    const double slope = z[t] == zb ? 0.0 : (sbt[2 * p - 1] - sb) / (z[t] - zb);
    for (int i = b + 1; i <= t; ++i) {
      const double zi = z[i], dz = zi - zb;
      const double moment = sb * (zi * zi - zb * zb) / 2.0 + slope * dz * (zi * zi / 3.0 - zi * zb / 6.0 - zb * zb / 6.0);
      sint[i] = sint[b] - *ki * (dz * sb + slope * dz * dz / 2.0 - *kj * moment);
    }
  }
  for (int i = 0; i <= 2 * n; ++i) sint[i] /= (1.0 - *ki * z[i]) * (1.0 - *kj * z[i]);
}

void GetNormalStressFromBottom(double* s33, const double* rdx, const double* rdy, const double* zcoord,
                               const double* smallfmatrix, const int* nplies) {
  if (*nplies < 0) return;
  const int n = *nplies;
  const View<const double, 2> t(smallfmatrix, 2 * n + 1, 4);
  s33[0] = 0.0;
  for (int k = 1; k <= n; ++k) {
    const lm::PlyIntegrals g = ply_integrals(k, zcoord, t, rdx, rdy);
    s33[2 * k - 1] = s33[2 * k - 2] + g.to_middle;
    s33[2 * k] = s33[2 * k - 2] + g.to_top;
  }
}

void GetNormalStressFromTop(double* s33, const double* rdx, const double* rdy, const double* s33bc,
                            const double* zcoord, const double* smallfmatrix, const int* nplies) {
  if (*nplies < 0) return;
  const int n = *nplies;
  const View<const double, 2> t(smallfmatrix, 2 * n + 1, 4);
  s33[2 * n] = *s33bc;
  for (int k = n; k >= 1; --k) {
    const lm::PlyIntegrals g = ply_integrals(k, zcoord, t, rdx, rdy);
    s33[2 * k - 1] = s33[2 * k] - (g.to_top - g.to_middle);
    s33[2 * k - 2] = s33[2 * k] - g.to_top;
  }
}

void GetExt2DShearStress(double* xytss, const double* r, const double* plyorientation,
                         const double* smallfmatrix, const int* nspt, const int* nplies) {
  const int n = std::max(*nplies, 0), m = *nspt;
  if (m < 1) return;
  const View<const double, 2> t(smallfmatrix, 2 * n + 1, 4);
  const View<double, 2> out(xytss, n * m, 2);
  const tavrin::SmallVector<2> rv{{r[0], r[1]}};
  for (int k = 1; k <= n; ++k) {
    const double theta = plyorientation[k - 1] * tavrin::math::deg2rad;
    const double c = std::cos(theta), s = std::sin(theta);
    for (int i = 1; i <= m; ++i) {
      const int row = i == m ? 2 * k + 1 : i == 1 ? 2 * k - 1 : 2 * k;
      const tavrin::SmallVector<2> tau = table_f(t, row) * rv;
      out((k - 1) * m + i, 1) = c * tau(1) - s * tau(2);
      out((k - 1) * m + i, 2) = s * tau(1) + c * tau(2);
    }
  }
}

void GetArbitrarySmallF(double* afmat, const int* iply, const double* zpos, const double* zcoord,
                        const double* smallfmatrix, const int* nplies) {
  const int k = *iply, n = *nplies;
  if (k < 1 || k > n) {
    Mat2{}.store(afmat);
    tavrin::latch_failure(tavrin::status_invalid, "Ply outside the stack in GetArbitrarySmallF", k);
    return;
  }
  static constexpr char message[] = "Error during the calculation of f(z)";
  const View<const double, 2> t(smallfmatrix, 2 * n + 1, 4);
  const double* z = zcoord + 2 * (k - 1);
  const Mat2 f[3] = {table_f(t, 2 * k - 1), table_f(t, 2 * k), table_f(t, 2 * k + 1)};
  if (z[0] == z[1] || z[1] == z[2] || z[0] == z[2]) {
    // No parabola through the rows: the middle row stands for the ply.
    tavrin::latch_failure(tavrin::status_error, message);
    f[1].store(afmat);
    return;
  }
  const double lo = std::min(z[0], z[2]), hi = std::max(z[0], z[2]);
  if (*zpos < lo || *zpos > hi) tavrin::latch_failure(tavrin::status_error, message);
  lm::interpolate_f(z, f, *zpos).store(afmat);
}

}  // extern "C"
