#include "mechanics/elasticity.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/linalg.hpp"
#include "foundation/list_record.hpp"
#include "foundation/scratch.hpp"
#include "foundation/shared_state.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/nonlinear_laws.hpp"
#include "mechanics/notation.hpp"
#include "mechanics/ply_stiffness.hpp"
#include "mechanics/resin.hpp"

using namespace tavrin;
using cplx = std::complex<double>;

namespace {

constexpr int unit_stdout = 6;

void zero(double* a, int n) { std::fill_n(a, std::max(n, 0), 0.0); }

// Three-dimensional laws need the full solver layout.
bool three_dimensional(const int* ntens, const int* ndi, double* stress, const char* routine) {
  if (*ntens == 6 && *ndi == 3) return true;
  if (*ntens > 0) zero(stress, *ntens);
  const int dims[2] = {*ntens, *ndi};
  char msg[80];
  std::snprintf(msg, sizeof msg, "%s needs ntens = 6 and ndi = 3", routine);
  xerr(-2, msg, dims);
  return false;
}

bool enough_props(int nprops, int need, double* stress, int ntens, const char* routine) {
  if (nprops >= need) return true;
  zero(stress, ntens);
  char msg[80];
  std::snprintf(msg, sizeof msg, "%s needs %d properties", routine, need);
  xerr(-2, msg, std::span<const int>(&nprops, 1));
  return false;
}

// The strain tensor of a solver-order strain vector (engineering shears).
Mat3 strain_tensor(const double* s) {
  Mat3 e;
  e(1, 1) = s[0];
  e(2, 2) = s[1];
  e(3, 3) = s[2];
  e(1, 2) = e(2, 1) = 0.5 * s[3];
  e(1, 3) = e(3, 1) = 0.5 * s[4];
  e(2, 3) = e(3, 2) = 0.5 * s[5];
  return e;
}

double trace(const Mat3& m) { return m(1, 1) + m(2, 2) + m(3, 3); }

Mat3 deviator(const Mat3& e) {
  Mat3 d = e;
  const double m = trace(e) / 3.0;
  for (int i = 1; i <= 3; ++i) d(i, i) -= m;
  return d;
}

double frobenius(const Mat3& m) {
  double s = 0.0;
  for (double v : m.v) s += v * v;
  return std::sqrt(s);
}

// stresstens(i,j) = 2g·D(i,j) (+ k·spureps on the diagonal) for i, j <= ndi.
void tensor_law(double two_g, double k, double spureps, const double* d, double* stresstens,
                int ndi) {
  for (int j = 0; j < ndi; ++j)
    for (int i = 0; i < ndi; ++i)
      stresstens[i + 3 * j] = two_g * d[i + ndi * j] + (i == j ? k * spureps : 0.0);
}

bool tensor_dims(const int* ndi, const char* routine) {
  if (*ndi >= 0 && *ndi <= 3) return true;
  char msg[80];
  std::snprintf(msg, sizeof msg, "%s needs ndi <= 3", routine);
  xerr(-2, msg, std::span<const int>(ndi, 1));
  return false;
}

// The stress of a packed or full stiffness in real or complex arithmetic.
template <class T, bool Lower>
void anisotropic(T* stress, const T* strain, const double* props, int n, int nprops) {
  Scratch<double, small_matrix_entries> s(std::ptrdiff_t(n) * n);
  const auto at = [&](int i, int j) -> double& { return s[std::size_t(i + n * j)]; };
  if (nprops >= n * n) {
    std::copy_n(props, n * n, s.data());
  } else if (nprops < n * (n + 1) / 2) {
    std::fill_n(stress, n, T(0.0));
    xerr(-2, "Too few properties for a packed anisotropic stiffness",
         std::span<const int>(&nprops, 1));
    return;
  } else if (!Lower) {
    int k = 0;
    for (int i = 0; i < n; ++i)
      for (int j = i; j < n; ++j) at(i, j) = at(j, i) = props[k++];
  } else {
    std::fill_n(s.data(), n * n, 0.0);
    int k = 0;
    for (int i = 0; i < n; ++i)
      for (int j = 0; j <= i; ++j) at(i, j) = props[k++];
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j)
        if (at(i, j) == 0.0) at(i, j) = at(j, i);
  }
  for (int i = 0; i < n; ++i) {
    T sum = 0.0;
    for (int j = 0; j < n; ++j) sum += at(i, j) * strain[j];
    stress[i] = sum;
  }
}

