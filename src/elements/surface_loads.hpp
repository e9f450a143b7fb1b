// Impact and surface loads, amplitude and hysteresis curves (module
// `sldcollection`).
//
// The impactors of an impact analysis become loads for the host solver's
// load routines: a pressure at a point of a loaded surface (dsload), a load
// on a named element set (deload) and a concentrated force (cload).  The
// pressure follows a distribution law over the contact region around the
// impactor, centred at (r0, s0) with the two lengths a and b:
//   Hertzian   3F/(2π·a·b)·√(1 - (r-r0)²/a² - (s-s0)²/b²)   (over its ellipse)
//   Parabolic  3F/(8ab)·(1 - (r-r0)²/(a² + ab) - (s-s0)²/(b² + ab))
//   Cosine     F/(ab)·cos(π(r-r0)/a)·cos(π(s-s0)/b)          (Sine: with sin)
//   Pyramidal  F/(ab)·(1 - |r-r0|/a)·(1 - |s-s0|/b)
//   Uniform    F/(4ab)
// Parabolic, Pyramidal and Uniform carry F over [r0 ± a] × [s0 ± b].  The
// lengths are not guarded: a zero length gives the IEEE result.
//
// Impactor record cprops(20, nimp): 1 the force, 2 the contact radius, 18
// the half-size of the element-set load.  Load record dprops(12, nimp),
// kept up to date by dsload: 1 the law code (1 point, 2 uniform, 3
// pyramidal, 4 parabolic, 5 Hertzian, 6 automatic, 7 sine, 8 cosine, 9
// edge), 2-4 the impactor position, 5 the element nearest to it, 6 and 7 the
// smallest and largest in-plane distance of a point of that element, 8 and
// 9 the distances of its nearest point and 10 and 11 of its farthest point,
// each measured in the global planes of the dominant axes of dircos columns
// (1, 3) and (2, 3).
//
// Curves xydata(ndata): the ndata/2 abscissas, then the ordinates.  Both
// curve routines interpolate with the monotone cubic Hermite curve and
// never end the process: a single usable point gives its ordinate, none 0,
// abscissas that do not increase strictly the warning (status -2)
// "Warning: Abscissas do not increase strictly in %S" and 0; an odd ndata
// "Warning: Mismatch between x- and y-values in %S" (status -2) and 0.  The
// curve's name ("TVR_AMPL", "TVR_HYST") goes into the character-code detail
// of the latch.
#pragma once

#include <string_view>

#include "foundation/api.hpp"

namespace tavrin::sldcollection {

// alpha: the pressure at coords from all impactors in step kstep (whose kind
// is read from the job data); t_user becomes -dircos(:,3); dprops is
// updated in place.  elemid is the host element number of the point.
TAVRIN_API void dsload(double& alpha, double* t_user, const int& kstep, const double* coords,
                       const double* dircos, const double* cprops, double* dprops, const int& nimp,
                       const int& elemid);
// alpha: the load on the element set sname from the impactors whose number
// stands in sname as a whole number; t_user becomes -dircos(:,3).
TAVRIN_API void deload(double& alpha, double* t_user, const int& kstep, const int& kinc,
                       const double* time, const int& noel, const int& npt, const double* coords,
                       const double* dircos, const int& jltyp, std::string_view sname,
                       const double* cprops, const double* dprops, const int& nimp);
// f: the concentrated force cforce/2.5e-07 of a point load (code 1 with
// cforce ≥ 0, or code -1), reduced by the symmetry words of sname; ldflag 0
// is taken from the law words of sname.
TAVRIN_API void cload(double& f, double& ldflag, const double& cforce, std::string_view sname);

}  // namespace tavrin::sldcollection

extern "C" {

// amp: the loading branch of the curve while xvalue rises, the unloading
// branch (the points in reverse order) from the first fall on; passed holds
// the largest xvalue reached, or the largest double once unloading began.
TAVRIN_API void CHYSTERESIS(double* amp, double* passed, const double* xydata, const double* xvalue,
                            const int* ndata, const int* skip);
TAVRIN_API void CAMPLITUDE(double* amp, const double* xydata, const double* xvalue,
                           const int* ndata, const int* skip);

TAVRIN_API double HertzianSurfaceLoad(const double* f, const double* rcorr, const double* scorr,
                                      const double* r0, const double* s0, const double* rcontradius,
                                      const double* scontradius);
TAVRIN_API double ParabolicSurfaceLoad(const double* f, const double* rcorr, const double* scorr,
                                       const double* r0, const double* s0,
                                       const double* relementlength, const double* selementlength);
TAVRIN_API double CosineSurfaceLoad(const double* f, const double* rcorr, const double* scorr,
                                    const double* r0, const double* s0,
                                    const double* relementlength, const double* selementlength);
TAVRIN_API double SineSurfaceLoad(const double* f, const double* rcorr, const double* scorr,
                                  const double* r0, const double* s0, const double* relementlength,
                                  const double* selementlength);
TAVRIN_API double PyramidalSurfaceLoad(const double* f, const double* rcorr, const double* scorr,
                                       const double* r0, const double* s0,
                                       const double* relementlength, const double* selementlength);
TAVRIN_API double UniformSurfaceLoad(const double* f, const double* relementlength,
                                     const double* selementlength);
}
