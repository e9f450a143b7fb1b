#include "foundation/nearestpd.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "foundation/array.hpp"
#include "foundation/boundary.hpp"
#include "foundation/lapack.hpp"
#include "foundation/linalg.hpp"
#include "foundation/norms.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/products.hpp"
#include "foundation/scratch.hpp"

namespace {

namespace tm = tavrin::math;
using tavrin::View;
using ConstMatrix = View<const double, 2>;

constexpr double epsilon = 2.220446049250313e-16;
constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

// An n×n work matrix, on the stack up to 8×8.
struct Square {
  tavrin::Scratch<double, tavrin::small_matrix_entries> storage;
  View<double, 2> m;
  explicit Square(int n) : storage(std::ptrdiff_t(n) * n), m(storage.data(), n, n) {}
  int n() const { return m.size(1); }
  double* data() { return m.data(); }
  double* begin() { return m.begin(); }
  double* end() { return m.end(); }
  double& operator()(int i, int j) { return m(i, j); }
  operator View<double, 2>() const { return m; }
  operator ConstMatrix() const { return m; }
};

bool finite(ConstMatrix a) {
  return std::all_of(a.begin(), a.end(), [](double x) { return std::isfinite(x); });
}

void latch_non_finite() {
  tavrin::latch_failure(tavrin::status_invalid, "Matrix entries must be finite numbers");
}

bool refuse_non_finite(ConstMatrix a) {
  if (finite(a)) return false;
  latch_non_finite();
  return true;
}

void symmetrize(ConstMatrix a, View<double, 2> sym) {
  const int n = a.size(1);
  MatrixSymmetrize(a.data(), sym.data(), &n);
}

bool passes_cholesky(ConstMatrix a) {
  Square factor(a.size(1));
  return tm::cholesky(a, factor);
}

// The smallest eigenvalue of the symmetric a, NaN values passed over (NaN
// when there is no other).
double smallest_eigenvalue(ConstMatrix a) {
  const int n = a.size(1);
  tavrin::Scratch<double, 8> values(n);
  tm::symmetric_eigenvalues(a, values.data());
  double lowest = not_a_number;
  for (int i = 0; i < n; ++i) {
    const double v = values[std::size_t(i)];
    if (!std::isnan(v) && (std::isnan(lowest) || v < lowest)) lowest = v;
  }
  return lowest;
}

void add_to_diagonal(View<double, 2> a, double s) {
  for (int i = 1; i <= a.size(1); ++i) a(i, i) += s;
}

double largest_entry(ConstMatrix a) { return *std::max_element(a.begin(), a.end()); }

// The change `change` relative to `size`; no change is none, also where the
// matrix is zero (Y of rows whose weight is 0), rather than 0/0 = NaN, which
// no tolerance could ever accept.
double relative_change(double change, double size) { return change == 0.0 ? 0.0 : change / size; }

double frobenius_distance(ConstMatrix a, ConstMatrix b) {
  double s = 0.0;
  for (std::ptrdiff_t i = 0; i < a.size(); ++i) {
    const double d = a.data()[i] - b.data()[i];
    s += d * d;
  }
  return std::sqrt(s);
}

// out = sym(V·diag(λ₊)·Vᵀ) from the eigenpairs of the symmetric part of a.
void projected_spd(ConstMatrix a, View<double, 2> out) {
  const int n = a.size(1);
  Square s(n), v(n), scaled(n), product(n);
  tavrin::Scratch<double, 8> lambda(n);
  symmetrize(a, s);
  tm::symmetric_eigenvectors(s, v, lambda.data());
  for (int j = 1; j <= n; ++j) {
    const double l = std::max(lambda[std::size_t(j - 1)], 0.0);
    for (int i = 1; i <= n; ++i) scaled(i, j) = v(i, j) * l;
  }
  tavrin::lapack::gemm('N', 'T', n, n, n, 1.0, scaled.data(), v.data(), 0.0, product.data());
  symmetrize(product, out);
}

// pd = the nearest symmetric positive-definite matrix to a (finite, n ≥ 1);
// false, with pd NaN and the refusal latched, when it cannot be made finite.
bool nearest_spd(ConstMatrix a, View<double, 2> pd) {
  const int n = a.size(1);
  const auto refuse = [&] {
    latch_non_finite();
    std::fill(pd.begin(), pd.end(), not_a_number);
    return false;
  };
  Square b(n), u(n), sigma(n), vt(n), h(n), p(n);
  symmetrize(a, b);
  // B = U·Σ·Vᵀ; the polar factor H = V·Σ·Vᵀ (vt holds Vᵀ).
  tm::singular_value_decomposition(b, u, sigma, vt);
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i <= n; ++i) u(i, j) = sigma(i, i) * vt(i, j);  // Σ·Vᵀ
  tavrin::lapack::gemm('T', 'N', n, n, n, 1.0, vt.data(), u.data(), 0.0, h.data());
  for (std::ptrdiff_t i = 0; i < b.m.size(); ++i) h.data()[i] = std::midpoint(b.data()[i], h.data()[i]);
  symmetrize(h, p);
  if (!finite(p)) return refuse();
  for (double k = 1.0;; k += 1.0) {
    if (passes_cholesky(p)) break;
    double shift = epsilon - smallest_eigenvalue(p) * k * k;
    // A shift lost in the rounding of the diagonal would leave P as it is
    // for ever: it is at least one unit in the last place of the largest
    // diagonal entry.
    double diagonal = 0.0;
    for (int i = 1; i <= n; ++i) diagonal = std::max(diagonal, std::abs(p(i, i)));
    const double spacing = std::nextafter(diagonal, HUGE_VAL) - diagonal;
    if (std::abs(shift) < spacing) shift = spacing;
    add_to_diagonal(p, shift);
    if (!std::isfinite(shift) || !finite(p)) return refuse();
  }
  std::copy(p.begin(), p.end(), pd.begin());
  return true;
}

