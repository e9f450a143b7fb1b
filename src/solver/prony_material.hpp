// Routines of a curing thermoset ply (module `toplevel`): the heat of the
// cure reaction (HETVAL convention), the thermal and chemical strain
// increments (UEXPAN convention) and the viscoelastic stress update of a
// transversely isotropic ply whose stiffness entries relax with their own
// Prony series (UMAT convention).
//
// The three share the head of the point's state:
//   1 degree of cure α   2 cure rate of the last increment
//   3 glass transition temperature Tg (K)   4 largest α reached so far
// and the strain routine keeps the shrinkage increments of directions 1 and
// 2 in slots 7, 8, the accumulated thermal strains in 503-505 and the
// accumulated chemical strains in 506-508.  The viscoelastic routine keeps
// its internal stresses from slot 9 on (they must end before slot 501),
// D(1,1) and D(2,2) of its tangent in 501, 502 and log10 of its two shift
// factors in 509, 510.
//
// Ply and section come from the material name's tags "_l@n@" (ply, at
// least 1) and "_s@n@" (section id, at least 1; its position in
// sectiondata::secidlist, 1 when it is not listed).  The cure data are the
// columns of materialdata::cuprops(:, kind, ply, section): 1 gel point, 2
// heat of reaction, 3 expansion (glassy 1-3, rubbery 4-6), 4 shrinkage
// (glassy 1-3, rubbery 4-6), 5 c1, c2 of the largest degree of cure
// 1/(1 + exp(c2 − c1(T − 273.15))), 6 Tg0, Tg∞ (°C) and λ of DiBenedetto's
// law, 7 the cure-rate fit, 8 the shift-factor parameters (C1, C2, B, ΔT of
// the first factor, then of the second).
//
// A cure entry that is needed and not given (no table, a ply or section
// outside it, the not-given marker) latches -2; the routine then returns
// zero flux or expansion and leaves the state unchanged.  The strain routine
// needs 508 state values, the viscoelastic routine 510 and six components
// (-2, outputs unchanged, otherwise).
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "foundation/api.hpp"
#include "solver/wrapper.hpp"

namespace tavrin::toplevel {

extern "C" {

// flux(1) = heat of reaction × cure rate of the increment at temp(1); the
// cure state of svar(1..4) advances over dtime.
TAVRIN_API void hetval_prony(const char* cmname, const double* temp, const double* time, const double* dtime,
                             double* svar, double* flux, const double* predef, const double* dpred,
                             std::size_t cmname_len);

// expan(6): thermal and chemical strain increments of directions 1-3 (shears
// 0) at the end temperature temp(1) + temp(2); dexpandt(6) = 0.
TAVRIN_API void uexpan_prony(double* expan, double* dexpandt, const double* temp, const double* time,
                             const double* dtime, const double* predef, const double* dpred, double* svar,
                             const char* cmname, const int* nstatv, const int* noel, std::size_t cmname_len);

// props: the Prony term counts N(11), N(12), N(22), N(23), N(44) (truncated),
// the unrelaxed C11, C12, C22, C23, C44, then each entry's (weight, time)
// pairs in that order.  Below 273.15 K elastic, from 573.15 K fully relaxed.
TAVRIN_API wrapper::Umat umat_prony;

// The ANSYS USERMAT entry of umat_prony.
TAVRIN_API wrapper::Usermat usermat_prony;

}  // extern "C"

// The ply and section (1-based) that a material name's tags select.
struct PlySection {
  int ply = 1, section = 1;
};
TAVRIN_API PlySection cure_ply_section(std::string_view name);
// Column `kind` of the cure table of a ply; empty when the table holds none.
TAVRIN_API std::span<const double> cure_column(int kind, PlySection at);

}  // namespace tavrin::toplevel
