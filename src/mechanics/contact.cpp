#include "mechanics/contact.hpp"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "foundation/boundary.hpp"
#include "foundation/errorhandling.hpp"
#include "foundation/norms.hpp"
#include "foundation/signals.hpp"
#include "interp/tables.hpp"

using namespace tavrin;

namespace {

// True when args holds at least `need` values; latches the shortage otherwise.
bool enough(int numargs, int need, const char* routine) {
  if (numargs >= need) return true;
  char msg[80];
  std::snprintf(msg, sizeof msg, "%s: too few arguments for the flag", routine);
  xerr(-2, msg, std::span<const int>(&numargs, 1));
  return false;
}

}  // namespace

void ContactLaw(double* fx, double* dfx, const double* xold, const double* args, const int* numargs,
                const int* clflag) {
  tavrin::c_boundary(__func__, [&] {
    const double x = *xold;
    if (*clflag < 0 || *clflag > 2) {
      xerr(-3, "Unknown contact law flag", std::span<const int>(clflag, 1));
    } else if (!enough(*numargs, 7, "ContactLaw")) {
      *fx = -x;
      *dfx = -1.0;
    } else {
      double k = args[0];
      const double n = args[5], a0 = args[6];
      const double c = std::abs(args[2] + args[4]);
      const double d = args[1] - args[3];
      const int ns = (*numargs - 7) / 2;
      if (*clflag == 1 && ns >= 2) {
        const double* xs = args + 7;
        if (Monoticity(xs, &ns) == 2) {
          const double kt = math::table_value(xs, xs + ns, ns, x, true);
          if (kt > 0.0) k = kt;
        } else {
          xerr(-2, "ContactLaw: stiffness table abscissas must increase");
        }
      }
      const double delta = d - a0 - x * c;
      const double power = std::pow(delta, n);
      if (delta < 0.0 && std::isnan(power)) {
        *fx = -x;  // separated: no contact force
        *dfx = -1.0;
      } else {
        *fx = k * power - x;
        *dfx = -n * c * k * std::pow(delta, n - 1.0) - 1.0;
      }
    }
    if (std::isnan(*fx)) *fx = 0.0;
    if (std::isnan(*dfx)) *dfx = -1.0;
  });
}

void ContactStiffness(double* k, double* eeff, const double* args, const int* numargs,
                      const int* csflag) {
  *eeff = 0.0;
  const int flag = *csflag;
  const int need = flag == 0 || flag == 1 ? 8 : flag == 2 || flag == 3 ? 12 : flag == 6 ? 13 : 0;
  if (flag >= 0 && flag <= 6 && !enough(*numargs, need, "ContactStiffness")) return;
  const auto a = [args](int i) { return args[i - 1]; };
  const double r1 = need ? a(1) : 0.0;
  const double soft1 = need ? (1.0 - a(4) * a(4)) / a(3) : 0.0;
  const auto hertz = [&] { *k = 4.0 / 3.0 * *eeff * std::sqrt(1.0 / (a(5) + 1.0 / r1)); };
  switch (flag) {
    case 0:
      *eeff = 1.0 / (soft1 + (1.0 - a(8) * a(8)) / a(7));
      hertz();
      return;
    case 1:
      *eeff = 1.0 / (soft1 + 1.0 / a(7));
      hertz();
      return;
    case 2: *k = a(10) / std::pow(a(11) - a(12), a(9)); return;
    case 3:
      *eeff = 1.0 / (soft1 + 1.0 / a(7));
      *k = std::pow(a(10), a(9) - 0.5) * std::pow(a(11), 1.0 - a(9)) / (a(12) * std::pow(a(12), a(9)));
      return;
    case 4: xerr(-3, "Goldsmith is not implemented so far."); return;
    case 5: xerr(-3, "Goldsmith + Sun et. al is not implemented so far."); return;
    case 6: {
      *eeff = 1.0 / (soft1 + (1.0 - a(8) * a(8)) / a(7));
      const double lo = 2.220446049250313e-16, hi = interaction::not_given;
      const double p = fLimit(&args[12], &lo, &hi);
      const double h = a(2);
      *k = std::numbers::pi * h * *eeff /
           (std::log(h / std::sqrt(4.0 * r1 * p / (std::numbers::pi * *eeff))) + 1.886);
      return;
    }
    default: xerr(-3, "Unknown contact stiffness flag", std::span<const int>(csflag, 1));
  }
}

