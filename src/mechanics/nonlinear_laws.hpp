// Nonlinear property laws of a ply (module `nlcollection`).
//
// Degradation factors d (0 undamaged) scale a modulus or strength down to
// (1 - d)·value as strain, stress or load cycles grow; the temperature laws
// give a modulus over temperature through several transitions.
//
//   Krause       d = 1 - 1/exp(β·|ε|)
//   Kaestner     d = 1 - 1/(β·|ε| + 1)
//   Hahn-Tsai    d = (3βGτ² - 2βτ³/γ)/(3βGτ² + 1) for γ ≠ 0, else 0
//                (shear modulus G, stress τ, engineering shear strain γ)
//   Adam         r = (log n - log lg1)/(log nf - log lg2),
//                R = x + (l - x)·(1 - r^β)^(1/α),  d = 1 - R/l
//   Mahieux      P(T) = Σᵢ (Pᵢ - Pᵢ₊₁)·exp(-(T/Tᵢ)^mᵢ) + Pₙ₊₁
//   Gibson       P(T) = Σᵢ ((Pᵢ + Pᵢ₊₁)/2 - (Pᵢ - Pᵢ₊₁)/2·tanh(ξᵢ·T/Tᵢ))
// with the transition table props = (P1, T1, P2, T2, ..., Pn, Tn, Pn+1).
#pragma once

#include <span>

#include "foundation/api.hpp"

namespace tavrin::nlcollection {

TAVRIN_API double krause(double beta, double eps);
TAVRIN_API double kaestner(double beta, double eps);
// d of the Hahn-Tsai law for shear modulus g, coefficient beta at the shear
// stress tau and engineering shear strain gamma.
TAVRIN_API double hahn_tsai(double g, double beta, double tau, double gamma);
// The fixed-point map τ ↦ γ·G·(1 - d(τ)) of the Hahn-Tsai law (γ = 0: γ·G),
// which is Newton's step G·(γ + 2βτ³)/(1 + 3βGτ²) on the shear law
// γ = τ/G + βτ³: its fixed point is the stress at the strain γ.
TAVRIN_API double hahn_tsai_map(double tau, double gamma, double g, double beta);
// d at the stress that the fixed-point iteration of hahn_tsai_map (fpsafe)
// reaches from tau, to 0.001 in successive values in at most 100
// iterations; beyond them fpsafe latches its warning and the last iterate
// is used.
TAVRIN_API double hahn_tsai_solved(double tau, double gamma, double g, double beta);
TAVRIN_API double adam(double l, double x, double n, double nf, double alpha, double beta, double lg1,
                       double lg2);
// props holds 2·m.size() + 1 values (at least one).
TAVRIN_API double mahieux(double t, std::span<const double> props, std::span<const double> m);
TAVRIN_API double gibson(double t, std::span<const double> props, std::span<const double> xi);

}  // namespace tavrin::nlcollection

extern "C" {

TAVRIN_API void NLKrause(double* dnl, const double* beta, const double* eps);
TAVRIN_API void NLKaestner(double* dnl, const double* beta, const double* eps);
TAVRIN_API void NLHahnTsai(double* dnl, const double* tg, const double* beta, const double* sig,
                           const double* eps);
// args(na) = (τ, γ, G, β), na ≥ 4.  ns 2: the fixed-point map at τ; ns 1:
// d at the converged stress; absent or other: d at τ.
TAVRIN_API void FPHahnTsai(double* dout, const double* args, const int* na, const int* ns);
// lg(2) optional, (0.25, 0.25) when absent.
TAVRIN_API void NLAdam(double* dnl, const double* l, const double* x, const double* n, const double* nf,
                       const double* alpha, const double* beta, const double* lg);
TAVRIN_API double NLMahieux(const double* t, const double* props, const double* m, const int* ntrans);
TAVRIN_API double NLGibson(const double* t, const double* props, const double* xi, const int* ntrans);
}
