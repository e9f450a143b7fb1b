// Closed-form energy of the eight-parameter buckled-delamination plate,
// generated ahead of time (scripts/gen_dg8.py, output dg8_polynomials.cpp).
#pragma once

namespace tavrin::dg8 {

// The eighteen stiffness entries of a sublaminate [A B; B D] in the x, y,
// shear order, B taken as symmetric.
struct PlateStiffness {
  double a11, a12, a16, a22, a26, a66;
  double b11, b12, b16, b22, b26, b66;
  double d11, d12, d16, d22, d26, d66;
};

namespace detail {
// Unit-disk integrals divided by pi: the energy is pi*a*b times these, for
// the unknowns v(8), the applied strain e(3) and ia = 1/a, ib = 1/b.
double energy_over_pi(const double* v, const double* e, double ia, double ib, const PlateStiffness& s);
// g(8): the gradient with respect to v.
void gradient_over_pi(const double* v, const double* e, double ia, double ib, const PlateStiffness& s,
                      double* g);
// h(8,8), column-major and symmetric: the Hessian with respect to v.
void hessian_over_pi(const double* v, const double* e, double ia, double ib, const PlateStiffness& s,
                     double* h);
}  // namespace detail

}  // namespace tavrin::dg8
