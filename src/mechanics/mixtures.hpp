// Effective stiffness of a mixture of layers (module `laminate`).
//
// A stack of layers, each with its 6×6 stiffness C_k already turned into the
// common axes and its volume fraction v_k (used as given, not normalised),
// is homogenised into one 6×6 stiffness.  Stiffnesses are in the Voigt order
// 11, 22, 33, 23, 13, 12: position 3 is the thickness direction, 4 and 5 the
// transverse shears, 1, 2 and 6 the in-plane components.  With ⟨x⟩ = Σ v_k x_k:
//
//   Voigt (equal strain)   ⟨C⟩
//   Reuss (equal stress)   ⟨C⁻¹⟩⁻¹
//   Sun, Chou, Henry       thick-laminate rules: equal strain in the plane
//                          (1, 2, 6), equal stress through the thickness
//                          (3, 4, 5).  For fractions summing to 1 and layers
//                          whose shears 4, 5 are uncoupled from 1, 2, 3, 6
//                          (layers turned about the thickness axis), all three
//                          give the exact stiffness of the layered medium.
//
// Henry is the partial inversion, with o = positions 3, 4, 5, i = 1, 2, 6:
//
//   C*oo = ⟨Coo⁻¹⟩⁻¹,  C*oi = C*oo⟨Coo⁻¹Coi⟩,  C*io = ⟨Cio Coo⁻¹⟩C*oo,
//   C*ii = ⟨Cii − Cio Coo⁻¹ Coi⟩ + ⟨Cio Coo⁻¹⟩C*oi.
//
// Nothing is reported: a singular layer in the Reuss rule is latched by the
// inversion; zero pivots of the other rules give non-finite entries.
#pragma once

#include "foundation/api.hpp"
#include "foundation/small_matrix.hpp"

namespace tavrin::laminate {

// Layers of a mixture, not owned: fractions v(n) and stiffnesses c(6,6,n).
struct Mixture {
  const double* fractions;
  const double* stiffnesses;
  int n;

  int size() const { return n > 0 ? n : 0; }
  double fraction(int k) const { return fractions[k - 1]; }
  Mat6 stiffness(int k) const { return Mat6::load(stiffnesses + std::ptrdiff_t(k - 1) * 36); }
};

TAVRIN_API Mat6 voigt_stiffness(const Mixture& m);
TAVRIN_API Mat6 reuss_stiffness(const Mixture& m);
TAVRIN_API Mat6 sun_stiffness(const Mixture& m);
TAVRIN_API Mat6 chou_stiffness(const Mixture& m);
TAVRIN_API Mat6 henry_stiffness(const Mixture& m);

}  // namespace tavrin::laminate

extern "C" {
// c(6,6) from volratios(nvols) and rotatedstiffnessmatrices(6,6,nvols).
TAVRIN_API void GetVoigtEffectiveStiffness(double* cvoigt, const double* volratios,
                                           const double* rotatedstiffnessmatrices, const int* nvols);
TAVRIN_API void GetReussEffectiveStiffness(double* creuss, const double* volratios,
                                           const double* rotatedstiffnessmatrices, const int* nvols);
TAVRIN_API void GetSunEffectiveStiffness(double* csun, const double* volratios,
                                         const double* rotatedstiffnessmatrices, const int* nvols);
TAVRIN_API void GetChouEffectiveStiffness(double* chou, const double* volratios,
                                          const double* rotatedstiffnessmatrices, const int* nvols);
TAVRIN_API void GetHenryEffectiveStiffness(double* chenry, const double* volratios,
                                           const double* rotatedstiffnessmatrices, const int* nvols);
}