// Components (s11, s22, s33, s12, s13, s23) of a stress vector of 3, 4 or
// at least 6 entries; false for other lengths.
bool six_components(const double* v, int n, double s[6]) {
  std::fill_n(s, 6, 0.0);
  if (n == 3) {
    s[0] = v[0], s[1] = v[1], s[3] = v[2];
  } else if (n == 4) {
    s[0] = v[0], s[1] = v[1], s[2] = v[2], s[3] = v[3];
  } else if (n >= 6) {
    std::copy_n(v, 6, s);
  } else {
    return false;
  }
  return true;
}

void store_components(const double d[6], double* out, int n) {
  zero(out, n);
  if (n == 3) {
    out[0] = d[0], out[1] = d[1], out[2] = d[3];
  } else if (n == 4) {
    std::copy_n(d, 4, out);
  } else {
    std::copy_n(d, 6, out);
  }
}

// Gradient of q² plus the pressure term `volumetric`·(1, 1, 1, 0, 0, 0).
void gradient(double* out, const double* stressvector, int nstress, double volumetric,
              const char* routine) {
  double s[6];
  if (!six_components(stressvector, nstress, s)) {
    zero(out, nstress);
    char msg[80];
    std::snprintf(msg, sizeof msg, "%s needs 3, 4 or 6 stress components", routine);
    xerr(-2, msg, std::span<const int>(&nstress, 1));
    return;
  }
  const double d[6] = {2.0 * s[0] - s[1] - s[2] + volumetric, 2.0 * s[1] - s[0] - s[2] + volumetric,
                       2.0 * s[2] - s[0] - s[1] + volumetric, 6.0 * s[3],
                       6.0 * s[4],                             6.0 * s[5]};
  store_components(d, out, nstress);
}

// Six-component helpers of the plasticity update.
Vec6 grad_f(const Vec6& s, double a0, double a1) {
  Vec6 d;
  elasticity::getderivatef(d.data(), s.data(), 6, a0, a1);
  return d;
}
Vec6 grad_g(const Vec6& s, double alpha) {
  Vec6 d;
  elasticity::getderivateg(d.data(), s.data(), 6, alpha);
  return d;
}
double yield(const Vec6& s, double a0, double a1) {
  const double q2 = 0.5 * ((s(1) - s(2)) * (s(1) - s(2)) + (s(2) - s(3)) * (s(2) - s(3)) +
                           (s(3) - s(1)) * (s(3) - s(1))) +
                    3.0 * (s(4) * s(4) + s(5) * s(5) + s(6) * s(6));
  return q2 - a0 - a1 * (s(1) + s(2) + s(3)) / 3.0;
}

// The plasticity trace: a label with values, or a matrix row by row.
void trace_line(const char* label) {
  io::ListRecord rec;
  rec << label;
  rec.write(unit_stdout);
}
void trace_line(const char* label, double v) {
  io::ListRecord rec;
  rec << label << v;
  rec.write(unit_stdout);
}
void trace_line(const char* label, const Vec6& v) {
  io::ListRecord rec;
  rec << label;
  for (double x : v.v) rec << x;
  rec.write(unit_stdout);
}
void trace_matrix(const char* label, const Mat6& m) {
  trace_line(label);
  for (int i = 1; i <= 6; ++i) {
    io::ListRecord rec;
    for (int j = 1; j <= 6; ++j) rec << m(i, j);
    rec.write(unit_stdout);
  }
}

}  // namespace

