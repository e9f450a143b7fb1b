#include "failure/gpcollection.hpp"

#include <cmath>

#include "foundation/numerics_latch.hpp"
#include "mechanics/stress_measures.hpp"

namespace tavrin::gpcollection {

namespace {

double square(double x) { return x * x; }

// The sign-selected strength.
double strength(double s, double xt, double xc) { return s >= 0.0 ? xt : xc; }

// I1 and the von Mises stress of a 6-vector.
struct Invariants {
  double i1, mises;
};
Invariants invariants(const double* stress) {
  const int n = 6;
  return {stress[0] + stress[1] + stress[2], GetMisesStress(stress, &n)};
}

}  // namespace

double inverse_load_factor(double l, double q) {
  const double d = l * l + 4.0 * q;
  if (d < 0.0) {
    latch_failure(status_note,
                  "Note: Negative root during polynomial failure evaluation. Please check your input "
                  "parameters.");
    return 0.0;
  }
  if (l > 0.0) return (l + std::sqrt(d)) / 2.0;
  const double den = std::sqrt(d) - l;
  return den == 0.0 ? 0.0 : 2.0 * q / den;
}

double polynomial(const double (&s)[6], const Strengths& x, std::optional<double> xint,
                  std::optional<int> ptype) {
  const int type = ptype.value_or(0);
  const double xt[3] = {x.xt11, x.xt22, x.xt33}, xc[3] = {x.xc11, x.xc22, x.xc33};
  double f[3], ff[3];
  for (int i = 0; i < 3; ++i) {
    f[i] = type == 1 ? 0.0 : 1.0 / xt[i] - 1.0 / xc[i];
    ff[i] = type == 1 ? 1.0 / square(strength(s[i], xt[i], xc[i])) : 1.0 / (xt[i] * xc[i]);
  }
  // Products 12, 13, 23.
  double fp[3] = {0.0, 0.0, 0.0};
  if (xint && (type == 1 || type == 2)) {
    fp[0] = 2.0 * *xint * (ff[0] + ff[1] - ff[2]);
    fp[1] = 2.0 * *xint * (ff[0] + ff[2] - ff[1]);
    fp[2] = 2.0 * *xint * (ff[1] + ff[2] - ff[0]);
  } else if (xint && type == 0) {
    fp[0] = 2.0 * *xint * std::sqrt(ff[0] * ff[1]);
    fp[1] = 2.0 * *xint * std::sqrt(ff[0] * ff[2]);
    fp[2] = 2.0 * *xint * std::sqrt(ff[1] * ff[2]);
  }
  const double l = f[0] * s[0] + f[1] * s[1] + f[2] * s[2];
  const double q = ff[0] * s[0] * s[0] + ff[1] * s[1] * s[1] + ff[2] * s[2] * s[2] +
                   fp[0] * s[0] * s[1] + fp[1] * s[0] * s[2] + fp[2] * s[1] * s[2] +
                   square(s[3] / x.x12) + square(s[4] / x.x13) + square(s[5] / x.x23);
  return inverse_load_factor(l, q);
}

double poly_camanho(const double (&s)[6], double xt11, double xc11, double xt22, double xc22,
                    double x12, double x13, double x23, std::optional<double> xint,
                    std::optional<int> ptype) {
  const int type = ptype.value_or(0);
  double f1 = 0.0, f2 = 0.0, f11, f22, f33;
  if (type == 0) {
    f1 = 1.0 / xt11 - 1.0 / xc11;
    f2 = 1.0 / xt22 - 1.0 / xc22;
    f11 = 1.0 / (xt11 * xc11);
    f22 = f33 = 1.0 / (xt22 * xc22);
  } else {
    f11 = 1.0 / (xt11 * xt11);
    f22 = 1.0 / (xt22 * xt22);
    f33 = type == 1 ? f22 : 0.0;
  }
  const double f12 = xint && std::abs(*xint) <= 1.0 ? 2.0 * *xint * std::sqrt(f11 * f22) : 0.0;
  const double f23 = 2.0 * (f22 - 1.0 / (2.0 * x23 * x23));
  const double shear = square(s[3] / x12) + (type == 2 ? 0.0 : square(s[4] / x13) + square(s[5] / x23));
  const double l = f1 * s[0] + f2 * (s[1] + s[2]);
  const double q = f11 * s[0] * s[0] + f22 * s[1] * s[1] + f33 * s[2] * s[2] + f12 * s[0] * s[1] +
                   f12 * s[0] * s[2] + f23 * s[1] * s[2] + shear;
  return inverse_load_factor(l, q);
}

}  // namespace tavrin::gpcollection

namespace gp = tavrin::gpcollection;

namespace {

using gp::square;
using gp::strength;

template <class T>
std::optional<T> given(const T* p) {
  return p ? std::optional<T>(*p) : std::nullopt;
}

}  // namespace

