#include "failure/cccollection.hpp"

#include <array>
#include <cmath>
#include <limits>

namespace {

// The largest of the three station efforts of the compressed stations.
template <class Effort>
double largest_station(const std::array<double, 3>& s33, const std::array<const double*, 3>& tao,
                       Effort&& effort) {
  double r = std::numeric_limits<double>::quiet_NaN();
  for (int k = 0; k < 3; ++k) {
    const double e = s33[k] <= 0.0 ? effort(s33[k], tao[k][0], tao[k][1]) : 1e-20;
    if (!std::isnan(e) && !(e <= r)) r = e;
  }
  return r;
}

}  // namespace

extern "C" {

void CCPetras(double* rcc, const double* s33u, const double* s33m, const double* s33l,
              const double* taou, const double* taom, const double* taol, const double* xc33,
              const double* x13, const double* x23) {
  *rcc = largest_station({*s33u, *s33m, *s33l}, {taou, taom, taol}, [&](double s, double t1, double t2) {
    return s / *xc33 + t1 / *x23 + t2 / *x13;
  });
}

void CCBesant(double* rcc, const double* s33u, const double* s33m, const double* s33l,
              const double* taou, const double* taom, const double* taol, const double* xc33,
              const double* x13, const double* x23, const double* besantexponent) {
  const double n = *besantexponent;
  *rcc = largest_station({*s33u, *s33m, *s33l}, {taou, taom, taol}, [&](double s, double t1, double t2) {
    return std::pow(std::pow(std::abs(s), n) / std::pow(*xc33, n) +
                        std::pow(std::abs(t1), n) / std::pow(*x23, n) +
                        std::pow(std::abs(t2), n) / std::pow(*x13, n),
                    1.0 / n);
  });
}

}  // extern "C"
