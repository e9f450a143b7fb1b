#include "failure/dic.hpp"

#include <cmath>
#include <limits>
#include <vector>

#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/search.hpp"
#include "foundation/signals.hpp"
#include "mechanics/laminate_stiffness.hpp"

namespace {

// Position (1-based) of the first largest of v(1..n); with `unlike`, among
// the values other than v(unlike) (0 when there is none).
int first_max(const std::vector<double>& v, int unlike = 0) {
  int at = 0;
  for (int i = 1; i <= int(v.size()); ++i) {
    const double x = v[std::size_t(i - 1)];
    if (unlike && x == v[std::size_t(unlike - 1)]) continue;
    if (at == 0 || x > v[std::size_t(at - 1)]) at = i;
  }
  return at;
}

double sum(const double* x, int n) {
  double s = 0.0;
  for (int i = 0; i < n; ++i) s += x[i];
  return s;
}

}  // namespace

extern "C" {

void GetComprFailurebyDIC(double* fresult, double* fcomprstressdistribution, const double* avgcomprstress,
                          const double* coords, const double* plythickness, const double* alpha,
                          const double* comprstrength, const double* load, const double* displacement,
                          const double* length, const double* width, const int* nplies, const int* nstress) {
  tavrin::c_boundary(__func__, [&] {
    const int n = *nstress;
    for (int i = 0; i < 4; ++i) fresult[i] = 0.0;
    for (std::ptrdiff_t i = 0; i < 2 * std::ptrdiff_t(std::max(n, 0)); ++i) fcomprstressdistribution[i] = 0.0;
    if (n < 1) return;
    const double t = sum(plythickness, std::max(*nplies, 0));

    // Measured and weighted magnitudes in ascending order of coordinate.
    const std::size_t count = std::size_t(n);
    std::vector<int> order(count);
    constexpr int ascending = 1;
    fGetContinuous(coords, nstress, order.data(), &ascending);
    std::vector<double> measured(count), weighted(count), where(count);
    for (int i = 0; i < n; ++i) {
      const int k = order[std::size_t(i)] - 1;
      const double w = 1.0 + *alpha * std::sqrt(2.0 * std::abs(coords[k] / *width));
      measured[std::size_t(i)] = std::abs(avgcomprstress[k]);
      weighted[std::size_t(i)] = std::abs(w * avgcomprstress[k]);
      where[std::size_t(i)] = std::abs(coords[k]);
    }
    // The two highest measured stresses (one when all are equal).
    int m1 = first_max(measured);
    int m2 = first_max(measured, m1);
    if (m2 == 0) m2 = m1;
    if (m1 > m2) std::swap(m1, m2);

    // Maxima of the measured curve scaled to unit length.
    std::vector<double> unit(measured), maxtab(2 * count), mintab(2 * count);
    double norm = 0.0;
    for (const double x : measured) norm += x * x;
    norm = std::sqrt(norm);
    for (double& x : unit) x /= norm;
    int nmax = 0, nmin = 0;
    constexpr double delta = 0.05;
    GetPeaks(maxtab.data(), mintab.data(), &nmax, &nmin, unit.data(), &delta, nstress, nullptr);

    const auto ws = [&](int i) { return weighted[std::size_t(i - 1)]; };
    int k = 1;
    if (nmax <= 1) {
      // One maximum (or none): the smallest weighted stress governs.
      for (int i = 1, found = 0; i <= n; ++i) {
        if (std::isnan(ws(i))) continue;
        if (!found || ws(i) < ws(k)) k = i;
        found = 1;
      }
    } else {
      std::vector<double> peaks(maxtab.begin() + n, maxtab.begin() + n + nmax);
      const int q1 = first_max(peaks);
      int q2 = first_max(peaks, q1);
      if (q2 == 0) q2 = q1;
      int p1 = int(maxtab[std::size_t(q1 - 1)]), p2 = int(maxtab[std::size_t(q2 - 1)]);
      if (p1 > p2) std::swap(p1, p2);
      int left = m2 - m1 == 1 ? p1 : std::min(m1, p1);
      int right = m2 - m1 == 1 ? p2 : std::max(m2, p2);
      while (left > 1 && !(ws(left - 1) > ws(left))) --left;
      while (right < n && !(ws(right + 1) > ws(right))) ++right;
      if (left == 1 && right == n)
        tavrin::xerr(-1, "The extreme value point of weighted stressdistribution curve can not be found");
      k = ws(left) > ws(right) ? left : right;
    }

    const double a = std::abs(*comprstrength / ws(k));
    fresult[0] = std::abs(*load) * a;
    fresult[1] = std::abs(*displacement) * a / *length;
    fresult[2] = fresult[0] / (t * *width);
    fresult[3] = where[std::size_t(k - 1)];
    for (int i = 0; i < n; ++i) {
      fcomprstressdistribution[i] = a * measured[std::size_t(i)];
      fcomprstressdistribution[n + i] = a * weighted[std::size_t(i)];
    }
  });
}

double GetDmgInfluenceFactor(const double* plythickness, const double* bukrealdatalist, const int* bukintdatalist,
                             const int* nplies) {
  return tavrin::c_boundary_value(__func__, [&]() -> double {
    const int n = *nplies;
    if (n < 1) return 1.0;
    const double t = sum(plythickness, n);
    std::vector<double> value(std::size_t(n) + 0, 1.0);
    for (int i = 0; i < n - 1; ++i) {
      const int p = bukintdatalist[4 * i + 1], q = bukintdatalist[4 * i + 2];
      if (p < 1 || p > q || q > n) continue;  // unused (-1, 0) or beyond the stack
      for (int k = p; k <= q; ++k) value[std::size_t(k - 1)] = bukrealdatalist[12 * i + 1];
    }
    // The thickest run of consecutive plies with equal values.
    double s = 0.0, run = 0.0;
    for (int k = 0; k < n; ++k) {
      run = k > 0 && value[std::size_t(k)] == value[std::size_t(k - 1)] ? run + plythickness[k] : plythickness[k];
      s = std::max(s, run);
    }
    const double r = 1.0 - s / t;
    return r == 0.0 ? 1.0 : std::pow(2.0 * r, r);
  });
}

double GetCentralOpenHoleFactor(const double* plyelastic, const double* plyorientation, const double* plythickness,
                                const double* kt, const double* radius, const double* width, const int* nplies) {
  return tavrin::c_boundary_value(__func__, [&]() -> double {
    namespace lm = tavrin::laminate;
    const lm::Stack s(plyelastic, plyorientation, plythickness, *nplies);
    const double t = sum(plythickness, std::max(*nplies, 0));
    const lm::Abd m = lm::abd(s);
    const double nu = lm::engineering_constants(m.matrix(), t).membrane.nu12;
    const double rho = 2.0 * *radius / *width;
    const double k = *kt;
    return k * (std::pow(rho, 1.0 + rho) - rho * rho) +
           std::abs((m.a(1, 1) + m.a(1, 2)) / (2.0 * m.a(2, 2) * ((k - 3.0) * (k - 3.0) + 1.0)) - nu);
  });
}

}  // extern "C"
