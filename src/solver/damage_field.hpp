// Damage field routines (module `toplevel`): ply damage at a material point,
// kept in the last 40 state variables of the point and handed to the solver
// as field variables.
//
// The damage record (slot k is state variable nstatv - 40 + k):
//
//   1-6    ply stress s11 s22 s33 s12 s13 s23 (from the material routine, the
//          explicit stress table or the section stress tables)
//   7-11   general, fibre, matrix, delamination, core flags (never fall)
//   12     buckled-delamination flag
//   13-17  efforts of the five modes at the last evaluation
//   18-20  residual stiffness factors general, fibre, matrix (start at 1)
//   21-23  ply, section column and element row (1-based, as reals)
//   24-25  fracture-plane angle of the first matrix crack, and from the
//          xz-plane (radians; -1 until then)
//   26     400·fibre + 40·matrix + 4·delamination flag
//   27-30  state of the fracture-plane matrix degradation (-1: not set)
//   35     characteristic element length
//
// Field variables (when more than 4 are declared, zeroed at every call):
// 1-5 the five flags (0 where the ply's evolution switch peflags is 0),
// 6 the crack angle from the xz-plane / π, 7 the capped matrix damage.
//
// Steps by kind (jobdata::stepid): kinds 0 and 5 seed the flags from the
// damage definitions; from the second step on, kinds 1 (fatigue) and 3
// (impact) evaluate the five failure drivers; kind 4 (relaxation) grows the
// damage definitions to reach a damaged point.  A step outside the step
// table (kind -1) evaluates and grows nothing.
//
// Every index is checked before use: a ply or section that names no column
// of the material tables (an unknown section tag leaves slot 22 = -1)
// latches -2 "Ply or section of the state variables outside the material
// tables." and nothing is evaluated; element rows, section points and
// shared tables that are absent or too short skip the steps that need them.
#pragma once

#include <cstddef>

#include "foundation/api.hpp"

extern "C" {

// One evaluation: field(nfield), statev(nstatv) updated; tdirect(3,3) the
// material directions, t(3,3) the element's local directions, coord(3);
// table(16) optional (temperature, Voigt stress and strain, three element
// lengths; all -1.0 counts as absent).  cmname has cmname_len characters
// (at most 80 are read); its "l"
// and "s" tags give ply and section id on the first call.
TAVRIN_API void gen_damage(double* field, double* statev, const double* tdirect, const double* t,
                           const double* celent, const double* time, const double* dtime,
                           const char* cmname, const int* nfield, const int* nstatv, const int* noel,
                           const int* npt, const int* layer, const int* kspt, const int* kstep,
                           const int* kinc, const double* coord, const double* table,
                           std::size_t cmname_len);

// Abaqus/Standard USDFLD: gen_damage without a table.
TAVRIN_API void usdfld_dmg(double* field, double* statev, double* pnewdt, const double* tdirect,
                           const double* t, const double* celent, const double* time,
                           const double* dtime, const char* cmname, const char* orname,
                           const int* nfield, const int* nstatv, const int* noel, const int* npt,
                           const int* layer, const int* kspt, const int* kstep, const int* kinc,
                           const int* ndi, const int* nshr, const double* coord, const int* jmac,
                           const int* jmatyp, const int* matlayo, const int* laccfla,
                           const int* threadid, std::size_t cmname_len, std::size_t orname_len);

// Abaqus/Explicit VUSDFLD: gen_damage for every point of a block with its
// stress table; stressold, strainold (nblock, ndir+nshr) in the order 11,
// 22, 33, 12, 23, 31, coordmp and charlength (nblock, *) read as (k, 1..3),
// tdirect and t (nblock, 3, 3), stateold, statenew (nblock, nstatev),
// field (nblock, nfieldv).
TAVRIN_API void vusdfld_dmg(const int* nblock, const int* nstatev, const int* nfieldv,
                            const int* nprops, const int* ndir, const int* nshr, const int* jelem,
                            const int* kintpt, const int* klayer, const int* ksecpt, const int* kstep,
                            const double* temp, const double* steptime, const double* totaltime,
                            const double* dt, const char* cmname, const double* coordmp,
                            const double* tdirect, const double* t, const double* charlength,
                            const double* props, const double* stateold, const double* stressold,
                            const double* strainold, double* statenew, double* field,
                            const int* threadid, std::size_t cmname_len);

// Abaqus SDVINI: an all-zero state array gets the largest double in its
// last entry (the mark of state not yet initialised).
TAVRIN_API void gen_sdvini(double* statev, const double* coords, const int* nstatv, const int* ncrds,
                           const int* noel, const int* npt, const int* layer, const int* kspt);
}