namespace tavrin::elasticity {

void getnumericaltangent(double* ddsdde, RealStressLaw real_law, ComplexStressLaw complex_law,
                         const double* props, const double* stress1, const double* stress0,
                         const double* dstrain, int ntens, int ndi, int nprops, bool istensor,
                         const double* tgref, const double* h, const int* nmflag) {
  const int n = std::max(ntens, 0);
  zero(ddsdde, n * n);
  const bool complex_step = nmflag && *nmflag == 1;
  if (complex_step ? !complex_law : !real_law && !complex_law) {
    xerr(-2, complex_step ? "getnumericaltangent: the complex step needs a complex stress law"
                          : "getnumericaltangent: no stress law");
    return;
  }
  double step = 0.0;
  if (h) {
    step = *h;
  } else {
    double largest = -std::numeric_limits<double>::infinity();
    for (int i = 0; i < n; ++i)
      if (!std::isnan(dstrain[i])) largest = std::max(largest, dstrain[i]);
    if (std::isfinite(largest)) step = largest * 1.4901161193847656e-8;
  }
  if (step == 0.0) step = 1e-8;

  Scratch<double, 8> dx(n);
  for (int i = 0; i < n; ++i)
    dx[std::size_t(i)] = istensor && i >= ndi ? 2.0 * dstrain[i] : dstrain[i];

  // A reference tangent that reproduces the step is the tangent.
  if (tgref && std::any_of(tgref, tgref + n * n, [](double v) { return v != 0.0; })) {
    bool reproduces = true;
    for (int i = 0; i < n && reproduces; ++i) {
      double y = 0.0;
      for (int j = 0; j < n; ++j) y += tgref[i + n * j] * dx[std::size_t(j)];
      reproduces = y == stress1[i] - stress0[i];
    }
    if (reproduces) {
      std::copy_n(tgref, n * n, ddsdde);
      return;
    }
  }

  Scratch<cplx, 8> zs(n), zt(n);
  Scratch<double, 8> fwd(n), bwd(n), sf(n), sb(n);
  for (int j = 0; j < n; ++j) {
    double* column = ddsdde + std::ptrdiff_t(n) * j;
    if (complex_step) {
      for (int i = 0; i < n; ++i) zs[std::size_t(i)] = dx[std::size_t(i)], zt[std::size_t(i)] = 0.0;
      zs[std::size_t(j)] += cplx(0.0, step);
      complex_law(zt.data(), zs.data(), props, &ntens, &ndi, &nprops);
      for (int i = 0; i < n; ++i) column[i] = zt[std::size_t(i)].imag() / step;
      continue;
    }
    for (int i = 0; i < n; ++i) fwd[std::size_t(i)] = bwd[std::size_t(i)] = dx[std::size_t(i)];
    fwd[std::size_t(j)] += step;
    bwd[std::size_t(j)] -= step;
    for (double* strain : {fwd.data(), bwd.data()}) {
      double* stress = strain == fwd.data() ? sf.data() : sb.data();
      zero(stress, n);
      if (real_law) {
        real_law(stress, strain, props, &ntens, &ndi, &nprops);
        continue;
      }
      // A complex law on real strains: zero imaginary parts, real parts back.
      for (int i = 0; i < n; ++i) zs[std::size_t(i)] = strain[i], zt[std::size_t(i)] = 0.0;
      complex_law(zt.data(), zs.data(), props, &ntens, &ndi, &nprops);
      for (int i = 0; i < n; ++i) stress[i] = zt[std::size_t(i)].real();
    }
    for (int i = 0; i < n; ++i) column[i] = (sf[std::size_t(i)] - sb[std::size_t(i)]) / (2.0 * step);
  }
}

void getderivatef(double* df, const double* stressvector, int nstress, double a0, double a1) {
  (void)a0;  // the constant of the yield function does not enter its gradient
  gradient(df, stressvector, nstress, -a1 / 3.0, "getderivatef");
}

void getderivateg(double* dg, const double* stressvector, int nstress, double alpha) {
  double s[6];
  const double tr = six_components(stressvector, nstress, s) ? s[0] + s[1] + s[2] : 0.0;
  gradient(dg, stressvector, nstress, 0.2222222222222222 * alpha * tr, "getderivateg");
}

void getstressfromplastitcity(double* stress, double* neweqplasticstrain, double* ddsdde,
                              const double* stran, const double* dstran, const double* props,
                              int ntens, int ndi, int nprops, double temp) {
  (void)temp;
  if (ntens != 6 || nprops < 8) {
    zero(stress, ntens);
    zero(ddsdde, ntens * ntens);
    const int dims[2] = {ntens, nprops};
    xerr(-2, "getstressfromplastitcity needs ntens = 6 and 8 properties", dims);
    return;
  }
  const double et = props[0], ec = props[1], g = props[2], nut = props[3], nuc = props[4];
  const double a0 = props[5], a1 = props[6], alpha = props[7];
  Vec6 deps;
  double vol = 0.0;
  for (int i = 0; i < 6; ++i) {
    const double half = i >= 3 ? 0.5 : 1.0;  // tensor shears
    deps.v[std::size_t(i)] = half * dstran[i];
    if (i < 3) vol += stran[i] + dstran[i];
  }
  const bool tension = vol >= 0.0;
  const double e = tension ? et : ec, nu = tension ? nut : nuc;
  Mat6 c;
  const double f = e / ((1.0 - 2.0 * nu) * (1.0 + nu));
  for (int i = 1; i <= 6; ++i)
    for (int j = 1; j <= 6; ++j)
      if (i <= ndi && j <= ndi) c(i, j) = i == j ? (1.0 - nu) * f : nu * f;
      else if (i == j && i > ndi) c(i, j) = 2.0 * g;

  trace_line("START PLASTICITY CALCULATION");
  trace_line("E", e);
  trace_line("G", g);
  trace_line("nu", nu);
  trace_line("a0", a0);
  trace_line("a1", a1);
  trace_line("alpha", alpha);
  trace_line("S11 Yield", a1 / 6.0 + std::sqrt((a1 / 6.0) * (a1 / 6.0) + a0));
  trace_line("Elastic predictor");
  trace_matrix("Stiffness Matrix", c);

  const Vec6 trial = Vec6::load(stress) + c * deps;
  const double ftrial = yield(trial, a0, a1);
  trace_line("Elastic Stresses", trial);
  trace_line("Fliessen?", ftrial);

  Mat6 tangent = c;
  Vec6 sigma = trial;
  if (ftrial > 0.0) {
    trace_line("Plastic Corrector");
    const double eqps0 = *neweqplasticstrain;
    double dlambda = 0.0;
    int passes = 0;
    do {
      const Vec6 cng = c * grad_g(sigma, alpha);
      dlambda = yield(sigma, a0, a1) / dot(grad_f(sigma, a0, a1), cng);
      sigma = sigma - dlambda * cng;
      ++passes;
      const double fnew = yield(sigma, a0, a1);
      trace_line("dlambda_np1", dlambda);
      trace_line("flow", fnew);
      if (std::abs(fnew) <= 9.999999747378752e-5 || std::isnan(fnew)) break;
    } while (passes <= 9);
    trace_line("Plastic Stress", trial - sigma);
    io::ListRecord rec;
    rec << "plastische Iterationen " << passes;
    rec.write(unit_stdout);

    Mat6 cinv;
    const int six = 6;
    MatrixInverse(c.data(), cinv.data(), &six);
    const Vec6 ng = grad_g(sigma, alpha), nf = grad_f(sigma, a0, a1);
    const double plastic_strain = norm(cinv * (trial - sigma));
    const double ratio = (9.0 - 2.0 * alpha) / (18.0 + 2.0 * alpha);
    const double updates[3] = {eqps0 + dlambda * norm(ng),
                               eqps0 + plastic_strain / std::sqrt(1.0 + ratio * ratio),
                               eqps0 + plastic_strain / norm(ng) * norm(ng)};
    for (double u : updates) {
      *neweqplasticstrain = u;
      trace_line("plastic strain update", u);
    }
    // Consistent with the flow: nfᵀ·ddsdde = 0.
    const Vec6 cng = c * ng, cnf = transpose(c) * nf;
    const double b = dot(nf, cng);
    for (int i = 1; i <= 6; ++i)
      for (int j = 1; j <= 6; ++j) tangent(i, j) = c(i, j) - cng(i) * cnf(j) / b;
  }
  sigma.store(stress);
  tangent.store(ddsdde);
  trace_line("Stresses", sigma);
  trace_line("newEqPlasticStrain", *neweqplasticstrain);
  trace_matrix("Tangente", tangent);
}

}  // namespace tavrin::elasticity

