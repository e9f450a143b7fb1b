// The error-message facility of the Hermite package, in the manner of the
// SLATEC common error handler.
//
// A routine reports a failure with xermsg(library, routine, message, number,
// level).  The report is counted in a process-wide summary table (at most ten
// distinct reports, keyed by library, routine, message start, number and
// level), printed as a framed message, and then, as the control setting and
// the level say, the routine continues or the process ends (exit status 1,
// after the abort notice and the summary).  The control setting starts at 2:
// level 0 and -1 reports (informative) print and return, level 1 and 2
// reports print and end the process.
//
//   setting | level -1, 0        | level 1              | level 2
//   --------+--------------------+----------------------+---------------------
//      2    | full, continues    | full, ends           | full, ends
//      1    | full, continues    | full, continues      | full, ends
//      0    | silent, continues  | silent, continues    | message only, ends
//     -1    | frame, continues   | frame, continues     | frame, ends
//     -2    | frame, continues   | frame, ends          | frame, ends
//
// Every line goes to the output channels of the control table; channel 0, the
// only one in use, is the standard message unit i1mach(4) = 6, standard
// output.  A level -1 report prints on its first occurrence only; a message
// repeated more than ten times (slot 4) is only counted.
//
// Control table (j4save): 1 last error number, 2 control setting, 3 first
// channel, 4 most prints of one message, 5 number of channels, 6..9 further
// channels.
#pragma once

#include <string_view>

#include "foundation/api.hpp"

namespace tavrin::pchip {

// Report one error (level -1, 0, 1 or 2; number nonzero, -9999999..99999999).
TAVRIN_API void xermsg(std::string_view librar, std::string_view subrou, std::string_view messg,
                       int nerr, int level);
// Print a message: every line starts with the prefix (its first `npref`
// characters, all of it when npref < 0, at most 16); "$$" starts a new line;
// lines longer than `nwrap` (16..132) are wrapped at a blank.
TAVRIN_API void xerprn(std::string_view prefix, int npref, std::string_view messg, int nwrap);
// kflag >= 1: record a report and return its count (0 when the table was
// full).  kflag <= 0: print the summary (kflag 0 also empties it); returns 0.
TAVRIN_API int xersve(std::string_view librar, std::string_view subrou, std::string_view messg,
                      int kflag, int nerr, int level);
// Old value of control slot `iwhich` (1..9); stores `ivalue` there when
// `iset`.  A slot outside 1..9 stores nothing and gives 0.
TAVRIN_API int j4save(int iwhich, int ivalue, bool iset);
// Ends the process with exit status 1 (the runtime's numeric stop).
[[noreturn]] TAVRIN_API void xerhlt(std::string_view messg);

// Test support: the control table and the summary table back to their state
// at process start.
TAVRIN_API void reset_error_facility();

}  // namespace tavrin::pchip

// The exported names: texts are NUL-terminated, logical values 0 or 1.
extern "C" {

TAVRIN_API void xermsg(const char* librar, const char* subrou, const char* messg, const int* nerr,
                       const int* level);
TAVRIN_API void xerprn(const char* prefix, const int* npref, const char* messg, const int* nwrap);
TAVRIN_API void xersve(const char* librar, const char* subrou, const char* messg, const int* kflag,
                       const int* nerr, const int* level, int* icount);
TAVRIN_API int j4save(const int* iwhich, const int* ivalue, const int* iset);
// The output channels: n, and iunita(1..n) (room for five).
TAVRIN_API void xgetua(int* iunita, int* n);
// Sets the control setting (-2..2); any other value is a fatal report.
TAVRIN_API void xsetf(const int* kontrl);
TAVRIN_API void xgetf(int* kontrl);
// Prints the summary and empties it.
TAVRIN_API void xerdmp();
[[noreturn]] TAVRIN_API void xerhlt(const char* messg);
// Hooks: may override the control setting for one report; a traceback.
// Both do nothing.
TAVRIN_API void xercnt(const char* librar, const char* subrou, const char* messg, const int* nerr,
                       const int* level, int* kontrl);
TAVRIN_API void fdump();

}
