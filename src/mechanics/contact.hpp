// Low-velocity impact on a plate: the contact laws of module `interaction`
// and the permanent-indentation laws of module `permcollection`.
//
// ContactLaw is the residual of the contact-force equation in the shape of
// the root finders' call-back (math::RootFunction), so that the impact
// elements hand it straight to bdsafe with clflag as the selector:
//   f(x) = k·δⁿ − x,  δ = d − a0 − c·x,
// k = args(1) (or, for clflag 1, the positive value of a stiffness table at
// x), d = args(2) − args(4), c = |args(3) + args(5)|, n = args(6),
// a0 = args(7); clflag 1 reads the table (x1..xns, k1..kns) from args(8),
// ns = (numargs − 7)/2.  Where δ < 0 leaves δⁿ undefined the bodies have
// separated: no force, f = −x, f' = −1.
//
// Argument vectors are read only up to numargs; one too short for the flag
// latches -2 "<Routine>: too few arguments for the flag" and returns the
// neutral result (ContactLaw: no force; radius and depth: the not-given
// marker 1.7976931348623157e308; ContactStiffness: eeff 0, k untouched).
#pragma once

#include "foundation/api.hpp"

namespace tavrin::interaction {

inline constexpr double not_given = 1.7976931348623157e308;

}  // namespace tavrin::interaction

extern "C" {

// clflag 0, 1, 2 (other: -3 "Unknown contact law flag", fx and dfx kept).
// A NaN left in fx becomes 0, in dfx −1.
TAVRIN_API void ContactLaw(double* fx, double* dfx, const double* xold, const double* args,
                           const int* numargs, const int* clflag);
// Hertzian contact stiffness k and effective modulus eeff; args = (r1, h,
// E1, ν1, κ, -, E2, ν2, n, F, A, Z, P).  csflag 0 Hertz, 1 rigid-tip Hertz,
// 2 F/(A − Z)ⁿ, 3 power law, 6 plate-thickness law; 4 and 5 latch -3 (not
// implemented), others -3 "Unknown contact stiffness flag".
TAVRIN_API void ContactStiffness(double* k, double* eeff, const double* args, const int* numargs,
                                 const int* csflag);
// Contact radius under force args(1), modulus args(2), radius args(3):
// cdflag 0-4 (3FR/(4E))^(1/3), 5-6 cylinder √(4FR/(Eπ·args(4))).
TAVRIN_API void ContactRadius(double* radius, const double* args, const int* numargs,
                              const int* cdflag);
// Indentation depth: cdflag 0 Hertz (9F²/(16·R·E*²))^(1/3) with F = args(1),
// R = args(2), E* = args(3) (the impactor elements' order); 1 args(1)/(2·args(2)·args(3));
// 2 π·args(4)/2.
TAVRIN_API void ContactDepth(double* indentation, const double* args, const int* numargs,
                             const int* cdflag);
// Which element lies under each impactor: records dprops(12, nimp) (position
// 2-4, nearest element 5, nearest distance 6, half element lengths 8-11);
// elemlength(3) optional.
TAVRIN_API void ContactArea(double* dprops, const double* coord, const int* noel, const int* nimp,
                            const double* elemlength);
// yc·(1 − ν)/(1 − 2ν)² (the factor squared, as the impact model uses it).
TAVRIN_API double GetHugonoitElasticLimit(const double* yc, const double* nu);

TAVRIN_API void PIAirbus(double* a0, const double* tges, const double* delarea);
TAVRIN_API void PISuresh(double* a0, double* a1, const double* amax, const double* acr,
                         const double* kcce, const int* lbnds, const int* llesscrit);
TAVRIN_API void PITanSunNonLinear(double* a0, const double* amax, const double* acr);
TAVRIN_API void PITanSunLinear(double* a0, const double* amax, const double* acr, const double* ksc);
}
