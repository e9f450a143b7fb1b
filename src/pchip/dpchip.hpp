// The double-precision piecewise cubic Hermite package: exported names, every
// argument by pointer, logical arguments as 0/1 integers.  Hermite data and
// status conventions: pchip/hermite.hpp.
#pragma once

#include "foundation/api.hpp"

extern "C" {

// Derivatives.
TAVRIN_API void dpchim(const int* n, const double* x, const double* f, double* d, const int* incfd,
                       int* ierr);
TAVRIN_API double dpchst(const double* arg1, const double* arg2);
TAVRIN_API void dpchez(const int* n, const double* x, const double* f, double* d, const int* spline,
                       double* wk, const int* lwk, int* ierr);
TAVRIN_API void dpchsp(const int* ic, const double* vc, const int* n, const double* x,
                       const double* f, double* d, const int* incfd, double* wk, const int* nwk,
                       int* ierr);
TAVRIN_API double dpchdf(const int* k, const double* x, double* s, int* ierr);

// Evaluation.
TAVRIN_API void dchfev(const double* x1, const double* x2, const double* f1, const double* f2,
                       const double* d1, const double* d2, const int* ne, const double* xe,
                       double* fe, int* next, int* ierr);
TAVRIN_API void dchfdv(const double* x1, const double* x2, const double* f1, const double* f2,
                       const double* d1, const double* d2, const int* ne, const double* xe,
                       double* fe, double* de, int* next, int* ierr);
TAVRIN_API void dpchfe(const int* n, const double* x, const double* f, const double* d,
                       const int* incfd, int* skip, const int* ne, const double* xe, double* fe,
                       int* ierr);
TAVRIN_API void dpchfd(const int* n, const double* x, const double* f, const double* d,
                       const int* incfd, int* skip, const int* ne, const double* xe, double* fe,
                       double* de, int* ierr);
TAVRIN_API void dpchev(const int* n, const double* x, const double* f, const double* d,
                       const int* nval, const double* xval, double* fval, double* dval, int* ierr);

// Integration.
TAVRIN_API double dchfie(const double* x1, const double* x2, const double* f1, const double* f2,
                         const double* d1, const double* d2, const double* a, const double* b);
TAVRIN_API double dpchid(const int* n, const double* x, const double* f, const double* d,
                         const int* incfd, int* skip, const int* ia, const int* ib, int* ierr);
TAVRIN_API double dpchia(const int* n, const double* x, const double* f, const double* d,
                         const int* incfd, int* skip, const double* a, const double* b, int* ierr);
TAVRIN_API double dpchqa(const int* n, const double* x, const double* f, const double* d,
                         const double* a, const double* b, int* ierr);

}
