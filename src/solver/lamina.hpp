// The linear-elastic orthotropic ply in every solver convention (module
// `toplevel`).
//
// umat_lamina (Abaqus/Standard) is the heart: the ply stiffness from its
// nine constants, degraded in DIC steps (step kind 5) by the damage mode
// flags that the damage field routines keep in the state array, a secant
// stress σ = D·(ε + Δε), the specific energy ½ σ·(ε + Δε) and the tangent D.
// It writes the stress back into the head of the state array:
//
//   slots 1 .. ndi, 4 .. 3+nshr   the new stress (when nstatv > 5)
//   slots 8 .. 12                 fibre, matrix, delamination, core and
//                                 buckled-delamination flags (read, DIC step)
//   slot 18                       residual factor of a buckled delamination
//   slots 21, 22                  ply and section of the material tables
//                                 (read when nprops = 1)
//
// With 40 state variables these are the slots of the damage field routines'
// record.  vumat_lamina is the undegraded ply under Abaqus/Explicit (cyclic
// order 11, 22, 33, 12, 23, 31, tensor shear increments); usermat_lamina and
// upermat_lamina run umat_lamina through the ANSYS and Peridigm adapters;
// hypela_lamina, the Marc entry, returns zeros.
//
// A layout other than ndi + nshr = ntens of 3, 4 or 6 components, at most
// three of each ("Unsupported dimension in GetNyeStiffnessMatrix"; the
// VUMAT: nblock >= 0, ndir and nshr of 0 to 3 making 3, 4 or 6) is latched
// and touches nothing.  Other bad input is latched and answered with a zero
// stiffness (stress, tangent and energy 0): a property count other than 2,
// 5 or 9 ("Unsupported input in GetNyeProperties"), and with nprops = 1
// slots 21, 22 that name no ply and section of the allocated material
// tables or fewer than 22 state variables ("Ply or section of the state
// variables outside the material tables.").  A DIC step with fewer than 18 state variables
// latches "Too few state variables for the degradation of a DIC step." and
// the ply stays undegraded.  All -2.
#pragma once

#include <cstddef>
#include <optional>

#include "foundation/api.hpp"
#include "solver/wrapper.hpp"
#include "mechanics/ply_stiffness.hpp"

namespace tavrin::toplevel {

// The nine constants of a UMAT's ply: with nprops = 1 from
// materialdata::peprops at the ply and section that state slots 21 and 22
// hold (truncated toward zero), else from props(nprops).  Latches -2 and
// gives nothing when they cannot be had (see above).
TAVRIN_API std::optional<lamina::PlyConstants> umat_ply_constants(const double* statev, int nstatv,
                                                                  const double* props, int nprops);

// The stress of ntens components into the head of the state array: direct
// components to slots 1 .. ndi (at most 3), shear components to slots
// 4 .. 3+nshr, as far as the stress and the nstatv slots reach.  Returns
// whether every slot existed.
TAVRIN_API bool store_stress_in_state(double* statev, int nstatv, const double* stress, int ndi, int nshr,
                                      int ntens);

}  // namespace tavrin::toplevel

extern "C" {

// Abaqus/Standard UMAT (tavrin::wrapper::Umat).
TAVRIN_API tavrin::wrapper::Umat umat_lamina;

// Abaqus/Explicit VUMAT (tavrin::wrapper::Vumat).  With ndir 3 and nshr 1
// the thickness strain increment straininc(k,3) is replaced by that of the
// plane-stress ply.
TAVRIN_API tavrin::wrapper::Vumat vumat_lamina;

// ANSYS USERMAT (tavrin::wrapper::Usermat).
TAVRIN_API tavrin::wrapper::Usermat usermat_lamina;

// Peridigm block interface (see abq_umat_to_peridigm_upermat).
TAVRIN_API void upermat_lamina(double* stressnew, double* statenew, const double* stressold,
                               const double* stateold, const double* straininc, const double* props,
                               const double* steptime, const double* totaltime, const double* dt,
                               const int* matid, const int* npoint, const int* ndir, const int* nshr,
                               const int* nstatev, const int* nprops);

// Marc HYPELA2 with the user-data arguments: error_code = 0 and d(ngens,
// ngens), g(ngens), s(ngens) zero; nothing else is read or written.
TAVRIN_API void hypela_lamina(double* d, double* g, const double* e, const double* de, double* s,
                              const double* t, const double* dt, const int* ngens, const int* n,
                              const int* nn, const int* kcus, const int* matus, const int* ndi,
                              const int* nshear, const double* disp, const double* dispt,
                              const double* coord, const double* ffn, const double* frotn,
                              const double* strechn, const double* eigvn, const double* ffn1,
                              const double* frotn1, const double* strechn1, const double* eigvn1,
                              const int* ncrd, const int* itel, const int* ndeg, const int* ndm,
                              const int* nnode, const int* jtype, const int* lclass, const int* ifr,
                              const int* ifu, const int* nstats, const int* isunit,
                              const int* idata, const double* rdata, const char* cdata,
                              const int* len_idata, const int* len_rdata, const int* len_cdata,
                              int* error_code);
}