void fGetStressFromAnisotropicHyperelasticity(double* stress, const double* strain, const double* props,
                                              const int* ntens, const int* ndi, const int* nprops) {
  tavrin::c_boundary(__func__, [&] {
    (void)ndi;
    anisotropic<double, false>(stress, strain, props, std::max(*ntens, 0), *nprops);
  });
}

void cGetStressFromAnisotropicHyperelasticity(cplx* stress, const cplx* strain, const double* props,
                                              const int* ntens, const int* ndi, const int* nprops) {
  tavrin::c_boundary(__func__, [&] {
    (void)ndi;
    anisotropic<cplx, true>(stress, strain, props, std::max(*ntens, 0), *nprops);
  });
}

void GetStressFromOrthotropicElasticity(double* stress, const double* strain, const double* props,
                                        const int* ntens, const int* ndi, const int* nprops) {
  tavrin::c_boundary(__func__, [&] {
    const int n = std::max(*ntens, 0);
    Scratch<double, small_matrix_entries> c(std::ptrdiff_t(n) * n);
    Scratch<double, 8> none(n);
    zero(none.data(), n);
    const int stiffness = 1, unsymm = 1, secant = 1, engineering = 0;
    GetGeneralizedNyeOnAxisSC(c.data(), props, ntens, nprops, &stiffness, nullptr, nullptr, &unsymm);
    GetStressVector(stress, c.data(), strain, none.data(), ndi, ntens, &secant, &engineering);
  });
}

