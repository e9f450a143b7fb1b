// Damage evolution after a failure criterion has been met (module
// `evocollection`): viscous regularisation of damage variables in time,
// the traction magnitude on a coordinate plane, bilinear strain softening
// regularised by the element length, and the strain at which a delamination
// grows.
#pragma once

#include "foundation/api.hpp"

extern "C" {

// d_reg(i) = r/(1 + r)·d_old(i) + 1/(1 + r)·d_new(i), r = reg_factor: the
// viscous update with η = r·dt_inc, whose weights do not depend on dt_inc
// (and so stay defined at dt_inc = 0).  num < 1 leaves d_reg untouched.
TAVRIN_API void TimeRegularization(const double* d_old, const double* d_new, double* d_reg,
                                   const double* dt_inc, const double* reg_factor, const int* num);
// scaleq = |σ·e_nn|, the traction magnitude on the coordinate plane normal
// to axis nn (1, 2, 3) of the Voigt stress tens(6); another nn latches -3
// and gives 0.
TAVRIN_API void EquivalentQuadStressStrain(const double* tens, const int* nn, double* scaleq);
// Bilinear softening d = εf/(εf − eps0)·(1 − eps0/eps).  With |lc| ≥ 0.001
// the failure strain εf = 2·gc/(lc·sig_f), at least 1.2·eps0, is computed
// and returned in eps1; a smaller lc uses eps1 as passed.  d is not bounded.
TAVRIN_API void BiLinearEvolution(const double* eps, const double* eps0, const double* sig_f,
                                  const double* gc, const double* lc, double* d, double* eps1);
// The critical strain of delamination growth for the energy release rate
// gic, the membrane stiffness a11 and the stiffness ratio r_stiff (0 when
// absent); 0 for eps_c = 0.
TAVRIN_API double DGStrainRhead(const double* eps_c, const double* gic, const double* a11,
                                const double* r_stiff);
}
