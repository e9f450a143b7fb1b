// Job control: the host solver's calls at the phases of an analysis.
//
// UEXTERNALDB_IOControl (implicit solvers and Python) takes the phase code
// lop:
//   0, 4  start or restart: counters reset, the input deck (<jobfilepath>.pes,
//         else .inp) scanned for step kinds and impactors, the impactor
//         records preset, the step, section, material and damage cards read
//         from joboutdir (each falling back to the deck), the section shear
//         and stress-function matrices computed;
//   1, 7  start of an increment (1 is ignored for an explicit caller):
//         impactor records of an impact step reset, per-element tables
//         created once, the cycle count of a fatigue step updated;
//   2     end of an increment: impactors advanced, through-thickness stress
//         tables and shell node motions zeroed (for an explicit caller only
//         every nupdate-th increment);
//   3     end of the analysis: every table freed;
//   other codes (5, 6: start and end of a step) do nothing.
// VUEXTERNALDB_IOControl maps an explicit solver's phases 0..6 onto 0, 5,
// 7, 1, 2, 6, 3, reads the solver's data file at its start and computes the
// element reference data at the end of an initialisation step.
// UACCESS_IOControl only zeroes the through-thickness tables (2) and frees
// the shared state (3).
#pragma once

#include "foundation/allocatable.hpp"
#include "foundation/api.hpp"

namespace tavrin::toplevel {

// What job control keeps from start to end of an analysis outside the
// shared modules.
struct JobControlState {
  Allocatable<double, 2> window;  // (5, nimp) last contact forces of each impactor
  Allocatable<int, 1> denom;      // (nimp) their count
  int nshell = 0;                 // shells of the element reference data
  bool one_row_cycles_reported = false;
};
TAVRIN_API JobControlState& job_control_state();

}  // namespace tavrin::toplevel

extern "C" {

// exflag (optional, 0): 1 for an explicit caller.  lrestart and time are
// not used.
TAVRIN_API void UEXTERNALDB_IOControl(const int* lop, const int* lrestart, const double* time,
                                      const double* dtime, const int* kstep, const int* kinc,
                                      const int* exflag);
// i_array(niarray): 3 step, 4 increment; r_array(nrarray): 1 total time,
// 2 step time, 3 time increment (missing entries read as 0).  mpi_rank
// (optional, 0): processes other than the first run the start, the release
// and, once their step table exists, the end of an increment and of a step.
TAVRIN_API void VUEXTERNALDB_IOControl(const int* k, const int* i_array, const int* niarray,
                                       const double* r_array, const int* nrarray, const int* mpi_rank);
TAVRIN_API void UACCESS_IOControl(const int* lop, const double* dtime);

}
