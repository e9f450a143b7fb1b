// General-failure criteria (module `gpcollection`): four isotropic criteria
// of a neat resin on the invariants of a stress 6-vector (Drucker-Prager,
// Bauwens, Raghava, Ha), two quadratic-with-linear-terms (polynomial)
// criteria of an orthotropic ply and six closed-form nominal or interaction
// criteria.  Stresses in the solver order 11, 22, 33, 12, 13, 23; strengths
// positive magnitudes; X1 = xt11 when s11 ≥ 0, else xc11 (likewise X2).
//
// The polynomial criteria return the inverse of the load factor λ that puts
// the stress on the surface Q·λ² + L·λ = 1 (L the linear, Q the quadratic
// form of the stress), so that the index grows in proportion to the load.
#pragma once

#include <optional>

#include "foundation/api.hpp"

namespace tavrin::gpcollection {

// 1/λ of Q·λ² + L·λ = 1: (L + √D)/2 for L > 0, else 2Q/(√D - L) (the same
// number, each without cancellation), D = L² + 4Q; 0 at zero stress.  A
// negative D latches a note (status -1) and gives 0.
TAVRIN_API double inverse_load_factor(double l, double q);

struct Strengths {
  double xt11, xc11, xt22, xc22, xt33, xc33, x12, x13, x23;
};

// GPPolynomial: ptype 0 (or absent) the Tsai-Wu coefficients, 1 the
// sign-selected squares without linear terms, 2 the interaction of Hoffman
// form; xint the interaction coefficient (no products when absent).
TAVRIN_API double polynomial(const double (&s)[6], const Strengths& x, std::optional<double> xint,
                             std::optional<int> ptype);
// GPPolyCamanho: transversely isotropic (direction 3 takes the strengths of
// 2); the s11·s22 and s11·s33 products only for |xint| ≤ 1.
TAVRIN_API double poly_camanho(const double (&s)[6], double xt11, double xc11, double xt22,
                               double xc22, double x12, double x13, double x23,
                               std::optional<double> xint, std::optional<int> ptype);

}  // namespace tavrin::gpcollection

extern "C" {

// The Drucker-Prager function fitted to the uniaxial strengths, di1 (stress
// units, positive inside); d = 1 within one stress unit of the surface.
TAVRIN_API void GPDruckerPrager(const double* stress, const double* xt, const double* xc, double* d,
                                double* di1);
TAVRIN_API void GPBauwens(const double* stress, const double* xt, const double* xc, double* d);
TAVRIN_API void GPRaghava(const double* stress, const double* xt, const double* xc, double* d);
// life is written (1.0) only when the resin fails.
TAVRIN_API void GPHa(const double* stress, const double* xt, const double* xc, const double* np,
                     double* d, double* di1, double* dmises, double* i1cr, double* misescr,
                     double* life);
TAVRIN_API void GPPolyCamanho(double* rgp, const double* s11, const double* s22, const double* s33,
                              const double* s12, const double* s13, const double* s23,
                              const double* xt11, const double* xc11, const double* xt22,
                              const double* xc22, const double* x12, const double* x13,
                              const double* x23, const double* xint, const int* ptype);
TAVRIN_API void GPPolynomial(double* rgp, const double* s11, const double* s22, const double* s33,
                             const double* s12, const double* s13, const double* s23,
                             const double* xt11, const double* xc11, const double* xt22,
                             const double* xc22, const double* xt33, const double* xc33,
                             const double* x12, const double* x13, const double* x23,
                             const double* xint, const int* ptype);
TAVRIN_API void GPNorrisInteraction(double* rgp, const double* s11, const double* s22,
                                    const double* s12, const double* xt11, const double* xc11,
                                    const double* xt22, const double* xc22, const double* x12);
TAVRIN_API void GPYamadaSunInteraction(double* rgp, const double* s11, const double* s12,
                                       const double* s13, const double* xt11, const double* xc11,
                                       const double* x12, const double* x13);
TAVRIN_API void GPQuadInteraction(double* rgp, const double* s11, const double* s22,
                                  const double* s12, const double* xt11, const double* xc11,
                                  const double* xt22, const double* xc22, const double* x12);
TAVRIN_API void GPLinInteraction(double* rgp, const double* s11, const double* s22,
                                 const double* s12, const double* xt11, const double* xc11,
                                 const double* xt22, const double* xc22, const double* x12);
TAVRIN_API void GPQuadNominal(double* rgp, const double* s11, const double* s12, const double* s13,
                              const double* xt11, const double* x12, const double* x13);
TAVRIN_API void GPMaxNominal(double* rgp, const double* s11, const double* xt11, const double* xc11);
}
