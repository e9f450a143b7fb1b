// Stress laws of material routines without a closed-form tangent, and that
// tangent (module `elasticity`).
//
// A stress law maps strain(ntens) to stress(ntens), solver order 11, 22, 33,
// 12, 13, 23, engineering shears, with props(nprops):
//   law(stress, strain, props, ntens, ndi, nprops)
// in a real form (central differences) and a complex form (complex step).
// getnumericaltangent differentiates either; the anisotropic law comes in
// both forms (fGet…/cGet…), the laws of the ply and the resin in the real
// one.
//
// The three-dimensional laws (isotropic, nonlinear, dev/vol, cubic) need
// ntens = 6 and ndi = 3, the tensor laws ndi <= 3 and the plasticity update
// ntens = 6: otherwise -2 is latched and the stress (and tangent) is zero.
// An isotropic variant other than 0-3, or a dev/vol flag other than 1, gives
// zero stress and tangent and latches -3.
#pragma once

#include <complex>

#include "foundation/api.hpp"

namespace tavrin::elasticity {

using RealStressLaw = void (*)(double* stress, const double* strain, const double* props,
                               const int* ntens, const int* ndi, const int* nprops);
using ComplexStressLaw = void (*)(std::complex<double>* stress, const std::complex<double>* strain,
                                  const double* props, const int* ntens, const int* ndi,
                                  const int* nprops);

// ddsdde(ntens,ntens) = ∂σ/∂ε of the law at dstrain.  nmflag 1: complex step
// (column j = Im σ(dx + i·h·e_j)/h; needs complex_law), other: central
// differences (σ(dx + h·e_j) − σ(dx − h·e_j))/2h with real_law, or with
// complex_law on zero imaginary parts when there is no real form.
// h: step (absent: the largest dstrain entry × 2⁻²⁶; 0: 1e-8).  istensor
// doubles the shear entries of dx.  tgref (absent: zero): returned as it
// stands when tgref·dx = stress1 − stress0 exactly.  Without the form the
// method needs -2 is latched and ddsdde is zero.
TAVRIN_API void getnumericaltangent(double* ddsdde, RealStressLaw real_law,
                                    ComplexStressLaw complex_law, const double* props,
                                    const double* stress1, const double* stress0,
                                    const double* dstrain, int ntens, int ndi, int nprops,
                                    bool istensor, const double* tgref, const double* h,
                                    const int* nmflag);

// ∂F/∂σ of F = q² − a0 − a1·p and ∂G/∂σ of G = q² + alpha·p² at
// stressvector(nstress): nstress 3 (11, 22, 12), 4 (11, 22, 33, 12) or >= 6
// (six components, the rest 0).  Other counts latch -2 and give zeros.
TAVRIN_API void getderivatef(double* df, const double* stressvector, int nstress, double a0,
                             double a1);
TAVRIN_API void getderivateg(double* dg, const double* stressvector, int nstress, double alpha);

// Elastic predictor, plastic corrector on the paraboloidal yield surface
// F = q² − a0 − a1·p with the flow potential G = q² + alpha·p²;
// props = (Et, Ec, G, νt, νc, a0, a1, alpha): tension or compression
// constants by the sign of the volumetric strain.  stress is updated from
// its incoming value; ddsdde = C − (C·n_g)(n_fᵀ·C)/(n_fᵀ·C·n_g) after a
// plastic step, C after an elastic one.  Writes a trace of every step to
// standard output.  nprops and temp are accepted and not used.
TAVRIN_API void getstressfromplastitcity(double* stress, double* neweqplasticstrain, double* ddsdde,
                                         const double* stran, const double* dstran,
                                         const double* props, int ntens, int ndi, int nprops,
                                         double temp);

}  // namespace tavrin::elasticity

extern "C" {

// stress = S·strain: props the full S column by column (nprops >= ntens²),
// else its upper triangle packed row by row (S11, S12, …, S1n, S22, …).
TAVRIN_API void fGetStressFromAnisotropicHyperelasticity(double* stress, const double* strain,
                                                         const double* props, const int* ntens,
                                                         const int* ndi, const int* nprops);
// The same in complex arithmetic; a packed triangle is the lower one row by
// row (S11; S21, S22; S31, …).
TAVRIN_API void cGetStressFromAnisotropicHyperelasticity(std::complex<double>* stress,
                                                         const std::complex<double>* strain,
                                                         const double* props, const int* ntens,
                                                         const int* ndi, const int* nprops);

// stress = C·strain, C the on-axis ply stiffness of props.
TAVRIN_API void GetStressFromOrthotropicElasticity(double* stress, const double* strain,
                                                   const double* props, const int* ntens,
                                                   const int* ndi, const int* nprops);
// props = (E, γ, ν, νm, variant): 0 Lamé, 1 Kaestner, 2 Krause softening,
// 3 strain-dependent Poisson ratio.
TAVRIN_API void GetStressFromIsotropicViscoElasticity(double* stress, const double* strain,
                                                      const double* props, const int* ntens,
                                                      const int* ndi, const int* nprops);
// props = (E0, γn, G0, ν0, γs): E and ν by fixed-point iteration on the
// normal-strain norm ("Iteration " records), G softened by the shear norm.
TAVRIN_API void GetStressFromNonlinearIsotropic(double* stress, const double* strain,
                                                const double* props, const int* ntens,
                                                const int* ndi, const int* nprops);
// Built-in tension/compression constants; props(5) must be 1.
TAVRIN_API void GetStressFromDevVolDecomposition(double* stress, const double* strain,
                                                 const double* props, const int* ntens,
                                                 const int* ndi, const int* nprops, double* ddsdde);
// props = (T, E); factors α1-α3 from the Alpha1-3 tables; c receives the
// secant stiffness.
TAVRIN_API void GetStressFromCubicElasticity(double* stress, const double* endstran,
                                             const double* props, const int* ntens, const int* ndi,
                                             const int* nprops, double* c, const int* noel);
// Tensor laws on stresstens(3,3), entries i, j <= ndi.
TAVRIN_API void GetLameStress(const double* spureps, const double* endstrandev, const double* g,
                              const double* komp, double* stresstens, const int* ndi);
TAVRIN_API void GetKaestnerStress(const double* normdev, const double* normvol, const double* spureps,
                                  const double* endstrandev, const double* g, const double* gammag,
                                  const double* gammak, const double* komp, double* stresstens,
                                  const int* ndi);
TAVRIN_API void GetKrauseStress(const double* normdev, const double* normvol, const double* spureps,
                                const double* endstrandev, const double* g, const double* gammag,
                                const double* gammak, const double* komp, double* stresstens,
                                const int* ndi);
TAVRIN_API void GetStressFromNonConstPoisson(const double* normdev, const double* normvol,
                                             const double* spureps, const double* endstrandev,
                                             const double* e, const double* g, const double* nu,
                                             const double* num, const double* gamma,
                                             double* stresstens, const int* ndi);
// reduced_set(k) = full_set(2k − 1) (tension) if criterion(k) > 0 else
// full_set(2k), k = 1..3; reduced_set(4..6) = full_set(7..9).
TAVRIN_API void GetComponentsTensionCompression(const double* full_set, double* reduced_set,
                                                const double* criterion);
}
