#include "failure/evocollection.hpp"

#include <cmath>
#include <span>

#include "foundation/errorhandling.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/notation.hpp"

extern "C" {

void TimeRegularization(const double* d_old, const double* d_new, double* d_reg,
                        const double* /*dt_inc*/, const double* reg_factor, const int* num) {
  const double r = *reg_factor;
  const double w_old = r / (1.0 + r), w_new = 1.0 / (1.0 + r);
  for (int i = 0; i < *num; ++i) d_reg[i] = w_old * d_old[i] + w_new * d_new[i];
}

void EquivalentQuadStressStrain(const double* tens, const int* nn, double* scaleq) {
  if (*nn < 1 || *nn > 3) {
    tavrin::xerr(-3, "EquivalentQuadStressStrain: unknown plane normal", std::span<const int>(nn, 1));
    *scaleq = 0.0;
    return;
  }
  const tavrin::Mat3 sigma = tavrin::lamina::cauchy(tavrin::Vec6::load(tens));
  const int k = *nn;  // σ·e_k is column k of σ
  *scaleq = std::sqrt(sigma(1, k) * sigma(1, k) + sigma(2, k) * sigma(2, k) + sigma(3, k) * sigma(3, k));
}

void BiLinearEvolution(const double* eps, const double* eps0, const double* sig_f, const double* gc,
                       const double* lc, double* d, double* eps1) {
  if (std::abs(*lc) >= 0.001) {
    double epsf = 2.0 * *gc / (*lc * *sig_f);
    if (1.2 * *eps0 > epsf || std::isnan(epsf)) epsf = 1.2 * *eps0;
    *eps1 = epsf;
  }
  const double epsf = *eps1;
  *d = epsf / (epsf - *eps0) * (1.0 - *eps0 / *eps);
}

double DGStrainRhead(const double* eps_c, const double* gic, const double* a11, const double* r_stiff) {
  const double e = *eps_c;
  if (e == 0.0) return 0.0;
  const double r = r_stiff ? *r_stiff : 0.0;
  const double root = std::sqrt((2.0 * *gic / (e * e * *a11) + 3.0 + r) * (1.0 - r) + (1.0 + r) * (1.0 + r));
  return (root - (1.0 + r)) * e / (1.0 - r);
}
}
