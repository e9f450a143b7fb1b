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

// Damage definitions and point-in-damage tests.
//
// The known damages live in `damagedata`: per mode a descriptor (3, plies,
// ndmg) whose rows 1 and 2 are the half-axes of the damage's elliptic
// footprint in a ply (delamination: per interface, row 3 its angle),
// `dmgplane`(:, idmg) the damage's origin (entries 1-3) and angle (the last
// given entry, degrees; 0 when fewer than four are given), and optional
// polygon footprints `dmgpoints`(:, ply, mode, idmg) of (x, y, z) triples
// filled up with 1.7976931348623157e308.  Mode ids: 1 general, 2 fibre,
// 3 matrix, 4 delamination, 5 core.
//
// The mode flags of a point (sdv, the 12 slots 7-18 of its damage state
// variables): 1-5 the five modes, 6 buckled delamination (0 or 1), 7-11 the
// efforts (not touched here), 12 the buckled-delamination factor.
extern "C" {

// Whether the point lies in a damage footprint: the polygon of
// dmgpoints(:, layid, modeid, dmgid) when it holds at least two points,
// else the ellipse of half-axes a, b at dmgangle + plyangle (degrees), both
// in the plane (dmgorigin, dmgcos).  False when skip.
TAVRIN_API int PointInDamage(const double* point, const double* dmgcos, const double* dmgorigin,
                             const double* dmgangle, const double* plyangle, const double* a,
                             const double* b, const int* modeid, const int* dmgid, const int* layid,
                             const int* skip);
// Raises the mode flags sdv(1..6) of a point of ply ilay, section isec, for
// the damages it lies in, and lowers sdv(12) to the buckling ratio of a
// buckled delamination holding it (1.0 otherwise, once delamination data
// exist).  Builds the buckling lists on first use.
TAVRIN_API void GetDamageFromDDS(double* sdv, const double* gpcoords, const double* refcos,
                                 const int* ilay, const int* isec);
// Grows the half-axes of damage idmg in ply ilay so that they reach the
// point, for every mode whose flag sdv(1..5) is at least 1; allocates the
// damage arrays when missing.  ierror 0 (1 when ilay, isec or idmg select
// nothing, latched -3).
TAVRIN_API void UpdateDDS(int* ierror, const double* sdv, const double* gpcoords,
                          const double* refcoords, const double* refcos, const int* ilay,
                          const int* isec, const int* idmg);
}

namespace tavrin::damage {
// halfaxis(2) grown to the extent of the point along the damage's axes
// (angle theta, degrees, in the plane of refcos columns 1 and 2) when
// mdmg ≥ 1.
TAVRIN_API void getextentofprojecteddamage(double* halfaxis, const double* gpcoords,
                                           const double* refcoords, const double* refcos,
                                           const double* theta, const double* mdmg);
}  // namespace tavrin::damage
