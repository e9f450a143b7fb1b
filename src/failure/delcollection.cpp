#include "failure/delcollection.hpp"

#include <array>
#include <cmath>

#include "failure/mccollection.hpp"

namespace {

double square(double x) { return x * x; }

// The signed normal-stress ratio.
double normal_ratio(double s33, double xt, double xc) { return s33 / (s33 > 0.0 ? xt : xc); }

}  // namespace

extern "C" {

void DelLee(double* rdel, const double* s33, const double* s12, const double* s13, const double* xt33,
            const double* xc33, const double* ilss) {
  const double a = normal_ratio(*s33, *xt33, *xc33);
  const double shear = std::sqrt(*s12 * *s12 + *s13 * *s13) / *ilss;
  *rdel = std::isnan(a) || shear > a ? shear : a;
}

void DelOchoaEngblom(double* rdel, const double* s33, const double* s13, const double* s23,
                     const double* xt33, const double* xc33, const double* ilss) {
  *rdel = std::sqrt(square(normal_ratio(*s33, *xt33, *xc33)) +
                    (*s13 * *s13 + *s23 * *s23) / (*ilss * *ilss));
}

void DelHashin(double* rdel, const double* s33, const double* s13, const double* s23,
               const double* xt22, const double* xc22, const double* ilss) {
  *rdel = std::sqrt(square(normal_ratio(*s33, *xt22, *xc22)) + square(*s23 / *ilss) +
                    square(*s13 / *ilss));
}

void DelPuck(double* rdel, const double* s33, const double* s13, const double* s23, const double* xt22,
             const double* xc22, const double* ilss, const double* gp) {
  const std::array<double, 4> p =
      gp ? std::array<double, 4>{gp[0], gp[1], gp[2], gp[3]} : std::array<double, 4>{0.3, 0.2, 0.15, 0.15};
  *rdel = tavrin::mccollection::puck_effort(*s33, *s13, *s23, *xt22, *xc22 / (2.0 * (1.0 + p[3])),
                                            *ilss, p);
}

void DelChoiChang(double* rdel, const double* s22l, const double* s13l, const double* s23u,
                  const double* xt22l, const double* xc22l, const double* ilssl, const double* ilssu,
                  const double* da) {
  const double y = *s22l > 0.0 ? *xt22l : *xc22l;
  *rdel = std::sqrt((da ? *da : 1.8) *
                    (square(*s23u / *ilssu) + square(*s22l / y) + square(*s13l / *ilssl)));
}

void DelChai(double* rdel, const double* s22l, const double* s13l, const double* s23u,
             const double* xt22l, const double* xc22l, const double* x23u, const double* ilssl,
             const double* df1, const double* df2, const double* df3) {
  const double y = *s22l > 0.0 ? *xt22l : *xc22l;
  const double sum = *df1 * square(*s22l / y) + *df2 * square(*s23u / *x23u) +
                     1.875 * *df3 * square(*s13l / *ilssl);
  *rdel = sum > 0.0 || std::isnan(sum) ? std::sqrt(sum) : 0.0;
}

}  // extern "C"
