// Fatigue of plies and resin (module `fatigue`): the property set of the
// progressive ply fatigue model with its temperature laws, the fatigue life
// of a resin point from an equivalent stress and a mean-stress-corrected
// Woehler curve, the cycle counter of a fatigue step and the allowable
// cycle jump from the residual strength and stiffness laws.
#pragma once

#include "foundation/api.hpp"

extern "C" {

// The fatigue property set at temperature temp (kelvin) from props(nprops):
// two 74-entry sets (1-74, 75-148, each ending with its temperature),
// degr_fac at 150, temperature-law parameters at 151-159.  Between the two
// set temperatures every entry is interpolated linearly; outside, the
// nearer set holds.  eprops(9) = E11, E22, E33, G12, G13, G23, ν12, ν13,
// ν23; xfprops(9) = Xt11, -Xc11, Xt22, -Xc22, Xt33, -Xc33, S12, S13, S23;
// epsfprops(9) their failure strains; the six-entry fatigue exponents and
// life-curve parameters in the solver order 11, 22, 33, 12, 13, 23.
// nprops < 150, or 151-158 (the temperature laws then skipped), latch -2.
TAVRIN_API void GetShokriehProperties(const double* props, const int* nprops, const double* temp,
                                      double* eprops, double* xfprops, double* epsfprops, double* alpha_t,
                                      double* alpha_c, double* beta_t, double* beta_c, double* lambda,
                                      double* gamma, double* a, double* b, double* u, double* v, double* eta,
                                      double* degr_fac);
// eq_stress: the equivalent fatigue stress of stress(6) for the resin
// strengths xt, xc and the exponent np of the Ha criterion.
TAVRIN_API void GetEquivalentFatigueStress(const double* stress, const double* xt, const double* xc,
                                           const double* np, double* eq_stress);
// nf: cycles to failure of the equivalent stress cycle eq_min..eq_max on the
// Woehler curve f = a_woehler·nf^exp_woehler after the mean-stress
// correction for materialdata::r_crit(1); life (consumed fraction, never
// falling, at most 1) advances by dn/nf.  alpha is not used.
TAVRIN_API void GetFatigueLife(const double* eq_min, const double* eq_max, const double* a_woehler,
                               const double* exp_woehler, const double* alpha, const double* dn,
                               const int* noel, double* nf, double* life);
// njimp: the cycle jump of a fatigue step (stepflag 1) by algorithm
// jumpalgo (1 fixed, 2 exponential in time, 3 and 5 from the cycle table
// shokriehdata::cycles, 4 the allowed jump njimp_zul bounded by the table
// and maxcycle); n advances by it.  stepflag ≠ 1 gives n = njimp = 1.
TAVRIN_API void CycleCount(double* njimp, double* n, const double* maxcycle, const double* time,
                           const double* time_calc, const double* time_period, const double* njimp_min,
                           const double* njimp_max, const double* njimp_zul, const int* ncycles,
                           const int* nmaxcycles, const int* istep, const int* nstep, const int* jumpalgo,
                           const int* stepflag);
// cjimp: the cycles that may be jumped before the residual strength
// (fraction x_n) or stiffness (fraction e_n) falls by the tolerance
// njimp_dtol, on the degradation curves of the life Nf of the cycle
// speak..sbottom; 1e8 once df has reached degr_fac.  de is not used.
TAVRIN_API void AllowableCycleJump(const double* speak, double* sbottom, const double* ft, const double* fc,
                                   const double* f0, const double* e0, const double* eps_f, const double* a,
                                   const double* b, const double* u, const double* v, const double* nm,
                                   double* cjimp, const double* alpha, const double* beta, const double* gamma,
                                   const double* lambda, const double* x_n, const double* e_n, const double* de,
                                   const double* df, const double* degr_fac, const double* njimp_dtol);
}

extern "C" {
// The progressive ply fatigue law of one integration point and increment:
// stress(6) and the tangent ddsdde(6,6) of a ply whose stiffness and
// strength fractions fall with the load cycles, with sudden degradation on
// fibre or matrix failure within a cycle, peak/bottom tracking of the cycle,
// gradual degradation at each cycle bottom and the cycle jump of the step
// (settings from shokriehdata::cycleprops(:, kstep(1))).  statev(77) holds
// the whole state, statev_backup(77) its copy at the start of the counted
// cycle (restored when the first increment of a cycle is repeated).
TAVRIN_API void GetShokrieh(double* stress, double* ddsdde, double* statev, const double* stran,
                            const double* dstran, const double* props, const double* time, const double* dtime,
                            const double* temp, const double* dtemp, const int* nprops, const int* noel,
                            const int* kstep, const int* kinc, const int* iszflag, const int* idcflag,
                            double* statev_backup);
}