void GetStressFromIsotropicViscoElasticity(double* stress, const double* strain, const double* props,
                                           const int* ntens, const int* ndi, const int* nprops) {
  static constexpr char name[] = "GetStressFromIsotropicViscoElasticity";
  if (!three_dimensional(ntens, ndi, stress, name) || !enough_props(*nprops, 5, stress, 6, name))
    return;
  const double e = props[0], gamma = props[1], nu = props[2], num = props[3], variant = props[4];
  const Mat3 eps = strain_tensor(strain);
  const double spureps = trace(eps);
  const Mat3 d = deviator(eps);
  double g = e / (2.0 * (1.0 + nu));
  double komp = e / (3.0 * (1.0 - 2.0 * nu));
  double gammag = 1.224744871391589 * gamma / (1.0 + nu);
  double gammak = gamma / (1.0 - 2.0 * nu);
  double normdev = frobenius(d);
  double normvol = std::sqrt(spureps * spureps);
  Mat3 s;
  const int three = 3;
  if (variant == 0.0) {
    GetLameStress(&spureps, d.data(), &g, &komp, s.data(), &three);
  } else if (variant == 1.0) {
    GetKaestnerStress(&normdev, &normvol, &spureps, d.data(), &g, &gammag, &gammak, &komp, s.data(), &three);
  } else if (variant == 2.0) {
    GetKrauseStress(&normdev, &normvol, &spureps, d.data(), &g, &gammag, &gammak, &komp, s.data(), &three);
  } else if (variant == 3.0) {
    double ee = e, nn = nu, mm = num, gg = gamma;
    GetStressFromNonConstPoisson(&normdev, &normvol, &spureps, d.data(), &ee, &g, &nn, &mm, &gg, s.data(), &three);
  } else {
    zero(stress, 6);
    xerr(-3, "Unknown variant of the isotropic stress law", {}, std::span<const double>(&props[4], 1));
    return;
  }
  NyeNotation(stress, s.data());
}

void GetStressFromNonlinearIsotropic(double* stress, const double* strain, const double* props,
                                     const int* ntens, const int* ndi, const int* nprops) {
  tavrin::c_boundary(__func__, [&] {
    static constexpr char name[] = "GetStressFromNonlinearIsotropic";
    if (!three_dimensional(ntens, ndi, stress, name) || !enough_props(*nprops, 5, stress, 6, name))
      return;
    const double e0 = props[0], gamman = props[1], g0 = props[2], nu0 = props[3], gammas = props[4];
    const double shear = std::sqrt(strain[3] * strain[3] + strain[4] * strain[4] + strain[5] * strain[5]);
    const double normal = std::sqrt(strain[0] * strain[0] + strain[1] * strain[1] + strain[2] * strain[2]);
    const double g = g0 / (1.0 + gammas * shear);
    constexpr double nu_cap = 0.46, root_at_cap = 1.100727032465361;
    constexpr double tol = 0.009999999776482582;
    const auto modulus = [&](double root) { return e0 / (1.0 + normal * gamman / root); };
    const auto poisson = [&](double e) { return std::min(nu0 + 4e-5 * (e0 - e), nu_cap); };
    const double e1 = modulus(std::sqrt(nu0 * nu0 + 1.0));
    double nu1 = nu0 + 4e-5 * (e0 - e1);
    double root1 = std::sqrt(nu1 * nu1 + 1.0);
    if (!(nu1 < nu_cap)) nu1 = nu_cap, root1 = root_at_cap;
    double e = modulus(root1);
    double nu = poisson(e);
    if (std::abs(nu1 - nu) / nu > tol && std::abs(e1 - e) / e > tol) {
      for (int pass = 0; pass < 6; ++pass) {
        io::ListRecord rec;
        rec << "Iteration " << pass;
        rec.write(unit_stdout);
        const double enew = modulus(std::sqrt(nu * nu + 1.0));
        const double nunew = poisson(enew);
        const bool settled = !(std::abs(nunew - nu) / nunew > tol) || !(std::abs(enew - e) / enew > tol);
        e = enew, nu = nunew;
        if (settled) break;
      }
    }
    const double f = e / ((1.0 - 2.0 * nu) * (1.0 + nu));
    for (int i = 0; i < 6; ++i) {
      double s = 0.0;
      if (i < 3) {
        for (int j = 0; j < 3; ++j) s += (i == j ? f * (1.0 - nu) : f * nu) * strain[j];
      } else {
        s = g * strain[i];
      }
      stress[i] = s;
    }
  });
}

