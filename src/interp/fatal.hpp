// The interpolation package's fatal input error: a blank line, the line
// "<ROUTINE> - Fatal error!", the reason, each on standard output, then the
// runtime's numeric stop with code 1.
#pragma once

#include <string_view>

namespace tavrin::interp {

[[noreturn]] void fatal(std::string_view routine, std::string_view reason);

}  // namespace tavrin::interp
