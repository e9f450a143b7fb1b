// Impactor user elements of module `toplevel`: the contact of a rigid
// impactor with a structure, one element per impactor, for the implicit
// (UEL) and the explicit (VUEL) user-element interfaces.
//
// For the solver the element is the truss of truss_elements.hpp with
// E = ρ = 1e-20 and A = 0.001 (a residual, stiffness and mass of no weight);
// its elongation Δu = ue(2) − ue(1) is the structure's displacement at the
// impact point along the impact direction.  The impactor itself is a rigid
// mass in the impactor record cprops(20) (one column of
// impactdata::cprops), advanced by job control at the end of every increment
// of an impact step.  The elements decide contact and write the contact
// force F, contact radius a and indentation depth d into record rows 1-3.
//
// PROPS (at least 12; 13 for the implicit contact law 2 and the explicit
// velocity weight): 1-4 and 7-10 the contact-stiffness arguments
// (ContactStiffness takes PROPS(7), (8), (1), (2), (9), (10), (3), (4)),
// 5 impact energy W, 6 impactor mass m (initial velocity √(2W/m)),
// 7 impactor radius R, 8 a second impactor length (2·PROPS(8) is the fourth
// ContactRadius argument), 11 start (> 0: the step time at which contact may
// begin; <= 0: the impactor's initial displacement), 12 critical
// indentation of the Tan-Sun unloading law (implicit contact law 2: its
// first parameter), 13 implicit contact law 2: its sixth parameter;
// explicit with scheme -2: the velocity weight (default 0.5).
// JPROPS: 1 procedure (0 keep the record's force; 1 Hertz in closed form;
// 2 implicit: Brent's search on ContactLaw, explicit: Hertz loading with
// Tan-Sun unloading), 2 contact-stiffness and radius flag, 3 implicit
// contact-law flag (0, 1, 2), 4 explicit, optional: ≠ 1 selects the weighted
// time integration (-2) instead of central differences (-1).
//
// State, implicit (SVARS, at least 20): 13 impactor acceleration at
// initialisation, 14 structure compliance Cs, 15 structure displacement at
// the last contact update, 16 truss elongation of the call, 17 largest
// contact force, 18 cleared at initialisation, 19 value of the history
// table at DTIME, 20 the impactor's column of impactdata::csvars, 21 on
// (when NSVARS − 20 is even) a history table of n abscissae then n
// ordinates.  Explicit (svars(k, ·), at least 18): 13, 15, 16, 17 as above,
// 14 and 18 cleared at initialisation.
//
// Both read the step kind of KSTEP (toplevel::step_kind); the implicit
// element also uses impactdata::csvars (created here with one row, or with
// 2n rows in a rebound step, and loaddata::nimp columns) and loaddata::nimp.
//
// Failures (first-error latch), each leaving defined outputs:
//   -2 sizes the caller must respect (see truss_elements.hpp, and NSVARS >=
//      20 / 18, NPROPS >= 12, NJPROPS >= 3 / 2): RHS and AMATRX (rhs,
//      amass, dtimestable) zero, nothing else touched
//   -2 an impactor mass that is not positive or a negative impact energy at
//      initialisation: initial velocity 0
//   -2 SVARS(20) or record row 14 not an impactor number 1..nimp: that
//      history lookup is skipped
//   -2 a history table without two increasing abscissae (taken in reverse
//      order): not interpolated
//   -2 Ci + Cs, or the contact stiffness, not positive, or contact law 2
//      with 12 properties: no contact solve, the record's force is kept
//   -3 "Error: Invalid root finding procedure" (JPROPS(1)) and
//   -3 "Unknown contact law flag" (JPROPS(3)): force 0.0
#pragma once

#include "foundation/api.hpp"

namespace tavrin::toplevel {

extern "C" {

// Abaqus/Standard UEL (arguments as uel_truss) with the impactor record
// cprops(20) last.
TAVRIN_API void uel_impact(double* rhs, double* amatrx, double* svars, double* energy, const int* ndofel,
                           const int* nrhs, const int* nsvars, const double* props, const int* nprops,
                           const double* coords, const int* mcrd, const int* nnode, const double* u,
                           const double* du, const double* v, const double* a, const int* jtype,
                           const double* time, const double* dtime, const int* kstep, const int* kinc,
                           const int* jelem, const double* params, const int* ndload, const int* jdltyp,
                           const double* adlmag, const double* predef, const int* npredf,
                           const int* lflags, const int* mlvarx, const double* ddlmag,
                           const int* mdload, double* pnewdt, const int* jprops, const int* njprop,
                           const double* period, double* cprops);

// Abaqus/Explicit VUEL (arguments as vuel_truss) with the impactor record
// cprops(20) last; every point of the block writes the same record, the
// last one decides it.
TAVRIN_API void vuel_impact(const int* nblock, double* rhs, double* amass, double* dtimestable,
                            double* svars, const int* nsvars, double* energy, const int* nnode,
                            const int* ndofel, const double* props, const int* nprops, const int* jprops,
                            const int* njprops, const double* coords, const int* ncrd, const double* u,
                            const double* du, const double* v, const double* a, const int* jtype,
                            const int* jelem, const double* time, const double* period,
                            const double* dtimecur, const double* dtimeprev, const int* kstep,
                            const int* kinc, const int* lflags, const double* dmassscalefactor,
                            const double* predef, const int* npredef, const int* jdltyp,
                            const double* adlmag, double* cprops);

}  // extern "C"

}  // namespace tavrin::toplevel
