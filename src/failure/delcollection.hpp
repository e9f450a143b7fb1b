// Delamination-onset criteria (module `delcollection`), from the
// through-thickness stresses of a ply (s33 normal, s13, s23 interlaminar
// shear) or from the stresses of the two plies that meet at an interface
// (suffix l the lower ply, u the upper one).  Strengths are positive
// magnitudes, ilss the interlaminar shear strength; A = s33/xt for s33 > 0,
// else s33/xc (signed).
#pragma once

#include "foundation/api.hpp"

extern "C" {

// max(A, √(s12² + s13²)/ilss) (the shear value when A is not a number).
TAVRIN_API void DelLee(double* rdel, const double* s33, const double* s12, const double* s13,
                       const double* xt33, const double* xc33, const double* ilss);
// √(A² + (s13² + s23²)/ilss²)
TAVRIN_API void DelOchoaEngblom(double* rdel, const double* s33, const double* s13,
                                const double* s23, const double* xt33, const double* xc33,
                                const double* ilss);
// √(A² + (s23/ilss)² + (s13/ilss)²), A from xt22, xc22.
TAVRIN_API void DelHashin(double* rdel, const double* s33, const double* s13, const double* s23,
                          const double* xt22, const double* xc22, const double* ilss);
// Puck's action-plane effort on the plane normal to the thickness
// (σn, τn1, τnt) = (s33, s13, s23), R⊥∥ = ilss; gp as in MCrckPuck.
TAVRIN_API void DelPuck(double* rdel, const double* s33, const double* s13, const double* s23,
                        const double* xt22, const double* xc22, const double* ilss,
                        const double* gp);
// √(da·((s23u/ilssu)² + (s22l/Y)² + (s13l/ilssl)²)), Y = xt22l for s22l > 0,
// else xc22l; da 1.8 when absent.
TAVRIN_API void DelChoiChang(double* rdel, const double* s22l, const double* s13l,
                             const double* s23u, const double* xt22l, const double* xc22l,
                             const double* ilssl, const double* ilssu, const double* da);
// √(df1·(s22l/Y)² + df2·(s23u/x23u)² + 1.875·df3·(s13l/ilssl)²) where the
// sum is positive, else 0.
TAVRIN_API void DelChai(double* rdel, const double* s22l, const double* s13l, const double* s23u,
                        const double* xt22l, const double* xc22l, const double* x23u,
                        const double* ilssl, const double* df1, const double* df2,
                        const double* df3);
}
