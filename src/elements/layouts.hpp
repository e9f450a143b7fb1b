// Conversions between the 3-D layout of the material laws and the layouts of
// host elements (module `elementhandling`).
//
// The laws work on 6-vectors and 6×6 tangents in the solver order 11, 22,
// 33, 12, 13, 23.  Elements hand over n components: 6 for continua, 4 (11,
// 22, 33, 12) for plane strain and axisymmetry, 3 (11, 22, 12) for plane
// stress and shells.  Get3DInputFromElem expands the element's stress,
// strain and strain increment before a law runs; GetElemOutputFrom3D
// reduces the law's stress and tangent afterwards.  Any other n leaves the
// outputs untouched.
//
// Axisymmetric elements (isaxial ≠ 0) use the basis whose axes are the
// global x, z and y axes: their 22 is the 3-D 33 and their 12 the 3-D 13.
// Plane stress: the transverse record holds the shear strains 13, 23, the
// normal strain 33, the shear stresses 13, 23 and the normal stress 33;
// itnsflag ≠ 0 brings in the normal, itshrflag ≠ 0 the shear components
// (never into the strain increment).  The plane-stress output condenses the
// out-of-plane stress through the compliance unless tangent3d(3,3) is 0.0,
// when rows and columns 1, 2, 4 are taken as they are.
#pragma once

#include "foundation/api.hpp"

extern "C" {

TAVRIN_API void GetElemOutputFrom3D(double* stresselem, double* tangentelem, const double* stress3d,
                                    const double* tangent3d, const int* n, const int* isaxial);
TAVRIN_API void GetHexOutputFrom3D(double* stresshex, double* tangenthex, const double* stress3d,
                                   const double* tangent3d);
TAVRIN_API void GetPlaneStrainOutputFrom3D(double* stresspl, double* tangentpl,
                                           const double* stress3d, const double* tangent3d,
                                           const int* isaxial);
TAVRIN_API void GetPlaneStressOutputFrom3D(double* stressps, double* tangentps,
                                           const double* stress3d, const double* tangent3d);
TAVRIN_API void Get3DInputFromElem(double* stress3d, double* strain3d, double* dstrain3d,
                                   const double* stress_nye, const double* strain_nye,
                                   const double* dstrain_nye, const int* ncomp,
                                   const double* transverse, const int* itnsflag,
                                   const int* itshrflag, const int* isaxial);
TAVRIN_API void Get3DStressFromHex(const double* stress, const double* stran, const double* dstran,
                                   double* stress3d, double* stran3d, double* dstran3d);
TAVRIN_API void Get3DStressFromPlaneStrain(const double* stress, const double* stran,
                                           const double* dstran, double* stress3d, double* stran3d,
                                           double* dstran3d, const int* isaxial);
TAVRIN_API void Get3DStressFromPlaneStress(const double* stress, const double* stran,
                                           const double* dstran, const double* transverse,
                                           double* stress3d, double* stran3d, double* dstran3d,
                                           const int* itnsflag, const int* itshrflag);
// ε33 = -(nu31/e33)·s11 - (nu32/e33)·s22.
TAVRIN_API double GetPlaneStressEpsZZ(const double* e33, const double* nu31, const double* nu32,
                                      const double* s11, const double* s22);
}
