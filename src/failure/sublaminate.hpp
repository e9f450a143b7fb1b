// Buckling of the sublaminates that delaminations cut off a laminate
// (module `sublaminate`).
//
// The out-of-plane deflection of a sublaminate over the delaminated region
// (an ellipse, a rectangle or the rectangle-tangent shape of sizes a, b along
// the delamination's axes) is a six-term Ritz series.  Its geometric matrix
// is Σ Nk·KGk over the membrane forces (N11 scaled by b/a, N22 by a/b, N12)
// and its stiffness matrix Σ ck·KKk over the reduced bending stiffness D̃:
//
//   c1 = D̃11·b/a³,  c2 = D̃22·a/b³,  c3 = (D̃12 + 2·D̃33)/(a·b),
//   c4 = D̃13/a²,    c5 = D̃23/b².
//
// The critical load factor is 1/λ, λ the dominant eigenvalue of KK⁻¹·KG
// (power iteration).  The peeling analysis removes the sublaminate that
// buckles first under uniaxial compression along the laminate's 1-axis,
// repeats on the stack that remains, and records every buckled sublaminate:
//
//   real record (12): eps, nx/comprstrength, nx, da, db, theta, mode(6)
//   integer record (4): bounding interface, first ply, last ply,
//                       side (0 above its interface or the remaining stack,
//                       1 below it)
//
// Shape codes: 0 none, 1 ellipse, 2 rectangle, 3 rectangle-tangent.  Type
// codes of the shape matrices: 1|11, 2|22, 3|33 (KG: the load components
// N11, N22, N12), and for KK also 4|16, 5|26 (D11, D22, D12 + 2·D33, D13,
// D23).  An unknown type or shape latches -2 and gives a zero matrix.
#pragma once

#include <cstddef>

#include "foundation/api.hpp"
#include "foundation/array.hpp"
#include "foundation/small_matrix.hpp"
#include "mechanics/laminate_stiffness.hpp"

namespace tavrin::sublaminate {

enum class Shape { none = 0, ellipse = 1, rectangle = 2, rectangle_tangent = 3 };
enum class Matrix { geometric, stiffness };

// The shape matrix KG (geometric) or KK (stiffness) of a delamination shape
// (1..3) for a type code; unknown codes latch -2 and give zeros.
TAVRIN_API Mat6 shape_matrix(Matrix kind, int shape, int type);

// Σ Nk·KGk for the membrane forces that nglob (laminate axes) causes in a
// sublaminate of stiffness abd (compliance abdinv) with the delamination's
// first axis at dangle degrees.
TAVRIN_API Mat6 geometric_matrix(const Vec3& nglob, const Mat6& abd, const Mat6& abdinv, double a,
                                 double b, double dangle, int dshape);
// Σ ck·KKk for the reduced bending stiffness dred.
TAVRIN_API Mat6 stiffness_matrix(const Mat3& dred, double a, double b, int dshape);

// An interface counts as delaminated when both sizes are at least 1e-10.
constexpr bool delaminated(const double* dsize) { return dsize[0] >= 1e-10 && dsize[1] >= 1e-10; }

// A ply stack as the library passes it: per ply the nine elastic constants,
// the angle in degrees and the thickness.
struct Plies {
  const double* elastic;
  const double* angle_d;
  const double* thickness;
  int n;

  // Plies first..last (1-based).
  constexpr Plies sub(int first, int last) const {
    return {elastic + 9 * std::ptrdiff_t(first - 1), angle_d + (first - 1), thickness + (first - 1),
            last - first + 1};
  }
};

struct Buckling {
  double eps = 0.0;  // critical strain
  double nx = 0.0;   // critical membrane force over the sublaminate's thickness
  Vec6 mode{};       // unit Ritz coefficients
};

// Buckling of the stack p over a delamination dsize = (da, db, theta in
// degrees) under the membrane-force ratio nglob (laminate axes).
TAVRIN_API Buckling buckling_strain(const Plies& p, const double* dsize, const Vec3& nglob,
                                    int dshape);

// The peeling analysis of p: delamination sizes plydelamination(3, n-1),
// shape codes plydshape(n-1); writes the records into real(12, n-1) and
// integer(4, n-1) (every column zeroed first) and returns epsbuck.  The
// remaining-stack record is dropped when every column holds a buckled
// sublaminate.
TAVRIN_API double peeling_analysis(const Plies& p, double comprstrength,
                                   View<const double, 2> plydelamination, const int* plydshape,
                                   View<double, 2> real, View<int, 2> integer);

}  // namespace tavrin::sublaminate

extern "C" {

TAVRIN_API void GetKGEllipse(double* kg, const int* kgtype);
TAVRIN_API void GetKGRectangle(double* kg, const int* kgtype);
TAVRIN_API void GetKGRectTang(double* kg, const int* kgtype);
TAVRIN_API void GetKKEllipse(double* kk, const int* kktype);
TAVRIN_API void GetKKRectangle(double* kk, const int* kktype);
TAVRIN_API void GetKKRectTang(double* kk, const int* kktype);
TAVRIN_API void GetSubKG(double* subkg, const double* nglob, const double* abd, const double* abdinv,
                         const double* a, const double* b, const double* dangle, const int* dshape);
TAVRIN_API void GetSubKK(double* subkk, const double* dred, const double* a, const double* b,
                         const int* dshape);
// nplies absent: 1 ply.
TAVRIN_API void GetSubLamBucklingStrain(double* eps, double* nx, double* eigvec, const double* dsize,
                                        const double* nglob, const double* plyelastic,
                                        const double* plyorientation, const double* plythickness,
                                        const int* dshape, const int* nplies);
TAVRIN_API void DelaminatedBucklingAnalysis(double* epsbuck, double* bukrealdatalist,
                                            int* bukintdatalist, const double* comprstrength,
                                            const double* plyelastic, const double* plyorientation,
                                            const double* plythickness,
                                            const double* plydelamination, const int* plydshape,
                                            const int* nplies);
// Lists (12 | 4, nplies-1, ndmg, nsec); ndmg, nplies, nsec absent: 1;
// defint absent: 2147483647.
TAVRIN_API void GetBukDataFromDDS(double* bukrealdatalist, int* bukintdatalist,
                                  const double* delamdds, const int* plydshape,
                                  const double* comprstrength, const double* plyelastic,
                                  const double* plyorientation, const double* plythickness,
                                  const int* sectionlist, const int* ndmg, const int* nplies,
                                  const int* nsec, const int* defint);
}
