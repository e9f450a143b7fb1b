// Matrix-cracking (inter-fibre failure) criteria of a unidirectional ply
// (module `mccollection`).
//
// Action-plane criteria search the angle θ of the fracture plane, the plane
// through the fibre axis with normal (0, -sin θ, cos θ), for the largest
// effort of the traction (σn, τn1, τnt) on it (angle_search.hpp): LaRC05,
// LaRC04, VDI 2014, SPC3D, Camanho, Wiegand and Puck.  They return the
// effort and, when it reaches 1.0 and the caller asked with a negative
// outtheta, the fracture angle in radians.  Cuntze's criteria are written on
// the transversely isotropic invariants; the others are closed forms.
//
// Stresses in the solver order, strengths positive magnitudes, angles given
// in degrees (a0, sainc, salims).  A null optional pointer of a C routine
// takes a0 = 53°, sainc = 5° (SPC3D: 2°), gsflag = fcl = 0 and the Python
// defaults of the parameter vectors.
#pragma once

#include <array>
#include <optional>

#include "foundation/api.hpp"

namespace tavrin::mccollection {

// The transverse stresses a fracture plane sees: s22, s33, s12, s13, s23.
struct Transverse {
  double s22, s33, s12, s13, s23;
};

// The fracture-plane search's settings (sainc in degrees; golden section
// when gsflag is 1).
struct PlaneSearch {
  std::optional<double> sainc;
  int gsflag = 0;
};

// Each searched criterion returns the effort and updates *outtheta (when
// not null) as described above.
TAVRIN_API double larc05(const Transverse& s, double xt22, double xc22, double x12,
                         std::optional<double> a0, double* outtheta, const PlaneSearch& search = {});
TAVRIN_API double camanho(const Transverse& s, double xt22, double xc22, double x12, double x23,
                          double* outtheta, std::optional<double> a0, const PlaneSearch& search = {});
TAVRIN_API double wiegand(const Transverse& s, double xt22, double xc22, double x12,
                          double* outtheta, std::optional<double> a0, const PlaneSearch& search = {});
// gp = (p⊥∥+, p⊥∥-, p⊥⊥+, p⊥⊥-); *tcflag (when not null) becomes -1 for a
// fracture under compression on the plane reported, +1 under tension, when
// the effort reaches 1.0.
TAVRIN_API double puck(const Transverse& s, double xt22, double xc22, double x12, double* outtheta,
                       const std::array<double, 4>& gp, const PlaneSearch& search = {},
                       int* tcflag = nullptr);
// gp as for puck; wp = the weakening parameters of the fibre-parallel stress.
TAVRIN_API double vdi2014(double s11, const Transverse& s, double xt11, double xc11, double xt22,
                          double xc22, double x12, double* outtheta, const std::array<double, 4>& gp,
                          const std::array<double, 2>& wp, const PlaneSearch& search = {});
// xcs = the compressive shear strengths (xt12, xt13, xt23 when absent); gp =
// (tension, compression) friction; salims = the search bounds in degrees
// (2° to 178° when absent); sainc 2° when absent.
TAVRIN_API double spc3d(const Transverse& s, double xt22, double xc22, double xt33, double xc33,
                        double xt12, double xt13, double xt23,
                        std::optional<std::array<double, 3>> xcs, double* outtheta,
                        const std::array<double, 2>& gp, std::optional<double> sainc,
                        std::optional<std::array<double, 2>> salims, int gsflag = 0);
TAVRIN_API double larc04(double s11, const Transverse& s, double xt11, double xc11, double xt22,
                         double xc22, double x12, double e11, double e22, double g12, double nu12,
                         std::optional<std::array<double, 2>> gc, std::optional<double> a0,
                         double* outtheta, const PlaneSearch& search = {}, int fcl = 0);

// Puck's action-plane effort of the traction (σn, τn1, τnt) for the
// fracture resistances xt22 (tension), ra (transverse shear, R⊥⊥A) and r12
// (longitudinal shear, R⊥∥) and gp as above.
TAVRIN_API double puck_effort(double sn, double tn1, double tnt, double xt22, double ra, double r12,
                              const std::array<double, 4>& gp);

}  // namespace tavrin::mccollection

