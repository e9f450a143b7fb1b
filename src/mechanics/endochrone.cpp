// Endochronic viscoplastic resin: elastic branch softening with the strain,
// an endochronic branch advanced in intrinsic time |Δε|, and six Maxwell
// branches, each integrated by the midpoint rule.
#include <algorithm>
#include <array>
#include <cmath>

#include "foundation/errorhandling.hpp"
#include "mechanics/resin.hpp"

using namespace tavrin;

namespace {

using Voigt6 = std::array<double, 6>;

constexpr double relaxation_times[6] = {0.1, 1.0, 10.0, 100.0, 1000.0, 10000.0};

double trace(const Voigt6& v) { return v[0] + v[1] + v[2]; }

// The deviator (normals minus a third of the trace, shears as they stand).
Voigt6 deviator(const Voigt6& v) {
  Voigt6 d = v;
  const double m = trace(v) / 3.0;
  for (int i = 0; i < 3; ++i) d[i] -= m;
  return d;
}

// Norm with tensor shears: the shear squares count twice.
double norm(const Voigt6& v) {
  return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2] +
                   2.0 * (v[3] * v[3] + v[4] * v[4] + v[5] * v[5]));
}

// sigma += deviatoric increment + a third of the volumetric one on the normals.
void add_increment(double* sigma, const Voigt6& dev, double vol) {
  for (int i = 0; i < 6; ++i) sigma[i] += dev[i] + (i < 3 ? vol / 3.0 : 0.0);
}

}  // namespace

void EndochroneViscoPlasticity(const double* stran, const double* dstrain, const double* props,
                               double* stress, double* statev, const double* dtime, const int* nprops,
                               const int* nstatev, const int* writesdv, const int* matstate) {
  if (*nprops < 11 || *nstatev < 42) {
    for (int i = 0; i < 6; ++i) stress[i] = 0.0;
    const int sizes[2] = {*nprops, *nstatev};
    xerr(-2, "EndochroneViscoPlasticity: needs 11 properties and 42 state variables", sizes);
    return;
  }
  const double e = *matstate ? props[0] : 15.0;
  const double c = *matstate ? props[1] : 0.0;
  const double nu = props[2];
  const double g = e / (2.0 * (1.0 + nu)), k = e / (3.0 * (1.0 - 2.0 * nu));

  Voigt6 eps, deps;
  for (int i = 0; i < 6; ++i) {
    eps[i] = stran[i] + dstrain[i];
    deps[i] = dstrain[i];
  }
  const double tr = trace(eps), dtr = trace(deps);
  const Voigt6 dev = deviator(eps), ddev = deviator(deps);
  const double dz = norm(deps);  // intrinsic time increment

  // Elastic branch, softened in its deviatoric and volumetric parts.
  const double dg = std::exp(norm(dev) * c / ((1.0 + nu) * 0.816496580927726));
  const double dk = std::exp(std::abs(tr) * c / (1.0 - 2.0 * nu));
  Voigt6 sigma;
  for (int i = 0; i < 6; ++i)
    sigma[i] = i < 3 ? 2.0 * g * dev[i] / dg + k * tr / dk : 2.0 * g * eps[i] / dg;
  if (!*matstate) {
    for (int i = 0; i < 6; ++i) stress[i] = sigma[i];
    return;
  }

  // Endochronic branch.
  const double ep = props[3], beta = props[4];
  const double gp = ep / (2.0 * (1.0 + nu)), kp = ep / (3.0 * (1.0 - 2.0 * nu));
  const double root = std::sqrt(2.0 * nu * nu + 1.0);
  const double betad = beta / root, betav = beta / (3.0 * root);
  double branches[42];
  std::copy_n(statev, 42, branches);
  {
    double* sp = branches;
    const Voigt6 old{sp[0], sp[1], sp[2], sp[3], sp[4], sp[5]};
    const Voigt6 s = deviator(old);
    Voigt6 ddev_p;
    for (int i = 0; i < 6; ++i)
      ddev_p[i] = (2.0 * gp * ddev[i] - betad * dz * s[i]) / (1.0 + 0.5 * betad * dz);
    const double dvol = (3.0 * kp * dtr - 3.0 * betav * dz * trace(old)) / (1.0 + 1.5 * betav * dz);
    add_increment(sp, ddev_p, dvol);
  }

  // Maxwell branches.
  const double dt = *dtime;
  for (int b = 0; b < 6; ++b) {
    double* sk = branches + 6 + 6 * b;
    const double ek = props[5 + b], tau = relaxation_times[b];
    const double gk = ek / (2.0 * (1.0 + nu)), kk = ek / (3.0 * (1.0 - 2.0 * nu));
    const Voigt6 old{sk[0], sk[1], sk[2], sk[3], sk[4], sk[5]};
    const Voigt6 s = deviator(old);
    // Gk·Δt/ηGk and Kk·Δt/ηKk with the viscosities ηGk = τ·Ek/(1+ν) and
    // ηKk = τ·Ek/(1−2ν) divided out, so that an empty branch (Ek = 0) stays 0.
    const double rg = dt / (2.0 * tau), rk = dt / (3.0 * tau);
    Voigt6 ddev_k;
    for (int i = 0; i < 6; ++i) ddev_k[i] = (2.0 * gk * ddev[i] - 2.0 * rg * s[i]) / (1.0 + rg);
    const double dvol = (3.0 * kk * dtr - 3.0 * rk * trace(old)) / (1.0 + 1.5 * rk);
    add_increment(sk, ddev_k, dvol);
  }

  if (*writesdv) std::copy_n(branches, 42, statev);
  for (int i = 0; i < 6; ++i) {
    double s = sigma[i];
    for (int b = 0; b < 7; ++b) s += branches[6 * b + i];
    stress[i] = s;
  }
}
