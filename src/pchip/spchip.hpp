// The single-precision piecewise cubic Hermite package: the twins of
// pchip/dpchip.hpp, named without the leading "d" (pchim, chfev, bvalu, ...),
// computing in binary32 throughout, epsilon r1mach(4).  Messages name the
// single-precision routines ("PCHIM", "ERROR RETURN FROM PCHDF").
#pragma once

#include "foundation/api.hpp"

extern "C" {
#define PCHIP_REAL float
#define PCHIP_NAME(base) base
#include "pchip/pchip_api.inc"
#undef PCHIP_NAME
#undef PCHIP_REAL
}
