// Compression strength of a laminate specimen from a stress distribution
// measured across its width (module `dic`), and two knock-down factors: the
// buckled sublaminates a delamination leaves in the stack, and a central
// open hole.
//
// The measured compressive stress at each point is weighted towards the
// edges, w = 1 + alpha·√(2·|coordinate/width|); the governing point of the
// weighted curve is scaled to the compression strength, and the test load,
// strain and stress with it.  fresult(4): failure load, failure strain,
// failure stress, |coordinate| of the governing point.
#pragma once

#include "foundation/api.hpp"

extern "C" {

// fcomprstressdistribution(nstress, 2): the measured and the weighted stress
// magnitudes scaled to failure, in ascending order of coordinate.  A walk
// that reaches both ends of the curve latches -1 (the results still come).
TAVRIN_API void GetComprFailurebyDIC(double* fresult, double* fcomprstressdistribution,
                                     const double* avgcomprstress, const double* coords,
                                     const double* plythickness, const double* alpha,
                                     const double* comprstrength, const double* load,
                                     const double* displacement, const double* length,
                                     const double* width, const int* nplies, const int* nstress);
// (2r)^r, r = 1 - s/t, s the thickest run of consecutive plies with equal
// buckling ratios (bukrealdatalist(2, ·) over plies bukintdatalist(2..3, ·),
// columns with 1 ≤ first ≤ last ≤ nplies); 1.0 for r = 0.
TAVRIN_API double GetDmgInfluenceFactor(const double* plythickness, const double* bukrealdatalist,
                                        const int* bukintdatalist, const int* nplies);
// kt·(ρ^(1+ρ) - ρ²) + |(A11 + A12)/(2·A22·((kt - 3)² + 1)) - ν12|,
// ρ = 2·radius/width, ν12 the laminate's membrane Poisson's ratio.
TAVRIN_API double GetCentralOpenHoleFactor(const double* plyelastic, const double* plyorientation,
                                           const double* plythickness, const double* kt,
                                           const double* radius, const double* width, const int* nplies);
}
