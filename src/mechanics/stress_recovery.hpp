// Through-thickness stress recovery on one section (module `laminate`): the
// transverse stresses of a shell from its in-plane stresses, the derivatives
// of its shear forces and the section's small-f table.
//
// One section's tables have the rows of the section z table: 2k-1 the bottom,
// 2k the middle and 2k+1 the top of ply k (2n+1 rows).  A row of a small-f
// table (c1, c2, c3, c4) is the 2×2 f = [[c1, c2], [c3, c4]].
//
// Transverse normal stress.  Equilibrium in the thickness direction gives
// ∂σ33/∂z = g(z) with g = -(c1 ∂R1/∂y + c2 ∂R2/∂y + c3 ∂R1/∂x + c4 ∂R2/∂x) at
// every row; in each ply g is the parabola through its three rows, integrated
// exactly, from σ33 = 0 at the bottom face upwards or from a given value at
// the top face downwards.
//
// Curved membrane integral.  For a membrane stress s linear in every ply
// (its bottom and top values given), the integral on a shell of curvatures
// ki, kj:  S(z) = -ki ∫ s(ζ)(1 - kj ζ) dζ / ((1 - ki z)(1 - kj z)), from the
// bottom face to z.
#pragma once

#include "foundation/api.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/laminate_stiffness.hpp"

namespace tavrin::laminate {

// The integrals of the parabola through (z1, g1), (z2, g2), (z3, g3) from z1
// to z2 and from z1 to z3; 0 for a ply of no thickness (z1 = z3).
struct PlyIntegrals {
  double to_middle = 0.0, to_top = 0.0;
};
TAVRIN_API PlyIntegrals parabola_integrals(const double* z, const double* g);

// f at zpos from the three rows of a ply by quadratic Lagrange
// interpolation through their heights z(3) and tables f(3).
TAVRIN_API Mat2 interpolate_f(const double* z, const Mat2* f, double zpos);

}  // namespace tavrin::laminate

extern "C" {

// sint(nzcrd) of sbt(2·nplies) (bottom and top values of every ply) at the
// heights plyzcoord(nzcrd), three per ply (plysectionpoint all 3; other
// counts are refused: -3, zero).
TAVRIN_API void GetIntegralOfMembraneNormalStress(double* sint, const double* sbt, const double* plyzcoord,
                                                  const int* plysectionpoint, const double* ki,
                                                  const double* kj, const int* nzcrd, const int* nplies);
// s33(2·nplies+1) from rdx(2), rdy(2), zcoord(2·nplies+1) and
// smallfmatrix(2·nplies+1, 4): 0 at the bottom face, or s33bc at the top.
TAVRIN_API void GetNormalStressFromBottom(double* s33, const double* rdx, const double* rdy,
                                          const double* zcoord, const double* smallfmatrix,
                                          const int* nplies);
TAVRIN_API void GetNormalStressFromTop(double* s33, const double* rdx, const double* rdy,
                                       const double* s33bc, const double* zcoord,
                                       const double* smallfmatrix, const int* nplies);
// xytss(nplies·nspt, 2): the transverse shear stresses f·r of the nspt
// section points of every ply (bottom row for the first, top row for the
// last or only one, middle row otherwise), turned by the ply angle.
TAVRIN_API void GetExt2DShearStress(double* xytss, const double* r, const double* plyorientation,
                                    const double* smallfmatrix, const int* nspt, const int* nplies);
// afmat(2,2): f at zpos in ply iply (1..nplies, else refused: -3, zero);
// a height outside the ply is reported (-2) and extrapolated.
TAVRIN_API void GetArbitrarySmallF(double* afmat, const int* iply, const double* zpos,
                                   const double* zcoord, const double* smallfmatrix, const int* nplies);
}
