// Adapters between the user-material interfaces of the solvers (module
// `wrapper`).
//
// A material routine is written once, for one solver's interface; an adapter
// runs it under another's.  It takes the calling solver's arguments, hands
// the routine three-dimensional arrays in the routine's component order,
// fixed values for what the calling solver does not supply, and converts the
// results back.  Component orders of symmetric 6-vectors (and of both sides
// of a 6×6 tangent):
//
//   solver (UMAT)   11 22 33 12 13 23
//   ANSYS           11 22 33 12 23 13
//   element forms   4: 11 22 33 12,  3: 11 22 12 (the same in every solver)
//
// Element forms are expanded to six components as an axisymmetric element's
// (its 22 is the 3-D 33 and its 12 the 3-D 13) or as plane stress with zero
// transverse values, and the results reduced the same way.  A component
// count other than 3, 4 or 6 is refused: the status -2 "Unsupported number
// of stress components in the interface adapter." is latched and the
// material routine is not called.  The Peridigm block first checks its
// extents one by one (npoint >= 0, ndir and nshr 0 to 3); a refused layout
// touches no array.
//
// The interfaces below are the hosts' own: every argument by pointer, arrays
// column-major, in the solver's order; a material name is followed, after
// every other argument, by its length passed by value, as Fortran compilers
// pass a character argument.  Every material routine of the library with an
// Abaqus/Standard interface is declared with the type Umat, so that an ANSYS
// or Peridigm entry point is one adapter call, e.g.
//
//   abq_umat_to_ansys_usermat(umat_lamina, matid, elemid, ...);
//
// (solver/usermat_entry.hpp defines such an ANSYS entry in one line).
#pragma once

#include <cstddef>

#include "foundation/api.hpp"

namespace tavrin::wrapper {

// Abaqus/Standard UMAT: stress(ntens), statev(nstatv), ddsdde(ntens,ntens),
// sse, spd, scd, rpl, ddsddt(ntens), drplde(ntens), drpldt, stran(ntens),
// dstran(ntens), time(2), dtime, temp, dtemp, predef(npred), dpred(npred),
// cmname (cmname_len characters), ndi, nshr, ntens, nstatv, props(nprops),
// nprops, coords(3), drot(3,3), pnewdt, celent, dfgrd0(3,3), dfgrd1(3,3),
// noel, npt, layer, kspt, jstep(4), kinc.  npred is at least 1.
using Umat = void(double* stress, double* statev, double* ddsdde, double* sse, double* spd, double* scd,
                  double* rpl, double* ddsddt, double* drplde, double* drpldt, const double* stran,
                  const double* dstran, const double* time, const double* dtime, const double* temp,
                  const double* dtemp, const double* predef, const double* dpred, const char* cmname,
                  const int* ndi, const int* nshr, const int* ntens, const int* nstatv, const double* props,
                  const int* nprops, const double* coords, const double* drot, double* pnewdt,
                  const double* celent, const double* dfgrd0, const double* dfgrd1, const int* noel,
                  const int* npt, const int* layer, const int* kspt, const int* jstep, const int* kinc,
                  std::size_t cmname_len);
using UmatFn = Umat*;

// The UMAT interface with a material id in front (the material library
// muesli's).
using MuesliUmatFn = void (*)(const int* matid, double* stress, double* statev, double* ddsdde,
                              double* sse, double* spd, double* scd, double* rpl, double* ddsddt,
                              double* drplde, double* drpldt, const double* stran,
                              const double* dstran, const double* time, const double* dtime,
                              const double* temp, const double* dtemp, const double* predef,
                              const double* dpred, const char* cmname, const int* ndi,
                              const int* nshr, const int* ntens, const int* nstatv,
                              const double* props, const int* nprops, const double* coords,
                              const double* drot, double* pnewdt, const double* celent,
                              const double* dfgrd0, const double* dfgrd1, const int* noel,
                              const int* npt, const int* layer, const int* kspt, const int* jstep,
                              const int* kinc, std::size_t cmname_len);

// ANSYS USERMAT: stress(ncomp), ustatev(nstatev), dsdepl(ncomp,ncomp),
// strain(ncomp), dstrain(ncomp), epspl(ncomp) in the ANSYS order,
// prop(nprop), coords(3), defgrad_t(3,3), defgrad(3,3), tsstif(2); the rest
// scalars.  var0 .. var8 are reserved values the routine may update.
using Usermat = void(const int* matid, const int* elemid, const int* kdomintpt, const int* klayer,
                     const int* ksectpt, const int* ldstep, const int* isubst, int* keycut,
                     const int* ndirect, const int* nshear, const int* ncomp, const int* nstatev,
                     const int* nprop, const double* time, const double* dtime, const double* temp,
                     const double* dtemp, double* stress, double* ustatev, double* dsdepl, double* sedel,
                     double* sedpl, double* epseq, const double* strain, const double* dstrain, double* epspl,
                     const double* prop, const double* coords, double* var0, const double* defgrad_t,
                     const double* defgrad, double* tsstif, double* epszz, double* var1, double* var2,
                     double* var3, double* var4, double* var5, double* var6, double* var7, double* var8);
using UsermatFn = Usermat*;

// Abaqus/Explicit VUMAT: stressold, stressnew, straininc (nblock,
// ndir+nshr), stateold, statenew (nblock, nstatev), coordmp and charlength
// (nblock, *), the rest per point or as the host lays them out.
using Vumat = void(const int* nblock, const int* ndir, const int* nshr, const int* nstatev,
                   const int* nfieldv, const int* nprops, const int* lanneal, const double* steptime,
                   const double* totaltime, const double* dt, const char* cmname, const double* coordmp,
                   const double* charlength, const double* props, const double* density, double* straininc,
                   const double* relspininc, const double* tempold, const double* stretchold,
                   const double* defgradold, const double* fieldold, const double* stressold,
                   const double* stateold, const double* enerinternold, const double* enerinelasold,
                   const double* tempnew, const double* stretchnew, const double* defgradnew,
                   const double* fieldnew, double* stressnew, double* statenew, double* enerinternnew,
                   double* enerinelasnew, std::size_t cmname_len);

// Material name the adapters hand a UMAT in place of the host's.
inline constexpr char adapter_material_name[] = "ABQ_WRAPPER";

}  // namespace tavrin::wrapper