void GetStressFromDevVolDecomposition(double* stress, const double* strain, const double* props,
                                      const int* ntens, const int* ndi, const int* nprops,
                                      double* ddsdde) {
  static constexpr char name[] = "GetStressFromDevVolDecomposition";
  if (*ntens > 0) zero(ddsdde, *ntens * *ntens);
  if (!three_dimensional(ntens, ndi, stress, name) || !enough_props(*nprops, 5, stress, 6, name))
    return;
  if (props[4] != 1.0) {
    zero(stress, 6);
    xerr(-3, "Unknown flag of the deviatoric/volumetric stress law", {},
         std::span<const double>(&props[4], 1));
    return;
  }
  struct Constants {
    double k, gamma_k, k_creep, gamma_k_creep, g, gamma_g, g_creep, gamma_g_creep, epsfk, epsfg;
  };
  static constexpr Constants tension{4871.70629979, 13.732719812, 189806025.077, 1484162.32322,
                                     2541.75978925, 13.8361690875, 71171243.2236, 1074682.92535,
                                     0.05912221968173981, 0.0586801786795};
  static constexpr Constants compression{7992.37025439, 10.7642249043, 759238107.839, 3077414.06005,
                                         2844.74195527, 10.8020389124, 94899909.3371, 1084488.43482,
                                         0.0570360383455, 0.0568363759446};
  constexpr double gs = 2692.3559712, gammags = 19.3641099237, gscreep = 4447152.2077,
                   gammagscreep = 88218.6212448, epsfs = 0.04327625;
  const Mat3 eps = strain_tensor(strain);
  const double tr = trace(eps);
  const Mat3 d = deviator(eps);
  const Constants& k = tr >= 0.0 ? tension : compression;
  const double nn = std::sqrt(eps(1, 1) * eps(1, 1) + eps(2, 2) * eps(2, 2) + eps(3, 3) * eps(3, 3));
  const double dn = std::sqrt(d(1, 1) * d(1, 1) + d(2, 2) * d(2, 2) + d(3, 3) * d(3, 3));
  const double ds = std::sqrt(d(1, 2) * d(1, 2) + d(1, 3) * d(1, 3) + d(2, 3) * d(2, 3));
  const double gn = dn <= k.epsfg ? k.g / std::exp(k.gamma_g * dn) : k.g_creep / (k.gamma_g_creep * dn + 1.0);
  const double kn = nn <= k.epsfk ? k.k / std::exp(k.gamma_k * nn) : k.k_creep / (k.gamma_k_creep * nn + 1.0);
  const double gsn = ds <= epsfs ? gs / std::exp(gammags * ds) : gscreep / (gammagscreep * ds + 1.0);
  Mat3 s;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) s(i, j) = i == j ? gn * d(i, i) + kn * tr : gsn * d(i, j);
  NyeNotation(stress, s.data());
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j)
      if (i < 3 && j < 3) ddsdde[i + 6 * j] = i == j ? kn + 2.0 / 3.0 * gn : kn - gn / 3.0;
      else if (i == j) ddsdde[i + 6 * j] = gsn / 2.0;
}

