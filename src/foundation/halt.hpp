// The one place where the library ends the process.
//
// A few paths end the analysis by design (the latch's print-and-stop mode,
// the Hermite package's error facility, out-of-range machine-constant
// requests, non-increasing abscissas of the linear interpolation, an undefined
// box-beam wall).  All of them go through halt(), which
//   1. runs the exit hook (the Python binding installs one that flushes
//      sys.stdout and sys.stderr, so the interpreter's buffered output comes
//      first and in order),
//   2. writes the path's own text to standard output,
//   3. flushes every C and C++ stream,
//   4. hands the status to the halt handler, which by default calls
//      std::exit.  Tests install a handler that throws instead, so the
//      fatal paths can be checked in-process.
#pragma once

#include <string_view>

#include "foundation/api.hpp"

namespace tavrin {

using ExitHook = void (*)();
using HaltHandler = void (*)(int status);

// Install the hook run before a halt; returns the previous one.
TAVRIN_API ExitHook set_exit_hook(ExitHook hook);
// Install the final step of a halt; nullptr restores std::exit.  The handler
// must not return.  Returns the previous handler.
TAVRIN_API HaltHandler set_halt_handler(HaltHandler handler);

[[noreturn]] TAVRIN_API void halt(int status, std::string_view text);

// Flushes C stdio and the C++ standard streams, after running the exit hook.
TAVRIN_API void flush_all_output();

}  // namespace tavrin