extern "C" {

// A muesli-style UMAT dfunc under the UMAT interface: the host's UMAT
// arguments (ntens components) followed by the material id passed to dfunc.
TAVRIN_API void muesli_to_abq_umat(
    tavrin::wrapper::MuesliUmatFn dfunc, double* stress, double* statev, double* ddsdde,
    double* sse, double* spd, double* scd, double* rpl, double* ddsddt, double* drplde,
    double* drpldt, const double* stran, const double* dstran, const double* time,
    const double* dtime, const double* temp, const double* dtemp, const double* predef,
    const double* dpred, const char* materl, const int* ndi, const int* nshr, const int* ntens,
    const int* nstatv, const double* props, const int* nprops, const double* coords,
    const double* drot, double* pnewdt, const double* celent, const double* dfgrd0,
    const double* dfgrd1, const int* noel, const int* npt, const int* kslay, const int* kspt,
    const int* jstep, const int* kinc, const int* matid, std::size_t materl_len);

// An ANSYS USERMAT dfunc under the UMAT interface.
TAVRIN_API void ansys_usermat_to_abq_umat(
    tavrin::wrapper::UsermatFn dfunc, double* stress, double* statev, double* ddsdde, double* sse,
    double* spd, double* scd, double* rpl, double* ddsddt, double* drplde, double* drpldt,
    const double* stran, const double* dstran, const double* time, const double* dtime,
    const double* temp, const double* dtemp, const double* predef, const double* dpred,
    const char* materl, const int* ndi, const int* nshr, const int* ntens, const int* nstatv,
    const double* props, const int* nprops, const double* coords, const double* drot,
    double* pnewdt, const double* celent, const double* dfgrd0, const double* dfgrd1,
    const int* noel, const int* npt, const int* kslay, const int* kspt, const int* jstep,
    const int* kinc, std::size_t materl_len);

// A UMAT dfunc under the ANSYS USERMAT interface (the arguments of
// UsermatFn after dfunc).  tsstif receives G13 (and G23 for element forms of
// 3 or 4 components with ndirect 2 or 3), epszz the thickness strain of
// plane stress, both from the constants of the inverted tangent; when the
// tangent cannot be inverted they are 0.
TAVRIN_API void abq_umat_to_ansys_usermat(
    tavrin::wrapper::UmatFn dfunc, const int* matid, const int* elemid, const int* kdomintpt,
    const int* klayer, const int* ksectpt, const int* ldstep, const int* isubst, int* keycut,
    const int* ndirect, const int* nshear, const int* ncomp, const int* nstatev, const int* nprop,
    const double* time, const double* dtime, const double* temp, const double* dtemp,
    double* stress, double* ustatev, double* dsdepl, double* sedel, double* sedpl, double* epseq,
    const double* strain, const double* dstrain, double* epspl, const double* prop,
    const double* coords, double* var0, const double* defgrad_t, const double* defgrad,
    double* tsstif, double* epszz, double* var1, double* var2, double* var3, double* var4,
    double* var5, double* var6, double* var7, double* var8);

// A UMAT dfunc under a Peridigm-style block interface: stressnew, stressold,
// straininc (npoint, ndir+nshr), statenew, stateold (npoint, nstatev).  Each
// point's routine sees its old stress, a zero total strain and its strain
// increment; the stress it returns is added to the old one.
TAVRIN_API void abq_umat_to_peridigm_upermat(
    tavrin::wrapper::UmatFn dfunc, double* stressnew, double* statenew, const double* stressold,
    const double* stateold, const double* straininc, const double* props, const double* steptime,
    const double* totaltime, const double* dt, const int* matid, const int* npoint,
    const int* ndir, const int* nshr, const int* nstatev, const int* nprops);
}
