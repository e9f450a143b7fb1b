#include "mechanics/nonlinear_laws.hpp"

#include <cmath>

#include "foundation/boundary.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/rootfinding.hpp"

namespace tavrin::nlcollection {

double krause(double beta, double eps) { return 1.0 - 1.0 / std::exp(beta * std::abs(eps)); }

double kaestner(double beta, double eps) { return 1.0 - 1.0 / (beta * std::abs(eps) + 1.0); }

double hahn_tsai(double g, double beta, double tau, double gamma) {
  if (!(std::abs(gamma) > 0.0)) return 0.0;
  const double b = 3.0 * beta * g * tau * tau;
  return (b - 2.0 * beta * tau * tau * tau / gamma) / (b + 1.0);
}

double hahn_tsai_map(double tau, double gamma, double g, double beta) {
  const double d = gamma != 0.0 ? hahn_tsai(g, beta, tau, gamma) : 0.0;
  return gamma * g * (1.0 - d);
}

double hahn_tsai_solved(double tau, double gamma, double g, double beta) {
  // The exported routine with selector 2 is the map itself.
  const double args[4] = {tau, gamma, g, beta};
  double converged = tau;
  int istat = 0;
  math::fpsafe(&FPHahnTsai, converged, args, 0.001, 100, 4, 2, istat);
  return hahn_tsai(g, beta, converged, gamma);
}

double adam(double l, double x, double n, double nf, double alpha, double beta, double lg1,
            double lg2) {
  const double r = (std::log10(n) - std::log10(lg1)) / (std::log10(nf) - std::log10(lg2));
  const double residual = x + (l - x) * std::pow(1.0 - std::pow(r, beta), 1.0 / alpha);
  return 1.0 - residual / l;
}

double mahieux(double t, std::span<const double> props, std::span<const double> m) {
  const std::size_t n = m.size();
  double p = props[2 * n];
  for (std::size_t i = 0; i < n; ++i)
    p += (props[2 * i] - props[2 * i + 2]) * std::exp(-std::pow(t / props[2 * i + 1], m[i]));
  return p;
}

double gibson(double t, std::span<const double> props, std::span<const double> xi) {
  double p = 0.0;
  for (std::size_t i = 0; i < xi.size(); ++i) {
    const double above = props[2 * i], below = props[2 * i + 2];
    p += 0.5 * (above + below) - 0.5 * (above - below) * std::tanh(xi[i] * t / props[2 * i + 1]);
  }
  return p;
}

}  // namespace tavrin::nlcollection

namespace {
namespace nl = tavrin::nlcollection;

// The transition count of a temperature law: negative counts are refused
// (latched, nothing read).
bool transitions_valid(int ntrans) {
  if (ntrans >= 0) return true;
  tavrin::latch_failure(tavrin::status_invalid, "Negative number of transitions", ntrans);
  return false;
}

}  // namespace

extern "C" {

void NLKrause(double* dnl, const double* beta, const double* eps) { *dnl = nl::krause(*beta, *eps); }

void NLKaestner(double* dnl, const double* beta, const double* eps) {
  *dnl = nl::kaestner(*beta, *eps);
}

void NLHahnTsai(double* dnl, const double* tg, const double* beta, const double* sig,
                const double* eps) {
  *dnl = nl::hahn_tsai(*tg, *beta, *sig, *eps);
}

void FPHahnTsai(double* dout, const double* args, const int* na, const int* ns) {
  tavrin::c_boundary(__func__, [&] {
    // args = (τ, γ, G, β): four values are read, whatever na allows beyond.
    if (*na < 4) {
      *dout = 0.0;
      tavrin::latch_failure(tavrin::status_invalid, "Hahn-Tsai law needs four arguments", *na);
      return;
    }
    const double tau = args[0], gamma = args[1], g = args[2], beta = args[3];
    const int mode = ns ? *ns : 0;
    if (mode == 2) *dout = nl::hahn_tsai_map(tau, gamma, g, beta);
    else if (mode == 1) *dout = nl::hahn_tsai_solved(tau, gamma, g, beta);
    else *dout = nl::hahn_tsai(g, beta, tau, gamma);
  });
}

void NLAdam(double* dnl, const double* l, const double* x, const double* n, const double* nf,
            const double* alpha, const double* beta, const double* lg) {
  const double lg1 = lg ? lg[0] : 0.25, lg2 = lg ? lg[1] : 0.25;
  *dnl = nl::adam(*l, *x, *n, *nf, *alpha, *beta, lg1, lg2);
}

double NLMahieux(const double* t, const double* props, const double* m, const int* ntrans) {
  if (!transitions_valid(*ntrans)) return 0.0;
  const std::size_t n = std::size_t(*ntrans);
  return nl::mahieux(*t, {props, 2 * n + 1}, {m, n});
}

double NLGibson(const double* t, const double* props, const double* xi, const int* ntrans) {
  if (!transitions_valid(*ntrans)) return 0.0;
  const std::size_t n = std::size_t(*ntrans);
  return nl::gibson(*t, {props, 2 * n + 1}, {xi, n});
}

}  // extern "C"
