// The small piece of a Fortran-style I/O runtime that the Hermite package and
// its neighbours need: numbered output units and the numeric stop.
//
// The units are the library's one table of numbered units
// (foundation/record_files.hpp): unit 6 is standard output, any other unit
// can be connected to a C++ stream or a file, and a record written to a unit
// that is not connected goes to standard output.
#pragma once

#include <string>

#include "foundation/api.hpp"
#include "foundation/record_files.hpp"

namespace tavrin::pchip {

using io::standard_input_unit;
using io::standard_output_unit;
using io::connect_unit;
using io::disconnect_unit;
using io::unit_connected;
using io::write_record;

// The runtime's numeric stop: the host's output is flushed, "STOP <code>"
// goes to standard error and the process ends with exit status `code`.
[[noreturn]] TAVRIN_API void numeric_stop(int code);

// An integer right-aligned in `width` columns (edit descriptor Iw): all
// asterisks when it does not fit.
TAVRIN_API std::string format_int(long long value, int width);

}  // namespace tavrin::pchip
