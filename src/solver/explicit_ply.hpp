// Abaqus/Explicit material routines of a unidirectional ply with
// progressive damage (module `toplevel`).
//
// Both routines take the VUMAT argument list in the solver's order, every
// argument by pointer; arrays are column-major (nblock, …), one row per
// material point, and every point of the block is handled on its own.
// Stress and strain rows are in the cyclic order 11, 22, 33, 12, 23, 31 with
// tensor shear strains (half the engineering shears); charlength is
// (nblock, *) and read as the element lengths along the ply axes 1, 2, 3.
// Energies are per unit mass; cmname_len is the material name's length (a
// Fortran host passes it after the last argument).
//
// Properties by nprops (both routines):
//   1        refused: the material tables' ply and section would be read
//            from state slots 21 and 22, which hold total strains here;
//   2 to 9   elastic constants in any form of GetNyeProperties (2, 5 or 9
//            values; other counts are refused), elastic answer;
//   21       the upper triangle of the 6×6 stiffness in the solver order
//            (engineering shears), column by column, elastic answer (3-D only);
//   other    the full property vector of the routine (39 values for
//            vumat_cartesian, 29 for vumat_bogenfeld; fewer are refused).
// A refused layout (nblock < 0, ndir and nshr other than the routine's)
// latches status -2 and touches nothing; any other refused call latches -2
// and returns the block unchanged (stressnew = stressold, statenew =
// stateold, energies unchanged); a refused
// point (non-positive characteristic length or density) is returned
// unchanged the same way while the other points go on.
#pragma once

#include <cstddef>

#include "foundation/api.hpp"
#include "solver/wrapper.hpp"

extern "C" {

// Nine-mode progressive damage of a 3-D ply (ndir = nshr = 3): tension and
// compression moduli, nonlinear shear, strain-rate damping, damage onset by
// one of six criterion sets, bilinear softening regularised by the element
// length, crushing and permanent-strain corrections, deletion of the element
// (state slot 19 := 0) on fibre failure.  Needs 82 state variables.
// straininc is not changed.
TAVRIN_API void vumat_cartesian(const int* nblock, const int* ndir, const int* nshr, const int* nstatev,
                                const int* nfieldv, const int* nprops, const int* lanneal,
                                const double* steptime, const double* totaltime, const double* dt,
                                const char* cmname, const double* coordmp, const double* charlength,
                                const double* props, const double* density, const double* straininc,
                                const double* relspininc, const double* tempold, const double* stretchold,
                                const double* defgradold, const double* fieldold, const double* stressold,
                                const double* stateold, const double* enerinternold,
                                const double* enerinelasold, const double* tempnew, const double* stretchnew,
                                const double* defgradnew, const double* fieldnew, double* stressnew,
                                double* statenew, double* enerinternnew, double* enerinelasnew, std::size_t cmname_len);

// Fibre damage by the quadratic nominal criterion with bilinear softening,
// inter-fibre damage on the fracture plane of Wiegand's criterion, degraded
// on that plane and turned back to the ply axes, a closed crack keeping its
// normal stiffness.  3-D (ndir = nshr = 3) or plane stress (ndir = 3,
// nshr = 1: the thickness strain increment is written into straininc(k,3)).
// Needs 46 state variables.
TAVRIN_API tavrin::wrapper::Vumat vumat_bogenfeld;
}
