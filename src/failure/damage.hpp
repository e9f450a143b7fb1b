// Failure-mode drivers (module `damage`).
//
// Each driver evaluates one damage mode of a ply at a material point: it
// reads the ply's strengths (and elastic constants) of column (layer, isec)
// of the material tables, picks a criterion of the failure collections by
// its flag and returns the pair (f, r): r the criterion's effort, f = 1 when
// r ≥ 1 (a NaN effort fails nothing).  Flag 0 evaluates nothing, (0, 0).
//
//   psprops(10, nlayer, nsec):  xt11 xt22 xt33 xc11 xc22 xc33 x12 x13 x23 ilss
//   peprops(9, nlayer, nsec):   E1 E2 E3 ν12 ν13 ν23 G12 G13 G23
//   plystress(6):               s11 s22 s33 s12 s13 s23
//
// An unlisted flag latches -2 ("Warning: Default case in ... subroutine"),
// an index that selects no table column -3; both give (0, 0).
#pragma once

#include "foundation/api.hpp"

namespace tavrin::damage {

// Drivers of the general, fibre, delamination and core-crushing modes; the
// matrix-cracking driver is the C name MatrixCracking.
TAVRIN_API void generalfailure(double* fgp, double* rgp, const double* plystress, const double* psprops,
                               const double* plyorientation, const int* layer, const int* nlayer,
                               const int* isec, const int* nsec, const int* gpflag);
TAVRIN_API void fiberbreakage(double* ffb, double* rfb, const double* plystress, const double* peprops,
                              const double* psprops, const double* plyorientation, const int* layer,
                              const int* nlayer, const int* isec, const int* nsec, const int* fbflag);
// The interface between ply layer (lower) and layer + 1 (upper): s33i the
// normal stress on it, lplystress and uplystress the two plies' stresses.
TAVRIN_API void delamination(double* fdel, double* rdel, const double* s33i, const double* lplystress,
                             const double* uplystress, const double* peprops, const double* psprops,
                             const double* plyorientation, const double* plythickness, const int* layer,
                             const int* nlayer, const int* isec, const int* nsec, const int* delflag);
TAVRIN_API void corecrushing(double* fcc, double* rcc, const double* plystress, const double* psprops,
                             const double* plyorientation, const int* layer, const int* nlayer,
                             const int* isec, const int* nsec, const int* ccflag);

// Marker of a criterion parameter not given.
inline constexpr double not_given = 1.7976931348623157e308;

}  // namespace tavrin::damage

extern "C" {

// pdprops(nprops, nlayer, nsec): the criterion parameters of the ply, up to
// the first entry equal to defreal (absent: 1.7976931348623157e308).
// outtheta, when given and negative, receives the fracture angle (radians)
// of a failing evaluation.
TAVRIN_API void MatrixCracking(double* fmc, double* rmc, const double* plystress, const double* peprops,
                               const double* psprops, const double* pdprops,
                               const double* plyorientation, const int* layer, const int* nlayer,
                               const int* isec, const int* nsec, const int* nprops, const int* mcflag,
                               double* outtheta, const double* defreal);
}
