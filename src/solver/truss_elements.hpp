// Truss user elements of module `toplevel`: a straight two-node bar that
// carries axial force only, for the implicit (UEL) and the explicit (VUEL)
// user-element interfaces.
//
// Two nodes of three translational degrees of freedom (NDOFEL = 6, node 1
// first).  PROPS = (E, ρ, A): axial stiffness E·A/L, lumped mass ½·ρ·A·L
// per node.  The axial nodal displacements are ue = te·U with te (2×6) the
// unit bar axis in row 1, columns 1-3 and row 2, columns 4-6; a residual of
// axial values (r1, r2) goes back to the six degrees of freedom as teᵀ·r.
//
// uel_truss answers LFLAGS(3) = 1 (residual and stiffness: static with
// LFLAGS(1) 1 or 2, HHT-α dynamics with 11 or 12, a perturbation step with
// LFLAGS(4) ≠ 0), 2 (stiffness), 4 (mass), 5 (half-step residual), 6 (initial
// acceleration) and 100 (perturbation output, LFLAGS(1) 1, 2 or 41); other
// requests return RHS and AMATRX zero.  SVARS(1..6) and (7..12) hold the
// internal force of the last two increments for the α-method.  Distributed
// loads of type 1001 are an axial point load at node 2.
//
// vuel_truss works only under LFLAGS(1) = 17: LFLAGS(3) = 1 lumped mass,
// 2 internal force (logarithmic strain, volume kept), stable increment and
// accumulated internal energy, 3 the axial load of type 123 at node 2.
// svars(k, 1..2) = (length, axial force) of the last call.
//
// The layout comes first (status -2 and nothing touched, not even LFLAGS
// read): NDOFEL = 6, two nodes of at least 3 coordinates, 1 <= NRHS <= 2
// with MLVARX >= NDOFEL (uel), NBLOCK >= 0 (vuel).  Other sizes the caller
// must respect are checked (status -2, RHS and AMATRX or rhs, amass and
// dtimestable zero, nothing else touched): NPROPS >= 3, NSVARS covering the slots the request uses (uel_truss 12 for
// the dynamic requests 1, 5 and 6 for 6 and 100; vuel_truss 2 for request 2),
// NDLOAD <= MDLOAD where loads are read.  uel_truss also refuses a bar of
// zero length and, in dynamics, β·DTIME² <= 0; vuel_truss replaces a length
// that is not positive by 2.220446049250313e-16 (a bar of coincident nodes
// has no axis and carries no force).
#pragma once

#include "foundation/api.hpp"

