// Transformations and rotations of ply quantities (module `lamina`).
//
// A ply whose material axis 1 lies at θ from the reference axis x (rotation
// about the common axis 3, counter-clockwise positive) has, with c = cos θ,
// s = sin θ, in the in-plane order 11, 22, 12:
//
//   stress form   Tσ = | c²   s²   2cs     |    σ_material = Tσ·σ_reference
//                      | s²   c²  -2cs     |
//                      | -cs  cs   c² - s² |
//   strain form   Tε = | c²    s²   cs     |    γ_material = Tε·γ_reference
//                      | s²    c²  -cs     |    (engineering shear)
//                      | -2cs  2cs  c² - s²|
//
// with Tσ⁻¹ = Tεᵀ.  In the Nye order of six components the in-plane block
// sits at rows and columns 1, 2, 4, T33 = 1, and the transverse shears turn
// as a vector: T55 = c, T56 = s, T65 = -s, T66 = c.  The stiffness and the
// compliance of the rotated ply in reference axes are
//
//   C̄ = Tεᵀ·C·Tε        S̄ = Tσᵀ·S·Tσ        (C̄·S̄ = I when C·S = I).
#pragma once

#include <cmath>

#include "foundation/api.hpp"
#include "foundation/small_matrix.hpp"

namespace tavrin::lamina {

enum class Form { stress, strain };

// Tσ or Tε for cos θ = c and sin θ = s.
TAVRIN_API Mat3 plane_transformation(double c, double s, Form form);
TAVRIN_API Mat6 nye_transformation(double c, double s, Form form);
inline Mat3 plane_transformation(double angle_r, Form form) {
  return plane_transformation(std::cos(angle_r), std::sin(angle_r), form);
}
inline Mat6 nye_transformation(double angle_r, Form form) {
  return nye_transformation(std::cos(angle_r), std::sin(angle_r), form);
}

// Tᵀ·A·T.
template <int N>
SmallMatrix<N, N> congruence(const SmallMatrix<N, N>& a, const SmallMatrix<N, N>& t) {
  // (Tᵀ·A)·T: the product skips the zero entries of A and of T, which a ply
  // stiffness and a rotation about axis 3 have many of.
  return (transpose(t) * a) * t;
}

// Tᵀ·A·T for a T of a rotation about axis 3 in Nye order, which mixes only
// the positions within {1, 2, 4}, {3} and {5, 6}: the entries outside these
// blocks are not read.
TAVRIN_API Mat6 congruence_about_3(const Mat6& a, const Mat6& t);

// The stiffness or compliance (Nye order, six or in-plane three
// components) of a ply turned by angle_r, in reference axes.
inline Mat6 rotate_stiffness(const Mat6& c, double angle_r) {
  return congruence_about_3(c, nye_transformation(angle_r, Form::strain));
}
inline Mat6 rotate_compliance(const Mat6& s, double angle_r) {
  return congruence_about_3(s, nye_transformation(angle_r, Form::stress));
}
inline Mat3 rotate_stiffness(const Mat3& q, double angle_r) {
  return congruence(q, plane_transformation(angle_r, Form::strain));
}
inline Mat3 rotate_compliance(const Mat3& s, double angle_r) {
  return congruence(s, plane_transformation(angle_r, Form::stress));
}

// Tεᵀ·Q·Tε for an orthotropic plane stiffness (Q13 = Q23 = 0, Q21 = Q12;
// Q66 = Q(3,3)) in closed form, for c = cos θ, s = sin θ:
//   Q̄11 = Q11 c⁴ + 2(Q12 + 2Q66) c²s² + Q22 s⁴
//   Q̄22 = Q11 s⁴ + 2(Q12 + 2Q66) c²s² + Q22 c⁴
//   Q̄12 = (Q11 + Q22 - 4Q66) c²s² + Q12 (c⁴ + s⁴)
//   Q̄66 = (Q11 + Q22 - 2Q12 - 2Q66) c²s² + Q66 (c⁴ + s⁴)
//   Q̄16 = (Q11 - Q12 - 2Q66) c³s - (Q22 - Q12 - 2Q66) cs³
//   Q̄26 = (Q11 - Q12 - 2Q66) cs³ - (Q22 - Q12 - 2Q66) c³s
// (what the laminate sums run over, once per ply).
TAVRIN_API Mat3 rotate_orthotropic_stiffness(const Mat3& q, double c, double s);

// The stress transformation (Nye order) into the orthonormal base whose
// axes are the columns of `base`: with a = baseᵀ (a(i,k) the cosine between
// new axis i and old axis k) and the index pairs p = (i,j), q = (k,l),
//   q normal:           T(p,q) = a(i,k)·a(j,k)
//   q shear, p normal:  T(p,q) = 2·a(i,k)·a(i,l)
//   q shear, p shear:   T(p,q) = a(i,k)·a(j,l) + a(i,l)·a(j,k)
TAVRIN_API Mat6 base_transformation(const Mat3& base);
// C' = T·C·Tᵀ and S' = T⁻ᵀ·S·T⁻¹ = (C')⁻¹ (Nye order).
TAVRIN_API Mat6 stiffness_in_base(const Mat6& c, const Mat3& base);
TAVRIN_API Mat6 compliance_in_base(const Mat6& s, const Mat3& base);

// The plane stiffness of a 6×6 Nye stiffness under zero normal stress in
// the direction d: with V the Voigt form and I the kept components,
//   qs(m,n) = V(Iₘ,Iₙ) - V(Iₘ,d)·V(d,Iₙ)/V(d,d)
// plane 1 keeps (11, 22, 12) with d = 33; 2 keeps (22, 33, 23) with d = 11;
// 3 keeps (11, 33, 13) with d = 22.
TAVRIN_API Mat3 condensed_stiffness(const Mat6& c, int plane = 1);

// σ' = Rᵀ·σ·R, R the rotation by angle_r about the unit axis: the stress
// components on the rotated axes (the columns of R).
TAVRIN_API Mat3 rotated_stress(const Mat3& sigma, const Vec3& axis, double angle_r);

// The traction (normal, shear along 1, shear along (0, cos θ, sin θ)) on
// the plane through axis 1 with normal (0, -sin θ, cos θ), for c = cos θ,
// s = sin θ:
//   σn  = σ33 c² + σ22 s² - 2σ23 s c
//   τn1 = σ13 c - σ12 s
//   τnt = (σ33 - σ22) s c + σ23 (c² - s²)
// (the action plane of the fracture-plane criteria, evaluated at every
// trial angle of their searches).
inline Vec3 xy_plane_traction(double c, double s, double s22, double s33, double s12, double s13,
                              double s23) {
  return Vec3{{s33 * c * c + s22 * s * s - 2.0 * s23 * s * c, s13 * c - s12 * s,
               (s33 - s22) * s * c + s23 * (c * c - s * s)}};
}

// The angle, from the xz plane, of the direction that the angle phixy about
// x gives (clockwise or not).
TAVRIN_API double phi_from_xz_plane(double phixy, bool clockwise);

}  // namespace tavrin::lamina

