/* CalculiX's Abaqus-convention material routine for the host tests: every
 * material whose name begins with "ABAQUS" reaches umat_ (from the solver's
 * umat_abaqus), which hands the call on unchanged to the library's
 * umat_lamina.
 *
 * The convention is the Fortran one of the UMAT interface: every argument by
 * reference in the UMAT order, ntens 6 with engineering shear strains in the
 * order 11, 22, 33, 12, 13, 23, ddsdde(ntens, ntens) column-major, jstep(4)
 * (step, procedure, perturbation flag, geometric nonlinearity), and after the
 * last argument the length of the material name (gfortran passes a size_t;
 * CalculiX's name is 80 characters, "ABAQUS" cut off and blank-padded).
 * Only this shim is linked in place of the solver's stock umat.o; the
 * library itself is libtavrin.so, found through the executable's rpath. */
#include <stddef.h>

void umat_lamina(double *stress, double *statev, double *ddsdde, double *sse, double *spd,
                 double *scd, double *rpl, double *ddsddt, double *drplde, double *drpldt,
                 const double *stran, const double *dstran, const double *time,
                 const double *dtime, const double *temp, const double *dtemp,
                 const double *predef, const double *dpred, const char *materl, const int *ndi,
                 const int *nshr, const int *ntens, const int *nstatv, const double *props,
                 const int *nprops, const double *coords, const double *drot, double *pnewdt,
                 const double *celent, const double *dfgrd0, const double *dfgrd1,
                 const int *noel, const int *npt, const int *kslay, const int *kspt,
                 const int *jstep, const int *kinc, size_t materl_len);

void umat_(double *stress, double *statev, double *ddsdde, double *sse, double *spd, double *scd,
           double *rpl, double *ddsddt, double *drplde, double *drpldt, const double *stran,
           const double *dstran, const double *time, const double *dtime, const double *temp,
           const double *dtemp, const double *predef, const double *dpred, const char *cmname,
           const int *ndi, const int *nshr, const int *ntens, const int *nstatv,
           const double *props, const int *nprops, const double *coords, const double *drot,
           double *pnewdt, const double *celent, const double *dfgrd0, const double *dfgrd1,
           const int *noel, const int *npt, const int *layer, const int *kspt, const int *jstep,
           const int *kinc, size_t cmname_len) {
  umat_lamina(stress, statev, ddsdde, sse, spd, scd, rpl, ddsddt, drplde, drpldt, stran, dstran,
              time, dtime, temp, dtemp, predef, dpred, cmname, ndi, nshr, ntens, nstatv, props,
              nprops, coords, drot, pnewdt, celent, dfgrd0, dfgrd1, noel, npt, layer, kspt, jstep,
              kinc, cmname_len);
}