namespace tavrin::toplevel {

extern "C" {

// Abaqus/Standard UEL.  rhs(mlvarx, nrhs), amatrx(ndofel, ndofel),
// svars(nsvars), energy(8), coords(mcrd, nnode), u, v, a (ndofel),
// du(mlvarx, nrhs), time(2), params(3), jdltyp, adlmag, ddlmag (mdload, *),
// lflags(5), jprops(njprop).
TAVRIN_API void uel_truss(double* rhs, double* amatrx, double* svars, double* energy, const int* ndofel,
                          const int* nrhs, const int* nsvars, const double* props, const int* nprops,
                          const double* coords, const int* mcrd, const int* nnode, const double* u,
                          const double* du, const double* v, const double* a, const int* jtype,
                          const double* time, const double* dtime, const int* kstep, const int* kinc,
                          const int* jelem, const double* params, const int* ndload, const int* jdltyp,
                          const double* adlmag, const double* predef, const int* npredf,
                          const int* lflags, const int* mlvarx, const double* ddlmag, const int* mdload,
                          double* pnewdt, const int* jprops, const int* njprop, const double* period);

// Abaqus/Explicit VUEL.  rhs(nblock, ndofel), amass(nblock, ndofel, ndofel),
// dtimestable(nblock), svars(nblock, nsvars), energy(nblock, 12),
// coords(nblock, nnode, ncrd), u, du, v, a (nblock, ndofel), lflags(3),
// adlmag(nblock).
TAVRIN_API void vuel_truss(const int* nblock, double* rhs, double* amass, double* dtimestable,
                           double* svars, const int* nsvars, double* energy, const int* nnode,
                           const int* ndofel, const double* props, const int* nprops, const int* jprops,
                           const int* njprops, const double* coords, const int* ncrd, const double* u,
                           const double* du, const double* v, const double* a, const int* jtype,
                           const int* jelem, const double* time, const double* period,
                           const double* dtimecur, const double* dtimeprev, const int* kstep,
                           const int* kinc, const int* lflags, const double* dmassscalefactor,
                           const double* predef, const int* npredef, const int* jdltyp,
                           const double* adlmag);

}  // extern "C"

// The two elements for callers that build on them: false when the call was
// refused (status -2 latched, the outputs zero).
// The element layout of the two-node bar, each extent checked alone before
// any array is reached: ndofel 6 on nnode 2 of mcrd >= 3 coordinates, nrhs 1
// or 2 right-hand sides of mlvarx >= ndofel rows (implicit); nblock >= 0
// points, ndofel 6, nnode 2, ncrd >= 3 (explicit).  A refused layout is
// latched -2 and nothing is touched; returns whether it was refused.
TAVRIN_API bool uel_layout_refused(int ndofel, int nnode, int mcrd, int nrhs, int mlvarx);
TAVRIN_API bool vuel_layout_refused(int nblock, int ndofel, int nnode, int ncrd);

TAVRIN_API bool run_uel_truss(double* rhs, double* amatrx, double* svars, double* energy,
                              const int* ndofel, const int* nrhs, const int* nsvars, const double* props,
                              const int* nprops, const double* coords, const int* mcrd, const int* nnode,
                              const double* u, const double* du, const double* v, const double* a,
                              const int* jtype, const double* time, const double* dtime, const int* kstep,
                              const int* kinc, const int* jelem, const double* params, const int* ndload,
                              const int* jdltyp, const double* adlmag, const double* predef,
                              const int* npredf, const int* lflags, const int* mlvarx,
                              const double* ddlmag, const int* mdload, double* pnewdt, const int* jprops,
                              const int* njprop, const double* period);
TAVRIN_API bool run_vuel_truss(const int* nblock, double* rhs, double* amass, double* dtimestable,
                               double* svars, const int* nsvars, double* energy, const int* nnode,
                               const int* ndofel, const double* props, const int* nprops,
                               const int* jprops, const int* njprops, const double* coords,
                               const int* ncrd, const double* u, const double* du, const double* v,
                               const double* a, const int* jtype, const int* jelem, const double* time,
                               const double* period, const double* dtimecur, const double* dtimeprev,
                               const int* kstep, const int* kinc, const int* lflags,
                               const double* dmassscalefactor, const double* predef,
                               const int* npredef, const int* jdltyp, const double* adlmag);

// The axis of a two-node bar and the axial values of nodal vectors.
struct BarAxis {
  double length = 0.0;
  double n[3] = {0.0, 0.0, 0.0};  // unit vector from node 1 to node 2; zero for coincident nodes

  // (axial value at node 1, at node 2) of a six-entry nodal vector whose
  // entries are `stride` apart: te·w.
  void axial(const double* w, long stride, double& w1, double& w2) const {
    w1 = n[0] * w[0] + n[1] * w[stride] + n[2] * w[2 * stride];
    w2 = n[0] * w[3 * stride] + n[1] * w[4 * stride] + n[2] * w[5 * stride];
  }
};

// The axis of the bar with node c of coordinate k at xyz[(c-1)*node_stride +
// (k-1)*coord_stride] (k = 1..3).
TAVRIN_API BarAxis bar_axis(const double* xyz, long node_stride, long coord_stride);

}  // namespace tavrin::toplevel
