#include "mechanics/insitu_strengths.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/transforms.hpp"

namespace tavrin::isscollection {

std::array<double, 2> larc04(const std::array<double, 4>& elastic, const std::array<double, 2>& gxc,
                             double xt22, double x12, double t, double tlim) {
  constexpr double pi = std::numbers::pi;
  if (t > tlim) return {1.5839191966013624 * xt22, 1.4142135623730951 * x12};
  const auto [e11, e22, nu12, g12] = elastic;
  return {std::sqrt(8.0 * gxc[0] / (2.0 * pi * t * (1.0 / e22 - nu12 * nu12 / e11))),
          std::sqrt(8.0 * gxc[1] * g12 / (pi * t))};
}

std::array<double, 2> chang_lessard(double xt22, double ilss, double tratio, double dtmin_d,
                                    const std::array<double, 4>& atod) {
  const double s = std::sin(dtmin_d * math::deg2rad);
  const double ln_ratio = std::log(tratio);
  const auto [a, b, c, d] = atod;
  return {(1.0 + a * s / std::exp(b * ln_ratio)) * xt22, (1.0 + c * s / std::exp(d * ln_ratio)) * ilss};
}

double puck_off_axis_compression(double xc11, double xc22, double x12, double theta, double pc,
                                 double qc) {
  const double phi = 2.0 * theta * math::deg2rad;
  const double c = std::cos(phi), s = std::sin(phi);
  // Fibre limit: the fibre-direction stress of the rotated uniaxial load
  // reaches xc11.
  const double xf = theta == 90.0 ? 0.0 : 2.0 * xc11 / (c + 1.0);
  if (theta == 0.0) return xf;
  // Inter-fibre limit on the action plane: τc the shear strength under
  // transverse compression, RA the fracture resistance of the action plane,
  // k the ratio of transverse to shear stress on the ply.
  const double tau_c = x12 * std::sqrt(1.0 + 2.0 * qc);
  const double ra = xc22 / (2.0 * (1.0 + qc));
  const double k = (1.0 - c) / s;
  double xi;
  if (ra / tau_c >= k) {
    const double u = (1.0 - c) * pc;
    xi = 2.0 * x12 / (u + std::sqrt(s * s + u * u));
  } else {
    const double w = xc22 / (2.0 * x12 * (1.0 + qc));
    xi = 2.0 * k * xc22 / (s * (k * k + w * w));
  }
  return theta == 90.0 ? xi : std::min(xf, xi);
}

}  // namespace tavrin::isscollection

namespace iss = tavrin::isscollection;

extern "C" {

void InSituLaRC04(double* ys, const double* elastic, const double* gxc, const double* xt22,
                  const double* x12, const double* t, const double* tlim) {
  const auto r = iss::larc04({elastic[0], elastic[1], elastic[2], elastic[3]}, {gxc[0], gxc[1]}, *xt22,
                             *x12, *t, tlim ? *tlim : 0.0007);
  ys[0] = r[0];
  ys[1] = r[1];
}

void InSituChangLessard(double* ys, const double* xt22, const double* ilss, const double* tratio,
                        const double* dtmin_d, const double* atod) {
  const std::array<double, 4> coefficients =
      atod ? std::array<double, 4>{atod[0], atod[1], atod[2], atod[3]}
           : std::array<double, 4>{1.3, 0.7, 0.0, 1.0};
  const auto r = iss::chang_lessard(*xt22, *ilss, *tratio, *dtmin_d, coefficients);
  ys[0] = r[0];
  ys[1] = r[1];
}

void InSituPuckPS(double* xc, const double* xc11, const double* xc22, const double* x12,
                  const double* theta, const double* gp) {
  *xc = iss::puck_off_axis_compression(*xc11, *xc22, *x12, *theta, gp ? gp[1] : 0.2,
                                       gp ? gp[3] : 0.15);
}

}  // extern "C"
