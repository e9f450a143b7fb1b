// Small solver hooks of module `toplevel`: characteristic element lengths for
// an explicit solver, the Gauss-point report of an initialisation step, the
// explicit boundary-condition hook that feeds nodal coordinates and motions
// into the shared state, and a multi-point-constraint hook that switches
// its constraint off.  They keep no state; material names are followed,
// after every other argument, by their lengths, as Fortran compilers pass
// them.
#pragma once

#include <cstddef>

#include "foundation/api.hpp"

namespace tavrin::toplevel {

extern "C" {

// Characteristic lengths charlength(nblock, ncomp) of a block of material
// points: jeltype(1) = 3 the three lengths of a four-node quadrilateral,
// 6 of an eight-node brick, along the axes of each point's direction
// matrix tdirect(k, :, :) (GetQuad4ElemLength, GetHex8ElemLength on the
// nodes coordnode(k, :, :) of (nblock, nnode, ndim); z = 0 when ndim = 2).
// Every other length is 0.0: other element types, components beyond the
// third, and blocks whose elements have too few nodes (4 or 8) or fewer
// than 2 coordinates, which latch -2.
TAVRIN_API void vucharlength_cel(const int* nblock, const int* nfieldv, const int* nprops,
                                 const int* ncomp, const int* ndim, const int* nnode,
                                 const int* nstatev, const int* ksecpt, const int* klayer,
                                 const int* kintpt, const int* jeltype, const int* jelem,
                                 const double* totaltime, const double* steptime, const double* dt,
                                 const char* cmname, const double* coordmp, const double* coordnode,
                                 const double* tdirect, const double* t, const double* props,
                                 const double* field, const double* stateold, double* charlength,
                                 std::size_t cmname_len);

// Abaqus/Standard UVARM: in the first increment of an initialisation step
// (kind 0) appends the point's line (element, point, coordinates) to the
// Gauss-point report jobdata::jobfilepath + ".rst".  uvar is not changed.
TAVRIN_API void uvarm_report(double* uvar, const double* tdirect, const double* t, const double* time,
                             const double* dtime, const char* cmname, const char* orname,
                             const int* nuvarm, const int* noel, const int* npt, const int* layer,
                             const int* kspt, const int* kstep, const int* kinc, const int* ndi,
                             const int* nshr, const double* coord, const int* jmac, const int* jmatyp,
                             const int* matlayo, const int* laccfla, std::size_t cmname_len,
                             std::size_t orname_len);

// Abaqus/Explicit VDISP that prescribes nothing: with the step table
// allocated, increment 1 of step 1 of kind 0 copies the block's node
// coordinates coordnp(ncoord, nblock) into the element tables
// (GetNodalCoordinates); from increment 2 of step 2 on, in steps of kind 1
// and 3, every increment kinc with kinc + 1 a multiple of
// debugdata::nupdate stores the nodal motions u(mdof, nblock) (rows 1-3
// translations, rows 4 on rotations, max(mdof − 3, 2) of them, zero where
// u has no such row) with GetNodesMotion.  rval is never written.
TAVRIN_API void vdisp_nullify(const int* nblock, const int* mdof, const int* ncoord, const int* kstep,
                              const int* kinc, const double* steptime, const double* totaltime,
                              const double* dtnext, const double* dt, const char* cbname,
                              const int* jbctype, const int* jdof, const int* jnodeuid,
                              const double* amp, const double* coordnp, const double* u,
                              const double* v, const double* a, const double* rf, const double* rmass,
                              const double* rotaryi, double* rval, std::size_t cbname_len);

// Abaqus/Standard MPC that switches its constraint off: a(mdof, mdof, n) =
// 0, jdof(mdof, n) = 0, lmpc = 0.  ue is not changed.
TAVRIN_API void mpc_nullify(double* ue, double* a, int* jdof, const int* mdof, const int* n,
                            const int* jtype, const double* x, const double* u, const double* uinit,
                            const int* maxdof, int* lmpc, const int* kstep, const int* kinc,
                            const double* time, const int* nt, const int* nf, const double* temp,
                            const double* field, const int* ltran, const double* tran);

}  // extern "C"

}  // namespace tavrin::toplevel
