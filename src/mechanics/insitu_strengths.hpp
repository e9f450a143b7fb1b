// In-situ strengths of a ply embedded in a laminate (module `isscollection`).
//
//   LaRC04          transverse tensile and in-plane shear strength of a thick
//                   (t > tlim) or thin ply from its fracture toughnesses
//   Chang-Lessard   the same raised by the angle to the neighbouring plies
//   Puck            compressive strength of a ply under uniaxial compression
//                   at an angle to its fibres, from the fibre limit and the
//                   inter-fibre limit of the plane-stress action-plane model
#pragma once

#include <array>

#include "foundation/api.hpp"

namespace tavrin::isscollection {

// elastic = (E11, E22, ν12, G12), gxc = (GIc, GIIc); returns (YT, S):
//   t > tlim:  (1.12·√2·xt22, √2·x12)
//   t ≤ tlim:  (√(8GIc/(2πt(1/E22 - ν12²/E11))), √(8GIIc·G12/(πt)))
TAVRIN_API std::array<double, 2> larc04(const std::array<double, 4>& elastic,
                                        const std::array<double, 2>& gxc, double xt22, double x12,
                                        double t, double tlim);
// s = sin(dtmin_d degrees), atod = (a, b, c, d):
//   ((1 + a·s/tratio^b)·xt22, (1 + c·s/tratio^d)·ilss)
TAVRIN_API std::array<double, 2> chang_lessard(double xt22, double ilss, double tratio, double dtmin_d,
                                               const std::array<double, 4>& atod);
// theta in degrees; pc = p⊥∥ for compression, qc = p⊥⊥ for compression.
TAVRIN_API double puck_off_axis_compression(double xc11, double xc22, double x12, double theta,
                                            double pc, double qc);

}  // namespace tavrin::isscollection

extern "C" {

// ys(2); tlim optional (0.0007 when absent).
TAVRIN_API void InSituLaRC04(double* ys, const double* elastic, const double* gxc, const double* xt22,
                             const double* x12, const double* t, const double* tlim);
// ys(2); atod(4) optional ((1.3, 0.7, 0.0, 1.0) when absent).
TAVRIN_API void InSituChangLessard(double* ys, const double* xt22, const double* ilss,
                                   const double* tratio, const double* dtmin_d, const double* atod);
// gp(4) = (p⊥∥ tension, p⊥∥ compression, p⊥⊥ tension, p⊥⊥ compression),
// optional ((0.3, 0.2, 0.15, 0.15) when absent); entries 2 and 4 are read.
TAVRIN_API void InSituPuckPS(double* xc, const double* xc11, const double* xc22, const double* x12,
                             const double* theta, const double* gp);
}