struct CorrelationSettings {
  double tol;
  int maxiter;
  const double* weights;
};

// Alternating projections (with Dykstra's correction D) between the
// positive semidefinite matrices, in the norm weighted by H(i,j) = √(wᵢwⱼ),
// and the matrices of unit diagonal; corr is zero on entry and stays so
// when the iteration does not converge.
void nearest_correlation(ConstMatrix a, View<double, 2> corr, const CorrelationSettings& s,
                         int cflag) {
  const int n = a.size(1);
  const std::ptrdiff_t size = a.size();
  Square h(n), y(n), x(n), d(n), r(n), weighted(n), previous(n);
  for (int j = 1; j <= n; ++j)
    for (int i = 1; i <= n; ++i) h(i, j) = std::sqrt(s.weights[i - 1] * s.weights[j - 1]);
  std::copy(a.begin(), a.end(), y.begin());
  std::copy(a.begin(), a.end(), x.begin());
  std::fill(d.begin(), d.end(), 0.0);
  for (int k = 1;; ++k) {
    if (k > s.maxiter) {
      tavrin::latch_failure(tavrin::status_note,
                            "Warning: Nearest correlation matrix did not converge");
      return;
    }
    // Y = S₊(H∘R)⊘H with R = X - D, then D = Y - R.
    std::copy(y.begin(), y.end(), previous.begin());
    for (std::ptrdiff_t i = 0; i < size; ++i) r.data()[i] = x.data()[i] - d.data()[i];
    HadamardProduct(h.data(), r.data(), weighted.data(), &n, &n);
    projected_spd(weighted, y);
    HadamardDivision(y.data(), h.data(), y.data(), &n, &n);
    for (std::ptrdiff_t i = 0; i < size; ++i) d.data()[i] = y.data()[i] - r.data()[i];
    const double r_y = relative_change(frobenius_distance(y, previous), MatrixNorm(y.data(), &n, &n));
    // X = Y with a unit diagonal.
    std::copy(x.begin(), x.end(), previous.begin());
    std::copy(y.begin(), y.end(), x.begin());
    for (int i = 1; i <= n; ++i) x(i, i) = 1.0;
    const double norm_x = MatrixNorm(x.data(), &n, &n);
    const double r_x = frobenius_distance(x, previous) / norm_x;
    const double r_xy = frobenius_distance(x, y) / norm_x;
    if (r_x <= s.tol && r_y <= s.tol && r_xy <= s.tol) break;
  }
  // Lower the diagonal by (μ - 1)·n, repair, and bring the largest entry
  // back to 1 on the diagonal.
  add_to_diagonal(y, -(largest_entry(y) - 1.0) * n);
  if (!nearest_spd(y, x)) return;
  add_to_diagonal(x, 1.0 - largest_entry(x));
  if (cflag == 1 || cflag == 2) {
    // Spearman's (2·sin(π/6·ρ)) or Kendall's (sin(π/2·τ)) rank correlation
    // to the linear one, then the nearest correlation matrix of that.
    for (double& v : x) v = cflag == 1 ? 2.0 * std::sin(0.5235987755982988 * v)
                                       : std::sin(1.5707963267948966 * v);
    nearest_correlation(x, corr, s, 0);
    return;
  }
  // Shrink towards the identity until the Cholesky test passes: the weight
  // α = 1 - (|λmin|·j² + ε), clipped to [0, 1], reaches 0 (X = I) at the
  // latest.
  if (refuse_non_finite(x)) return;
  Square identity(n);
  std::fill(identity.begin(), identity.end(), 0.0);
  add_to_diagonal(identity, 1.0);
  for (double j = 1.0;; j += 1.0) {
    if (passes_cholesky(x)) break;
    const double alpha = 1.0 - (std::abs(smallest_eigenvalue(x)) * j * j + epsilon);
    if (std::isnan(alpha)) return latch_non_finite();
    tm::shrink(x.data(), identity.data(), x.data(), alpha, size);
  }
  std::copy(x.begin(), x.end(), corr.begin());
}

}  // namespace

