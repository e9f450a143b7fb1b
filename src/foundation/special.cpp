#include "foundation/special.hpp"

#include <cmath>

namespace tavrin::math {
namespace {
// 2⁵²: from here on every double is an integer.
constexpr double integral_limit = 4503599627370496.0;

// The integer part toward zero, sign kept (-0.3 gives -0).
double integer_part(double t) { return std::abs(t) < integral_limit ? std::trunc(t) : t; }
}  // namespace

double dacoth(double x) { return 0.5 * std::log((x + 1.0) / (x - 1.0)); }

double datanh(double x) { return 0.5 * std::log((x + 1.0) / (1.0 - x)); }

double fishertransformation(double x, const int* iflag) {
  return (!iflag || *iflag == -1) ? datanh(x) : std::tanh(x);
}

double dacosh(double x) { return std::log(x + std::sqrt(x * x - 1.0)); }

double dasinh(double x) { return std::log(x + std::sqrt(x * x + 1.0)); }

double droundsf(double a, const int* sig) {
  const double f = std::pow(10.0, sig ? *sig : 8);
  return integer_part(a * f) / f;
}

double dceil(double a) { return integer_part(a) + 1.0; }

}  // namespace tavrin::math
