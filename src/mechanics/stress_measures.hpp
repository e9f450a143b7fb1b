// Stress and strain measures (module `lamina`).
//
// Stress vectors of 3 components (11, 22, 12), 4 (11, 22, 33, 12) or 6 in
// Voigt order (11, 22, 33, 23, 13, 12) are read into a symmetric 3×3 tensor;
// the scalar measures are invariants of that tensor:
//
//   trace        I1 = σ11 + σ22 + σ33,  hydrostatic p = I1/3
//   von Mises    √(½[(σ11-σ22)² + (σ22-σ33)² + (σ33-σ11)²] + 3(σ12² + σ13² + σ23²))
//   Tresca       max |pᵢ - pⱼ| over the principal stresses
//   Stassi       the root σ > 0 (I1 ≥ 0) or < 0 (I1 < 0) of
//                κσ² - I1(κ - 1)σ - σvM² = 0, κ = Xc/Xt
//
// Strain measures of a deformation gradient F: small ½(F + Fᵀ) - I, Green
// ½(FᵀF - I), Almansi ½(I - (FFᵀ)⁻¹).
#pragma once

#include <optional>

#include "foundation/api.hpp"
#include "foundation/small_matrix.hpp"

namespace tavrin::lamina {

// The tensor of a stress vector of n = 3, 4 or 6 components with its shear
// entries scaled by shear_factor (0.5 turns engineering shear strains into
// tensor ones); nothing for another n.
TAVRIN_API std::optional<Mat3> stress_tensor(const double* v, int n, double shear_factor = 1.0);

// Invariants of a symmetric tensor (off-diagonal entries from the upper
// triangle).
constexpr double hydrostatic(const Mat3& s) { return trace(s) * 0.3333333333333333; }
TAVRIN_API double mises(const Mat3& s);
// Principal values, largest first.
TAVRIN_API Vec3 principal_stresses(const Mat3& s);
TAVRIN_API double tresca(const Vec3& principals);
// p1 when p1 ≥ 0 and p1 ≥ |p3|, else |p3| when p3 < 0, else p1.
TAVRIN_API double rankine(const Vec3& principals);
TAVRIN_API double stassi(const Mat3& s, double xt, double xc);

TAVRIN_API Mat3 small_strain(const Mat3& f);
TAVRIN_API Mat3 green_strain(const Mat3& f);
TAVRIN_API Mat3 almansi_strain(const Mat3& f);

}  // namespace tavrin::lamina

extern "C" {

// The six tensor components of tvoigt(nvoigt), shears times shearfactor
// (optional, 1 when absent); all 0 for a length other than 3, 4 or 6.
TAVRIN_API void GetTensorComponents(double* t11, double* t22, double* t33, double* t12, double* t13,
                                    double* t23, const double* tvoigt, const int* nvoigt,
                                    const double* shearfactor);
TAVRIN_API double GetTrace(const double* stress, const int* nstress);
TAVRIN_API double GetHydrostaticPressure(const double* stress, const int* nstress);
// cm(3,3) = p·I.
TAVRIN_API void GetMeanStress(double* cm, const double* stress, const int* nstress);
// cd(3,3): the deviator of svoigt(6).
TAVRIN_API void GetDeviatoricStress(double* cd, const double* svoigt);
// ps(3): the principal stresses, largest first.
TAVRIN_API void GetPrincipals(double* ps, const double* svoigt, const int* nvoigt);
TAVRIN_API double GetMisesStress(const double* stress, const int* nstress);
TAVRIN_API double GetTrescaStress(const double* principals);
TAVRIN_API double GetRankineStress(const double* principals);
TAVRIN_API void GetStassiStress(const double* stress, const double* xt, const double* xc,
                                double* eq_stress);
// flow(nstress): the deviatoric components over the von Mises stress,
// normal entries (sᵢ - p)/σvM, shear entries sᵢ/σvM.
TAVRIN_API void GetMisesFlow(double* flow, const double* stress, const int* nstress);
TAVRIN_API void GetSmallStrain(double* small, const double* dfgrd);
TAVRIN_API void GetGreenStrain(double* green, const double* dfgrd);
TAVRIN_API void GetAlmansiStrain(double* almansi, const double* dfgrd);
// The yield stress and hardening slope at the equivalent plastic strain
// `strain` from table(ntable,2) (yield stress, plastic strain).
TAVRIN_API void GetHardeningFromTable(double* yield, double* gradient, const double* strain,
                                      const double* table, const int* ntable);
}
