// First-error latch.
//
// A routine that detects a failure records it with xerr() and returns its
// neutral result; nothing unwinds.  The latch keeps the first failure since
// the last reset (status, 80-character message, integer, real and
// character-code details) in the module variables of `errorhandling`; the
// caller inspects them and clears the latch with rsxerr().
//
// Status codes fixed at the library's call sites: -1 notes and warnings,
// -2 errors, -3 unknown flag, option or element type.
#pragma once

#include <span>
#include <string_view>

#include "foundation/api.hpp"
#include "foundation/array.hpp"
#include "foundation/shared_state.hpp"

namespace tavrin {

// Latch a failure from a library call site (never ends the process).
TAVRIN_API void xerr(int status, std::string_view message, std::span<const int> ints = {},
                     std::span<const double> reals = {}, View<const int, 2> codes = {});

}  // namespace tavrin

namespace tavrin::errorhandling {

// The latch in the library's argument order, with the extents of the detail
// arrays explicit: intv(nint), realv(nreal), asciim(nrows, ncols).  When
// `pyerr` is given and 0, the message is printed after a blank and the
// process ends with exit status 1.
TAVRIN_API void xerr(const int& lop, const char* xerrmsg, const int* intv, const int& nint,
                     const double* realv, const int& nreal, const int* asciim, const int& nrows,
                     const int& ncols, int* pyerr);

// Reset request: with lop true the status is cleared and the detail vectors
// are freed (the message stays); reset = 1 then, else 0 and nothing changes.
TAVRIN_API void rsxerr(int& reset, const int& lop);

}  // namespace tavrin::errorhandling
