// Fibre-breakage criteria of a unidirectional ply (module `fbcollection`).
//
// Each returns a fibre effort (1.0 marks failure) from the ply stresses
// (solver order 11, 22, 33, 12, 13, 23) and strengths (positive
// magnitudes) it is given:
//
//   LaRC05       s11/xt11 in tension; in compression the kink-band
//                effort, the largest over the kink-plane angle ψ in [0, π]
//                (angle search of angle_search.hpp) of
//                  (τa/(x12 - ηL σn))² + (τb/(ST - ηT σn))² + (⟨σn⟩/xt22)²
//                with (σn, τa, τb) = (σm22, σm12, σm23) the traction on the
//                plane normal to axis 2 of the kink frame (kink_band.hpp)
//   LaRC05_is    the same with in-situ strengths, counted only beyond half
//                the kinking strength
//   LaRC04       the same frame at the closed-form kink plane
//                ψ = ½ atan(2 s23/(s22 - s33)), no search
//   Chang-Chang, Hashin, Christensen, Bahei-El-Din: closed forms
//
// Angles are given in degrees.  Optional arguments (null pointers in the C
// routines) take a0 = 53°, sainc = 5°, gsflag = fcl = 0, alpha = 1.
#pragma once

#include <array>
#include <optional>

#include "failure/kink_band.hpp"
#include "foundation/api.hpp"

namespace tavrin::fbcollection {

using failure::Stress6;

// The kink-band search's settings: a0 and sainc in degrees, golden section
// when gsflag is 1; fcl non-zero switches fibre compression off.
struct KinkSearch {
  std::optional<double> a0;
  std::optional<double> sainc;
  int gsflag = 0;
  int fcl = 0;
};

TAVRIN_API double larc05(const Stress6& s, double xt11, double xc11, double xt22, double xc22,
                         double x12, double g12, const KinkSearch& search = {});
// x_is(9): in-situ strengths, entries equal to 0.0 falling back to the
// standard ones (1 xt11, 2 YTb, 3 YTa, 4 XCk, 7 SLb, 8 SLa, 9 ST).
TAVRIN_API double larc05_is(const Stress6& s, double xt11, double xc11, double xt22, double x23,
                            double x12, double g12, const KinkSearch& search,
                            const std::array<double, 9>& x_is);
// gc = (GIc, GIIc) or absent (g = 0.35 held in single precision).
TAVRIN_API double larc04(const Stress6& s, double xt11, double xc11, double xt22, double xc22,
                         double x12, double e11, double e22, double g12, double nu12,
                         std::optional<std::array<double, 2>> gc, std::optional<double> a0, int fcl);

// Bahei-El-Din's stress vector of 3 (11, 22, 12), 4 (11, 22, 33, 12) or at
// least 6 (solver order) components in the solver order; nullopt (and a
// latched status -3) for any other count.
TAVRIN_API std::optional<Stress6> bahei_stress(const double* v, int nstress, const char* routine);

// The largest of a criterion's mode efforts (and 0); failmode, when it came
// in negative and the effort is at least 1.0, becomes the 1-based number of
// the largest mode, the first on ties.
template <std::size_t N>
double largest_mode(const std::array<double, N>& modes, int* failmode) {
  double r = 0.0;
  int which = 0;
  for (std::size_t k = 0; k < N; ++k)
    if (modes[k] > r) r = modes[k], which = int(k) + 1;
  for (double m : modes)
    if (m != m) r = m;  // a mode that is not a number
  if (failmode && *failmode < 0 && r >= 1.0) *failmode = which;
  return r;
}

}  // namespace tavrin::fbcollection

extern "C" {

TAVRIN_API void FBLaRC05(double* rfb, const double* s11, const double* s22, const double* s33,
                         const double* s12, const double* s13, const double* s23, const double* xt11,
                         const double* xc11, const double* xt22, const double* xc22,
                         const double* x12, const double* g12, const double* a0,
                         const double* sainc, const int* gsflag, const int* fcl);
TAVRIN_API void FBLaRC05_is(double* rfb, const double* s11, const double* s22, const double* s33,
                            const double* s12, const double* s13, const double* s23,
                            const double* xt11_std, const double* xc11_std,
                            const double* xt22_std, const double* x23_std, const double* x12_std,
                            const double* g12, const double* a0, const double* sainc,
                            const int* gsflag, const int* fcl, const double* x_is);
TAVRIN_API void FBLaRC04(double* rfb, const double* s11, const double* s22, const double* s33,
                         const double* s12, const double* s13, const double* s23, const double* xt11,
                         const double* xc11, const double* xt22, const double* xc22,
                         const double* x12, const double* e11, const double* e22,
                         const double* g12, const double* nu12, const double* gc,
                         const double* a0, const int* fcl);
// sqrt(s11²/X1² + s12²/x12²)
TAVRIN_API void FBChangChang(double* rfb, const double* s11, const double* s12, const double* xt11,
                             const double* xc11, const double* x12);
// sqrt(alpha·((s12/x12)² + (s13/x13)²) + (s11/X1)²)
TAVRIN_API void FBHashin(double* rfb, const double* s11, const double* s12, const double* s13,
                         const double* xt11, const double* xc11, const double* x12,
                         const double* x13, const double* alpha);
// 2Q/(√(L² + 4Q) - L) of the fibre terms; a note (status -1) and 0 where
// the root is negative or the denominator vanishes.
TAVRIN_API void FBChristensen(double* rfb, const double* s11, const double* s22, const double* s33,
                              const double* xt11, const double* xc11);
// The largest of fibre tension, longitudinal shear, transverse shear and
// transverse normal modes.
TAVRIN_API void FBBahei(double* rfb, const double* stressvector, const double* xlnorm,
                        const double* xtnorm, const double* xlshear, const double* xtshear,
                        const double* mu, const int* nstress, int* failmode);
}
