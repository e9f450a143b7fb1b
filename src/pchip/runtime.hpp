// The small piece of a Fortran-style I/O runtime that the Hermite package and
// its neighbours need: numbered output units and the numeric stop.
//
// Unit 6 is standard output (and unit 5, standard input, is never written
// to by the package; a record sent there lands on standard output too).
// Any other unit number can be connected to a C++ stream; a record written to
// a unit that is not connected goes to standard output, so no output is lost
// and no stray files appear.  Records to standard output are preceded by a
// flush of the host's buffered output, so interleaving with Python's print
// is kept.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "foundation/api.hpp"

namespace tavrin::pchip {

inline constexpr int standard_input_unit = 5;
inline constexpr int standard_output_unit = 6;

// Connects `unit` to `stream` (which must outlive the connection).  Units 5
// and 6 stay standard input and output: connecting them is refused (false).
TAVRIN_API bool connect_unit(int unit, std::ostream& stream);
TAVRIN_API void disconnect_unit(int unit);
// True for 5 and 6 and for every unit connected to a stream.
TAVRIN_API bool unit_connected(int unit);

// Writes one record (the text and an end of line) to `unit`.
TAVRIN_API void write_record(int unit, std::string_view text);

// The runtime's numeric stop: the host's output is flushed, "STOP <code>"
// goes to standard error and the process ends with exit status `code`.
[[noreturn]] TAVRIN_API void numeric_stop(int code);

// An integer right-aligned in `width` columns (edit descriptor Iw): all
// asterisks when it does not fit.
TAVRIN_API std::string format_int(long long value, int width);

}  // namespace tavrin::pchip