void GetStressFromCubicElasticity(double* stress, const double* endstran, const double* props,
                                  const int* ntens, const int* ndi, const int* nprops, double* c,
                                  const int* noel) {
  tavrin::c_boundary(__func__, [&] {
    (void)noel;
    static constexpr char name[] = "GetStressFromCubicElasticity";
    if (!three_dimensional(ntens, ndi, stress, name) || !enough_props(*nprops, 2, stress, 6, name))
      return;
    const double t = props[0], e = props[1];
    const Mat3 eps = strain_tensor(endstran);
    const double tr = trace(eps);
    Mat3 v, dn, ds = eps;
    for (int i = 1; i <= 3; ++i) {
      v(i, i) = tr / 3.0;
      dn(i, i) = eps(i, i) - tr / 3.0;
      ds(i, i) = 0.0;
    }
    const double sign = std::signbit(tr) ? -1.0 : 1.0;
    using namespace materialdata;
    const auto factor = [t](const Allocatable<double, 3>& table, int count, double x, const char* label) {
      return resin::calibration_value(table, count, 2, x, t, true, label);
    };
    const double alpha1 = factor(alpha1props, nalpha1data, sign * frobenius(v), "alpha1props");
    const double alpha2 = factor(alpha2props, nalpha2data, sign * frobenius(dn), "alpha2props");
    const double alpha3 = factor(alpha3props, nalpha3data, frobenius(ds), "alpha3props");
    const Mat3 s = e * alpha1 * v + e * alpha2 * dn + e * alpha3 * ds;
    NyeNotation(stress, s.data());
    // The secant stiffness of the same law (the resin routine's tangent).
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 6; ++j)
        c[i + 6 * j] = i < 3 && j < 3 ? e * alpha1 / 3.0 + e * alpha2 * ((i == j ? 1.0 : 0.0) - 1.0 / 3.0)
                       : i == j       ? e * alpha3 / 2.0
                                      : 0.0;
  });
}

void GetLameStress(const double* spureps, const double* endstrandev, const double* g, const double* komp,
                   double* stresstens, const int* ndi) {
  if (tensor_dims(ndi, "GetLameStress")) tensor_law(2.0 * *g, *komp, *spureps, endstrandev, stresstens, *ndi);
}

void GetKaestnerStress(const double* normdev, const double* normvol, const double* spureps,
                       const double* endstrandev, const double* g, const double* gammag,
                       const double* gammak, const double* komp, double* stresstens, const int* ndi) {
  if (!tensor_dims(ndi, "GetKaestnerStress")) return;
  const double dg = nlcollection::kaestner(*gammag, *normdev), dk = nlcollection::kaestner(*gammak, *normvol);
  tensor_law(2.0 * *g * (1.0 - dg), (1.0 - dk) * *komp, *spureps, endstrandev, stresstens, *ndi);
}

void GetKrauseStress(const double* normdev, const double* normvol, const double* spureps,
                     const double* endstrandev, const double* g, const double* gammag,
                     const double* gammak, const double* komp, double* stresstens, const int* ndi) {
  if (!tensor_dims(ndi, "GetKrauseStress")) return;
  const double dg = nlcollection::krause(*gammag, *normdev), dk = nlcollection::krause(*gammak, *normvol);
  tensor_law(2.0 * *g * (1.0 - dg), (1.0 - dk) * *komp, *spureps, endstrandev, stresstens, *ndi);
}

void GetStressFromNonConstPoisson(const double* normdev, const double* normvol, const double* spureps,
                                  const double* endstrandev, const double* e, const double* g,
                                  const double* nu, const double* num, const double* gamma,
                                  double* stresstens, const int* ndi) {
  (void)normvol;
  if (!tensor_dims(ndi, "GetStressFromNonConstPoisson")) return;
  const double geff = *g / (1.0 + 1.414213562373095 * *gamma * *normdev);
  const double nueff = *nu + *num * (*e - (1.0 + *nu + *num * *e) * 2.0 * geff / (1.0 + 2.0 * *num * geff));
  const double keff = nueff < 0.47 ? 2.0 * geff * (1.0 + nueff) / (3.0 * (1.0 - 2.0 * nueff))
                                   : 2.0 * geff * 1.47 / 0.18000000000000016;
  tensor_law(2.0 * geff, keff, *spureps, endstrandev, stresstens, *ndi);
}

void GetComponentsTensionCompression(const double* full_set, double* reduced_set, const double* criterion) {
  for (int k = 0; k < 3; ++k) reduced_set[k] = criterion[k] > 0.0 ? full_set[2 * k] : full_set[2 * k + 1];
  for (int k = 3; k < 6; ++k) reduced_set[k] = full_set[k + 3];
}
