// Cure kinetics and Prony relaxation (module `prony`): the rate of the degree
// of cure of a thermoset from a piecewise two-term Arrhenius fit, its
// backward-Euler update over one time step, and the implicit one-step update
// of one Prony term's internal stress.
//
// Cure-rate table curvefit(nc): rows of eight values (A1, E1, A2, E2, n, m,
// p, upper temperature limit in K), floor(nc/8) rows, surplus ignored:
//   rate = A1·exp(−E1/RT)·(αmax − α)ⁿ + A2·exp(−E2/RT)·αᵐ·(αmax − α)ᵖ,
// R = 8.314462618 J/(mol·K).  The row used is the first whose limit exceeds
// T, the last row at or beyond the last limit.  A table without a full row
// latches -2 "CureRate: no complete row in the cure table" and gives rate 0.
#pragma once

#include "foundation/api.hpp"

namespace tavrin::prony {

inline constexpr double gas_constant = 8.314462618;  // J/(mol·K)
// Passes of the fixed-point iteration of the degree of cure before the last
// iterate is taken.
inline constexpr int max_cure_passes = 1000;

}  // namespace tavrin::prony

extern "C" {

TAVRIN_API double CureRate(const double* curvefit, const double* t, const double* degree,
                           const double* degmax, const int* nc);
// α after a step `timestep` at temperature t1 from degree0: the fixed point
// of α = degree0 + timestep·rate(min(degmax, α)) (not clamped to degmax).
TAVRIN_API double FuncDegree(const double* curvefit, const double* t1, const double* degree0,
                             const double* timestep, const double* degmax, const int* nc);
// (dold·τa + stiffness·Δt·pprony·strain)/(τa + Δt), τa = tau·shift.
TAVRIN_API double Relaxation(const double* dold, const double* tau, const double* shift,
                             const double* timestep, const double* stiffness, const double* pprony,
                             const double* strain);
}
