// The double-precision piecewise cubic Hermite package: exported names (a
// leading "d"), every argument by pointer, logical arguments as 0/1
// integers.  Hermite data and status conventions: pchip/hermite.hpp; the
// binary32 twins: pchip/spchip.hpp.
#pragma once

#include "foundation/api.hpp"

extern "C" {
#define PCHIP_REAL double
#define PCHIP_NAME(base) d##base
#include "pchip/pchip_api.inc"
#undef PCHIP_NAME
#undef PCHIP_REAL
}
