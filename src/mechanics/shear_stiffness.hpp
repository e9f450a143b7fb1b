// Transverse shear stiffness and transverse shear stress functions of a
// laminate (module `laminate`).
//
// From equilibrium of a plate under cylindrical bending, the transverse
// shear stresses at height z follow from the shear forces R = (R_yz, R_xz)
// through a 2×2 function of z, the "small f":
//
//   M(z)  = partial A(z)·fa - partial B(z)·fb,   fa = A⁻¹ B D̃⁻¹, fb = D̃⁻¹
//   M'    = Tσ·M·Tεᵀ   (M in the axes of the dominant ply direction θd)
//   f(z)  = R2ᵀ·diag(M'22, M'11)·R2,  R2 = [[c, -s], [s, c]], c, s of θd
//
// so f11 = c² d1 + s² d2, f22 = s² d1 + c² d2, f12 = f21 = c s (d2 - d1)
// with d1 = M'22, d2 = M'11.  Stored in a row of four: f11, f21, f12, f22.
//
// The shear stiffness H (2×2, rows and columns 23, 13) is the inverse of the
// complementary energy Σk ∫ fᵀ·Ck⁻¹·f dz of unit shear forces (Ck the ply's
// shear stiffness), by one of three methods:
//   0  shear-correction factors k: H(i,j) = √(k_i k_j)·Σ Ck tk;
//   1  the small f with a three-point Gauss rule in every ply ("improved
//      shear", the default);
//   2  a four-point Gauss rule on the partial-stiffness functions
//      FG(z) = I1(z)·B* - I2(z)·D*.
// A homogeneous plate gives H = 5/6·G·h by every method.
#pragma once

#include "foundation/api.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/laminate_stiffness.hpp"
#include "mechanics/partial_integrals.hpp"

namespace tavrin::laminate {

// The small f of a stack with its shear factors fa, fb and its dominant
// ply direction.
class ShearStressFunction {
 public:
  TAVRIN_API ShearStressFunction(const Stack& s, const ShearFactors& factors);
  // fa and fb of the stack's own ABD.
  explicit ShearStressFunction(const Stack& s) : ShearStressFunction(s, shear_factors(abd(s))) {}

  // f at a height where the partial integrals are p.
  TAVRIN_API Mat2 at(const PartialAB& p) const;

 private:
  ShearFactors f_;
  double c_, s_;
  Mat3 t_stress_, t_strain_transposed_;
};

// f at the rows of a section z table (2n+1 heights: bottom and middle of
// every ply, then the top face), into smallf(rows, 4) with the row stride
// `ld` (the table's leading extent).
TAVRIN_API void section_shear_functions(const Stack& s, const double* z, double* smallf, int ld);

// H by each method.
TAVRIN_API Mat2 shear_stiffness_improved(const Stack& s);
TAVRIN_API Mat2 shear_stiffness_quadrature(const Stack& s);
TAVRIN_API Mat2 shear_stiffness_corrected(const Stack& s);
// The shear-correction factors of a stack whose plain shear stiffness is
// hlam (Σ Ck tk): (1, 1) for a laminate without bending stiffness.
TAVRIN_API SmallVector<2> shear_correction_factors(const Stack& s, const Mat2& hlam);
// Σ Ck tk.
TAVRIN_API Mat2 plain_shear_stiffness(const Stack& s);
// method 0 corrected, 2 quadrature, any other improved.
TAVRIN_API Mat2 shear_stiffness(const Stack& s, int method);

// The F/G functions of a section on curved shells: the rows of fg(ld, 4)
// at the heights z (2n+1, two points per ply), for the curvatures xycurv =
// (k1, k2); csflag ≠ 0 the curved-shell combinations, 0 the curved-metric
// integrals; fgflag < 1 with (A*, B*), else (B*, D*).
TAVRIN_API void section_fg(const Stack& s, const double* z, double k1, double k2, int csflag,
                           int fgflag, double* fg, int ld);

}  // namespace tavrin::laminate

extern "C" {

// smallf(2,2) at zcrd in ply iply (1..nplies, else refused: -3, zero) for
// the factors fa, fb (3,3).
TAVRIN_API void GetSmallFMatrix(double* smallf, const double* plyelastic, const double* plyorientation,
                                const double* plythickness, const double* zcrd, const double* fa,
                                const double* fb, const int* iply, const int* nplies);
// plysmallf(2·nplies+1, 4, nsec) at the rows of plyzcoord(2·nplies+1, nsec);
// undefined sections and sections without elastic constants stay zero.
TAVRIN_API void GetSectionFMatrix(double* plysmallf, const int* sectionlist, const double* plyorientation,
                                  const double* plythickness, const double* plyzcoord,
                                  const double* plyelastic, const int* nplies, const int* nsec,
                                  const int* defint);
TAVRIN_API void GetHMatrixImprovedShear(double* hext2d, const double* plyelastic,
                                        const double* plyorientation, const double* plythickness,
                                        const int* nplies);
TAVRIN_API void GetHMatrixQuadrature(double* hquad, const double* plyelastic, const double* plyorientation,
                                     const double* plythickness, const int* nplies);
TAVRIN_API void GetShearCorrectFactors(double* sk, const double* hlam, const double* plyelastic,
                                       const double* plyorientation, const double* plythickness,
                                       const int* nplies);
TAVRIN_API void GetHMatrixShearCorrect(double* hshear, const double* plyelastic,
                                       const double* plyorientation, const double* plythickness,
                                       const int* nplies);
// sehmatrix(2,2,nsec); method (optional, 1) as shear_stiffness; defint
// optional (2147483647).
TAVRIN_API void GetSectionHMatrix(double* sehmatrix, const int* sectionlist, const double* plyorientation,
                                  const double* plythickness, const double* plyelastic, const int* nplies,
                                  const int* nsec, const int* method, const int* defint);
// fg(2·nplies+1, 4, nsec); xycurv(2) optional ((0, 0)), defint optional.
TAVRIN_API void GetArbitrarySectionFG(double* fg, const int* sectionlist, const double* plyorientation,
                                      const double* plythickness, const double* plyzcoord,
                                      const double* plyelastic, const int* nplies, const int* nsec,
                                      const int* csflag, const int* fgflag, const double* xycurv,
                                      const int* defint);
}
