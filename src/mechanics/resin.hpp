// Thermoset resin data over temperature and strain (module `resin`) and the
// endochronic viscoplastic stress update of the resin.
//
// Temperatures are absolute (K).  Property vectors hold two blocks of
// constants, each with its temperature; values between the block
// temperatures are interpolated linearly, outside them the nearer block is
// taken (equal temperatures: the block listed second).  A modulus law over
// temperature (linear, quadratic, then an exponential decay to E∞ above Tc)
// replaces the modulus when the vector carries all its entries; it needs the
// block at room temperature (293.0 or 293.15 K) and, at or below Ta, a block
// below room temperature: without them the law is skipped and -2 latched.
//
// Calibration tables of `materialdata` (temperature row, point, column) are
// read at the strain in temperature rows 1 and 2 and then interpolated over
// the first two `materialdata::temperatures`; one row or one temperature
// gives row 1's value, a one-point table its value.  An absent or empty
// table latches -2 naming it and gives 0; abscissas that do not strictly
// increase latch -2 and give 0.
//
// Debug lines go to standard output for the element `debugdata::edebug`.
#pragma once

#include "foundation/allocatable.hpp"
#include "foundation/api.hpp"

namespace tavrin::resin {

// Value of the calibration table field(nrows, npoints, ncols) at strain x0
// (column 1) and temperature temp, from column ycol; cubic: monotone cubic
// Hermite, else straight lines.  n points of each row are used (at most
// npoints).  `name` labels the latched messages.
TAVRIN_API double table_value(const double* field, int nrows, int npoints, int n, int ycol, double x0,
                              double temp, bool cubic, const char* name);
// The same on a calibration table of `materialdata` with its point count;
// an unallocated table latches -2 naming it and gives 0.
TAVRIN_API double calibration_value(const Allocatable<double, 3>& table, int count, int ycol, double x0,
                                    double temp, bool cubic, const char* name);

}  // namespace tavrin::resin

extern "C" {

// rvalue of datafield(nrows, npoints, 2) at x0 and temp; stype "C" or "c":
// cubic Hermite, else linear.
TAVRIN_API void GetExternalData(const double* datafield, const int* ndata, const double* x0,
                                const double* temp, double* rvalue, const char* stype,
                                const int* nrows, const int* npoints);
// a0, a1 of the yield function from `materialdata::flowprops`.
TAVRIN_API void GetFlowParameters(const double* eqplaststrain, double* a0, double* a1,
                                  const double* temp);
// Secant modulus from `materialdata::secantprops`.
TAVRIN_API void GetModulusFromTable(const double* eqstrain, double* e, const double* temp);
// props(nprops), nprops >= 21 (modulus law from 32): blocks (E, ν, νm, Xt,
// np, γ, Xc/Xt, Woehler factor, exponent, T) × 2, degr, c2, c1, c0, b1, b0,
// Ta, Tb, Tc, Tr, k, E∞.  Fewer values latch -2 and give 0 everywhere.
TAVRIN_API void GetResinProperties(const double* props, const int* nprops, const double* temp,
                                   double* e, double* nu, double* num, double* gamma, double* degr,
                                   double* xt, double* xc, double* np, double* a_woehler,
                                   double* exp_woehler, const int* noel);
// props(nprops), nprops >= 25 (modulus law from 36): blocks (Et, Ec, G, νt,
// νc, α, Xt, Xc, np, Woehler factor, exponent, T) × 2, degr, the law; a0 and
// a1 from the flow table at eqplaststrain.
TAVRIN_API void GetResinPlasticProperties(const double* props, const int* nprops, const double* temp,
                                          const double* eqplaststrain, double* et, double* ec,
                                          double* g, double* nut, double* nuc, double* a0, double* a1,
                                          double* alpha, double* degr, double* xt, double* xc,
                                          double* np, double* a_woehler, double* exp_woehler);
// Orthotropic secant constants of the strain-softened resin at endstran(6)
// (rate-corrected with stran(6), dt) from the normal and shear tables.
TAVRIN_API void GetResinOrthotropicProperties(
    const double* props, const int* nprops, const double* temp, const double* dt, const double* stran,
    const double* endstran, double* e1, double* e2, double* e3, double* nu12, double* nu13,
    double* nu23, double* nu21, double* nu31, double* nu32, double* g12, double* g13, double* g23,
    double* xt, double* xc, double* np, double* a_woehler, double* exp_woehler, double* degr,
    const int* noel, const double* d);
// ±√(ε:ε) of strain(ntens) (engineering shears), negative when the trace is.
TAVRIN_API void EquivalentStrain(const double* strain, double* eqstrain, const int* ndi,
                                 const int* ntens);
// Stress update of the endochronic viscoplastic resin: nonlinear elastic
// branch + endochronic branch + six Maxwell branches (τ = 0.1 … 10⁴).
// props(nprops >= 11) = (E, c, ν, Ep, β, Ek × 6); statev(nstatev >= 42):
// the endochronic stress, then the six Maxwell stresses.  Fewer latch -2,
// the stress is zero and the state untouched.  matstate 0: elastic branch
// only with E = 15, c = 0.
TAVRIN_API void EndochroneViscoPlasticity(const double* stran, const double* dstrain,
                                          const double* props, double* stress, double* statev,
                                          const double* dtime, const int* nprops, const int* nstatev,
                                          const int* writesdv, const int* matstate);
}