extern "C" {

void GetProjectedSPD(double* ppd, const double* a, const int* n) {
  tavrin::c_boundary(__func__, [&] {
    const int k = std::max(*n, 0);
    if (k == 0) return;
    projected_spd({a, k, k}, {ppd, k, k});
  });
}

void GetNearestSPD(double* pd, const double* a, const int* n) {
  tavrin::c_boundary(__func__, [&] {
    const int k = std::max(*n, 0);
    if (k == 0) return;
    const ConstMatrix x(a, k, k);
    const View<double, 2> out(pd, k, k);
    if (refuse_non_finite(x)) {
      std::fill(out.begin(), out.end(), not_a_number);
      return;
    }
    nearest_spd(x, out);
  });
}

void GetNearestCorrelationMatrix(double* corr, const double* a, const int* n, const double* weights,
                                 const double* tol, const int* maxiter, const int* cflag) {
  tavrin::c_boundary(__func__, [&] {
    const int k = std::max(*n, 0);
    const View<double, 2> out(corr, k, k);
    std::fill(out.begin(), out.end(), 0.0);
    if (k == 0) return;
    const ConstMatrix x(a, k, k);
    if (refuse_non_finite(x)) return;
    // Weights given as -1 throughout stand for no weights.
    tavrin::Scratch<double, 8> w(k);
    const bool given =
        weights && std::any_of(weights, weights + k, [](double v) { return v != -1.0; });
    for (int i = 0; i < k; ++i) w[std::size_t(i)] = given ? weights[i] : 1.0;
    // A weight of 0 (or below, or not finite) leaves its row of Y at zero
    // and the unit diagonal out of reach: the iteration could only run to
    // maxiter.  Refused at once, the first such weight (from 1) as detail.
    if (const double* bad = std::find_if(w.data(), w.data() + k, [](double v) { return !(v > 0.0 && v < HUGE_VAL); });
        bad != w.data() + k)
      return tavrin::latch_failure(tavrin::status_invalid, "Weights must be positive finite numbers",
                                   int(bad - w.data()) + 1);
    const CorrelationSettings settings{
        (tol && *tol > 0.0) ? std::max(*tol, epsilon) : k * epsilon,
        maxiter ? std::max(*maxiter, 1) : 100,
        w.data(),
    };
    nearest_correlation(x, out, settings, cflag ? std::max(*cflag, 0) : 0);
  });
}

double GetNearestPDNorm(const double* x, const int* n) {
  return tavrin::c_boundary_value(__func__, [&]() -> double {
    const int k = std::max(*n, 0);
    if (k == 0) return 0.0;
    const ConstMatrix a(x, k, k);
    if (passes_cholesky(a)) return 0.0;
    Square pd(k);
    if (refuse_non_finite(a)) return not_a_number;
    nearest_spd(a, pd);
    return frobenius_distance(a, pd);
  });
}

int IsPositiveDefinite(const double* x, const int* n, const double* tolerance) {
  return tavrin::c_boundary_value(__func__, [&]() -> int {
    const int k = std::max(*n, 0);
    const ConstMatrix a(x, k, k);
    const double tol = tolerance ? *tolerance : 1e-8;
    tavrin::Scratch<double, 8> values(k);
    tm::symmetric_eigenvalues(a, values.data());
    // Both are always computed: the determinant latches a singular matrix.
    const double determinant = tm::lu_determinant(a);
    const bool above = std::all_of(values.data(), values.data() + k, [tol](double v) { return v > tol; });
    return above && determinant > 0.0;
  });
}

}  // extern "C"
