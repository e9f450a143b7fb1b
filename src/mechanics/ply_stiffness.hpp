// Elastic properties and stiffness of an orthotropic ply (module `lamina`).
//
// The nine ply elastic constants, in this order wherever they are stored:
//   E1, E2, E3, ν12, ν13, ν23, G12, G13, G23
// with the minor Poisson's ratios ν21 = ν12·E2/E1, ν31 = ν13·E3/E1 and
// ν32 = ν23·E3/E2.  Stiffness and compliance are in the solver (Nye) order
// 11, 22, 33, 12, 13, 23 with engineering shear strains, so the shear
// diagonal of the stiffness holds the shear moduli themselves:
//
//   3-D (6×6)        C = S⁻¹,  S = | 1/E1    -ν12/E1  -ν13/E1                   |
//                                  | -ν12/E1  1/E2    -ν23/E2                   |
//                                  | -ν13/E1 -ν23/E2   1/E3                     |
//                                  |                         1/G12  1/G13  1/G23 |
//   plane stress (3×3, 11, 22, 12), D = 1 - ν12·ν21:
//                    Q = | E1/D      ν12·E2/D  0   |
//                        | ν12·E2/D  E2/D      0   |
//                        | 0         0         G12 |
//
// The solver's layouts of ntens components are the leading ntens×ntens block
// of the 6×6 matrices (4: 11, 22, 33, 12) or, for plane stress, the 3×3
// matrix at the in-plane positions (1, 2, 3) of three and (1, 2, 4) of four
// or six components.
#pragma once

#include <array>
#include <optional>
#include <span>

#include "foundation/api.hpp"
#include "foundation/array.hpp"
#include "foundation/small_matrix.hpp"

namespace tavrin::lamina {

struct PlyConstants {
  double e1 = 0.0, e2 = 0.0, e3 = 0.0;
  double nu12 = 0.0, nu13 = 0.0, nu23 = 0.0;
  double g12 = 0.0, g13 = 0.0, g23 = 0.0;

  static constexpr PlyConstants load(const double* p) {
    return {p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8]};
  }
  constexpr void store(double* p) const {
    const double v[9] = {e1, e2, e3, nu12, nu13, nu23, g12, g13, g23};
    for (int i = 0; i < 9; ++i) p[i] = v[i];
  }
};

// The minor Poisson's ratios ν21, ν31, ν32.
struct MinorPoisson {
  double nu21 = 0.0, nu31 = 0.0, nu32 = 0.0;
};

constexpr MinorPoisson minor_poisson(const PlyConstants& p) {
  return {p.nu12 * p.e2 / p.e1, p.nu13 * p.e3 / p.e1, p.nu23 * p.e3 / p.e2};
}

// The nine constants from the forms of elastic input, told apart by count:
//   2  (E, ν): isotropic, G = E/(2(1+ν));
//   5  transversely isotropic about axis 1: (E1, E2, ν12, ν23, G12) when the
//      third value is at most 1, else (E1, E2, G12, G23, ν12) with a G23 of
//      0 read as E2/2; then E3 = E2, ν13 = ν12, G13 = G12 and G23, ν23 are
//      linked by G23 = E2/(2(1+ν23));
//   9  (E1, E2, E3, ν12, ν13, ν23, G12, G13, G23), or (E1, E2, E3, G12, G13,
//      G23, ν12, ν13, ν23) when the last three values are all at most 1.
// Any other count gives nothing.
TAVRIN_API std::optional<PlyConstants> ply_constants(std::span<const double> elastic);

// The 6×6 three-dimensional stiffness, with the minor Poisson's ratios given
// (derived from the constants in the one-argument form):
//   Δ = (1 - ν12ν21 - ν23ν32 - ν13ν31 - 2ν12ν23ν31)/(E1E2E3)
//   C11 = (1 - ν23ν32)/(E2E3Δ)   C22 = (1 - ν13ν31)/(E1E3Δ)   C33 = (1 - ν12ν21)/(E1E2Δ)
//   C12 = (ν21 + ν31ν23)/(E2E3Δ) C13 = (ν31 + ν21ν32)/(E2E3Δ) C23 = (ν32 + ν12ν31)/(E1E3Δ)
//   C44 = G12, C55 = G13, C66 = G23
TAVRIN_API Mat6 stiffness(const PlyConstants& p, const MinorPoisson& nu);
inline Mat6 stiffness(const PlyConstants& p) { return stiffness(p, minor_poisson(p)); }

// The 6×6 three-dimensional compliance S (symmetric, from ν12, ν13, ν23).
TAVRIN_API Mat6 compliance(const PlyConstants& p);

