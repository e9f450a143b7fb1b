// Module dg8: growth of a buckled elliptical delamination.
//
// The sublaminate above an elliptical delamination (semi-axes a along x,
// b along y) is a clamped von Karman plate under a uniform membrane strain
// (eps_x, eps_y, gamma_xy).  With xi = x/a, eta = y/b and the bubble
// c = 1 - xi² - eta², its displacements carry eight unknowns
//   u = c·(p1·xi + p2·eta),  v = c·(q1·xi + q2·eta),
//   w = c²·(r1 + r2·xi² + r3·eta² + r4·xi·eta),
// stored in that order in vec(8).  The strain energy and its first and
// second derivatives are exact closed-form polynomials (generated,
// dg8_polynomials.cpp).  A penalty on a grid of cells keeps the plate from
// deflecting into the base laminate (w < 0).  Newton's method finds the
// equilibrium; perturbing each semi-axis by 1e-5 of itself gives the energy
// release rates at the ends of the axes, and the driver raises the load,
// detects buckling from the load-deflection response and grows the ellipse
// while the release rate exceeds the toughness.
//
// Stiffness abd(6,6) = [A B; B D] in the x, y, shear order; only its upper
// triangle is read.  Logical arguments are ints (0 false).
#pragma once

#include "foundation/api.hpp"

extern "C" {

// Strain energy U of the plate (a function value).
TAVRIN_API double GetStrainEnergy8(const double* vec, const double* eps, const double* a,
                                   const double* b, const double* abd);
// f(8) = dU/dvec; when w is false, f(5) also carries the imperfection load
// -pi·a·b·g0·epsbucklin²/10.
TAVRIN_API void GetF8(double* f, const double* vec, const double* eps, const double* g0,
                      const double* epsbucklin, const double* a, const double* b, const double* abd,
                      const int* w);
// df(8,8) = d²U/dvec², column-major, symmetric; g0 and w are not used.
TAVRIN_API void GetdF8(double* df, const double* vec, const double* eps, const double* g0,
                       const double* a, const double* b, const double* abd, const int* w);
// Penalty energy Σ ½·kmd·h²·w² over the grid points where the plate
// penetrates the base laminate (a function value).
TAVRIN_API double GetContactEnergy8(const double* vec, const double* a, const double* b,
                                    const double* kmd, const int* nk);
// Its gradient kv(4) and Hessian km(4,4) with respect to r1..r4.
TAVRIN_API void GetKdfKf8(double* km, double* kv, const double* vec, const double* a,
                          const double* b, const double* kmd, const int* nk);
// Area of the grid cells where w < 0 (a function value).
TAVRIN_API double GetAreaOfOverlap8(const double* vec, const double* a, const double* b,
                                    const int* nk);
// fp(8), dfp(8,8): residual and Jacobian of strain plus contact energy.
TAVRIN_API void GetFdF8(double* fp, double* dfp, const double* vec, const double* eps,
                        const double* g0, const double* epsbucklin, const double* a,
                        const double* b, const double* kmd, const double* abd, const int* nk,
                        const int* w);
// Newton's method from sol (updated in place) at the strain
// epsnom·relepsellipse; nrerr is the squared norm of the last correction
// (non-finite when the Jacobian is singular: the iteration stops there).
TAVRIN_API void NewtonRaphson8(double* sol, double* nrerr, const double* a, const double* b,
                               const double* kmd, const double* g0, const double* epsnom,
                               const double* epsbucklin, const double* relepsellipse,
                               const double* abd, const double* tolerance, const int* maxiter,
                               const int* nk, const int* w);
// The larger of the release rates G_a, G_b of the converged solution vec and
// the growth factors (1.001 for the axis that grows, 1.0 for the other);
// tol (1e-15) and maxiter (100) may be null.
TAVRIN_API void GetEnergyReleaseRate8(double* serr, double* fa, double* fb, const double* vec,
                                      const double* a, const double* b, const double* kmd,
                                      const double* g0, const double* epsnom,
                                      const double* epsbucklin, const double* relepsellipse,
                                      const double* abd, const int* nk, const int* w,
                                      const double* tol, const int* maxiter);
// Follows the delamination `delamination` = (a, b, angle in degrees) above
// the sublaminate of plies sublamstack(1..2) of the laminate as the load
// level goes from limstrain(1) to limstrain(2) in ninc increments (applied
// strain = level·relstrain, laminate frame; falling levels run as the rising
// levels -limstrain under -relstrain, the same loading); success 1 completed, -1 no
// convergence in a load increment, -2 trivial solution, -3 no convergence
// while growing, 0 not run (bad input, latched); strains = (linear
// buckling strain, level where buckling showed, level of first growth,
// 0 when not reached)·relstrain(1).
TAVRIN_API void DelaminationGrowthAnalysis(double* success, double* strains, const double* limstrain,
                                           const double* relstrain, const double* plyelastic,
                                           const double* plyorientation, const double* plythickness,
                                           const double* delamination, const int* sublamstack,
                                           const double* kmd, const double* gamma,
                                           const double* width, const double* radius,
                                           const int* ninc, const int* nprec, const int* nplies);
}
