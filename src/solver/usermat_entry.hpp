// The ANSYS USERMAT entry of a material routine written for the
// Abaqus/Standard UMAT interface: one call of the interface adapter
// abq_umat_to_ansys_usermat with that routine, the host's arguments passed
// on unchanged.  Defines the entry `name`, declared with the type
// wrapper::Usermat (and so exported under C linkage) in the routine's header:
//
//   TAVRIN_USERMAT_ENTRY(usermat_resin, umat_resin)
#pragma once

#include "solver/wrapper.hpp"

#define TAVRIN_USERMAT_ENTRY(name, umat)                                                                             \
  void name(const int* matid, const int* elemid, const int* kdomintpt, const int* klayer, const int* ksectpt,       \
            const int* ldstep, const int* isubst, int* keycut, const int* ndirect, const int* nshear,                 \
            const int* ncomp, const int* nstatev, const int* nprop, const double* time, const double* dtime,         \
            const double* temp, const double* dtemp, double* stress, double* ustatev, double* dsdepl, double* sedel, \
            double* sedpl, double* epseq, const double* strain, const double* dstrain, double* epspl,                \
            const double* prop, const double* coords, double* var0, const double* defgrad_t,                         \
            const double* defgrad, double* tsstif, double* epszz, double* var1, double* var2, double* var3,          \
            double* var4, double* var5, double* var6, double* var7, double* var8) {                                  \
    abq_umat_to_ansys_usermat(umat, matid, elemid, kdomintpt, klayer, ksectpt, ldstep, isubst, keycut, ndirect,     \
                              nshear, ncomp, nstatev, nprop, time, dtime, temp, dtemp, stress, ustatev, dsdepl,     \
                              sedel, sedpl, epseq, strain, dstrain, epspl, prop, coords, var0, defgrad_t, defgrad,  \
                              tsstif, epszz, var1, var2, var3, var4, var5, var6, var7, var8);                       \
  }
