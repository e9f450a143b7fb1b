// Paris-type growth laws, the release rate of a fibre crack, and the
// elastic energy of a laminate strain state with a component released.
#include <cmath>
#include <numbers>

#include "delamination/delisio.hpp"
#include "foundation/boundary.hpp"
#include "foundation/numerics_latch.hpp"
#include "foundation/scratch.hpp"

namespace tavrin::delisio {

double elastic_energy(const double* strain, const double* k, int n, double area) {
  // The row vector εᵀ·K, then its dot product with ε.
  double e = 0.0;
  for (int j = 0; j < n; ++j) {
    double row = 0.0;
    for (int i = 0; i < n; ++i) row += strain[i] * k[i + std::ptrdiff_t(n) * j];
    e += row * strain[j];
  }
  return 0.5 * e * area;
}

}  // namespace tavrin::delisio

using namespace tavrin;

extern "C" {

void GrowthInitiationParis(double* deltag, double* n, const double* c1, const double* c2) {
  if (*n < 0.0)
    *n = std::pow(*c1 / *deltag, *c2);
  else
    *deltag = *c1 * std::pow(*n, 1.0 / *c2);
}

void GrowthRateParis(const double* deltag, double* dadn, const double* cf, const double* nf) {
  *dadn = *cf * std::pow(*deltag, *nf);
}

void fiber_tension_lefm(const double* sigma11_ply, const double* b_crack, const double*,
                        const int* nprops, const double* props, double* serr_f_t) {
  if (*nprops < 1) {
    latch_failure(status_error, "fiber_tension_lefm needs the ply modulus E11 in props(1)",
                  *nprops);
    *serr_f_t = 0.0;
    return;
  }
  const double k = *sigma11_ply * std::sqrt(std::numbers::pi * *b_crack);
  *serr_f_t = k * k / props[0];
}

void LinearElasticEnergy(const double* strain, const double* abdmatrix, const double* area,
                         double* energy, const int* ncomp) {
  *energy = delisio::elastic_energy(strain, abdmatrix, *ncomp > 0 ? *ncomp : 0, *area);
}

void reducedElasticEnergy(const double* strain, const double* abdin, const double* area,
                          double* energy, const int* stresszero, const int* strainzero,
                          const int* ncomp) {
  tavrin::c_boundary(__func__, [&] {
    const int n = *ncomp > 0 ? *ncomp : 0;
    if (*stresszero < 0 || *stresszero > n || *strainzero < 0 || *strainzero > n) {
      latch_failure(status_invalid, "Released component outside the stiffness matrix",
                    *stresszero < 0 || *stresszero > n ? *stresszero : *strainzero);
      *energy = 0.0;
      return;
    }
    Scratch<double, 36> k(std::ptrdiff_t(n) * n);
    for (std::size_t i = 0; i < k.size(); ++i) k[i] = abdin[i];
    // A zero column removes that strain's share of every stress; a zero row
    // releases that stress component.
    if (*strainzero != 0)
      for (int i = 0; i < n; ++i) k[std::size_t(i + n * (*strainzero - 1))] = 0.0;
    if (*stresszero != 0)
      for (int j = 0; j < n; ++j) k[std::size_t(*stresszero - 1 + n * j)] = 0.0;
    *energy = delisio::elastic_energy(strain, k.data(), n, *area);
  });
}

}  // extern "C"
