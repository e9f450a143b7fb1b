// How the numerics toolbox latches a failure.
//
// Every call site of the linear-algebra and matrix routines hands the latch
// the same detail shapes: two integers, two reals and an 8×2 character-code
// matrix.  Nothing in them is filled but the first integer where a site has a
// number worth keeping (a LAPACK status, an offending extent).
#pragma once

#include <array>
#include <string_view>

#include "foundation/errorhandling.hpp"

namespace tavrin {

// Status codes of the numerics' call sites.
inline constexpr int status_note = -1;
inline constexpr int status_error = -2;
inline constexpr int status_invalid = -3;  // unknown flag or option, invalid input

inline void latch_failure(int status, std::string_view message, int detail = 0) {
  const std::array<int, 2> ints{detail, 0};
  const std::array<double, 2> reals{0.0, 0.0};
  const std::array<int, 16> codes{};
  xerr(status, message, ints, reals, View<const int, 2>(codes.data(), 8, 2));
}

}  // namespace tavrin
