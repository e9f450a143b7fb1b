// Crushing criteria of a sandwich core (module `cccollection`), evaluated
// at the upper, middle and lower station of the core: the normal stress
// s33 of each station and its pair of transverse shears tao(2) = (τ23, τ13),
// the core's compressive strength xc33 and shear strengths x13, x23.
//
// A station in compression (or unloaded, s33 ≤ 0) has the effort
//   Petras    s33/xc33 + τ23/x23 + τ13/x13              (signed terms)
//   Besant    (|s33|ⁿ/xc33ⁿ + |τ23|ⁿ/x23ⁿ + |τ13|ⁿ/x13ⁿ)^(1/n)
// a station in tension 1e-20; the result is the largest station effort,
// stations that are not a number skipped (not a number when all are).
#pragma once

#include "foundation/api.hpp"

extern "C" {

TAVRIN_API void CCPetras(double* rcc, const double* s33u, const double* s33m, const double* s33l,
                         const double* taou, const double* taom, const double* taol,
                         const double* xc33, const double* x13, const double* x23);
TAVRIN_API void CCBesant(double* rcc, const double* s33u, const double* s33m, const double* s33l,
                         const double* taou, const double* taom, const double* taol,
                         const double* xc33, const double* x13, const double* x23,
                         const double* besantexponent);
}
