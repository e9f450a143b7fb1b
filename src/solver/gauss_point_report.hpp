// The Gauss-point report: one line per integration point (element, point,
// coordinates), appended to a text file over the whole analysis.
//
// A new file starts with the header "    NOEL     NPT" and the columns x, y,
// z right-aligned in 25-character fields; every call appends the element and
// point numbers as 8-character integers and the three coordinates in
// 25-character fields with 8 decimals.  A file that can be neither opened
// nor created gets nothing, and a write or close that fails (a full disk, a
// file-size limit) is not taken for success: both latch status -2, the errno
// value in the integer details and the path in the character codes.
#pragma once

#include <string_view>

#include "foundation/api.hpp"

namespace tavrin::iohandling {

// Appends the line of point npt of element noel at coord(3) to the report
// at filepath (trailing blanks ignored).
TAVRIN_API void getgausspointreport(std::string_view filepath, const double* coord, int noel, int npt);

}  // namespace tavrin::iohandling