// The plane-stress (reduced) stiffness Q in the order 11, 22, 12.  With ν21
// given, Q21 = ν21·E1/D may differ from Q12 = ν12·E2/D.
TAVRIN_API Mat3 reduced_stiffness(const PlyConstants& p);
TAVRIN_API Mat3 reduced_stiffness(const PlyConstants& p, double nu21);
// Its inverse: S11 = 1/E1, S22 = 1/E2, S12 = -ν12/E1, S33 = 1/G12.
TAVRIN_API Mat3 reduced_compliance(const PlyConstants& p);

// c = 0 in its ntens×ntens extent, then the 6×6 matrix a in the solver
// layout: its leading block (up to 6×6).
TAVRIN_API void store_layout(const Mat6& a, View<double, 2> c);
// c = 0, then the in-plane matrix q at the in-plane positions of ntens
// components (ntens ≥ 3).
TAVRIN_API void store_plane_layout(const Mat3& q, View<double, 2> c);

// The on-axis stiffness in the layout of sc (ntens×ntens, ntens 3, 4 or 6)
// from one of the property layouts, told apart by their count:
//   2, 5, 9   engineering constants (ply_constants);
//   12        nine constants and then ν21, ν31, ν32;
//   21        the upper triangle of the 6×6 Nye stiffness, column by column;
//   36        the 6×6 Nye stiffness, column-major.
// For three components or plane stress the in-plane entries are taken
// (from a 6×6 matrix without condensation).  The 12- and 36-value forms are
// made symmetric, (C + Cᵀ)/2, unless `unsymmetric`.  Returns false, sc
// zero, for another count or ntens.
TAVRIN_API bool on_axis_stiffness(std::span<const double> props, bool plane_stress, bool unsymmetric,
                                  View<double, 2> sc);

// Lamination invariants U1..U5 of a reduced stiffness Q (11, 22, 12):
//   U1 = (3Q11 + 3Q22 + 2Q12 + 4Q66)/8   U2 = (Q11 - Q22)/2
//   U3 = (Q11 + Q22 - 2Q12 - 4Q66)/8     U4 = (Q11 + Q22 + 6Q12 - 4Q66)/8
//   U5 = (Q11 + Q22 - 2Q12 + 4Q66)/8
TAVRIN_API std::array<double, 5> lamination_invariants(const Mat3& q);

// Transverse shear stiffness of a ply whose axis 1 lies at angle_r to the
// reference axis, rows and columns (23, 13):
//   H = Tᵀ·diag(G23, G13)·T,  T = [[cos θ, -sin θ], [sin θ, cos θ]].
TAVRIN_API SmallMatrix<2, 2> off_axis_shear_stiffness(double g13, double g23, double angle_r);

}  // namespace tavrin::lamina

extern "C" {

// nyeprops(9) from elastic(nelastic), nelastic 2, 5 or 9.
TAVRIN_API void GetNyeProperties(double* nyeprops, const double* elastic, const int* nelastic);
// c(ntens,ntens), ntens 3, 4 or 6; psflag 0 asks for the plane-stress
// entries (absent or other: the full 3-D stiffness).
TAVRIN_API void GetNyeStiffnessMatrix(double* c, const double* props, const int* ntens,
                                      const int* psflag);
TAVRIN_API void GetNyeComplianceMatrix(double* s, const double* props, const int* ntens,
                                       const int* psflag);
// sc(ntens,ntens): the stiffness (scflag ≠ 0) or compliance (scflag 0) from
// props(nprops); psflag, ldflag (ignored) and unsymm optional.
TAVRIN_API void GetGeneralizedNyeOnAxisSC(double* sc, const double* props, const int* ntens,
                                          const int* nprops, const int* scflag, const int* psflag,
                                          const int* ldflag, const int* unsymm);
TAVRIN_API void GetInvariantsFromReducedStiffness(double* u, const double* props, const int* nprops);
TAVRIN_API void GetOffAxisShearRigidMatrix(double* hoff, const double* g13, const double* g23,
                                           const double* dangle);
// stress(ntens) = ddsdde·(strain0 + dstrain) (issekant) or
// stress + ddsdde·dstrain; istensor doubles the shear strains after ndi.
TAVRIN_API void GetStressVector(double* stress, const double* ddsdde, const double* strain0,
                                const double* dstrain, const int* ndi, const int* ntens,
                                const int* issekant, const int* istensor);
TAVRIN_API void GetSpecificStrainEnergy(double* sse, const double* stress, const double* stress0,
                                        const double* strain0, const double* dstrain, const int* ndi,
                                        const int* ntens, const int* issekant, const int* istensor);
// The secant value l·(1 - d) of a property under the nonlinear law nlflag
// (1 Kaestner, 2 Krause, 3 Hahn-Tsai; other: l).
TAVRIN_API double GetMatParamByCurveFitting(const double* l, const double* eta, const double* stress0,
                                            const double* strain0, const double* dstrain,
                                            const int* nlflag);
}
