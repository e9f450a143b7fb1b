// Growable lists: nine process-wide lists (integer, real and complex, three of
// each) that routines far apart share by list number 1..3 and type flag
// (0 integer, 1 real, 2 complex) instead of by reference.
//
// A list is absent or exists with a capacity.  Its used part is the run of
// entries before the first entry equal to the empty-slot marker; the entries
// from there on are free slots.  The standard markers are 2147483647 for
// integers, the largest double for reals and (largest double, largest double)
// for complex values; a routine given its own marker uses that one instead,
// also to create and grow the list.  Entries compare exactly: -0.0 equals 0.0
// and a NaN equals nothing.
//
// A full list grows by `allocinc` slots (500 by default).  The capacity is
// the logical one the statuses speak of; storage grows geometrically under it,
// and each list keeps a count of its entries by value, so that appends,
// uniqueness tests and sizes cost O(1) amortised instead of a scan.
//
// A list number or type flag outside its range touches no list and reports
// -1 through the routine's own status (size -1, allocation status false).
// Memory that cannot be obtained is reported as 5014 (-5014 from appends).
#pragma once

#include <complex>

#include "foundation/api.hpp"

namespace tavrin::listhandling {

inline constexpr int standard_increment = 500;
inline constexpr int exists_or_no_memory = 5014;
inline constexpr int invalid_list = -1;

}  // namespace tavrin::listhandling

extern "C" {

// Creates the list with capacity le (empty when le < 1): ierror 0; an existing
// list keeps its capacity: ierror 5014.  Either way every entry becomes the
// marker of the list's type.
TAVRIN_API void AllocateList(const int* listid, const int* ifflag, const int* le, int* ierror,
                             const std::complex<double>* defcmplx, const double* defreal,
                             const int* defint);

// Frees the list: ierror 0, or 1 when it was absent.
TAVRIN_API void DeallocateList(const int* listid, const int* ifflag, int* ierror);

// checkid = whether the list exists.
TAVRIN_API void GetAllocationStatus(int* checkid, const int* listid, const int* ifflag);

// Number of used entries: the position of the first marker entry - 1, the
// capacity when there is none, -1 when the list is absent.
TAVRIN_API int GetSizeOfList(const int* listid, const int* ifflag,
                             const std::complex<double>* defcmplx, const double* defreal,
                             const int* defint);

// Appends scalar at the first free slot, growing a full list by allocinc;
// with uniflag 1 a value that equals any entry (free slots included) is not
// appended.  iresult 1 when appended, 0 when not, negative on failure.
TAVRIN_API void iAppendScalar2List(const int* listid, const int* scalar, const int* uniflag,
                                   int* iresult, const int* allocinc, const int* defval);
TAVRIN_API void fAppendScalar2List(const int* listid, const double* scalar, const int* uniflag,
                                   int* iresult, const int* allocinc, const double* defval);
TAVRIN_API void cAppendScalar2List(const int* listid, const std::complex<double>* scalar,
                                   const int* uniflag, int* iresult, const int* allocinc,
                                   const std::complex<double>* defval);

// Appends array(1..narray) value by value; with uniflag 1 nothing is
// appended when the values already occur as one contiguous run in the used
// part.  iresult is that of the last append, 0 when nothing was appended.
TAVRIN_API void iAppendArray2List(const int* listid, const int* array, const int* narray,
                                  const int* uniflag, int* iresult, const int* allocinc,
                                  const int* defval);
TAVRIN_API void fAppendArray2List(const int* listid, const double* array, const int* narray,
                                  const int* uniflag, int* iresult, const int* allocinc,
                                  const double* defval);
TAVRIN_API void cAppendArray2List(const int* listid, const std::complex<double>* array,
                                  const int* narray, const int* uniflag, int* iresult,
                                  const int* allocinc, const std::complex<double>* defval);

// Copies the first ncopy entries of the list (at most its capacity) into
// copy: ierror 0; an absent list leaves copy unchanged: ierror -1.
TAVRIN_API void iGetCopyOfList(const int* listid, int* copy, const int* ncopy, int* ierror);
TAVRIN_API void fGetCopyOfList(const int* listid, double* copy, const int* ncopy, int* ierror);
TAVRIN_API void cGetCopyOfList(const int* listid, std::complex<double>* copy, const int* ncopy,
                               int* ierror);

}