extern "C" {

TAVRIN_API void MCrckLaRC05(double* rmc, const double* s22, const double* s33, const double* s12,
                            const double* s13, const double* s23, const double* xt22,
                            const double* xc22, const double* x12, const double* a0,
                            double* outtheta, const double* sainc, const int* gsflag);
TAVRIN_API void MCrckLaRC04(double* rmc, const double* s11, const double* s22, const double* s33,
                            const double* s12, const double* s13, const double* s23,
                            const double* xt11, const double* xc11, const double* xt22,
                            const double* xc22, const double* x12, const double* e11,
                            const double* e22, const double* g12, const double* nu12,
                            const double* gc, const double* a0, double* outtheta,
                            const double* sainc, const int* fcl, const int* gsflag);
TAVRIN_API void MCrckVDI2014(double* rmc, const double* s11, const double* s22, const double* s33,
                             const double* s12, const double* s13, const double* s23,
                             const double* xt11, const double* xc11, const double* xt22,
                             const double* xc22, const double* x12, double* outtheta,
                             const double* gp, const double* wp, const double* sainc,
                             const int* gsflag);
TAVRIN_API void MCrckSPC3D(double* rmc, const double* s22, const double* s33, const double* s12,
                           const double* s13, const double* s23, const double* xt11,
                           const double* xc11, const double* xt22, const double* xc22,
                           const double* xt33, const double* xc33, const double* xt12,
                           const double* xt13, const double* xt23, const double* xcs,
                           double* outtheta, const double* gp, const double* sainc,
                           const double* salims, const int* gsflag);
TAVRIN_API void MCrckCamanho(double* rmc, const double* s22, const double* s33, const double* s12,
                             const double* s13, const double* s23, const double* xt22,
                             const double* xc22, const double* x12, const double* x23,
                             double* outtheta, const double* a0, const double* sainc,
                             const int* gsflag);
TAVRIN_API void MCrckWiegand(double* rmc, const double* s22, const double* s33, const double* s12,
                             const double* s13, const double* s23, const double* xt22,
                             const double* xc22, const double* x12, double* outtheta,
                             const double* a0, const double* sainc, const int* gsflag);
TAVRIN_API void MCrckPuck(double* rmc, const double* s22, const double* s33, const double* s12,
                          const double* s13, const double* s23, const double* xt22,
                          const double* xc22, const double* x12, double* outtheta,
                          const double* gp, const double* sainc, const int* gsflag, int* tcflag);
// (E1^m + E2^m + E3^m)^(1/m) of Cuntze's failure mode efforts.
TAVRIN_API void MCrckCuntze2012(double* rmc, const double* s22, const double* s33,
                                const double* s12, const double* s13, const double* s23,
                                const double* xt22, const double* xc22, const double* x12,
                                const double* gp, const double* mint);
TAVRIN_API void MCrckCuntze2004(double* rmc, const double* s22, const double* s33,
                                const double* s12, const double* s13, const double* s23,
                                const double* xt22, const double* xc22, const double* x12,
                                const double* x13, const double* gp, const double* mint);
TAVRIN_API void MCrckChangChang(double* rmc, const double* s22, const double* s12,
                                const double* xt22, const double* xc22, const double* x12);
TAVRIN_API void MCrckChai(double* rmc, const double* s22, const double* s12, const double* s23,
                          const double* xt22, const double* xc22, const double* x12,
                          const double* x23, const double* dang);
TAVRIN_API void MCrckChristensen(double* rmc, const double* s22, const double* s33,
                                 const double* s12, const double* s13, const double* s23,
                                 const double* xt22, const double* xc22, const double* xt33,
                                 const double* xc33, const double* x12, const double* x13,
                                 const double* x23);
TAVRIN_API void MCrckHashin1989(double* rmc, const double* s22, const double* s33,
                                const double* s12, const double* s13, const double* s23,
                                const double* xt22, const double* xc22, const double* xt33,
                                const double* xc33, const double* x12, const double* x13,
                                const double* x23);
TAVRIN_API void MCrckHashinComplete(double* rmc, const double* s22, const double* s33,
                                    const double* s12, const double* s13, const double* s23,
                                    const double* xt22, const double* xc22, const double* x12,
                                    const double* x23);
TAVRIN_API void MCrckHashin3D(double* rmc, const double* s22, const double* s12, const double* s13,
                              const double* s23, const double* xt22, const double* xc22,
                              const double* x12, const double* x23);
TAVRIN_API void MCrckHashinPS(double* rmc, const double* s22, const double* s12, const double* xt22,
                              const double* xc22, const double* x12, const double* x23);
TAVRIN_API void MCrckBahei(double* rmc, const double* stressvector, const double* xnorm,
                           const double* xshear, const int* nstress, const double* interphase,
                           int* failmode);
}