void ContactRadius(double* radius, const double* args, const int* numargs, const int* cdflag) {
  *radius = interaction::not_given;
  const int flag = *cdflag;
  if (flag >= 0 && flag <= 4) {
    if (enough(*numargs, 3, "ContactRadius"))
      *radius = std::cbrt(3.0 * args[0] * args[2] / (4.0 * args[1]));
  } else if (flag == 5 || flag == 6) {
    if (enough(*numargs, 4, "ContactRadius"))
      *radius = std::sqrt(4.0 * args[0] * args[2] / (args[1] * std::numbers::pi * args[3]));
  }
}

void ContactDepth(double* indentation, const double* args, const int* numargs, const int* cdflag) {
  *indentation = interaction::not_given;
  switch (*cdflag) {
    case 0:
      if (enough(*numargs, 3, "ContactDepth"))
        *indentation = std::cbrt(9.0 * args[0] * args[0] / (16.0 * args[1] * args[2] * args[2]));
      return;
    case 1:
      if (enough(*numargs, 3, "ContactDepth")) *indentation = args[0] / (2.0 * args[1] * args[2]);
      return;
    case 2:
      if (enough(*numargs, 4, "ContactDepth")) *indentation = std::numbers::pi * args[3] / 2.0;
      return;
    default: return;
  }
}

void ContactArea(double* dprops, const double* coord, const int* noel, const int* nimp,
                 const double* elemlength) {
  tavrin::c_boundary(__func__, [&] {
    double r = -1.0, s = -1.0;
    if (elemlength) {
      r = elemlength[0];
      s = elemlength[1] == 0.0 ? elemlength[0] : elemlength[1];
    }
    const double straight = 0.0;
    const int three = 3;
    for (int k = 0; k < *nimp; ++k) {
      double* rec = dprops + 12 * k;  // rec[i - 1] is entry i
      const double dist = EffectiveArcLength(coord, rec + 1, &straight, &three);
      if (rec[5] == 0.0) {
        rec[5] = dist;  // first visit: only the distance
      } else if (dist < rec[5]) {
        rec[5] = dist;
        rec[4] = double(*noel);
        if (r != -1.0 && s != -1.0) {
          rec[7] = rec[9] = r / 2.0;
          rec[8] = rec[10] = s / 2.0;
        }
      }
    }
  });
}

double GetHugonoitElasticLimit(const double* yc, const double* nu) {
  const double f = 1.0 - 2.0 * *nu;
  return *yc * (1.0 - *nu) / (f * f);
}

void PIAirbus(double* a0, const double* tges, const double* delarea) {
  *a0 = 0.0009 * *delarea * std::pow(*tges, -0.81);
}

void PISuresh(double* a0, double* a1, const double* amax, const double* acr, const double* kcce,
              const int* lbnds, const int* llesscrit) {
  *a0 = 0.0;
  *a1 = -1.0;
  const bool indented = *llesscrit && *amax > *acr;
  if (*lbnds) {
    *a1 = indented ? *amax - *acr : 0.0;
    *a0 = indented ? 0.333 * *a1 : 0.0;
  } else if (indented) {
    *a0 = (*amax - *acr) * (1.0 - *kcce);
  }
}

void PITanSunNonLinear(double* a0, const double* amax, const double* acr) {
  *a0 = *amax > *acr ? *amax * (1.0 - std::pow(*acr / *amax, 0.4)) : 0.0;
}

void PITanSunLinear(double* a0, const double* amax, const double* acr, const double* ksc) {
  *a0 = *amax > *acr ? (*amax - *acr) * *ksc : 0.0;
}
