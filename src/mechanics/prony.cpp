#include "mechanics/prony.hpp"

#include <cmath>

#include "foundation/errorhandling.hpp"

using namespace tavrin;

double CureRate(const double* curvefit, const double* t, const double* degree, const double* degmax,
                const int* nc) {
  const int rows = *nc / 8;
  if (rows < 1) {
    xerr(-2, "CureRate: no complete row in the cure table");
    return 0.0;
  }
  const double amax = *degmax;
  const double alpha = (*degree > amax || std::isnan(*degree)) ? amax : *degree;
  // The first row whose limit exceeds t; the last row beyond every limit.
  int row = 0;
  while (row < rows - 1 && curvefit[8 * row + 7] <= *t) ++row;
  const double* c = curvefit + 8 * row;
  const double rt = *t * prony::gas_constant;
  return c[0] * std::exp(-c[1] / rt) * std::pow(amax - alpha, c[4]) +
         c[2] * std::exp(-c[3] / rt) * std::pow(alpha, c[5]) * std::pow(amax - alpha, c[6]);
}

double FuncDegree(const double* curvefit, const double* t1, const double* degree0,
                  const double* timestep, const double* degmax, const int* nc) {
  double rate = CureRate(curvefit, t1, degree0, degmax, nc);
  double alpha = *degree0 + *timestep * rate;
  for (int pass = 0; pass < prony::max_cure_passes; ++pass) {
    const double clamped = std::fmin(*degmax, alpha);
    const double next = CureRate(curvefit, t1, &clamped, degmax, nc);
    alpha = *degree0 + *timestep * next;
    const double change = std::abs(next - rate);
    if (rate == 0.0 || change < 1e-6 || change / std::abs(rate) <= 1e-10) break;
    rate = next;
  }
  return alpha;
}

double Relaxation(const double* dold, const double* tau, const double* shift, const double* timestep,
                  const double* stiffness, const double* pprony, const double* strain) {
  const double ta = *tau * *shift;
  return (*dold * ta + *stiffness * *timestep * *pprony * *strain) / (ta + *timestep);
}