extern "C" {

void GPDruckerPrager(const double* stress, const double* xt, const double* xc, double* d, double* di1) {
  const auto [i1, mises] = gp::invariants(stress);
  *di1 = (*xt - *xc) / (*xt + *xc) * 0.5773502691896258 * i1 +
         *xt * *xc / (*xt + *xc) * 1.1547005383792517 - std::sqrt(mises * mises / 3.0);
  if (-1.0 <= *di1 && *di1 <= 1.0) *d = 1.0;
  else if (!(*d >= 0.0)) *d = 0.0;
}

void GPBauwens(const double* stress, const double* xt, const double* xc, double* d) {
  const auto [i1, mises] = gp::invariants(stress);
  const double f = mises * (1.0 / *xc + 1.0 / *xt) / 2.0 + i1 * (1.0 / *xt - 1.0 / *xc) / 2.0;
  if (f > *d || std::isnan(*d)) *d = f;
  if (*d > 1.0 || std::isnan(*d)) *d = 1.0;
}

void GPRaghava(const double* stress, const double* xt, const double* xc, double* d) {
  const auto [i1, mises] = gp::invariants(stress);
  const double f = mises * mises / (*xt * *xc) + (1.0 / *xt - 1.0 / *xc) * i1;
  if (f > *d || std::isnan(*d)) *d = f;
  if (!(*d > 0.0)) *d = 0.0;
  if (*d > 1.0) *d = 1.0;
}

void GPHa(const double* stress, const double* xt, const double* xc, const double* np, double* d,
          double* di1, double* dmises, double* i1cr, double* misescr, double* life) {
  const auto [i1, mises] = gp::invariants(stress);
  const double r = *xc / *xt, rn = std::pow(r, *np);
  *misescr = std::pow((rn + r) / (r + 1.0), 1.0 / *np) * *xt;
  *i1cr = (rn + r) / (rn - 1.0) * *xt;
  *dmises = std::pow(mises / *misescr, *np);
  *di1 = i1 / *i1cr;
  *d = *dmises + *di1;
  if (*d < 1.0) return;
  *d = 1.0;
  if (life) *life = 1.0;
}

void GPPolyCamanho(double* rgp, const double* s11, const double* s22, const double* s33,
                   const double* s12, const double* s13, const double* s23, const double* xt11,
                   const double* xc11, const double* xt22, const double* xc22, const double* x12,
                   const double* x13, const double* x23, const double* xint, const int* ptype) {
  *rgp = gp::poly_camanho({*s11, *s22, *s33, *s12, *s13, *s23}, *xt11, *xc11, *xt22, *xc22, *x12,
                          *x13, *x23, given(xint), given(ptype));
}

void GPPolynomial(double* rgp, const double* s11, const double* s22, const double* s33,
                  const double* s12, const double* s13, const double* s23, const double* xt11,
                  const double* xc11, const double* xt22, const double* xc22, const double* xt33,
                  const double* xc33, const double* x12, const double* x13, const double* x23,
                  const double* xint, const int* ptype) {
  *rgp = gp::polynomial({*s11, *s22, *s33, *s12, *s13, *s23},
                        {*xt11, *xc11, *xt22, *xc22, *xt33, *xc33, *x12, *x13, *x23}, given(xint),
                        given(ptype));
}

void GPNorrisInteraction(double* rgp, const double* s11, const double* s22, const double* s12,
                         const double* xt11, const double* xc11, const double* xt22,
                         const double* xc22, const double* x12) {
  const double a = *s11 / strength(*s11, *xt11, *xc11), b = *s22 / strength(*s22, *xt22, *xc22);
  *rgp = std::sqrt(a * a - a * b + b * b + square(*s12 / *x12));
}

void GPYamadaSunInteraction(double* rgp, const double* s11, const double* s12, const double* s13,
                            const double* xt11, const double* xc11, const double* x12,
                            const double* x13) {
  *rgp = std::sqrt(square(*s11 / strength(*s11, *xt11, *xc11)) + square(*s12 / *x12) +
                   square(*s13 / *x13));
}

void GPQuadInteraction(double* rgp, const double* s11, const double* s22, const double* s12,
                       const double* xt11, const double* xc11, const double* xt22,
                       const double* xc22, const double* x12) {
  *rgp = std::sqrt(square(*s11 / strength(*s11, *xt11, *xc11)) +
                   square(*s22 / strength(*s22, *xt22, *xc22)) + square(*s12 / *x12));
}

void GPLinInteraction(double* rgp, const double* s11, const double* s22, const double* s12,
                      const double* xt11, const double* xc11, const double* xt22,
                      const double* xc22, const double* x12) {
  *rgp = std::abs(*s11 / strength(*s11, *xt11, *xc11) + *s22 / strength(*s22, *xt22, *xc22) +
                  *s12 / *x12);
}

void GPQuadNominal(double* rgp, const double* s11, const double* s12, const double* s13,
                   const double* xt11, const double* x12, const double* x13) {
  *rgp = std::sqrt(square(*s11 / *xt11) + square(*s12 / *x12) + square(*s13 / *x13));
}

void GPMaxNominal(double* rgp, const double* s11, const double* xt11, const double* xc11) {
  *rgp = std::abs(*s11 / (*s11 <= 0.0 ? *xc11 : *xt11));
}

}  // extern "C"
