// Small material routines of module `toplevel`, variations on the
// linear-elastic ply: the impactor's sensor material, a porous
// linear-elastic material and an anisotropic material with a numerical
// tangent.
//
// Sensor (umat_sensor, vumat_sensor): practically no stiffness (E = 1e-20,
// ν = 0.49: λ = Eν/((1+ν)(1−2ν)) on the direct block, 2G + λ on its
// diagonal, G on the shear diagonal); it shows the impactor's motion
// (cprops 4-6: displacement, velocity, acceleration) in state slots 1-3 and,
// in impact steps (stepid 3) with more than five state variables, its
// contact results (cprops 1-3: force, radius, indentation) in slots 4-6.
// With two properties they go to the impactor's load record: dprops(8) and
// dprops(9) = props, dprops(10) = dprops(11) = 0, and dprops(1) from 1.0 to
// -1.0.  cprops(20) and dprops(12) are the impactor's columns of
// impactdata::cprops and loaddata::dprops, handed over by the caller.
//
// Porosity (umat_porosity): the on-axis stiffness of the properties, a
// thousandth of it (the single-precision 0.001) where state slot 1 is
// exactly 1.0; incremental stress, no energy, no state written.
//
// Hyperelastic (umat_hyper): the secant stress C·(ε + Δε) of the ply's
// stiffness (nprops 1: the material tables at slots 21, 22; 2-9: the ply
// constants) or of a symmetric stiffness whose upper triangle props holds
// column by column (11, 12, 22, 13, ...; other counts), with the tangent of
// the complex-step derivative of that law; the stress goes to state slots
// 1..ndi, 4..3+nshr.
//
// Routines that write state slots write those that exist; missing ones
// latch -2 "Too few state variables for the material routine.".  Properties
// that give no stiffness latch -2 and give a zero stiffness (stress, tangent
// and energy 0).
#pragma once

#include <cstddef>

#include "foundation/api.hpp"
#include "solver/wrapper.hpp"

extern "C" {

// The UMAT arguments without jstep, then the current step's kind and the
// impactor's records.
TAVRIN_API void umat_sensor(double* stress, double* statev, double* ddsdde, double* sse, double* spd,
                            double* scd, double* rpl, double* ddsddt, double* drplde, double* drpldt,
                            const double* stran, const double* dstran, const double* time,
                            const double* dtime, const double* temp, const double* dtemp,
                            const double* predef, const double* dpred, const char* materl,
                            const int* ndi, const int* nshr, const int* ntens, const int* nstatv,
                            const double* props, const int* nprops, const double* coords,
                            const double* drot, double* pnewdt, const double* celent,
                            const double* dfgrd0, const double* dfgrd1, const int* noel,
                            const int* npt, const int* kslay, const int* kspt, const int* kinc,
                            const int* stepid, const double* cprops, double* dprops,
                            std::size_t materl_len);

// The VUMAT arguments of vumat_lamina, then the step's kind and the
// impactor's records.  With ndir 3 and nshr 1 straininc(k,3) is replaced.
TAVRIN_API void vumat_sensor(const int* nblock, const int* ndir, const int* nshr, const int* nstatev,
                             const int* nfieldv, const int* nprops, const int* lanneal,
                             const double* steptime, const double* totaltime, const double* dt,
                             const char* cmname, const double* coordmp, const double* charlength,
                             const double* props, const double* density, double* straininc,
                             const double* relspininc, const double* tempold,
                             const double* stretchold, const double* defgradold,
                             const double* fieldold, const double* stressold,
                             const double* stateold, const double* enerinternold,
                             const double* enerinelasold, const double* tempnew,
                             const double* stretchnew, const double* defgradnew,
                             const double* fieldnew, double* stressnew, double* statenew,
                             double* enerinternnew, double* enerinelasnew, const int* stepid,
                             const double* cprops, double* dprops, std::size_t cmname_len);

// The UMAT arguments without jstep.
TAVRIN_API void umat_porosity(double* stress, double* statev, double* ddsdde, double* sse, double* spd,
                              double* scd, double* rpl, double* ddsddt, double* drplde, double* drpldt,
                              const double* stran, const double* dstran, const double* time,
                              const double* dtime, const double* temp, const double* dtemp,
                              const double* predef, const double* dpred, const char* materl,
                              const int* ndi, const int* nshr, const int* ntens, const int* nstatv,
                              const double* props, const int* nprops, const double* coords,
                              const double* drot, double* pnewdt, const double* celent,
                              const double* dfgrd0, const double* dfgrd1, const int* noel,
                              const int* npt, const int* kslay, const int* kspt, const int* kinc,
                              std::size_t materl_len);

// Abaqus/Standard UMAT (the argument list of tavrin::wrapper::UmatFn).
TAVRIN_API tavrin::wrapper::Umat umat_hyper;
}