extern "C" {

// t(tdim,tdim), tdim 3 or 6: Tσ (tflag 0) or Tε (tflag 1) for the rotation
// by rangle (ttype 0) or -rangle (ttype 1) about axis 3.
TAVRIN_API void GetNyeTransformationMatrix(double* t, const double* rangle, const int* tdim,
                                           const int* ttype, const int* tflag);
// scoff(ntens,ntens), ntens 3 or 6: the stiffness (scflag ≠ 0) or
// compliance (scflag 0) of the ply props(9) at dangle degrees.
TAVRIN_API void GetNyeOffAxisSC(double* scoff, const double* dangle, const double* props,
                                const int* ntens, const int* scflag);
// tv(3): the traction on the plane through axis 1 with normal
// (0, -sin θ, cos θ): (normal, shear along 1, shear along (0, cos θ, sin θ)).
TAVRIN_API void GetTVectorOnRotatedXYPlane(double* tv, const double* theta_r, const double* s22,
                                           const double* s33, const double* s12, const double* s13,
                                           const double* s23);
// tv(3) on the rotated plane normal to axis tflag (1, 2, 3; 3 when absent).
TAVRIN_API void GetTVectorFromArbitraryRotation(double* tv, const double* theta_r, const double* nrot,
                                                const double* s11, const double* s22,
                                                const double* s33, const double* s12,
                                                const double* s13, const double* s23,
                                                const int* tflag);
// sv(6) on the rotated axes: Voigt (soutflag 1), cyclic (2) or Nye order.
TAVRIN_API void GetRotatedStresses(double* sv, const double* theta_r, const double* nrot,
                                   const double* s11, const double* s22, const double* s33,
                                   const double* s12, const double* s13, const double* s23,
                                   const int* soutflag);
TAVRIN_API void GetPhiMeasuredFromXZPlane(double* phixz, const double* phixy, const int* clockwise);
// scbase(6,6): sc(6,6) (stiffness for scflag ≠ 0, compliance for 0) in the
// base whose axes are the columns of base(3,3); sc in Voigt (ntflag 1),
// cyclic (ntflag 2) or Nye order (other).
TAVRIN_API void GetArbitraryBaseSC(double* scbase, const double* sc, const double* base,
                                   const int* scflag, const int* ntflag);
// qs(3,3) from c(6,6) (Nye order); plflag optional (1 when absent).
TAVRIN_API void GetReducedNyeStiffnessMatrix(double* qs, const double* c, const int* plflag);
}
