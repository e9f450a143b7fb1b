// The double-precision entries: each one the package's template at double.
#include "pchip/dpchip.hpp"

#include "pchip/derivatives.hpp"
#include "pchip/evaluate.hpp"
#include "pchip/integrate.hpp"

namespace pchip = tavrin::pchip;

extern "C" {

void dpchim(const int* n, const double* x, const double* f, double* d, const int* incfd, int* ierr) {
  *ierr = pchip::pchim(*n, x, f, d, *incfd);
}

double dpchst(const double* arg1, const double* arg2) { return pchip::pchst(*arg1, *arg2); }

void dpchez(const int* n, const double* x, const double* f, double* d, const int* spline, double* wk,
            const int* lwk, int* ierr) {
  *ierr = pchip::pchez(*n, x, f, d, *spline != 0, wk, *lwk);
}

void dpchsp(const int* ic, const double* vc, const int* n, const double* x, const double* f,
            double* d, const int* incfd, double* wk, const int* nwk, int* ierr) {
  *ierr = pchip::pchsp(ic, vc, *n, x, f, d, *incfd, wk, *nwk);
}

double dpchdf(const int* k, const double* x, double* s, int* ierr) {
  return pchip::pchdf(*k, x, s, *ierr);
}

void dchfev(const double* x1, const double* x2, const double* f1, const double* f2,
            const double* d1, const double* d2, const int* ne, const double* xe, double* fe,
            int* next, int* ierr) {
  *ierr = pchip::chfev_kernel<double, false>(*x1, *x2, *f1, *f2, *d1, *d2, *ne, xe, fe, nullptr,
                                             next);
}

void dchfdv(const double* x1, const double* x2, const double* f1, const double* f2,
            const double* d1, const double* d2, const int* ne, const double* xe, double* fe,
            double* de, int* next, int* ierr) {
  *ierr = pchip::chfev_kernel<double, true>(*x1, *x2, *f1, *f2, *d1, *d2, *ne, xe, fe, de, next);
}

void dpchfe(const int* n, const double* x, const double* f, const double* d, const int* incfd,
            int* skip, const int* ne, const double* xe, double* fe, int* ierr) {
  *ierr = pchip::pchfe_driver<double, false>(*n, x, f, d, *incfd, *skip, *ne, xe, fe, nullptr);
}

void dpchfd(const int* n, const double* x, const double* f, const double* d, const int* incfd,
            int* skip, const int* ne, const double* xe, double* fe, double* de, int* ierr) {
  *ierr = pchip::pchfe_driver<double, true>(*n, x, f, d, *incfd, *skip, *ne, xe, fe, de);
}

void dpchev(const int* n, const double* x, const double* f, const double* d, const int* nval,
            const double* xval, double* fval, double* dval, int* ierr) {
  *ierr = pchip::pchev(*n, x, f, d, *nval, xval, fval, dval);
}

double dchfie(const double* x1, const double* x2, const double* f1, const double* f2,
              const double* d1, const double* d2, const double* a, const double* b) {
  return pchip::chfie(*x1, *x2, *f1, *f2, *d1, *d2, *a, *b);
}

double dpchid(const int* n, const double* x, const double* f, const double* d, const int* incfd,
              int* skip, const int* ia, const int* ib, int* ierr) {
  return pchip::pchid(*n, x, f, d, *incfd, *skip, *ia, *ib, *ierr);
}

double dpchia(const int* n, const double* x, const double* f, const double* d, const int* incfd,
              int* skip, const double* a, const double* b, int* ierr) {
  return pchip::pchia(*n, x, f, d, *incfd, *skip, *a, *b, *ierr);
}

double dpchqa(const int* n, const double* x, const double* f, const double* d, const double* a,
              const double* b, int* ierr) {
  return pchip::pchqa(*n, x, f, d, *a, *b, *ierr);
}

}
